// The primitives that have one home: little-endian writers and ASCII case folding. Each table
// holds the bytes or answers the earlier per-file copies gave, so a change here is a change in
// some file the program writes or some name it compares.
#include "generator/LittleEndian.h"
#include "model/AsciiCase.h"

#include <gtest/gtest.h>

#include <cstdint>
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

} // namespace
} // namespace quorvel
