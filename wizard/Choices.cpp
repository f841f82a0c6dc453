#include "wizard/Choices.h"

#include "model/Texts.h"

#include <array>

namespace quorvel {

namespace {

constexpr std::array<SystemScreensaver, 6> kWin7Screensavers = {{
    {"照片", "PhotoScreensaver.scr"},
    {"彩带", "Ribbons.scr"},
    {"空白", "scrnsave.scr"},
    {"三维文字", "ssText3d.scr"},
    {"变幻线", "Mystify.scr"},
    {"气泡", "Bubbles.scr"},
}};

constexpr std::array<SystemScreensaver, 11> kXpScreensavers = {{
    {"Windows XP", "logon.scr"},
    {"贝赛尔曲线", "ssbezier.scr"},
    {"三维花盒", "ssflwbox.scr"},
    {"三维飞行物", "ss3dfo.scr"},
    {"图片幻灯片收藏", "ssmypics.scr"},
    {"字幕", "ssmarque.scr"},
    {"变幻线", "ssmyst.scr"},
    {"空白", "scrnsave.scr"},
    {"三维管道", "sspipes.scr"},
    {"飞跃星空", "ssstars.scr"},
    {"三维文字", "sstext3d.scr"},
}};

// The names of the pointer page's path fields (prefix + role) or browse buttons (with suffix),
// kept for the whole run so that the scheme groups can refer to them.
std::vector<std::string_view> pointerControls(std::string_view prefix, std::string_view suffix) {
    static std::vector<std::string> storage = [] {
        std::vector<std::string> names;
        for (std::string_view set : {"W", "X"}) {
            for (std::string_view end : {"", "_打开"}) {
                for (std::string_view role : kPointerRoles) {
                    names.push_back(std::string(set) + std::string(role) + std::string(end));
                }
            }
        }
        return names;
    }();
    const std::size_t group = (prefix == "W" ? 0 : 2) + (suffix.empty() ? 0 : 1);
    const auto first = storage.begin() + static_cast<std::ptrdiff_t>(group * kPointerRoles.size());
    return {first, first + static_cast<std::ptrdiff_t>(kPointerRoles.size())};
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
    static const SchemeGroup win7{"W鼠标", "W鼠标方案_名称", pointerControls("W", ""),
                                  pointerControls("W", "_打开"), "Windows Aero"};
    static const SchemeGroup xp{"X鼠标", "X鼠标方案_名称", pointerControls("X", ""),
                                pointerControls("X", "_打开"), "Windows default"};
    return set == PageSet::Win7 ? win7 : xp;
}

const SchemeGroup& soundSchemeGroup(PageSet set) {
    static const SchemeGroup win7{
        "W声音",
        "W声音方案_名称",
        {"W关机声音", "W开机声音", "W退出系统", "W登陆系统", "W切换主题"},
        {"W关机声音_打开", "W开机声音_打开", "W退出系统_打开", "W登陆系统_打开", "W切换主题_打开"},
        "@%SystemRoot%\\System32\\mmres.dll,-800"};
    static const SchemeGroup xp{
        "X声音",
        "X声音方案_名称",
        {"X关机声音", "X开机声音", "X退出系统", "X登陆系统"},
        {"X关机声音_打开", "X开机声音_打开", "X退出系统_打开", "X登陆系统_打开"},
        "默认声音方案"};
    return set == PageSet::Win7 ? win7 : xp;
}

void selectScheme(const SchemeGroup& group, Controls& controls) {
    const int item = controls.comboIndex(group.combo);
    const bool custom = item == kCustomSchemeItem;
    controls.setEnabled(group.nameField, custom);
    controls.setText(group.nameField, item == kDefaultSchemeItem ? group.defaultName : "");
    for (std::string_view field : group.pathFields) {
        controls.setEnabled(field, custom);
        controls.setText(field, "");
    }
    for (std::string_view button : group.buttons) {
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

const ScreensaverControls& screensaverControls(PageSet set) {
    static const ScreensaverControls win7{"W系统屏保_选择", "W屏保文件_选择", "W系统屏保",
                                          "W屏保文件_路径", "W屏保文件_打开"};
    static const ScreensaverControls xp{"X系统屏保_选择", "X自己屏保_选择", "X系统屏保",
                                        "X自己屏保", "X自己屏保_打开"};
    return set == PageSet::Win7 ? win7 : xp;
}

void toggleSystemScreensaver(PageSet set, Controls& controls) {
    const ScreensaverControls& c = screensaverControls(set);
    if (controls.text(c.systemTick) == kTickMark) {
        controls.setText(c.systemTick, "");
        controls.setComboIndex(c.systemCombo, 0);
        controls.setEnabled(c.systemCombo, false);
        return;
    }
    controls.setText(c.systemTick, kTickMark);
    controls.setText(c.ownTick, "");
    controls.setEnabled(c.systemCombo, true);
    controls.setText(c.ownField, "");
    controls.setEnabled(c.ownField, false);
    controls.setEnabled(c.ownButton, false);
}

void toggleOwnScreensaver(PageSet set, Controls& controls) {
    const ScreensaverControls& c = screensaverControls(set);
    if (controls.text(c.ownTick) == kTickMark) {
        controls.setText(c.ownTick, "");
        controls.setText(c.ownField, "");
        controls.setEnabled(c.ownField, false);
        controls.setEnabled(c.ownButton, false);
        return;
    }
    controls.setText(c.ownTick, kTickMark);
    controls.setText(c.systemTick, "");
    controls.setComboIndex(c.systemCombo, 0);
    controls.setEnabled(c.systemCombo, false);
    controls.setEnabled(c.ownField, true);
    controls.setEnabled(c.ownButton, true);
}

std::span<const SystemScreensaver> systemScreensavers(PageSet set) {
    if (set == PageSet::Win7) {
        return kWin7Screensavers;
    }
    return kXpScreensavers;
}

void selectSystemScreensaver(PageSet set, Controls& controls, ThemeProject& project) {
    const int item = controls.comboIndex(screensaverControls(set).systemCombo);
    const auto table = systemScreensavers(set);
    if (item < 1 || item > static_cast<int>(table.size())) {
        return;
    }
    const std::string_view fileName = table[static_cast<std::size_t>(item - 1)].fileName;
    project.screensaverFile = {std::string(kSystemFolder) + std::string(fileName),
                               std::string(fileName)};
}

} // namespace quorvel
