// The scheme combos, their page checks, the screensaver tick boxes and the system lists.
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "wizard/Choices.h"

#include <gtest/gtest.h>

namespace quorvel::test {
namespace {

class ChoicesTest : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    RecordingPlatform platform{sandbox->platform()};
    MemoryControls controls;
    ThemeProject project;

    // Records every change in the order it happens, to check the order a group is set in.
    struct Tracing : MemoryControls {
        std::vector<std::string> changes;
        void setText(std::string_view name, std::string_view text) override {
            changes.push_back("text " + std::string(name));
            MemoryControls::setText(name, text);
        }
        void setEnabled(std::string_view name, bool enabled) override {
            changes.push_back("enabled " + std::string(name));
            MemoryControls::setEnabled(name, enabled);
        }
    };
};

TEST_F(ChoicesTest, EachSchemeItemSetsItsWholeGroupOnAllFourPages) {
    const std::vector<std::pair<const SchemeGroup*, std::string_view>> groups = {
        {&cursorSchemeGroup(PageSet::Win7), "Windows Aero"},
        {&cursorSchemeGroup(PageSet::Xp), "Windows default"},
        {&soundSchemeGroup(PageSet::Win7), "@%SystemRoot%\\System32\\mmres.dll,-800"},
        {&soundSchemeGroup(PageSet::Xp), "默认声音方案"},
    };
    for (const auto& [group, defaultName] : groups) {
        SCOPED_TRACE(group->combo);
        for (int item : {2, 1, 0, 2}) {
            for (std::string_view field : group->pathFields) {
                controls.setText(field, "C:\\picked\\file");
            }
            controls.setText(group->nameField, "typed name");
            controls.setComboIndex(group->combo, item);
            selectScheme(*group, controls);
            EXPECT_EQ(controls.enabled(group->nameField), item == 2);
            EXPECT_EQ(controls.text(group->nameField), item == 1 ? defaultName : "");
            for (std::string_view field : group->pathFields) {
                EXPECT_EQ(controls.enabled(field), item == 2) << field;
                EXPECT_EQ(controls.text(field), "") << field;
            }
            for (std::string_view button : group->buttons) {
                EXPECT_EQ(controls.enabled(button), item == 2) << button;
            }
        }
    }
    EXPECT_EQ(cursorSchemeGroup(PageSet::Xp).pathFields.size(), 15u);
    EXPECT_EQ(cursorSchemeGroup(PageSet::Win7).buttons.back(), "WAppStarting_打开");
    EXPECT_EQ(soundSchemeGroup(PageSet::Win7).pathFields.size(), 5u);
    EXPECT_EQ(soundSchemeGroup(PageSet::Xp).pathFields.size(), 4u);
}

TEST_F(ChoicesTest, SchemeGroupIsSetNameFirstThenFieldsThenButtons) {
    Tracing tracing;
    tracing.setComboIndex("X声音", 2);
    selectSoundScheme(PageSet::Xp, tracing);
    EXPECT_EQ(tracing.changes,
              (std::vector<std::string>{
                  "enabled X声音方案_名称", "text X声音方案_名称", "enabled X关机声音",
                  "text X关机声音", "enabled X开机声音", "text X开机声音", "enabled X退出系统",
                  "text X退出系统", "enabled X登陆系统", "text X登陆系统", "enabled X关机声音_打开",
                  "enabled X开机声音_打开", "enabled X退出系统_打开", "enabled X登陆系统_打开"}));
}

TEST_F(ChoicesTest, SchemeChoiceLeavesTheSlotsAlone) {
    project.cursorFiles[0] = {"C:\\a.cur", "a.cur"};
    controls.setComboIndex("W鼠标", 1);
    selectCursorScheme(PageSet::Win7, controls);
    EXPECT_EQ(project.cursorFiles[0], (AssetRef{"C:\\a.cur", "a.cur"}));
}

TEST_F(ChoicesTest, PointerPageCheckReportsInOrderAndCapturesOnWindows7Only) {
    // No scheme chosen: only the first message, even with an empty name.
    EXPECT_FALSE(commitCursorSchemePage(PageSet::Win7, controls, project, platform));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "请选择鼠标方案后再行操作...");
    EXPECT_EQ(platform.messages[0].title, "错误...");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);

    controls.setComboIndex("W鼠标", 2);
    selectCursorScheme(PageSet::Win7, controls);
    EXPECT_FALSE(commitCursorSchemePage(PageSet::Win7, controls, project, platform));
    EXPECT_EQ(platform.messages.back().text, "请填写鼠标方案名称后后再行操作...");

    controls.setText("W鼠标方案_名称", "我的指针");
    EXPECT_TRUE(commitCursorSchemePage(PageSet::Win7, controls, project, platform));
    EXPECT_EQ(project.cursorSchemeName, "我的指针");

    controls.setComboIndex("W鼠标", 1);
    selectCursorScheme(PageSet::Win7, controls);
    EXPECT_TRUE(commitCursorSchemePage(PageSet::Win7, controls, project, platform));
    EXPECT_EQ(project.cursorSchemeName, "Windows Aero");

    controls.setComboIndex("X鼠标", 1);
    selectCursorScheme(PageSet::Xp, controls);
    EXPECT_EQ(controls.text("X鼠标方案_名称"), "Windows default");
    EXPECT_TRUE(commitCursorSchemePage(PageSet::Xp, controls, project, platform));
    EXPECT_EQ(project.cursorSchemeName, "Windows Aero") << "XP2 captures nothing";
    EXPECT_EQ(platform.messages.size(), 2u);
}

