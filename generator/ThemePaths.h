// How the paths of a theme pack are composed: plain concatenation, nothing trimmed, normalised,
// quoted or expanded.
#pragma once

#include "model/ThemeProject.h"

#include <string>
#include <string_view>

namespace quorvel {

// Every subfolder literal starts and ends with "\".
namespace subfolder {
inline constexpr std::string_view kIcon = "\\ICON\\";
inline constexpr std::string_view kCursors = "\\Cursors\\";
inline constexpr std::string_view kSound = "\\Sound\\";
inline constexpr std::string_view kWallpaper = "\\Wallpaper\\";
inline constexpr std::string_view kScreensaver = "\\SCR\\";
} // namespace subfolder

// The folder where a pack lives once installed; "%SystemRoot%" stays for Windows to expand.
inline constexpr std::string_view kInstalledThemesRoot = "%SystemRoot%\\resources\\Themes\\";

// saveLocation + "\" + themeName + ".theme"
std::string themeFilePath(const ThemeProject& project);
// saveLocation + "\" + themeName
std::string packFolder(const ThemeProject& project);
// "%SystemRoot%\resources\Themes\" + themeName + subfolder + fileName
std::string installedPath(const ThemeProject& project, std::string_view subfolder,
                          std::string_view fileName);
// The part of a path after its last "\" (the whole text when it holds none). UTF-8 never uses
// the byte of "\" inside a multi-byte character, so the split cannot cut a character in two.
std::string fileNameOf(std::string_view path);
// The part of a path before its last "\" (empty when it holds none).
std::string folderOf(std::string_view path);

} // namespace quorvel
