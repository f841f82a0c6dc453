#include "pages/Choices.h"

#include "model/Texts.h"
#include "pages/ControlTable.h"

#include <array>

namespace quorvel {

namespace {

std::vector<ControlId> pointerRange(PageSet set, ControlId (*of)(PageSet, int)) {
    std::vector<ControlId> ids;
    for (int role = 0; role < kPointerRoleCount; ++role) {
        ids.push_back(of(set, role));
    }
    return ids;
}

// Shows the message of a page check that failed; true when it passed.
bool passes(std::optional<std::string_view> message, Platform& platform) {
    if (message) {
        platform.messageBox(std::string(*message), MessageIcon::Error,
                            std::string(text::kErrorTitle));
    }
    return !message;
}

SchemeChoice schemeOfControls(const SchemeGroup& group, const Controls& controls) {
    return {controls.comboIndex(group.combo), controls.text(group.nameField)};
}

} // namespace

const SchemeGroup& cursorSchemeGroup(PageSet set) {
    const auto group = [](PageSet s) {
        const PageSetControls& c = pageSetControls(s);
        return SchemeGroup{c.pointerScheme,
                           c.pointerSchemeName,
                           pointerRange(s, pointerField),
                           pointerRange(s, pointerButton),
                           defaultSchemeName(s, SchemeKind::Pointers),
                           s,
                           SchemeKind::Pointers};
    };
    static const SchemeGroup win7 = group(PageSet::Win7);
    static const SchemeGroup xp = group(PageSet::Xp);
    return set == PageSet::Win7 ? win7 : xp;
}

const SchemeGroup& soundSchemeGroup(PageSet set) {
    const auto group = [](PageSet s) {
        const PageSetControls& c = pageSetControls(s);
        return SchemeGroup{c.soundScheme,
                           c.soundSchemeName,
                           {c.soundFields.begin(), c.soundFields.end()},
                           {c.soundButtons.begin(), c.soundButtons.end()},
                           defaultSchemeName(s, SchemeKind::Sounds),
                           s,
                           SchemeKind::Sounds};
    };
    static const SchemeGroup win7 = group(PageSet::Win7);
    static const SchemeGroup xp = group(PageSet::Xp);
    return set == PageSet::Win7 ? win7 : xp;
}

void showScheme(const SchemeGroup& group, const PageChoices& choices, Controls& controls) {
    const bool pointers = group.kind == SchemeKind::Pointers;
    const SchemeChoice& scheme = pointers ? choices.pointerScheme : choices.soundScheme;
    const bool custom = scheme.item == kCustomSchemeItem;
    controls.setComboIndex(group.combo, scheme.item);
    controls.setEnabled(group.nameField, custom);
    controls.setText(group.nameField, scheme.name);
    for (std::size_t i = 0; i < group.pathFields.size(); ++i) {
        controls.setEnabled(group.pathFields[i], custom);
        controls.setText(group.pathFields[i],
                         pointers ? choices.pointerPaths.at(i) : choices.soundPaths.at(i));
    }
    for (ControlId button : group.buttons) {
        controls.setEnabled(button, custom);
    }
}

void selectScheme(const SchemeGroup& group, Controls& controls, PageChoices& choices) {
    chooseScheme(choices, group.set, group.kind, controls.comboIndex(group.combo));
    showScheme(group, choices, controls);
}

void selectScheme(const SchemeGroup& group, Controls& controls) {
    PageChoices scratch;
    selectScheme(group, controls, scratch);
}

void selectCursorScheme(PageSet set, Controls& controls) {
    selectScheme(cursorSchemeGroup(set), controls);
}

void selectSoundScheme(PageSet set, Controls& controls) {
    selectScheme(soundSchemeGroup(set), controls);
}

bool commitCursorSchemePage(PageSet set, const Controls& controls, Platform& platform) {
    PageChoices choices;
    choices.pointerScheme = schemeOfControls(cursorSchemeGroup(set), controls);
    return passes(pointerPageCheck(choices), platform);
}

bool commitSoundSchemePage(PageSet set, const Controls& controls, Platform& platform) {
    PageChoices choices;
    choices.soundScheme = schemeOfControls(soundSchemeGroup(set), controls);
    return passes(soundPageCheck(choices), platform);
}

bool commitStylePage(ControlId visualStyle, const Controls& controls, Platform& platform) {
    PageChoices choices;
    choices.visualStylePath = controls.text(visualStyle);
    return passes(stylePageCheck(choices), platform);
}

namespace {

// The screensaver row as the controls show it.
PageChoices screensaverRowOf(PageSet set, const Controls& controls) {
    const PageSetControls& c = pageSetControls(set);
    PageChoices choices;
    if (controls.text(c.systemSaverTick) == kTickMark) {
        choices.screensaver = ScreensaverSource::System;
    } else if (controls.text(c.ownSaverTick) == kTickMark) {
        choices.screensaver = ScreensaverSource::Own;
    }
    choices.systemScreensaverItem = controls.comboIndex(c.systemSaver);
    choices.ownScreensaverPath = controls.text(c.ownSaverField);
    return choices;
}

} // namespace

void clickScreensaverBox(PageSet set, ScreensaverSource box, PageChoices& choices,
                         Controls& controls) {
    tickScreensaver(choices, box, choices.screensaver != box);
    showScreensaver(set, choices, controls);
}

void showScreensaver(PageSet set, const PageChoices& choices, Controls& controls) {
    const PageSetControls& c = pageSetControls(set);
    const bool system = choices.screensaver == ScreensaverSource::System;
    const bool own = choices.screensaver == ScreensaverSource::Own;
    controls.setText(c.systemSaverTick, system ? kTickMark : "");
    controls.setText(c.ownSaverTick, own ? kTickMark : "");
    controls.setComboIndex(c.systemSaver, choices.systemScreensaverItem);
    controls.setEnabled(c.systemSaver, system);
    controls.setText(c.ownSaverField, choices.ownScreensaverPath);
    controls.setEnabled(c.ownSaverField, own);
    controls.setEnabled(c.ownSaverButton, own);
}

void toggleSystemScreensaver(PageSet set, Controls& controls) {
    PageChoices row = screensaverRowOf(set, controls);
    clickScreensaverBox(set, ScreensaverSource::System, row, controls);
}

void toggleOwnScreensaver(PageSet set, Controls& controls) {
    PageChoices row = screensaverRowOf(set, controls);
    clickScreensaverBox(set, ScreensaverSource::Own, row, controls);
}

void selectSystemScreensaver(PageSet set, Controls& controls, ThemeProject& project) {
    const int item = controls.comboIndex(pageSetControls(set).systemSaver);
    const auto table = systemScreensavers(set);
    if (item < 1 || item > static_cast<int>(table.size())) {
        return;
    }
    project.screensaverFile = systemScreensaverPick(set, item);
}

} // namespace quorvel
