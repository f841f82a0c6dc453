// The primitives that have one home: little-endian writers, ASCII case folding, DPI scaling and
// strict UTF-16 decoding. Each table holds the bytes or answers the earlier per-file copies gave,
// so a change here is a change in some file the program writes, some name it compares or some
// pixel it draws.
#include "generator/LittleEndian.h"
#include "model/AsciiCase.h"
#include "platform/Utf8.h"
#include "wizard/Dpi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(LittleEndian, AppendAndPutWriteTheLowBytesLeastSignificantFirst) {
    struct Case {
        int width; // 16, 32 or 64
        std::uint64_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {16, 0x5A4D, {0x4D, 0x5A}},
        {16, 0xFFFF, {0xFF, 0xFF}},
        {16, 0x12345678, {0x78, 0x56}}, // wider than the field: the low bytes
        {32, 0x00004550, {0x50, 0x45, 0x00, 0x00}},
        {32, 0x80000000u | 0x1234, {0x34, 0x12, 0x00, 0x80}},
        {32, 0xFECDFECD, {0xCD, 0xFE, 0xCD, 0xFE}},
        {64, 0x180000000ull, {0x00, 0x00, 0x00, 0x80, 0x01, 0x00, 0x00, 0x00}},
        {64, 0x0102030405060708ull, {0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " bits of " << std::hex << c.value);
        // put writes over bytes that exist and leaves its neighbours alone.
        Bytes put(c.bytes.size() + 2, 0xEE);
        if (c.width == 16) {
            le::put16(put, 1, static_cast<std::uint32_t>(c.value));
        } else if (c.width == 32) {
            le::put32(put, 1, static_cast<std::uint32_t>(c.value));
        } else {
            le::put64(put, 1, c.value);
        }
        EXPECT_EQ(put.front(), 0xEE);
        EXPECT_EQ(put.back(), 0xEE);
        EXPECT_EQ(Bytes(put.begin() + 1, put.end() - 1), c.bytes);
        if (c.width == 64) {
            continue;
        }
        Bytes appended = {0xEE};
        if (c.width == 16) {
            le::append16(appended, static_cast<std::uint32_t>(c.value));
        } else {
            le::append32(appended, static_cast<std::uint32_t>(c.value));
        }
        EXPECT_EQ(Bytes(appended.begin() + 1, appended.end()), c.bytes);
    }
}

// Every byte: only the 26 ASCII letters change; UTF-8 sequences (all bytes 0x80 and above) stay.
TEST(AsciiCase, FoldsOnlyTheAsciiLettersOfEveryByte) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool capital = b >= 'A' && b <= 'Z';
        const bool small = b >= 'a' && b <= 'z';
        EXPECT_EQ(lowerAscii(c), capital ? static_cast<char>(b + 32) : c) << b;
        EXPECT_EQ(upperAscii(c), small ? static_cast<char>(b - 32) : c) << b;
    }
}

TEST(AsciiCase, ComparesTextsAsWindowsComparesAsciiNames) {
    struct Case {
        std::string a;
        std::string b;
        bool equal;
        bool startsWith; // a starts with b
        bool endsWith;   // a ends with b
    };
    const Case cases[] = {
        {"Shellstyle.dll", "SHELLSTYLE.DLL", true, true, true},
        {"Desktop.THEME", ".theme", false, false, true},
        {"0XFF74B8FC", "0x", false, true, false},
        {"%ResourceDir%\\Themes", "%resourcedir%", false, true, false},
        {"win7", "WIN7", true, true, true},
        {"xp", "x", false, true, false},
        {"", "", true, true, true},
        {"a", "ab", false, false, false},
        // Non-ASCII letters compare as they are: "é" and "É" differ. The folding works byte by
        // byte, so a GBK trail byte in the letter range is folded (the theme file's writer folds
        // ANSI text with the code page's lead bytes in mind instead).
        {"\xC3\xA9", "\xC3\x89", false, false, false},
        {"\x81\x41", "\x81\x61", true, true, true},
        {"[", "{", false, false, false}, // 0x5B and 0x7B are 32 apart but are no letters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(equalsIgnoringAsciiCase(c.a, c.b), c.equal);
        EXPECT_EQ(equalsIgnoringAsciiCase(c.b, c.a), c.equal);
        EXPECT_EQ(startsWithIgnoringAsciiCase(c.a, c.b), c.startsWith);
        EXPECT_EQ(endsWithIgnoringAsciiCase(c.a, c.b), c.endsWith);
    }
    EXPECT_EQ(upperAscii("com1.txt"), "COM1.TXT");
    EXPECT_EQ(lowerAscii("Photo.JPG"), "photo.jpg");
}

