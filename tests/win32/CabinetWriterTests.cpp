// The cabinet writer over the system's FCI: members stored and compressed, from files large and
// small and from memory, read back through FDI byte for byte; and a cabinet whose writing thread
// fails part way, which must fail the export and leave nothing behind.
#include "Sandbox.h"

#include "platform/win32/CabinetWriter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class CabinetWriter : public testing::Test {
protected:
    // A source file of `size` bytes: random (as images are) or text that MSZIP shrinks.
    std::string source(const std::string& name, std::size_t size, bool text) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            content[i] = text ? static_cast<char>('a' + (i * 7 + i / 1000) % 26)
                              : static_cast<char>(random());
        }
        const std::string path = root + "\\" + name;
        EXPECT_TRUE(fs.writeFile(path, bytes(content)));
        contents[name] = content;
        return path;
    }
    CabinetEntry member(const std::string& name, std::size_t size, bool text, bool compress) {
        return {source(name, size, text), {}, name, compress};
    }

    // Every member of the cabinet, read back through the system's FDI.
    std::map<std::string, std::string> readBack(const std::string& cabinet) {
        const std::string folder = root + "\\x" + std::to_string(++readings);
        EXPECT_TRUE(fs.makeDirectory(folder));
        std::map<std::string, std::string> found;
        const CabinetStatus status = fs.readCabinet(cabinet, [&](const CabinetMember& m) {
            found[m.name] = folder + "\\" + std::to_string(m.index);
            return CabinetDecision{CabinetDecision::Action::Extract, found[m.name]};
        });
        EXPECT_EQ(status, CabinetStatus::Done);
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
    const std::string theme = "[Theme]\r\nDisplayName=x\r\n";
    struct Case {
        std::string what;
        std::vector<CabinetEntry> members;
    };
    std::vector<Case> cases;
    cases.push_back({"stored images across the 1 MB reads",
                     {{{}, {theme.begin(), theme.end()}, "a.theme", true},
                      member("big.jpg", 3'500'001, false, false),
                      member("exact.jpg", 1 << 20, false, false)}});
    cases.push_back({"small stored files kept in memory, compressed between stored",
                     {member("small.png", 100'000, false, false),
                      member("sound.wav", 700'000, true, true),
                      member("after.jpg", 2'200'000, false, false),
                      {{}, std::vector<std::uint8_t>(70'000, 'm'), "memory.bin", false}}});
    const std::string twice = source("twice.jpg", 1'300'000, false);
    cases.push_back({"one source as two members",
                     {{twice, {}, "one.jpg", false}, {twice, {}, "two.jpg", false}}});
    contents["a.theme"] = theme;
    contents["memory.bin"] = std::string(70'000, 'm');
    contents["one.jpg"] = contents["two.jpg"] = contents["twice.jpg"];
    for (const Case& c : cases) {
        const std::string cabinet = root + "\\" + std::to_string(readings) + ".cab";
        ASSERT_EQ(fs.writeCabinet(cabinet, c.members), CabinetResult::Written) << c.what;
        const std::map<std::string, std::string> found = readBack(cabinet);
        ASSERT_EQ(found.size(), c.members.size()) << c.what;
        for (const CabinetEntry& m : c.members) {
            ASSERT_TRUE(found.contains(m.name)) << c.what << ": " << m.name;
            EXPECT_TRUE(found.at(m.name) == contents[m.name]) << c.what << ": " << m.name;
        }
    }
}

// The writer's thread fails its write at some point of the cabinet (at once, in its second
// buffer, in its last byte, which only the closing finds): the export fails, the older file is as
// it was, and no part of the new one is left.
TEST_F(CabinetWriter, AWriteFailingOnTheWritersThreadFailsTheCabinetAndLeavesNothing) {
    const std::vector<CabinetEntry> members = {member("a.jpg", 2'500'000, false, false),
                                               member("b.wav", 600'000, true, true),
                                               member("c.jpg", 3'000'000, false, false)};
    const std::string target = root + "\\old.themepack";
    // Through the whole WriteFile the same members make a cabinet.
    ASSERT_EQ(writeCabinetWith(target, members, writeWholeFile), CabinetResult::Written);
    EXPECT_EQ(readBack(target).size(), members.size());
    const std::uint64_t size = fs.readFile(target)->size();
    for (const std::uint64_t budget : {std::uint64_t{0}, std::uint64_t{1 << 20} + 1, size - 1}) {
        ASSERT_TRUE(fs.writeFile(target, bytes("older pack")));
        std::uint64_t left = budget;
        std::atomic<DWORD> thread = 0;
        const CabinetResult result = writeCabinetWith(
            target, members, [&](HANDLE file, const std::uint8_t* data, std::size_t count) {
                thread = ::GetCurrentThreadId();
                if (count > left) {
                    writeWholeFile(file, data, static_cast<std::size_t>(left));
                    ::SetLastError(ERROR_DISK_FULL);
                    return false;
                }
                left -= count;
                return writeWholeFile(file, data, count);
            });
        EXPECT_EQ(result, CabinetResult::Failed) << budget;
        EXPECT_NE(thread, 0u) << budget;
        EXPECT_NE(thread, ::GetCurrentThreadId()) << budget;
        EXPECT_EQ(fs.readFile(target), "older pack") << budget;
        EXPECT_FALSE(fs.fileExists(target + std::string(kReplacementSuffix))) << budget;
    }
}

} // namespace
} // namespace quorvel::test
