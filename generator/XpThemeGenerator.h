// The Windows XP theme generator: the click of the generate button on the last Windows XP page.
//
// One run checks the page's three fields, makes the pack folder, writes the Windows XP theme file
// key by key (icons, pointers, pointer scheme, wallpaper, visual style, screensaver, the master
// theme selector and the event sounds), copies every chosen asset into the pack, copies the
// shell-style libraries of the visual style's own "Shell" folder, writes "empty.wav" and ends with
// one message box.
#pragma once

#include "model/ThemeProject.h"
#include "platform/Platform.h"
#include "wizard/Controls.h"

namespace quorvel {

void runXpThemeGenerator(Controls& controls, ThemeProject& project, Platform& platform);

} // namespace quorvel