TEST_F(ChoicesTest, SoundPageCheckPassesACustomSchemeWithoutFiles) {
    controls.setComboIndex("X声音", 0);
    EXPECT_FALSE(commitSoundSchemePage(PageSet::Xp, controls, project, platform));
    EXPECT_EQ(platform.messages.back().text, "请选择声音方案后再行操作...");

    controls.setComboIndex("W声音", 2);
    selectSoundScheme(PageSet::Win7, controls);
    EXPECT_FALSE(commitSoundSchemePage(PageSet::Win7, controls, project, platform));
    EXPECT_EQ(platform.messages.back().text, "请填写声音方案名称后再行操作...");
    controls.setText("W声音方案_名称", "清脆");
    EXPECT_TRUE(commitSoundSchemePage(PageSet::Win7, controls, project, platform));
    EXPECT_EQ(project.soundSchemeName, "清脆");

    controls.setComboIndex("X声音", 2);
    controls.setText("X声音方案_名称", "xp");
    EXPECT_TRUE(commitSoundSchemePage(PageSet::Xp, controls, project, platform));
    EXPECT_EQ(project.soundSchemeName, "清脆") << "XP3 captures nothing";
}

TEST_F(ChoicesTest, TickBoxesMoveThroughTheirFourTransitions) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const ScreensaverControls& c = screensaverControls(set);
        SCOPED_TRACE(c.systemTick);
        const auto state = [&] {
            return std::tuple{controls.text(c.systemTick), controls.text(c.ownTick),
                              controls.enabled(c.systemCombo), controls.enabled(c.ownField),
                              controls.enabled(c.ownButton)};
        };
        // clear -> system set
        toggleSystemScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("√", "", true, false, false));
        controls.setComboIndex(c.systemCombo, 3);
        // system set -> own set: the system list goes back to its prompt
        toggleOwnScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("", "√", false, true, true));
        EXPECT_EQ(controls.comboIndex(c.systemCombo), 0);
        controls.setText(c.ownField, "C:\\mine.scr");
        // own set -> system set: the own field is emptied
        toggleSystemScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("√", "", true, false, false));
        EXPECT_EQ(controls.text(c.ownField), "");
        // system set -> clear
        controls.setComboIndex(c.systemCombo, 2);
        toggleSystemScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("", "", false, false, false));
        EXPECT_EQ(controls.comboIndex(c.systemCombo), 0);
        // clear -> own set -> clear
        toggleOwnScreensaver(set, controls);
        controls.setText(c.ownField, "C:\\mine.scr");
        toggleOwnScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("", "", false, false, false));
        EXPECT_EQ(controls.text(c.ownField), "");
    }
}

TEST_F(ChoicesTest, SystemListsRecordTheUnexpandedSystemPath) {
    const std::vector<std::string_view> win7 = {"PhotoScreensaver.scr", "Ribbons.scr",
                                                "scrnsave.scr",         "ssText3d.scr",
                                                "Mystify.scr",          "Bubbles.scr"};
    const std::vector<std::string_view> xp = {
        "logon.scr",  "ssbezier.scr", "ssflwbox.scr", "ss3dfo.scr",  "ssmypics.scr", "ssmarque.scr",
        "ssmyst.scr", "scrnsave.scr", "sspipes.scr",  "ssstars.scr", "sstext3d.scr"};
    for (auto [set, names] : {std::pair{PageSet::Win7, win7}, std::pair{PageSet::Xp, xp}}) {
        const std::string_view combo = screensaverControls(set).systemCombo;
        ASSERT_EQ(systemScreensavers(set).size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            controls.setComboIndex(combo, static_cast<int>(i + 1));
            selectSystemScreensaver(set, controls, project);
            EXPECT_EQ(project.screensaverFile,
                      (AssetRef{"%SystemRoot%\\System32\\" + std::string(names[i]),
                                std::string(names[i])}));
        }
        controls.setComboIndex(combo, 0);
        selectSystemScreensaver(set, controls, project);
        EXPECT_EQ(project.screensaverFile.fileName, names.back()) << "the prompt changes nothing";
    }
    EXPECT_EQ(systemScreensavers(PageSet::Win7)[3].item, "三维文字");
    EXPECT_EQ(systemScreensavers(PageSet::Xp)[3].item, "三维飞行物");
}

TEST_F(ChoicesTest, OwnTickKeepsAnEarlierSystemPickUntilAFileIsPicked) {
    toggleSystemScreensaver(PageSet::Win7, controls);
    controls.setComboIndex("W系统屏保", 4);
    selectSystemScreensaver(PageSet::Win7, controls, project);
    toggleOwnScreensaver(PageSet::Win7, controls);
    EXPECT_EQ(project.screensaverFile.fileName, "ssText3d.scr");
}

} // namespace
} // namespace quorvel::test
