// The file operations of the platform layer, as the generators rely on them. The same suite runs
// natively against the host layer and under Wine against the Win32 layer.
#include "Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class PlatformFiles : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
    std::string root = sandbox->root();
};

TEST_F(PlatformFiles, MakeDirectoryCreatesOneLevelAndRefusesExistingPaths) {
    EXPECT_TRUE(fs.makeDirectory(root + "\\a"));
    EXPECT_TRUE(fs.isDirectory(root + "\\a"));
    EXPECT_TRUE(fs.isDirectory(root + "\\a\\"));
    EXPECT_FALSE(fs.makeDirectory(root + "\\a")) << "an existing directory";
    EXPECT_FALSE(fs.makeDirectory(root + "\\missing\\b")) << "a missing parent";
    EXPECT_FALSE(fs.isDirectory(root + "\\missing"));

    ASSERT_TRUE(fs.writeFile(root + "\\file", bytes("x")));
    EXPECT_FALSE(fs.makeDirectory(root + "\\file")) << "an existing file";
    EXPECT_FALSE(fs.isDirectory(root + "\\file"));
    EXPECT_FALSE(fs.makeDirectory(""));
}

TEST_F(PlatformFiles, WriteFileCreatesTruncatesAndRefusesAnEmptyPath) {
    const std::string path = root + "\\out.bin";
    // Each write leaves exactly its own bytes, whether it is longer, as long or shorter than
    // the file it is written over.
    for (std::string_view content : {"a longer first content", "short", "shorter than it was",
                                     "SHORTER THAN IT WAS", "", "again"}) {
        ASSERT_TRUE(fs.writeFile(path, bytes(content))) << content;
        EXPECT_EQ(fs.readFile(path), content);
    }

    EXPECT_FALSE(fs.writeFile("", bytes("nothing")));
    EXPECT_FALSE(fs.writeFile(root + "\\no\\such\\folder.txt", bytes("x")));
    EXPECT_FALSE(fs.readFile(root + "\\never-written").has_value());
}

TEST_F(PlatformFiles, ReadRegularFileReadsOnlyFilesOnADiskUpToTheLimit) {
    const std::string big(200 * 1024 + 7, 'q'); // more than one read of the layers
    ASSERT_TRUE(fs.writeFile(root + "\\small.theme", bytes("abc")));
    ASSERT_TRUE(fs.writeFile(root + "\\empty.theme", bytes("")));
    ASSERT_TRUE(fs.writeFile(root + "\\big.quorvel", bytes(big)));
    ASSERT_TRUE(fs.makeDirectory(root + "\\folder.theme"));
    struct Case {
        std::string path;
        std::uint64_t limit;
        std::optional<std::string> bytes;
        ReadRefusal refusal;
    };
    std::vector<Case> cases = {
        {root + "\\small.theme", 3, "abc", ReadRefusal::None},
        {root + "\\small.theme", 2, std::nullopt, ReadRefusal::TooLarge},
        {root + "\\empty.theme", 0, "", ReadRefusal::None},
        {root + "\\big.quorvel", big.size(), big, ReadRefusal::None},
        {root + "\\big.quorvel", big.size() - 1, std::nullopt, ReadRefusal::TooLarge},
        {root + "\\folder.theme", 1 << 20, std::nullopt, ReadRefusal::NotAFile},
        {root + "\\missing.theme", 1 << 20, std::nullopt, ReadRefusal::Unreadable},
        {"", 1 << 20, std::nullopt, ReadRefusal::Unreadable},
    };
    for (const std::string& device : sandbox->devicePaths()) {
        cases.push_back({device, 1 << 20, std::nullopt, ReadRefusal::NotAFile});
    }
    for (const Case& c : cases) {
        const BoundedRead read = fs.readRegularFile(c.path, c.limit);
        EXPECT_EQ(read.bytes, c.bytes) << c.path << " " << c.limit;
        EXPECT_EQ(read.refusal, c.refusal) << c.path << " " << c.limit;
    }
}

TEST_F(PlatformFiles, ReplaceFileSwapsWholeFilesAndLeavesTheOldOneWhenItFails) {
    const std::string target = root + "\\方案.quorvel";
    ASSERT_TRUE(fs.replaceFile(target, bytes("first")));
    ASSERT_TRUE(fs.replaceFile(target, bytes("second, longer")));
    EXPECT_EQ(fs.readFile(target), "second, longer");
    EXPECT_TRUE(fs.fileExists(target));
    EXPECT_FALSE(fs.fileExists(target + std::string(kReplacementSuffix)));

    // A directory in the temporary file's place: nothing can be written, the target stays.
    ASSERT_TRUE(fs.makeDirectory(target + std::string(kReplacementSuffix)));
    EXPECT_FALSE(fs.replaceFile(target, bytes("third")));
    EXPECT_EQ(fs.readFile(target), "second, longer");

    // A directory in the target's place cannot be replaced; the new file does not stay behind.
    const std::string folder = root + "\\folder";
    ASSERT_TRUE(fs.makeDirectory(folder));
    EXPECT_FALSE(fs.replaceFile(folder, bytes("x")));
    EXPECT_TRUE(fs.isDirectory(folder));
    EXPECT_FALSE(fs.fileExists(folder));
    EXPECT_FALSE(fs.fileExists(folder + std::string(kReplacementSuffix)));
    EXPECT_FALSE(fs.replaceFile("", bytes("x")));
}

