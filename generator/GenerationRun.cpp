#include "generator/GenerationRun.h"

#include "generator/DirectoryWalker.h"
#include "generator/ThemePaths.h"
#include "model/AsciiCase.h"
#include "model/NameChecks.h"
#include "model/ProjectFile.h"
#include "platform/Utf8.h"

#include <exception>

namespace quorvel {

namespace {

constexpr std::size_t kListedFailures = 12;
constexpr int kHeaderPauseMs = 500;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The upper case of a letter as the file system compares names: ASCII, Latin-1, Latin
// Extended-A and Additional, Greek, Cyrillic, Armenian, Roman numerals, circled and full-width
// letters. Anything else stands as it is.
char32_t upperOf(char32_t c) {
    const auto pairs = [c](char32_t first, char32_t last, bool upperEven) {
        return c >= first && c <= last && ((c % 2 == 0) != upperEven);
    };
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F) ||
        (c >= 0xFF41 && c <= 0xFF5A)) {
        return c - 0x20;
    }
    if (pairs(0x100, 0x137, true) || pairs(0x139, 0x148, false) || pairs(0x14A, 0x177, true) ||
        pairs(0x179, 0x17E, false) || pairs(0x460, 0x481, true) || pairs(0x48A, 0x4BF, true) ||
        pairs(0x4D0, 0x4FF, true) || pairs(0x1E00, 0x1EFF, true)) {
        return c - 1;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    if (c >= 0x561 && c <= 0x586) {
        return c - 0x30;
    }
    if (c >= 0x2170 && c <= 0x217F) {
        return c - 0x10;
    }
    if (c >= 0x24D0 && c <= 0x24E9) {
        return c - 0x1A;
    }
    switch (c) {
    case 0xFF:
        return 0x178;
    case 0x3C2:
        return 0x3A3;
    case 0x3AC:
        return 0x386;
    case 0x3AD:
    case 0x3AE:
    case 0x3AF:
        return c - 0x25;
    case 0x3CC:
        return 0x38C;
    case 0x3CD:
    case 0x3CE:
        return c - 0x3F;
    default:
        return c;
    }
}

// A path as the file system tells paths apart: letter case folded, and the dots and blanks at
// the end of its last part dropped (the system drops them when it makes the file).
std::u32string pathKey(std::string_view path) {
    while (!path.empty() && (path.back() == '.' || path.back() == ' ')) {
        path.remove_suffix(1);
    }
    std::u32string key;
    utf8::decode(path, [&key](char32_t c) { key.push_back(upperOf(c)); });
    return key;
}

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

} // namespace

std::string_view themeFileHeader() {
    // Plain ASCII, so that it reads the same in every ANSI code page.
    return ";Copyright (C) 2026 The Quorvel Project. All rights reserved.\r\n"
           ";Url:https://www.example.com/quorvel/";
}

std::string copyFailure(const std::string& source, const std::string& target) {
    return std::string(text::kCopyFailed) + source + std::string(text::kCopyArrow) + target;
}

std::string numberedName(std::string_view name, int n) {
    const std::size_t dot = name.rfind('.');
    const std::size_t split = dot == std::string_view::npos || dot == 0 ? name.size() : dot;
    return std::string(name.substr(0, split)) + " (" + std::to_string(n) + ")" +
           std::string(name.substr(split));
}

GenerationRun::GenerationRun(const ThemeRequest& request, Platform& platform)
    : GenerationRun(request, platform, folderTarget(request.project)) {}

GenerationRun::GenerationRun(const ThemeRequest& request, Platform& platform, PackTarget target)
    : request_(request), platform_(platform), target_(std::move(target)) {}

std::optional<GenerationReport> refusalOf(const ThemeRequest& request, Platform& platform) {
    const ThemeProject& project = request.project;
    if (auto problem = folderNameProblem(
            {project.themeName, project.displayName, project.saveLocation}, platform)) {
        return refusedReport(*problem);
    }
    return std::nullopt;
}

bool GenerationRun::begin(const Steps& steps) {
    const ThemeProject& project = request_.project;
    if (auto refused = refusalOf(request_, platform_)) {
        report_ = std::move(*refused);
        return false;
    }
    if (!plan(steps)) {
        return false;
    }
    const std::string pack = packFolder();
    const std::string& themeFile = target_.themeFile;
    // The folder the pack goes into: the save location as the user gave it for a folder theme.
    const std::string parent =
        pack == quorvel::packFolder(project) ? project.saveLocation : folderOf(pack);
    const auto packFailed = [this](std::string_view reason, const std::string& path) {
        report_ = refusedReport(text::kPackFolderFailed);
        report_.reason = std::string(reason) + path;
        return false;
    };
    // The pack folder and the theme file are the user's when they are there already.
    if (!platform_.isDirectory(parent)) {
        return packFailed(text::kReasonNoSaveFolder, parent);
    }
    if (platform_.isDirectory(pack) || platform_.fileExists(pack)) {
        return packFailed(text::kReasonPackExists, pack);
    }
    if (platform_.isDirectory(themeFile) || platform_.fileExists(themeFile)) {
        return packFailed(text::kReasonThemeFileExists, themeFile);
    }
    if (!platform_.makeDirectory(pack)) {
        return packFailed(text::kReasonPackNotMade, pack);
    }
    if (!platform_.writeFile(themeFile, bytesOf(themeFileHeader()))) {
        fail(std::string(text::kThemeHeaderFailed) + themeFile);
    }
    writer_.emplace(platform_, themeFile);
    platform_.delay(kHeaderPauseMs);
    writeKey("Theme", "DisplayName", project.displayName);
    return true;
}

