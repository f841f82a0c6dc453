// What installing a theme asks of the system beyond the file calls of Platform: removing and
// renaming whole folders, handing a file to the program the system opens it with, starting a
// program, and starting this program once more with administrator rights. Every text is UTF-8,
// paths use "\" as separator. The Win32 implementation lives in platform/win32, a host one for
// tests in platform/host.
#pragma once

#include <string>

namespace quorvel {

// How a run of this program with administrator rights went.
enum class Elevation {
    Succeeded, // it ran and ended with exit code 0
    Failed,    // it could not be started, or ended with another code
    Declined,  // the user said no to the system's question
};

class SystemShell {
public:
    virtual ~SystemShell() = default;

    // Removes a folder with everything in it; a link or junction inside is removed, never
    // followed. True when the path no longer exists afterwards.
    virtual bool removeTree(const std::string& path) = 0;
    // Gives a folder a new path on the same volume; fails when the new path exists.
    virtual bool renameFolder(const std::string& from, const std::string& to) = 0;
    // The system's "open" action on a file: the program registered for its type opens it. False
    // when no program took it.
    virtual bool openFile(const std::string& path) = 0;
    // Starts a program of the system folder with a parameter text and does not wait for it.
    // False when it could not be started.
    virtual bool startSystemProgram(const std::string& program, const std::string& parameters) = 0;
    // Runs this program once more with administrator rights and the parameter text (the system
    // asks the user first) and waits until it ends.
    virtual Elevation runElevated(const std::string& parameters) = 0;
    // The system's Windows folder, as the system itself names it (not from the environment).
    virtual std::string windowsFolder() = 0;
};

} // namespace quorvel
