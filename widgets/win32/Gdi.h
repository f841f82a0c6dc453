// Owning wrappers for the GDI objects of the window: brushes, pens, fonts and bitmaps are deleted
// with DeleteObject, memory device contexts with DeleteDC, window device contexts released with
// ReleaseDC, and a selection is undone before the object selected is deleted (declare the
// selection after the object so that it is destroyed first).
#pragma once

#include "widgets/ControlLook.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quorvel::gdi {

struct ObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { ::DeleteObject(object); }
};

using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, ObjectDeleter>;
using Pen = std::unique_ptr<std::remove_pointer_t<HPEN>, ObjectDeleter>;
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, ObjectDeleter>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;
using Region = std::unique_ptr<std::remove_pointer_t<HRGN>, ObjectDeleter>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const noexcept { ::DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// The colour's GDI form and back: the only places a colour is a COLORREF.
inline COLORREF colorOf(Rgb c) {
    return RGB(c.red, c.green, c.blue);
}
inline Rgb rgbOf(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}
inline Brush solidBrush(Rgb c) {
    return Brush(::CreateSolidBrush(colorOf(c)));
}
inline Pen solidPen(Rgb c, int width = 1) {
    return Pen(::CreatePen(PS_SOLID, width, colorOf(c)));
}

// GetDC / ReleaseDC of a window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) {
            ::ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintDc() { ::EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// Selects an object into a device context and restores the previous one when it goes.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() { ::SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// An off-screen bitmap kept for the paints of several controls. Making a bitmap compatible with
// the screen and selecting it each make the system look at the display (under Wine three
// requests to its server each), so a window that paints many controls keeps one, grown to the
// largest size asked for.
class PaintStore {
public:
    // A memory device context holding a bitmap compatible with target of at least width x
    // height, with the colours and background mode of a new one; null when it cannot be made.
    HDC take(HDC target, int width, int height);

private:
    MemoryDc dc_;
    Bitmap bitmap_;
    std::unique_ptr<Selection> selection_; // last, so that the bitmap is deselected first
    int width_ = 0;
    int height_ = 0;
};

// Draws into an off-screen bitmap of the given size (or the store's, when one is given) and
// copies it onto the target at the end, so that a control repaints in one copy without flicker.
class BufferedPaint {
public:
    BufferedPaint(HDC target, int width, int height)
        : target_(target), width_(width), height_(height) {
        makeOwn();
    }
    BufferedPaint(PaintStore& store, HDC target, int width, int height)
        : target_(target), width_(width), height_(height),
          drawing_(store.take(target, width, height)) {
        if (!drawing_) {
            makeOwn();
        }
    }
    ~BufferedPaint() {
        ::BitBlt(target_, 0, 0, width_, height_, drawing_, 0, 0, SRCCOPY);
        selection_.reset();
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC get() const { return drawing_; }

private:
    void makeOwn() {
        dc_.reset(::CreateCompatibleDC(target_));
        bitmap_.reset(::CreateCompatibleBitmap(target_, width_, height_));
        selection_ = std::make_unique<Selection>(dc_.get(), bitmap_.get());
        drawing_ = dc_.get();
    }

    HDC target_;
    int width_;
    int height_;
    HDC drawing_ = nullptr;
    MemoryDc dc_;
    Bitmap bitmap_;
    std::unique_ptr<Selection> selection_;
};

// True when the window has a frame, caption or scroll bars around its client area. A window
// without any has nothing to paint on WM_NCPAINT, and skipping it spares fetching a device
// context for every such child each time the window is shown.
bool hasNonClientArea(HWND window);

// The header of a 32-bit top-down device-independent bitmap of width x height pixels: rows from
// the top, each pixel one 32-bit word 0xAARRGGBB (blue in the lowest byte), no colour table. The
// previews decode into, blend in and draw from such pixels.
inline BITMAPINFO topDownBitmap32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A vertical two-colour gradient over a rectangle.
void verticalGradient(HDC dc, const RECT& rect, Rgb top, Rgb bottom);
// A one-pixel frame in a colour.
void frame(HDC dc, const RECT& rect, Rgb color);
// A filled rectangle in a colour.
void fill(HDC dc, const RECT& rect, Rgb color);

} // namespace quorvel::gdi
