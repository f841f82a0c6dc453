#include "model/DocumentOpening.h"
#include "model/Texts.h"
#include "model/ThemePack.h"

#include "CabinetWriter.h"
#include "Sandbox.h"
#include "platform/ForwardingPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace quorvel {
namespace {

using test::CabinetEntry;
using test::writeCabinet;

constexpr std::uint64_t kMegabyte = 1024 * 1024;

TEST(ThemePack, MemberNamesStayInsideTheFolder) {
    struct Case {
        std::string name;
        std::string path;           // the accepted path, or
        std::string_view problem{}; // what is wrong
    };
    const Case cases[] = {
        {"a.theme", "a.theme"},
        {"DesktopBackground\\img 1.jpg", "DesktopBackground\\img 1.jpg"},
        {"DesktopBackground/img.jpg", "DesktopBackground\\img.jpg"},
        {"壁纸\\港湾.jpg", "壁纸\\港湾.jpg"},
        {"CONSOLE.wav", "CONSOLE.wav"},
        {"com10", "com10"},
        {"..\\evil.txt", "", text::kMemberNameDots},
        {"a\\..\\..\\evil.txt", "", text::kMemberNameDots},
        {"a\\\\b", "", text::kMemberNameDots},
        {"a\\", "", text::kMemberNameDots},
        {".\\a", "", text::kMemberNameDots},
        {"C:\\evil.txt", "", text::kMemberNameColon},
        {"C:evil.txt", "", text::kMemberNameColon},
        {"a.theme:stream", "", text::kMemberNameColon},
        {"\\\\?\\C:\\evil.txt", "", text::kMemberNameRooted},
        {"\\\\server\\share\\x", "", text::kMemberNameRooted},
        {"\\evil.txt", "", text::kMemberNameRooted},
        {"/etc/passwd", "", text::kMemberNameRooted},
        {"CON", "", text::kMemberNameDevice},
        {"con.txt", "", text::kMemberNameDevice},
        {"sub\\NUL.wav", "", text::kMemberNameDevice},
        {"COM1", "", text::kMemberNameDevice},
        {"lpt9.jpg", "", text::kMemberNameDevice},
        {"COM\xC2\xB9", "", text::kMemberNameDevice},
        {"CONIN$", "", text::kMemberNameDevice},
        {"...", "", text::kMemberNameTrailing},
        {".. ", "", text::kMemberNameTrailing},
        {"a.jpg ", "", text::kMemberNameTrailing},
        {"a*.jpg", "", text::kMemberNameCharacter},
        {"a\tb", "", text::kMemberNameCharacter},
        {"a\"b", "", text::kMemberNameCharacter},
        {"", "", text::kMemberNameEmpty},
        {std::string(257, 'x'), "", text::kMemberNameLong},
    };
    for (const Case& c : cases) {
        const MemberNameCheck checked = checkMemberName(c.name);
        EXPECT_EQ(checked.path, c.path) << c.name;
        EXPECT_EQ(checked.problem, c.problem) << c.name;
    }
}

TEST(ThemePack, PlansRefuseClashesAndLimits) {
    struct Case {
        std::vector<CabinetMember> members;
        std::optional<std::uint64_t> free;
        std::string error; // the start of the message; empty when the plan holds
    };
    const auto m = [](std::string name, std::uint64_t size = 1) {
        return CabinetMember{0, std::move(name), size};
    };
    const Case cases[] = {
        {{m("a.theme"), m("DesktopBackground\\a.jpg")}, 2, ""},
        {{m("a.theme"), m("A.THEME")}, {}, std::string(text::kPackDuplicateName)},
        {{m("a.theme"), m("x"), m("X\\y.jpg")}, {}, std::string(text::kPackDuplicateName)},
        {{m("a.theme"), m("x\\y.jpg"), m("x")}, {}, std::string(text::kPackDuplicateName)},
        {{m("a.theme"), m("b.theme")}, {}, std::string(text::kPackSeveralThemes)},
        {{m("sub\\a.theme")}, {}, std::string(text::kPackNoTheme)},
        {{m("a.theme", 3 * kMegabyte)},
         kMegabyte,
         std::string(text::kPackNoSpaceBefore) + "3" + std::string(text::kPackNoSpaceMiddle) + "1"},
        {{m("a.theme", kMaxPackBytes), m("b.jpg")}, {}, std::string(text::kPackTooLargeBefore)},
        {{m("a.theme"), m("b:c")}, {}, std::string(text::kPackBadNameBefore) + "b:c"},
    };
    for (const Case& c : cases) {
        const ExtractionPlan plan = planPack(c.members, c.free);
        EXPECT_EQ(plan.error.substr(0, c.error.size()), c.error) << c.members.back().name;
        EXPECT_EQ(plan.error.empty(), c.error.empty()) << plan.error;
    }
    EXPECT_EQ(packFolderName("D:\\下载\\秋日 港湾.themepack"), "秋日 港湾");
    EXPECT_EQ(packFolderName("C:\\x\\CON.themepack"), "_CON");
    EXPECT_EQ(packFolderName("C:\\x\\...themepack"), text::kPackDefaultFolder);
}

// The sandbox's platform with the current user's data folder inside the sandbox and, when a
// test sets one, a free space of its own.
class PackPlatform : public ForwardingPlatform {
public:
    PackPlatform(Platform& real, std::string data)
        : ForwardingPlatform(real), data_(std::move(data)) {}
    std::string localDataFolder() override { return data_; }
    std::optional<std::uint64_t> freeSpace(const std::string& folder) override {
        return free ? free : ForwardingPlatform::freeSpace(folder);
    }
    std::optional<std::uint64_t> free;

private:
    std::string data_;
};

// Every file (with its bytes) and folder below a folder.
using Tree = std::map<std::string, std::string>;
void snapshot(Platform& platform, const std::string& folder, Tree& tree) {
    for (const DirectoryEntry& entry :
         platform.listDirectory(folder).value_or(std::vector<DirectoryEntry>{})) {
        const std::string path = folder + "\\" + entry.name;
        if (entry.isDirectory) {
            tree[path] = "<folder>";
            snapshot(platform, path, tree);
        } else {
            tree[path] = platform.readFile(path).value_or("<unreadable>");
        }
    }
}

struct PackFixture {
    std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    PackPlatform platform{sandbox->platform(), sandbox->root() + "\\Local"};
    std::string packs = sandbox->root() + "\\Local\\Quorvel\\Packs";

