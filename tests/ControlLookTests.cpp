// Which variants turn the program's control look on, and that each has colours of its own that
// keep text readable.
#include "widgets/ControlLook.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

double luminance(Rgb c) {
    return 0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue;
}

TEST(ControlLook, VariantsOneToThreeTurnTheLookOnAndOthersOff) {
    for (int variant : {1, 2, 3}) {
        ASSERT_TRUE(lookColors(variant).has_value()) << variant;
    }
    for (int variant : {0, -1, 4, 100}) {
        EXPECT_FALSE(lookColors(variant).has_value()) << variant;
    }
    EXPECT_NE(lookColors(1)->accent, lookColors(2)->accent);
    EXPECT_NE(lookColors(2)->accent, lookColors(3)->accent);
    EXPECT_NE(lookColors(1)->accent, lookColors(3)->accent);
}

TEST(ControlLook, TextStandsOutFromWhatItIsDrawnOn) {
    for (int variant : {1, 2, 3}) {
        const LookColors c = *lookColors(variant);
        for (Rgb background : {c.pageBody, c.pageBand, c.fieldFace, c.buttonTop, c.buttonBottom,
                               c.buttonHotBottom, c.buttonPressedTop}) {
            EXPECT_GT(luminance(background) - luminance(c.text), 120) << variant;
            EXPECT_GT(luminance(background) - luminance(c.title), 100) << variant;
        }
        EXPECT_GT(luminance(c.fieldFace) - luminance(c.disabledText), 40) << variant;
    }
}

} // namespace
} // namespace quorvel
