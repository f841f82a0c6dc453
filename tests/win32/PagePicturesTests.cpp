// Where the pointer pages draw the system's pointers inside their frames.
#include "preview/win32/PagePictures.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(PagePictures, APointerPictogramIsCentredAtItsOwnSizeAndShrunkOnlyToTheFrame) {
    struct Case {
        RECT frame;
        SIZE pointer;
        RECT expected;
    };
    const Case cases[] = {
        // 96 DPI: the 32-pixel pointer shrunk into the 24-pixel frame, as it always was.
        {{28, 100, 52, 124}, {32, 32}, {29, 101, 51, 123}},
        // 192 DPI: a 32-pixel pointer in the middle of the 48-pixel frame.
        {{56, 200, 104, 248}, {32, 32}, {64, 208, 96, 240}},
        // 192 DPI where the system gives a 48-pixel pointer: it fills the frame.
        {{56, 200, 104, 248}, {48, 48}, {57, 201, 103, 247}},
        // 144 DPI: one pixel to spare on each side; an odd spare pixel goes right and below.
        {{42, 150, 78, 186}, {32, 32}, {44, 152, 76, 184}},
        {{42, 150, 78, 187}, {32, 32}, {44, 152, 76, 184}},
        // A frame one pixel wider than high keeps the pointer square and centred.
        {{0, 0, 25, 24}, {32, 32}, {1, 1, 23, 23}},
        // A pointer whose size cannot be read is fitted to the frame.
        {{56, 200, 104, 248}, {0, 0}, {57, 201, 103, 247}},
    };
    for (const Case& c : cases) {
        const RECT at = pictogramPlace(c.frame, c.pointer);
        SCOPED_TRACE(testing::Message()
                     << "frame " << c.frame.left << "," << c.frame.top << " "
                     << c.frame.right - c.frame.left << "x" << c.frame.bottom - c.frame.top
                     << ", pointer " << c.pointer.cx);
        EXPECT_EQ(at.left, c.expected.left);
        EXPECT_EQ(at.top, c.expected.top);
        EXPECT_EQ(at.right, c.expected.right);
        EXPECT_EQ(at.bottom, c.expected.bottom);
    }
}

} // namespace
} // namespace quorvel
