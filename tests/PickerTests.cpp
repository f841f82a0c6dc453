// The browse buttons: what each picker records, and how cancels and repeated picks behave.
#include "ScriptedDialogs.h"
#include "wizard/Pickers.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace quorvel::test {
namespace {

class PickerTest : public testing::Test {
protected:
    ScriptedDialogs dialogs;
    FileDialogState dialogState;
    MemoryControls controls;
    ThemeProject project;

    void pick(std::string_view button) {
        const AssetPickerDef* picker = findAssetPicker(button);
        ASSERT_NE(picker, nullptr) << button;
        pickAssetFile(*picker, dialogs, dialogState, controls, project);
    }
};

TEST_F(PickerTest, EveryPickerRecordsIntoTheSlotOfItsRole) {
    struct Expected {
        std::string_view field;
        std::string_view filter;
        const AssetRef* slot;
    };
    const std::map<std::string_view, Expected> roles = {
        {"我的文档", {"_图标", filter::kIcon, &project.iconFiles[0]}},
        {"我的电脑", {"_图标", filter::kIcon, &project.iconFiles[1]}},
        {"网上邻居", {"_图标", filter::kIcon, &project.iconFiles[2]}},
        {"回收站空", {"_图标", filter::kIcon, &project.iconFiles[3]}},
        {"回收站满", {"_图标", filter::kIcon, &project.iconFiles[4]}},
        {"UpArrow", {"", filter::kPointer, &project.cursorFiles[0]}},
        {"Wait", {"", filter::kPointer, &project.cursorFiles[1]}},
        {"SizeNWSE", {"", filter::kPointer, &project.cursorFiles[2]}},
        {"SizeNESW", {"", filter::kPointer, &project.cursorFiles[3]}},
        {"NWPen", {"", filter::kPointer, &project.cursorFiles[4]}},
        {"Help", {"", filter::kPointer, &project.cursorFiles[5]}},
        {"SizeWE", {"", filter::kPointer, &project.cursorFiles[6]}},
        {"Hand", {"", filter::kPointer, &project.cursorFiles[7]}},
        {"SizeAll", {"", filter::kPointer, &project.cursorFiles[8]}},
        {"Arrow", {"", filter::kPointer, &project.cursorFiles[9]}},
        {"Crosshair", {"", filter::kPointer, &project.cursorFiles[10]}},
        {"IBeam", {"", filter::kPointer, &project.cursorFiles[11]}},
        {"No", {"", filter::kPointer, &project.cursorFiles[12]}},
        {"SizeNS", {"", filter::kPointer, &project.cursorFiles[13]}},
        {"AppStarting", {"", filter::kPointer, &project.cursorFiles[14]}},
        {"关机声音", {"", filter::kSound, &project.soundFiles[0]}},
        {"开机声音", {"", filter::kSound, &project.soundFiles[1]}},
        {"退出系统", {"", filter::kSound, &project.soundFiles[2]}},
        {"登陆系统", {"", filter::kSound, &project.soundFiles[3]}},
        {"切换主题", {"", filter::kSound, &project.soundFiles[4]}},
        {"桌面壁纸", {"", filter::kPicture, &project.wallpaperFile}},
    };
    std::set<std::string_view> seen;
    for (const auto& [role, expected] : roles) {
        for (std::string_view prefix : {"W", "X"}) {
            if (prefix == "X" && role == "切换主题") {
                EXPECT_EQ(findAssetPicker("X切换主题_打开"), nullptr);
                continue;
            }
            const std::string button = std::string(prefix) + std::string(role) + "_打开";
            const std::string field =
                std::string(prefix) + std::string(role) + std::string(expected.field);
            const std::string path = "C:\\t\\" + button + ".file";
            SCOPED_TRACE(button);
            dialogs.fileAnswers.push_back(path);
            pick(button);
            ASSERT_FALSE(dialogs.openFileCalls.empty());
            EXPECT_EQ(dialogs.openFileCalls.back().filter, std::string(expected.filter) + "||");
            EXPECT_EQ(controls.text(field), path);
            EXPECT_EQ(*expected.slot, (AssetRef{path, button + ".file"}));
            seen.insert(findAssetPicker(button)->button);
        }
    }
    // The three pickers whose field names do not follow the role name.
    for (auto [button, field, slot, mask] :
         {std::tuple{"W屏保文件_打开", "W屏保文件_路径", &project.screensaverFile,
                     filter::kScreensaver},
          std::tuple{"X自己屏保_打开", "X自己屏保", &project.screensaverFile, filter::kScreensaver},
          std::tuple{"W可视化风格文件_打开", "W可视化风格文件", &project.visualStyleFile,
                     filter::kStyle},
          std::tuple{"X可视化风格_打开", "X可视化风格", &project.visualStyleFile,
                     filter::kStyle}}) {
        SCOPED_TRACE(button);
        dialogs.fileAnswers.push_back(std::string("D:\\s\\") + button);
        pick(button);
        EXPECT_EQ(dialogs.openFileCalls.back().filter, std::string(mask) + "||");
        EXPECT_EQ(controls.text(field), std::string("D:\\s\\") + button);
        EXPECT_EQ(slot->fileName, button);
        seen.insert(button);
    }
    EXPECT_EQ(seen.size(), assetPickers().size()) << "every picker is covered";
}

TEST_F(PickerTest, XpPickReplacesTheWindows7ChoiceWithoutTouchingItsField) {
    controls.setText("WWait", "C:\\old\\busy.ani");
    project.cursorFiles[1] = {"C:\\old\\busy.ani", "busy.ani"};
    dialogs.fileAnswers.push_back("C:\\t\\My Cursor.ani");
    pick("XWait_打开");
    EXPECT_EQ(controls.text("XWait"), "C:\\t\\My Cursor.ani");
    EXPECT_EQ(controls.text("WWait"), "C:\\old\\busy.ani");
    EXPECT_EQ(project.cursorFiles[1], (AssetRef{"C:\\t\\My Cursor.ani", "My Cursor.ani"}));
}

TEST_F(PickerTest, ChineseNamesKeepTheirWholeFileName) {
    // GBK "淺" is 9C 5C and "奬" 8A 5C: a byte-wise split of the GBK text would cut them.
    dialogs.fileAnswers.push_back("C:\\图标\\淺色奬.ico");
    pick("W我的电脑_打开");
    EXPECT_EQ(project.iconFiles[1].fileName, "淺色奬.ico");
    dialogs.fileAnswers.push_back("noseparator.ico");
    pick("W我的电脑_打开");
    EXPECT_EQ(project.iconFiles[1].fileName, "noseparator.ico");
}

TEST_F(PickerTest, EachDialogOpensOnTheLastConfirmedPath) {
    dialogs.fileAnswers.push_back("D:\\icons\\a.ico");
    pick("W我的文档_打开");
    dialogs.fileAnswers.push_back(std::nullopt); // cancelled: the name stays
    pick("XWait_打开");
    dialogs.fileAnswers.push_back("E:\\sounds\\b.wav");
    pick("W关机声音_打开");
    pick("X桌面壁纸_打开");
    ASSERT_EQ(dialogs.openFileCalls.size(), 4u);
    EXPECT_EQ(dialogs.openFileCalls[0].initialFileName, "");
    EXPECT_EQ(dialogs.openFileCalls[1].initialFileName, "D:\\icons\\a.ico");
    EXPECT_EQ(dialogs.openFileCalls[2].initialFileName, "D:\\icons\\a.ico");
    EXPECT_EQ(dialogs.openFileCalls[3].initialFileName, "E:\\sounds\\b.wav");
}

TEST_F(PickerTest, CancelledPickChangesNothing) {
    controls.setText("W桌面壁纸", "typed");
    project.wallpaperFile = {"C:\\w.jpg", "w.jpg"};
    dialogs.fileAnswers.push_back(std::nullopt);
    pick("W桌面壁纸_打开");
    EXPECT_EQ(controls.text("W桌面壁纸"), "typed");
    EXPECT_EQ(project.wallpaperFile, (AssetRef{"C:\\w.jpg", "w.jpg"}));
}

TEST_F(PickerTest, SlideshowSelectionReplacesTheEarlierOneAsAWhole) {
    dialogs.filesAnswers.push_back({"C:\\p\\a.jpg", "C:\\p\\b.jpg", "C:\\p\\淺.jpg"});
    pickSlideshowFiles(dialogs, controls, project);
    ASSERT_EQ(dialogs.openFilesCalls.size(), 1u);
    EXPECT_EQ(dialogs.openFilesCalls[0].title, "请选择需要的幻灯壁纸!");
    EXPECT_EQ(dialogs.openFilesCalls[0].filter, "JPG文件|*.jpg||");
    EXPECT_EQ(controls.text("W壁纸文件夹"), "a.jpg;b.jpg;淺.jpg;");
    ASSERT_EQ(project.slideshowFiles.size(), 3u);
    EXPECT_EQ(project.slideshowFiles[2], (AssetRef{"C:\\p\\淺.jpg", "淺.jpg"}));

    dialogs.filesAnswers.push_back({}); // cancelled
    pickSlideshowFiles(dialogs, controls, project);
    EXPECT_EQ(controls.text("W壁纸文件夹"), "a.jpg;b.jpg;淺.jpg;");
    EXPECT_EQ(project.slideshowFiles.size(), 3u);

    dialogs.filesAnswers.push_back({"D:\\q\\c.jpg"});
    pickSlideshowFiles(dialogs, controls, project);
    EXPECT_EQ(controls.text("W壁纸文件夹"), "c.jpg;");
    ASSERT_EQ(project.slideshowFiles.size(), 1u);
    EXPECT_EQ(project.slideshowFiles[0], (AssetRef{"D:\\q\\c.jpg", "c.jpg"}));
}

TEST_F(PickerTest, SaveFolderIsKeptWhenTheBrowserIsCancelled) {
    dialogs.folderAnswers.push_back("D:\\themes");
    pickSaveFolder("W保存位置", dialogs, controls);
    EXPECT_EQ(controls.text("W保存位置"), "D:\\themes");
    EXPECT_EQ(dialogs.folderTitles.at(0), "请选择保存位置...");

    dialogs.folderAnswers.push_back(std::nullopt);
    pickSaveFolder("W保存位置", dialogs, controls);
    EXPECT_EQ(controls.text("W保存位置"), "D:\\themes");

    dialogs.folderAnswers.push_back(std::string()); // not a file-system folder
    pickSaveFolder("W保存位置", dialogs, controls);
    EXPECT_EQ(controls.text("W保存位置"), "D:\\themes");

    dialogs.folderAnswers.push_back("E:\\");
    pickSaveFolder("X保存位置", dialogs, controls);
    EXPECT_EQ(controls.text("X保存位置"), "E:\\");
    EXPECT_EQ(controls.text("W保存位置"), "D:\\themes");
}

TEST(PickerFilters, AreClosedOnce) {
    EXPECT_EQ(closedFilter("系统图标|*.ico"), "系统图标|*.ico||");
    EXPECT_EQ(closedFilter("a|*.x||"), "a|*.x||");
}

} // namespace
} // namespace quorvel::test
