// The one DPI scaling against the system's own MulDiv, which the control look and the palette
// popup called before: the same length for every operand they can meet.
#include "widgets/Dpi.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(DpiScaling, RoundsAsTheSystemsMulDiv) {
    for (const int dpi : {96, 97, 120, 144, 168, 192, 240, 288}) {
        for (int v = -1000; v <= 3000; ++v) {
            ASSERT_EQ(scaleToDpi(v, dpi), ::MulDiv(v, dpi, 96)) << v << " at " << dpi;
            ASSERT_EQ(scaleFromDpi(v, dpi), ::MulDiv(v, 96, dpi)) << v << " at " << dpi;
        }
    }
}

} // namespace
} // namespace quorvel
