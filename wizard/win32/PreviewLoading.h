// Loads what a preview shows through the system: image thumbnails decoded by WIC (GDI+ where WIC
// is missing), icons and pointers loaded by user32, and the description from a file's version
// resource. Every function here may run on a worker thread: none touches a window.
#pragma once

#include "model/FileHeaders.h"
#include "wizard/Preview.h"

#include <windows.h>

#include <wincodec.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct IconDeleter {
    void operator()(HICON icon) const noexcept { ::DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
struct CursorDeleter {
    void operator()(HCURSOR cursor) const noexcept { ::DestroyCursor(cursor); }
};
using CursorHandle = std::unique_ptr<std::remove_pointer_t<HCURSOR>, CursorDeleter>;

// Pixels of an image: top-down rows of premultiplied BGRA, width * height of them.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgra;
};

// What one file of a preview came to.
struct LoadedItem {
    std::optional<preview::Failure> failure;
    std::wstring fileName;
    std::uint64_t bytes = 0;
    preview::Size original;    // images: the size of the whole image
    bool scaledDecode = false; // images: the decoder itself decoded at a reduced size
    Pixels pixels;             // images: the thumbnail
    IconHandle small;          // icons at 32 pixels
    IconHandle large;          // icons at 48 pixels
    CursorHandle pointer;      // pointers as they are
    int hotX = 0;              // pointers: the hot spot and the size
    int hotY = 0;
    preview::Size pointerSize;
    preview::Animation animation;          // animated pointers
    std::string description;               // from the version resource
    std::optional<std::uint64_t> lengthMs; // sounds
};

// Makes COM usable on the calling thread for as long as the object lives.
class ComThread {
public:
    ComThread();
    ~ComThread();
    ComThread(const ComThread&) = delete;
    ComThread& operator=(const ComThread&) = delete;

private:
    bool initialised_ = false;
};

// The decoders of the calling thread: WIC's factory once made, or a GDI+ session of its own when
// WIC cannot be had. Made and destroyed on the thread that decodes.
class ImageDecoder {
public:
    ImageDecoder();
    ~ImageDecoder();
    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    // A thumbnail that fits inside the box (or covers it, for a wallpaper filling a screen),
    // keeping the aspect ratio and never larger than the image. Decodes scaled where the decoder
    // offers it; holds no more than the thumbnail beyond what the decoder itself needs.
    void thumbnail(const std::wstring& path, preview::Size box, bool cover, LoadedItem& into);
    // The whole image at its own size, for comparison in the benchmark.
    void whole(const std::wstring& path, LoadedItem& into);
    bool usesWic() const { return factory_ != nullptr; }

private:
    void decode(const std::wstring& path, std::optional<preview::Size> box, bool cover,
                LoadedItem& into);
    void decodeWithGdiplus(const std::wstring& path, std::optional<preview::Size> box, bool cover,
                           LoadedItem& into);
    IWICImagingFactory* factory_ = nullptr;
    // The GDI+ session this decoder started where WIC is missing, ended by its destructor.
    bool gdiplus_ = false;
    ULONG_PTR gdiplusToken_ = 0;
};

// Loads the preview of one file of a kind. Images go through the decoder with the box.
LoadedItem loadItem(const std::string& path, preview::Kind kind, ImageDecoder* decoder,
                    preview::Size box, bool cover);

// The icon the desktop shows for an empty slot (0 documents .. 4 recycle bin full), at a size.
IconHandle defaultDesktopIcon(int slot, int size);

} // namespace quorvel
