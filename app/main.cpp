// Start-up: the UI layer, the global state and its release at process end, then the main window
// and its message loop.
#include "app/AppState.h"
#include "wizard/win32/ThemeWizardWindow.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX commonControls{};
    commonControls.dwSize = sizeof(commonControls);
    commonControls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                           ICC_BAR_CLASSES | ICC_USEREX_CLASSES;
    ::InitCommonControlsEx(&commonControls);

    quorvel::createAppState();
    std::atexit(quorvel::releaseAppState);

    return quorvel::runThemeWizard(instance, showCommand);
}
