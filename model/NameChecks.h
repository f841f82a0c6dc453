// The checks of the three names a theme is written under (生成名称, 显示名称, 保存位置), run before
// anything is written: by the generate button and the command line on the page set's choices,
// and by the generators, the pack export and the install on their request.
#pragma once

#include "model/ThemeDocument.h"
#include "platform/Platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

struct ThemeNames {
    std::string_view themeName;
    std::string_view displayName;
    std::string_view saveLocation;
};

// Why a theme name cannot name the pack folder, or nothing when it can.
std::optional<std::string> themeNameProblem(std::string_view name);

// A theme written into a folder at the save location: the three names must be given, the theme
// name must name a folder and fit the ANSI code page (it is in every installed path of the theme
// file), the display name must hold no control character and fit the code page (a value of the
// theme file). The message for the user, or nothing when all is well.
std::optional<std::string> folderNameProblem(const ThemeNames& names, Platform& platform);
// A theme pack: its theme file is UTF-16 and it has no save location, so only the theme name
// and the display name must be given and the theme name must name a folder.
std::optional<std::string> packNameProblem(const ThemeNames& names);

// The names of a page set's choices.
ThemeNames namesOf(const PageChoices& choices);

} // namespace quorvel
