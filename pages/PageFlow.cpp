#include "pages/PageFlow.h"

#include "generator/GenerationRun.h"
#include "generator/Win7ThemeGenerator.h"
#include "generator/XpThemeGenerator.h"
#include "model/ProductInfo.h"
#include "model/Texts.h"
#include "model/ThemeDocument.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/RequestCapture.h"
#include "pages/WindowStyle.h"

#include <array>
#include <optional>
#include <string>

namespace quorvel {

namespace {

void showError(Wizard& w, std::string_view message) {
    w.platform.messageBox(std::string(message), MessageIcon::Error, std::string(text::kErrorTitle));
}

template <Page Target> void switchTo(Wizard& w) {
    w.ui.goToPage(Target);
}

template <bool (*Check)(Wizard&), Page Target> void checkThenSwitch(Wizard& w) {
    if (Check(w)) {
        w.ui.goToPage(Target);
    }
}

void openWin7Wizard(Wizard& w) {
    if (osReleaseCode(w.platform) == 9) {
        w.ui.goToPage(Page::Win71);
    } else {
        showError(w, text::kWin7Only);
    }
}

void openXpWizard(Wizard& w) {
    if (osReleaseCode(w.platform) == 6) {
        w.ui.goToPage(Page::Xp1);
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
    w.ui.goToPage(Page::Win75);
}

template <PageSet Set> bool commitCursorPage(Wizard& w) {
    return commitCursorSchemePage(Set, w.ui, w.platform);
}
template <PageSet Set> bool commitSoundPage(Wizard& w) {
    return commitSoundSchemePage(Set, w.ui, w.platform);
}
bool commitWin7StylePage(Wizard& w) {
    return commitStylePage(ControlId::Win7VisualStyle, w.ui, w.platform);
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
    generate(w, requestOf(w.app.document, PageSet::Win7), generateWin7Theme);
}
void generateXp(Wizard& w) {
    generate(w, requestOf(w.app.document, PageSet::Xp), generateXpTheme);
}

// The pages' buttons in the order of the pages.
using C = ControlId;

const std::array<FlowRow, 49> kPageFlow = {{
    {C::MainWin7, openWin7Wizard},
    {C::MainXp, openXpWizard},
    {C::MainForum, openForum},
    {C::MainAbout, aboutStep},
    {C::AboutReturn, returnFromAbout},

    {C::Win7IconsAbout, aboutStep},
    {C::Win7IconsBack, switchTo<Page::Main>},
    {C::Win7IconsNext, switchTo<Page::Win72>},
    {C::Win7IconsWeb, openForum},
    {C::Win7PointersBack, switchTo<Page::Win71>},
    {C::Win7PointersNext, checkThenSwitch<commitCursorPage<PageSet::Win7>, Page::Win73>},
    {C::Win7SoundsAbout, aboutStep},
    {C::Win7SoundsBack, switchTo<Page::Win72>},
    {C::Win7SoundsNext, checkThenSwitch<commitSoundPage<PageSet::Win7>, Page::Win74>},
    {C::Win7SoundsWeb, openForum},
    {C::Win7DesktopAbout, aboutStep},
    {C::Win7DesktopBack, switchTo<Page::Win73>},
    {C::Win7DesktopNext, leaveDesktopPage},
    {C::Win7DesktopWeb, openForum},
    {C::Win7StyleAbout, aboutStep},
    {C::Win7StyleBack, switchTo<Page::Win74>},
    {C::Win7StyleNext, checkThenSwitch<commitWin7StylePage, Page::Win76>},
    {C::Win7StyleWeb, openForum},
    {C::Win7NamesAbout, aboutStep},
    {C::Win7NamesBack, switchTo<Page::Win75>},
    {C::Win7Generate, generateWin7},
    {C::Win7NamesWeb, openForum},

    {C::XpIconsAbout, aboutStep},
    {C::XpIconsBack, switchTo<Page::Main>},
    {C::XpIconsNext, switchTo<Page::Xp2>},
    {C::XpIconsWeb, openForum},
    {C::XpPointersBack, switchTo<Page::Xp1>},
    {C::XpPointersNext, checkThenSwitch<commitCursorPage<PageSet::Xp>, Page::Xp3>},
    {C::XpSoundsAbout, aboutStep},
    {C::XpSoundsBack, switchTo<Page::Xp2>},
    {C::XpSoundsNext, checkThenSwitch<commitSoundPage<PageSet::Xp>, Page::Xp4>},
    {C::XpSoundsWeb, openForum},
    {C::XpDesktopAbout, aboutStep},
    {C::XpDesktopBack, switchTo<Page::Xp3>},
    {C::XpDesktopNext, switchTo<Page::Xp5>},
    {C::XpDesktopWeb, openForum},
    {C::XpStyleAbout, aboutStep},
    {C::XpStyleBack, switchTo<Page::Xp4>},
    {C::XpStyleNext, checkThenSwitch<commitXpStylePage, Page::Xp6>},
    {C::XpStyleWeb, openForum},
    {C::XpNamesAbout, aboutStep},
    {C::XpNamesBack, switchTo<Page::Xp5>},
    {C::XpGenerate, generateXp},
    {C::XpNamesWeb, openHome},
}};

std::vector<Binding> buildBindings() {
    using E = ControlEvent;
    std::vector<Binding> result;
    for (const FlowRow& row : kPageFlow) {
        if (row.step) {
            result.push_back({row.button, E::Click, row.step});
        }
    }
    // A pick fills its field: the field and the picks go into the document as an edit does.
    for (const AssetPickerDef& picker : assetPickers()) {
        result.push_back({picker.button, E::Click, [&picker](Wizard& w) {
                              pickAssetFile(picker, w.dialogs, w.fileDialog, w.ui, w.app.project);
                              takeEdit(w, picker.field);
                          }});
    }
    result.push_back({C::Win7SlideshowBrowse, E::Click, [](Wizard& w) {
                          pickSlideshowFiles(w.dialogs, w.ui, w.app.project);
                          takeEdit(w, C::Win7Slideshow);
                      }});

    // The choices with a rule of the document apply it to the document, which the controls then
    // show.
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const PageSetControls& c = pageSetControls(set);
        result.push_back({c.saveLocationButton, E::Click, [field = c.saveLocation](Wizard& w) {
                              pickSaveFolder(field, w.dialogs, w.ui);
                              takeEdit(w, field);
                          }});
        result.push_back({c.pointerScheme, E::ItemPicked, [set](Wizard& w) {
                              selectScheme(cursorSchemeGroup(set), w.ui,
                                           w.app.document.choices(set));
                          }});
        result.push_back({c.soundScheme, E::ItemPicked, [set](Wizard& w) {
                              selectScheme(soundSchemeGroup(set), w.ui,
                                           w.app.document.choices(set));
                          }});
        result.push_back({c.systemSaver, E::ItemPicked, [set, list = c.systemSaver](Wizard& w) {
                              selectSystemScreensaver(set, w.ui, w.app.project);
                              takeEdit(w, list);
                          }});
        result.push_back({c.systemSaverTick, E::TickReleased, [set](Wizard& w) {
                              clickScreensaverBox(set, ScreensaverSource::System,
                                                  w.app.document.choices(set), w.ui);
                          }});
        result.push_back({c.ownSaverTick, E::TickReleased, [set](Wizard& w) {
                              clickScreensaverBox(set, ScreensaverSource::Own,
                                                  w.app.document.choices(set), w.ui);
                          }});
    }
    result.push_back({C::Win7AlphaSlider, E::SliderMoved, [](Wizard& w) {
                          PageChoices& choices = w.app.document.win7;
                          moveTransparencySlider(choices, w.ui.sliderPosition(C::Win7AlphaSlider));
                          w.ui.setText(C::Win7Alpha, choices.transparency);
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

bool dispatch(Wizard& wizard, ControlId control, ControlEvent event) {
    const std::optional<Page> page = controlDef(control).page;
    if (page && *page != wizard.ui.currentPage()) {
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

void aboutStep(Wizard& w) {
    w.app.aboutReturnPage = w.ui.currentPage();
    w.ui.goToPage(Page::About);
}

void takeEdit(Wizard& w, ControlId control) {
    takeControl(w.ui, control, w.app.document);
    takePicks(w.app, w.app.document);
}

void commitDesktopPage(Wizard& w) {
    PageChoices& choices = w.app.document.win7;
    passDesktopPage(choices);
    w.ui.setText(C::Win7SlideshowInterval, choices.slideshowInterval);
    w.ui.setEnabled(C::Win7SlideshowInterval, !choices.slideshowImages.empty());
}

bool commitXpStylePage(Wizard& w) {
    return commitStylePage(C::XpVisualStyle, w.ui, w.platform);
}

} // namespace quorvel
