// The request captured from the pages of each page set, and the controls a run keeps disabled.
#include "pages/ControlTable.h"
#include "pages/Controls.h"
#include "pages/RequestCapture.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

bool onPagesOf(PageSet set, int page) {
    return set == PageSet::Win7 ? page >= kPageWin71 && page <= kPageWin76
                                : page >= kPageXp1 && page <= kPageXp6;
}

// Every field text of a request, in a fixed order.
std::vector<std::string> fieldTexts(const ThemeRequest& r) {
    std::vector<std::string> texts(r.iconFields.begin(), r.iconFields.end());
    texts.insert(texts.end(), r.pointerFields.begin(), r.pointerFields.end());
    texts.insert(texts.end(), r.soundFields.begin(), r.soundFields.end());
    texts.insert(texts.end(),
                 {r.wallpaperField, r.slideshowField, r.cursorSchemeField, r.soundSchemeField,
                  r.project.themeName, r.project.displayName, r.project.saveLocation});
    return texts;
}

ThemeProject projectWithSlots() {
    ThemeProject project;
    project.iconFiles[2] = {"C:\\i\\icon.ico", "icon.ico"};
    project.slideshowFiles = {{"C:\\s\\a.jpg", "a.jpg"}, {"C:\\s\\b.jpg", "b.jpg"}};
    project.cursorSchemeName = "指针方案";
    project.windowAlphaText = "7F";
    project.themeName = "not from the page";
    return project;
}

class RequestCapture : public testing::TestWithParam<PageSet> {
protected:
    ThemeRequest capture() const {
        return GetParam() == PageSet::Win7 ? captureWin7Request(controls, project)
                                           : captureXpRequest(controls, project);
    }
    MemoryControls controls;
    ThemeProject project = projectWithSlots();
};

// With every control of the table holding its own name, each field of the request names the
// control it came from: one of its own page set's edit fields, no two fields the same control.
TEST_P(RequestCapture, EveryFieldFilledComesFromItsOwnControlOfItsPageSet) {
    for (const ControlDef& def : controlTable()) {
        controls.setText(def.id, def.kind == ControlKind::TickBox ? "√" : def.name);
    }
    const ThemeRequest request = capture();
    EXPECT_EQ(request.pageSet, GetParam());

    std::set<std::string> seen;
    const std::vector<std::string> texts = fieldTexts(request);
    for (const std::string& text : texts) {
        if (text.empty()) {
            continue;
        }
        const ControlDef* def = findControl(text);
        ASSERT_NE(def, nullptr) << text;
        EXPECT_TRUE(onPagesOf(GetParam(), def->page)) << text;
        EXPECT_EQ(def->kind, ControlKind::EditField) << text;
        EXPECT_TRUE(seen.insert(text).second) << "read twice: " << text;
    }
    // Only the fields the pages lack stay empty: the XP pages' fifth sound and slideshow.
    const std::size_t absent = GetParam() == PageSet::Xp ? 2 : 0;
    EXPECT_EQ(seen.size(), texts.size() - absent);
    if (GetParam() == PageSet::Xp) {
        EXPECT_TRUE(request.soundFields[4].empty());
        EXPECT_TRUE(request.slideshowField.empty());
    }
    for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
        EXPECT_TRUE(request.pointerFields[i].ends_with(kPointerRoles[i])) << i;
    }
    const PageSetControls& page = pageSetControls(GetParam());
    EXPECT_EQ(request.project.themeName, controlDef(page.themeName).name);
    EXPECT_EQ(request.project.displayName, controlDef(page.displayName).name);
    EXPECT_EQ(request.project.saveLocation, controlDef(page.saveLocation).name);
    EXPECT_TRUE(request.systemScreensaverTicked);
    EXPECT_TRUE(request.ownScreensaverTicked);
    // The slots come from the project as they stand.
    EXPECT_EQ(request.project.iconFiles, project.iconFiles);
    EXPECT_EQ(request.project.slideshowFiles, project.slideshowFiles);
    EXPECT_EQ(request.project.cursorSchemeName, project.cursorSchemeName);
    EXPECT_EQ(request.project.windowAlphaText, project.windowAlphaText);
}

TEST_P(RequestCapture, EveryFieldEmptyStaysEmptyAndABlankStaysABlank) {
    const ThemeRequest empty = capture();
    for (const std::string& text : fieldTexts(empty)) {
        EXPECT_TRUE(text.empty()) << text;
    }
    EXPECT_FALSE(empty.systemScreensaverTicked);
    EXPECT_FALSE(empty.ownScreensaverTicked);
    EXPECT_EQ(empty.project.iconFiles, project.iconFiles);

    for (const ControlDef& def : controlTable()) {
        controls.setText(def.id, " ");
    }
    const ThemeRequest blank = capture();
    std::size_t blanks = 0;
    for (const std::string& text : fieldTexts(blank)) {
        blanks += text == " " ? 1 : 0;
    }
    EXPECT_EQ(blanks, fieldTexts(blank).size() - (GetParam() == PageSet::Xp ? 2 : 0));
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
