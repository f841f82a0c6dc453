// The INI rules of the theme file writer, checked on the bytes it leaves in the file.
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "generator/ProfileWriter.h"

#include <gtest/gtest.h>

namespace quorvel::test {
namespace {

class ProfileWriterTest : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
    std::string path = sandbox->root() + "\\test.theme";

    void seed(std::string_view content) {
        ASSERT_TRUE(fs.writeFile(
            path, {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()}));
    }
    std::string file() { return fs.readFile(path).value_or("<missing>"); }
};

TEST_F(ProfileWriterTest, FirstKeyCreatesTheFile) {
    ProfileWriter writer(fs, path);
    ASSERT_TRUE(writer.write("Theme", "DisplayName", "Blue"));
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(file(), "[Theme]\r\nDisplayName=Blue\r\n");
}

TEST_F(ProfileWriterTest, SectionsAppearInTheOrderOfTheirFirstKey) {
    ProfileWriter writer(fs, path);
    writer.write("A", "one", "1");
    writer.write("B", "two", "2");
    writer.write("A", "three", "3");
    writer.write("C\\Sub.Section Name", "four", "");
    writer.flush();
    EXPECT_EQ(file(), "[A]\r\none=1\r\nthree=3\r\n[B]\r\ntwo=2\r\n"
                      "[C\\Sub.Section Name]\r\nfour=\r\n");
}

TEST_F(ProfileWriterTest, SectionsAndKeysMatchWithoutRegardToCase) {
    ProfileWriter writer(fs, path);
    writer.write("Control Panel\\Cursors", "Arrow", "a");
    writer.write("CONTROL PANEL\\cursors", "ARROW", "b");
    writer.write("control panel\\CURSORS", "Wait", "c");
    writer.flush();
    EXPECT_EQ(file(), "[Control Panel\\Cursors]\r\nARROW=b\r\nWait=c\r\n");
}

TEST_F(ProfileWriterTest, ExistingKeyIsReplacedInPlace) {
    seed("[S]\r\nfirst=1\r\nsecond=2\r\nthird=3\r\n[T]\r\nx=y\r\n");
    ProfileWriter writer(fs, path);
    writer.write("s", "Second", "two");
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\nfirst=1\r\nSecond=two\r\nthird=3\r\n[T]\r\nx=y\r\n");
}

TEST_F(ProfileWriterTest, NewKeyFollowsTheLastKeyOfItsSection) {
    // Blank lines and comments after the last key stay after the new key.
    seed("[S]\r\na=1\r\n;note\r\nb=2\r\n\r\n;trailing comment\r\n[T]\r\nx=y\r\n");
    ProfileWriter writer(fs, path);
    writer.write("S", "c", "3");
    writer.write("S", "d", "4");
    writer.write("T", "z", "w");
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\na=1\r\n;note\r\nb=2\r\nc=3\r\nd=4\r\n\r\n;trailing comment\r\n"
                      "[T]\r\nx=y\r\nz=w\r\n");
}

TEST_F(ProfileWriterTest, HeaderIsKeptAndItsUnterminatedLastLineCompleted) {
    seed(";first comment\r\n;Url:http://example.com/");
    ProfileWriter writer(fs, path);
    writer.write("Theme", "DisplayName", "x");
    writer.flush();
    EXPECT_EQ(file(), ";first comment\r\n;Url:http://example.com/\r\n[Theme]\r\nDisplayName=x\r\n");
}

TEST_F(ProfileWriterTest, UnterminatedLastKeyLineIsCompletedBeforeANewKey) {
    seed("[S]\r\na=1");
    ProfileWriter writer(fs, path);
    writer.write("S", "b", "2");
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\na=1\r\nb=2\r\n");
}

TEST_F(ProfileWriterTest, ValuesAreWrittenUnchanged) {
    ProfileWriter writer(fs, path);
    writer.write("S", "blanks", "  padded value  ");
    writer.write("S", "equals", "a=b=c");
    writer.write("S", "percent", "%SystemRoot%\\x;y");
    writer.write("S", "empty", "");
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\nblanks=  padded value  \r\nequals=a=b=c\r\n"
                      "percent=%SystemRoot%\\x;y\r\nempty=\r\n");
}

TEST_F(ProfileWriterTest, ChineseTextIsWrittenAsGbkBytes) {
    ProfileWriter writer(fs, path);
    ASSERT_TRUE(writer.write("Theme", "DisplayName", "蓝色主题"));
    ASSERT_TRUE(writer.write("键淺", "名奬", "值"));
    writer.flush();
    const std::string expected = "[Theme]\r\nDisplayName=" + *fs.toAnsi("蓝色主题") + "\r\n[" +
                                 *fs.toAnsi("键淺") + "]\r\n" + *fs.toAnsi("名奬") + "=" +
                                 *fs.toAnsi("值") + "\r\n";
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(file().substr(0, 3), "[Th") << "no byte-order mark";
}

