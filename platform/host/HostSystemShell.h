// The system shell on Linux, for tests: folders are removed and renamed below the host
// platform's root, opened files and started programs are recorded, and a run with administrator
// rights is whatever the test hands in.
#pragma once

#include "platform/SystemShell.h"
#include "platform/host/HostPlatform.h"

#include <functional>
#include <string>
#include <vector>

namespace quorvel {

class HostSystemShell : public SystemShell {
public:
    explicit HostSystemShell(HostPlatform& platform) : platform_(platform) {}

    bool removeTree(const std::string& path) override;
    bool renameFolder(const std::string& from, const std::string& to) override;
    bool openFile(const std::string& path) override;
    bool startSystemProgram(const std::string& program, const std::string& parameters) override;
    Elevation runElevated(const std::string& parameters) override;
    std::string windowsFolder() override { return "C:\\Windows"; }

    // Whether openFile finds a program; true unless set.
    bool opens = true;
    // What runElevated does with its parameters; without one it fails.
    std::function<Elevation(const std::string&)> elevate;

    const std::vector<std::string>& openedFiles() const { return openedFiles_; }
    // "program parameters" per start.
    const std::vector<std::string>& startedPrograms() const { return startedPrograms_; }
    const std::vector<std::string>& elevatedRuns() const { return elevatedRuns_; }

private:
    HostPlatform& platform_;
    std::vector<std::string> openedFiles_;
    std::vector<std::string> startedPrograms_;
    std::vector<std::string> elevatedRuns_;
};

} // namespace quorvel
