// The page flow of the wizard on the in-memory window: every button of every page, the
// operating-system gate, the about page and its return, the web-site buttons and the forward
// steps of pages WIN74 and XP5.
#include "WizardHarness.h"

#include "model/ProductInfo.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/PageFlow.h"
#include "pages/RequestCapture.h"
#include "pages/WindowStyle.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace quorvel {
namespace {

using C = ControlId;

class PageFlow : public testing::Test, protected test::WizardHarness {
protected:
    // A click as the user makes it: only on a control of the page shown, only when enabled.
    void click(ControlId button) {
        const ControlDef& def = controlDef(button);
        ASSERT_EQ(def.page, ui.currentPage()) << def.name << " is not on the page shown";
        ASSERT_TRUE(ui.enabled(button)) << def.name;
        ASSERT_TRUE(dispatch(wizard, button, ControlEvent::Click)) << def.name;
    }
    // Picks an item of a combo box as the user does.
    void pick(ControlId combo, int item) {
        ui.setComboIndex(combo, item);
        ASSERT_TRUE(dispatch(wizard, combo, ControlEvent::ItemPicked)) << controlDef(combo).name;
    }
    // Fills what the forward checks ask for: default schemes and the visual styles.
    void satisfyChecks() {
        type(C::Win7VisualStyle, "C:\\styles\\aero.msstyles");
        type(C::XpVisualStyle, "C:\\styles\\Luna.msstyles");
        for (ControlId combo :
             {C::Win7PointerScheme, C::Win7SoundScheme, C::XpPointerScheme, C::XpSoundScheme}) {
            choose(combo, kDefaultSchemeItem);
        }
    }
    // Walks from the main page to a page of the wizard that page belongs to, picking the default
    // schemes on the way.
    void walkTo(Page page) {
        const bool xp = page >= Page::Xp1;
        platform.version = xp ? OsVersion{5, 1} : OsVersion{6, 1};
        click(xp ? C::MainXp : C::MainWin7);
        const ControlId win7Next[] = {C::Win7IconsNext, C::Win7PointersNext, C::Win7SoundsNext,
                                      C::Win7DesktopNext, C::Win7StyleNext};
        const ControlId xpNext[] = {C::XpIconsNext, C::XpPointersNext, C::XpSoundsNext,
                                    C::XpDesktopNext, C::XpStyleNext};
        if (ui.text(xp ? C::XpVisualStyle : C::Win7VisualStyle).empty()) {
            type(xp ? C::XpVisualStyle : C::Win7VisualStyle, "C:\\styles\\Luna.msstyles");
        }
        const int first = pageIndex(xp ? Page::Xp1 : Page::Win71);
        for (int at = first; at < pageIndex(page); ++at) {
            if (ui.currentPage() == Page::Win72 || ui.currentPage() == Page::Xp2) {
                if (ui.comboIndex(xp ? C::XpPointerScheme : C::Win7PointerScheme) ==
                    kNoSchemeItem) {
                    pick(xp ? C::XpPointerScheme : C::Win7PointerScheme, kDefaultSchemeItem);
                }
            }
            if (ui.currentPage() == Page::Win73 || ui.currentPage() == Page::Xp3) {
                if (ui.comboIndex(xp ? C::XpSoundScheme : C::Win7SoundScheme) == kNoSchemeItem) {
                    pick(xp ? C::XpSoundScheme : C::Win7SoundScheme, kDefaultSchemeItem);
                }
            }
            click(xp ? xpNext[at - first] : win7Next[at - first]);
        }
        ASSERT_EQ(ui.currentPage(), page);
    }
};

TEST_F(PageFlow, StartsOnTheMainPageWithTheAboutReturnOnIt) {
    EXPECT_EQ(ui.currentPage(), Page::Main);
    EXPECT_EQ(app.aboutReturnPage, Page::Main);
    click(C::MainAbout);
    click(C::AboutReturn);
    EXPECT_EQ(ui.currentPage(), Page::Main);
}

TEST_F(PageFlow, EveryBackAndNextButtonSwitchesToItsPage) {
    struct Step {
        Page page;
        ControlId button;
        Page target;
    };
    const Step steps[] = {
        {Page::Win71, C::Win7IconsBack, Page::Main},
        {Page::Win71, C::Win7IconsNext, Page::Win72},
        {Page::Win72, C::Win7PointersBack, Page::Win71},
        {Page::Win72, C::Win7PointersNext, Page::Win73},
        {Page::Win73, C::Win7SoundsBack, Page::Win72},
        {Page::Win73, C::Win7SoundsNext, Page::Win74},
        {Page::Win74, C::Win7DesktopBack, Page::Win73},
        {Page::Win74, C::Win7DesktopNext, Page::Win75},
        {Page::Win75, C::Win7StyleBack, Page::Win74},
        {Page::Win75, C::Win7StyleNext, Page::Win76},
        {Page::Win76, C::Win7NamesBack, Page::Win75},
        {Page::Xp1, C::XpIconsBack, Page::Main},
        {Page::Xp1, C::XpIconsNext, Page::Xp2},
        {Page::Xp2, C::XpPointersBack, Page::Xp1},
        {Page::Xp2, C::XpPointersNext, Page::Xp3},
        {Page::Xp3, C::XpSoundsBack, Page::Xp2},
        {Page::Xp3, C::XpSoundsNext, Page::Xp4},
        {Page::Xp4, C::XpDesktopBack, Page::Xp3},
        {Page::Xp4, C::XpDesktopNext, Page::Xp5},
        {Page::Xp5, C::XpStyleBack, Page::Xp4},
        {Page::Xp5, C::XpStyleNext, Page::Xp6},
        {Page::Xp6, C::XpNamesBack, Page::Xp5},
    };
    satisfyChecks();
    for (const Step& s : steps) {
        ui.goToPage(s.page);
        click(s.button);
        EXPECT_EQ(ui.currentPage(), s.target) << controlDef(s.button).name;
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PageFlow, TheFlowTableHoldsEveryPageButtonOnce) {
    std::set<ControlId> flowButtons;
    for (const FlowRow& row : pageFlow()) {
        EXPECT_TRUE(flowButtons.insert(row.button).second) << controlDef(row.button).name;
        EXPECT_NE(row.step, nullptr) << controlDef(row.button).name;
    }
    // The page buttons are the graphic buttons and the push buttons that serve no field.
    std::set<ControlId> pageButtons;
    for (const ControlDef& c : controlTable()) {
        if (c.kind == ControlKind::GraphicButton ||
            (c.kind == ControlKind::PushButton && c.name.starts_with("按钮"))) {
            pageButtons.insert(c.id);
        }
    }
    EXPECT_EQ(flowButtons, pageButtons);
    EXPECT_EQ(flowButtons.size(), 49u);
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

        ui.goToPage(Page::Main);
        click(C::MainWin7);
        EXPECT_EQ(ui.currentPage(), c.win7 ? Page::Win71 : Page::Main);
        ui.goToPage(Page::Main);
        click(C::MainXp);
        EXPECT_EQ(ui.currentPage(), c.xp ? Page::Xp1 : Page::Main);

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
        Page page;
        ControlId about;
    };
    const Case cases[] = {
        {Page::Main, C::MainAbout},        {Page::Win71, C::Win7IconsAbout},
        {Page::Win73, C::Win7SoundsAbout}, {Page::Win74, C::Win7DesktopAbout},
        {Page::Win75, C::Win7StyleAbout},  {Page::Win76, C::Win7NamesAbout},
        {Page::Xp1, C::XpIconsAbout},      {Page::Xp3, C::XpSoundsAbout},
        {Page::Xp4, C::XpDesktopAbout},    {Page::Xp5, C::XpStyleAbout},
        {Page::Xp6, C::XpNamesAbout},
    };
    for (const Case& c : cases) {
        ui.goToPage(c.page);
        click(c.about);
        EXPECT_EQ(ui.currentPage(), Page::About) << c.page;
        EXPECT_EQ(app.aboutReturnPage, c.page);
        click(C::AboutReturn);
        EXPECT_EQ(ui.currentPage(), c.page);
    }
}

TEST_F(PageFlow, BackOnTheFirstPagesLeadsToTheMainPageEvenAfterAnAboutTrip) {
    walkTo(Page::Win71);
    click(C::Win7IconsAbout);
    click(C::AboutReturn);
    click(C::Win7IconsBack);
    EXPECT_EQ(ui.currentPage(), Page::Main);

    walkTo(Page::Xp4);
    click(C::XpDesktopAbout);
    click(C::AboutReturn);
    EXPECT_EQ(ui.currentPage(), Page::Xp4);
    click(C::XpDesktopBack);
    click(C::XpSoundsBack);
    click(C::XpPointersBack);
    click(C::XpIconsBack);
    EXPECT_EQ(ui.currentPage(), Page::Main);
    // The about page still returns to where it was last taken from.
    ui.goToPage(Page::About);
    click(C::AboutReturn);
    EXPECT_EQ(ui.currentPage(), Page::Xp4);
}

TEST_F(PageFlow, WebButtonsOpenTheForumExceptOnTheLastXpPage) {
    const std::pair<Page, ControlId> buttons[] = {
        {Page::Main, C::MainForum},      {Page::Win71, C::Win7IconsWeb},
        {Page::Win73, C::Win7SoundsWeb}, {Page::Win74, C::Win7DesktopWeb},
        {Page::Win75, C::Win7StyleWeb},  {Page::Win76, C::Win7NamesWeb},
        {Page::Xp1, C::XpIconsWeb},      {Page::Xp3, C::XpSoundsWeb},
        {Page::Xp4, C::XpDesktopWeb},    {Page::Xp5, C::XpStyleWeb},
        {Page::Xp6, C::XpNamesWeb},
    };
    std::vector<std::string> expected;
    for (auto [page, button] : buttons) {
        ui.goToPage(page);
        click(button);
        EXPECT_EQ(ui.currentPage(), page) << button;
        expected.push_back(page == Page::Xp6 ? kHomeAddress : kForumAddress);
    }
    EXPECT_EQ(platform.openedAddresses, expected);
    EXPECT_NE(std::string(kForumAddress), std::string(kHomeAddress));
}

TEST_F(PageFlow, SlideshowIntervalIsPresetOnlyWhenEmptyOnTheForwardPassFromWin74) {
    walkTo(Page::Win74);
    click(C::Win7DesktopNext);
    EXPECT_EQ(ui.text(C::Win7SlideshowInterval), "");
    EXPECT_FALSE(ui.enabled(C::Win7SlideshowInterval));

    click(C::Win7StyleBack);
    type(C::Win7Slideshow, "a.jpg;b.jpg;");
    click(C::Win7DesktopNext);
    EXPECT_EQ(ui.text(C::Win7SlideshowInterval), "180");
    EXPECT_TRUE(ui.enabled(C::Win7SlideshowInterval));

    // A typed interval survives later passes, also after going on to WIN76 and back.
    type(C::Win7SlideshowInterval, "45");
    click(C::Win7StyleNext);
    click(C::Win7NamesBack);
    click(C::Win7StyleBack);
    click(C::Win7DesktopNext);
    EXPECT_EQ(ui.text(C::Win7SlideshowInterval), "45");
    // Emptied by the user, it gets the preset again.
    type(C::Win7SlideshowInterval, "");
    click(C::Win7StyleBack);
    click(C::Win7DesktopNext);
    EXPECT_EQ(ui.text(C::Win7SlideshowInterval), "180");

    click(C::Win7StyleBack);
    type(C::Win7Slideshow, "");
    click(C::Win7DesktopNext);
    EXPECT_EQ(ui.text(C::Win7SlideshowInterval), "");
    EXPECT_FALSE(ui.enabled(C::Win7SlideshowInterval));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PageFlow, Xp5RequiresAVisualStyleBeforeMovingOn) {
    walkTo(Page::Xp5);
    type(C::XpVisualStyle, "");
    click(C::XpStyleNext);
    EXPECT_EQ(ui.currentPage(), Page::Xp5);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "必须指定可视化风格文件!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(platform.messages[0].title, "错误...");

    // Blanks are a visual style as far as the check goes.
    type(C::XpVisualStyle, " ");
    click(C::XpStyleNext);
    EXPECT_EQ(ui.currentPage(), Page::Xp6);
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(PageFlow, FieldsKeepTheirTextsWhileMovingBackAndForth) {
    // Custom schemes unlock every path field; then a text goes into every field of both wizards.
    // With images listed, the slideshow interval keeps its text over the WIN74 forward step.
    for (ControlId combo :
         {C::Win7PointerScheme, C::Win7SoundScheme, C::XpPointerScheme, C::XpSoundScheme}) {
        ui.goToPage(controlDef(combo).page.value());
        pick(combo, kCustomSchemeItem);
    }
    ui.goToPage(Page::Main);
    std::map<ControlId, std::string> typed;
    for (const ControlDef& c : controlTable()) {
        if (c.kind == ControlKind::EditField) {
            const std::string text = "text of " + std::string(c.name);
            type(c.id, text);
            typed[c.id] = text;
        }
    }
    walkTo(Page::Win76);
    for (ControlId back : {C::Win7NamesBack, C::Win7StyleBack, C::Win7DesktopBack,
                           C::Win7SoundsBack, C::Win7PointersBack, C::Win7IconsBack}) {
        click(back);
    }
    walkTo(Page::Xp6);
    click(C::XpNamesAbout);
    click(C::AboutReturn);
    for (ControlId back : {C::XpNamesBack, C::XpStyleBack, C::XpDesktopBack, C::XpSoundsBack,
                           C::XpPointersBack, C::XpIconsBack}) {
        click(back);
    }
    EXPECT_EQ(ui.currentPage(), Page::Main);
    for (const auto& [id, text] : typed) {
        EXPECT_EQ(ui.text(id), text);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PageFlow, ForwardChecksOfThePointerSoundAndStylePagesKeepThePage) {
    struct Case {
        Page page;
        ControlId next;
        const char* message;
    };
    const Case cases[] = {
        {Page::Win72, C::Win7PointersNext, "请选择鼠标方案后再行操作..."},
        {Page::Win73, C::Win7SoundsNext, "请选择声音方案后再行操作..."},
        {Page::Win75, C::Win7StyleNext, "必须指定可视化风格文件!"},
        {Page::Xp2, C::XpPointersNext, "请选择鼠标方案后再行操作..."},
        {Page::Xp3, C::XpSoundsNext, "请选择声音方案后再行操作..."},
        {Page::Xp5, C::XpStyleNext, "必须指定可视化风格文件!"},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        ui.goToPage(c.page);
        click(c.next);
        EXPECT_EQ(ui.currentPage(), c.page) << c.next;
        ASSERT_EQ(platform.messages.size(), 1u) << c.next;
        EXPECT_EQ(platform.messages[0].text, c.message);
    }
    // Passing the WIN72 and WIN75 checks moves on, and the request of the last page has what
    // the pages show.
    ui.goToPage(Page::Win72);
    pick(C::Win7PointerScheme, kDefaultSchemeItem);
    click(C::Win7PointersNext);
    EXPECT_EQ(ui.currentPage(), Page::Win73);
    type(C::Win7VisualStyle, "C:\\styles\\aero.msstyles");
    ui.goToPage(Page::Win75);
    click(C::Win7StyleNext);
    EXPECT_EQ(ui.currentPage(), Page::Win76);
    const ThemeRequest request = requestOf(app.document, PageSet::Win7);
    EXPECT_EQ(request.project.cursorSchemeName, "Windows Aero");
    EXPECT_EQ(request.project.windowAlphaText, "7F");
    EXPECT_EQ(request.project.windowColorText, "0066FF");
}

TEST_F(PageFlow, EveryControlTheUserCanActOnHasItsHandler) {
    // The colour button opens the palette popup, which the window binds itself.
    const std::set<ControlId> boundElsewhere = {C::Win7PickColor};
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
            count += b.control == c.id && event && b.event == *event;
        }
        if (boundElsewhere.count(c.id)) {
            continue;
        }
        EXPECT_EQ(count, event ? 1 : 0) << c.name;
    }
}

TEST_F(PageFlow, ControlsTheHandlersAndGeneratorsUseAreOnTheirPages) {
    const auto on = [](ControlId id, std::optional<Page> page) {
        return controlDef(id).page == page;
    };
    for (const AssetPickerDef& p : assetPickers()) {
        EXPECT_TRUE(on(p.field, controlDef(p.button).page)) << controlDef(p.field).name;
    }
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const PageSetControls& c = pageSetControls(set);
        for (const SchemeGroup* g : {&cursorSchemeGroup(set), &soundSchemeGroup(set)}) {
            const Page page = g == &cursorSchemeGroup(set) ? c.pointersPage : c.soundsPage;
            std::vector<ControlId> ids = {g->combo, g->nameField};
            ids.insert(ids.end(), g->pathFields.begin(), g->pathFields.end());
            ids.insert(ids.end(), g->buttons.begin(), g->buttons.end());
            for (ControlId id : ids) {
                EXPECT_TRUE(on(id, page)) << controlDef(id).name;
            }
        }
        const std::pair<ControlId, Page> placed[] = {
            {c.iconFields[0], c.iconsPage},      {c.iconButtons[4], c.iconsPage},
            {c.systemSaverTick, c.desktopPage},  {c.ownSaverTick, c.desktopPage},
            {c.systemSaver, c.desktopPage},      {c.ownSaverField, c.desktopPage},
            {c.ownSaverButton, c.desktopPage},   {c.wallpaper, c.desktopPage},
            {c.wallpaperButton, c.desktopPage},  {c.visualStyle, c.stylePage},
            {c.visualStyleButton, c.stylePage},  {c.themeName, c.namesPage},
            {c.displayName, c.namesPage},        {c.saveLocation, c.namesPage},
            {c.saveLocationButton, c.namesPage}, {c.generate, c.namesPage}};
        for (auto [id, page] : placed) {
            EXPECT_TRUE(on(id, page)) << controlDef(id).name;
        }
        // The screensaver list shows the prompt, then the system's screensavers.
        const ControlDef& combo = controlDef(c.systemSaver);
        const auto savers = systemScreensavers(set);
        ASSERT_EQ(combo.items.size(), savers.size() + 1);
        EXPECT_EQ(combo.items[0], kSystemScreensaverPrompt);
        for (std::size_t i = 0; i < savers.size(); ++i) {
            EXPECT_EQ(combo.items[i + 1], savers[i].item);
        }
    }
    // A run disables controls of its own last page only.
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        for (const ControlId id : generationDisableList(set)) {
            EXPECT_EQ(controlDef(id).page, pageSetControls(set).namesPage) << controlDef(id).name;
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
    walkTo(Page::Xp5);
    dialogs.fileAnswers.push_back(style);
    click(C::XpVisualStyleBrowse);
    click(C::XpStyleNext);
    type(C::XpThemeName, "流程主题");
    type(C::XpDisplayName, "流程主题 显示");
    type(C::XpSaveLocation, location);
    click(C::XpGenerate);
    EXPECT_EQ(ui.currentPage(), Page::Xp6);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成完毕!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(platform.readFile(location + "\\流程主题.theme").has_value());
    EXPECT_EQ(platform.readFile(location + "\\流程主题\\Luna.msstyles"), "style");
    // Every control the run disabled is enabled again.
    for (const ControlId id : generationDisableList(PageSet::Xp)) {
        EXPECT_TRUE(ui.enabled(id)) << controlDef(id).name;
    }

    // A second run into the same pack folder fails, and the page still stays.
    click(C::XpGenerate);
    EXPECT_EQ(ui.currentPage(), Page::Xp6);
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
    walkTo(Page::Win75);
    dialogs.fileAnswers.push_back(style);
    click(C::Win7VisualStyleBrowse);
    click(C::Win7StyleNext);
    ASSERT_EQ(ui.currentPage(), Page::Win76);

    // An empty name is refused and the page stays.
    click(C::Win7Generate);
    EXPECT_EQ(ui.currentPage(), Page::Win76);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);

