// The control table that the window is built from: names, pages, positions, captions and initial
// states as the page layouts give them, and the keyboard order of each page.
#include "wizard/ControlTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quorvel {
namespace {

struct Expected {
    std::string_view name;
    int page;
    Rect rect;
};

void expectLayout(std::initializer_list<Expected> rows) {
    for (const Expected& e : rows) {
        const ControlDef* c = findControl(e.name);
        ASSERT_NE(c, nullptr) << e.name;
        EXPECT_EQ(c->page, e.page) << e.name;
        EXPECT_EQ(c->rect, e.rect) << e.name << " at " << c->rect.left << "," << c->rect.top << " "
                                   << c->rect.width << "x" << c->rect.height;
    }
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

TEST(ControlTable, NamesAreUniqueAndEveryPageButtonIsThereOnce) {
    std::set<std::string_view> names;
    for (const ControlDef& c : controlTable()) {
        EXPECT_TRUE(names.insert(c.name).second) << "duplicate " << c.name;
    }
    for (int n = 1; n <= 49; ++n) {
        EXPECT_TRUE(names.count("按钮" + std::to_string(n))) << n;
    }
    EXPECT_EQ(findControl("按钮50"), nullptr);
    EXPECT_EQ(findControl("no such control"), nullptr);
}

TEST(ControlTable, EachPageIsOnePictureHoldingAllItsControls) {
    const ControlDef* container = findControl("选择夹1");
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->kind, ControlKind::PageContainer);
    EXPECT_EQ(container->rect, (Rect{0, 0, 494, 367}));

    ASSERT_EQ(pageInfos().size(), static_cast<std::size_t>(kPageCount));
    for (const PageInfo& info : pageInfos()) {
        const ControlDef* picture = findControl(info.picture);
        ASSERT_NE(picture, nullptr) << info.picture;
        EXPECT_EQ(picture->kind, ControlKind::PagePicture);
        EXPECT_EQ(picture->page, info.index);
        EXPECT_EQ(picture->rect, (Rect{0, 0, 494, 339}));
        int pictures = 0;
        for (const ControlDef* c : controlsOfPage(info.index)) {
            pictures += c->kind == ControlKind::PagePicture;
            EXPECT_GE(c->rect.left, 0) << c->name;
            EXPECT_GE(c->rect.top, 0) << c->name;
            EXPECT_LE(c->rect.right(), kPageWidth) << c->name;
            EXPECT_LE(c->rect.bottom(), kPageHeight) << c->name;
        }
        EXPECT_EQ(pictures, 1) << info.name;
    }
    for (const ControlDef& c : controlTable()) {
        if (c.kind != ControlKind::PageContainer) {
            EXPECT_GE(c.page, 0) << c.name;
            EXPECT_LT(c.page, kPageCount) << c.name;
        }
    }
}

TEST(ControlTable, ControlsOfAPageDoNotOverlapExceptTheColourButtonOnItsField) {
    for (int page = 0; page < kPageCount; ++page) {
        const auto controls = controlsOfPage(page);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const ControlDef& a = *controls[i];
                const ControlDef& b = *controls[j];
                if (a.kind == ControlKind::PagePicture || b.kind == ControlKind::PagePicture) {
                    continue;
                }
                const bool colourPair = a.name == "W透明窗口颜色" && b.name == "选择颜色按钮";
                EXPECT_EQ(overlaps(a.rect, b.rect), colourPair) << a.name << " / " << b.name;
            }
        }
    }
}

