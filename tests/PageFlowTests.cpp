// The page flow of the wizard on the in-memory window: every button of every page, the
// operating-system gate, the about page and its return, the web-site buttons and the forward
// steps of pages WIN74 and XP5.
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "ScriptedDialogs.h"

#include "model/ProductInfo.h"
#include "wizard/Choices.h"
#include "wizard/ControlTable.h"
#include "wizard/PageFlow.h"
#include "wizard/RequestCapture.h"
#include "wizard/WindowStyle.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace quorvel {
namespace {

class PageFlow : public testing::Test {
protected:
    std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    test::RecordingPlatform platform{sandbox->platform()};
    test::ScriptedDialogs dialogs;
    FileDialogState fileDialog;
    MemoryWizardUi ui;
    AppState app;
    Wizard wizard{ui, app, platform, dialogs, fileDialog};

    // A click as the user makes it: only on a control of the page shown, only when enabled.
    void click(std::string_view button) {
        const ControlDef* def = findControl(button);
        ASSERT_NE(def, nullptr) << button;
        ASSERT_EQ(def->page, ui.currentPage()) << button << " is not on the page shown";
        ASSERT_TRUE(ui.enabled(button)) << button;
        ASSERT_TRUE(dispatch(wizard, button, ControlEvent::Click)) << button;
    }
    // Picks an item of a combo box as the user does.
    void pick(std::string_view combo, int item) {
        ui.setComboIndex(combo, item);
        ASSERT_TRUE(dispatch(wizard, combo, ControlEvent::ItemPicked)) << combo;
    }
    // Fills what the forward checks ask for: default schemes and the visual styles.
    void satisfyChecks() {
        ui.setText("W可视化风格文件", "C:\\styles\\aero.msstyles");
        ui.setText("X可视化风格", "C:\\styles\\Luna.msstyles");
        for (const char* combo : {"W鼠标", "W声音", "X鼠标", "X声音"}) {
            ui.setComboIndex(combo, kDefaultSchemeItem);
        }
    }
    // Walks from the main page to a page of the wizard that page belongs to, picking the default
    // schemes on the way.
    void walkTo(int page) {
        const bool xp = page >= kPageXp1;
        platform.version = xp ? OsVersion{5, 1} : OsVersion{6, 1};
        click(xp ? "按钮2" : "按钮1");
        const char* win7Next[] = {"按钮8", "按钮10", "按钮14", "按钮18", "按钮22"};
        const char* xpNext[] = {"按钮30", "按钮33", "按钮36", "按钮40", "按钮44"};
        if (ui.text(xp ? "X可视化风格" : "W可视化风格文件").empty()) {
            ui.setText(xp ? "X可视化风格" : "W可视化风格文件", "C:\\styles\\Luna.msstyles");
        }
        for (int at = xp ? kPageXp1 : kPageWin71; at < page; ++at) {
            if (ui.currentPage() == kPageWin72 || ui.currentPage() == kPageXp2) {
                if (ui.comboIndex(xp ? "X鼠标" : "W鼠标") == kNoSchemeItem) {
                    pick(xp ? "X鼠标" : "W鼠标", kDefaultSchemeItem);
                }
            }
            if (ui.currentPage() == kPageWin73 || ui.currentPage() == kPageXp3) {
                if (ui.comboIndex(xp ? "X声音" : "W声音") == kNoSchemeItem) {
                    pick(xp ? "X声音" : "W声音", kDefaultSchemeItem);
                }
            }
            click(xp ? xpNext[at - kPageXp1] : win7Next[at - kPageWin71]);
        }
        ASSERT_EQ(ui.currentPage(), page);
    }
};

TEST_F(PageFlow, StartsOnTheMainPageWithTheAboutReturnOnIt) {
    EXPECT_EQ(ui.currentPage(), kPageMain);
    EXPECT_EQ(app.aboutReturnPage, 0);
    click("按钮4");
    click("按钮5");
    EXPECT_EQ(ui.currentPage(), kPageMain);
}

TEST_F(PageFlow, EveryBackAndNextButtonSwitchesToItsPage) {
    struct Step {
        int page;
        const char* button;
        int target;
    };
    const Step steps[] = {
        {kPageWin71, "按钮7", kPageMain},   {kPageWin71, "按钮8", kPageWin72},
        {kPageWin72, "按钮11", kPageWin71}, {kPageWin72, "按钮10", kPageWin73},
        {kPageWin73, "按钮13", kPageWin72}, {kPageWin73, "按钮14", kPageWin74},
        {kPageWin74, "按钮17", kPageWin73}, {kPageWin74, "按钮18", kPageWin75},
        {kPageWin75, "按钮21", kPageWin74}, {kPageWin75, "按钮22", kPageWin76},
        {kPageWin76, "按钮25", kPageWin75}, {kPageXp1, "按钮29", kPageMain},
        {kPageXp1, "按钮30", kPageXp2},     {kPageXp2, "按钮32", kPageXp1},
        {kPageXp2, "按钮33", kPageXp3},     {kPageXp3, "按钮35", kPageXp2},
        {kPageXp3, "按钮36", kPageXp4},     {kPageXp4, "按钮39", kPageXp3},
        {kPageXp4, "按钮40", kPageXp5},     {kPageXp5, "按钮43", kPageXp4},
        {kPageXp5, "按钮44", kPageXp6},     {kPageXp6, "按钮47", kPageXp5},
    };
    satisfyChecks();
    for (const Step& s : steps) {
        ui.goToPage(s.page);
        click(s.button);
        EXPECT_EQ(ui.currentPage(), s.target) << s.button;
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PageFlow, TheFlowTableNamesEachPageButtonWithTheCaptionItShows) {
    std::set<std::string_view> flowButtons;
    for (const FlowRow& row : pageFlow()) {
        const ControlDef* def = findControl(row.button);
        ASSERT_NE(def, nullptr) << row.button;
        EXPECT_EQ(def->page, row.page) << row.button;
        EXPECT_EQ(def->caption, row.caption) << row.button;
        flowButtons.insert(row.button);
    }
    for (int n = 1; n <= 49; ++n) {
        EXPECT_TRUE(flowButtons.count("按钮" + std::to_string(n))) << n;
    }
}

TEST_F(PageFlow, ReleaseCodesFollowTheReportedVersion) {
    struct Case {
        OsVersion version;
        int code;
    };
    const Case cases[] = {
        {{3, 51}, 4}, {{4, 0}, 4}, {{4, 90}, 4}, {{5, 0}, 5}, {{5, 1}, 6},
        {{5, 2}, 7},  {{5, 3}, 0}, {{6, 0}, 8},  {{6, 1}, 9}, {{6, 2}, 0},
        {{6, 3}, 0},  {{7, 0}, 0}, {{10, 0}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(osReleaseCode(c.version), c.code) << c.version.major << "." << c.version.minor;
    }
}

TEST_F(PageFlow, TheGateOpensEachWizardOnlyOnItsOwnSystem) {
    struct Case {
        OsVersion version;
        bool win7;
        bool xp;
    };
    const Case cases[] = {
        {{5, 1}, false, true},  {{5, 2}, false, false},  {{6, 1}, true, false},
        {{6, 2}, false, false}, {{10, 0}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version.major) + "." + std::to_string(c.version.minor));
        platform.version = c.version;
        platform.messages.clear();

        ui.goToPage(kPageMain);
        click("按钮1");
        EXPECT_EQ(ui.currentPage(), c.win7 ? kPageWin71 : kPageMain);
        ui.goToPage(kPageMain);
        click("按钮2");
        EXPECT_EQ(ui.currentPage(), c.xp ? kPageXp1 : kPageMain);

        std::vector<std::string> expected;
        if (!c.win7) {
            expected.push_back("此功能只能在WIN7系统下使用!");
        }
        if (!c.xp) {
            expected.push_back("此功能只能在XP系统下使用!");
        }
        ASSERT_EQ(platform.messages.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(platform.messages[i].text, expected[i]);
            EXPECT_EQ(platform.messages[i].icon, MessageIcon::Error);
            EXPECT_EQ(platform.messages[i].title, "错误...");
        }
    }
}

TEST_F(PageFlow, AboutReturnsToThePageItWasTakenFrom) {
    struct Case {
        int page;
        const char* about;
    };
    const Case cases[] = {
        {kPageMain, "按钮4"},   {kPageWin71, "按钮6"},  {kPageWin73, "按钮12"},
        {kPageWin74, "按钮16"}, {kPageWin75, "按钮20"}, {kPageWin76, "按钮24"},
        {kPageXp1, "按钮28"},   {kPageXp3, "按钮34"},   {kPageXp4, "按钮38"},
        {kPageXp5, "按钮42"},   {kPageXp6, "按钮46"},
    };
    for (const Case& c : cases) {
        ui.goToPage(c.page);
        click(c.about);
        EXPECT_EQ(ui.currentPage(), kPageAbout) << c.about;
        EXPECT_EQ(app.aboutReturnPage, c.page) << c.about;
        click("按钮5");
        EXPECT_EQ(ui.currentPage(), c.page) << c.about;
    }
}

TEST_F(PageFlow, BackOnTheFirstPagesLeadsToTheMainPageEvenAfterAnAboutTrip) {
    walkTo(kPageWin71);
    click("按钮6");
    click("按钮5");
    click("按钮7");
    EXPECT_EQ(ui.currentPage(), kPageMain);

    walkTo(kPageXp4);
    click("按钮38");
    click("按钮5");
    EXPECT_EQ(ui.currentPage(), kPageXp4);
    click("按钮39");
    click("按钮35");
    click("按钮32");
    click("按钮29");
    EXPECT_EQ(ui.currentPage(), kPageMain);
    // The about page still returns to where it was last taken from.
    ui.goToPage(kPageAbout);
    click("按钮5");
    EXPECT_EQ(ui.currentPage(), kPageXp4);
}

TEST_F(PageFlow, WebButtonsOpenTheForumExceptOnTheLastXpPage) {
    const std::pair<int, const char*> buttons[] = {
        {kPageMain, "按钮3"},   {kPageWin71, "按钮9"},  {kPageWin73, "按钮15"},
        {kPageWin74, "按钮19"}, {kPageWin75, "按钮23"}, {kPageWin76, "按钮27"},
        {kPageXp1, "按钮31"},   {kPageXp3, "按钮37"},   {kPageXp4, "按钮41"},
        {kPageXp5, "按钮45"},   {kPageXp6, "按钮49"},
    };
    std::vector<std::string> expected;
    for (auto [page, button] : buttons) {
        ui.goToPage(page);
        click(button);
        EXPECT_EQ(ui.currentPage(), page) << button;
        expected.push_back(page == kPageXp6 ? kHomeAddress : kForumAddress);
    }
    EXPECT_EQ(platform.openedAddresses, expected);
    EXPECT_NE(std::string(kForumAddress), std::string(kHomeAddress));
}

TEST_F(PageFlow, SlideshowIntervalIsPresetOnEveryForwardPassFromWin74) {
    walkTo(kPageWin74);
    click("按钮18");
    EXPECT_EQ(ui.text("W壁纸切换时间"), "");
    EXPECT_FALSE(ui.enabled("W壁纸切换时间"));

    click("按钮21");
    ui.setText("W壁纸文件夹", "a.jpg;b.jpg;");
    click("按钮18");
    EXPECT_EQ(ui.text("W壁纸切换时间"), "180");
    EXPECT_TRUE(ui.enabled("W壁纸切换时间"));

    // A typed interval is replaced on the next pass, even after going on to WIN76 and back.
    ui.setText("W壁纸切换时间", "45");
    click("按钮22");
    click("按钮25");
    EXPECT_EQ(ui.text("W壁纸切换时间"), "45");
    click("按钮21");
    click("按钮18");
    EXPECT_EQ(ui.text("W壁纸切换时间"), "180");

    click("按钮21");
    ui.setText("W壁纸文件夹", "");
    click("按钮18");
    EXPECT_EQ(ui.text("W壁纸切换时间"), "");
    EXPECT_FALSE(ui.enabled("W壁纸切换时间"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PageFlow, Xp5RequiresAVisualStyleBeforeMovingOn) {
    walkTo(kPageXp5);
    ui.setText("X可视化风格", "");
    click("按钮44");
    EXPECT_EQ(ui.currentPage(), kPageXp5);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "必须指定可视化风格文件!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[0].title, "错误...");

    // Blanks are a visual style as far as the check goes.
    ui.setText("X可视化风格", " ");
    click("按钮44");
    EXPECT_EQ(ui.currentPage(), kPageXp6);
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(PageFlow, FieldsKeepTheirTextsWhileMovingBackAndForth) {
    // Custom schemes unlock every path field; then a text goes into every field of both wizards
    // (the slideshow interval aside, which the WIN74 forward step rewrites).
    for (const char* combo : {"W鼠标", "W声音", "X鼠标", "X声音"}) {
        ui.goToPage(findControl(combo)->page);
        pick(combo, kCustomSchemeItem);
    }
    ui.goToPage(kPageMain);
    std::map<std::string, std::string> typed;
    for (const ControlDef& c : controlTable()) {
        if (c.kind == ControlKind::EditField && c.name != "W壁纸切换时间") {
            const std::string text = "text of " + std::string(c.name);
            ui.setText(c.name, text);
            typed[std::string(c.name)] = text;
        }
    }
    walkTo(kPageWin76);
    for (const char* back : {"按钮25", "按钮21", "按钮17", "按钮13", "按钮11", "按钮7"}) {
        click(back);
    }
    walkTo(kPageXp6);
    click("按钮46");
    click("按钮5");
    for (const char* back : {"按钮47", "按钮43", "按钮39", "按钮35", "按钮32", "按钮29"}) {
        click(back);
    }
    EXPECT_EQ(ui.currentPage(), kPageMain);
    for (const auto& [name, text] : typed) {
        EXPECT_EQ(ui.text(name), text);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PageFlow, ForwardChecksOfThePointerSoundAndStylePagesKeepThePage) {
    struct Case {
        int page;
        const char* next;
        const char* message;
    };
    const Case cases[] = {
        {kPageWin72, "按钮10", "请选择鼠标方案后再行操作..."},
        {kPageWin73, "按钮14", "请选择声音方案后再行操作..."},
        {kPageWin75, "按钮22", "必须指定可视化风格文件!"},
        {kPageXp2, "按钮33", "请选择鼠标方案后再行操作..."},
        {kPageXp3, "按钮36", "请选择声音方案后再行操作..."},
        {kPageXp5, "按钮44", "必须指定可视化风格文件!"},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        ui.goToPage(c.page);
        click(c.next);
        EXPECT_EQ(ui.currentPage(), c.page) << c.next;
        ASSERT_EQ(platform.messages.size(), 1u) << c.next;
        EXPECT_EQ(platform.messages[0].text, c.message);
    }
    // Passing the WIN72 and WIN75 checks captures what they capture.
    ui.goToPage(kPageWin72);
    pick("W鼠标", kDefaultSchemeItem);
    click("按钮10");
    EXPECT_EQ(ui.currentPage(), kPageWin73);
    EXPECT_EQ(app.project.cursorSchemeName, "Windows Aero");
    ui.setText("W可视化风格文件", "C:\\styles\\aero.msstyles");
    ui.goToPage(kPageWin75);
    click("按钮22");
    EXPECT_EQ(ui.currentPage(), kPageWin76);
    EXPECT_EQ(app.project.windowAlphaText, "7F");
    EXPECT_EQ(app.project.windowColorText, "0066FF");
}

TEST_F(PageFlow, EveryControlTheUserCanActOnHasItsHandler) {
    // The colour button opens the palette popup, which the window binds itself.
    const std::set<std::string_view> boundElsewhere = {"选择颜色按钮"};
    for (const ControlDef& c : controlTable()) {
        std::optional<ControlEvent> event;
        switch (c.kind) {
        case ControlKind::PushButton:
        case ControlKind::GraphicButton:
            event = ControlEvent::Click;
            break;
        case ControlKind::ComboBox:
            event = ControlEvent::ItemPicked;
            break;
        case ControlKind::TickBox:
            event = ControlEvent::TickReleased;
            break;
        case ControlKind::Slider:
            event = ControlEvent::SliderMoved;
            break;
        default:
            break;
        }
        int count = 0;
        for (const Binding& b : bindings()) {
            count += b.control == c.name && event && b.event == *event;
        }
        if (boundElsewhere.count(c.name)) {
            continue;
        }
        EXPECT_EQ(count, event ? 1 : 0) << c.name;
    }
    for (const Binding& b : bindings()) {
        EXPECT_NE(findControl(b.control), nullptr) << b.control;
    }
}

TEST_F(PageFlow, NamesTheHandlersAndGeneratorsUseAreControlsOfTheirPages) {
    const auto on = [](std::string_view name, int page) {
        const ControlDef* c = findControl(name);
        return c != nullptr && c->page == page;
    };
    for (const AssetPickerDef& p : assetPickers()) {
        const ControlDef* button = findControl(p.button);
        ASSERT_NE(button, nullptr) << p.button;
        EXPECT_TRUE(on(p.field, button->page)) << p.field;
        EXPECT_EQ(button->caption, "打开") << p.button;
    }
    for (auto [set, pointers, sounds, desktop] :
         {std::tuple{PageSet::Win7, kPageWin72, kPageWin73, kPageWin74},
          std::tuple{PageSet::Xp, kPageXp2, kPageXp3, kPageXp4}}) {
        for (const SchemeGroup* g : {&cursorSchemeGroup(set), &soundSchemeGroup(set)}) {
            const int page = g == &cursorSchemeGroup(set) ? pointers : sounds;
            EXPECT_TRUE(on(g->combo, page)) << g->combo;
            EXPECT_TRUE(on(g->nameField, page)) << g->nameField;
            for (std::string_view name : g->pathFields) {
                EXPECT_TRUE(on(name, page)) << name;
            }
            for (std::string_view name : g->buttons) {
                EXPECT_TRUE(on(name, page)) << name;
            }
        }
        const ScreensaverControls& s = screensaverControls(set);
        for (std::string_view name :
             {s.systemTick, s.ownTick, s.systemCombo, s.ownField, s.ownButton}) {
            EXPECT_TRUE(on(name, desktop)) << name;
        }
        // The screensaver list shows the prompt, then the system's screensavers.
        const ControlDef* combo = findControl(s.systemCombo);
        const auto savers = systemScreensavers(set);
        ASSERT_EQ(combo->items.size(), savers.size() + 1);
        EXPECT_EQ(combo->items[0], kSystemScreensaverPrompt);
        for (std::size_t i = 0; i < savers.size(); ++i) {
            EXPECT_EQ(combo->items[i + 1], savers[i].item);
        }
    }
    for (std::string_view name :
         {kVisualStyleField, kIntervalField, kWindowColorField, kAlphaField, kAlphaSlider}) {
        EXPECT_TRUE(on(name, kPageWin75)) << name;
    }
    for (auto [page, fields] : {std::pair{kPageWin76, &generationControls(PageSet::Win7)},
                                std::pair{kPageXp6, &generationControls(PageSet::Xp)}}) {
        EXPECT_TRUE(on(fields->nameField, page));
        EXPECT_TRUE(on(fields->displayNameField, page));
        EXPECT_TRUE(on(fields->saveLocationField, page));
        for (std::string_view name : fields->disableList) {
            EXPECT_TRUE(on(name, page)) << name;
        }
    }
}

TEST_F(PageFlow, TheXpGenerateButtonWritesTheThemeAndLeavesThePageShown) {
    // The visual style is picked, as the user does; the generator copies the picked file.
    const std::string location = sandbox->root();
    ASSERT_TRUE(platform.makeDirectory(location + "\\styles"));
    const std::string style = location + "\\styles\\Luna.msstyles";
    const std::string_view content = "style";
    ASSERT_TRUE(platform.writeFile(
        style, {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()}));
    walkTo(kPageXp5);
    dialogs.fileAnswers.push_back(style);
    click("X可视化风格_打开");
    click("按钮44");
    ui.setText("X生成名称", "流程主题");
    ui.setText("X显示名称", "流程主题 显示");
    ui.setText("X保存位置", location);
    click("按钮48");
    EXPECT_EQ(ui.currentPage(), kPageXp6);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成完毕!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(platform.readFile(location + "\\流程主题.theme").has_value());
    EXPECT_EQ(platform.readFile(location + "\\流程主题\\Luna.msstyles"), "style");
    // Every control the run disabled is enabled again.
    for (std::string_view name : generationControls(PageSet::Xp).disableList) {
        EXPECT_TRUE(ui.enabled(name)) << name;
    }

    // A second run into the same pack folder fails, and the page still stays.
    click("按钮48");
    EXPECT_EQ(ui.currentPage(), kPageXp6);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "生成失败,请重试!");
    EXPECT_EQ(platform.messages[1].icon, MessageIcon::Error);
}

TEST_F(PageFlow, TheWin7GenerateButtonWritesTheThemeAndLeavesThePageShown) {
    const std::string location = sandbox->root();
    ASSERT_TRUE(platform.makeDirectory(location + "\\styles"));
    const std::string style = location + "\\styles\\aero.msstyles";
    const std::string_view content = "aero";
    ASSERT_TRUE(platform.writeFile(
        style, {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()}));
    walkTo(kPageWin75);
    dialogs.fileAnswers.push_back(style);
    click("W可视化风格文件_打开");
    click("按钮22");
    ASSERT_EQ(ui.currentPage(), kPageWin76);

    // An empty name is refused and the page stays.
    click("按钮26");
    EXPECT_EQ(ui.currentPage(), kPageWin76);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);

    ui.setText("W生成名称", "七号主题");
    ui.setText("W显示名称", "七号主题 显示");
    ui.setText("W保存位置", location);
    click("按钮26");
    EXPECT_EQ(ui.currentPage(), kPageWin76);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "生成完毕!");
    const auto theme = platform.readFile(location + "\\七号主题.theme");
    ASSERT_TRUE(theme.has_value());
    // The captured transparency and colour of page WIN75 reach the theme file.
    EXPECT_NE(theme->find("ColorizationColor=0x7F0066FF"), std::string::npos);
    for (std::string_view name : generationControls(PageSet::Win7).disableList) {
        EXPECT_TRUE(ui.enabled(name)) << name;
    }
}

TEST_F(PageFlow, BrowseButtonsRunTheirPickers) {
    walkTo(kPageWin71);
    dialogs.fileAnswers.push_back("C:\\icons\\文档.ico");
    click("W我的文档_打开");
    EXPECT_EQ(ui.text("W我的文档_图标"), "C:\\icons\\文档.ico");
    EXPECT_EQ(app.project.iconFiles[0].fileName, "文档.ico");

    ui.goToPage(kPageXp6);
    dialogs.folderAnswers.push_back("D:\\themes");
    click("X保存位置_打开");
    EXPECT_EQ(ui.text("X保存位置"), "D:\\themes");
    EXPECT_EQ(ui.text("W保存位置"), "");
}

TEST_F(PageFlow, ControlsOfOtherPagesCannotBeReached) {
    EXPECT_FALSE(dispatch(wizard, "按钮8", ControlEvent::Click));
    EXPECT_EQ(ui.currentPage(), kPageMain);
    EXPECT_FALSE(dispatch(wizard, "按钮1", ControlEvent::ItemPicked));
    EXPECT_FALSE(dispatch(wizard, "no such control", ControlEvent::Click));
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
} // namespace quorvel
