// The frame that both theme generators share: the opening checks, the pack folder, the header,
// the copy-or-default rule for one asset, subfolders, payload files and the closing report.
//
// A run goes through its steps twice. The first pass writes nothing: it records every folder,
// file and copy the steps will make, so that the name of every copy is settled (two different
// files bound for one path of the pack keep apart: the later gets a free name such as
// "arrow (2).cur") and every name and path is checked before the first byte is written. The
// second pass writes, with the copies named as settled.
//
// Each step records what failed; the closing message tells the user "生成完毕!" when everything
// succeeded and otherwise names the items that did not.
#pragma once

#include "generator/GenerationReport.h"
#include "generator/ProfileWriter.h"
#include "generator/ThemePaths.h"
#include "model/NameChecks.h"
#include "model/Texts.h"
#include "model/ThemeRequest.h"
#include "platform/Platform.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The two comment lines at the top of every theme file (the second has no line end).
std::string_view themeFileHeader();

// The failure of one copy.
std::string copyFailure(const std::string& source, const std::string& target);

// The longest path of a folder the run makes, in UTF-16 units with the terminating zero: the
// system makes a folder only when a name of 8.3 form still fits below it within the path limit.
inline constexpr std::size_t kFolderPathLimit = 248;

// The free name for the n-th file of one name in a folder: "arrow.cur", 2 -> "arrow (2).cur".
std::string numberedName(std::string_view name, int n);

class GenerationRun {
public:
    using Steps = std::function<void(GenerationRun&)>;

    // A run for the save location of the request (folderTarget).
    GenerationRun(const ThemeRequest& request, Platform& platform);
    // A run that writes where the target says and names its paths.
    GenerationRun(const ThemeRequest& request, Platform& platform, PackTarget target);
    GenerationRun(const GenerationRun&) = delete;
    GenerationRun& operator=(const GenerationRun&) = delete;

    // The opening sequence. With the run's steps, they first run once without writing (the
    // planning pass) to settle the names of the copies and to check every name and path the
    // run will write. False when the run ends here; report() then tells why.
    bool begin(const Steps& steps = {});
    // The closing sequence: saves the theme file and makes the closing report.
    void end();
    // The report of a refused or ended run.
    const GenerationReport& report() const { return report_; }

    // One key of the theme file.
    void writeKey(std::string_view section, std::string_view key, std::string_view value);
    // The copy-or-default rule for one asset key: the default when the asset's field is empty.
    // Answers the name of the copy in the pack (empty for the default).
    std::string writeAssetEntry(bool chosen, std::string_view section, std::string_view key,
                                std::string_view defaultValue, std::string_view subfolder,
                                const AssetRef& asset, std::string_view suffix = {});
    // Makes PackFolder + subfolder when it is not a directory yet (one level).
    void ensureSubfolder(std::string_view subfolder);
    // Copies the asset to PackFolder + subfolder + the name settled for it, which it answers:
    // its own file name, or a free name when another file holds that path of the pack. The same
    // source bound for the same path is copied once. A source that starts with an environment
    // reference (such as %SystemRoot%) is expanded first; other sources are used as they stand.
    std::string copyAsset(const AssetRef& asset, std::string_view subfolder);
    // Copies any file to a path; failures are recorded under the given target.
    void copyFile(const std::string& source, const std::string& target);
    // Copies a file the run lays out itself; answers whether it was copied (always true in the
    // planning pass) and records nothing.
    bool copyQuietly(const std::string& source, const std::string& target);
    // Makes a directory (one level); a failure is recorded unless the directory exists.
    void makeDirectory(const std::string& path);
    // Writes a support file to PackFolder + relative path.
    void writePayload(std::string_view relativePath, std::span<const std::uint8_t> bytes);

    // Records an item that failed; the closing message names it. The planning pass records
    // nothing.
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
    // One copy the planning pass met.
    struct PlannedCopy {
        std::string subfolder;
        std::string name;   // as chosen; then as settled
        std::string source; // as it is copied from (expanded)
    };

    bool plan(const Steps& steps);
    std::optional<GenerationReport> planProblem() const;
    std::string sourceOf(const AssetRef& asset);
    // Takes the path subfolder + name of the pack for the source (an empty source for the run's
    // own files) and answers the name it gets there.
    std::string claim(std::string_view subfolder, const std::string& name,
                      const std::string& source);

    const ThemeRequest& request_;
    Platform& platform_;
    PackTarget target_;
    std::optional<ProfileWriter> writer_;
    GenerationReport report_;

    bool planning_ = false;
    std::vector<PlannedCopy> copies_;
    std::size_t nextCopy_ = 0;
    // What the planning pass saw the steps make besides the copies.
    std::vector<std::string> ownFolders_;
    std::vector<std::string> ownFiles_;
    // The paths of the pack taken so far, letter case folded: the source copied there, empty
    // for a file or folder of the run's own.
    std::map<std::u32string, std::string> claimed_;
    // The paths copied to so far, letter case folded.
    std::set<std::u32string> copied_;
};

// The report of a request that is turned down before anything is written (an empty or unusable
// name, display name or save location), or nothing when the run may start.
std::optional<GenerationReport> refusalOf(const ThemeRequest& request, Platform& platform);

// One whole run: the opening sequence (with the planning pass), the steps and the closing
// sequence. An exception out of the steps (out of memory or the like) ends them; the report then
// names the pack incomplete.
GenerationReport runGeneration(const ThemeRequest& request, Platform& platform,
                               const std::function<void(GenerationRun&)>& steps);
GenerationReport runGeneration(const ThemeRequest& request, Platform& platform,
                               const PackTarget& target,
                               const std::function<void(GenerationRun&)>& steps);

} // namespace quorvel
