#include "pages/RequestCapture.h"

#include <array>

namespace quorvel {

namespace {

constexpr std::array<ControlId, 5> kWin7DisableList = {
    ControlId::Win7ThemeName, ControlId::Win7DisplayName, ControlId::Win7SaveLocation,
    ControlId::Win7NamesBack, ControlId::Win7Generate};
constexpr std::array<ControlId, 6> kXpDisableList = {
    ControlId::XpThemeName,          ControlId::XpSaveLocation, ControlId::XpDisplayName,
    ControlId::XpSaveLocationBrowse, ControlId::XpNamesBack,    ControlId::XpGenerate};

ThemeRequest capture(PageSet set, const Controls& controls, const ThemeProject& project) {
    const PageSetControls& c = pageSetControls(set);
    ThemeRequest request;
    request.pageSet = set;
    request.project = project;
    request.project.themeName = controls.text(c.themeName);
    request.project.displayName = controls.text(c.displayName);
    request.project.saveLocation = controls.text(c.saveLocation);

    for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
        request.iconFields[i] = controls.text(c.iconFields[i]);
    }
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        request.pointerFields[i] = controls.text(pointerField(set, static_cast<int>(i)));
    }
    // The XP pages have four sound fields; the fifth text stays empty.
    for (std::size_t i = 0; i < c.soundFields.size(); ++i) {
        request.soundFields[i] = controls.text(c.soundFields[i]);
    }
    request.wallpaperField = controls.text(c.wallpaper);
    if (set == PageSet::Win7) {
        request.slideshowField = controls.text(ControlId::Win7Slideshow);
    }
    request.cursorSchemeField = controls.text(c.pointerSchemeName);
    request.soundSchemeField = controls.text(c.soundSchemeName);
    // A tick box is ticked when it shows any mark.
    request.systemScreensaverTicked = !controls.text(c.systemSaverTick).empty();
    request.ownScreensaverTicked = !controls.text(c.ownSaverTick).empty();
    return request;
}

} // namespace

std::span<const ControlId> generationDisableList(PageSet set) {
    if (set == PageSet::Win7) {
        return kWin7DisableList;
    }
    return kXpDisableList;
}

ThemeRequest captureWin7Request(const Controls& controls, const ThemeProject& project) {
    return capture(PageSet::Win7, controls, project);
}

ThemeRequest captureXpRequest(const Controls& controls, const ThemeProject& project) {
    return capture(PageSet::Xp, controls, project);
}

GenerationControlsDisabled::GenerationControlsDisabled(Controls& controls, PageSet set)
    : controls_(controls), list_(generationDisableList(set)) {
    setEnabled(false);
}

GenerationControlsDisabled::~GenerationControlsDisabled() {
    try {
        setEnabled(true);
    } catch (...) {
        // Nothing can be done about it here, and a destructor must not throw.
    }
}

void GenerationControlsDisabled::setEnabled(bool enabled) {
    for (const ControlId id : list_) {
        controls_.setEnabled(id, enabled);
    }
}

} // namespace quorvel
