// Opening a theme pack as a document: the pack is extracted into the current user's folder of
// packs (model/ThemePack.h), so that the picks stay valid after the program ends, and its .theme
// file is read from there as a .theme file is, with the paths it names found in the pack.
#pragma once

#include "pages/ProjectSession.h"

namespace quorvel {

OpenedDocument readThemePack(const std::string& path, Platform& platform, PageSet themeSet);

} // namespace quorvel
