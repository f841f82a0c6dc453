// The primitives that have one home: little-endian writers, ASCII case folding, DPI scaling and
// strict UTF-16 decoding. Each table holds what the earlier per-file copies gave, so a change
// here is a change in some file the program writes, some name it compares or some pixel it draws.
#include "model/AsciiCase.h"
#include "platform/LittleEndian.h"
#include "platform/Utf8.h"
#include "widgets/Dpi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(LittleEndian, WritesTheLowBytesLeastSignificantFirst) {
    Bytes out(16, 0xEE);
    le::put16(out, 1, 0x12345A4D); // wider than the field: its low bytes
    le::put32(out, 3, 0x80001234);
    le::put64(out, 7, 0x1800000);
    EXPECT_EQ(out, (Bytes{0xEE, 0x4D, 0x5A, 0x34, 0x12, 0x00, 0x80, 0x00, 0x00, 0x80, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0xEE}));
    Bytes appended;
    le::append16(appended, 0xFFFF1234);
    le::append32(appended, 0xFECDFECD);
    EXPECT_EQ(appended, (Bytes{0x34, 0x12, 0xCD, 0xFE, 0xCD, 0xFE}));
}

// Every byte: only the 26 ASCII letters change; UTF-8 sequences (all bytes 0x80 and above) stay.
TEST(AsciiCase, FoldsOnlyTheAsciiLettersOfEveryByte) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        EXPECT_EQ(lowerAscii(c), b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : c) << b;
        EXPECT_EQ(upperAscii(c), b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : c) << b;
    }
    EXPECT_TRUE(equalsIgnoringAsciiCase("Shellstyle.dll", "SHELLSTYLE.DLL"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xC3\xA9", "\xC3\x89")); // é and É
    EXPECT_FALSE(equalsIgnoringAsciiCase("[", "{"));               // 32 apart, no letters
    EXPECT_FALSE(equalsIgnoringAsciiCase("a", "ab"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("0XFF74B8FC", "0x"));
    EXPECT_TRUE(endsWithIgnoringAsciiCase("Desktop.THEME", ".theme"));
    EXPECT_FALSE(endsWithIgnoringAsciiCase("a", ".theme"));
}

// The previews' own rounding, for the non-negative lengths they scaled (the window, the control
// look and the palette popup used the system's MulDiv, see tests/win32/DpiScalingTests.cpp).
TEST(DpiScaling, GivesThePreviewsTheirLengths) {
    for (const int dpi : {96, 97, 120, 144, 168, 192, 240, 288}) {
        for (int v = 0; v <= 4000; ++v) {
            ASSERT_EQ(scaleToDpi(v, dpi), (v * dpi + 48) / 96) << v << " at " << dpi;
        }
    }
    static_assert(scaleToDpi(-3, 144) == -5 && scaleToDpi(3, 144) == 5);
    static_assert(scaleFromDpi(263, 144) == 175 && scaleToDpi(175, 144) == 263);
}

// What the theme file reader accepted and refused as UTF-16 before the decoder moved here.
TEST(StrictUtf16, DecodesWellFormedTextAndRefusesTheRest) {
    struct Case {
        std::string bytes;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"", ""},
        {std::string("A\0\0\0", 4), std::string("A\0", 2)},
        {"\x3B\x4E\x98\x98", "主题"},
        {std::string("\xE9\x00\xFF\xFF", 4), "\xC3\xA9\xEF\xBF\xBF"},
        {std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80"}, // a surrogate pair
        {"A", std::nullopt},                                      // an odd length
        {"\x3D\xD8", std::nullopt},                               // a high surrogate at the end
        {std::string("\x00\xDE\x3D\xD8", 4), std::nullopt},       // the pair reversed
        {std::string("\x3D\xD8\x41\x00", 4), std::nullopt},       // a high surrogate, no partner
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8::fromUtf16LeBytes(c.bytes), c.text) << testing::PrintToString(c.bytes);
    }
}

} // namespace
} // namespace quorvel
