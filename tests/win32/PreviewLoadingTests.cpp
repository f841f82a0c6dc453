// The previews' loading through the system under Wine, with the bad-input catalogue: each bad
// file ends in its reason and nothing else (no crash, no hang, no whole read of a huge file).
#include "Sandbox.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "preview/win32/PreviewLoading.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvel::test {
namespace {

using preview::Failure;
using preview::Kind;

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// A grey 24-bit BMP of a size; `claimed` overrides the size its header states.
std::string bmp(int width, int height, std::optional<std::pair<int, int>> claimed = {}) {
    const int stride = (width * 3 + 3) & ~3;
    std::string b = "BM";
    put32(b, static_cast<std::uint32_t>(54 + stride * height));
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(claimed ? claimed->first : width));
    put32(b, static_cast<std::uint32_t>(claimed ? claimed->second : height));
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i) {
        put32(b, 0);
    }
    b.append(static_cast<std::size_t>(stride * height), '\x80');
    return b;
}

class PreviewLoading : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    std::string root = sandbox->root();
    ComThread com;
    ImageDecoder decoder;

    std::string file(std::string_view name, std::string_view bytes) {
        const std::string path = root + "\\" + std::string(name);
        EXPECT_TRUE(sandbox->platform().writeFile(
            path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
        return path;
    }
    LoadedItem load(const std::string& path, Kind kind) {
        return loadItem(path, kind, &decoder, preview::kImageBox, false);
    }
};

TEST_F(PreviewLoading, ImagesBecomeThumbnailsThatKeepTheAspect) {
    ASSERT_TRUE(decoder.usesWic());
    const LoadedItem item = load(file("wide.bmp", bmp(900, 300)), Kind::Image);
    ASSERT_FALSE(item.failure);
    EXPECT_EQ(item.original, (preview::Size{900, 300}));
    EXPECT_EQ(item.pixels.width, 200);
    EXPECT_EQ(item.pixels.height, 67);
    ASSERT_EQ(item.pixels.bgra.size(), 200u * 67u);
    EXPECT_EQ(item.pixels.bgra[100], 0xFF808080u);
    const LoadedItem small = load(file("small.bmp", bmp(40, 30)), Kind::Image);
    EXPECT_EQ(small.pixels.width, 40) << "small images are not enlarged";
}

TEST_F(PreviewLoading, BadFilesEndInTheirReason) {
    const std::string good = bmp(64, 64);
    std::string text = "this is a text file, not a pointer\r\n";
    std::string ani = "RIFF";
    put32(ani, 4 + 8 + 36 + 8 + 4);
    ani += "ACONanih";
    put32(ani, 36);
    for (std::uint32_t v : {36u, 1'000'000'000u, 1'000'000'000u, 32u, 32u, 32u, 1u, 10u, 1u}) {
        put32(ani, v);
    }
    ani += "LIST";
    put32(ani, 4);
    ani += "fram";
    const struct {
        std::string_view name;
        std::string bytes;
        Kind kind;
        Failure failure;
    } cases[] = {
        {"空.ico", "", Kind::IconFile, Failure::Empty},
        {"文本.cur", text, Kind::Pointer, Failure::NotAPointer},
        {"十亿帧.ani", ani, Kind::AnimatedPointer, Failure::BadAnimation},
        {"文本.jpg", text, Kind::Image, Failure::NotDecodable},
        {"文本.dll", text, Kind::IconInModule, Failure::NotAnIcon},
        {"巨大.bmp", bmp(4, 4, std::pair{100000, 100000}), Kind::Image, Failure::TooManyPixels},
    };
    for (const auto& c : cases) {
        const LoadedItem item = load(file(c.name, c.bytes), c.kind);
        EXPECT_EQ(item.failure, c.failure) << c.name;
        EXPECT_TRUE(item.pixels.bgra.empty() && !item.pointer && !item.small) << c.name;
    }
    // A truncated image shows what the decoder could read, or says it is damaged.
    const LoadedItem cut = load(file("截断.bmp", good.substr(0, good.size() / 2)), Kind::Image);
    EXPECT_TRUE(cut.failure == Failure::Damaged || cut.pixels.bgra.size() == 64u * 64u);
    EXPECT_EQ(load(root + "\\已删除.jpg", Kind::Image).failure, Failure::Missing);
    EXPECT_EQ(load(root + "\\不在\\a.cur", Kind::Pointer).failure, Failure::Missing);
}

TEST_F(PreviewLoading, AGigabyteNamedJpgIsRefusedUnread) {
    const std::wstring path = toWide(root + "\\大.jpg");
    {
        const UniqueFileHandle big(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(big);
        LARGE_INTEGER size{};
        size.QuadPart = 1LL << 30;
        ASSERT_TRUE(::SetFilePointerEx(big.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(big.get()));
    }
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_EQ(load(toUtf8(path), Kind::Image).failure, Failure::TooLarge);
    EXPECT_LT(::GetTickCount64() - start, 1000u);
    ::DeleteFileW(path.c_str());
}

TEST_F(PreviewLoading, PointersAndIconsCarryTheirHotSpotAndBothSizes) {
    std::string cursor;
    put16(cursor, 0);
    put16(cursor, 2);
    put16(cursor, 1);
    cursor += std::string("\x20\x20\0\0", 4);
    put16(cursor, 9);
    put16(cursor, 3);
    put32(cursor, 40 + 32 * 32 * 4 + 32 * 4);
    put32(cursor, 22);
    put32(cursor, 40);
    put32(cursor, 32);
    put32(cursor, 64);
    put16(cursor, 1);
    put16(cursor, 32);
    for (int i = 0; i < 6; ++i) {
        put32(cursor, 0);
    }
    cursor.append(32 * 32 * 4, '\x7F');
    cursor.append(32 * 4, '\0');
    const LoadedItem pointer = load(file("指针.cur", cursor), Kind::Pointer);
    ASSERT_FALSE(pointer.failure);
    EXPECT_TRUE(pointer.pointer);
    EXPECT_EQ(pointer.hotX, 9);
    EXPECT_EQ(pointer.hotY, 3);
    EXPECT_EQ(pointer.pointerSize, (preview::Size{32, 32}));

    std::string icon = cursor;
    icon[2] = 1; // an icon directory: planes and bit count in place of the hot spot
    icon[10] = 1;
    icon[11] = 0;
    icon[12] = 32;
    icon[13] = 0;
    const LoadedItem icons = load(file("图标.ico", icon), Kind::IconFile);
    ASSERT_FALSE(icons.failure);
    EXPECT_TRUE(icons.small && icons.large);
}

} // namespace
} // namespace quorvel::test
