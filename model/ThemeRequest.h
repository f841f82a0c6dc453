// What one generation run works from: everything a generator consults, captured from the pages of
// one page set (or filled from elsewhere). A generator reads nothing but this and the platform.
#pragma once

#include "model/PageSet.h"
#include "model/ThemeProject.h"

#include <array>
#include <string>

namespace quorvel {

struct ThemeRequest {
    PageSet pageSet = PageSet::Win7;

    // The chosen files, the committed scheme names, the slideshow interval and the window
    // colour texts, and the theme name, display name and save location as the last page shows
    // them.
    ThemeProject project;

    // The texts of the path fields that say whether a slot was chosen: an empty text means the
    // field is empty (a blank is not empty). Indexed like the slots of the project; the pointer
    // fields by kPointerRoles. The Windows XP pages have no fifth sound field.
    std::array<std::string, ThemeProject::kIconCount> iconFields;
    std::array<std::string, ThemeProject::kCursorCount> pointerFields;
    std::array<std::string, ThemeProject::kSoundCount> soundFields;
    std::string wallpaperField;
    // The Windows 7 slideshow's folder field.
    std::string slideshowField;
    // The scheme name fields.
    std::string cursorSchemeField;
    std::string soundSchemeField;

    // The screensaver tick boxes.
    bool systemScreensaverTicked = false;
    bool ownScreensaverTicked = false;
};

} // namespace quorvel
