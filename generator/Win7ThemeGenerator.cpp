#include "generator/Win7ThemeGenerator.h"

#include "generator/GenerationRun.h"
#include "generator/Payload.h"
#include "generator/ThemePaths.h"
#include "model/Texts.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

// One asset key of the theme file: where the key goes, and the value it gets when nothing was
// chosen.
struct AssetKey {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

// In the order of ThemeProject::iconFiles.
constexpr std::array<AssetKey, ThemeProject::kIconCount> kIconKeys = {{
    {"CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon", "DefaultValue",
     "%SystemRoot%\\System32\\imageres.dll,-123"},
    {"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon", "DefaultValue",
     "%SystemRoot%\\System32\\imageres.dll,-109"},
    {"CLSID\\{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}\\DefaultIcon", "DefaultValue",
     "%SystemRoot%\\System32\\imageres.dll,-25"},
    {"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "Empty",
     "%SystemRoot%\\System32\\imageres.dll,-55"},
    {"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "Full",
     "%SystemRoot%\\System32\\imageres.dll,-54"},
}};

constexpr std::string_view kCursorSection = "Control Panel\\Cursors";

// In the order of ThemeProject::soundFiles; an event left alone gets the empty value.
constexpr std::array<AssetKey, ThemeProject::kSoundCount> kSoundKeys = {{
    {"AppEvents\\Schemes\\Apps\\.Default\\SystemExit", "DefaultValue", ""},
    {"AppEvents\\Schemes\\Apps\\.Default\\SystemStart", "DefaultValue", ""},
    {"AppEvents\\Schemes\\Apps\\.Default\\WindowsLogoff", "DefaultValue", ""},
    {"AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon", "DefaultValue", ""},
    {"AppEvents\\Schemes\\Apps\\.Default\\ChangeTheme", "DefaultValue", ""},
}};

constexpr std::string_view kDesktopSection = "Control Panel\\Desktop";
constexpr std::string_view kSlideshowSection = "Slideshow";
constexpr std::string_view kVisualStyleSection = "VisualStyles";

// The visual style file sits in the pack folder itself.
constexpr std::string_view kPackRoot = "\\";
constexpr std::string_view kLanguageFolder = "\\zh-CN\\";
constexpr std::string_view kShellFolder = "\\Shell\\";
constexpr std::string_view kShellStyleFolder = "\\Shell\\NormalColor\\";
constexpr std::string_view kShellLanguageFolder = "\\Shell\\NormalColor\\zh-CN\\";
constexpr std::string_view kShellEnglishFolder = "\\Shell\\NormalColor\\en-US\\";

void writeAssetKeys(GenerationRun& run, std::span<const AssetKey> keys,
                    std::span<const std::string> fields, std::span<const AssetRef> assets,
                    std::string_view subfolder, std::string_view suffix = {}) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const AssetKey& row = keys[i];
        run.writeAssetEntry(fields[i], row.section, row.key, row.defaultValue, subfolder, assets[i],
                            suffix);
    }
}

// A pointer left alone gets the empty value.
void writePointerKeys(GenerationRun& run) {
    const ThemeRequest& request = run.request();
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        run.writeAssetEntry(request.pointerFields[i], kCursorSection, kPointerRoles[i], "",
                            subfolder::kCursors, request.project.cursorFiles[i]);
    }
}

void writeCursorScheme(GenerationRun& run) {
    run.writeKey(kCursorSection, "DefaultValue",
                 run.request().cursorSchemeField.empty() ? std::string("Windows Aero")
                                                         : run.project().cursorSchemeName);
    run.writeKey(kCursorSection, "DefaultValue.MUI", "@main.cpl,-1020");
}

// Answers the name of the wallpaper's copy, or its chosen name when it is not copied.
std::string writeWallpaper(GenerationRun& run) {
    std::string name =
        run.writeAssetEntry(run.request().wallpaperField, kDesktopSection, "Wallpaper",
                            "%SystemRoot%\\web\\wallpaper\\Windows\\img0.jpg",
                            subfolder::kWallpaper, run.project().wallpaperFile);
    run.writeKey(kDesktopSection, "TileWallpaper", "0");
    run.writeKey(kDesktopSection, "WallpaperStyle", "10");
    run.writeKey(kDesktopSection, "Pattern", "");
    return run.request().wallpaperField.empty() ? run.project().wallpaperFile.fileName : name;
}

