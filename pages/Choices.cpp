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
        return SchemeGroup{c.pointerScheme, c.pointerSchemeName, pointerRange(s, pointerField),
                           pointerRange(s, pointerButton),
                           defaultSchemeName(s, SchemeKind::Pointers)};
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
                           defaultSchemeName(s, SchemeKind::Sounds)};
    };
    static const SchemeGroup win7 = group(PageSet::Win7);
    static const SchemeGroup xp = group(PageSet::Xp);
    return set == PageSet::Win7 ? win7 : xp;
}

void selectScheme(const SchemeGroup& group, Controls& controls) {
    const int item = controls.comboIndex(group.combo);
    const bool custom = item == kCustomSchemeItem;
    controls.setEnabled(group.nameField, custom);
    controls.setText(group.nameField, item == kDefaultSchemeItem ? group.defaultName : "");
    for (ControlId field : group.pathFields) {
        controls.setEnabled(field, custom);
        controls.setText(field, "");
    }
    for (ControlId button : group.buttons) {
        controls.setEnabled(button, custom);
    }
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

// A click on one of the two tick boxes: the document's rule (tickScreensaver) on what the row
// shows, written back with the list enabled while its box is set and the own file's field and
// button while theirs is.
void clickScreensaverBox(PageSet set, Controls& controls, ScreensaverSource box) {
    const PageSetControls& c = pageSetControls(set);
    PageChoices choices;
    if (controls.text(c.systemSaverTick) == kTickMark) {
        choices.screensaver = ScreensaverSource::System;
    } else if (controls.text(c.ownSaverTick) == kTickMark) {
        choices.screensaver = ScreensaverSource::Own;
    }
    choices.systemScreensaverItem = controls.comboIndex(c.systemSaver);
    choices.ownScreensaverPath = controls.text(c.ownSaverField);
    tickScreensaver(choices, box, choices.screensaver != box);

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

} // namespace

void toggleSystemScreensaver(PageSet set, Controls& controls) {
    clickScreensaverBox(set, controls, ScreensaverSource::System);
}

void toggleOwnScreensaver(PageSet set, Controls& controls) {
    clickScreensaverBox(set, controls, ScreensaverSource::Own);
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
