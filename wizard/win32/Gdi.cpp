#include "wizard/win32/Gdi.h"

namespace quorvel::gdi {

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
