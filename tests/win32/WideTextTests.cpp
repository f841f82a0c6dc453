// The UTF-8 <-> UTF-16 conversions at the Win32 boundary.
#include "platform/win32/WideText.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(WideText, ConvertsChineseAndCharactersOutsideTheBasicPlane) {
    EXPECT_EQ(toWide("主题"), L"\u4E3B\u9898");
    // "淺" and "奬": their GBK forms end in 0x5C, their UTF-16 forms do not matter for that.
    EXPECT_EQ(toWide("淺奬"), L"\u6DFA\u596C");
    // U+1F600 takes a surrogate pair in UTF-16 and four bytes in UTF-8.
    EXPECT_EQ(toWide("\xF0\x9F\x98\x80"), std::wstring(L"\xD83D\xDE00"));
    EXPECT_EQ(toUtf8(L"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(toUtf8(L"Quorvel\uFF08Quorvel Ver2.0\uFF09"), "Quorvel（Quorvel Ver2.0）");

    for (const std::string text : {"", "a", "C:\\主题\\淺.ico", "Ver2.0（全角）", "\xE2\x82\xAC"}) {
        EXPECT_EQ(toUtf8(toWide(text)), text);
    }
}

TEST(WideText, KeepsEmbeddedZerosAndTheWholeLength) {
    const std::string_view withZero("a\0b", 3);
    const std::wstring wide = toWide(withZero);
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[1], L'\0');
    EXPECT_EQ(toUtf8(wide), std::string(withZero));

    const std::string longText(100000, 'x');
    EXPECT_EQ(toWide(longText).size(), longText.size());
}

TEST(WideText, ReplacesInvalidSequencesInsteadOfDroppingText) {
    // A stray continuation byte and a truncated sequence each become U+FFFD; the text around
    // them survives.
    EXPECT_EQ(toWide("a\x80z"), L"a\uFFFDz");
    EXPECT_EQ(toWide("a\xE4\xB8"), L"a\uFFFD");
    // A lone surrogate cannot be written in UTF-8.
    EXPECT_EQ(toUtf8(std::wstring(L"a") + wchar_t(0xD800) + L"z"), "a\xEF\xBF\xBDz");
}

} // namespace
} // namespace quorvel
