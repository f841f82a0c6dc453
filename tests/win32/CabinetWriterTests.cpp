// The cabinet writer over the system's FCI: members of every kind read back through FDI byte for
// byte, and a write failing on the writing thread, which must fail the cabinet and leave nothing.
#include "Sandbox.h"

#include "platform/win32/CabinetWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace quorvel::test {
namespace {

class CabinetWriter : public testing::Test {
protected:
    // A member from a source file of `size` bytes: random (as images are) or text MSZIP shrinks.
    CabinetEntry member(const std::string& name, std::size_t size, bool compress) {
        std::string& content = contents[name];
        for (std::size_t i = 0; i < size; ++i) {
            content += compress ? static_cast<char>('a' + i % 26) : static_cast<char>(random());
        }
        const std::string path = root + "\\" + name;
        EXPECT_TRUE(fs.writeFile(path, {bytesOf(content), content.size()}));
        return {path, {}, name, compress};
    }
    static const std::uint8_t* bytesOf(const std::string& text) {
        return reinterpret_cast<const std::uint8_t*>(text.data());
    }
    // Every member of the cabinet by name, read back through FDI.
    std::map<std::string, std::string> readBack(const std::string& cabinet) {
        const std::string folder = root + "\\x" + std::to_string(++readings);
        EXPECT_TRUE(fs.makeDirectory(folder));
        std::map<std::string, std::string> found;
        EXPECT_EQ(fs.readCabinet(
                      cabinet,
                      [&](const CabinetMember& m) {
                          found[m.name] = folder + "\\" + std::to_string(m.index);
                          return CabinetDecision{CabinetDecision::Action::Extract, found[m.name]};
                      }),
                  CabinetStatus::Done);
        for (auto& [name, path] : found) {
            path = fs.readFile(path).value_or("<unreadable>");
        }
        return found;
    }

    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
    std::string root = sandbox->root();
    std::mt19937 random{20261208};
    std::map<std::string, std::string> contents;
    int readings = 0;
};

TEST_F(CabinetWriter, MembersOfEveryKindReadBackAsTheirSources) {
    contents["a.theme"] = contents["memory.bin"] = std::string(70'000, 'm');
    const std::vector<std::uint8_t> inMemory(70'000, 'm');
    const CabinetEntry twice = member("twice.jpg", 1'300'000, false);
    contents["again.jpg"] = contents["twice.jpg"];
    const std::vector<std::vector<CabinetEntry>> cases = {
        // Stored across the 1 MB reads, after a compressed member in memory.
        {{{}, inMemory, "a.theme", true},
         member("big.jpg", 3'500'001, false),
         member("exact.jpg", 1 << 20, false)},
        // Small stored files, compressed between stored ones, a stored member in memory.
        {member("small.png", 100'000, false),
         member("sound.wav", 700'000, true),
         member("after.jpg", 2'200'000, false),
         {{}, inMemory, "memory.bin", false}},
        // One source as two members.
        {twice, {twice.sourcePath, {}, "again.jpg", false}},
    };
    for (const std::vector<CabinetEntry>& members : cases) {
        const std::string cabinet = root + "\\" + std::to_string(readings) + ".cab";
        ASSERT_EQ(fs.writeCabinet(cabinet, members), CabinetResult::Written) << members[0].name;
        const std::map<std::string, std::string> found = readBack(cabinet);
        EXPECT_EQ(found.size(), members.size()) << members[0].name;
        for (const CabinetEntry& m : members) {
            EXPECT_TRUE(found.contains(m.name) && found.at(m.name) == contents[m.name]) << m.name;
        }
    }
}

// The writing thread's write fails at once, in its second buffer, or in the cabinet's last byte
// (which only the closing finds): the cabinet fails, the older file is as it was, and nothing of
// the new one is left.
TEST_F(CabinetWriter, AWriteFailingOnTheWritingThreadFailsTheCabinetAndLeavesNothing) {
    const std::vector<CabinetEntry> members = {member("a.jpg", 2'500'000, false),
                                               member("b.wav", 600'000, true),
                                               member("c.jpg", 3'000'000, false)};
    const std::string target = root + "\\old.themepack";
    ASSERT_EQ(writeCabinetWith(target, members, writeWholeFile), CabinetResult::Written);
    EXPECT_EQ(readBack(target).size(), members.size());
    const std::uint64_t size = fs.readFile(target)->size();
    for (const std::uint64_t budget : {std::uint64_t{0}, std::uint64_t{1 << 20} + 1, size - 1}) {
        const std::string older = "older pack";
        ASSERT_TRUE(fs.writeFile(target, {bytesOf(older), older.size()}));
        std::uint64_t left = budget;
        DWORD thread = 0;
        const CabinetResult result = writeCabinetWith(
            target, members, [&](HANDLE file, const std::uint8_t* data, std::size_t count) {
                thread = ::GetCurrentThreadId();
                const bool whole = count <= left;
                writeWholeFile(file, data, static_cast<std::size_t>(std::min(left, count)));
                left -= std::min(left, count);
                ::SetLastError(ERROR_DISK_FULL);
                return whole;
            });
        EXPECT_EQ(result, CabinetResult::Failed) << budget;
        EXPECT_NE(thread, ::GetCurrentThreadId()) << budget;
        EXPECT_EQ(fs.readFile(target), older) << budget;
        EXPECT_FALSE(fs.fileExists(target + std::string(kReplacementSuffix))) << budget;
    }
}

} // namespace
} // namespace quorvel::test
