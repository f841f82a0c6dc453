// Theme packs: the theme and the members planned from a request, the refusals, and the cabinet
// written through the platform layer. Natively the host writer's cabinets are also checked with
// cabextract and gcab; under Wine the same suite runs against the system's cabinet library.
#include "Sandbox.h"
#include "WizardHarness.h"

#include "cli/CommandLine.h"
#include "generator/PackExport.h"
#include "model/Texts.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/PackExportFlow.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#ifndef _WIN32
#include "platform/host/HostPlatform.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#endif

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The value of a key in the theme text, or "<none>".
std::string valueOf(const std::string& theme, const std::string& section, const std::string& key) {
    const std::size_t start = theme.find("\r\n[" + section + "]\r\n");
    if (start == std::string::npos) {
        return "<none>";
    }
    const std::size_t end = theme.find("\r\n[", start + 3);
    const std::string body = theme.substr(start, end - start) + "\r\n";
    const std::size_t at = body.find("\r\n" + key + "=");
    if (at == std::string::npos) {
        return "<none>";
    }
    const std::size_t from = at + key.size() + 3;
    return body.substr(from, body.find("\r\n", from) - from);
}

class PackExport : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs.makeDirectory(sources));
        ASSERT_TRUE(fs.makeDirectory(sources + "\\other"));
        request.pageSet = PageSet::Win7;
        ThemeProject& p = request.project;
        p.themeName = "港湾";
        p.displayName = "秋日港湾";
        p.windowAlphaText = "6B";
        p.windowColorText = "74B8FC";
        p.slideshowIntervalText = "600";
        pick(request.iconChosen[0], p.iconFiles[0], file("文档.ico"));
        pick(request.pointerChosen[9], p.cursorFiles[9], file("arrow.cur"));
        pick(request.pointerChosen[1], p.cursorFiles[1], file("busy.ani"));
        p.cursorSchemeName = "港湾指针";
        pick(request.soundChosen[0], p.soundFiles[0], file("a.wav"));
        pick(request.soundChosen[1], p.soundFiles[1], file("a.wav", "other"));
        pick(request.wallpaperChosen, p.wallpaperFile, file("港湾.jpg"));
        request.slideshowChosen = true;
        p.slideshowFiles = {p.wallpaperFile, file("晨雾.jpg"), file("b.PNG")};
        p.visualStyleFile = file("港湾.msstyles");
        request.screensaver = ScreensaverSource::Own;
        p.screensaverFile = file("own.scr");
    }

    AssetRef file(const std::string& name, const std::string& folder = {}) {
        const std::string path = sources + (folder.empty() ? "" : "\\" + folder) + "\\" + name;
        EXPECT_TRUE(fs.writeFile(path, bytes("content of " + path + std::string(3000, 'x'))));
        return {path, name};
    }
    static void pick(bool& chosen, AssetRef& slot, const AssetRef& asset) {
        chosen = !asset.sourcePath.empty();
        slot = asset;
    }

    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
    std::string sources = sandbox->root() + "\\素材";
    ThemeRequest request;
};

