// The Windows 7 theme generator: the operation behind the generate button of the last Windows 7
// page. It reads the Windows 7 pages' fields by name and the slots of the theme project, writes
// the theme file key by key, fills the pack folder with the chosen files and the support files,
// and tells the user how it went.
#pragma once

#include "model/ThemeProject.h"
#include "platform/Platform.h"
#include "wizard/Controls.h"

namespace quorvel {

void runWin7ThemeGenerator(Controls& controls, ThemeProject& project, Platform& platform);

} // namespace quorvel
