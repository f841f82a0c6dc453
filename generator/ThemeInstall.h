// Installing a theme for the current user and handing it to the system to apply.
//
// Windows 7 pages: the pack goes to %LOCALAPPDATA%\Microsoft\Windows\Themes\<name>\ with
// <name>.theme inside it, every path of the theme naming an installed file in full. Windows XP
// pages: the same layout below %APPDATA%\Quorvel\Themes\. A visual style (with its language and
// shell-style files) and a screensaver of the user's own are loaded by the system only from
// <Windows>\Resources\Themes\<name>\: they are copied there from the installed pack, directly when
// the program may write there, else (Windows 7 pages) by this program started once more with
// administrator rights and the narrow command of runSystemFilesCommand. When that fails or is
// declined the theme names the system's own style and no screensaver, and the report says so.
//
// The pack is built in <name>.new~ beside the installed folder and renamed into place at the end,
// so that a failed run leaves an earlier installation of the same name as it was.
#pragma once

#include "generator/GenerationReport.h"
#include "model/PageSet.h"
#include "model/ThemeRequest.h"
#include "platform/Platform.h"
#include "platform/SystemShell.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvel {

struct InstallLocations {
    std::string themesRoot;   // the folder the user's installed themes live in
    std::string packFolder;   // themesRoot\<name>
    std::string themeFile;    // packFolder\<name>.theme
    std::string systemFolder; // <Windows>\Resources\Themes\<name>
};

// The folders of an installation of a theme of that name for the page set; nothing when the
// environment names no folder of the user's (the message then says which variable is missing).
std::optional<InstallLocations> installLocations(PageSet set, const std::string& name,
                                                 Platform& platform, SystemShell& shell,
                                                 std::string* problem = nullptr);

struct InstallReport {
    GenerationReport report; // outcome, failed items, message box
    bool opened = false;     // the system took the theme file to apply it
};

// Why a request cannot be installed (no user folder, the name checks of a generation), or
// nothing when it can.
std::optional<GenerationReport> installRefusal(const ThemeRequest& request, Platform& platform,
                                               SystemShell& shell);

// Installs the theme of the request; `replace` allows replacing an installed theme of the same
// name (else it is refused), `apply` opens the installed theme file with the system.
InstallReport installTheme(const ThemeRequest& request, Platform& platform, SystemShell& shell,
                           bool replace, bool apply);

// The copy into the system's theme folder: the style file, its "zh-CN" and "Shell" folders
// (language resources and shell-style libraries only) and SCR\<screensaver> from the installed
// pack folder into targetFolder. Empty names are skipped. Returns the items that failed.
std::vector<std::string> copySystemFiles(Platform& platform, const std::string& packFolder,
                                         const std::string& targetFolder, const std::string& style,
                                         const std::string& screensaver);

// The arguments of the internal command that a run with administrator rights gets:
// PACKFOLDER NAME STYLE SCREENSAVER (the last two may be empty, not both).
std::vector<std::string> systemFilesArguments(const std::string& packFolder,
                                              const std::string& name, const std::string& style,
                                              const std::string& screensaver);
// Runs that command: every argument is checked strictly (an absolute path of plain folder names
// ending in the theme's name, a valid theme name, a plain .msstyles / .scr file name that exists
// in the pack), and only those files go into <Windows>\Resources\Themes\<name>\. 0 when all were
// copied, 1 when a copy failed, 64 when the arguments are refused (nothing is written).
int runSystemFilesCommand(std::span<const std::string> arguments, Platform& platform,
                          SystemShell& shell);

} // namespace quorvel
