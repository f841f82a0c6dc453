// The program's main window.
#pragma once

#include <windows.h>

namespace quorvel {

// Creates and shows the main window and runs the message loop of the GUI thread until the window
// is closed. Returns 0 then, or 1 when the window could not be created.
int runThemeWizard(HINSTANCE instance, int showCommand);

} // namespace quorvel
