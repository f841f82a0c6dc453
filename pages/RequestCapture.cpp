#include "pages/RequestCapture.h"

#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/PageFlow.h"
#include "pages/WindowStyle.h"

#include <array>

namespace quorvel {

namespace {

constexpr std::array<ControlId, 5> kWin7DisableList = {
    ControlId::Win7ThemeName, ControlId::Win7DisplayName, ControlId::Win7SaveLocation,
    ControlId::Win7NamesBack, ControlId::Win7Generate};
constexpr std::array<ControlId, 6> kXpDisableList = {
    ControlId::XpThemeName,          ControlId::XpSaveLocation, ControlId::XpDisplayName,
    ControlId::XpSaveLocationBrowse, ControlId::XpNamesBack,    ControlId::XpGenerate};

bool isPageSetPage(std::optional<Page> page) {
    return page && *page >= Page::Win71 && *page <= Page::Xp6;
}

// Every control of the two page sets back to the state the wizard starts with.
void resetPageSets(WizardUi& ui) {
    for (const ControlDef& def : controlTable()) {
        if (!isPageSetPage(def.page) || def.kind == ControlKind::PagePicture) {
            continue;
        }
        ui.setEnabled(def.id, def.enabled);
        switch (def.kind) {
        case ControlKind::EditField:
        case ControlKind::TickBox:
            ui.setText(def.id, def.caption);
            break;
        case ControlKind::ComboBox:
            ui.setComboIndex(def.id, 0);
            break;
        case ControlKind::Slider:
            ui.setSliderPosition(def.id, def.position);
            break;
        default:
            break;
        }
    }
}

// Ticks or clears a tick box through the handler of its release, as a click would.
void setTick(WizardUi& ui, PageSet set, ScreensaverSource box, bool ticked) {
    const PageSetControls& c = pageSetControls(set);
    const ControlId id = box == ScreensaverSource::System ? c.systemSaverTick : c.ownSaverTick;
    if (!ui.text(id).empty() == ticked) {
        return;
    }
    if (box == ScreensaverSource::System) {
        toggleSystemScreensaver(set, ui);
    } else {
        toggleOwnScreensaver(set, ui);
    }
}

PageChoices choicesOfControls(const WizardUi& ui, PageSet set) {
    const PageSetControls& c = pageSetControls(set);
    PageChoices choices;
    for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
        choices.iconPaths[i] = ui.text(c.iconFields[i]);
    }
    choices.pointerScheme = {ui.comboIndex(c.pointerScheme), ui.text(c.pointerSchemeName)};
    for (std::size_t i = 0; i < choices.pointerPaths.size(); ++i) {
        choices.pointerPaths[i] = ui.text(pointerField(set, static_cast<int>(i)));
    }
    choices.soundScheme = {ui.comboIndex(c.soundScheme), ui.text(c.soundSchemeName)};
    for (std::size_t i = 0; i < c.soundFields.size(); ++i) {
        choices.soundPaths[i] = ui.text(c.soundFields[i]);
    }
    // A tick box is ticked when it shows any mark.
    if (!ui.text(c.systemSaverTick).empty()) {
        choices.screensaver = ScreensaverSource::System;
    } else if (!ui.text(c.ownSaverTick).empty()) {
        choices.screensaver = ScreensaverSource::Own;
    }
    choices.systemScreensaverItem = ui.comboIndex(c.systemSaver);
    choices.ownScreensaverPath = ui.text(c.ownSaverField);
    choices.wallpaperPath = ui.text(c.wallpaper);
    choices.visualStylePath = ui.text(c.visualStyle);
    if (set == PageSet::Win7) {
        choices.slideshowImages = ui.text(ControlId::Win7Slideshow);
        choices.slideshowInterval = ui.text(ControlId::Win7SlideshowInterval);
        choices.windowColor = ui.text(ControlId::Win7WindowColor);
        choices.transparencySlider = ui.sliderPosition(ControlId::Win7AlphaSlider);
        choices.transparency = ui.text(ControlId::Win7Alpha);
    }
    choices.themeName = ui.text(c.themeName);
    choices.displayName = ui.text(c.displayName);
    choices.saveLocation = ui.text(c.saveLocation);
    return choices;
}

// In the order the pages show the controls: a scheme combo before the fields it governs, a tick
// box before its screensaver row, the slider before its text.
void showChoices(const PageChoices& choices, WizardUi& ui, PageSet set) {
    const PageSetControls& c = pageSetControls(set);
    for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
        ui.setText(c.iconFields[i], choices.iconPaths[i]);
    }
    ui.setComboIndex(c.pointerScheme, choices.pointerScheme.item);
    selectCursorScheme(set, ui);
    ui.setText(c.pointerSchemeName, choices.pointerScheme.name);
    for (std::size_t i = 0; i < choices.pointerPaths.size(); ++i) {
        ui.setText(pointerField(set, static_cast<int>(i)), choices.pointerPaths[i]);
    }
    ui.setComboIndex(c.soundScheme, choices.soundScheme.item);
    selectSoundScheme(set, ui);
    ui.setText(c.soundSchemeName, choices.soundScheme.name);
    for (std::size_t i = 0; i < c.soundFields.size(); ++i) {
        ui.setText(c.soundFields[i], choices.soundPaths[i]);
    }
    setTick(ui, set, ScreensaverSource::System, choices.screensaver == ScreensaverSource::System);
    setTick(ui, set, ScreensaverSource::Own, choices.screensaver == ScreensaverSource::Own);
    ui.setComboIndex(c.systemSaver, choices.systemScreensaverItem);
    ui.setText(c.ownSaverField, choices.ownScreensaverPath);
    ui.setText(c.wallpaper, choices.wallpaperPath);
    if (set == PageSet::Win7) {
        ui.setText(ControlId::Win7Slideshow, choices.slideshowImages);
    }
    ui.setText(c.visualStyle, choices.visualStylePath);
    if (set == PageSet::Win7) {
        ui.setText(ControlId::Win7SlideshowInterval, choices.slideshowInterval);
        ui.setText(ControlId::Win7WindowColor, choices.windowColor);
        ui.setSliderPosition(ControlId::Win7AlphaSlider, choices.transparencySlider);
        onAlphaSliderMoved(ui, choices.transparencySlider);
        ui.setText(ControlId::Win7Alpha, choices.transparency);
    }
    ui.setText(c.themeName, choices.themeName);
    ui.setText(c.displayName, choices.displayName);
    ui.setText(c.saveLocation, choices.saveLocation);
}

} // namespace

std::span<const ControlId> generationDisableList(PageSet set) {
    if (set == PageSet::Win7) {
        return kWin7DisableList;
    }
    return kXpDisableList;
}

ThemeDocument documentOfControls(const WizardUi& ui, const AppState& app, PageSet set) {
    ThemeDocument document;
    document.pageSet = set;
    document.win7 = choicesOfControls(ui, PageSet::Win7);
    document.xp = choicesOfControls(ui, PageSet::Xp);
    document.picks = picksOf(app.project);
    if (app.palette.pickedColor != Rgb{} || app.palette.selectedCell != 0) {
        document.pickedColor = app.palette.pickedColor;
    }
    return document;
}

void showDocument(const ThemeDocument& document, WizardUi& ui, AppState& app) {
    resetPageSets(ui);
    applyPicks(document.picks, app.project);
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        showChoices(document.choices(set), ui, set);
    }
}

ThemeRequest captureRequest(const WizardUi& ui, const AppState& app, PageSet set) {
    return requestOf(documentOfControls(ui, app, set), set);
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