    type(C::Win7ThemeName, "七号主题");
    type(C::Win7DisplayName, "七号主题 显示");
    type(C::Win7SaveLocation, location);
    click(C::Win7Generate);
    EXPECT_EQ(ui.currentPage(), Page::Win76);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "生成完毕!");
    const auto theme = platform.readFile(location + "\\七号主题.theme");
    ASSERT_TRUE(theme.has_value());
    // The captured transparency and colour of page WIN75 reach the theme file.
    EXPECT_NE(theme->find("ColorizationColor=0x7F0066FF"), std::string::npos);
    for (const ControlId id : generationDisableList(PageSet::Win7)) {
        EXPECT_TRUE(ui.enabled(id)) << controlDef(id).name;
    }
}

TEST_F(PageFlow, BrowseButtonsRunTheirPickers) {
    walkTo(Page::Win71);
    dialogs.fileAnswers.push_back("C:\\icons\\文档.ico");
    click(C::Win7IconDocumentsBrowse);
    EXPECT_EQ(ui.text(C::Win7IconDocuments), "C:\\icons\\文档.ico");
    EXPECT_EQ(app.project.iconFiles[0].fileName, "文档.ico");

    ui.goToPage(Page::Xp6);
    dialogs.folderAnswers.push_back("D:\\themes");
    click(C::XpSaveLocationBrowse);
    EXPECT_EQ(ui.text(C::XpSaveLocation), "D:\\themes");
    EXPECT_EQ(ui.text(C::Win7SaveLocation), "");
}

TEST_F(PageFlow, ControlsOfOtherPagesCannotBeReached) {
    EXPECT_FALSE(dispatch(wizard, C::Win7IconsNext, ControlEvent::Click));
    EXPECT_EQ(ui.currentPage(), Page::Main);
    EXPECT_FALSE(dispatch(wizard, C::MainWin7, ControlEvent::ItemPicked));
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
} // namespace quorvel
