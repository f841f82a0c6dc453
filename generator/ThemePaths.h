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

// Where a run writes a theme and what the theme's paths name. A generation for a folder writes
// the pack folder and the theme file beside it into the save location, and names the folder the
// pack lives in once installed; an installation writes both into the installed folder (or a
// folder beside it that takes its place at the end) and names the installed files' full paths.
struct PackTarget {
    std::string packFolder; // where the pack's files are written
    std::string themeFile;  // the theme file written
    std::string pathBase;   // what every path in the theme file starts with
};

// The target of a generation for a folder: packFolder, themeFilePath and
// "%SystemRoot%\resources\Themes\" + themeName.
PackTarget folderTarget(const ThemeProject& project);

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