TEST(ControlTable, MainAndAboutPagesHoldTheGraphicButtons) {
    expectLayout({
        {"按钮1", kPageMain, {0, 114, 179, 40}},
        {"按钮2", kPageMain, {0, 164, 179, 40}},
        {"按钮3", kPageMain, {0, 214, 179, 40}},
        {"按钮4", kPageMain, {0, 264, 179, 40}},
        {"按钮5", kPageAbout, {298, 264, 196, 40}},
    });
    EXPECT_EQ(findControl("按钮1")->caption, "生成Win7主题");
    EXPECT_EQ(findControl("按钮2")->caption, "生成WinXP主题");
    EXPECT_EQ(findControl("按钮3")->caption, "访问我们の网站");
    EXPECT_EQ(findControl("按钮4")->caption, "查看软件の信息");
    EXPECT_EQ(findControl("按钮5")->caption, "返回主界面");
    for (const char* name : {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5"}) {
        EXPECT_EQ(findControl(name)->kind, ControlKind::GraphicButton) << name;
    }
    EXPECT_EQ(controlsOfPage(kPageMain).size(), 5u);
    EXPECT_EQ(controlsOfPage(kPageAbout).size(), 2u);
}

TEST(ControlTable, WizardPagesEndInTheirButtonRows) {
    struct Row {
        int page;
        const char* about;
        const char* back;
        const char* next;
        const char* web;
        const char* nextCaption;
    };
    const Row rows[] = {
        {kPageWin71, "按钮6", "按钮7", "按钮8", "按钮9", "下一步"},
        {kPageWin73, "按钮12", "按钮13", "按钮14", "按钮15", "下一步"},
        {kPageWin74, "按钮16", "按钮17", "按钮18", "按钮19", "下一步"},
        {kPageWin75, "按钮20", "按钮21", "按钮22", "按钮23", "下一步"},
        {kPageWin76, "按钮24", "按钮25", "按钮26", "按钮27", "生  成"},
        {kPageXp1, "按钮28", "按钮29", "按钮30", "按钮31", "下一步"},
        {kPageXp3, "按钮34", "按钮35", "按钮36", "按钮37", "下一步"},
        {kPageXp4, "按钮38", "按钮39", "按钮40", "按钮41", "下一步"},
        {kPageXp5, "按钮42", "按钮43", "按钮44", "按钮45", "下一步"},
        {kPageXp6, "按钮46", "按钮47", "按钮48", "按钮49", "生  成"},
    };
    for (const Row& r : rows) {
        expectLayout({{r.about, r.page, {19, 287, 79, 19}},
                      {r.back, r.page, {144, 287, 79, 19}},
                      {r.next, r.page, {270, 287, 79, 19}},
                      {r.web, r.page, {395, 287, 79, 19}}});
        EXPECT_EQ(findControl(r.about)->caption, "关  于");
        EXPECT_EQ(findControl(r.back)->caption, "上一步");
        EXPECT_EQ(findControl(r.next)->caption, r.nextCaption);
        EXPECT_EQ(findControl(r.web)->caption, "官  网");
    }
    expectLayout({{"按钮11", kPageWin72, {254, 303, 93, 19}},
                  {"按钮10", kPageWin72, {373, 303, 93, 19}},
                  {"按钮32", kPageXp2, {254, 303, 93, 19}},
                  {"按钮33", kPageXp2, {373, 303, 93, 19}}});
    EXPECT_EQ(findControl("按钮11")->caption, "上一步");
    EXPECT_EQ(findControl("按钮10")->caption, "下一步");
    EXPECT_EQ(findControl("按钮32")->caption, "上一步");
    EXPECT_EQ(findControl("按钮33")->caption, "下一步");
}

TEST(ControlTable, IconPagesHaveFiveRows) {
    expectLayout({
        {"W我的文档_图标", kPageWin71, {159, 92, 256, 20}},
        {"W我的电脑_图标", kPageWin71, {159, 127, 256, 20}},
        {"W网上邻居_图标", kPageWin71, {159, 161, 256, 20}},
        {"W回收站空_图标", kPageWin71, {159, 198, 256, 20}},
        {"W回收站满_图标", kPageWin71, {159, 232, 256, 20}},
        {"W我的文档_打开", kPageWin71, {432, 92, 42, 20}},
        {"W回收站满_打开", kPageWin71, {432, 232, 42, 20}},
        {"X我的文档_图标", kPageXp1, {159, 92, 254, 20}},
        {"X网上邻居_图标", kPageXp1, {159, 161, 254, 20}},
        {"X回收站满_图标", kPageXp1, {159, 232, 254, 20}},
        {"X我的电脑_打开", kPageXp1, {432, 127, 42, 20}},
        {"X回收站空_打开", kPageXp1, {432, 198, 42, 20}},
    });
}

TEST(ControlTable, PointerPagesHaveTheSchemeRowAndTwoColumns) {
    const char* left[] = {"UpArrow", "Wait", "SizeNWSE", "SizeNESW",
                          "NWPen",   "Help", "SizeWE",   "Hand"};
    const char* right[] = {"SizeAll", "Arrow", "Crosshair", "IBeam", "No", "SizeNS", "AppStarting"};
    const int tops[] = {56, 91, 127, 162, 197, 232, 267, 303};
    for (auto [prefix, page] : {std::pair{"W", kPageWin72}, std::pair{"X", kPageXp2}}) {
        const std::string p = prefix;
        expectLayout({{p + "鼠标", page, {138, 18, 182, 20}},
                      {p + "鼠标方案_名称", page, {320, 18, 146, 20}}});
        EXPECT_EQ(findControl(p + "鼠标")->kind, ControlKind::ComboBox);
        for (int row = 0; row < 8; ++row) {
            const std::string field = p + left[row];
            expectLayout({{field, page, {57, tops[row], 128, 20}},
                          {field + "_打开", page, {192, tops[row], 40, 20}}});
            if (row < 7) {
                const std::string other = p + right[row];
                expectLayout({{other, page, {292, tops[row], 128, 20}},
                              {other + "_打开", page, {427, tops[row], 40, 20}}});
            }
        }
        // Combo, name, 15 fields and 15 buttons, two page buttons and the picture.
        EXPECT_EQ(controlsOfPage(page).size(), 35u);
    }
}

TEST(ControlTable, SoundPagesHaveTheSchemeRowAndTheirSoundRows) {
    expectLayout({
        {"W声音", kPageWin73, {159, 91, 182, 20}},
        {"W声音方案_名称", kPageWin73, {341, 91, 133, 20}},
        {"W关机声音", kPageWin73, {159, 122, 254, 20}},
        {"W开机声音", kPageWin73, {159, 152, 254, 20}},
        {"W退出系统", kPageWin73, {159, 183, 254, 20}},
        {"W登陆系统", kPageWin73, {159, 212, 254, 20}},
        {"W切换主题", kPageWin73, {159, 242, 254, 20}},
        {"W切换主题_打开", kPageWin73, {432, 242, 42, 20}},
        {"X声音", kPageXp3, {159, 92, 182, 20}},
        {"X声音方案_名称", kPageXp3, {341, 92, 133, 20}},
        {"X关机声音", kPageXp3, {159, 127, 254, 20}},
        {"X开机声音", kPageXp3, {159, 161, 254, 20}},
        {"X退出系统", kPageXp3, {159, 198, 254, 20}},
        {"X登陆系统", kPageXp3, {159, 232, 254, 20}},
        {"X登陆系统_打开", kPageXp3, {432, 232, 42, 20}},
    });
    EXPECT_EQ(findControl("X切换主题"), nullptr);
}

TEST(ControlTable, DesktopPagesHaveTickBoxesScreensaverAndWallpaperRows) {
    expectLayout({
        {"W系统屏保_选择", kPageWin74, {20, 92, 20, 20}},
        {"W屏保文件_选择", kPageWin74, {20, 126, 20, 20}},
        {"W系统屏保", kPageWin74, {195, 92, 280, 20}},
        {"W屏保文件_路径", kPageWin74, {195, 127, 218, 20}},
        {"W屏保文件_打开", kPageWin74, {432, 127, 42, 20}},
        {"W桌面壁纸", kPageWin74, {159, 161, 254, 20}},
        {"W桌面壁纸_打开", kPageWin74, {432, 161, 42, 20}},
        {"W壁纸文件夹", kPageWin74, {159, 198, 254, 20}},
        {"W壁纸文件夹_打开", kPageWin74, {432, 198, 42, 20}},
        {"X系统屏保_选择", kPageXp4, {20, 92, 20, 20}},
        {"X自己屏保_选择", kPageXp4, {20, 126, 20, 20}},
        {"X系统屏保", kPageXp4, {195, 92, 280, 20}},
        {"X自己屏保", kPageXp4, {195, 127, 218, 20}},
        {"X自己屏保_打开", kPageXp4, {432, 127, 42, 20}},
        {"X桌面壁纸", kPageXp4, {159, 161, 254, 20}},
        {"X桌面壁纸_打开", kPageXp4, {432, 161, 42, 20}},
    });
    EXPECT_EQ(findControl("W壁纸文件夹_打开")->caption, "多选");
    for (const char* tick :
         {"W系统屏保_选择", "W屏保文件_选择", "X系统屏保_选择", "X自己屏保_选择"}) {
        EXPECT_EQ(findControl(tick)->kind, ControlKind::TickBox) << tick;
        EXPECT_EQ(findControl(tick)->caption, "") << tick;
    }
    EXPECT_EQ(findControl("W系统屏保")->items.size(), 7u);
    EXPECT_EQ(findControl("X系统屏保")->items.size(), 12u);
    EXPECT_EQ(findControl("X系统屏保")->items[11], "三维文字");
}

TEST(ControlTable, WindowStylePageHoldsColourAndTransparencyControls) {
    expectLayout({
        {"W可视化风格文件", kPageWin75, {159, 92, 254, 20}},
        {"W可视化风格文件_打开", kPageWin75, {432, 92, 42, 20}},
        {"W壁纸切换时间", kPageWin75, {159, 127, 211, 20}},
        {"W透明窗口颜色", kPageWin75, {159, 161, 211, 20}},
        {"选择颜色按钮", kPageWin75, {288, 162, 80, 18}},
        {"窗口透明度滑块", kPageWin75, {159, 198, 254, 20}},
        {"W透明度", kPageWin75, {432, 198, 42, 20}},
        {"X可视化风格", kPageXp5, {159, 92, 256, 20}},
        {"X可视化风格_打开", kPageXp5, {432, 92, 42, 20}},
    });
    EXPECT_EQ(findControl("W透明窗口颜色")->caption, "0066FF");
    EXPECT_EQ(findControl("W透明度")->caption, "127");
    EXPECT_EQ(findControl("选择颜色按钮")->caption, "选择颜色");
    const ControlDef* slider = findControl("窗口透明度滑块");
    EXPECT_EQ(slider->kind, ControlKind::Slider);
    EXPECT_EQ(slider->maximum, 255);
    EXPECT_EQ(slider->position, 127);
}

TEST(ControlTable, GeneratePagesHoldNamesAndSaveLocation) {
    expectLayout({
        {"W生成名称", kPageWin76, {159, 92, 315, 20}},
        {"W显示名称", kPageWin76, {159, 127, 315, 20}},
        {"W保存位置", kPageWin76, {159, 161, 254, 20}},
        {"W保存位置_选择", kPageWin76, {432, 161, 42, 20}},
        {"X生成名称", kPageXp6, {159, 92, 315, 20}},
        {"X显示名称", kPageXp6, {159, 127, 315, 20}},
        {"X保存位置", kPageXp6, {159, 161, 254, 20}},
        {"X保存位置_打开", kPageXp6, {432, 161, 42, 20}},
    });
}

TEST(ControlTable, BrowseButtonsAreCaptionedAndSchemeGroupsStartDisabled) {
    int browseButtons = 0;
    for (const ControlDef& c : controlTable()) {
        const std::string name(c.name);
        const bool browse = name.ends_with("_打开") || name.ends_with("_选择");
        if (browse && c.kind == ControlKind::PushButton) {
            ++browseButtons;
            EXPECT_EQ(c.caption, name == "W壁纸文件夹_打开" ? "多选" : "打开") << name;
        }
    }
    // 5 + 5 icons, 15 + 15 pointers, 5 + 4 sounds, 2 own screensavers, 2 wallpapers, the
    // slideshow, 2 visual styles, 2 save locations.
    EXPECT_EQ(browseButtons, 58);

    const auto disabled = [](std::string_view name) {
        const ControlDef* c = findControl(name);
        return c != nullptr && !c->enabled;
    };
    for (const char* p : {"W", "X"}) {
        const std::string s = p;
        for (const char* role : {"鼠标方案_名称", "UpArrow", "UpArrow_打开", "Hand", "Hand_打开",
                                 "AppStarting", "AppStarting_打开", "声音方案_名称", "关机声音",
                                 "关机声音_打开", "登陆系统", "登陆系统_打开", "系统屏保"}) {
            EXPECT_TRUE(disabled(s + role)) << s + role;
        }
    }
    for (const char* name : {"W切换主题", "W切换主题_打开", "W屏保文件_路径", "W屏保文件_打开",
                             "X自己屏保", "X自己屏保_打开"}) {
        EXPECT_TRUE(disabled(name)) << name;
    }
    for (const char* name : {"W鼠标", "X声音", "W我的文档_打开", "W桌面壁纸", "W壁纸文件夹_打开",
                             "W可视化风格文件_打开", "W保存位置_选择", "X保存位置_打开",
                             "W壁纸切换时间", "W系统屏保_选择", "X自己屏保_选择"}) {
        EXPECT_FALSE(disabled(name)) << name;
    }
}

TEST(PageLabels, EveryPageButTheAboutAndPointerPagesHasItsTitleAndLabelsSitOnTheirRows) {
    std::set<int> titled;
    for (const PageLabel& label : pageLabels()) {
        EXPECT_GE(label.rect.left, 0) << label.text;
        EXPECT_LE(label.rect.right(), kPageWidth) << label.text;
        EXPECT_LE(label.rect.bottom(), kPageHeight) << label.text;
        if (label.style == LabelStyle::Title) {
            EXPECT_TRUE(titled.insert(label.page).second) << "two titles on " << label.page;
        }
        if (label.style == LabelStyle::Field || label.style == LabelStyle::Pictogram) {
            // A label sits left of a control of its own row.
            bool found = false;
            for (const ControlDef* c : controlsOfPage(label.page)) {
                if (c->kind != ControlKind::PagePicture &&
                    c->rect.top ==
                        label.rect.top + (label.style == LabelStyle::Pictogram ? 2 : 0) &&
                    c->rect.left >= label.rect.right()) {
                    found = true;
                }
            }
            EXPECT_TRUE(found) << label.text << " on page " << label.page;
        }
    }
    EXPECT_EQ(titled,
              (std::set<int>{kPageAbout, kPageWin71, kPageWin73, kPageWin74, kPageWin75, kPageWin76,
                             kPageXp1, kPageXp3, kPageXp4, kPageXp5, kPageXp6}));
    int pictograms = 0;
    for (const PageLabel& label : pageLabels()) {
        pictograms += label.style == LabelStyle::Pictogram;
    }
    EXPECT_EQ(pictograms, 30);
}

TEST(TabOrder, FollowsRowsFromTopToBottomAndLeftToRight) {
    std::vector<std::string_view> names;
    for (const ControlDef* c : tabOrder(kPageWin75)) {
        names.push_back(c->name);
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"W可视化风格文件", "W可视化风格文件_打开",
                                                    "W壁纸切换时间", "W透明窗口颜色",
                                                    "选择颜色按钮", "窗口透明度滑块", "W透明度",
                                                    "按钮20", "按钮21", "按钮22", "按钮23"}));

    names.clear();
    for (const ControlDef* c : tabOrder(kPageWin74)) {
        names.push_back(c->name);
    }
    // The tick boxes answer the mouse only.
    EXPECT_EQ(names.front(), "W系统屏保");
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(tabOrder(kPageMain).size(), 4u);
    EXPECT_EQ(tabOrder(kPageWin72)[2]->name, "WUpArrow");
    EXPECT_EQ(tabOrder(kPageWin72)[4]->name, "WSizeAll");
}

