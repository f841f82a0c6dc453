// The program's arguments as the system passes them: splitting a command line and quoting an
// argument for one, the exit codes of a run without a window, and the internal command that the
// install starts with administrator rights.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The exit codes of a generation from the command line.
inline constexpr int kExitWritten = 0;    // the theme and its pack were written with every item
inline constexpr int kExitIncomplete = 1; // written, but some items failed
inline constexpr int kExitRefused = 2;    // refused before anything was written
inline constexpr int kExitUsage = 64;     // the command line is wrong

// The arguments after the program's name, as the system splits a command line: blanks separate
// them, double quotes group, 2n backslashes before a quote give n and let the quote act, 2n + 1
// give n and a literal quote. The program's name itself (up to the first blank, or quoted) is
// skipped.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The argument as splitCommandLine gives it back: quoted when it is empty or holds a blank or a
// quote, backslashes doubled where they come before a quote.
std::string quoteArgument(std::string_view argument);

// The first argument of the internal command that copies an installed theme's style and
// screensaver into the system's theme folder.
inline constexpr std::string_view kSystemFilesOption = "--install-system-files";

} // namespace quorvel
