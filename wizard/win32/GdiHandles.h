// Owners for GDI objects and device contexts: one owner per handle, no copies, released when the
// owner goes. Declare a SelectionGuard after the objects it selects so that it is destroyed (and
// the old object selected back) before they are deleted.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quorvel::win32 {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept {
        if (object != nullptr) {
            DeleteObject(object);
        }
    }
};

template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
using FontHandle = GdiObject<HFONT>;

inline BrushHandle makeSolidBrush(COLORREF color) {
    return BrushHandle(CreateSolidBrush(color));
}

// A memory device context from CreateCompatibleDC.
struct MemoryDcDeleter {
    void operator()(HDC dc) const noexcept {
        if (dc != nullptr) {
            DeleteDC(dc);
        }
    }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// The device context of a window from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and selects the previous one back on destruction.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectionGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace quorvel::win32
