#include "generator/XpThemeGenerator.h"

#include "generator/DirectoryWalker.h"
#include "generator/GenerationRun.h"
#include "generator/Payload.h"
#include "generator/ThemePaths.h"
#include "model/AsciiCase.h"
#include "model/Texts.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

// --- the rows of the theme file, in the order they are written ---

struct IconRow {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

// iconFiles positions 1 to 5.
constexpr std::array<IconRow, ThemeProject::kIconCount> kIconRows{{
    {"CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\DefaultIcon", "DefaultValue",
     "%SystemRoot%\\System32\\mydocs.dll,0"},
    {"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", "DefaultValue",
     "%SystemRoot%\\System32\\explorer.exe,0"},
    {"CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon", "DefaultValue",
     "%SystemRoot%\\System32\\shell32.dll,17"},
    {"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "empty",
     "%SystemRoot%\\System32\\shell32.dll,31"},
    {"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "full",
     "%SystemRoot%\\System32\\shell32.dll,32"},
}};
constexpr std::string_view kIconSuffix = ",0";

constexpr std::string_view kCursorsSection = "Control Panel\\Cursors";
constexpr std::string_view kDefaultCursorScheme = "Windows default";
constexpr std::string_view kCursorSchemeMui = "@themeui.dll,-2043";

constexpr std::string_view kDesktopSection = "Control Panel\\Desktop";
constexpr std::string_view kDefaultWallpaper = "%SystemRoot%\\web\\wallpaper\\Bliss.jpg";

struct FixedKey {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// Written after the wallpaper, whichever way it went. The screensaver is never switched on by
// the theme itself.
constexpr std::array<FixedKey, 4> kDesktopKeys{{
    {kDesktopSection, "TileWallpaper", "0"},
    {kDesktopSection, "WallpaperStyle", "2"},
    {kDesktopSection, "Pattern", ""},
    {kDesktopSection, "ScreenSaveActive", "0"},
}};

constexpr std::string_view kVisualStylesSection = "VisualStyles";
// The visual style goes into the pack folder itself, so its "subfolder" is the bare separator.
constexpr std::string_view kRootSubfolder = "\\";
constexpr std::array<FixedKey, 2> kVisualStyleKeys{{
    {kVisualStylesSection, "ColorStyle", "NormalColor"},
    {kVisualStylesSection, "Size", "NormalSize"},
}};

constexpr std::string_view kBootSection = "boot";
constexpr std::string_view kScreensaverKey = "SCRNSAVE.EXE";

constexpr std::array<FixedKey, 2> kMasterThemeKeys{{
    {"MasterThemeSelector", "MTSM", "DABJDKT"},
    {"MasterThemeSelector", "ThemeColorBPP", "4"},
}};

// The sections of soundFiles positions 1 to 4; position 5 belongs to the Windows 7 pages only.
constexpr std::array<std::string_view, 4> kSoundSections{{
    "AppEvents\\Schemes\\Apps\\.Default\\SystemExit\\.Current",
    "AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current",
    "AppEvents\\Schemes\\Apps\\.Default\\WindowsLogoff\\.Current",
    "AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon\\.Current",
}};
constexpr std::string_view kSoundKey = "DefaultValue";
constexpr std::string_view kEmptyRecycleBinSection =
    "AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current";
constexpr std::string_view kEmptyWav = "empty.wav";

// --- the shell-style libraries ---

constexpr std::string_view kShellFolder = "\\Shell";
constexpr std::string_view kShellStyleDll = "Shellstyle.dll";

// True when the directory holds a shell-style library (file names are compared as Windows does).
bool holdsShellStyle(Platform& platform, const std::string& directory) {
    const auto entries = platform.listDirectory(directory);
    if (!entries) {
        return false;
    }
    for (const DirectoryEntry& entry : *entries) {
        if (!entry.isDirectory && equalsIgnoringAsciiCase(entry.name, kShellStyleDll)) {
            return true;
        }
    }
    return false;
}

// Lays one directory of the visual style's "Shell" tree into the pack: the folder
// P\Shell\<last component of the directory> with the directory's "Shellstyle.dll" in it. Nested
// directories therefore end up side by side, and two of the same name share one folder (the
// later copy wins). Answers whether the walk should go on.
bool copyShellStyle(GenerationRun& run, const std::string& directory) {
    if (directory.empty()) {
        return false;
    }
    const std::string shell = run.packFolder() + std::string(kShellFolder);
    run.makeDirectory(shell);
    const std::string leafFolder = shell + "\\" + fileNameOf(directory);
    run.makeDirectory(leafFolder);

    const std::string source = directory + "\\" + std::string(kShellStyleDll);
    const std::string target = leafFolder + "\\" + std::string(kShellStyleDll);
    // A directory without the library leaves its folder empty; that is not a failure. A library
    // that is there but could not be copied is.
    if (!run.copyQuietly(source, target) && holdsShellStyle(run.platform(), directory)) {
        run.fail(copyFailure(source, target));
    }
    return true;
}

void shellStyleStep(GenerationRun& run) {
    const std::string styleFolder = folderOf(run.project().visualStyleFile.sourcePath);
    if (styleFolder.empty()) {
        // Without a folder of its own the style has no "Shell" folder; "\Shell" alone would name
        // a folder at the root of the current drive.
        return;
    }
    DirectoryWalker walker(run.platform(), [&run](const std::string& directory, WalkProblem why) {
        switch (why) {
        case WalkProblem::PathTooLong:
            run.fail(std::string(text::kPathTooLong) + directory);
            break;
        case WalkProblem::CannotList:
            run.fail(std::string(text::kFolderUnreadable) + directory);
            break;
        }
    });
    walker.walk(styleFolder + std::string(kShellFolder), true,
                [&run](const std::string& directory) { return copyShellStyle(run, directory); });
}

// --- the steps of a run ---

void writeFixedKeys(GenerationRun& run, std::span<const FixedKey> keys) {
    for (const FixedKey& key : keys) {
        run.writeKey(key.section, key.key, key.value);
    }
}

void iconStep(GenerationRun& run) {
    for (std::size_t i = 0; i < kIconRows.size(); ++i) {
        const IconRow& row = kIconRows[i];
        run.writeAssetEntry(run.request().iconChosen[i], row.section, row.key, row.defaultValue,
                            subfolder::kIcon, run.project().iconFiles[i], kIconSuffix);
    }
}

void pointerStep(GenerationRun& run) {
    const ThemeRequest& request = run.request();
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        run.writeAssetEntry(request.pointerChosen[i], kCursorsSection, kPointerRoles[i], "",
                            subfolder::kCursors, request.project.cursorFiles[i]);
    }
    const std::string& scheme = request.project.cursorSchemeName;
    run.writeKey(kCursorsSection, "DefaultValue",
                 scheme.empty() ? kDefaultCursorScheme : std::string_view(scheme));
    run.writeKey(kCursorsSection, "DefaultValue.MUI", kCursorSchemeMui);
}

void wallpaperStep(GenerationRun& run) {
    run.writeAssetEntry(run.request().wallpaperChosen, kDesktopSection, "Wallpaper",
                        kDefaultWallpaper, subfolder::kWallpaper, run.project().wallpaperFile);
    writeFixedKeys(run, kDesktopKeys);
}

void visualStyleStep(GenerationRun& run) {
    const std::string name = run.copyAsset(run.project().visualStyleFile, kRootSubfolder);
    run.writeKey(kVisualStylesSection, "Path", run.installedPath(kRootSubfolder, name));
    writeFixedKeys(run, kVisualStyleKeys);
}

void screensaverStep(GenerationRun& run) {
    // The tick boxes decide, not what the screensaver slot happens to hold.
    const bool selected = run.request().screensaver != ScreensaverSource::None;
    if (!selected) {
        run.writeKey(kBootSection, kScreensaverKey, "");
        return;
    }
    const AssetRef& screensaver = run.project().screensaverFile;
    run.ensureSubfolder(subfolder::kScreensaver);
    const std::string name = run.copyAsset(screensaver, subfolder::kScreensaver);
    run.writeKey(kBootSection, kScreensaverKey, run.installedPath(subfolder::kScreensaver, name));
}

void soundStep(GenerationRun& run) {
    for (std::size_t i = 0; i < kSoundSections.size(); ++i) {
        run.writeAssetEntry(run.request().soundChosen[i], kSoundSections[i], kSoundKey, "",
                            subfolder::kSound, run.project().soundFiles[i]);
    }
    run.ensureSubfolder(subfolder::kSound);
    run.writePayload(std::string(subfolder::kSound) + std::string(kEmptyWav), payload::emptyWav());
    run.writeKey(kEmptyRecycleBinSection, kSoundKey,
                 run.installedPath(subfolder::kSound, kEmptyWav));
}

} // namespace

GenerationReport generateXpTheme(const ThemeRequest& request, Platform& platform) {
    return generateXpTheme(request, platform, folderTarget(request.project));
}

GenerationReport generateXpTheme(const ThemeRequest& request, Platform& platform,
                                 const PackTarget& target) {
    return runGeneration(request, platform, target, [](GenerationRun& run) {
        iconStep(run);
        pointerStep(run);
        wallpaperStep(run);
        visualStyleStep(run);
        shellStyleStep(run);
        screensaverStep(run);
        writeFixedKeys(run, kMasterThemeKeys);
        soundStep(run);
    });
}

} // namespace quorvel
