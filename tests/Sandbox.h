// A scratch folder for tests, reached through the platform layer of the build: natively the host
// layer over a temporary folder, in the Windows build the Win32 layer over a folder in %TEMP%.
#pragma once

#include "platform/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvel::test {

class Sandbox {
public:
    virtual ~Sandbox() = default;
    // The real platform layer of this build.
    virtual Platform& platform() = 0;
    // The Windows-style path of an empty folder that is removed with the sandbox. It holds no
    // trailing "\".
    virtual const std::string& root() const = 0;
    // Makes a symbolic link (or junction) at linkPath pointing to the directory target.
    // False when the platform cannot make one.
    virtual bool makeDirectoryLink(const std::string& linkPath, const std::string& target) = 0;
    // Makes an existing file unreadable for as long as the returned token lives: natively by
    // taking away its permissions, on Windows by holding it open without sharing. Empty when
    // the system cannot (the superuser, for one, reads every file whatever its permissions).
    virtual std::shared_ptr<void> makeUnreadable(const std::string& path) = 0;
    // Paths in the sandbox (or of the system) that open something other than a file on a disk:
    // natively a link to /dev/zero and a pipe without a writer, on Windows device names.
    virtual std::vector<std::string> devicePaths() = 0;
};

// Implemented once per build (tests/native, tests/win32).
std::unique_ptr<Sandbox> makeSandbox();

} // namespace quorvel::test
