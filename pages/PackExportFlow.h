// The window's "导出主题包..." (system menu, Ctrl+E): a theme pack of the Windows 7 pages' theme.
#pragma once

#include "pages/PageFlow.h"

namespace quorvel {

// On the Windows XP pages (or the about page reached from them, or the main page on an XP
// system) a message says that XP has no theme packs. Otherwise the forward checks of the
// Windows 7 pages run as the generate button's way there runs them (a scheme must be chosen),
// then the name checks; the save dialog asks for the pack (offering "<生成名称>.themepack"), the
// pack is written and its report shown as the generate button shows its own.
void exportPackFromWindow(Wizard& wizard);

} // namespace quorvel
