#include "preview/win32/DesktopPreview.h"

#include "model/Texts.h"
#include "platform/win32/WideText.h"
#include "preview/win32/PagePictures.h"
#include "preview/win32/PreviewWorker.h"
#include "widgets/Dpi.h"
#include "widgets/win32/Gdi.h"
#include "widgets/win32/WindowBase.h"

#include <algorithm>
#include <array>
#include <memory>

namespace quorvel {

namespace {

constexpr UINT kLoaded = WM_APP + 41;
constexpr UINT_PTR kSlideshowTimer = 1;

enum Channel { kWallpaperChannel = 0, kIconChannel = 1, kPointerChannel = 2 };

// A 32-bit top-down bitmap whose pixels can be read and blended directly.
class PixelBuffer {
public:
    PixelBuffer(HDC target, int width, int height) : width_(width), height_(height) {
        const BITMAPINFO info = gdi::topDownBitmap32(width, height);
        void* bits = nullptr;
        dc_.reset(::CreateCompatibleDC(target));
        bitmap_.reset(::CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        if (dc_ && bitmap_) {
            selection_ = std::make_unique<gdi::Selection>(dc_.get(), bitmap_.get());
        }
    }
    ~PixelBuffer() { selection_.reset(); }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    bool ok() const { return bits_ && selection_; }
    HDC dc() const { return dc_.get(); }
    // Blends a colour over a rectangle of the pixels.
    void blend(const preview::Placed& r, Rgb color, int alpha) {
        ::GdiFlush();
        for (int y = std::max(0, r.top); y < std::min(height_, r.top + r.height); ++y) {
            for (int x = std::max(0, r.left); x < std::min(width_, r.left + r.width); ++x) {
                std::uint32_t& p = bits_[static_cast<std::size_t>(y) * width_ + x];
                const Rgb under = {static_cast<std::uint8_t>(p >> 16 & 0xFF),
                                   static_cast<std::uint8_t>(p >> 8 & 0xFF),
                                   static_cast<std::uint8_t>(p & 0xFF)};
                const Rgb out = preview::blend(color, under, alpha);
                p = static_cast<std::uint32_t>(out.red) << 16 |
                    static_cast<std::uint32_t>(out.green) << 8 | out.blue;
            }
        }
    }

private:
    int width_;
    int height_;
    gdi::MemoryDc dc_;
    gdi::Bitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    std::unique_ptr<gdi::Selection> selection_;
};

RECT rectOf(const preview::Placed& p) {
    return {p.left, p.top, p.left + p.width, p.top + p.height};
}

gdi::Font makeFont(int pixels, int weight) {
    LOGFONTW font{};
    font.lfHeight = -pixels;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    ::lstrcpynW(font.lfFaceName, chineseFace().c_str(), LF_FACESIZE);
    return gdi::Font(::CreateFontIndirectW(&font));
}

class DesktopPreviewWindow : public WindowBase<DesktopPreviewWindow> {
public:
    DesktopPreviewWindow(HINSTANCE instance, HWND owner, const preview::DesktopScene& scene)
        : instance_(instance), owner_(owner), scene_(scene) {}
    ~DesktopPreviewWindow() {
        worker_.reset();
        if (window_) {
            release(window_);
            ::DestroyWindow(window_);
        }
    }
    DesktopPreviewWindow(const DesktopPreviewWindow&) = delete;
    DesktopPreviewWindow& operator=(const DesktopPreviewWindow&) = delete;

    bool create();
    HWND handle() const { return window_; }
    void close();

private:
    friend class WindowBase<DesktopPreviewWindow>;
    void onAttached(HWND window) { window_ = window; }
    void onDetached(HWND) { window_ = nullptr; }
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A failed handler leaves the message to the system.
    LRESULT onFailure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char*) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    // At a new DPI the preview keeps its size in the layout's terms and loads the wallpaper
    // again for the new size; moved by the system, it goes to the suggested corner.
    bool onDpiChanged(HWND window, int dpi, const RECT* suggested);
    void relayout(int dpi);
    void requestWallpaper();
    void requestFiles();
    void takeResults();
    void paint(HDC dc);
    HCURSOR arrow() const { return arrow_ ? arrow_.get() : ::LoadCursorW(nullptr, IDC_ARROW); }

