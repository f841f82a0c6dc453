#include "generator/GenerationRun.h"

#include "generator/ThemePaths.h"
#include "model/AsciiCase.h"

#include <array>
#include <exception>

namespace quorvel {

namespace {

constexpr std::size_t kListedFailures = 12;
constexpr int kHeaderPauseMs = 500;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool isReservedDeviceName(std::string_view name) {
    // Windows maps these names to devices in every folder, with or without an extension.
    const std::string base = upperAscii(name.substr(0, name.find('.')));
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view reserved : plain) {
        if (base == reserved) {
            return true;
        }
    }
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

// True when a file name names one entry of its folder: not empty, not "." or "..", and without
// separators, colons (drives, streams) or control characters. Names that come from the file
// dialogs always are; anything else could put a copy outside the pack folder.
bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == '\\' || c == '/' || c == ':') {
            return false;
        }
    }
    return true;
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

std::optional<std::string> themeNameProblem(std::string_view name) {
    const std::string message(text::kBadThemeName);
    if (name == "." || name == ".." || name.empty()) {
        return message;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            return message;
        }
    }
    if (name.back() == ' ' || name.back() == '.' || isReservedDeviceName(name)) {
        return message;
    }
    return std::nullopt;
}

GenerationRun::GenerationRun(const ThemeRequest& request, Platform& platform)
    : request_(request), platform_(platform) {}

namespace {

GenerationReport refusal(std::string_view message) {
    GenerationReport report;
    report.outcome = GenerationOutcome::Refused;
    report.message = std::string(message);
    report.title = std::string(text::kErrorTitle);
    report.icon = MessageIcon::Error;
    return report;
}

} // namespace

std::optional<GenerationReport> refusalOf(const ThemeRequest& request, Platform& platform) {
    const ThemeProject& project = request.project;
    if (project.themeName.empty()) {
        return refusal(text::kEmptyThemeName);
    }
    if (project.displayName.empty()) {
        return refusal(text::kEmptyDisplayName);
    }
    if (project.saveLocation.empty()) {
        return refusal(text::kEmptySaveLocation);
    }
    if (const auto problem = themeNameProblem(project.themeName)) {
        return refusal(*problem);
    }
    // The name ends up in every installed path of the theme file.
    if (!platform.toAnsi(project.themeName)) {
        return refusal(text::kThemeNameOutsideCodePage);
    }
    return std::nullopt;
}

bool GenerationRun::begin() {
    const ThemeProject& project = request_.project;
    if (auto refused = refusalOf(request_, platform_)) {
        report_ = std::move(*refused);
        return false;
    }
    if (!platform_.makeDirectory(packFolder())) {
        report_ = refusal(text::kPackFolderFailed);
        return false;
    }

    const std::string themeFile = themeFilePath(project);
    if (!platform_.writeFile(themeFile, bytesOf(themeFileHeader()))) {
        fail(std::string(text::kThemeHeaderFailed) + themeFile);
    }
    writer_.emplace(platform_, themeFile);
    platform_.delay(kHeaderPauseMs);
    writeKey("Theme", "DisplayName", project.displayName);
    return true;
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
    GenerationRun run(request, platform);
    if (!run.begin()) {
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
    report_.failures.push_back(std::move(item));
}

std::string GenerationRun::packFolder() const {
    return quorvel::packFolder(request_.project);
}

std::string GenerationRun::installedPath(std::string_view subfolder,
                                         std::string_view fileName) const {
    return quorvel::installedPath(request_.project, subfolder, fileName);
}

void GenerationRun::writeKey(std::string_view section, std::string_view key,
                             std::string_view value) {
    if (!writer_ || !writer_->write(section, key, value)) {
        fail(std::string(text::kThemeKeyFailed) + "[" + std::string(section) + "] " +
             std::string(key));
    }
}

void GenerationRun::writeAssetEntry(std::string_view fieldText, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::string_view subfolder, const AssetRef& asset,
                                    std::string_view suffix) {
    if (fieldText.empty()) {
        writeKey(section, key, defaultValue);
        return;
    }
    ensureSubfolder(subfolder);
    copyAsset(asset, subfolder);
    writeKey(section, key, installedPath(subfolder, asset.fileName) + std::string(suffix));
}

void GenerationRun::ensureSubfolder(std::string_view subfolder) {
    const std::string path = packFolder() + std::string(subfolder);
    if (!platform_.isDirectory(path) && !platform_.makeDirectory(path)) {
        fail(std::string(text::kFolderFailed) + path);
    }
}

void GenerationRun::makeDirectory(const std::string& path) {
    if (!platform_.makeDirectory(path) && !platform_.isDirectory(path)) {
        fail(std::string(text::kFolderFailed) + path);
    }
}

void GenerationRun::copyAsset(const AssetRef& asset, std::string_view subfolder) {
    const std::string target = packFolder() + std::string(subfolder) + asset.fileName;
    if (asset.sourcePath.empty() || asset.fileName.empty()) {
        fail(std::string(text::kCopyNothingChosen) + target);
        return;
    }
    if (!isPlainFileName(asset.fileName)) {
        fail(std::string(text::kCopyBadFileName) + asset.fileName + " (" + asset.sourcePath + ")");
        return;
    }
    // The fixed system paths of list entries start with a reference such as %SystemRoot%.
    // Paths from the file dialogs are absolute and stand as they are: a folder may well be
    // named "%TEMP%", and expanding it would copy some other file.
    const bool systemPath = asset.sourcePath.front() == '%';
    copyFile(systemPath ? platform_.expandEnvironment(asset.sourcePath) : asset.sourcePath, target);
}

void GenerationRun::copyFile(const std::string& source, const std::string& target) {
    if (!platform_.copyFile(source, target)) {
        fail(copyFailure(source, target));
    }
}

void GenerationRun::writePayload(std::string_view relativePath,
                                 std::span<const std::uint8_t> bytes) {
    const std::string path = packFolder() + std::string(relativePath);
    if (!platform_.writeFile(path, bytes)) {
        fail(std::string(text::kFileFailed) + path);
    }
}

} // namespace quorvel
