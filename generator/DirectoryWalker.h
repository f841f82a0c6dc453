// A depth-first walk over the directories below a folder.
//
// Every directory is reported to a callback with its full path before its own contents are
// walked; files are never reported. The entries of each level are taken in the order the
// platform lists them. The callback answers whether to go on: a stop answer ends the whole walk,
// at every level.
//
// Two rules keep the walk finite and inside the limits of the system:
// - Symbolic links, junctions and other reparse points are neither reported nor entered, so a
//   link that points back up the tree cannot make the walk run forever.
// - A path is used only when it fits the system's path limit (260 UTF-16 code units including the
//   terminating zero; the Win32 layer calls the wide functions). A directory whose own path or
//   whose listing pattern (path + "\*") would not fit is not walked into and is handed to the
//   problem handler instead, as is a directory that cannot be listed.
#pragma once

#include "platform/Platform.h"

#include "platform/Utf8.h"
#include <cstddef>

#include <functional>
#include <string>
#include <string_view>

namespace quorvel {

// The system's path limit in UTF-16 code units, the terminating zero included.
inline constexpr std::size_t kPathLimit = 260;

// The number of UTF-16 code units the UTF-8 text becomes at the Win32 boundary.
using utf8::utf16Length;

// True when the path and its terminating zero fit into kPathLimit code units.
bool fitsPathLimit(std::string_view path);

enum class WalkProblem {
    PathTooLong, // the directory's path or listing pattern does not fit the path limit
    CannotList,  // the directory exists but its entries could not be read
};

class DirectoryWalker {
public:
    // Gets the full path of one directory; answers true to go on, false to stop the walk.
    using Callback = std::function<bool(const std::string& directory)>;
    // Told about each directory that was not walked into, with the reason.
    using ProblemHandler = std::function<void(const std::string& directory, WalkProblem problem)>;

    explicit DirectoryWalker(Platform& platform, ProblemHandler onProblem = {});

    // Walks the directories below folder; with recurse false only its direct sub-directories.
    // An empty folder text or a folder that does not exist reports nothing. Returns false when
    // the callback stopped the walk.
    bool walk(std::string_view folder, bool recurse, const Callback& callback);

private:
    void walkLevel(const std::string& folder, bool recurse, const Callback& callback);
    void problem(const std::string& directory, WalkProblem what);

    Platform& platform_;
    ProblemHandler onProblem_;
    bool stopped_ = false;
};

} // namespace quorvel
