#include "preview/win32/PreviewLoading.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "widgets/win32/Gdi.h"

#include <cstdio>

namespace quorvel {

namespace {

using preview::Failure;
using preview::Kind;

// The scaled decode a WIC decoder's frame may offer; the MinGW headers leave it out.
struct IWICBitmapSourceTransform : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};
constexpr IID kSourceTransformId = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

// Owns one reference to a COM object.
template <typename T> class Com {
public:
    Com() = default;
    ~Com() { reset(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void** out() {
        reset();
        return reinterpret_cast<void**>(&object_);
    }
    T** typedOut() {
        reset();
        return &object_;
    }
    void reset() {
        if (object_) {
            object_->Release();
            object_ = nullptr;
        }
    }

private:
    T* object_ = nullptr;
};

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The size of an existing file, or why it cannot be previewed.
std::optional<Failure> checkFile(const std::wstring& path, Kind kind, std::uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                             error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH ||
                             error == ERROR_INVALID_DRIVE || error == ERROR_BAD_PATHNAME;
        return missing ? Failure::Missing : Failure::Unreadable;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return Failure::Unreadable;
    }
    size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    if (size == 0) {
        return Failure::Empty;
    }
    if (size > preview::maxBytes(kind)) {
        return Failure::TooLarge;
    }
    return std::nullopt;
}

// Reads pieces of a file for the header readers.
class OpenFile {
public:
    explicit OpenFile(const std::wstring& path)
        : handle_(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    explicit operator bool() const { return static_cast<bool>(handle_); }
    preview::ReadAt reader() const {
        return [this](std::uint64_t offset, std::size_t count) {
            std::string bytes;
            LARGE_INTEGER at{};
            at.QuadPart = static_cast<LONGLONG>(offset);
            if (count == 0 || count > (64u << 20) ||
                !::SetFilePointerEx(handle_.get(), at, nullptr, FILE_BEGIN)) {
                return bytes;
            }
            bytes.resize(count);
            DWORD got = 0;
            if (!::ReadFile(handle_.get(), bytes.data(), static_cast<DWORD>(count), &got,
                            nullptr)) {
                got = 0;
            }
            bytes.resize(got);
            return bytes;
        };
    }

private:
    UniqueFileHandle handle_;
};

std::string versionDescription(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = system::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0 || size > (1u << 20)) {
        return {};
    }
    std::vector<BYTE> data(size);
    if (!system::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) {
        return {};
    }
    std::vector<std::wstring> blocks;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* found = nullptr;
    UINT length = 0;
    if (system::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &found, &length) &&
        found) {
        const auto* translations = static_cast<const Translation*>(found);
        for (UINT i = 0; i < length / sizeof(Translation) && i < 8; ++i) {
            wchar_t block[64];
            std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription",
                          translations[i].language, translations[i].codePage);
            blocks.emplace_back(block);
        }
    }
    for (const wchar_t* fallback : {L"080404b0", L"040904b0", L"040904e4"}) {
        blocks.push_back(std::wstring(L"\\StringFileInfo\\") + fallback + L"\\FileDescription");
    }
    for (const std::wstring& block : blocks) {
        if (system::VerQueryValueW(data.data(), block.c_str(), &found, &length) && found &&
            length > 0) {
            std::wstring text(static_cast<const wchar_t*>(found), length);
            while (!text.empty() && (text.back() == L'\0' || text.back() == L' ')) {
                text.pop_back();
            }
            if (!text.empty()) {
                return toUtf8(text);
            }
        }
    }
    return {};
}

// The hot spot and size of a pointer.
void describePointer(HCURSOR cursor, LoadedItem& into) {
    ICONINFO info{};
    if (!::GetIconInfo(cursor, &info)) {
        return;
    }
    into.hotX = static_cast<int>(info.xHotspot);
    into.hotY = static_cast<int>(info.yHotspot);
    BITMAP bitmap{};
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) {
        into.pointerSize = {bitmap.bmWidth, bitmap.bmHeight};
    } else if (info.hbmMask && ::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap)) {
        // A monochrome pointer's mask holds the AND and the XOR halves one above the other.
        into.pointerSize = {bitmap.bmWidth, bitmap.bmHeight / 2};
    }
    if (info.hbmColor) {
        ::DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) {
        ::DeleteObject(info.hbmMask);
    }
}