    HINSTANCE instance_;
    HWND owner_;
    preview::DesktopScene scene_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    int width_ = preview::kDesktopWidth;
    preview::DesktopLayout layout_;
    std::unique_ptr<PreviewWorker> worker_;
    std::uint64_t wallpaperSerial_ = 0;
    std::size_t wallpaperIndex_ = 0;
    std::optional<LoadedItem> wallpaper_;
    std::array<IconHandle, ThemeProject::kIconCount> chosenIcons_;
    std::array<IconHandle, ThemeProject::kIconCount> defaultIcons_;
    CursorHandle arrow_;
    gdi::Font labelFont_;
    gdi::Font captionFont_;
};

bool DesktopPreviewWindow::create() {
    WindowClass type;
    type.name = kDesktopPreviewClass;
    type.procedure = procedure;
    type.cursor = nullptr; // the chosen Arrow pointer, set on WM_SETCURSOR
    if (!registerWindowClass(instance_, type)) {
        return false;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    window_ = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kDesktopPreviewClass,
                                toWide(text::kDesktopPreviewCaption).c_str(), style, CW_USEDEFAULT,
                                CW_USEDEFAULT, 100, 100, owner_, nullptr, instance_, this);
    if (!window_) {
        return false;
    }
    relayout(dpiOfWindow(owner_));
    // Centred over the owner, inside the owner's monitor.
    RECT frame{};
    ::GetWindowRect(window_, &frame);
    RECT over{};
    ::GetWindowRect(owner_, &over);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const RECT& work = monitor.rcWork;
    const int left = std::clamp<int>((over.left + over.right - width) / 2, work.left,
                                     std::max<int>(work.left, work.right - width));
    const int top = std::clamp<int>((over.top + over.bottom - height) / 2, work.top,
                                    std::max<int>(work.top, work.bottom - height));
    ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    followDpi(window_, dpi_);
    for (int i = 0; i < ThemeProject::kIconCount; ++i) {
        defaultIcons_[static_cast<std::size_t>(i)] = defaultDesktopIcon(i, 48);
    }
    worker_ = std::make_unique<PreviewWorker>(window_, kLoaded);
    requestFiles();
    requestWallpaper();
    if (scene_.wallpapers.size() > 1) {
        ::SetTimer(window_, kSlideshowTimer, preview::kSlideshowStepMs, nullptr);
    }
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    return true;
}

void DesktopPreviewWindow::relayout(int dpi) {
    dpi_ = dpi;
    width_ = scaleToDpi(preview::kDesktopWidth, dpi);
    layout_ = preview::desktopLayout(width_, scene_.xp);
    labelFont_ = makeFont(std::max(9, width_ * 12 / preview::kDesktopWidth), FW_NORMAL);
    captionFont_ = makeFont(std::max(9, width_ * 12 / preview::kDesktopWidth), FW_NORMAL);
    RECT frame = {0, 0, layout_.screen.width, layout_.screen.height};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DesktopPreviewWindow::requestFiles() {
    PreviewJob icons;
    icons.channel = kIconChannel;
    for (const std::string& path : scene_.icons) {
        // An empty slot keeps its place with an empty path: it loads as "missing" and the
        // default icon shows.
        icons.files.emplace_back(path, preview::kindOf(preview::FieldRole::Icon, path));
    }
    worker_->submit(std::move(icons));
    if (!scene_.arrowPointer.empty()) {
        PreviewJob pointer;
        pointer.channel = kPointerChannel;
        pointer.files.emplace_back(
            scene_.arrowPointer, preview::kindOf(preview::FieldRole::Pointer, scene_.arrowPointer));
        worker_->submit(std::move(pointer));
    }
}

void DesktopPreviewWindow::requestWallpaper() {
    if (scene_.wallpapers.empty()) {
        return;
    }
    PreviewJob job;
    job.channel = kWallpaperChannel;
    job.files.emplace_back(scene_.wallpapers[wallpaperIndex_ % scene_.wallpapers.size()],
                           preview::Kind::Image);
    job.box = {layout_.screen.width, layout_.screen.height};
    job.cover = true;
    wallpaperSerial_ = worker_->submit(std::move(job));
}

void DesktopPreviewWindow::takeResults() {
    for (std::unique_ptr<PreviewResult>& result : worker_->take()) {
        if (result->items.empty()) {
            continue;
        }
        switch (result->channel) {
        case kWallpaperChannel:
            if (result->serial == wallpaperSerial_) {
                wallpaper_ = std::move(result->items.front());
            }
            break;
        case kIconChannel:
            for (std::size_t i = 0; i < result->items.size() && i < chosenIcons_.size(); ++i) {
                if (!result->items[i].failure) {
                    chosenIcons_[i] = std::move(result->items[i].large);
                }
            }
            break;
        case kPointerChannel:
            if (!result->items.front().failure) {
                arrow_ = std::move(result->items.front().pointer);
                // The pointer over the preview changes at once, not at the next move.
                POINT at{};
                ::GetCursorPos(&at);
                if (::WindowFromPoint(at) == window_) {
                    ::SetCursor(arrow());
                }
            }
            break;
        default:
            break;
        }
    }
    ::InvalidateRect(window_, nullptr, FALSE);
}

void DesktopPreviewWindow::paint(HDC target) {
    const preview::DesktopLayout& l = layout_;
    PixelBuffer buffer(target, l.screen.width, l.screen.height);
    if (!buffer.ok()) {
        return;
    }
    const HDC dc = buffer.dc();
    const RECT screen = rectOf(l.screen);
    gdi::fill(dc, screen, preview::defaultBackground(scene_.xp));
    if (wallpaper_ && !wallpaper_->failure && !wallpaper_->pixels.bgra.empty()) {
        // Filling the screen: the image covers it, centred, cut at the edges.
        const Pixels& p = wallpaper_->pixels;
        const preview::Size cover =
            preview::coverBox({p.width, p.height}, {l.screen.width, l.screen.height});
        const BITMAPINFO info = gdi::topDownBitmap32(p.width, p.height);
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchDIBits(dc, (l.screen.width - cover.width) / 2,
                        (l.screen.height - cover.height) / 2, cover.width, cover.height, 0, 0,
                        p.width, p.height, p.bgra.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    ::SetBkMode(dc, TRANSPARENT);
    if (wallpaper_ && wallpaper_->failure) {
        const std::wstring note = toWide(preview::kNoPreview) + toWide(text::kPreviewColon) +
                                  toWide(preview::failureText(*wallpaper_->failure));
        const gdi::Selection font(dc, labelFont_.get());
        ::SetTextColor(dc, RGB(255, 255, 255));
        RECT at = {l.window.left, l.screen.height - scaleToDpi(24, dpi_), l.screen.width,
                   l.screen.height};
        ::DrawTextW(dc, note.c_str(), -1, &at, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }

    // The icon column with the labels, white with a shadow as on the desktop.
    const std::array<std::string_view, ThemeProject::kIconCount> labels =
        preview::desktopLabels(scene_.xp);
    {
        const gdi::Selection font(dc, labelFont_.get());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const HICON icon = chosenIcons_[i] ? chosenIcons_[i].get() : defaultIcons_[i].get();
            if (icon) {
                ::DrawIconEx(dc, l.icons[i].left, l.icons[i].top, icon, l.iconSize, l.iconSize, 0,
                             nullptr, DI_NORMAL);
            }
            const std::wstring label = toWide(labels[i]);
            RECT shadow = rectOf(l.labels[i]);
            ::OffsetRect(&shadow, 1, 1);
            const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
            ::SetTextColor(dc, RGB(0, 0, 0));
            ::DrawTextW(dc, label.c_str(), -1, &shadow, format);
            RECT text = rectOf(l.labels[i]);
            ::SetTextColor(dc, RGB(255, 255, 255));
            ::DrawTextW(dc, label.c_str(), -1, &text, format);
        }
    }

    // The sample window.
    const RECT client = rectOf(l.client);
    const RECT caption = rectOf(l.caption);
    if (scene_.xp) {
        RECT outer = rectOf(l.window);
        gdi::fill(dc, outer, {212, 208, 200});
        ::DrawEdge(dc, &outer, EDGE_RAISED, BF_RECT);
        const auto sys = [](int index) { return gdi::rgbOf(::GetSysColor(index)); };
        RECT band = caption;
        gdi::verticalGradient(dc, band, sys(COLOR_ACTIVECAPTION), sys(COLOR_GRADIENTACTIVECAPTION));
    } else {
        // The frame and caption of the glass in the chosen colour and transparency.
        const preview::Placed& w = l.window;
        const Rgb color = scene_.windowColor;
        const int alpha = scene_.windowAlpha;
        buffer.blend({w.left, w.top, w.width, l.client.top - w.top}, color, alpha);
        buffer.blend({w.left, l.client.top, l.client.left - w.left, l.client.height}, color, alpha);
        buffer.blend({l.client.left + l.client.width, l.client.top,
                      w.left + w.width - l.client.left - l.client.width, l.client.height},
                     color, alpha);
        buffer.blend({w.left, l.client.top + l.client.height, w.width,
                      w.top + w.height - l.client.top - l.client.height},
                     color, alpha);
        gdi::frame(dc, rectOf(w), {40, 40, 40});
    }
    {
        const gdi::Selection font(dc, captionFont_.get());
        RECT text = caption;
        text.left += scaleToDpi(4, dpi_);
        ::SetTextColor(dc, scene_.xp ? RGB(255, 255, 255) : RGB(0, 0, 0));
        ::DrawTextW(dc, toWide(text::kSampleWindowCaption).c_str(), -1, &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        // The close button at the caption's right end.
        const int side = std::max(8, l.caption.height - scaleToDpi(6, dpi_));
        RECT close = {caption.right - side * 3 / 2, caption.top + (l.caption.height - side) / 2,
                      caption.right - scaleToDpi(2, dpi_), 0};
        close.bottom = close.top + side;
        gdi::fill(dc, close, {199, 80, 80});
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::DrawTextW(dc, L"×", -1, &close, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        gdi::fill(dc, client, {255, 255, 255});
        RECT inside = client;
        ::InflateRect(&inside, -scaleToDpi(8, dpi_), -scaleToDpi(6, dpi_));
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::DrawTextW(dc, toWide(text::kSampleWindowText).c_str(), -1, &inside,
                    DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }

    // The Arrow pointer resting on the desktop, its hot spot at the layout's point.
    const HCURSOR pointer = arrow();
    ICONINFO info{};
    int hotX = 0;
    int hotY = 0;
    if (::GetIconInfo(pointer, &info)) {
        hotX = static_cast<int>(info.xHotspot);
        hotY = static_cast<int>(info.yHotspot);
        if (info.hbmColor) {
            ::DeleteObject(info.hbmColor);
        }
        if (info.hbmMask) {
            ::DeleteObject(info.hbmMask);
        }
    }
    ::DrawIconEx(dc, l.pointerX - hotX, l.pointerY - hotY, pointer, 0, 0, 0, nullptr, DI_NORMAL);
    ::BitBlt(target, 0, 0, l.screen.width, l.screen.height, dc, 0, 0, SRCCOPY);
}

void DesktopPreviewWindow::close() {
    // The owner is enabled first, so that the system activates it when this window goes.
    ::EnableWindow(owner_, TRUE);
    ::DestroyWindow(window_);
}

bool DesktopPreviewWindow::onDpiChanged(HWND, int dpi, const RECT* suggested) {
    if (!suggested) {
        relayout(dpi);
        return true;
    }
    ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    relayout(dpi);
    requestWallpaper();
    ::InvalidateRect(window_, nullptr, FALSE);
    return true;
}

LRESULT DesktopPreviewWindow::onMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const gdi::PaintDc painting(window_);
        paint(painting.get());
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(arrow());
            return TRUE;
        }
        break;
    case kLoaded:
        takeResults();
        return 0;
    case WM_TIMER:
        if (wParam == kSlideshowTimer) {
            ++wallpaperIndex_;
            requestWallpaper();
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            close();
        }
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace

void addDesktopPreviewCommand(HWND window) {
    const HMENU menu = ::GetSystemMenu(window, FALSE);
    if (!menu) {
        return;
    }
    // Last item before the separator and "关闭" at the end of the menu, so that it joins the
    // group of commands the window put there before it.
    const int count = ::GetMenuItemCount(menu);
    const UINT at = count >= 2 ? static_cast<UINT>(count - 2) : 0;
    ::InsertMenuW(menu, at, MF_BYPOSITION | MF_STRING, kDesktopPreviewCommand,
                  toWide(text::kMenuDesktopPreview).c_str());
}

bool isDesktopPreviewCommand(WPARAM command) {
    return (command & 0xFFF0) == kDesktopPreviewCommand;
}

bool isDesktopPreviewShortcut(const MSG& message) {
    return message.message == WM_KEYDOWN && message.wParam == 'P' &&
           ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_SHIFT) < 0 &&
           ::GetKeyState(VK_MENU) >= 0;
}

void showDesktopPreview(HINSTANCE instance, HWND owner, const preview::DesktopScene& scene) {
    DesktopPreviewWindow preview(instance, owner, scene);
    ::EnableWindow(owner, FALSE);
    if (!preview.create()) {
        ::EnableWindow(owner, TRUE);
        return;
    }
    MSG message{};
    while (preview.handle()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The quit message belongs to the main loop.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            message.hwnd = preview.handle();
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::EnableWindow(owner, TRUE);
    if (preview.handle()) {
        preview.close();
    }
    ::SetActiveWindow(owner);
}

} // namespace quorvel
