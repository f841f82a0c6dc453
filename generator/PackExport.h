// Exporting a Windows 7 theme as a theme pack: one cabinet holding the theme file (UTF-16 LE with
// a byte order mark) and the chosen files, which the system installs for the current user when
// the pack is opened. The theme's keys are the folder theme's (Win7ThemeKeys); only the places of
// the files and the names the theme gives them differ:
//
//   <name>.theme                the theme; paths in it are relative to the pack
//   DesktopBackground\<image>   the wallpaper and the slideshow images
//   <file>                      icons, pointers and sounds, at the root
//
// Names inside the cabinet are ASCII and unique (letter case aside). A visual style and a
// screensaver file cannot travel in a pack: the theme names the system's own style, a system
// screensaver only when one was chosen from the list, and the report names what was left out.
#pragma once

#include "generator/GenerationReport.h"
#include "model/ThemeRequest.h"
#include "platform/Platform.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

enum class PackKind {
    ThemePack,     // .themepack, Windows 7 and later
    DeskThemePack, // .deskthemepack, Windows 8 and later
};

// .deskthemepack (letter case aside) or else .themepack.
PackKind packKindOf(std::string_view path);

// What goes into the pack, before anything is written.
struct ExportPlan {
    std::string themeText;             // UTF-8, CR LF; the member holds it as UTF-16 LE
    std::vector<CabinetEntry> members; // the theme first
    std::vector<std::string> leftOut;  // what a pack cannot hold, one line each
    std::vector<std::string> failures; // chosen files that cannot be read
};

// The members and theme of a pack. Sources are checked for existence; none is read.
ExportPlan planExport(const ThemeRequest& request, PackKind kind, Platform& platform);

// The name checks of the generate button that apply to a pack (a pack needs no save location,
// and its theme is UTF-16, so any name fits), and the page set: Windows XP has no theme packs.
std::optional<GenerationReport> packRefusalOf(const ThemeRequest& request);

// The whole export: the checks, the plan, the cabinet written beside the target and moved over
// it. A refused or failed export leaves the target as it was.
GenerationReport exportPack(const ThemeRequest& request, const std::string& packPath,
                            Platform& platform);

} // namespace quorvel
