// The window's "安装并应用..." (system menu, Ctrl+I): installing the theme of the pages
// (generator/ThemeInstall.h) after the checks of the forward buttons.
#pragma once

#include "generator/ThemeInstall.h"
#include "model/PageSet.h"
#include "model/ThemeRequest.h"
#include "pages/PageFlow.h"
#include "platform/SystemShell.h"

#include <functional>
#include <optional>
#include <string>

namespace quorvel {

// The install command of the window: the page checks of the forward buttons of the page set,
// the request of its last page, the question before replacing an installed theme (`askReplace`
// with the question's text; false leaves everything as it was), the installation and its report
// in a message box.
void installFromWizard(Wizard& wizard, SystemShell& shell, PageSet set,
                       const std::function<bool(const std::string&)>& askReplace);

// The checks of the forward buttons on the way to the last page of a page set and the request
// of that page; nothing when a check failed (it showed its message through the platform).
std::optional<ThemeRequest> checkedRequest(Wizard& wizard, PageSet set);

} // namespace quorvel
