// Everything the user picked or typed for one theme, shared by the Windows 7 and XP pages.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One chosen file: the full path it is copied from and the name the copy gets.
struct AssetRef {
    std::string sourcePath;
    std::string fileName;

    bool operator==(const AssetRef&) const = default;
};

// The pointer roles in the slot order of cursorFiles. Each names its theme key, and with the page
// set's prefix ("W" or "X") its path field on the pointer pages.
inline constexpr std::array<std::string_view, 15> kPointerRoles = {
    "UpArrow", "Wait",  "SizeNWSE",  "SizeNESW", "NWPen", "Help",   "SizeWE",     "Hand",
    "SizeAll", "Arrow", "Crosshair", "IBeam",    "No",    "SizeNS", "AppStarting"};

// The fixed arrays are indexed from 0 in code; position N of the slot order is index N - 1.
struct ThemeProject {
    static constexpr int kIconCount = 5;
    static constexpr int kCursorCount = 15;
    static constexpr int kSoundCount = 5;

    // Documents, computer, network, recycle bin empty, recycle bin full.
    std::array<AssetRef, kIconCount> iconFiles;
    // UpArrow, Wait, SizeNWSE, SizeNESW, NWPen, Help, SizeWE, Hand, SizeAll, Arrow, Crosshair,
    // IBeam, No, SizeNS, AppStarting.
    std::array<AssetRef, kCursorCount> cursorFiles;
    // Shutdown, start-up, log off, log on, theme change (the last only from the Windows 7 page).
    std::array<AssetRef, kSoundCount> soundFiles;
    AssetRef screensaverFile;
    AssetRef wallpaperFile;
    // The slideshow images in the order the dialog reported them.
    std::vector<AssetRef> slideshowFiles;
    AssetRef visualStyleFile;

    std::string cursorSchemeName;
    std::string soundSchemeName;
    std::string slideshowIntervalText;
    std::string windowAlphaText;
    std::string windowColorText;

    // Captured at the start of a generation run.
    std::string themeName;
    std::string displayName;
    std::string saveLocation;
};

} // namespace quorvel