TEST(TabOrder, TabAndShiftTabSkipDisabledControlsAndWrapAround) {
    std::set<std::string_view> off = {"W鼠标方案_名称"};
    for (const ControlDef* c : controlsOfPage(kPageWin72)) {
        if (!c->enabled) {
            off.insert(c->name);
        }
    }
    const auto enabled = [&](std::string_view name) { return !off.count(name); };
    EXPECT_EQ(nextTabStop(kPageWin72, "W鼠标", true, enabled), "按钮11");
    EXPECT_EQ(nextTabStop(kPageWin72, "按钮11", true, enabled), "按钮10");
    EXPECT_EQ(nextTabStop(kPageWin72, "按钮10", true, enabled), "W鼠标");
    EXPECT_EQ(nextTabStop(kPageWin72, "W鼠标", false, enabled), "按钮10");
    EXPECT_EQ(nextTabStop(kPageWin72, "", true, enabled), "W鼠标");
    EXPECT_EQ(nextTabStop(kPageWin72, "", false, enabled), "按钮10");

    off.erase("WHand");
    EXPECT_EQ(nextTabStop(kPageWin72, "按钮10", false, enabled), "按钮11");
    EXPECT_EQ(nextTabStop(kPageWin72, "按钮11", false, enabled), "WHand");

    const auto none = [](std::string_view) { return false; };
    EXPECT_EQ(nextTabStop(kPageMain, "按钮1", true, none), "");
}

} // namespace
} // namespace quorvel
