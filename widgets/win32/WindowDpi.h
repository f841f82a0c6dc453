// The one DPI policy of the program's windows. A window is laid out for its monitor's DPI where
// the system tells it (Windows 10 1607 and later, through the lazily loaded user32 functions),
// and for the one DPI of every screen on older systems (Windows 7 and XP), where that DPI is also
// the system's. Lengths are scaled with widgets/Dpi.h.
#pragma once

#include <windows.h>

namespace quorvel {

// The DPI the system lays top-level windows out for: the primary monitor's when the process is
// aware of each monitor's DPI, else the screen's. 96 when nothing answers.
int systemDpi();

// The DPI of a window's monitor, or systemDpi() where the system does not tell (or for no
// window).
int dpiOfWindow(HWND window);

} // namespace quorvel
