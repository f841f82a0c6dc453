// Behaviour of the Win32 platform layer beyond the shared suite: sharing, large files, long
// environment values and invalid text.
#include "Sandbox.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class Win32PlatformFiles : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
    std::string root = sandbox->root();
};

TEST_F(Win32PlatformFiles, WriteFileRefusesAFileThatIsOpenElsewhereAndLeavesItAlone) {
    const std::string path = root + "\\主题.theme";
    ASSERT_TRUE(fs.writeFile(path, bytes("kept")));
    {
        const UniqueFileHandle other(::CreateFileW(toWide(path).c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(other);
        EXPECT_FALSE(fs.writeFile(path, bytes("replaced")));
    }
    EXPECT_EQ(fs.readFile(path), "kept");
    EXPECT_TRUE(fs.writeFile(path, bytes("replaced"))) << "free again once the other is closed";
}

TEST_F(Win32PlatformFiles, LargeFilesRoundTripThroughWriteReadAndCopy) {
    // Larger than one transfer chunk, and not a multiple of it.
    std::string content(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>((i * 131) % 251);
    }
    ASSERT_TRUE(fs.writeFile(root + "\\big.bin", bytes(content)));
    ASSERT_TRUE(fs.copyFile(root + "\\big.bin", root + "\\copy.bin"));
    const auto copied = fs.readFile(root + "\\copy.bin");
    ASSERT_TRUE(copied.has_value());
    EXPECT_TRUE(*copied == content) << "size " << copied->size() << " of " << content.size();
}

TEST_F(Win32PlatformFiles, FilesAreNeitherListedNorReadAsDirectories) {
    ASSERT_TRUE(fs.writeFile(root + "\\plain", bytes("x")));
    EXPECT_FALSE(fs.listDirectory(root + "\\plain").has_value());
    EXPECT_FALSE(fs.isDirectory(root + "\\plain\\"));
    ASSERT_TRUE(fs.makeDirectory(root + "\\folder"));
    EXPECT_FALSE(fs.readFile(root + "\\folder").has_value());
    const auto entries = fs.listDirectory(root + "\\");
    ASSERT_TRUE(entries.has_value()) << "a trailing separator is allowed";
    EXPECT_EQ(entries->size(), 2u);
}

TEST(Win32Platform, ExpandsLongAndChineseValues) {
    auto sandbox = makeSandbox();
    Platform& platform = sandbox->platform();
    const std::wstring longValue(5000, L'v');
    ASSERT_TRUE(::SetEnvironmentVariableW(L"QUORVEL_TEST_LONG", longValue.c_str()));
    ASSERT_TRUE(::SetEnvironmentVariableW(L"QUORVEL_TEST_CHINESE", toWide("主题淺").c_str()));

    const std::string expanded = platform.expandEnvironment("<%QUORVEL_TEST_LONG%>");
    EXPECT_EQ(expanded, "<" + std::string(5000, 'v') + ">");
    EXPECT_EQ(platform.expandEnvironment("%quorvel_test_chinese%\\a"), "主题淺\\a")
        << "names are found regardless of case";

    ::SetEnvironmentVariableW(L"QUORVEL_TEST_LONG", nullptr);
    ::SetEnvironmentVariableW(L"QUORVEL_TEST_CHINESE", nullptr);
}

TEST(Win32Platform, AnsiConversionRefusesInvalidText) {
    auto sandbox = makeSandbox();
    Platform& platform = sandbox->platform();
    EXPECT_FALSE(platform.toAnsi("a\x80z").has_value()) << "not UTF-8";
    EXPECT_FALSE(platform.toAnsi("\xE4\xB8").has_value()) << "a truncated sequence";
    // U+00C0 has no GBK form; a best-fit "A" must not stand in for it.
    EXPECT_FALSE(platform.toAnsi("\xC3\x80").has_value());
    // An embedded zero is text like any other.
    EXPECT_EQ(platform.toAnsi(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

} // namespace
} // namespace quorvel::test
