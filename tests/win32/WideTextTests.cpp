// The UTF-8 <-> UTF-16 conversions at the Win32 boundary, and how they compare with the
// system's own conversion (MultiByteToWideChar with CP_UTF8).
#include "Utf8Table.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

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

std::wstring systemWide(const std::string& utf8) {
    std::wstring wide(utf8.size() + 1, L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                             wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wide;
}

std::wstring asWide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

// Where the system's conversion may differ from ours on ill-formed input. Windows replaces ill-
// formed input with U+FFFD (since Vista; XP drops it). Wine 8 takes the byte after a lead into
// the replaced part even when that byte rules the sequence out (overlong, surrogate, above
// U+10FFFF), and takes everything that follows a lead too close to the end of the text for its
// sequence into one U+FFFD, ASCII included.
const std::map<std::string, std::u16string> kWineDifferences = {
    {"three-byte overlong", u"\uFFFD\uFFFD"},  {"four-byte overlong", u"\uFFFD\uFFFD\uFFFD"},
    {"high surrogate", u"\uFFFD\uFFFD"},       {"low surrogate", u"\uFFFD\uFFFD"},
    {"above U+10FFFF", u"\uFFFD\uFFFD\uFFFD"}, {"lead cut short by ASCII at the end", u"\uFFFD"},
};

TEST(WideText, AgreesWithTheSystemsConversionExceptWhereItsDifferencesAreKnown) {
    for (const Utf8Case& row : kUtf8Cases) {
        EXPECT_EQ(toWide(row.utf8), asWide(row.utf16)) << row.what;
        const std::wstring system = systemWide(row.utf8);
        const auto known = kWineDifferences.find(row.what);
        if (row.wellFormed || known == kWineDifferences.end()) {
            EXPECT_EQ(system, asWide(row.utf16)) << row.what;
        } else {
            EXPECT_TRUE(system == asWide(row.utf16) || system == asWide(known->second)) << row.what;
        }
    }
}

TEST(WideText, AgreesWithTheSystemOnLoneSurrogates) {
    for (const std::wstring& wide : {std::wstring(L"a") + wchar_t(0xD800) + L"z",
                                     std::wstring(1, wchar_t(0xDC00)) + wchar_t(0xD83D),
                                     std::wstring(L"\xD83D\xDE00\u4E3B")}) {
        std::string system(wide.size() * 3, '\0');
        const int length =
            ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                  system.data(), static_cast<int>(system.size()), nullptr, nullptr);
        system.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        EXPECT_EQ(toUtf8(wide), system);
    }
}

} // namespace
} // namespace quorvel
