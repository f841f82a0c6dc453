// The window colour and transparency conversions and the window style page's check.
#include "MemoryControls.h"
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "model/ThemeDocument.h"
#include "pages/Choices.h"
#include "pages/WindowStyle.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorvel::test {
namespace {

TEST(WindowStyle, HexTextOfTransparencyValues) {
    EXPECT_EQ(toHexText(0), "");
    EXPECT_EQ(toHexText(5), "5");
    EXPECT_EQ(toHexText(15), "F");
    EXPECT_EQ(toHexText(16), "10");
    EXPECT_EQ(toHexText(127), "7F");
    EXPECT_EQ(toHexText(255), "FF");
    EXPECT_EQ(toHexText(256), "100");
    EXPECT_EQ(toHexText(300), "12C");
    EXPECT_EQ(toHexText(4096), "1000");
    EXPECT_EQ(toHexText(0xABCDEF), "ABCDEF");
    // Beyond the 53 bits a double holds exactly, every digit still counts.
    EXPECT_EQ(toHexText((std::int64_t{1} << 60) + 1), "1000000000000001");
    EXPECT_EQ(toHexText(std::numeric_limits<std::int64_t>::max()), "7FFFFFFFFFFFFFFF");
    EXPECT_EQ(toHexText(-5), "");
}

TEST(WindowStyle, StripLeadingZeros) {
    EXPECT_EQ(stripLeadingZeros("007F"), "7F");
    EXPECT_EQ(stripLeadingZeros("000"), "");
    EXPECT_EQ(stripLeadingZeros(""), "");
    EXPECT_EQ(stripLeadingZeros("100"), "100");
}

// The one spelling of a colour in the colour field, the project file and the palette's cell
// names: six upper-case digits, red first, read back in either case and nothing else.
TEST(WindowStyle, ColourAsSixDigitsRedFirst) {
    struct Case {
        Rgb color;
        std::string_view text;
    };
    for (const Case& c : {Case{{0, 102, 255}, "0066FF"}, Case{{255, 255, 255}, "FFFFFF"},
                          Case{{0, 0, 0}, "000000"}, Case{{5, 0, 10}, "05000A"},
                          Case{{0x0C, 0x0B, 0x0A}, "0C0B0A"}, Case{{0xAB, 0xCD, 0xEF}, "ABCDEF"}}) {
        EXPECT_EQ(hexText(c.color), c.text);
        EXPECT_EQ(rgbFromHexText(c.text), c.color) << c.text;
    }
    EXPECT_EQ(rgbFromHexText("abcdef"), (Rgb{0xAB, 0xCD, 0xEF})) << "lower case reads too";
    for (const std::string_view bad :
         {"", "12345", "1234567", "12345G", " 12345", "+12345", "0x1234", "-12345", "12 345"}) {
        EXPECT_FALSE(rgbFromHexText(bad)) << bad;
    }
}

TEST(WindowStyle, LeadingIntegerOfTypedText) {
    EXPECT_EQ(leadingInteger("127"), 127);
    EXPECT_EQ(leadingInteger("  42abc"), 42);
    EXPECT_EQ(leadingInteger("+8"), 8);
    EXPECT_EQ(leadingInteger("-3"), -3);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger(" - 5"), 0);
    EXPECT_EQ(leadingInteger("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
}

class WindowStylePage : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    RecordingPlatform platform{sandbox->platform()};
    MemoryControls controls;

    void SetUp() override {
        controls.setText(ControlId::Win7Alpha, "127");
        controls.setText(ControlId::Win7WindowColor, kInitialWindowColor);
        controls.setText(ControlId::Win7VisualStyle, "C:\\styles\\aero.msstyles");
    }
};

// What the request of the Windows 7 pages takes from the window style page: the transparency as
// hexadecimal digits of its clamped leading number, the colour and the interval as they stand.
TEST(WindowStyleRequest, TakesTheTextsOfThePage) {
    struct Case {
        std::string transparency, color, interval;
        std::string alpha; // what the request carries
    };
    const Case cases[] = {
        {"127", "0066FF", "", "7F"}, // the page as it starts
        {"0", "0066FF", "", ""},     // no digits at all for 0
        {"300", "0066FF", "", "FF"}, // typed beyond the slider's range: held to 255
        {"999", "0066FF", "", "FF"},
        {"99999999999999999999", "0066FF", "", "FF"},
        {"-40", "0066FF", "", ""}, // a negative value is held to 0
        {" 12abc", "not hex", " 180 s", "C"},
    };
    for (const Case& c : cases) {
        ThemeDocument document;
        document.win7.transparency = c.transparency;
        document.win7.windowColor = c.color;
        document.win7.slideshowInterval = c.interval;
        const ThemeRequest request = requestOf(document, PageSet::Win7);
        EXPECT_EQ(request.project.windowAlphaText, c.alpha) << c.transparency;
        EXPECT_EQ(request.project.windowColorText, c.color);
        EXPECT_EQ(request.project.slideshowIntervalText, c.interval);
    }
}

TEST_F(WindowStylePage, SliderShowsItsPositionInTheField) {
    onAlphaSliderMoved(controls, 0);
    EXPECT_EQ(controls.text(ControlId::Win7Alpha), "0");
    onAlphaSliderMoved(controls, 255);
    EXPECT_EQ(controls.text(ControlId::Win7Alpha), "255");
}

TEST_F(WindowStylePage, MissingVisualStyleStops) {
    controls.setText(ControlId::Win7VisualStyle, "");
    EXPECT_FALSE(commitStylePage(ControlId::Win7VisualStyle, controls, platform));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "必须指定可视化风格文件!");
    EXPECT_EQ(platform.messages[0].title, "错误...");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);

    controls.setText(ControlId::Win7VisualStyle, " ");
    EXPECT_TRUE(commitStylePage(ControlId::Win7VisualStyle, controls, platform)) << "blanks pass";
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(WindowStylePage, PopupWithoutAPickLeavesTheColourAlone) {
    applyPickedWindowColor(controls, Rgb{5, 0, 10});
    EXPECT_EQ(controls.text(ControlId::Win7WindowColor), "05000A");
    applyPickedWindowColor(controls, std::nullopt);
    EXPECT_EQ(controls.text(ControlId::Win7WindowColor), "05000A");
}

} // namespace
} // namespace quorvel::test
