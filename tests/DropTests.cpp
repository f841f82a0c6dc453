// Files dropped onto the window: a drop takes the same way as the browse button's pick, and
// every drop that does not fit its place is refused with one message and changes nothing.
#include "MemoryControls.h"
#include "WizardHarness.h"
#include "model/Texts.h"
#include "pages/ControlTable.h"
#include "pages/Drop.h"
#include "widgets/Dpi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace quorvel {
namespace {

using C = ControlId;

// Everything a drop may change: every control's text and state, every slot, the dialog's memory.
std::vector<std::string> snapshot(const MemoryWizardUi& ui, const ThemeProject& project,
                                  const FileDialogState& dialog) {
    std::vector<std::string> all;
    for (const ControlDef& def : controlTable()) {
        all.push_back(ui.text(def.id) + (ui.enabled(def.id) ? "+" : "-"));
    }
    const auto add = [&](const AssetRef& a) { all.push_back(a.sourcePath + "|" + a.fileName); };
    std::for_each(project.iconFiles.begin(), project.iconFiles.end(), add);
    std::for_each(project.cursorFiles.begin(), project.cursorFiles.end(), add);
    std::for_each(project.soundFiles.begin(), project.soundFiles.end(), add);
    std::for_each(project.slideshowFiles.begin(), project.slideshowFiles.end(), add);
    add(project.screensaverFile);
    add(project.wallpaperFile);
    add(project.visualStyleFile);
    all.push_back(dialog.fileName);
    return all;
}

// Two wizards side by side: one the user drives with the browse buttons, one with drops.
struct Side : test::WizardHarness {
    std::vector<std::string> opened;