    std::string put(const std::string& name, const std::string& bytes) {
        const std::string path = sandbox->root() + "\\" + name;
        EXPECT_TRUE(platform.writeFile(
            path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
        return path;
    }
    Tree tree() {
        Tree all;
        snapshot(platform, sandbox->root(), all);
        return all;
    }
};

// An ASCII text as UTF-16 LE with its byte order mark, as a pack's theme is written.
std::string utf16(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const std::string kTheme = utf16("[Theme]\r\nDisplayName=x\r\n");

TEST(ThemePack, HostilePacksAreRefusedAndChangeNothing) {
    PackFixture f;
    // Refused before anything is written: not even the folder of packs is made.
    const std::string first = f.put("hostile.themepack", writeCabinet({{"..\\a.theme", kTheme}}));
    const Tree untouched = f.tree();
    EXPECT_FALSE(readDocument(first, f.platform, PageSet::Win7).document);
    EXPECT_EQ(f.tree(), untouched);
    // An earlier extraction of the same name, which a failed one must leave as it is.
    ASSERT_TRUE(f.platform.makeDirectory(f.sandbox->root() + "\\Local"));
    ASSERT_TRUE(f.platform.makeDirectory(f.sandbox->root() + "\\Local\\Quorvel"));
    ASSERT_TRUE(f.platform.makeDirectory(f.packs));
    ASSERT_TRUE(f.platform.makeDirectory(f.packs + "\\hostile"));
    f.put("Local\\Quorvel\\Packs\\hostile\\earlier.theme", kTheme);

    std::vector<CabinetEntry> many{{"a.theme", kTheme}};
    for (int i = 0; i < 20'000; ++i) {
        many.push_back({"f" + std::to_string(i), "x"});
    }
    const std::string valid =
        writeCabinet({{"a.theme", kTheme}, {"b.jpg", std::string(70'000, 'b')}});
    struct Case {
        std::string label;
        std::string bytes;
        std::string error; // a part of the message
        std::optional<std::uint64_t> free{};
    };
    const auto named = [](const std::string& name) {
        return writeCabinet({{"a.theme", kTheme}, {name, "evil"}});
    };
    const std::string badName = std::string(text::kPackBadNameBefore);
    const Case cases[] = {
        {"parent", named("..\\evil.txt"), badName + "..\\evil.txt"},
        {"drive", named("C:\\evil.txt"), badName + "C:\\evil.txt"},
        {"device path", named("\\\\?\\C:\\evil.txt"), badName + "\\\\?\\C:\\evil.txt"},
        {"stream", named("a.theme:stream"), std::string(text::kMemberNameColon)},
        {"device", named("CON"), std::string(text::kMemberNameDevice)},
        {"deep parent", named("DesktopBackground\\..\\..\\evil.txt"), badName},
        {"20,000 members", writeCabinet(many), std::string(text::kPackTooManyBefore) + "20001"},
        {"lying size", writeCabinet({{"a.theme", kTheme}, {"b.jpg", "short", 100'000}}),
         std::string(text::kPackDamaged)},
        {"truncated data", valid.substr(0, valid.size() - 1000), std::string(text::kPackDamaged)},
        {"truncated directory", valid.substr(0, 50), std::string(text::kPackDamaged)},
        {"no cabinet", "MSCX" + valid.substr(4), std::string(text::kPackNotCabinet)},
        {"empty file", "", std::string(text::kPackNotCabinet)},
        {"too large", writeCabinet({{"a.theme", kTheme, 0xF0000000u}, {"b", "x", 0xF0000000u}}),
         std::string(text::kPackTooLargeBefore)},
        {"disk full", valid, std::string(text::kPackNoSpaceBefore), 10'000},
        {"no theme", writeCabinet({{"sub\\a.theme", kTheme}}), std::string(text::kPackNoTheme)},
    };
    for (const Case& c : cases) {
        const std::string pack = f.put("hostile.themepack", c.bytes);
        const Tree before = f.tree();
        f.platform.free = c.free;
        const OpenedDocument document = readDocument(pack, f.platform, PageSet::Win7);
        EXPECT_FALSE(document.document) << c.label;
        EXPECT_NE(document.error.find(std::string(text::kCannotOpenFile) + pack), std::string::npos)
            << c.label;
        EXPECT_NE(document.error.find(c.error), std::string::npos)
            << c.label << ": " << document.error;
        EXPECT_EQ(f.tree(), before) << c.label;
    }
    // The valid pack of the table replaces the earlier extraction, and only then.
    f.platform.free.reset();
    const std::string pack = f.put("hostile.themepack", valid);
    const OpenedDocument opened = readDocument(pack, f.platform, PageSet::Win7);
    EXPECT_TRUE(opened.document) << opened.error;
    EXPECT_FALSE(f.platform.fileExists(f.packs + "\\hostile\\earlier.theme"));
    EXPECT_EQ(f.platform.readFile(f.packs + "\\hostile\\b.jpg"), std::string(70'000, 'b'));
    EXPECT_EQ(f.platform.listDirectory(f.packs)->size(), 1u);
}

std::string dataFile(const std::string& name) {
#ifdef _WIN32
    const std::string folder = std::string("Z:") + QUORVEL_TEST_DATA_DIR;
#else
    const std::string folder = QUORVEL_TEST_DATA_DIR;
#endif
    std::ifstream in(folder + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The hand-written pack of tests/data, stored and (for the system's library) compressed.
TEST(ThemePack, OpensAHandWrittenPack) {
    PackFixture f;
    const std::string folder = f.packs + "\\harbour";
    const std::vector<std::string> members = {"harbour.theme", "arrow.cur", "logon.wav",
                                              "DesktopBackground\\harbour.jpg",
                                              "DesktopBackground\\morning.jpg"};
    for (const std::string name : {"harbour.themepack", "harbour-mszip.themepack"}) {
        const std::string pack = f.put("harbour.themepack", dataFile(name));
        // Opened twice: the second extraction replaces the first.
        for (int round = 0; round < 2; ++round) {
            const OpenedDocument document = readDocument(pack, f.platform, PageSet::Xp);
#ifndef _WIN32
            if (name == std::string("harbour-mszip.themepack")) {
                // The host layer reads stored cabinets only.
                EXPECT_NE(document.error.find(text::kPackUnsupported), std::string::npos);
                EXPECT_FALSE(f.platform.isDirectory(f.packs + "\\harbour.part~1"));
                continue;
            }
#endif
            ASSERT_TRUE(document.document) << name << ": " << document.error;
            EXPECT_TRUE(document.theme);
            EXPECT_EQ(document.displayName, "秋日港湾");
            const ThemeDocument& state = *document.document;
            EXPECT_EQ(state.pageSet, PageSet::Win7);
            EXPECT_EQ(state.picks.wallpaperFile.sourcePath, folder + "\\" + members[3]);
            ASSERT_EQ(state.picks.slideshowFiles.size(), 2u);
            EXPECT_EQ(state.picks.slideshowFiles[0].sourcePath, folder + "\\" + members[3]);
            EXPECT_EQ(state.picks.slideshowFiles[1].sourcePath, folder + "\\" + members[4]);
            EXPECT_EQ(state.picks.cursorFiles[9].sourcePath, folder + "\\arrow.cur"); // Arrow
            EXPECT_EQ(state.picks.soundFiles[3].sourcePath, folder + "\\logon.wav");  // Logon
            for (const std::string& member : members) {
                std::string source = member;
                std::replace(source.begin(), source.end(), '\\', '/');
                EXPECT_EQ(f.platform.readFile(folder + "\\" + member),
                          dataFile("harbour-pack/" + source))
                    << member;
            }
            EXPECT_EQ(f.platform.listDirectory(f.packs)->size(), 1u);
        }
    }
}

} // namespace
} // namespace quorvel
