// The browse buttons: what each picker records, and how cancels and repeated picks behave.
#include "MemoryControls.h"
#include "ScriptedDialogs.h"
#include "pages/ControlTable.h"
#include "pages/Pickers.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace quorvel::test {
namespace {

using C = ControlId;

class PickerTest : public testing::Test {
protected:
    ScriptedDialogs dialogs;
    FileDialogState dialogState;
    MemoryControls controls;
    ThemeProject project;

    void pick(ControlId button) {
        const AssetPickerDef* picker = findAssetPicker(button);
        ASSERT_NE(picker, nullptr) << button;
        pickAssetFile(*picker, dialogs, dialogState, controls, project);
    }
};

TEST_F(PickerTest, EveryBrowseButtonFillsItsFieldAndTheSlotOfItsRoleOnBothPageSets) {
    struct Expected {
        ControlId button;
        ControlId field;
        std::string_view filter;
        const AssetRef* slot;
    };
    std::vector<Expected> all;
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const PageSetControls& c = pageSetControls(set);
        for (std::size_t i = 0; i < c.iconFields.size(); ++i) {
            all.push_back(
                {c.iconButtons[i], c.iconFields[i], filter::kIcon, &project.iconFiles[i]});
        }
        for (int role = 0; role < kPointerRoleCount; ++role) {
            all.push_back({pointerButton(set, role), pointerField(set, role), filter::kPointer,
                           &project.cursorFiles[static_cast<std::size_t>(role)]});
        }
        for (std::size_t i = 0; i < c.soundFields.size(); ++i) {
            all.push_back(
                {c.soundButtons[i], c.soundFields[i], filter::kSound, &project.soundFiles[i]});
        }
        all.push_back(
            {c.ownSaverButton, c.ownSaverField, filter::kScreensaver, &project.screensaverFile});
        all.push_back({c.wallpaperButton, c.wallpaper, filter::kPicture, &project.wallpaperFile});
        all.push_back(
            {c.visualStyleButton, c.visualStyle, filter::kStyle, &project.visualStyleFile});
    }
    std::set<ControlId> seen;
    for (const Expected& e : all) {
        const std::string name(controlDef(e.button).name);
        const std::string path = "C:\\t\\" + name + ".file";
        SCOPED_TRACE(name);
        dialogs.fileAnswers.push_back(path);
        pick(e.button);
        ASSERT_FALSE(dialogs.openFileCalls.empty());
        EXPECT_EQ(dialogs.openFileCalls.back().filter, std::string(e.filter) + "||");
        EXPECT_EQ(controls.text(e.field), path);
        EXPECT_EQ(*e.slot, (AssetRef{path, name + ".file"}));
        seen.insert(e.button);
    }
    EXPECT_EQ(seen.size(), all.size());
    EXPECT_EQ(seen.size(), assetPickers().size()) << "every picker is covered";
    EXPECT_EQ(findAssetPicker(C::Win7SlideshowBrowse), nullptr);
}

TEST_F(PickerTest, XpPickReplacesTheWindows7ChoiceWithoutTouchingItsField) {
    controls.setText(pointerField(PageSet::Win7, 1), "C:\\old\\busy.ani");
    project.cursorFiles[1] = {"C:\\old\\busy.ani", "busy.ani"};
    dialogs.fileAnswers.push_back("C:\\t\\My Cursor.ani");
    pick(pointerButton(PageSet::Xp, 1));
    EXPECT_EQ(controls.text(pointerField(PageSet::Xp, 1)), "C:\\t\\My Cursor.ani");
    EXPECT_EQ(controls.text(pointerField(PageSet::Win7, 1)), "C:\\old\\busy.ani");
    EXPECT_EQ(project.cursorFiles[1], (AssetRef{"C:\\t\\My Cursor.ani", "My Cursor.ani"}));
}

TEST_F(PickerTest, ChineseNamesKeepTheirWholeFileName) {
    // GBK "淺" is 9C 5C and "奬" 8A 5C: a byte-wise split of the GBK text would cut them.
    dialogs.fileAnswers.push_back("C:\\图标\\淺色奬.ico");
    pick(C::Win7IconComputerBrowse);
    EXPECT_EQ(project.iconFiles[1].fileName, "淺色奬.ico");
    dialogs.fileAnswers.push_back("noseparator.ico");
    pick(C::Win7IconComputerBrowse);
    EXPECT_EQ(project.iconFiles[1].fileName, "noseparator.ico");
}