    Side() {
        // The pointer and sound rows are enabled by choosing the custom scheme.
        for (const AssetPickerDef& picker : assetPickers()) {
            ui.setEnabled(picker.field, true);
            ui.setEnabled(picker.button, true);
        }
    }
    std::vector<std::string> state() const { return snapshot(ui, app.project, fileDialog); }
    void drop(std::optional<ControlId> target, std::vector<DroppedItem> items) {
        dropFiles(wizard, target, items, [this](const std::string& p) { opened.push_back(p); });
    }
};

TEST(Drop, AFileOnAPathFieldOrItsButtonIsTakenExactlyAsTheButtonsPick) {
    Side picked;
    Side dropped;
    int n = 0;
    for (const AssetPickerDef& picker : assetPickers()) {
        const std::size_t bar = picker.filter.find('|');
        const std::string mask(picker.filter.substr(bar + 2, picker.filter.find(';') - bar - 2));
        for (ControlId target : {picker.field, picker.button}) {
            // Extensions are compared without case.
            std::string extension = mask;
            if (++n % 2 == 0) {
                std::transform(extension.begin(), extension.end(), extension.begin(),
                               [](char c) { return static_cast<char>(std::toupper(c)); });
            }
            const std::string path = "C:\\放入\\" + std::to_string(n) + "号" + extension;
            SCOPED_TRACE(path);
            picked.dialogs.fileAnswers.push_back(path);
            pickAssetFile(picker, picked.dialogs, picked.fileDialog, picked.ui, picked.app.project);
            dropped.drop(target, {{path, false}});
            EXPECT_EQ(dropped.ui.text(picker.field), path);
            ASSERT_EQ(dropped.state(), picked.state());
        }
    }
    EXPECT_TRUE(dropped.platform.messages.empty());
}

TEST(Drop, SeveralPicturesReplaceTheSlideshowAsMultiSelectDoes) {
    Side picked;
    Side dropped;
    for (const std::vector<std::string>& paths :
         {std::vector<std::string>{"C:\\a\\1.jpg", "C:\\a\\二.JPG", "D:\\3.jpg"},
          std::vector<std::string>{"E:\\only.jpg"}}) {
        picked.dialogs.filesAnswers.push_back(paths);
        pickSlideshowFiles(picked.dialogs, picked.ui, picked.app.project);
        std::vector<DroppedItem> items;
        for (const std::string& p : paths) {
            items.push_back({p, false});
        }
        dropped.drop(C::Win7Slideshow, items);
        EXPECT_EQ(dropped.state(), picked.state());
    }
    EXPECT_EQ(dropped.ui.text(C::Win7Slideshow), "only.jpg;");
}

TEST(Drop, AFolderOnASaveLocationBecomesIt_ADocumentElsewhereGoesToTheOpenHook) {
    Side side;
    side.drop(C::Win7SaveLocation, {{"C:\\主题", true}});
    side.drop(C::XpSaveLocationBrowse, {{"D:\\xp", true}});
    EXPECT_EQ(side.ui.text(C::Win7SaveLocation), "C:\\主题");
    EXPECT_EQ(side.ui.text(C::XpSaveLocation), "D:\\xp");

    side.drop(std::nullopt, {{"C:\\t\\蓝色.THEME", false}});
    side.drop(C::PageContainer, {{"C:\\t\\my.quorvel", false}});
    EXPECT_EQ(side.opened, (std::vector<std::string>{"C:\\t\\蓝色.THEME", "C:\\t\\my.quorvel"}));
    EXPECT_TRUE(side.platform.messages.empty());
}

TEST(Drop, WhatDoesNotFitItsPlaceGetsOneMessageAndChangesNothing) {
    const PageSetControls& w = pageSetControls(PageSet::Win7);
    const std::string pointerTypes = std::string(text::kDropWrongType) + "鼠标指针(*.cur;*.ani)";
    struct Case {
        std::optional<ControlId> target;
        std::vector<DroppedItem> items;
        std::string message;
    } cases[] = {
        {w.iconFields[0], {{"C:\\icons", true}}, std::string(text::kDropFolderOnFileField)},
        {w.iconButtons[1],
         {{"C:\\a.ico", false}, {"C:\\b.ico", false}},
         std::string(text::kDropSeveralOnFileField)},
        {pointerField(PageSet::Xp, 3), {{"C:\\a.ico", false}}, pointerTypes},
        {pointerField(PageSet::Xp, 3), {{"C:\\cur", false}}, pointerTypes},
        {w.visualStyle,
         {{"C:\\t\\a.theme", false}},
         std::string(text::kDropWrongType) + "可视化风格文件(*.msstyles)"},
        {C::Win7Slideshow,
         {{"C:\\a.jpg", false}, {"C:\\b.png", false}},
         std::string(text::kDropWrongType) + "JPG文件(*.jpg)"},
        {C::Win7SlideshowBrowse,
         {{"C:\\pics.jpg", true}},
         std::string(text::kDropWrongType) + "JPG文件(*.jpg)"},
        {w.saveLocation, {{"C:\\a.theme", false}}, std::string(text::kDropFileOnFolderField)},
        {w.saveLocation,
         {{"C:\\a", true}, {"C:\\b", true}},
         std::string(text::kDropFileOnFolderField)},
        {std::nullopt, {{"C:\\a.ico", false}}, std::string(text::kDropNotADocument)},
        {w.themeName,
         {{"C:\\a.theme", false}, {"C:\\b.theme", false}},
         std::string(text::kDropNotADocument)},
        {std::nullopt, {{"C:\\x.theme", true}}, std::string(text::kDropNotADocument)},
        {w.iconFields[0],
         {{"C:\\a.icon", false}},
         std::string(text::kDropWrongType) + "系统图标(*.ico)"},
    };
    for (const Case& c : cases) {
        Side side;
        side.ui.setText(w.iconFields[0], "C:\\earlier.ico");
        const std::vector<std::string> before = side.state();
        side.drop(c.target, c.items);
        SCOPED_TRACE(c.items[0].path);
        ASSERT_EQ(side.platform.messages.size(), 1u);
        EXPECT_EQ(side.platform.messages[0].text, c.message);
        EXPECT_EQ(side.platform.messages[0].title, "提示...");
        EXPECT_EQ(side.state(), before);
        EXPECT_TRUE(side.opened.empty());
    }
    Side fresh; // as before the custom pointer scheme is chosen
    fresh.ui.setEnabled(pointerButton(PageSet::Win7, 0), false);
    fresh.drop(pointerField(PageSet::Win7, 0), {{"C:\\a.cur", false}});
    ASSERT_EQ(fresh.platform.messages.size(), 1u);
    EXPECT_EQ(fresh.platform.messages[0].text, text::kDropFieldDisabled);
    EXPECT_EQ(fresh.ui.text(pointerField(PageSet::Win7, 0)), "");
}

// Scaling the layout: identity at 96 DPI, and edges that meet or are ordered at 96 DPI still
// meet or keep their order at every DPI.
TEST(Dpi, ScaledLayoutKeepsEveryEdgeRelation) {
    for (const ControlDef& def : controlTable()) {
        EXPECT_EQ(scaleToDpi(def.rect, 96), def.rect) << def.name;
    }
    EXPECT_EQ(scaleToDpi(Rect{19, 287, 79, 19}, 144), (Rect{29, 431, 118, 28}));
    EXPECT_EQ(scaleToDpi(-3, 144), -5);
    for (int dpi : {120, 144, 168, 192, 240}) {
        SCOPED_TRACE(dpi);
        for (const Page page : kAllPages) {
            const std::vector<const ControlDef*> controls = controlsOfPage(page);
            for (const ControlDef* a : controls) {
                const Rect sa = scaleToDpi(a->rect, dpi);
                EXPECT_GE(sa.width, a->rect.width) << a->name;
                EXPECT_GE(sa.height, a->rect.height) << a->name;
                for (const ControlDef* b : controls) {
                    const Rect sb = scaleToDpi(b->rect, dpi);
                    const auto keeps = [&](int x, int y, int sx, int sy) {
                        return (x < y) == (sx < sy) && (x == y) == (sx == sy);
                    };
                    ASSERT_TRUE(keeps(a->rect.left, b->rect.left, sa.left, sb.left) &&
                                keeps(a->rect.right(), b->rect.left, sa.right(), sb.left) &&
                                keeps(a->rect.top, b->rect.top, sa.top, sb.top) &&
                                keeps(a->rect.bottom(), b->rect.top, sa.bottom(), sb.top) &&
                                keeps(a->rect.right(), b->rect.right(), sa.right(), sb.right()))
                        << a->name << " / " << b->name;
                }
            }
        }
    }
}

} // namespace
} // namespace quorvel
