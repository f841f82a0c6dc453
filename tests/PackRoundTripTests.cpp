// A theme pack's round trip: exported from a project on the command line, opened, and exported
// again from the opened pack. Natively through the host cabinet writer and reader, under Wine
// through the system's cabinet library.
#include "Sandbox.h"

#include "cli/CommandLine.h"
#include "model/Texts.h"
#include "model/ThemePack.h"
#include "platform/ForwardingPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The smallest files of each kind the content checks of an opened theme take.
std::string le32(std::uint32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    }
    return out;
}
std::string iconBytes(bool cursor) {
    return std::string("\0\0", 2) + (cursor ? '\2' : '\1') + std::string("\0\1\0", 3) +
           std::string(8, '\1') + le32(4) + le32(22) + "data";
}
std::string riff(std::string_view form, const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + std::string(form) +
           chunks;
}

// The sandbox's platform with the current user's data folder (where packs open) inside it.
class DataInSandbox : public ForwardingPlatform {
public:
    DataInSandbox(Platform& real, std::string data)
        : ForwardingPlatform(real), data_(std::move(data)) {}
    std::string localDataFolder() override { return data_; }

private:
    std::string data_;
};

// Export, open the pack, export it again: the same members with the same bytes, the theme text
// included; the visual style the pack's theme names is the system's and stays so.
TEST(PackRoundTrip, ExportOpenExportGivesTheSameMembers) {
    const std::unique_ptr<Sandbox> sandbox = makeSandbox();
    DataInSandbox fs(sandbox->platform(), sandbox->root() + "\\Local");
    const std::string root = sandbox->root();
    const std::string header = std::string(16, '\0') + le32(6) + le32(1);
    struct Source {
        std::string name, bytes;
    };
    const std::vector<Source> sources = {
        {"文档.ico", iconBytes(false)},
        {"arrow.cur", iconBytes(true)},
        {"busy.ani", riff("ACON", "anih" + le32(36) + le32(36) + le32(1) + le32(1) + header +
                                      "LIST" + le32(4) + "fram")},
        {"开机.wav", riff("WAVE", "fmt " + le32(16) + std::string(8, '\1') + le32(8000) +
                                      std::string(4, '\0') + "data" + le32(4) + "wave")},
        {"港湾.jpg", "\xFF\xD8\xFF\xE0 harbour"},
        {"晨雾.jpg", "\xFF\xD8\xFF\xE0 morning fog"},
        {"港湾.msstyles", "MZ style"},
    };
    for (const Source& source : sources) {
        ASSERT_TRUE(fs.writeFile(root + "\\" + source.name, bytes(source.bytes)));
    }
    const auto at = [&](const std::string& name) { return root + "\\" + name; };
    const std::string project = root + "\\p.quorvel";
    const std::string text =
        "; Quorvel project 1\r\n[Project]\r\nPageSet=Win7\r\n[Win7]\r\nIcon.Documents=" +
        at("文档.ico") +
        "\r\nPointerScheme=2\r\nPointerSchemeName=港湾指针\r\nPointer.Arrow=" + at("arrow.cur") +
        "\r\nPointer.Wait=" + at("busy.ani") +
        "\r\nSoundScheme=2\r\nSoundSchemeName=港湾声音\r\nSound.Startup=" + at("开机.wav") +
        "\r\nWallpaper=" + at("港湾.jpg") +
        "\r\nSlideshow=港湾.jpg;晨雾.jpg;\r\nVisualStyle=" + at("港湾.msstyles") +
        "\r\nSlideshowInterval=600\r\nWindowColor=74B8FC\r\nTransparency=107\r\n"
        "ThemeName=港湾\r\nDisplayName=秋日港湾\r\n[Picks]\r\nIcon.Documents=" +
        at("文档.ico") + "\r\nPointer.Arrow=" + at("arrow.cur") +
        "\r\nPointer.Wait=" + at("busy.ani") + "\r\nSound.Startup=" + at("开机.wav") +
        "\r\nWallpaper=" + at("港湾.jpg") + "\r\nVisualStyle=" + at("港湾.msstyles") +
        "\r\n[Slideshow]\r\nImage1=" + at("港湾.jpg") + "\r\nImage2=" + at("晨雾.jpg") +
        "\r\n[End]\r\n";
    ASSERT_TRUE(fs.writeFile(project, bytes(text)));

    // Each pack's members by name, read back through the platform's cabinet reader.
    const auto membersOf = [&](const std::string& pack, const std::string& packs) {
        std::map<std::string, std::string> members;
        const PackExtraction read = extractThemePack(pack, root + "\\" + packs, fs);
        EXPECT_TRUE(read.error.empty()) << pack << ": " << read.error;
        for (const std::string& member : read.members) {
            members[member] = fs.readFile(read.folder + "\\" + member).value_or("<none>");
        }
        return members;
    };
    const std::string first = root + "\\港湾.themepack";
    const std::string second = root + "\\again\\港湾.themepack";
    ASSERT_TRUE(fs.makeDirectory(root + "\\again"));
    ASSERT_TRUE(fs.makeDirectory(root + "\\folder"));
    const std::vector<std::vector<std::string>> runs = {
        {"--generate", project, "--pack", first},
        {"--generate", first, "--pack", second},
        // A theme folder made from the opened pack names the system's style where it is.
        {"--generate", first, "--save-to", root + "\\folder"},
    };
    std::vector<std::string> outputs;
    for (const std::vector<std::string>& arguments : runs) {
        const CommandResult result = runCommandLine(parseCommandLine(arguments), fs);
        ASSERT_EQ(result.exitCode, kExitWritten) << arguments[1] << "\n" << result.output;
        outputs.push_back(result.output);
    }
    // The opened pack's style is the system's own: nothing is missing, nothing left out.
    EXPECT_EQ(outputs[1], std::string(text::kPackExported) + second + "\n");
    const std::map<std::string, std::string> a = membersOf(first, "a");
    const std::map<std::string, std::string> b = membersOf(second, "b");
    EXPECT_EQ(a.size(), 8u); // the theme, an icon, two pointers, a sound, two images, empty.wav
    for (const auto& [name, content] : a) {
        ASSERT_TRUE(b.contains(name)) << name;
        EXPECT_EQ(b.at(name), content) << name;
    }
    EXPECT_EQ(a.size(), b.size());
    for (const Source& source : sources) {
        const bool packed =
            source.name.ends_with(".msstyles") || std::ranges::any_of(a, [&](const auto& member) {
                return member.second == source.bytes;
            });
        EXPECT_TRUE(packed) << source.name;
    }
}

} // namespace
} // namespace quorvel::test
