// What one generation run works from: everything a generator consults, made from the theme
// document for one page set (model/ThemeDocument.h). A generator, the pack export and the
// install read nothing but this and the platform.
#pragma once

#include "model/PageSet.h"
#include "model/ThemeProject.h"

#include <array>

namespace quorvel {

// Which of the desktop page's two screensaver tick boxes is set; at most one is.
enum class ScreensaverSource { None, System, Own };

struct ThemeRequest {
    PageSet pageSet = PageSet::Win7;

    // The chosen files, the scheme names (empty: the system's scheme), the slideshow interval
    // and the window colour texts, and the theme name, display name and save location.
    ThemeProject project;

    // The slots that are chosen, indexed like the slots of the project (the pointers by
    // kPointerRoles): a slot not chosen gets the theme file's default, a chosen one the copy of
    // its file. The Windows XP pages have no fifth sound.
    std::array<bool, ThemeProject::kIconCount> iconChosen{};
    std::array<bool, ThemeProject::kCursorCount> pointerChosen{};
    std::array<bool, ThemeProject::kSoundCount> soundChosen{};
    bool wallpaperChosen = false;
    // The Windows 7 slideshow.
    bool slideshowChosen = false;

    ScreensaverSource screensaver = ScreensaverSource::None;
};

} // namespace quorvel
