#include "generator/DirectoryWalker.h"

namespace quorvel {

bool fitsPathLimit(std::string_view path) {
    return utf8::utf16Length(path) < kPathLimit;
}

DirectoryWalker::DirectoryWalker(Platform& platform, ProblemHandler onProblem)
    : platform_(platform), onProblem_(std::move(onProblem)) {}

bool DirectoryWalker::walk(std::string_view folder, bool recurse, const Callback& callback) {
    stopped_ = false;
    walkLevel(std::string(folder), recurse, callback);
    return !stopped_;
}

void DirectoryWalker::problem(const std::string& directory, WalkProblem what) {
    if (onProblem_) {
        onProblem_(directory, what);
    }
}

void DirectoryWalker::walkLevel(const std::string& folder, bool recurse, const Callback& callback) {
    if (stopped_ || folder.empty()) {
        return;
    }
    const std::string_view separator = folder.back() == '\\' ? "" : "\\";
    const std::string prefix = folder + std::string(separator);

    // The system lists a folder through the pattern folder + "\*", which must fit as well.
    if (!fitsPathLimit(prefix + "*")) {
        // A folder that fits can be asked about; one that does not is reported as it stands,
        // since it cannot be looked at within the limit.
        if (!fitsPathLimit(folder) || platform_.isDirectory(folder)) {
            problem(folder, WalkProblem::PathTooLong);
        }
        return;
    }

    const auto entries = platform_.listDirectory(folder);
    if (!entries) {
        // A folder that is not there has nothing to walk; one that is there but cannot be read
        // hides what it holds.
        if (platform_.isDirectory(folder)) {
            problem(folder, WalkProblem::CannotList);
        }
        return;
    }

    for (const DirectoryEntry& entry : *entries) {
        if (!entry.isDirectory || entry.isReparsePoint || entry.name.empty() || entry.name == "." ||
            entry.name == "..") {
            continue;
        }
        const std::string path = prefix + entry.name;
        if (!fitsPathLimit(path)) {
            problem(path, WalkProblem::PathTooLong);
            continue;
        }
        if (!callback(path)) {
            stopped_ = true;
            return;
        }
        if (recurse) {
            walkLevel(path, recurse, callback);
            if (stopped_) {
                return;
            }
        }
    }
}

} // namespace quorvel
