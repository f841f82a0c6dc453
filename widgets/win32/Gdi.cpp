#include "widgets/win32/Gdi.h"

#include <algorithm>

namespace quorvel::gdi {

HDC PaintStore::take(HDC target, int width, int height) {
    if (!dc_) {
        dc_.reset(::CreateCompatibleDC(target));
        if (!dc_) {
            return nullptr;
        }
    }
    if (!bitmap_ || width > width_ || height > height_) {
        selection_.reset();
        width_ = std::max(width, width_);
        height_ = std::max(height, height_);
        bitmap_.reset(::CreateCompatibleBitmap(target, width_, height_));
        if (!bitmap_) {
            width_ = height_ = 0;
            return nullptr;
        }
        selection_ = std::make_unique<Selection>(dc_.get(), bitmap_.get());
    }
    // What the drawing before may have left: the state a new device context starts with.
    ::SetTextColor(dc_.get(), RGB(0, 0, 0));
    ::SetBkColor(dc_.get(), RGB(255, 255, 255));
    ::SetBkMode(dc_.get(), OPAQUE);
    ::MoveToEx(dc_.get(), 0, 0, nullptr);
    return dc_.get();
}

void verticalGradient(HDC dc, const RECT& rect, Rgb top, Rgb bottom) {
    TRIVERTEX vertices[2] = {};
    vertices[0].x = rect.left;
    vertices[0].y = rect.top;
    vertices[0].Red = static_cast<COLOR16>(top.red << 8);
    vertices[0].Green = static_cast<COLOR16>(top.green << 8);
    vertices[0].Blue = static_cast<COLOR16>(top.blue << 8);
    vertices[1].x = rect.right;
    vertices[1].y = rect.bottom;
    vertices[1].Red = static_cast<COLOR16>(bottom.red << 8);
    vertices[1].Green = static_cast<COLOR16>(bottom.green << 8);
    vertices[1].Blue = static_cast<COLOR16>(bottom.blue << 8);
    GRADIENT_RECT gradient = {0, 1};
    // The gradient fill of the graphics library itself, which spares loading another library.
    ::GdiGradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
}

bool hasNonClientArea(HWND window) {
    RECT outer{};
    RECT client{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    return outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom;
}

void frame(HDC dc, const RECT& rect, Rgb color) {
    const Brush brush = solidBrush(color);
    ::FrameRect(dc, &rect, brush.get());
}

void fill(HDC dc, const RECT& rect, Rgb color) {
    const Brush brush = solidBrush(color);
    ::FillRect(dc, &rect, brush.get());
}

} // namespace quorvel::gdi