IconHandle moduleIcon(const std::wstring& path, int index, int size) {
    HICON icon = nullptr;
    UINT id = 0;
    const UINT count =
        ::PrivateExtractIconsW(path.c_str(), index, size, size, &icon, &id, 1, LR_DEFAULTCOLOR);
    if (count == 0 || count == 0xFFFFFFFF) {
        return IconHandle();
    }
    return IconHandle(icon);
}

// The size an image of `original` pixels is decoded at: whole without a box, else fitted into
// it or covering it. A wallpaper filling a screen is shrunk, never enlarged, here; the painter
// stretches.
preview::Size decodedSize(preview::Size original, std::optional<preview::Size> box, bool cover) {
    if (!box) {
        return original;
    }
    const preview::Size target =
        cover ? preview::coverBox(original, *box) : preview::fitInside(original, *box);
    return target.width > original.width ? original : target;
}

const GUID& pbgra() {
    return GUID_WICPixelFormat32bppPBGRA;
}

// Bits per pixel of the formats taken from a decoder's scaled decode; 0 for others.
UINT bitsOf(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat24bppBGR) {
        return 24;
    }
    if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA ||
        format == GUID_WICPixelFormat32bppPBGRA) {
        return 32;
    }
    return 0;
}

} // namespace

ComThread::ComThread() {
    const HRESULT result = system::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    initialised_ = SUCCEEDED(result);
}

ComThread::~ComThread() {
    if (initialised_) {
        system::CoUninitialize();
    }
}

ImageDecoder::ImageDecoder() {
    void* factory = nullptr;
    if (SUCCEEDED(system::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, &factory)) &&
        factory) {
        factory_ = static_cast<IWICImagingFactory*>(factory);
        return;
    }
    // Windows XP without WIC: a GDI+ session of this decoder's own, on the thread that decodes,
    // ended with the decoder (GDI+ counts its sessions).
    const system::GdiplusStartupInput input;
    gdiplus_ = system::GdiplusStartup(&gdiplusToken_, &input, nullptr) == 0;
}

ImageDecoder::~ImageDecoder() {
    if (factory_) {
        factory_->Release();
    }
    if (gdiplus_) {
        system::GdiplusShutdown(gdiplusToken_);
    }
}

void ImageDecoder::thumbnail(const std::wstring& path, preview::Size box, bool cover,
                             LoadedItem& into) {
    decode(path, box, cover, into);
}

void ImageDecoder::whole(const std::wstring& path, LoadedItem& into) {
    decode(path, std::nullopt, false, into);
}

