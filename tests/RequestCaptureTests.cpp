// The document the controls of the pages show and the controls a document gives, and the
// controls a run keeps disabled.
#include "MemoryControls.h"
#include "model/ProjectFile.h"
#include "model/SystemScreensavers.h"
#include "model/ThemeDocument.h"
#include "pages/ControlTable.h"
#include "pages/RequestCapture.h"
#include "pages/WizardUi.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

bool onPagesOf(PageSet set, std::optional<Page> page) {
    return set == PageSet::Win7 ? page >= Page::Win71 && page <= Page::Win76
                                : page >= Page::Xp1 && page <= Page::Xp6;
}

class RequestCapture : public testing::TestWithParam<PageSet> {
protected:
    MemoryWizardUi controls;
    AppState app;
};

// With every control of the table holding its own name, each text of the document names the
// control it came from: one of its own page set's edit fields, no two texts the same control.
TEST_P(RequestCapture, EveryTextOfTheDocumentComesFromItsOwnControlOfItsPageSet) {
    for (const ControlDef& def : controlTable()) {
        if (def.kind == ControlKind::EditField || def.kind == ControlKind::TickBox) {
            controls.setText(def.id, def.kind == ControlKind::TickBox ? "√" : def.name);
        }
    }
    app.project.iconFiles[2] = {"C:\\i\\icon.ico", "icon.ico"};
    ThemeDocument document = documentOfControls(controls, app, GetParam());
    EXPECT_EQ(document.pageSet, GetParam());
    EXPECT_EQ(document.picks, picksOf(app.project));

    std::set<std::string> seen;
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        std::size_t texts = 0;
        for (const ProjectField& field : projectFields(set)) {
            if (field.role != FieldRole::Text) {
                continue;
            }
            const std::string& text = field.text(document.choices(set));
            const ControlDef* def = findControl(text);
            ASSERT_NE(def, nullptr) << field.key << ": " << text;
            EXPECT_TRUE(onPagesOf(set, def->page)) << text;
            EXPECT_EQ(def->kind, ControlKind::EditField) << text;
            EXPECT_TRUE(seen.insert(text).second) << "read twice: " << text;
            ++texts;
        }
        EXPECT_EQ(texts, set == PageSet::Win7 ? 37u : 32u);
        // Both boxes show a mark, which no click gives: the system one counts.
        EXPECT_EQ(document.choices(set).screensaver, ScreensaverSource::System);
    }
    // Every stateful field of the table is a text of the document.
    std::size_t edits = 0;
    for (const ControlDef& def : controlTable()) {
        edits += def.kind == ControlKind::EditField ? 1 : 0;
    }
    EXPECT_EQ(seen.size(), edits);
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        EXPECT_TRUE(document.choices(GetParam()).pointerPaths[i].ends_with(kPointerRoles[i])) << i;
    }
    // The lists hold the items the document's choices count.
    const PageSetControls& c = pageSetControls(GetParam());
    EXPECT_EQ(controlDef(c.systemSaver).items.size(), systemScreensavers(GetParam()).size() + 1);
    EXPECT_EQ(controlDef(c.pointerScheme).items.size(), std::size_t{kCustomSchemeItem + 1});
    EXPECT_EQ(controlDef(c.soundScheme).items.size(), std::size_t{kCustomSchemeItem + 1});
    EXPECT_EQ(controlDef(ControlId::Win7AlphaSlider).maximum, 255);
    EXPECT_TRUE(document.xp.soundPaths[4].empty()) << "the XP pages have four sound fields";
}

// The document the controls show goes back into the controls unchanged, and the controls as the
// wizard starts show the document as it starts.
TEST_P(RequestCapture, ShowingADocumentAndReadingItBackGivesTheSameDocument) {
    ThemeDocument initial;
    initial.pageSet = GetParam();
    EXPECT_EQ(documentOfControls(controls, app, GetParam()), initial);

    ThemeDocument document;
    document.pageSet = GetParam();
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        PageChoices& c = document.choices(set);
        const std::string tag = set == PageSet::Win7 ? "7" : "x";
        chooseScheme(c, set, SchemeKind::Pointers, kCustomSchemeItem);
        chooseScheme(c, set, SchemeKind::Sounds, kDefaultSchemeItem);
        tickScreensaver(c, ScreensaverSource::System, true);
        c.systemScreensaverItem = 3;
        if (set == PageSet::Win7) {
            moveTransparencySlider(c, 40);
        }
        for (const ProjectField& field : projectFields(set)) {
            // The sound fields of the system's scheme stay empty, as choosing it leaves them.
            if (field.role == FieldRole::Text && !field.key.starts_with("Sound.") &&
                field.key != "SoundSchemeName" && field.key != "Screensaver") {
                field.text(c) = field.key + tag;
            }
        }
    }
    document.picks.wallpaperFile = {"C:\\w.jpg", "w.jpg"};
    showDocument(document, controls, app);
    EXPECT_EQ(app.project.wallpaperFile, document.picks.wallpaperFile);
    EXPECT_EQ(documentOfControls(controls, app, GetParam()), document);
    EXPECT_TRUE(controls.enabled(pageSetControls(GetParam()).systemSaver));
    EXPECT_FALSE(controls.enabled(pageSetControls(GetParam()).ownSaverField));
}

TEST_P(RequestCapture, TheRunDisablesItsOwnPageSetsControlsUntilItEndsAlsoWhenItThrows) {
    const std::span<const ControlId> list = generationDisableList(GetParam());
    const auto allDisabled = [&] {
        for (const ControlId id : list) {
            if (controls.enabled(id)) {
                return false;
            }
        }
        return true;
    };
    try {
        const GenerationControlsDisabled disabled(controls, GetParam());
        EXPECT_TRUE(allDisabled());
        const PageSet other = GetParam() == PageSet::Win7 ? PageSet::Xp : PageSet::Win7;
        EXPECT_TRUE(controls.enabled(pageSetControls(other).themeName));
        throw std::runtime_error("the run broke off");
    } catch (const std::runtime_error&) {
    }
    for (const ControlId id : list) {
        EXPECT_TRUE(controls.enabled(id)) << controlDef(id).name;
    }
}

INSTANTIATE_TEST_SUITE_P(, RequestCapture, testing::Values(PageSet::Win7, PageSet::Xp),
                         [](const testing::TestParamInfo<PageSet>& info) {
                             return info.param == PageSet::Win7 ? "Win7" : "Xp";
                         });

} // namespace
} // namespace quorvel::test