TEST_F(PackExport, ThemeKeysOfBothKinds) {
    struct Row {
        PackKind kind;
        std::string section, key, value;
    };
    const PackKind both[] = {PackKind::ThemePack, PackKind::DeskThemePack};
    std::vector<Row> rows;
    for (const PackKind kind : both) {
        const std::vector<Row> common = {
            {kind, "Theme", "DisplayName", "秋日港湾"},
            {kind, "MasterThemeSelector", "MTSM", "DABJDKT"},
            {kind, "CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon", "DefaultValue",
             "file.ico,0"},
            {kind, "Control Panel\\Cursors", "Arrow", "arrow.cur"},
            {kind, "Control Panel\\Cursors", "Wait", "busy.ani"},
            {kind, "Control Panel\\Cursors", "Hand", ""},
            {kind, "Control Panel\\Desktop", "Wallpaper", "DesktopBackground\\file.jpg"},
            {kind, "Slideshow", "ImagesRootPath", "DesktopBackground"},
            {kind, "Slideshow", "Item1Path", "DesktopBackground\\file.jpg"},
            {kind, "Slideshow", "Item2Path", "<none>"},
            {kind, "Slideshow", "Item3Path", "DesktopBackground\\file-2.jpg"},
            {kind, "Slideshow", "Item4Path", "DesktopBackground\\b.PNG"},
            {kind, "AppEvents\\Schemes\\Apps\\.Default\\SystemExit", "DefaultValue", "a.wav"},
            {kind, "AppEvents\\Schemes\\Apps\\.Default\\SystemStart", "DefaultValue", "a-2.wav"},
            {kind, "AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin", "DefaultValue",
             "empty.wav"},
            {kind, "boot", "SCRNSAVE.EXE", ""},
            {kind, "VisualStyles", "ColorizationColor", "0x6B74B8FC"},
        };
        rows.insert(rows.end(), common.begin(), common.end());
    }
    rows.push_back({PackKind::ThemePack, "VisualStyles", "Path",
                    "%ResourceDir%\\Themes\\Aero\\Aero.msstyles"});
    rows.push_back({PackKind::ThemePack, "VisualStyles", "AutoColorization", "<none>"});
    rows.push_back({PackKind::DeskThemePack, "VisualStyles", "Path",
                    "%SystemRoot%\\resources\\Themes\\Aero\\Aero.msstyles"});
    rows.push_back({PackKind::DeskThemePack, "VisualStyles", "AutoColorization", "0"});
    for (const PackKind kind : both) {
        const ExportPlan plan = planExport(request, kind, fs);
        for (const Row& row : rows) {
            if (row.kind == kind) {
                EXPECT_EQ(valueOf(plan.themeText, row.section, row.key), row.value)
                    << static_cast<int>(kind) << " [" << row.section << "] " << row.key;
            }
        }
        // AutoColorization sits right after ColorizationColor.
        EXPECT_EQ(plan.themeText.find("ColorizationColor=0x6B74B8FC\r\nAutoColorization=0") !=
                      std::string::npos,
                  kind == PackKind::DeskThemePack);
        EXPECT_EQ(plan.leftOut.size(), 2u);
        EXPECT_TRUE(plan.failures.empty());
    }
}

TEST_F(PackExport, MembersAreAsciiUniqueAndStoredWhenCompressed) {
    // A system screensaver from the list is named, not packed; no left-out line for it.
    request.screensaver = ScreensaverSource::System;
    request.project.screensaverFile = {"%SystemRoot%\\System32\\Ribbons.scr", "Ribbons.scr"};
    // A name Windows maps to a device gets a plain one.
    AssetRef device = file("device.wav"); // Windows would not make a file named nul.wav
    device.fileName = "nul.wav";
    pick(request.soundChosen[2], request.project.soundFiles[2], device);
    const ExportPlan plan = planExport(request, PackKind::ThemePack, fs);
    EXPECT_EQ(valueOf(plan.themeText, "boot", "SCRNSAVE.EXE"),
              "%SystemRoot%\\System32\\Ribbons.scr");
    EXPECT_EQ(plan.leftOut.size(), 1u); // the visual style
    struct Expected {
        std::string name, source;
        bool compress;
    };
    const std::vector<Expected> expected = {
        {"file.theme", "", true},
        {"file.ico", sources + "\\文档.ico", true},
        {"busy.ani", sources + "\\busy.ani", true},
        {"arrow.cur", sources + "\\arrow.cur", true},
        {"DesktopBackground\\file.jpg", sources + "\\港湾.jpg", false},
        {"DesktopBackground\\file-2.jpg", sources + "\\晨雾.jpg", false},
        {"DesktopBackground\\b.PNG", sources + "\\b.PNG", false},
        {"a.wav", sources + "\\a.wav", true},
        {"a-2.wav", sources + "\\other\\a.wav", true},
        {"file.wav", sources + "\\device.wav", true},
        {"empty.wav", "", true},
    };
    ASSERT_EQ(plan.members.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plan.members[i].name, expected[i].name);
        EXPECT_EQ(plan.members[i].sourcePath, expected[i].source) << expected[i].name;
        EXPECT_EQ(plan.members[i].compress, expected[i].compress) << expected[i].name;
    }
    // The theme member: UTF-16 LE with a byte order mark, the theme text.
    const std::vector<std::uint8_t>& theme = plan.members[0].bytes;
    ASSERT_GE(theme.size(), 2u);
    EXPECT_EQ(theme[0], 0xFF);
    EXPECT_EQ(theme[1], 0xFE);
    std::u16string units;
    for (std::size_t i = 2; i + 1 < theme.size(); i += 2) {
        units += static_cast<char16_t>(theme[i] | (theme[i + 1] << 8));
    }
    EXPECT_EQ(utf8::fromUtf16(units), plan.themeText);
}

