// Start-up: the program's state, then the main window and its message loop, which work on that
// state until the window is closed. The window loads the common controls itself once its first
// page is shown.
#include "model/AppState.h"
#include "wizard/win32/ThemeWizardWindow.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    quorvel::AppState app;
    return quorvel::runThemeWizard(instance, showCommand, app);
}