void ImageDecoder::decode(const std::wstring& path, std::optional<preview::Size> box, bool cover,
                          LoadedItem& into) {
    if (!factory_) {
        if (gdiplus_) {
            decodeWithGdiplus(path, box, cover, into);
        } else {
            into.failure = Failure::NotDecodable;
        }
        return;
    }
    Com<IWICBitmapDecoder> decoder;
    HRESULT result = factory_->CreateDecoderFromFilename(
        path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.typedOut());
    if (FAILED(result)) {
        if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
            result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) {
            into.failure = Failure::Missing;
        } else if (result == WINCODEC_ERR_COMPONENTNOTFOUND) {
            into.failure = Failure::NotDecodable;
        } else {
            into.failure = Failure::Damaged;
        }
        return;
    }
    Com<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, frame.typedOut())) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0) {
        into.failure = Failure::Damaged;
        return;
    }
    if (static_cast<std::uint64_t>(width) * height > preview::kMaxImagePixels ||
        width > 0x7FFF'FFFF || height > 0x7FFF'FFFF) {
        into.failure = Failure::TooManyPixels;
        return;
    }
    into.original = {static_cast<int>(width), static_cast<int>(height)};
    const preview::Size target = decodedSize(into.original, box, cover);
    IWICBitmapSource* source = frame.get();

    // The decoder's own scaled decode (JPEG decodes at 1/2, 1/4, 1/8 for a fraction of the
    // work), at the smallest size it offers that is not below the target.
    Com<IWICBitmapSourceTransform> transform;
    Com<IWICBitmap> reduced;
    if (target.width < into.original.width &&
        SUCCEEDED(frame->QueryInterface(kSourceTransformId, transform.out()))) {
        UINT closeWidth = static_cast<UINT>(target.width);
        UINT closeHeight = static_cast<UINT>(target.height);
        WICPixelFormatGUID format = pbgra();
        if (SUCCEEDED(transform->GetClosestSize(&closeWidth, &closeHeight)) &&
            closeWidth >= static_cast<UINT>(target.width) &&
            closeHeight >= static_cast<UINT>(target.height) && closeWidth < width &&
            SUCCEEDED(transform->GetClosestPixelFormat(&format)) && bitsOf(format) != 0) {
            const UINT stride = (closeWidth * bitsOf(format) / 8 + 3) & ~3u;
            std::vector<BYTE> buffer(static_cast<std::size_t>(stride) * closeHeight);
            if (SUCCEEDED(transform->CopyPixels(nullptr, closeWidth, closeHeight, &format,
                                                WICBitmapTransformRotate0, stride,
                                                static_cast<UINT>(buffer.size()), buffer.data())) &&
                SUCCEEDED(factory_->CreateBitmapFromMemory(closeWidth, closeHeight, format, stride,
                                                           static_cast<UINT>(buffer.size()),
                                                           buffer.data(), reduced.typedOut()))) {
                source = reduced.get();
                into.scaledDecode = true;
            }
        }
    }
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    source->GetSize(&sourceWidth, &sourceHeight);
    Com<IWICBitmapScaler> scaler;
    if (sourceWidth != static_cast<UINT>(target.width) ||
        sourceHeight != static_cast<UINT>(target.height)) {
        if (FAILED(factory_->CreateBitmapScaler(scaler.typedOut())) ||
            FAILED(scaler->Initialize(source, static_cast<UINT>(target.width),
                                      static_cast<UINT>(target.height),
                                      WICBitmapInterpolationModeFant))) {
            into.failure = Failure::Damaged;
            return;
        }
        source = scaler.get();
    }
    Com<IWICFormatConverter> converter;
    if (FAILED(factory_->CreateFormatConverter(converter.typedOut())) ||
        FAILED(converter->Initialize(source, pbgra(), WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        into.failure = Failure::NotDecodable;
        return;
    }
    into.pixels.width = target.width;
    into.pixels.height = target.height;
    into.pixels.bgra.assign(static_cast<std::size_t>(target.width) * target.height, 0);
    const UINT stride = static_cast<UINT>(target.width) * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride,
                                     static_cast<UINT>(into.pixels.bgra.size() * 4),
                                     reinterpret_cast<BYTE*>(into.pixels.bgra.data())))) {
        into.pixels = Pixels{};
        into.failure = Failure::Damaged;
    }
}

void ImageDecoder::decodeWithGdiplus(const std::wstring& path, std::optional<preview::Size> box,
                                     bool cover, LoadedItem& into) {
    struct Image {
        void* image = nullptr;
        ~Image() {
            if (image) {
                system::GdipDisposeImage(image);
            }
        }
    };
    Image image;
    if (system::GdipCreateBitmapFromFile(path.c_str(), &image.image) != 0 || !image.image) {
        into.failure = Failure::NotDecodable;
        return;
    }
    UINT width = 0;
    UINT height = 0;
    if (system::GdipGetImageWidth(image.image, &width) != 0 ||
        system::GdipGetImageHeight(image.image, &height) != 0 || width == 0 || height == 0) {
        into.failure = Failure::Damaged;
        return;
    }
    if (static_cast<std::uint64_t>(width) * height > preview::kMaxImagePixels) {
        into.failure = Failure::TooManyPixels;
        return;
    }
    into.original = {static_cast<int>(width), static_cast<int>(height)};
    const preview::Size target = decodedSize(into.original, box, cover);
    Image thumbnail;
    void* source = image.image;
    if (target != into.original) {
        if (system::GdipGetImageThumbnail(image.image, static_cast<UINT>(target.width),
                                          static_cast<UINT>(target.height), &thumbnail.image,
                                          nullptr, nullptr) != 0) {
            into.failure = Failure::Damaged;
            return;
        }
        source = thumbnail.image;
    }
    HBITMAP bitmap = nullptr;
    if (system::GdipCreateHBITMAPFromBitmap(source, &bitmap, 0xFF000000) != 0 || !bitmap) {
        into.failure = Failure::Damaged;
        return;
    }
    BITMAPINFO info = gdi::topDownBitmap32(target.width, target.height);
    into.pixels.width = target.width;
    into.pixels.height = target.height;
    into.pixels.bgra.assign(static_cast<std::size_t>(target.width) * target.height, 0);
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const int rows = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(target.height),
                                 into.pixels.bgra.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    if (rows != target.height) {
        into.pixels = Pixels{};
        into.failure = Failure::Damaged;
        return;
    }
    for (std::uint32_t& pixel : into.pixels.bgra) {
        pixel |= 0xFF000000u;
    }
}