bool GenerationRun::plan(const Steps& steps) {
    if (steps) {
        planning_ = true;
        try {
            steps(*this);
        } catch (const std::exception&) {
            // The writing pass meets the same failure and reports it; the copies the plan did
            // not reach are named as they come.
            copies_.clear();
        }
        planning_ = false;
    }
    // The run's own folders and files keep their names; the copies are settled around them,
    // in the order the steps make them.
    claimed_[pathKey(packFolder())] = "";
    for (const std::string& folder : ownFolders_) {
        claimed_[pathKey(withoutTrailingSeparator(folder))] = "";
    }
    for (const std::string& file : ownFiles_) {
        claimed_[pathKey(file)] = "";
    }
    for (PlannedCopy& copy : copies_) {
        if (isPlainFileName(copy.name)) {
            copy.name = claim(copy.subfolder, copy.name, copy.source);
        }
    }
    if (auto problem = planProblem()) {
        report_ = std::move(*problem);
        return false;
    }
    return true;
}

std::optional<GenerationReport> GenerationRun::planProblem() const {
    for (const PlannedCopy& copy : copies_) {
        if (!isPlainFileName(copy.name)) {
            return refusedReport(std::string(text::kBadCopyName) + copy.name + " (" + copy.source +
                                 ")");
        }
    }
    const auto tooLong = [](const std::string& path) {
        return refusedReport(std::string(text::kPathTooLongRefused) + path);
    };
    const std::string& themeFile = target_.themeFile;
    if (!fitsPathLimit(themeFile)) {
        return tooLong(themeFile);
    }
    std::vector<std::string> folders = {packFolder()};
    for (const std::string& folder : ownFolders_) {
        folders.push_back(withoutTrailingSeparator(folder));
    }
    for (const std::string& folder : folders) {
        if (utf8::utf16Length(folder) >= kFolderPathLimit) {
            return tooLong(folder);
        }
    }
    std::vector<std::string> files = ownFiles_;
    for (const PlannedCopy& copy : copies_) {
        files.push_back(packFolder() + copy.subfolder + copy.name);
    }
    for (const std::string& file : files) {
        if (!fitsPathLimit(file)) {
            return tooLong(file);
        }
    }
    return std::nullopt;
}

std::string GenerationRun::claim(std::string_view subfolder, const std::string& name,
                                 const std::string& source) {
    const std::string folder = packFolder() + std::string(subfolder);
    const std::u32string sourceKey = pathKey(source);
    for (int n = 1;; ++n) {
        std::string candidate = n == 1 ? name : numberedName(name, n);
        const auto [at, inserted] = claimed_.try_emplace(pathKey(folder + candidate), source);
        if (inserted || (!at->second.empty() && pathKey(at->second) == sourceKey)) {
            return candidate;
        }
    }
}

std::string GenerationRun::sourceOf(const AssetRef& asset) {
    // The fixed system paths of list entries start with a reference such as %SystemRoot%.
    // Paths from the file dialogs are absolute and stand as they are: a folder may well be
    // named "%TEMP%", and expanding it would copy some other file.
    const bool systemPath = asset.sourcePath.front() == '%';
    return systemPath ? platform_.expandEnvironment(asset.sourcePath) : asset.sourcePath;
}

void GenerationRun::end() {
    std::vector<std::string>& failures = report_.failures;
    if (writer_ && !writer_->flush()) {
        // The theme file is what the run is for: name it first, so that a long list of other
        // failures (a full disk fails everything) cannot push it out of the message.
        failures.insert(failures.begin(),
                        std::string(text::kThemeFileFailed) + writer_->filePath());
    }
    report_.outcome =
        failures.empty() ? GenerationOutcome::Complete : GenerationOutcome::Incomplete;
    report_.message = closingMessage(failures);
    report_.title = std::string(text::kInfoTitle);
    report_.icon = failures.empty() ? MessageIcon::Information : MessageIcon::Warning;
}

GenerationReport runGeneration(const ThemeRequest& request, Platform& platform,
                               const std::function<void(GenerationRun&)>& steps) {
    return runGeneration(request, platform, folderTarget(request.project), steps);
}

