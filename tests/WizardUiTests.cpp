// The in-memory window that the handler tests run on starts as the control table says.
#include "MemoryControls.h"
#include "pages/ControlTable.h"
#include "pages/WizardUi.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quorvel {
namespace {

using C = ControlId;

TEST(MemoryWizardUi, StartsFromTheControlTable) {
    MemoryWizardUi ui;
    EXPECT_EQ(ui.currentPage(), Page::Main);
    for (const ControlDef& c : controlTable()) {
        EXPECT_EQ(ui.text(c.id), c.caption) << c.name;
        EXPECT_EQ(ui.enabled(c.id), c.enabled) << c.name;
        if (c.kind == ControlKind::ComboBox) {
            EXPECT_EQ(ui.comboIndex(c.id), 0) << c.name;
            EXPECT_EQ(ui.text(c.id), c.items.front()) << c.name;
        }
        if (c.kind == ControlKind::Slider) {
            EXPECT_EQ(ui.sliderPosition(c.id), c.position) << c.name;
        }
    }
}

TEST(MemoryWizardUi, CombosShowTheirItemAndSlidersStayInRange) {
    MemoryWizardUi ui;
    ui.setComboIndex(C::XpSoundScheme, 2);
    EXPECT_EQ(ui.comboIndex(C::XpSoundScheme), 2);
    EXPECT_EQ(ui.text(C::XpSoundScheme), "自定义声音方案");
    EXPECT_THROW(ui.setComboIndex(C::XpSoundScheme, 3), std::out_of_range);
    ui.setSliderPosition(C::Win7AlphaSlider, 300);
    EXPECT_EQ(ui.sliderPosition(C::Win7AlphaSlider), 255);
    ui.setSliderPosition(C::Win7AlphaSlider, -4);
    EXPECT_EQ(ui.sliderPosition(C::Win7AlphaSlider), 0);
}

TEST(MemoryWizardUi, MissingPagesAreProgrammingErrors) {
    MemoryWizardUi ui;
    EXPECT_THROW(ui.goToPage(static_cast<Page>(14)), std::out_of_range);
    EXPECT_THROW(ui.goToPage(static_cast<Page>(-1)), std::out_of_range);
    EXPECT_EQ(ui.currentPage(), Page::Main);
}

} // namespace
} // namespace quorvel
