// Start-up: the global state and its release at process end, then the main window and its message
// loop. The window loads the common controls itself once its first page is shown.
#include "model/AppState.h"
#include "wizard/win32/ThemeWizardWindow.h"

#include <windows.h>

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    quorvel::createAppState();
    std::atexit(quorvel::releaseAppState);

    return quorvel::runThemeWizard(instance, showCommand);
}
