// The program's command line: opening a file in the window, and generating a theme from a project
// or .theme file without a window.
//
//   quorvel.exe [FILE]
//   quorvel.exe --generate FILE [--for win7|xp] [--name NAME] [--display-name TEXT]
//                               [--save-to FOLDER | --pack OUT.themepack]
//   quorvel.exe --generate FILE --install [--no-apply] [--for ...] [--name ...]
//                               [--display-name ...]
//   quorvel.exe --help
#pragma once

#include "generator/Arguments.h"
#include "model/PageSet.h"
#include "platform/Platform.h"
#include "platform/SystemShell.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct CommandLine {
    enum class Action {
        Window,   // the wizard, with `file` opened when it is not empty
        Generate, // a theme from `file`, without a window
        Help,     // the usage
        Wrong,    // a command line that cannot be followed; `error` says why
        // The internal command of the install's run with administrator rights: `systemFiles`
        // holds its arguments (see runSystemFilesCommand).
        SystemFiles,
    };
    Action action = Action::Window;
    std::string file;
    std::optional<PageSet> pageSet; // --for
    std::optional<std::string> name;
    std::optional<std::string> displayName;
    std::optional<std::string> saveTo;
    bool install = false; // --install: into the user's themes, then opened
    bool apply = true;    // --no-apply clears it
    std::vector<std::string> systemFiles;
    std::optional<std::string> pack; // --pack: a theme pack instead of the theme and its folder
    std::string error;
};

CommandLine parseCommandLine(std::span<const std::string> arguments);

// The usage text, one line per line, "\n" between them.
std::string_view usageText();

struct CommandResult {
    int exitCode = kExitWritten;
    std::string output; // lines, each ended by "\n"
};

// What the command line does without a window: the usage, the reason it is wrong, or a whole
// generation. A generation reads the file into a theme document as opening it in the window
// does, puts --name, --display-name and --save-to into the last page's choices, runs the
// document's forward checks and makes the same request (requestOf), refusal check and generator
// as the generate button, and prints what its message box would say. No window and no control
// takes part.
// --install installs the theme for the current user instead (see generator/ThemeInstall.h): an
// installed theme of the same name is refused with kExitRefused; a theme the system could not
// open is one failed line and kExitIncomplete. Installing and the internal command need the
// shell.
CommandResult runCommandLine(const CommandLine& command, Platform& platform,
                             SystemShell* shell = nullptr);

} // namespace quorvel
