#include "pages/RequestCapture.h"

#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/PageFlow.h"
#include "pages/WindowStyle.h"

#include <array>
#include <utility>

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

// The one mapping from a control of a page set to its member of the page set's choices: writes
// what the control shows into that member. False when the control has none.
bool takeInto(const WizardUi& ui, PageSet set, ControlId id, PageChoices& choices) {
    const PageSetControls& c = pageSetControls(set);
    if (id == c.pointerScheme || id == c.soundScheme || id == c.systemSaver) {
        int& item = id == c.pointerScheme ? choices.pointerScheme.item
                    : id == c.soundScheme ? choices.soundScheme.item
                                          : choices.systemScreensaverItem;
        item = ui.comboIndex(id);
        return true;
    }
    if (id == c.systemSaverTick || id == c.ownSaverTick) {
        // A tick box is ticked when it shows any mark; the two boxes make one member.
        choices.screensaver = ScreensaverSource::None;
        if (!ui.text(c.systemSaverTick).empty()) {
            choices.screensaver = ScreensaverSource::System;
        } else if (!ui.text(c.ownSaverTick).empty()) {
            choices.screensaver = ScreensaverSource::Own;
        }
        return true;
    }
    if (set == PageSet::Win7 && id == ControlId::Win7AlphaSlider) {
        choices.transparencySlider = ui.sliderPosition(id);
        return true;
    }
    std::string* member = nullptr;
    for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
        if (id == c.iconFields[i]) {
            member = &choices.iconPaths[i];
        }
    }
    for (std::size_t i = 0; i < choices.pointerPaths.size(); ++i) {
        if (id == pointerField(set, static_cast<int>(i))) {
            member = &choices.pointerPaths[i];
        }
    }
    for (std::size_t i = 0; i < c.soundFields.size(); ++i) {
        if (id == c.soundFields[i]) {
            member = &choices.soundPaths[i];
        }
    }
    const std::pair<ControlId, std::string*> fields[] = {
        {c.pointerSchemeName, &choices.pointerScheme.name},
        {c.soundSchemeName, &choices.soundScheme.name},
        {c.ownSaverField, &choices.ownScreensaverPath},
        {c.wallpaper, &choices.wallpaperPath},
        {c.visualStyle, &choices.visualStylePath},
        {c.themeName, &choices.themeName},
        {c.displayName, &choices.displayName},
        {c.saveLocation, &choices.saveLocation},
    };
    for (const auto& [field, text] : fields) {
        if (id == field) {
            member = text;
        }
    }
    if (set == PageSet::Win7) {
        const std::pair<ControlId, std::string*> win7Fields[] = {
            {ControlId::Win7Slideshow, &choices.slideshowImages},
            {ControlId::Win7SlideshowInterval, &choices.slideshowInterval},
            {ControlId::Win7WindowColor, &choices.windowColor},
            {ControlId::Win7Alpha, &choices.transparency},
        };
        for (const auto& [field, text] : win7Fields) {
            if (id == field) {
                member = text;
            }
        }
    }
    if (!member) {
        return false;
    }
    *member = ui.text(id);
    return true;
}

// In the order the pages show the controls: a scheme combo before the fields it governs, a tick
// box before its screensaver row, the slider before its text.
void showChoices(const PageChoices& choices, WizardUi& ui, PageSet set) {
    const PageSetControls& c = pageSetControls(set);
    for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
        ui.setText(c.iconFields[i], choices.iconPaths[i]);
    }
    showScheme(cursorSchemeGroup(set), choices, ui);
    showScheme(soundSchemeGroup(set), choices, ui);
    showScreensaver(set, choices, ui);
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

bool takeControl(const WizardUi& ui, ControlId id, ThemeDocument& document) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        if (takeInto(ui, set, id, document.choices(set))) {
            return true;
        }
    }
    return false;
}

void takePicks(const AppState& app, ThemeDocument& document) {
    document.picks = picksOf(app.project);
    document.pickedColor.reset();
    if (app.palette.pickedColor != Rgb{} || app.palette.selectedCell != 0) {
        document.pickedColor = app.palette.pickedColor;
    }
}

ThemeDocument documentOfControls(const WizardUi& ui, const AppState& app, PageSet set) {
    ThemeDocument document;
    document.pageSet = set;
    for (const ControlDef& def : controlTable()) {
        if (isPageSetPage(def.page)) {
            takeControl(ui, def.id, document);
        }
    }
    takePicks(app, document);
    return document;
}

void showDocument(const ThemeDocument& document, WizardUi& ui, AppState& app) {
    resetPageSets(ui);
    applyPicks(document.picks, app.project);
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        showChoices(document.choices(set), ui, set);
    }
    app.document = document;
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
