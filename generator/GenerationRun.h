// The frame that both theme generators share: the opening checks, the pack folder, the header,
// the copy-or-default rule for one asset, subfolders, payload files and the closing report.
//
// Each step records what failed; the closing message tells the user "生成完毕!" when everything
// succeeded and otherwise names the items that did not.
#pragma once

#include "generator/GenerationReport.h"
#include "generator/ProfileWriter.h"
#include "generator/ThemePaths.h"
#include "model/Texts.h"
#include "model/ThemeRequest.h"
#include "platform/Platform.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The two comment lines at the top of every theme file (the second has no line end).
std::string_view themeFileHeader();

// The failure of one copy.
std::string copyFailure(const std::string& source, const std::string& target);

// Why a theme name cannot name the pack folder, or nothing when it can.
std::optional<std::string> themeNameProblem(std::string_view name);

class GenerationRun {
public:
    // A run for the save location of the request (folderTarget).
    GenerationRun(const ThemeRequest& request, Platform& platform);
    // A run that writes where the target says and names its paths.
    GenerationRun(const ThemeRequest& request, Platform& platform, PackTarget target);
    GenerationRun(const GenerationRun&) = delete;
    GenerationRun& operator=(const GenerationRun&) = delete;

    // The opening sequence. False when the run ends here; report() then tells why.
    bool begin();
    // The closing sequence: saves the theme file and makes the closing report.
    void end();
    // The report of a refused or ended run.
    const GenerationReport& report() const { return report_; }

    // One key of the theme file.
    void writeKey(std::string_view section, std::string_view key, std::string_view value);
    // The copy-or-default rule for one asset key: the default when the asset's field is empty.
    void writeAssetEntry(std::string_view fieldText, std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::string_view subfolder,
                         const AssetRef& asset, std::string_view suffix = {});
    // Makes PackFolder + subfolder when it is not a directory yet (one level).
    void ensureSubfolder(std::string_view subfolder);
    // Copies the asset to PackFolder + subfolder + its file name. A source that starts with an
    // environment reference (such as %SystemRoot%) is expanded first; other sources are used as
    // they stand.
    void copyAsset(const AssetRef& asset, std::string_view subfolder);
    // Copies any file to a path; failures are recorded under the given target.
    void copyFile(const std::string& source, const std::string& target);
    // Makes a directory (one level); a failure is recorded unless the directory exists.
    void makeDirectory(const std::string& path);
    // Writes a support file to PackFolder + relative path.
    void writePayload(std::string_view relativePath, std::span<const std::uint8_t> bytes);

    // Records an item that failed; the closing message names it.
    void fail(std::string item);

    const ThemeRequest& request() const { return request_; }
    const ThemeProject& project() const { return request_.project; }
    Platform& platform() { return platform_; }
    std::string packFolder() const;
    std::string installedPath(std::string_view subfolder, std::string_view fileName) const;
    const std::vector<std::string>& failures() const { return report_.failures; }

    // The closing message for a list of failed items.
    static std::string closingMessage(const std::vector<std::string>& failures);

private:
    const ThemeRequest& request_;
    Platform& platform_;
    PackTarget target_;
    std::optional<ProfileWriter> writer_;
    GenerationReport report_;
};

// The report of a request that is turned down before anything is written (an empty or unusable
// name, display name or save location), or nothing when the run may start.
std::optional<GenerationReport> refusalOf(const ThemeRequest& request, Platform& platform);

// One whole run: the opening sequence, the steps and the closing sequence. An exception out of
// the steps (out of memory or the like) ends them; the report then names the pack incomplete.
GenerationReport runGeneration(const ThemeRequest& request, Platform& platform,
                               const std::function<void(GenerationRun&)>& steps);
GenerationReport runGeneration(const ThemeRequest& request, Platform& platform,
                               const PackTarget& target,
                               const std::function<void(GenerationRun&)>& steps);

} // namespace quorvel