// The system's MulDiv (a * b / c, the half of c added away from zero), which the window, the
// control look and the palette popup each called with their own operands.
int systemMulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((a < 0) == (b < 0) || a == 0 ? (product + c / 2) / c
                                                         : (product - c / 2) / c);
}

TEST(DpiScaling, EveryFormulaItReplacedGivesTheSameLengths) {
    for (const int dpi : {72, 96, 97, 120, 125, 144, 168, 192, 240, 288, 480}) {
        for (int v = -2000; v <= 4000; ++v) {
            SCOPED_TRACE(testing::Message() << v << " at " << dpi << " DPI");
            ASSERT_EQ(scaleToDpi(v, dpi), systemMulDiv(v, dpi, 96));
            ASSERT_EQ(scaleFromDpi(v, dpi), systemMulDiv(v, 96, dpi));
            if (v >= 0) {
                // The previews' own rounding, for the non-negative lengths they scaled.
                ASSERT_EQ(scaleToDpi(v, dpi), (v * dpi + 48) / 96);
            }
        }
    }
    static_assert(scaleToDpi(-3, 144) == -5 && scaleToDpi(3, 144) == 5);
    static_assert(scaleFromDpi(263, 144) == 175 && scaleToDpi(175, 144) == 263);
}

// The theme file reader's decoder of UTF-16 files before it moved to platform/Utf8, as it was,
// to hold the strict decoder to it.
void earlierAppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<std::string> earlierUtf16Decoder(std::string_view bytes) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string out;
    const auto unit = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    const std::size_t count = bytes.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= count || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF) {
                return std::nullopt;
            }
            const char32_t high = c - 0xD800;
            const char32_t low = unit(i + 1) - 0xDC00;
            earlierAppendUtf8(out, 0x10000 + (high << 10) + low);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return std::nullopt;
        } else {
            earlierAppendUtf8(out, c);
        }
    }
    return out;
}

TEST(StrictUtf16, RefusesWhatTheThemeReaderRefusedAndDecodesTheRestAlike) {
    struct Case {
        std::string bytes;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"", ""},
        {std::string("A\0", 2), "A"},
        {"\x3B\x4E\x98\x98", "主题"},
        {std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80"}, // a surrogate pair
        {std::string("\0\0", 2), std::string("\0", 1)},
        {"A", std::nullopt},                                // odd length: cut short
        {"\x3D\xD8", std::nullopt},                         // a high surrogate at the end
        {std::string("\x00\xDE\x3D\xD8", 4), std::nullopt}, // the pair reversed
        {std::string("\x3D\xD8"
                     "A\0",
                     4),
         std::nullopt}, // a high surrogate without its partner
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8::fromUtf16LeBytes(c.bytes), c.text) << testing::PrintToString(c.bytes);
    }
    // Random texts of units that make every kind of sequence, odd lengths included.
    const char16_t pool[] = {0x0041, 0x0000, 0x00E9, 0x4E3B, 0xFFFD, 0xFFFF,
                             0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xD83D, 0xDE00};
    std::mt19937 random(20261208);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int units = static_cast<int>(random() % 8);
        for (int i = 0; i < units; ++i) {
            const char16_t u = pool[random() % std::size(pool)];
            bytes += static_cast<char>(u & 0xFF);
            bytes += static_cast<char>(u >> 8);
        }
        if (random() % 5 == 0) {
            bytes += 'x';
        }
        ASSERT_EQ(utf8::fromUtf16LeBytes(bytes), earlierUtf16Decoder(bytes))
            << testing::PrintToString(bytes);
    }
}

} // namespace
} // namespace quorvel
