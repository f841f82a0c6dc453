// The UTF-8 module against a table of well-formed and ill-formed inputs: each maximal subpart of
// an ill-formed sequence is one U+FFFD, the length is that of the conversion, and the encoder
// turns the result back into the input wherever the input was well-formed.
#include "Utf8Table.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Utf8, DecodesEachRowOfTheTable) {
    for (const Utf8Case& row : kUtf8Cases) {
        const std::u16string wide = utf8::toUtf16(row.utf8);
        EXPECT_EQ(wide, row.utf16) << row.what;
        EXPECT_EQ(utf8::utf16Length(row.utf8), row.utf16.size()) << row.what;
        EXPECT_EQ(utf8::isWellFormed(row.utf8), row.wellFormed) << row.what;
        const std::string back = utf8::fromUtf16(wide);
        if (row.wellFormed) {
            EXPECT_EQ(back, row.utf8) << row.what;
        } else {
            EXPECT_NE(back, row.utf8) << row.what;
            EXPECT_EQ(utf8::toUtf16(back), wide) << row.what << ": the repaired form is stable";
        }
    }
}

TEST(Utf8, EncodesLoneSurrogatesAsTheReplacementCharacter) {
    EXPECT_EQ(utf8::fromUtf16(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(utf8::fromUtf16(u"\xDC00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "pair in reverse";
    EXPECT_EQ(utf8::fromUtf16(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8::fromUtf16(std::u16string_view(u"\0\x7F\x80\x7FF\x800\xFFFF", 6)),
              std::string("\0\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", 12));
}

} // namespace
} // namespace quorvel