LoadedItem loadItem(const std::string& path, Kind kind, ImageDecoder* decoder, preview::Size box,
                    bool cover) {
    LoadedItem item;
    const std::wstring wide = toWide(path);
    item.fileName = fileNameOf(wide);
    if (std::optional<Failure> failure = checkFile(wide, kind, item.bytes)) {
        item.failure = failure;
        return item;
    }
    switch (kind) {
    case Kind::Image:
        if (decoder) {
            decoder->thumbnail(wide, box, cover, item);
        } else {
            item.failure = Failure::NotDecodable;
        }
        break;
    case Kind::IconFile: {
        const OpenFile file(wide);
        if (!file) {
            item.failure = Failure::Unreadable;
            break;
        }
        if ((item.failure = preview::checkIconDirectory(file.reader(), item.bytes, false))) {
            break;
        }
        item.small.reset(static_cast<HICON>(
            ::LoadImageW(nullptr, wide.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
        item.large.reset(static_cast<HICON>(
            ::LoadImageW(nullptr, wide.c_str(), IMAGE_ICON, 48, 48, LR_LOADFROMFILE)));
        if (!item.small || !item.large) {
            item.failure = Failure::Damaged;
        }
        break;
    }
    case Kind::IconInModule:
        item.small = moduleIcon(wide, 0, 32);
        item.large = moduleIcon(wide, 0, 48);
        if (!item.small || !item.large) {
            item.failure = Failure::NotAnIcon;
        }
        break;
    case Kind::Pointer:
    case Kind::AnimatedPointer: {
        const OpenFile file(wide);
        if (!file) {
            item.failure = Failure::Unreadable;
            break;
        }
        if (kind == Kind::Pointer) {
            item.failure = preview::checkIconDirectory(file.reader(), item.bytes, true);
        } else {
            preview::AnimationRead read = preview::readAnimation(file.reader(), item.bytes);
            if (read.animation) {
                item.animation = std::move(*read.animation);
            } else {
                item.failure = read.failure;
            }
        }
        if (item.failure) {
            break;
        }
        item.pointer.reset(static_cast<HCURSOR>(
            ::LoadImageW(nullptr, wide.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
        if (!item.pointer) {
            item.failure = Failure::Damaged;
            break;
        }
        describePointer(item.pointer.get(), item);
        break;
    }
    case Kind::Sound: {
        const OpenFile file(wide);
        if (file) {
            item.lengthMs = preview::wavDurationMs(file.reader(), item.bytes);
        }
        item.description = versionDescription(wide);
        break;
    }
    case Kind::Screensaver:
    case Kind::VisualStyle:
        item.description = versionDescription(wide);
        break;
    }
    return item;
}

IconHandle defaultDesktopIcon(int slot, int size) {
    // The shell's own icons by resource number: documents, computer, network, recycle bin empty
    // and full.
    constexpr int kIds[] = {235, 16, 18, 32, 33};
    if (slot < 0 || slot >= 5) {
        return IconHandle();
    }
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return IconHandle();
    }
    const std::wstring shell = std::wstring(folder) + L"\\shell32.dll";
    IconHandle icon = moduleIcon(shell, -kIds[slot], size);
    // Shells that number their icons otherwise still keep them at the same places.
    return icon ? std::move(icon) : moduleIcon(shell, kIds[slot] - 1, size);
}

} // namespace quorvel