TEST_F(PickerTest, EachDialogOpensOnTheLastConfirmedPath) {
    dialogs.fileAnswers.push_back("D:\\icons\\a.ico");
    pick(C::Win7IconDocumentsBrowse);
    dialogs.fileAnswers.push_back(std::nullopt); // cancelled: the name stays
    pick(pointerButton(PageSet::Xp, 1));
    dialogs.fileAnswers.push_back("E:\\sounds\\b.wav");
    pick(C::Win7SoundShutdownBrowse);
    pick(C::XpWallpaperBrowse);
    ASSERT_EQ(dialogs.openFileCalls.size(), 4u);
    EXPECT_EQ(dialogs.openFileCalls[0].initialFileName, "");
    EXPECT_EQ(dialogs.openFileCalls[1].initialFileName, "D:\\icons\\a.ico");
    EXPECT_EQ(dialogs.openFileCalls[2].initialFileName, "D:\\icons\\a.ico");
    EXPECT_EQ(dialogs.openFileCalls[3].initialFileName, "E:\\sounds\\b.wav");
}

TEST_F(PickerTest, CancelledPickChangesNothing) {
    controls.setText(C::Win7Wallpaper, "typed");
    project.wallpaperFile = {"C:\\w.jpg", "w.jpg"};
    dialogs.fileAnswers.push_back(std::nullopt);
    pick(C::Win7WallpaperBrowse);
    EXPECT_EQ(controls.text(C::Win7Wallpaper), "typed");
    EXPECT_EQ(project.wallpaperFile, (AssetRef{"C:\\w.jpg", "w.jpg"}));
}

TEST_F(PickerTest, SlideshowSelectionReplacesTheEarlierOneAsAWhole) {
    dialogs.filesAnswers.push_back({"C:\\p\\a.jpg", "C:\\p\\b.jpg", "C:\\p\\淺.jpg"});
    pickSlideshowFiles(dialogs, controls, project);
    ASSERT_EQ(dialogs.openFilesCalls.size(), 1u);
    EXPECT_EQ(dialogs.openFilesCalls[0].title, "请选择需要的幻灯壁纸!");
    EXPECT_EQ(dialogs.openFilesCalls[0].filter, "JPG文件|*.jpg||");
    EXPECT_EQ(controls.text(C::Win7Slideshow), "a.jpg;b.jpg;淺.jpg;");
    ASSERT_EQ(project.slideshowFiles.size(), 3u);
    EXPECT_EQ(project.slideshowFiles[2], (AssetRef{"C:\\p\\淺.jpg", "淺.jpg"}));

    dialogs.filesAnswers.push_back({}); // cancelled
    pickSlideshowFiles(dialogs, controls, project);
    EXPECT_EQ(controls.text(C::Win7Slideshow), "a.jpg;b.jpg;淺.jpg;");
    EXPECT_EQ(project.slideshowFiles.size(), 3u);

    dialogs.filesAnswers.push_back({"D:\\q\\c.jpg"});
    pickSlideshowFiles(dialogs, controls, project);
    EXPECT_EQ(controls.text(C::Win7Slideshow), "c.jpg;");
    ASSERT_EQ(project.slideshowFiles.size(), 1u);
    EXPECT_EQ(project.slideshowFiles[0], (AssetRef{"D:\\q\\c.jpg", "c.jpg"}));
}

TEST_F(PickerTest, SaveFolderIsKeptWhenTheBrowserIsCancelled) {
    dialogs.folderAnswers.push_back("D:\\themes");
    pickSaveFolder(C::Win7SaveLocation, dialogs, controls);
    EXPECT_EQ(controls.text(C::Win7SaveLocation), "D:\\themes");
    EXPECT_EQ(dialogs.folderTitles.at(0), "请选择保存位置...");

    dialogs.folderAnswers.push_back(std::nullopt);
    pickSaveFolder(C::Win7SaveLocation, dialogs, controls);
    EXPECT_EQ(controls.text(C::Win7SaveLocation), "D:\\themes");

    dialogs.folderAnswers.push_back(std::string()); // not a file-system folder
    pickSaveFolder(C::Win7SaveLocation, dialogs, controls);
    EXPECT_EQ(controls.text(C::Win7SaveLocation), "D:\\themes");

    dialogs.folderAnswers.push_back("E:\\");
    pickSaveFolder(C::XpSaveLocation, dialogs, controls);
    EXPECT_EQ(controls.text(C::XpSaveLocation), "E:\\");
    EXPECT_EQ(controls.text(C::Win7SaveLocation), "D:\\themes");
}

TEST(PickerFilters, AreClosedOnce) {
    EXPECT_EQ(closedFilter("系统图标|*.ico"), "系统图标|*.ico||");
    EXPECT_EQ(closedFilter("a|*.x||"), "a|*.x||");
}

} // namespace
} // namespace quorvel::test