GenerationReport runGeneration(const ThemeRequest& request, Platform& platform,
                               const PackTarget& target,
                               const std::function<void(GenerationRun&)>& steps) {
    GenerationRun run(request, platform, target);
    if (!run.begin(steps)) {
        return run.report();
    }
    try {
        steps(run);
    } catch (const std::exception&) {
        run.fail(std::string(text::kRunInterrupted));
    }
    run.end();
    return run.report();
}

std::string GenerationRun::closingMessage(const std::vector<std::string>& failures) {
    std::string message(text::kDone);
    if (failures.empty()) {
        return message;
    }
    message += std::string(text::kFailuresBefore) + std::to_string(failures.size()) +
               std::string(text::kFailuresAfter);
    const std::size_t listed = std::min(failures.size(), kListedFailures);
    for (std::size_t i = 0; i < listed; ++i) {
        message += "\n" + failures[i];
    }
    if (failures.size() > listed) {
        message += "\n" + std::string(text::kMoreBefore) +
                   std::to_string(failures.size() - listed) + std::string(text::kMoreAfter);
    }
    return message;
}

void GenerationRun::fail(std::string item) {
    if (!planning_) {
        report_.failures.push_back(std::move(item));
    }
}

std::string GenerationRun::packFolder() const {
    return target_.packFolder;
}

std::string GenerationRun::installedPath(std::string_view subfolder,
                                         std::string_view fileName) const {
    std::string path = target_.pathBase;
    path += subfolder;
    path += fileName;
    return path;
}

void GenerationRun::writeKey(std::string_view section, std::string_view key,
                             std::string_view value) {
    if (planning_) {
        return;
    }
    if (!writer_ || !writer_->write(section, key, value)) {
        fail(std::string(text::kThemeKeyFailed) + "[" + std::string(section) + "] " +
             std::string(key));
    }
}

std::string GenerationRun::writeAssetEntry(bool chosen, std::string_view section,
                                           std::string_view key, std::string_view defaultValue,
                                           std::string_view subfolder, const AssetRef& asset,
                                           std::string_view suffix) {
    if (!chosen) {
        writeKey(section, key, defaultValue);
        return {};
    }
    ensureSubfolder(subfolder);
    std::string name = copyAsset(asset, subfolder);
    writeKey(section, key, installedPath(subfolder, name) + std::string(suffix));
    return name;
}

void GenerationRun::ensureSubfolder(std::string_view subfolder) {
    const std::string path = packFolder() + std::string(subfolder);
    if (planning_) {
        ownFolders_.push_back(path);
        return;
    }
    if (!platform_.isDirectory(path) && !platform_.makeDirectory(path)) {
        fail(std::string(text::kFolderFailed) + path);
    }
}

void GenerationRun::makeDirectory(const std::string& path) {
    if (planning_) {
        ownFolders_.push_back(path);
        return;
    }
    if (!platform_.makeDirectory(path) && !platform_.isDirectory(path)) {
        fail(std::string(text::kFolderFailed) + path);
    }
}

std::string GenerationRun::copyAsset(const AssetRef& asset, std::string_view subfolder) {
    if (asset.sourcePath.empty() || asset.fileName.empty()) {
        fail(std::string(text::kCopyNothingChosen) + packFolder() + std::string(subfolder) +
             asset.fileName);
        return asset.fileName;
    }
    const std::string source = sourceOf(asset);
    if (planning_) {
        copies_.push_back({std::string(subfolder), asset.fileName, source});
        return asset.fileName;
    }
    std::string name;
    if (nextCopy_ < copies_.size()) {
        name = copies_[nextCopy_++].name;
    } else if (isPlainFileName(asset.fileName)) {
        // A run without a plan (or past a plan cut short) settles each name as it comes.
        name = claim(subfolder, asset.fileName, source);
    } else {
        fail(std::string(text::kCopyBadFileName) + asset.fileName + " (" + asset.sourcePath + ")");
        return asset.fileName;
    }
    const std::string target = packFolder() + std::string(subfolder) + name;
    // The same file bound for the same path twice is copied once.
    if (copied_.insert(pathKey(target)).second) {
        copyFile(source, target);
    }
    return name;
}

void GenerationRun::copyFile(const std::string& source, const std::string& target) {
    if (planning_) {
        ownFiles_.push_back(target);
        return;
    }
    if (!platform_.copyFile(source, target)) {
        fail(copyFailure(source, target));
    }
}

bool GenerationRun::copyQuietly(const std::string& source, const std::string& target) {
    if (planning_) {
        ownFiles_.push_back(target);
        return true;
    }
    return platform_.copyFile(source, target);
}

void GenerationRun::writePayload(std::string_view relativePath,
                                 std::span<const std::uint8_t> bytes) {
    const std::string path = packFolder() + std::string(relativePath);
    if (planning_) {
        ownFiles_.push_back(path);
        return;
    }
    if (!platform_.writeFile(path, bytes)) {
        fail(std::string(text::kFileFailed) + path);
    }
}

} // namespace quorvel
