// The Windows 7 theme generator: the operation behind the generate button of the last Windows 7
// page. From a request captured from the Windows 7 pages it writes the theme file key by key,
// fills the pack folder with the chosen files and the support files, and reports how it went.
#pragma once

#include "generator/GenerationReport.h"
#include "generator/ThemePaths.h"
#include "model/ThemeRequest.h"
#include "platform/Platform.h"

namespace quorvel {

GenerationReport generateWin7Theme(const ThemeRequest& request, Platform& platform);
// The same theme written where the target says, its paths naming the target's base.
GenerationReport generateWin7Theme(const ThemeRequest& request, Platform& platform,
                                   const PackTarget& target);

} // namespace quorvel