// Names as long as Windows allows still fit the cabinet's 255 bytes, with the folder and the
// "-N" of a clash, keeping their extension.
TEST_F(PackExport, LongNamesAreShortenedToFitTheCabinet) {
    request.project.themeName = std::string(250, 'a');
    const std::string image = std::string(240, 'b') + ".jpeg";
    request.project.slideshowFiles = {file(image), file(image, "other")};
    const ExportPlan plan = planExport(request, PackKind::ThemePack, fs);
    std::set<std::string> names;
    for (const CabinetEntry& member : plan.members) {
        EXPECT_LE(member.name.size(), 255u) << member.name;
        EXPECT_TRUE(names.insert(member.name).second) << member.name;
    }
    for (const std::string_view ending :
         {std::string_view(".theme"), std::string_view(".jpeg"), std::string_view("-2.jpeg")}) {
        EXPECT_TRUE(std::ranges::any_of(plan.members, [&](const CabinetEntry& member) {
            return member.name.size() > 200 && member.name.ends_with(ending);
        })) << ending;
    }
}

TEST_F(PackExport, RefusalsLeaveTheTargetAsItWas) {
    const std::string target = sandbox->root() + "\\old.themepack";
    ASSERT_TRUE(fs.writeFile(target, bytes("older pack")));
    struct Case {
        std::string what;
        std::function<void(ThemeRequest&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"XP", [](ThemeRequest& r) { r.pageSet = PageSet::Xp; }, std::string(text::kPackNotOnXp)},
        {"no name", [](ThemeRequest& r) { r.project.themeName.clear(); },
         std::string(text::kEmptyThemeName)},
        {"no display name", [](ThemeRequest& r) { r.project.displayName.clear(); },
         std::string(text::kEmptyDisplayName)},
        {"bad name", [](ThemeRequest& r) { r.project.themeName = "a:b"; },
         std::string(text::kBadThemeName)},
        {"65,536 members",
         [](ThemeRequest& r) {
             r.project.slideshowFiles.resize(kMaxCabinetMembers);
             for (std::size_t i = 0; i < kMaxCabinetMembers; ++i) {
                 r.project.slideshowFiles[i] = {r.project.wallpaperFile.sourcePath,
                                                std::to_string(i) + ".jpg"};
             }
         },
         std::string(text::kPackTooLarge)},
        {"unwritable target", [](ThemeRequest&) {},
         std::string(text::kPackWriteFailed) + sandbox->root() + "\\missing\\x.themepack"},
    };
    for (const Case& c : cases) {
        ThemeRequest changed = request;
        c.change(changed);
        const std::string path =
            c.what == "unwritable target" ? sandbox->root() + "\\missing\\x.themepack" : target;
        const GenerationReport report = exportPack(changed, path, fs);
        EXPECT_EQ(report.outcome, GenerationOutcome::Refused) << c.what;
        EXPECT_EQ(report.message, c.message) << c.what;
        EXPECT_EQ(fs.readFile(target), "older pack") << c.what;
        EXPECT_FALSE(fs.fileExists(target + ".new~")) << c.what;
    }
}

TEST_F(PackExport, CommandLineExitCodes) {
    const std::string project = sandbox->root() + "\\p.quorvel";
    const std::string out = sandbox->root() + "\\港湾.deskthemepack";
    const std::string wall = request.project.wallpaperFile.sourcePath;
    struct Case {
        std::string pageSet;
        int exitCode;
        std::string firstLine;
    };
    const std::vector<Case> cases = {
        {"Win7", kExitWritten, std::string(text::kPackExported) + out},
        {"Win7", kExitRefused, std::string(text::kPackExists) + out}, // the pack of the row above
        {"XP", kExitRefused,
         std::string(text::kPackNotOnXp.substr(0, text::kPackNotOnXp.find('\n')))},
    };
    for (const Case& c : cases) {
        const std::string text =
            "; Quorvel project 1\r\n[Project]\r\nPageSet=" + c.pageSet + "\r\n[" + c.pageSet +
            "]\r\nWallpaper=" + wall + "\r\nVisualStyle=" + wall +
            "\r\nPointerScheme=1\r\nSoundScheme=1\r\nThemeName=港湾\r\n" +
            "DisplayName=秋日港湾\r\n[Picks]\r\nWallpaper=" + wall + "\r\n[End]\r\n";
        ASSERT_TRUE(fs.writeFile(project, bytes(text)));
        const std::vector<std::string> arguments = {"--generate", project, "--pack", out};
        const CommandResult result = runCommandLine(parseCommandLine(arguments), fs);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.pageSet << "\n" << result.output;
        EXPECT_EQ(result.output.substr(0, result.output.find('\n')), c.firstLine) << c.pageSet;
    }
}

