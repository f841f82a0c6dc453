// The Windows XP theme generator: the click of the generate button on the last Windows XP page.
//
// From a request captured from the Windows XP pages, one run checks the name, display name and
// save location, makes the pack folder, writes the Windows XP theme file key by key (icons,
// pointers, pointer scheme, wallpaper, visual style, screensaver, the master theme selector and
// the event sounds), copies every chosen asset into the pack, copies the
// shell-style libraries of the visual style's own "Shell" folder, writes "empty.wav" and ends with
// a report for one message box.
#pragma once

#include "generator/GenerationReport.h"
#include "generator/ThemePaths.h"
#include "model/ThemeRequest.h"
#include "platform/Platform.h"

namespace quorvel {

GenerationReport generateXpTheme(const ThemeRequest& request, Platform& platform);
// The same theme written where the target says, its paths naming the target's base.
GenerationReport generateXpTheme(const ThemeRequest& request, Platform& platform,
                                 const PackTarget& target);

} // namespace quorvel
