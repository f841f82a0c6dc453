#include "wizard/PageFlow.h"

#include "generator/GenerationRun.h"
#include "generator/Win7ThemeGenerator.h"
#include "generator/XpThemeGenerator.h"
#include "model/ProductInfo.h"
#include "model/Texts.h"
#include "wizard/Choices.h"
#include "wizard/ControlTable.h"
#include "wizard/RequestCapture.h"
#include "wizard/WindowStyle.h"

#include <array>
#include <optional>
#include <string>

namespace quorvel {

namespace {

void showError(Wizard& w, std::string_view message) {
    w.platform.messageBox(std::string(message), MessageIcon::Error, std::string(text::kErrorTitle));
}

template <int Target> void switchTo(Wizard& w) {
    w.ui.goToPage(Target);
}

template <bool (*Check)(Wizard&), int Target> void checkThenSwitch(Wizard& w) {
    if (Check(w)) {
        w.ui.goToPage(Target);
    }
}

void openWin7Wizard(Wizard& w) {
    if (osReleaseCode(w.platform) == 9) {
        w.ui.goToPage(kPageWin71);
    } else {
        showError(w, text::kWin7Only);
    }
}

void openXpWizard(Wizard& w) {
    if (osReleaseCode(w.platform) == 6) {
        w.ui.goToPage(kPageXp1);
    } else {
        showError(w, text::kXpOnly);
    }
}

void openForum(Wizard& w) {
    w.platform.openWebAddress(kForumAddress);
}
void openHome(Wizard& w) {
    w.platform.openWebAddress(kHomeAddress);
}
void returnFromAbout(Wizard& w) {
    w.ui.goToPage(w.app.aboutReturnPage);
}

void leaveDesktopPage(Wizard& w) {
    commitDesktopPage(w);
    w.ui.goToPage(kPageWin75);
}

template <PageSet Set> bool commitCursorPage(Wizard& w) {
    return commitCursorSchemePage(Set, w.ui, w.app.project, w.platform);
}
template <PageSet Set> bool commitSoundPage(Wizard& w) {
    return commitSoundSchemePage(Set, w.ui, w.app.project, w.platform);
}
bool commitStylePage(Wizard& w) {
    return commitWindowStylePage(w.ui, w.app.project, w.platform);
}

// The generators run inside the click and leave the page shown, whatever their outcome. A
// request that is turned down leaves the controls alone; a run keeps them disabled until it
// ends. Its report is shown once they are enabled again.
void generate(Wizard& w, const ThemeRequest& request,
              GenerationReport (*generator)(const ThemeRequest&, Platform&)) {
    std::optional<GenerationReport> report = refusalOf(request, w.platform);
    if (!report) {
        const GenerationControlsDisabled disabled(w.ui, request.pageSet);
        report = generator(request, w.platform);
    }
    w.platform.messageBox(report->message, report->icon, report->title);
}
void generateWin7(Wizard& w) {
    generate(w, captureWin7Request(w.ui, w.app.project), generateWin7Theme);
}
void generateXp(Wizard& w) {
    generate(w, captureXpRequest(w.ui, w.app.project), generateXpTheme);
}

// The pages' buttons in the order of the pages.
const std::array<FlowRow, 49> kPageFlow = {{
    {kPageMain, "按钮1", "生成Win7主题", openWin7Wizard},
    {kPageMain, "按钮2", "生成WinXP主题", openXpWizard},
    {kPageMain, "按钮3", "访问我们の网站", openForum},
    {kPageMain, "按钮4", "查看软件の信息", aboutStep},
    {kPageAbout, "按钮5", "返回主界面", returnFromAbout},

    {kPageWin71, "按钮6", "关  于", aboutStep},
    {kPageWin71, "按钮7", "上一步", switchTo<kPageMain>},
    {kPageWin71, "按钮8", "下一步", switchTo<kPageWin72>},
    {kPageWin71, "按钮9", "官  网", openForum},
    {kPageWin72, "按钮11", "上一步", switchTo<kPageWin71>},
    {kPageWin72, "按钮10", "下一步", checkThenSwitch<commitCursorPage<PageSet::Win7>, kPageWin73>},
    {kPageWin73, "按钮12", "关  于", aboutStep},
    {kPageWin73, "按钮13", "上一步", switchTo<kPageWin72>},
    {kPageWin73, "按钮14", "下一步", checkThenSwitch<commitSoundPage<PageSet::Win7>, kPageWin74>},
    {kPageWin73, "按钮15", "官  网", openForum},
    {kPageWin74, "按钮16", "关  于", aboutStep},
    {kPageWin74, "按钮17", "上一步", switchTo<kPageWin73>},
    {kPageWin74, "按钮18", "下一步", leaveDesktopPage},
    {kPageWin74, "按钮19", "官  网", openForum},
    {kPageWin75, "按钮20", "关  于", aboutStep},
    {kPageWin75, "按钮21", "上一步", switchTo<kPageWin74>},
    {kPageWin75, "按钮22", "下一步", checkThenSwitch<commitStylePage, kPageWin76>},
    {kPageWin75, "按钮23", "官  网", openForum},
    {kPageWin76, "按钮24", "关  于", aboutStep},
    {kPageWin76, "按钮25", "上一步", switchTo<kPageWin75>},
    {kPageWin76, "按钮26", "生  成", generateWin7},
    {kPageWin76, "按钮27", "官  网", openForum},

    {kPageXp1, "按钮28", "关  于", aboutStep},
    {kPageXp1, "按钮29", "上一步", switchTo<kPageMain>},
    {kPageXp1, "按钮30", "下一步", switchTo<kPageXp2>},
    {kPageXp1, "按钮31", "官  网", openForum},
    {kPageXp2, "按钮32", "上一步", switchTo<kPageXp1>},
    {kPageXp2, "按钮33", "下一步", checkThenSwitch<commitCursorPage<PageSet::Xp>, kPageXp3>},
    {kPageXp3, "按钮34", "关  于", aboutStep},
    {kPageXp3, "按钮35", "上一步", switchTo<kPageXp2>},
    {kPageXp3, "按钮36", "下一步", checkThenSwitch<commitSoundPage<PageSet::Xp>, kPageXp4>},
    {kPageXp3, "按钮37", "官  网", openForum},
    {kPageXp4, "按钮38", "关  于", aboutStep},
    {kPageXp4, "按钮39", "上一步", switchTo<kPageXp3>},
    {kPageXp4, "按钮40", "下一步", switchTo<kPageXp5>},
    {kPageXp4, "按钮41", "官  网", openForum},
    {kPageXp5, "按钮42", "关  于", aboutStep},
    {kPageXp5, "按钮43", "上一步", switchTo<kPageXp4>},
    {kPageXp5, "按钮44", "下一步", checkThenSwitch<commitXpStylePage, kPageXp6>},
    {kPageXp5, "按钮45", "官  网", openForum},
    {kPageXp6, "按钮46", "关  于", aboutStep},
    {kPageXp6, "按钮47", "上一步", switchTo<kPageXp5>},
    {kPageXp6, "按钮48", "生  成", generateXp},
    {kPageXp6, "按钮49", "官  网", openHome},
}};

std::vector<Binding> buildBindings() {
    using E = ControlEvent;
    std::vector<Binding> result;
    for (const FlowRow& row : kPageFlow) {
        if (row.step) {
            result.push_back({row.button, E::Click, row.step});
        }
    }
    for (const AssetPickerDef& picker : assetPickers()) {
        result.push_back({picker.button, E::Click, [&picker](Wizard& w) {
                              pickAssetFile(picker, w.dialogs, w.fileDialog, w.ui, w.app.project);
                          }});
    }
    result.push_back({"W壁纸文件夹_打开", E::Click,
                      [](Wizard& w) { pickSlideshowFiles(w.dialogs, w.ui, w.app.project); }});
    result.push_back({"W保存位置_选择", E::Click,
                      [](Wizard& w) { pickSaveFolder("W保存位置", w.dialogs, w.ui); }});
    result.push_back({"X保存位置_打开", E::Click,
                      [](Wizard& w) { pickSaveFolder("X保存位置", w.dialogs, w.ui); }});

    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        result.push_back({cursorSchemeGroup(set).combo, E::ItemPicked,
                          [set](Wizard& w) { selectCursorScheme(set, w.ui); }});
        result.push_back({soundSchemeGroup(set).combo, E::ItemPicked,
                          [set](Wizard& w) { selectSoundScheme(set, w.ui); }});
        const ScreensaverControls& saver = screensaverControls(set);
        result.push_back({saver.systemCombo, E::ItemPicked,
                          [set](Wizard& w) { selectSystemScreensaver(set, w.ui, w.app.project); }});
        result.push_back({saver.systemTick, E::TickReleased,
                          [set](Wizard& w) { toggleSystemScreensaver(set, w.ui); }});
        result.push_back({saver.ownTick, E::TickReleased,
                          [set](Wizard& w) { toggleOwnScreensaver(set, w.ui); }});
    }
    result.push_back({kAlphaSlider, E::SliderMoved, [](Wizard& w) {
                          onAlphaSliderMoved(w.ui, w.ui.sliderPosition(kAlphaSlider));
                      }});
    return result;
}

} // namespace

