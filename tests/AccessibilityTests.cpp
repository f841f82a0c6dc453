// What the program's own controls report to screen readers and UI automation: push buttons with
// their label and states, and the palette cells named by their colour.
#include "widgets/Accessibility.h"

#include "widgets/Palette.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quorvel::test {
namespace {

using namespace quorvel::access;

TEST(Accessibility, PushButtonsReportTheirLabelAndOnlyTheStatesThatApply) {
    struct Case {
        ButtonFacts facts;
        unsigned state;
    };
    const Case cases[] = {
        {{true, true, false, false, false}, Focusable},
        {{true, true, true, false, false}, Focusable | Focused},
        {{true, true, true, true, true}, Focusable | Focused | Pressed | HotTracked},
        {{true, true, false, false, true}, Focusable | HotTracked},
        // A disabled button can neither be focused nor pressed.
        {{true, false, true, true, true}, Unavailable},
        {{false, true, false, false, false}, Invisible | Focusable},
    };
    for (const Case& c : cases) {
        const Description d = pushButton("生成Win7主题", c.facts);
        EXPECT_EQ(d.role, Role::PushButton);
        EXPECT_EQ(d.name, "生成Win7主题");
        EXPECT_EQ(d.state, c.state) << std::hex << d.state;
        EXPECT_EQ(d.defaultAction, "按下");
    }
}

TEST(Accessibility, PaletteCellsAreListItemsNamedByTheirColour) {
    PaletteState state;
    palette::preparePalette(state);
    state.selectedCell = 61;
    std::set<std::string> names;
    for (int index = 1; index <= palette::kColorCount; ++index) {
        const Description d = paletteCell(state, index, 0, true);
        EXPECT_EQ(d.role, Role::ListItem);
        EXPECT_EQ(d.name.size(), 7u);
        names.insert(d.name);
        EXPECT_EQ(d.state & (Focused | HotTracked), 0u) << "nothing highlighted";
        EXPECT_EQ((d.state & Selected) != 0, index == 61) << index;
    }
    // Cell 12's grey is also cell 51's; every other colour appears once.
    EXPECT_EQ(names.size(), 69u);
    EXPECT_EQ(paletteCell(state, 70, 0, false).name, "#7030A0");
    EXPECT_EQ(paletteCell(state, 2, 0, false).name, "#000000");
    EXPECT_EQ(colorName({0x0A, 0xB0, 0x0C}), "#0AB00C");

    EXPECT_EQ(paletteCell(state, 25, 25, true).state,
              Focusable | Selectable | Focused | HotTracked);
    EXPECT_EQ(paletteCell(state, 25, 25, false).state, Focusable | Selectable | HotTracked)
        << "the focus is on a button";
    EXPECT_EQ(paletteCell(state, 61, 61, true).state,
              Focusable | Selectable | Selected | Focused | HotTracked);
}

} // namespace
} // namespace quorvel::test