// The system menu's item on the in-memory window: the XP message, the checks on the way, the
// save dialog's offer, a cancel that writes nothing, and the report.
TEST(PackExportFlow, ChecksDialogAndReport) {
    struct Case {
        std::string what;
        Page page;
        bool schemes;
        std::string name;
        bool answer;
        std::string message; // the start of the one message box, "" for none
    };
    const std::vector<Case> cases = {
        {"XP pages", Page::Xp3, true, "港湾", true, std::string(text::kPackNotOnXp)},
        {"no pointer scheme", Page::Win72, false, "港湾", true, std::string(text::kNoCursorScheme)},
        {"no name", Page::Win76, true, "", true, std::string(text::kEmptyThemeName)},
        {"cancelled", Page::Win76, true, "港湾", false, ""},
        {"exported", Page::Win71, true, "港湾", true, std::string(text::kPackExported)},
    };
    for (const Case& c : cases) {
        WizardHarness h;
        const std::string target = h.sandbox->root() + "\\p.themepack";
        h.ui.goToPage(c.page);
        const PageSetControls& controls = pageSetControls(PageSet::Win7);
        for (const SchemeGroup* group :
             {&cursorSchemeGroup(PageSet::Win7), &soundSchemeGroup(PageSet::Win7)}) {
            if (c.schemes) {
                h.ui.setComboIndex(group->combo, kDefaultSchemeItem);
                selectScheme(*group, h.ui, h.app.document.win7);
            }
        }
        h.type(ControlId::Win7VisualStyle, "C:\\a.msstyles");
        h.type(controls.themeName, c.name);
        h.type(controls.displayName, "秋日港湾");
        h.dialogs.saveAnswers.push_back(c.answer ? std::optional(target) : std::nullopt);
        exportPackFromWindow(h.wizard);

        const bool asked = c.what == "cancelled" || c.what == "exported";
        ASSERT_EQ(h.dialogs.saveFileCalls.size(), asked ? 1u : 0u) << c.what;
        if (asked) {
            EXPECT_EQ(h.dialogs.saveFileCalls[0].initialFileName, "港湾.themepack");
            EXPECT_EQ(h.dialogs.saveFileCalls[0].filter, text::kPackSaveFilter);
        }
        ASSERT_EQ(h.platform.messages.size(), c.message.empty() ? 0u : 1u) << c.what;
        if (!c.message.empty()) {
            EXPECT_TRUE(h.platform.messages[0].text.starts_with(c.message))
                << c.what << ": " << h.platform.messages[0].text;
        }
        EXPECT_EQ(h.platform.fileExists(target), c.what == "exported") << c.what;
    }
}

#ifndef _WIN32
// The host writer's cabinet as other programs read it: cabextract's test and listing, gcab's
// listing, and every extracted member's bytes against its source.
TEST_F(PackExport, HostCabinetReadsBackWithCabextractAndGcab) {
    auto& host = dynamic_cast<HostPlatform&>(fs);
    const std::string target = sandbox->root() + "\\out.themepack";
    const GenerationReport report = exportPack(request, target, fs);
    ASSERT_EQ(report.outcome, GenerationOutcome::Complete) << report.message;
    const std::string cab = host.hostPath(target).string();
    const std::filesystem::path extracted = host.hostPath(sandbox->root() + "\\x");
    const auto run = [](const std::string& command) {
        std::string output;
        FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
        char buffer[4096];
        while (pipe && std::fgets(buffer, sizeof buffer, pipe)) {
            output += buffer;
        }
        const int status = pipe ? ::pclose(pipe) : -1;
        return std::pair{status, output};
    };
    const auto [testStatus, testOutput] = run("cabextract -t '" + cab + "'");
    EXPECT_EQ(testStatus, 0) << testOutput;
    EXPECT_NE(testOutput.find("All done, no errors."), std::string::npos) << testOutput;
    const auto [listStatus, listOutput] = run("gcab -l '" + cab + "'");
    EXPECT_EQ(listStatus, 0) << listOutput;
    const ExportPlan plan = planExport(request, PackKind::ThemePack, fs);
    for (const CabinetEntry& member : plan.members) {
        EXPECT_NE(listOutput.find(member.name + " "), std::string::npos) << member.name;
    }
    const auto [extractStatus, extractOutput] =
        run("cabextract -q -d '" + extracted.string() + "' '" + cab + "'");
    ASSERT_EQ(extractStatus, 0) << extractOutput;
    for (const CabinetEntry& member : plan.members) {
        std::string relative = member.name;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        std::ifstream in(extracted / relative, std::ios::binary);
        const std::string got((std::istreambuf_iterator<char>(in)), {});
        const std::string want = member.sourcePath.empty()
                                     ? std::string(member.bytes.begin(), member.bytes.end())
                                     : *fs.readFile(member.sourcePath);
        EXPECT_EQ(got, want) << member.name;
    }
}
#endif

} // namespace
} // namespace quorvel::test