std::span<const FlowRow> pageFlow() {
    return kPageFlow;
}

std::span<const Binding> bindings() {
    static const std::vector<Binding> table = buildBindings();
    return table;
}

bool dispatch(Wizard& wizard, std::string_view control, ControlEvent event) {
    const ControlDef* def = findControl(control);
    if (def && def->page != kNoPage && def->page != wizard.ui.currentPage()) {
        return false;
    }
    for (const Binding& b : bindings()) {
        if (b.control == control && b.event == event) {
            b.handle(wizard);
            return true;
        }
    }
    return false;
}

int osReleaseCode(OsVersion v) {
    if (v.major <= 4) {
        return 4;
    }
    if (v.major == 5) {
        switch (v.minor) {
        case 0:
            return 5;
        case 1:
            return 6;
        case 2:
            return 7;
        default:
            return 0;
        }
    }
    if (v.major == 6) {
        switch (v.minor) {
        case 0:
            return 8;
        case 1:
            return 9;
        default:
            return 0;
        }
    }
    return 0;
}

int osReleaseCode(Platform& platform) {
    return osReleaseCode(platform.osVersion());
}

void aboutStep(Wizard& w) {
    w.app.aboutReturnPage = w.ui.currentPage();
    w.ui.goToPage(kPageAbout);
}

void commitDesktopPage(Wizard& w) {
    if (w.ui.text("W壁纸文件夹").empty()) {
        w.ui.setText("W壁纸切换时间", "");
        w.ui.setEnabled("W壁纸切换时间", false);
    } else {
        w.ui.setText("W壁纸切换时间", "180");
        w.ui.setEnabled("W壁纸切换时间", true);
    }
}

bool commitXpStylePage(Wizard& w) {
    if (w.ui.text("X可视化风格").empty()) {
        showError(w, text::kNoVisualStyle);
        return false;
    }
    return true;
}

} // namespace quorvel
