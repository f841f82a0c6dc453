// The scheme combos, their page checks, the screensaver tick boxes and the system lists.
#include "MemoryControls.h"
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"

#include <gtest/gtest.h>

namespace quorvel::test {
namespace {

using C = ControlId;

class ChoicesTest : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    RecordingPlatform platform{sandbox->platform()};
    MemoryControls controls;
    ThemeProject project;

    // Records every change in the order it happens, to check the order a group is set in.
    struct Tracing : MemoryControls {
        std::vector<std::string> changes;
        void setText(ControlId id, std::string_view text) override {
            changes.push_back("text " + std::string(controlDef(id).name));
            MemoryControls::setText(id, text);
        }
        void setEnabled(ControlId id, bool enabled) override {
            changes.push_back("enabled " + std::string(controlDef(id).name));
            MemoryControls::setEnabled(id, enabled);
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
        SCOPED_TRACE(controlDef(group->combo).name);
        for (int item : {2, 1, 0, 2}) {
            for (ControlId field : group->pathFields) {
                controls.setText(field, "C:\\picked\\file");
            }
            controls.setText(group->nameField, "typed name");
            controls.setComboIndex(group->combo, item);
            selectScheme(*group, controls);
            EXPECT_EQ(controls.enabled(group->nameField), item == 2);
            EXPECT_EQ(controls.text(group->nameField), item == 1 ? defaultName : "");
            for (ControlId field : group->pathFields) {
                EXPECT_EQ(controls.enabled(field), item == 2) << field;
                EXPECT_EQ(controls.text(field), "") << field;
            }
            for (ControlId button : group->buttons) {
                EXPECT_EQ(controls.enabled(button), item == 2) << button;
            }
        }
    }
    EXPECT_EQ(cursorSchemeGroup(PageSet::Xp).pathFields.size(), 15u);
    EXPECT_EQ(cursorSchemeGroup(PageSet::Win7).buttons.back(), pointerButton(PageSet::Win7, 14));
    EXPECT_EQ(soundSchemeGroup(PageSet::Win7).pathFields.size(), 5u);
    EXPECT_EQ(soundSchemeGroup(PageSet::Xp).pathFields.size(), 4u);
}

TEST_F(ChoicesTest, SchemeGroupIsSetNameFirstThenFieldsThenButtons) {
    Tracing tracing;
    tracing.setComboIndex(C::XpSoundScheme, 2);
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
    controls.setComboIndex(C::Win7PointerScheme, 1);
    selectCursorScheme(PageSet::Win7, controls);
    EXPECT_EQ(project.cursorFiles[0], (AssetRef{"C:\\a.cur", "a.cur"}));
}

TEST_F(ChoicesTest, PointerPageCheckReportsInOrder) {
    // No scheme chosen: only the first message, even with an empty name.
    EXPECT_FALSE(commitCursorSchemePage(PageSet::Win7, controls, platform));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "请选择鼠标方案后再行操作...");
    EXPECT_EQ(platform.messages[0].title, "错误...");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);

    controls.setComboIndex(C::Win7PointerScheme, 2);
    selectCursorScheme(PageSet::Win7, controls);
    EXPECT_FALSE(commitCursorSchemePage(PageSet::Win7, controls, platform));
    EXPECT_EQ(platform.messages.back().text, "请填写鼠标方案名称后后再行操作...");

    controls.setText(C::Win7PointerSchemeName, "我的指针");
    EXPECT_TRUE(commitCursorSchemePage(PageSet::Win7, controls, platform));

    controls.setComboIndex(C::Win7PointerScheme, 1);
    selectCursorScheme(PageSet::Win7, controls);
    EXPECT_TRUE(commitCursorSchemePage(PageSet::Win7, controls, platform));

    controls.setComboIndex(C::XpPointerScheme, 1);
    selectCursorScheme(PageSet::Xp, controls);
    EXPECT_EQ(controls.text(C::XpPointerSchemeName), "Windows default");
    EXPECT_TRUE(commitCursorSchemePage(PageSet::Xp, controls, platform));
    EXPECT_EQ(platform.messages.size(), 2u);
}

TEST_F(ChoicesTest, SoundPageCheckPassesACustomSchemeWithoutFiles) {
    controls.setComboIndex(C::XpSoundScheme, 0);
    EXPECT_FALSE(commitSoundSchemePage(PageSet::Xp, controls, platform));
    EXPECT_EQ(platform.messages.back().text, "请选择声音方案后再行操作...");

    controls.setComboIndex(C::Win7SoundScheme, 2);
    selectSoundScheme(PageSet::Win7, controls);
    EXPECT_FALSE(commitSoundSchemePage(PageSet::Win7, controls, platform));
    EXPECT_EQ(platform.messages.back().text, "请填写声音方案名称后再行操作...");
    controls.setText(C::Win7SoundSchemeName, "清脆");
    EXPECT_TRUE(commitSoundSchemePage(PageSet::Win7, controls, platform));

    controls.setComboIndex(C::XpSoundScheme, 2);
    controls.setText(C::XpSoundSchemeName, "xp");
    EXPECT_TRUE(commitSoundSchemePage(PageSet::Xp, controls, platform));
}

TEST_F(ChoicesTest, TickBoxesMoveThroughTheirFourTransitions) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const PageSetControls& c = pageSetControls(set);
        SCOPED_TRACE(controlDef(c.systemSaverTick).name);
        const auto state = [&] {
            return std::tuple{controls.text(c.systemSaverTick), controls.text(c.ownSaverTick),
                              controls.enabled(c.systemSaver), controls.enabled(c.ownSaverField),
                              controls.enabled(c.ownSaverButton)};
        };
        // clear -> system set
        toggleSystemScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("√", "", true, false, false));
        controls.setComboIndex(c.systemSaver, 3);
        // system set -> own set: the system list goes back to its prompt
        toggleOwnScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("", "√", false, true, true));
        EXPECT_EQ(controls.comboIndex(c.systemSaver), 0);
        controls.setText(c.ownSaverField, "C:\\mine.scr");
        // own set -> system set: the own field is emptied
        toggleSystemScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("√", "", true, false, false));
        EXPECT_EQ(controls.text(c.ownSaverField), "");
        // system set -> clear
        controls.setComboIndex(c.systemSaver, 2);
        toggleSystemScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("", "", false, false, false));
        EXPECT_EQ(controls.comboIndex(c.systemSaver), 0);
        // clear -> own set -> clear
        toggleOwnScreensaver(set, controls);
        controls.setText(c.ownSaverField, "C:\\mine.scr");
        toggleOwnScreensaver(set, controls);
        EXPECT_EQ(state(), std::tuple("", "", false, false, false));
        EXPECT_EQ(controls.text(c.ownSaverField), "");
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
        const ControlId combo = pageSetControls(set).systemSaver;
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
    controls.setComboIndex(C::Win7SystemSaver, 4);
    selectSystemScreensaver(PageSet::Win7, controls, project);
    toggleOwnScreensaver(PageSet::Win7, controls);
    EXPECT_EQ(project.screensaverFile.fileName, "ssText3d.scr");
}

} // namespace
} // namespace quorvel::test
