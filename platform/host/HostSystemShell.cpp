#include "platform/host/HostSystemShell.h"

#include <filesystem>
#include <system_error>

namespace quorvel {

bool HostSystemShell::removeTree(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    // remove_all removes symbolic links themselves and does not follow them.
    std::filesystem::remove_all(platform_.hostPath(path), error);
    return !error && !std::filesystem::exists(
                         std::filesystem::symlink_status(platform_.hostPath(path), error));
}

bool HostSystemShell::renameFolder(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) {
        return false;
    }
    std::error_code error;
    const auto target = platform_.hostPath(to);
    if (std::filesystem::exists(std::filesystem::symlink_status(target, error)) ||
        !std::filesystem::is_directory(platform_.hostPath(from), error)) {
        return false;
    }
    std::filesystem::rename(platform_.hostPath(from), target, error);
    return !error;
}

bool HostSystemShell::openFile(const std::string& path) {
    openedFiles_.push_back(path);
    return opens;
}

bool HostSystemShell::startSystemProgram(const std::string& program,
                                         const std::string& parameters) {
    startedPrograms_.push_back(program + " " + parameters);
    return true;
}

Elevation HostSystemShell::runElevated(const std::string& parameters) {
    elevatedRuns_.push_back(parameters);
    return elevate ? elevate(parameters) : Elevation::Failed;
}

} // namespace quorvel
