// The system shell on Windows: folders removed with their content and renamed, files handed to
// the shell's "open" action, programs of the system folder started, and this program run once
// more through the shell's "runas" action.
#pragma once

#include "platform/SystemShell.h"

namespace quorvel {

class Win32SystemShell : public SystemShell {
public:
    bool removeTree(const std::string& path) override;
    bool renameFolder(const std::string& from, const std::string& to) override;
    bool openFile(const std::string& path) override;
    bool startSystemProgram(const std::string& program, const std::string& parameters) override;
    Elevation runElevated(const std::string& parameters) override;
    std::string windowsFolder() override;
};

} // namespace quorvel
