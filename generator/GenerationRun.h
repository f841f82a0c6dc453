// The frame that both theme generators share: the opening checks, the pack folder, the header,
// the copy-or-default rule for one asset, subfolders, payload files and the closing message.
//
// Each step records what failed; the closing message tells the user "生成完毕!" when everything
// succeeded and otherwise names the items that did not.
#pragma once

#include "generator/ProfileWriter.h"
#include "model/ThemeProject.h"
#include "platform/Platform.h"
#include "wizard/Controls.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The last page of a wizard: its three fields and the controls a run disables.
struct GenerationPage {
    std::string_view nameField;
    std::string_view displayNameField;
    std::string_view saveLocationField;
    std::vector<std::string_view> disableList;
};

const GenerationPage& win7GenerationPage();
const GenerationPage& xpGenerationPage();

// The two comment lines at the top of every theme file (the second has no line end).
std::string_view themeFileHeader();

// Why a theme name cannot name the pack folder, or nothing when it can.
std::optional<std::string> themeNameProblem(std::string_view name);

inline constexpr std::string_view kErrorTitle = "错误...";
inline constexpr std::string_view kInfoTitle = "提示...";
inline constexpr std::string_view kDoneMessage = "生成完毕!";

class GenerationRun {
public:
    GenerationRun(Controls& controls, ThemeProject& project, Platform& platform,
                  const GenerationPage& page);
    GenerationRun(const GenerationRun&) = delete;
    GenerationRun& operator=(const GenerationRun&) = delete;

    // The opening sequence. False when the run ends here (after telling the user why).
    bool begin();
    // The closing sequence: enables the controls again and shows the closing message.
    void end();

    // One key of the theme file.
    void writeKey(std::string_view section, std::string_view key, std::string_view value);
    // The copy-or-default rule for one asset key.
    void writeAssetEntry(std::string_view field, std::string_view section, std::string_view key,
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

    Controls& controls() { return controls_; }
    ThemeProject& project() { return project_; }
    Platform& platform() { return platform_; }
    std::string packFolder() const;
    std::string installedPath(std::string_view subfolder, std::string_view fileName) const;
    bool fieldEmpty(std::string_view field) const { return controls_.text(field).empty(); }
    const std::vector<std::string>& failures() const { return failures_; }

    // The closing message for a list of failed items.
    static std::string closingMessage(const std::vector<std::string>& failures);

private:
    void setControlsEnabled(bool enabled);
    void refuse(std::string_view message);

    Controls& controls_;
    ThemeProject& project_;
    Platform& platform_;
    const GenerationPage& page_;
    std::optional<ProfileWriter> writer_;
    std::vector<std::string> failures_;
};

} // namespace quorvel