TEST_F(ProfileWriterTest, CaseFoldingSkipsTrailBytesOfDoubleByteCharacters) {
    // GBK "丄" is 81 41 and "乤" is 81 61: their trail bytes look like "A" and "a", yet they are
    // two different keys.
    ASSERT_EQ(fs.toAnsi("丄"), std::string("\x81\x41"));
    ASSERT_EQ(fs.toAnsi("乤"), std::string("\x81\x61"));
    ProfileWriter writer(fs, path);
    writer.write("S", "丄", "1");
    writer.write("S", "乤", "2");
    writer.write("S", "丄", "3");
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\n\x81\x41=3\r\n\x81\x61=2\r\n");
}

TEST_F(ProfileWriterTest, TextTheCodePageCannotHoldIsRefusedAndChangesNothing) {
    ProfileWriter writer(fs, path);
    ASSERT_TRUE(writer.write("S", "a", "1"));
    EXPECT_FALSE(writer.write("S", "b", "emoji \xF0\x9F\x98\x80"));
    EXPECT_FALSE(writer.write("S\xEA\xB0\x80", "c", "3"));
    EXPECT_FALSE(writer.write("S", "line\nbreak", "4"));
    EXPECT_FALSE(writer.write("S", "d", "value\r\nwith break"));
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\na=1\r\n");
}

TEST_F(ProfileWriterTest, NamesThatWouldReadBackDifferentlyAreRefused) {
    ProfileWriter writer(fs, path);
    EXPECT_FALSE(writer.write("a]b", "k", "v"));
    EXPECT_FALSE(writer.write(" padded", "k", "v"));
    EXPECT_FALSE(writer.write("S", "a=b", "v"));
    EXPECT_FALSE(writer.write("S", "[k", "v"));
    EXPECT_FALSE(writer.write("S", ";k", "v"));
    EXPECT_FALSE(writer.write("S", "k ", "v"));
    EXPECT_TRUE(writer.write("S", "k", "]=[;"));
    writer.flush();
    EXPECT_EQ(file(), "[S]\r\nk=]=[;\r\n");
}

TEST_F(ProfileWriterTest, BracketAsTheSecondByteOfACharacterClosesNoSection) {
    // GBK "乚" is 81 5D: its second byte has the value of "]".
    ASSERT_EQ(fs.toAnsi("乚"), std::string("\x81\x5D"));
    seed("[\x81\x5D\x81\x5D]\r\nold=1\r\n");
    ProfileWriter writer(fs, path);
    ASSERT_TRUE(writer.write("乚乚", "k", "v"));
    ASSERT_TRUE(writer.write("乚", "x", "y"));
    writer.flush();
    EXPECT_EQ(file(), "[\x81\x5D\x81\x5D]\r\nold=1\r\nk=v\r\n[\x81\x5D]\r\nx=y\r\n");
}

TEST_F(ProfileWriterTest, NothingIsWrittenWithoutAKey) {
    seed(";header only");
    ProfileWriter writer(fs, path);
    EXPECT_TRUE(writer.flush());
    EXPECT_EQ(file(), ";header only");
}

TEST_F(ProfileWriterTest, LoneLineFeedsAreKeptAsTheyWere) {
    seed("; unix header\n[S]\na=1\n");
    ProfileWriter writer(fs, path);
    writer.write("S", "b", "2");
    writer.write("T", "c", "3");
    writer.flush();
    EXPECT_EQ(file(), "; unix header\n[S]\na=1\nb=2\r\n[T]\r\nc=3\r\n");
}

TEST_F(ProfileWriterTest, FlushReportsAFileThatCannotBeWritten) {
    ProfileWriter writer(fs, sandbox->root() + "\\missing folder\\x.theme");
    EXPECT_TRUE(writer.write("S", "a", "1"));
    EXPECT_FALSE(writer.flush());
}

TEST_F(ProfileWriterTest, ManyKeysKeepTheirOrder) {
    ProfileWriter writer(fs, path);
    std::string expected;
    for (int section = 0; section < 20; ++section) {
        expected += "[S" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 50; ++key) {
            writer.write("S" + std::to_string(section), "k" + std::to_string(key), "v");
            expected += "k" + std::to_string(key) + "=v\r\n";
        }
    }
    writer.flush();
    EXPECT_EQ(file(), expected);
}

} // namespace
} // namespace quorvel::test
