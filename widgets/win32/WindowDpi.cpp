#include "widgets/win32/WindowDpi.h"

#include "platform/win32/SystemLibraries.h"
#include "widgets/Dpi.h"

namespace quorvel {

int systemDpi() {
    if (const UINT dpi = system::GetDpiForSystem()) {
        return static_cast<int>(dpi);
    }
    // The screen's device context; every screen has the same DPI on these systems.
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

int dpiOfWindow(HWND window) {
    if (window) {
        if (const UINT dpi = system::GetDpiForWindow(window)) {
            return static_cast<int>(dpi);
        }
    }
    return systemDpi();
}

} // namespace quorvel
