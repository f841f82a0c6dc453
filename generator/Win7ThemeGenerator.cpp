#include "generator/Win7ThemeGenerator.h"

#include "generator/GenerationRun.h"
#include "generator/Payload.h"
#include "generator/ThemePaths.h"
#include "generator/Win7ThemeKeys.h"
#include "model/Texts.h"

#include <span>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

// The visual style file sits in the pack folder itself.
constexpr std::string_view kPackRoot = "\\";
constexpr std::string_view kLanguageFolder = "\\zh-CN\\";
constexpr std::string_view kShellFolder = "\\Shell\\";
constexpr std::string_view kShellStyleFolder = "\\Shell\\NormalColor\\";
constexpr std::string_view kShellLanguageFolder = "\\Shell\\NormalColor\\zh-CN\\";
constexpr std::string_view kShellEnglishFolder = "\\Shell\\NormalColor\\en-US\\";

// The pack folder beside the theme file: every file is copied into it and named by its
// installed path below %SystemRoot%\resources\Themes.
class FolderTarget : public Win7ThemeTarget {
public:
    explicit FolderTarget(GenerationRun& run) : run_(run) {}

    void writeKey(std::string_view section, std::string_view key, std::string_view value) override {
        run_.writeKey(section, key, value);
    }
    std::string placeAsset(const AssetRef& asset, std::string_view subfolder) override {
        run_.ensureSubfolder(subfolder);
        // The copy may get a free name of its own when another file took its path.
        return run_.installedPath(subfolder, run_.copyAsset(asset, subfolder));
    }
    std::string pathOf(std::string_view subfolder, std::string_view fileName) override {
        return run_.installedPath(subfolder, fileName);
    }
    std::string folderValue(std::string_view subfolder) override {
        subfolder.remove_suffix(1); // without the "\" after the folder's name
        return run_.installedPath(subfolder, "");
    }
    std::string placePayload(std::string_view subfolder, std::string_view fileName,
                             std::span<const std::uint8_t> bytes) override {
        run_.ensureSubfolder(subfolder);
        run_.writePayload(std::string(subfolder) + std::string(fileName), bytes);
        return run_.installedPath(subfolder, fileName);
    }
    std::string visualStyleValue(const AssetRef& style) override {
        // The Windows 7 pages let the user go on without a visual style, but a theme whose
        // visual style path names no file cannot show its style; the user has to hear about it.
        std::string name = style.fileName;
        if (style.sourcePath.empty()) {
            run_.fail(std::string(text::kNoVisualStyleInTheme));
        } else if (style.sourcePath.front() == '%') {
            // The system's own style (picked from an opened theme that named it so) stays where
            // the system keeps it, beside the language and shell files it needs there.
            return style.sourcePath;
        } else {
            name = run_.copyAsset(style, kPackRoot);
        }
        return run_.installedPath(kPackRoot, name);
    }
    // A screensaver from the system list has a source below %SystemRoot%; copyAsset expands it,
    // so the pack holds the screensaver as well.
    std::string screensaverValue(const ThemeRequest& request) override {
        return placeAsset(request.project.screensaverFile, subfolder::kScreensaver);
    }

private:
    GenerationRun& run_;
};

// The language resources of the visual style and the shell style library with its language
// folders. The pack folder is new in every run, so each folder is made here, one level at a time.
void writeStyleSupportFiles(GenerationRun& run) {
    run.ensureSubfolder(kLanguageFolder);
    run.writePayload("\\zh-CN\\aero.msstyles.mui", payload::aeroMsstylesMui());

    run.ensureSubfolder(kShellFolder);
    run.ensureSubfolder(kShellStyleFolder);
    run.writePayload("\\Shell\\NormalColor\\shellstyle.dll", payload::shellStyleDll());
    run.ensureSubfolder(kShellLanguageFolder);
    run.writePayload("\\Shell\\NormalColor\\zh-CN\\shellstyle.dll.mui",
                     payload::shellStyleDllMui());
    run.ensureSubfolder(kShellEnglishFolder);
}

} // namespace

GenerationReport generateWin7Theme(const ThemeRequest& request, Platform& platform) {
    return generateWin7Theme(request, platform, folderTarget(request.project));
}

GenerationReport generateWin7Theme(const ThemeRequest& request, Platform& platform,
                                   const PackTarget& target) {
    return runGeneration(request, platform, target, [](GenerationRun& run) {
        FolderTarget keys(run);
        writeWin7ThemeKeys(run.request(), keys);
        writeStyleSupportFiles(run);
    });
}

} // namespace quorvel
