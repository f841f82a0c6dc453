// The in-memory window that the handler tests run on starts as the control table says.
#include "wizard/ControlTable.h"
#include "wizard/WizardUi.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quorvel {
namespace {

TEST(MemoryWizardUi, StartsFromTheControlTable) {
    MemoryWizardUi ui;
    EXPECT_EQ(ui.currentPage(), kPageMain);
    EXPECT_EQ(ui.text("W透明窗口颜色"), "0066FF");
    EXPECT_EQ(ui.text("按钮26"), "生  成");
    EXPECT_EQ(ui.text("W生成名称"), "");
    EXPECT_FALSE(ui.enabled("WArrow"));
    EXPECT_TRUE(ui.enabled("W桌面壁纸"));
    EXPECT_EQ(ui.comboIndex("W鼠标"), 0);
    EXPECT_EQ(ui.text("W鼠标"), "请选择鼠标方案(系统或自定)");
    EXPECT_EQ(ui.sliderPosition("窗口透明度滑块"), 127);
}

TEST(MemoryWizardUi, CombosShowTheirItemAndSlidersStayInRange) {
    MemoryWizardUi ui;
    ui.setComboIndex("X声音", 2);
    EXPECT_EQ(ui.comboIndex("X声音"), 2);
    EXPECT_EQ(ui.text("X声音"), "自定义声音方案");
    EXPECT_THROW(ui.setComboIndex("X声音", 3), std::out_of_range);
    ui.setSliderPosition("窗口透明度滑块", 300);
    EXPECT_EQ(ui.sliderPosition("窗口透明度滑块"), 255);
    ui.setSliderPosition("窗口透明度滑块", -4);
    EXPECT_EQ(ui.sliderPosition("窗口透明度滑块"), 0);
}

TEST(MemoryWizardUi, UnknownNamesAndPagesAreProgrammingErrors) {
    MemoryWizardUi ui;
    EXPECT_THROW(ui.text("W不存在"), std::out_of_range);
    EXPECT_THROW(ui.setEnabled("W不存在", false), std::out_of_range);
    EXPECT_THROW(ui.goToPage(14), std::out_of_range);
    EXPECT_THROW(ui.goToPage(-1), std::out_of_range);
    EXPECT_EQ(ui.currentPage(), kPageMain);
}

} // namespace
} // namespace quorvel
