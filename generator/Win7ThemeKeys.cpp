#include "generator/Win7ThemeKeys.h"

#include "generator/Payload.h"
#include "generator/ThemePaths.h"

#include <array>
#include <optional>
#include <string>

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

// The copy-or-default rule for one asset key: the default when the asset is not chosen.
// Answers the value written.
std::string writeAssetEntry(Win7ThemeTarget& target, bool chosen, std::string_view section,
                            std::string_view key, std::string_view defaultValue,
                            std::string_view subfolder, const AssetRef& asset,
                            std::string_view suffix = {}) {
    if (!chosen) {
        target.writeKey(section, key, defaultValue);
        return std::string(defaultValue);
    }
    std::string value = target.placeAsset(asset, subfolder);
    target.writeKey(section, key, value + std::string(suffix));
    return value;
}

void writeAssetKeys(Win7ThemeTarget& target, std::span<const AssetKey> keys,
                    std::span<const bool> chosen, std::span<const AssetRef> assets,
                    std::string_view subfolder, std::string_view suffix = {}) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const AssetKey& row = keys[i];
        writeAssetEntry(target, chosen[i], row.section, row.key, row.defaultValue, subfolder,
                        assets[i], suffix);
    }
}

// A pointer left alone gets the empty value.
void writePointerKeys(const ThemeRequest& request, Win7ThemeTarget& target) {
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        writeAssetEntry(target, request.pointerChosen[i], kCursorSection, kPointerRoles[i], "",
                        subfolder::kCursors, request.project.cursorFiles[i]);
    }
}

void writeCursorScheme(const ThemeRequest& request, Win7ThemeTarget& target) {
    target.writeKey(kCursorSection, "DefaultValue",
                    request.project.cursorSchemeName.empty() ? std::string("Windows Aero")
                                                             : request.project.cursorSchemeName);
    target.writeKey(kCursorSection, "DefaultValue.MUI", "@main.cpl,-1020");
}

// Answers the value that names the wallpaper's copy, or nothing when none is made.
std::optional<std::string> writeWallpaper(const ThemeRequest& request, Win7ThemeTarget& target) {
    std::string value =
        writeAssetEntry(target, request.wallpaperChosen, kDesktopSection, "Wallpaper",
                        "%SystemRoot%\\web\\wallpaper\\Windows\\img0.jpg", subfolder::kWallpaper,
                        request.project.wallpaperFile);
    target.writeKey(kDesktopSection, "TileWallpaper", "0");
    target.writeKey(kDesktopSection, "WallpaperStyle", "10");
    target.writeKey(kDesktopSection, "Pattern", "");
    if (!request.wallpaperChosen) {
        return std::nullopt;
    }
    return value;
}

// The desktop wallpaper is always the slideshow's first image. The picked images follow, each
// keeping the number of its place in the list (plus one); an image named like the wallpaper is
// left out together with its number, as the wallpaper's copy already stands for it. When no
// desktop wallpaper is copied nothing stands for it, so such an image is copied after all. An
// image of another name that would land on the path of an earlier copy gets a free name.
void writeSlideshow(const ThemeRequest& request, Win7ThemeTarget& target,
                    const std::optional<std::string>& wallpaperValue) {
    if (!request.slideshowChosen) {
        return;
    }
    const ThemeProject& project = request.project;
    const std::string& wallpaperName = project.wallpaperFile.fileName;
    const bool wallpaperCopied = request.wallpaperChosen;
    target.writeKey(kSlideshowSection, "Interval", project.slideshowIntervalText + "000");
    target.writeKey(kSlideshowSection, "Shuffle", "0");
    target.writeKey(kSlideshowSection, "ImagesRootPath", target.folderValue(subfolder::kWallpaper));
    target.writeKey(kSlideshowSection, "Item1Path",
                    wallpaperValue ? *wallpaperValue
                                   : target.pathOf(subfolder::kWallpaper, wallpaperName));
    for (std::size_t i = 0; i < project.slideshowFiles.size(); ++i) {
        const AssetRef& image = project.slideshowFiles[i];
        if (wallpaperCopied && image.fileName == wallpaperName) {
            continue;
        }
        target.writeKey(kSlideshowSection, "Item" + std::to_string(i + 2) + "Path",
                        target.placeAsset(image, subfolder::kWallpaper));
    }
}

void writeVisualStyle(const ThemeRequest& request, Win7ThemeTarget& target) {
    const ThemeProject& project = request.project;
    target.writeKey(kVisualStyleSection, "Path", target.visualStyleValue(project.visualStyleFile));
    target.writeKey(kVisualStyleSection, "ColorStyle", "NormalColor");
    target.writeKey(kVisualStyleSection, "Size", "NormalSize");
    target.writeKey(kVisualStyleSection, "ColorizationColor",
                    "0x" + project.windowAlphaText + project.windowColorText);
    if (target.writesAutoColorization()) {
        target.writeKey(kVisualStyleSection, "AutoColorization", "0");
    }
    target.writeKey(kVisualStyleSection, "Transparency", "1");
    target.writeKey(kVisualStyleSection, "VisualStyleVersion", "10");
    target.writeKey(kVisualStyleSection, "Composition", "1");
}

void writeScreensaver(const ThemeRequest& request, Win7ThemeTarget& target) {
    if (request.screensaver == ScreensaverSource::None) {
        target.writeKey("boot", "SCRNSAVE.EXE", "");
        return;
    }
    target.writeKey("boot", "SCRNSAVE.EXE", target.screensaverValue(request));
}

void writeSoundScheme(const ThemeRequest& request, Win7ThemeTarget& target) {
    target.writeKey("Sounds", "SchemeName",
                    request.project.soundSchemeName.empty()
                        ? std::string("@%SystemRoot%\\System32\\mmres.dll,-800")
                        : request.project.soundSchemeName);
}

} // namespace

void writeWin7ThemeKeys(const ThemeRequest& request, Win7ThemeTarget& target) {
    const ThemeProject& project = request.project;
    writeAssetKeys(target, kIconKeys, request.iconChosen, project.iconFiles, subfolder::kIcon,
                   ",0");
    writePointerKeys(request, target);
    writeCursorScheme(request, target);
    writeSlideshow(request, target, writeWallpaper(request, target));
    writeVisualStyle(request, target);
    writeScreensaver(request, target);
    target.writeKey("MasterThemeSelector", "MTSM", "DABJDKT");
    writeSoundScheme(request, target);
    writeAssetKeys(target, kSoundKeys, request.soundChosen, project.soundFiles, subfolder::kSound);
    target.writeKey("AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin", "DefaultValue",
                    target.placePayload(subfolder::kSound, "empty.wav", payload::emptyWav()));
}

} // namespace quorvel