// The desktop wallpaper is always the slideshow's first image. The picked images follow, each
// keeping the number of its place in the list (plus one); an image named like the wallpaper is
// left out together with its number, as the wallpaper's copy already stands for it. When no
// desktop wallpaper is copied nothing stands for it, so such an image is copied after all. An
// image of another name that would land on the path of an earlier copy gets a free name.
void writeSlideshow(GenerationRun& run, const std::string& wallpaperCopyName) {
    const ThemeRequest& request = run.request();
    if (request.slideshowField.empty()) {
        return;
    }
    const ThemeProject& project = request.project;
    const std::string& wallpaperName = project.wallpaperFile.fileName;
    const bool wallpaperCopied = !request.wallpaperField.empty();
    run.writeKey(kSlideshowSection, "Interval", project.slideshowIntervalText + "000");
    run.writeKey(kSlideshowSection, "Shuffle", "0");
    run.writeKey(kSlideshowSection, "ImagesRootPath", run.installedPath("\\Wallpaper", ""));
    run.writeKey(kSlideshowSection, "Item1Path",
                 run.installedPath(subfolder::kWallpaper, wallpaperCopyName));
    for (std::size_t i = 0; i < project.slideshowFiles.size(); ++i) {
        const AssetRef& image = project.slideshowFiles[i];
        if (wallpaperCopied && image.fileName == wallpaperName) {
            continue;
        }
        run.ensureSubfolder(subfolder::kWallpaper);
        const std::string name = run.copyAsset(image, subfolder::kWallpaper);
        run.writeKey(kSlideshowSection, "Item" + std::to_string(i + 2) + "Path",
                     run.installedPath(subfolder::kWallpaper, name));
    }
}

void writeVisualStyle(GenerationRun& run) {
    const ThemeProject& project = run.project();
    const AssetRef& style = project.visualStyleFile;
    // The Windows 7 pages let the user go on without a visual style, but a theme whose visual
    // style path names no file cannot show its style; the user has to hear about it.
    std::string name = style.fileName;
    if (style.sourcePath.empty()) {
        run.fail(std::string(text::kNoVisualStyleInTheme));
    } else {
        name = run.copyAsset(style, kPackRoot);
    }
    run.writeKey(kVisualStyleSection, "Path", run.installedPath(kPackRoot, name));
    run.writeKey(kVisualStyleSection, "ColorStyle", "NormalColor");
    run.writeKey(kVisualStyleSection, "Size", "NormalSize");
    run.writeKey(kVisualStyleSection, "ColorizationColor",
                 "0x" + project.windowAlphaText + project.windowColorText);
    run.writeKey(kVisualStyleSection, "Transparency", "1");
    run.writeKey(kVisualStyleSection, "VisualStyleVersion", "10");
    run.writeKey(kVisualStyleSection, "Composition", "1");
}

// A screensaver from the system list has a source below %SystemRoot%; copyAsset expands it, so
// the pack holds the screensaver as well.
void writeScreensaver(GenerationRun& run) {
    if (!run.request().systemScreensaverTicked && !run.request().ownScreensaverTicked) {
        run.writeKey("boot", "SCRNSAVE.EXE", "");
        return;
    }
    const AssetRef& screensaver = run.project().screensaverFile;
    run.ensureSubfolder(subfolder::kScreensaver);
    const std::string name = run.copyAsset(screensaver, subfolder::kScreensaver);
    run.writeKey("boot", "SCRNSAVE.EXE", run.installedPath(subfolder::kScreensaver, name));
}

void writeSoundScheme(GenerationRun& run) {
    run.writeKey("Sounds", "SchemeName",
                 run.request().soundSchemeField.empty()
                     ? std::string("@%SystemRoot%\\System32\\mmres.dll,-800")
                     : run.project().soundSchemeName);
}

void writeEmptyRecycleBinSound(GenerationRun& run) {
    run.ensureSubfolder(subfolder::kSound);
    run.writePayload("\\Sound\\empty.wav", payload::emptyWav());
    run.writeKey("AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin", "DefaultValue",
                 run.installedPath(subfolder::kSound, "empty.wav"));
}

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
        const ThemeRequest& request = run.request();
        const ThemeProject& project = request.project;
        writeAssetKeys(run, kIconKeys, request.iconFields, project.iconFiles, subfolder::kIcon,
                       ",0");
        writePointerKeys(run);
        writeCursorScheme(run);
        writeSlideshow(run, writeWallpaper(run));
        writeVisualStyle(run);
        writeScreensaver(run);
        run.writeKey("MasterThemeSelector", "MTSM", "DABJDKT");
        writeSoundScheme(run);
        writeAssetKeys(run, kSoundKeys, request.soundFields, project.soundFiles, subfolder::kSound);
        writeEmptyRecycleBinSound(run);
        writeStyleSupportFiles(run);
    });
}

} // namespace quorvel
