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

struct SchemeCheck {
    std::string_view noSchemeMessage;
    std::string_view noNameMessage;
};

bool commitSchemePage(const SchemeGroup& group, const SchemeCheck& check, Controls& controls,
                      Platform& platform, std::string* capture) {
    const int item = controls.comboIndex(group.combo);
    if (item == kNoSchemeItem) {
        platform.messageBox(std::string(check.noSchemeMessage), MessageIcon::Error,
                            std::string(text::kErrorTitle));
        return false;
    }
    if (item == kCustomSchemeItem && controls.text(group.nameField).empty()) {
        platform.messageBox(std::string(check.noNameMessage), MessageIcon::Error,
                            std::string(text::kErrorTitle));
        return false;
    }
    if (capture) {
        *capture = controls.text(group.nameField);
    }
    return true;
}

} // namespace

const SchemeGroup& cursorSchemeGroup(PageSet set) {
    const auto group = [](PageSet s, std::string_view defaultName) {
        const PageSetControls& c = pageSetControls(s);
        return SchemeGroup{c.pointerScheme, c.pointerSchemeName, pointerRange(s, pointerField),
                           pointerRange(s, pointerButton), defaultName};
    };
    static const SchemeGroup win7 = group(PageSet::Win7, "Windows Aero");
    static const SchemeGroup xp = group(PageSet::Xp, "Windows default");
    return set == PageSet::Win7 ? win7 : xp;
}

const SchemeGroup& soundSchemeGroup(PageSet set) {
    const auto group = [](PageSet s, std::string_view defaultName) {
        const PageSetControls& c = pageSetControls(s);
        return SchemeGroup{c.soundScheme,
                           c.soundSchemeName,
                           {c.soundFields.begin(), c.soundFields.end()},
                           {c.soundButtons.begin(), c.soundButtons.end()},
                           defaultName};
    };
    static const SchemeGroup win7 = group(PageSet::Win7, "@%SystemRoot%\\System32\\mmres.dll,-800");
    static const SchemeGroup xp = group(PageSet::Xp, text::kXpDefaultSoundScheme);
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

bool commitCursorSchemePage(PageSet set, Controls& controls, ThemeProject& project,
                            Platform& platform) {
    return commitSchemePage(cursorSchemeGroup(set),
                            {text::kNoCursorScheme, text::kNoCursorSchemeName}, controls, platform,
                            set == PageSet::Win7 ? &project.cursorSchemeName : nullptr);
}

bool commitSoundSchemePage(PageSet set, Controls& controls, ThemeProject& project,
                           Platform& platform) {
    return commitSchemePage(soundSchemeGroup(set), {text::kNoSoundScheme, text::kNoSoundSchemeName},
                            controls, platform,
                            set == PageSet::Win7 ? &project.soundSchemeName : nullptr);
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
    const std::string_view fileName = table[static_cast<std::size_t>(item - 1)].fileName;
    project.screensaverFile = {std::string(kSystemFolder) + std::string(fileName),
                               std::string(fileName)};
}

} // namespace quorvel
