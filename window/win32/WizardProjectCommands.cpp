// The main window's project commands: the items the window adds to its system menu (open and
// save a project, save it under another name, install and apply the theme, export a theme pack),
// what each runs (pages/ProjectSession, pages/PackExportFlow, pages/ThemeInstall), opening a
// document named on the command line or dropped on the window, and the question before a window
// with unsaved changes closes. Their shortcuts are handled with the keyboard (WizardKeyboard.cpp).
#include "window/win32/ThemeWizardWindow.h"

#include "model/Texts.h"
#include "pages/InstallFlow.h"
#include "pages/PackExportFlow.h"
#include "platform/win32/WideText.h"

#include <exception>
#include <utility>

namespace quorvel {

void ThemeWizardWindow::addProjectMenuItems() {
    const HMENU menu = ::GetSystemMenu(window_, FALSE);
    if (!menu) {
        return;
    }
    // A group of their own before the separator and "关闭" at the end of the menu.
    const int count = ::GetMenuItemCount(menu);
    UINT at = count >= 2 ? static_cast<UINT>(count - 2) : 0;
    ::InsertMenuW(menu, at++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (const auto& [command, caption] :
         {std::pair{kCommandOpenProject, text::kMenuOpenProject},
          std::pair{kCommandSaveProject, text::kMenuSaveProject},
          std::pair{kCommandSaveProjectAs, text::kMenuSaveProjectAs},
          std::pair{kCommandInstallTheme, text::kMenuInstallTheme},
          std::pair{kCommandExportPack, text::kMenuExportPack}}) {
        ::InsertMenuW(menu, at++, MF_BYPOSITION | MF_STRING, command, toWide(caption).c_str());
    }
}

bool ThemeWizardWindow::runProjectCommand(UINT command) {
    switch (command) {
    case kCommandOpenProject:
        session_.openWithDialog();
        return true;
    case kCommandSaveProject:
        session_.save();
        return true;
    case kCommandSaveProjectAs:
        session_.saveAs();
        return true;
    case kCommandExportPack:
        exportPackFromWindow(wizard_);
        return true;
    case kCommandInstallTheme:
        installTheme();
        return true;
    default:
        return false;
    }
}

void ThemeWizardWindow::installTheme() {
    const PageSet set = pageSetOfPage(page_, gatePageSet(platform_));
    installFromWizard(wizard_, shell_, set, [this](const std::string& question) {
        return ::MessageBoxW(window_, toWide(question).c_str(), toWide(text::kInfoTitle).c_str(),
                             MB_YESNO | MB_ICONQUESTION) == IDYES;
    });
}

bool ThemeWizardWindow::mayClose() {
    if (!session_.modified()) {
        return true;
    }
    const std::wstring question =
        toWide(std::string(text::kSaveChangesBefore) + std::string(pathFileName(session_.path())) +
               std::string(text::kSaveChangesAfter));
    switch (::MessageBoxW(window_, question.c_str(), toWide(text::kInfoTitle).c_str(),
                          MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return session_.save();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void ThemeWizardWindow::openDocument(const std::string& path) {
    try {
        session_.open(path);
    } catch (const std::exception& e) {
        reportFailure(window_, e.what());
    } catch (...) {
        reportFailure(window_, "unknown");
    }
}

} // namespace quorvel