TEST_F(PlatformFiles, CopyFileOverwritesAndFailsOnMissingSources) {
    ASSERT_TRUE(fs.writeFile(root + "\\src", bytes("new content")));
    ASSERT_TRUE(fs.writeFile(root + "\\dst", bytes("old content that is longer")));
    EXPECT_TRUE(fs.copyFile(root + "\\src", root + "\\dst"));
    EXPECT_EQ(fs.readFile(root + "\\dst"), "new content");

    EXPECT_FALSE(fs.copyFile(root + "\\absent", root + "\\dst2"));
    EXPECT_FALSE(fs.readFile(root + "\\dst2").has_value());
    EXPECT_FALSE(fs.copyFile("", root + "\\dst3"));
    ASSERT_TRUE(fs.makeDirectory(root + "\\dir"));
    EXPECT_FALSE(fs.copyFile(root + "\\dir", root + "\\dst4")) << "a directory is no file";
}

TEST_F(PlatformFiles, ChineseNamesRoundTrip) {
    // "淺" and "奬" have 0x5C ("\") as the second byte of their GBK form.
    const std::string folder = root + "\\主题 淺奬";
    ASSERT_TRUE(fs.makeDirectory(folder));
    ASSERT_TRUE(fs.writeFile(folder + "\\图标淺.ico", bytes("icon")));
    ASSERT_TRUE(fs.copyFile(folder + "\\图标淺.ico", folder + "\\副本奬.ico"));
    EXPECT_EQ(fs.readFile(folder + "\\副本奬.ico"), "icon");

    const auto entries = fs.listDirectory(folder);
    ASSERT_TRUE(entries.has_value());
    std::vector<std::string> names;
    for (const auto& entry : *entries) {
        names.push_back(entry.name);
        EXPECT_FALSE(entry.isDirectory);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"副本奬.ico", "图标淺.ico"}));
}

TEST_F(PlatformFiles, ListDirectoryReportsFoldersAndLeavesOutDots) {
    ASSERT_TRUE(fs.makeDirectory(root + "\\list"));
    ASSERT_TRUE(fs.makeDirectory(root + "\\list\\sub"));
    ASSERT_TRUE(fs.writeFile(root + "\\list\\f.txt", bytes("")));
    const auto entries = fs.listDirectory(root + "\\list");
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 2u);
    for (const auto& entry : *entries) {
        EXPECT_EQ(entry.isDirectory, entry.name == "sub") << entry.name;
        EXPECT_FALSE(entry.isReparsePoint);
    }
    EXPECT_FALSE(fs.listDirectory(root + "\\absent").has_value());
}

TEST_F(PlatformFiles, DirectoryLinksAreReportedAsReparsePoints) {
    ASSERT_TRUE(fs.makeDirectory(root + "\\real"));
    if (!sandbox->makeDirectoryLink(root + "\\real\\loop", root + "\\real")) {
        GTEST_SKIP() << "this system cannot make directory links";
    }
    const auto entries = fs.listDirectory(root + "\\real");
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_TRUE(entries->front().isReparsePoint);
}

TEST_F(PlatformFiles, ExpandEnvironmentReplacesKnownNamesOnly) {
    const std::string expanded = fs.expandEnvironment("%SystemRoot%\\System32\\x.scr");
    EXPECT_EQ(expanded.find('%'), std::string::npos) << expanded;
    EXPECT_TRUE(expanded.ends_with("\\System32\\x.scr")) << expanded;
    EXPECT_EQ(fs.expandEnvironment("no references"), "no references");
    EXPECT_EQ(fs.expandEnvironment("%QUORVEL_NOT_SET_ANYWHERE%\\a"),
              "%QUORVEL_NOT_SET_ANYWHERE%\\a");
}

TEST_F(PlatformFiles, AnsiCodePageIsGbk) {
    // The theme file is written in the ANSI code page: GBK on the target systems (and under Wine
    // with a zh_CN locale).
    EXPECT_EQ(fs.toAnsi("abc"), "abc");
    EXPECT_EQ(fs.toAnsi("淺"), std::string("\x9C\x5C"));
    EXPECT_EQ(fs.toAnsi("主题"), std::string("\xD6\xF7\xCC\xE2"));
    EXPECT_FALSE(fs.toAnsi("\xF0\x9F\x98\x80").has_value()) << "an emoji has no GBK form";
    EXPECT_FALSE(fs.toAnsi("\xEA\xB0\x80").has_value()) << "nor has a Hangul syllable";
    EXPECT_EQ(fs.fromAnsi(std::string("\x9C\x5C\xD6\xF7\xCC\xE2 a")), "淺主题 a");
    EXPECT_EQ(fs.fromAnsi(""), "");
    EXPECT_FALSE(fs.fromAnsi(std::string("\xD6")).has_value()) << "a lead byte without its trail";
    EXPECT_TRUE(fs.isAnsiLeadByte(0x9C));
    EXPECT_FALSE(fs.isAnsiLeadByte('A'));
    EXPECT_FALSE(fs.isAnsiLeadByte(0x5C));
}

} // namespace
} // namespace quorvel::test
