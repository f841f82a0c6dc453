#include "wizard/Choices.h"

#include "model/Texts.h"
#include "wizard/ControlTable.h"

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

void toggleSystemScreensaver(PageSet set, Controls& controls) {
    const PageSetControls& c = pageSetControls(set);
    if (controls.text(c.systemSaverTick) == kTickMark) {
        controls.setText(c.systemSaverTick, "");
        controls.setComboIndex(c.systemSaver, 0);
        controls.setEnabled(c.systemSaver, false);
        return;
    }
    controls.setText(c.systemSaverTick, kTickMark);
    controls.setText(c.ownSaverTick, "");
    controls.setEnabled(c.systemSaver, true);
    controls.setText(c.ownSaverField, "");
    controls.setEnabled(c.ownSaverField, false);
    controls.setEnabled(c.ownSaverButton, false);
}

void toggleOwnScreensaver(PageSet set, Controls& controls) {
    const PageSetControls& c = pageSetControls(set);
    if (controls.text(c.ownSaverTick) == kTickMark) {
        controls.setText(c.ownSaverTick, "");
        controls.setText(c.ownSaverField, "");
        controls.setEnabled(c.ownSaverField, false);
        controls.setEnabled(c.ownSaverButton, false);
        return;
    }
    controls.setText(c.ownSaverTick, kTickMark);
    controls.setText(c.systemSaverTick, "");
    controls.setComboIndex(c.systemSaver, 0);
    controls.setEnabled(c.systemSaver, false);
    controls.setEnabled(c.ownSaverField, true);
    controls.setEnabled(c.ownSaverButton, true);
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
