// The command line: how it is split and read, and a generation from a project file that writes
// the same files as the generate button for the same choices.
#include "MemoryControls.h"
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "ScriptedDialogs.h"

#include "cli/CommandLine.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/ProjectSession.h"
#include "pages/RequestCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace quorvel {
namespace {

using C = ControlId;
using A = CommandLine::Action;

TEST(CommandLineParsing, ArgumentsAndTheirMistakes) {
    struct Case {
        std::vector<std::string> arguments;
        A action;
        std::string file;
        std::optional<PageSet> set;
        std::optional<std::string> name;
        std::optional<std::string> saveTo;
    };
    const std::vector<Case> cases = {
        {{}, A::Window, "", {}, {}, {}},
        {{"D:\\方案\\港湾.quorvel"}, A::Window, "D:\\方案\\港湾.quorvel", {}, {}, {}},
        {{"--help"}, A::Help, "", {}, {}, {}},
        {{"/?"}, A::Help, "", {}, {}, {}},
        {{"--generate", "a.theme", "--for", "XP", "--save-to", "D:\\out"},
         A::Generate,
         "a.theme",
         PageSet::Xp,
         {},
         "D:\\out"},
        {{"--name=港湾", "--generate", "a.quorvel", "--for=win7"},
         A::Generate,
         "a.quorvel",
         PageSet::Win7,
         "港湾",
         {}},
        {{"--generate", "a.quorvel", "--name", ""}, A::Generate, "a.quorvel", {}, "", {}},
        {{"--generate"}, A::Wrong, "", {}, {}, {}},
        {{"--generate", "a", "b"}, A::Wrong, "a", {}, {}, {}},
        {{"a", "b"}, A::Wrong, "a", {}, {}, {}},
        {{"--generate", "a", "--name"}, A::Wrong, "a", {}, {}, {}},
        {{"--generate", "a", "--for", "vista"}, A::Wrong, "a", {}, {}, {}},
        {{"--generate", "a", "--name", "x", "--name", "y"}, A::Wrong, "a", {}, "x", {}},
        {{"--generate", "a", "--colour", "red"}, A::Wrong, "a", {}, {}, {}},
        {{"a", "--name", "x"}, A::Wrong, "a", {}, "x", {}},
        {{"--help", "a"}, A::Wrong, "", {}, {}, {}},
        {{"--generate", "a", "--pack", "D:\\港湾.DeskThemePack"}, A::Generate, "a", {}, {}, {}},
        {{"--generate", "a", "--pack", "D:\\港湾.zip"}, A::Wrong, "a", {}, {}, {}},
        {{"--generate", "a", "--pack", "D:\\themepack"}, A::Wrong, "a", {}, {}, {}},
        {{"--generate", "a", "--pack="}, A::Wrong, "a", {}, {}, {}},
    };
    const std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    for (const Case& c : cases) {
        const CommandLine command = parseCommandLine(c.arguments);
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        EXPECT_EQ(command.action, c.action);
        if (command.action == A::Wrong) {
            EXPECT_FALSE(command.error.empty());
            const CommandResult result = runCommandLine(command, sandbox->platform());
            EXPECT_EQ(result.exitCode, kExitUsage);
            continue;
        }
        EXPECT_EQ(command.file, c.file);
        EXPECT_EQ(command.pageSet, c.set);
        EXPECT_EQ(command.name, c.name);
        EXPECT_EQ(command.saveTo, c.saveTo);
    }
}

TEST(CommandLineParsing, SplitsAsTheSystemDoes) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"quorvel.exe", {}},
        {"\"C:\\Program Files\\quorvel.exe\"  a  b", {"a", "b"}},
        {"q.exe \"D:\\我的 方案\\x.quorvel\"", {"D:\\我的 方案\\x.quorvel"}},
        {"q.exe --save-to \"D:\\out\\\\\" --name x", {"--save-to", "D:\\out\\", "--name", "x"}},
        {"q.exe a\\\\\\\"b c\\d", {"a\\\"b", "c\\d"}},
        {"q.exe \"\" \"a\"\"b\"", {"", "a\"b"}},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(splitCommandLine(line), expected) << line;
    }
}

class CommandLineGeneration : public testing::Test {
protected:
    std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    test::RecordingPlatform platform{sandbox->platform()};
    std::string root = sandbox->root();

    std::string file(const std::string& name, std::string_view content) {
        const std::string path = root + "\\" + name;
        EXPECT_TRUE(platform.writeFile(
            path, {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()}));
        return path;
    }
    // Every file below a folder by its path relative to it, with its content.
    std::map<std::string, std::string> tree(const std::string& folder) {
        std::map<std::string, std::string> files;
        const std::function<void(const std::string&)> walk = [&](const std::string& relative) {
            const auto entries = platform.listDirectory(folder + relative);
            ASSERT_TRUE(entries.has_value()) << folder + relative;
            for (const DirectoryEntry& e : *entries) {
                const std::string path = relative + "\\" + e.name;
                if (e.isDirectory) {
                    walk(path);
                } else {
                    files[path] = *platform.readFile(folder + path);
                }
            }
        };
        walk("");
        return files;
    }
    CommandResult run(std::vector<std::string> arguments) {
        return runCommandLine(parseCommandLine(arguments), platform);
    }
};

TEST_F(CommandLineGeneration, AProjectGivesTheFilesOfTheGenerateButton) {
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const std::string tag = set == PageSet::Win7 ? "7" : "xp";
        const PageSetControls& c = pageSetControls(set);
        const std::string wizardFolder = root + "\\wizard" + tag;
        const std::string commandFolder = root + "\\command" + tag;
        ASSERT_TRUE(platform.makeDirectory(wizardFolder));
        ASSERT_TRUE(platform.makeDirectory(commandFolder));

        // The user's way: the pages, their pickers, their checks and the generate button.
        test::ScriptedDialogs dialogs;
        FileDialogState fileDialog;
        MemoryWizardUi ui;
        AppState app;
        Wizard wizard{ui, app, platform, dialogs, fileDialog};
        platform.version = set == PageSet::Win7 ? OsVersion{6, 1} : OsVersion{5, 1};
        const auto click = [&](ControlId id) {
            ASSERT_TRUE(dispatch(wizard, id, ControlEvent::Click)) << controlDef(id).name;
        };
        const auto type = [&](ControlId id, std::string_view text) {
            ui.setText(id, text);
            takeEdit(wizard, id);
        };
        click(set == PageSet::Win7 ? C::MainWin7 : C::MainXp);
        dialogs.fileAnswers.push_back(file("文档" + tag + ".ico", "icon"));
        click(c.iconButtons[0]);
        click(set == PageSet::Win7 ? C::Win7IconsNext : C::XpIconsNext);
        ui.setComboIndex(c.pointerScheme, 2);
        dispatch(wizard, c.pointerScheme, ControlEvent::ItemPicked);
        type(c.pointerSchemeName, "港湾指针");
        dialogs.fileAnswers.push_back(file("arrow" + tag + ".cur", "cursor"));
        click(pointerButton(set, 9));
        click(set == PageSet::Win7 ? C::Win7PointersNext : C::XpPointersNext);
        ui.setComboIndex(c.soundScheme, 1);
        dispatch(wizard, c.soundScheme, ControlEvent::ItemPicked);
        click(set == PageSet::Win7 ? C::Win7SoundsNext : C::XpSoundsNext);
        dispatch(wizard, c.systemSaverTick, ControlEvent::TickReleased);
        ui.setComboIndex(c.systemSaver, 3);
        dispatch(wizard, c.systemSaver, ControlEvent::ItemPicked);
        dialogs.fileAnswers.push_back(file("港湾" + tag + ".jpg", "picture"));
        click(c.wallpaperButton);
        click(set == PageSet::Win7 ? C::Win7DesktopNext : C::XpDesktopNext);
        dialogs.fileAnswers.push_back(file("港湾" + tag + ".msstyles", "style"));
        click(c.visualStyleButton);
        click(set == PageSet::Win7 ? C::Win7StyleNext : C::XpStyleNext);
        type(c.themeName, "港湾");
        type(c.displayName, "秋日港湾");
        type(c.saveLocation, wizardFolder);
        platform.messages.clear();
        click(c.generate);
        ASSERT_EQ(platform.messages.size(), 1u);
        std::string closing = platform.messages[0].text;
        for (std::size_t at; (at = closing.find(wizardFolder)) != std::string::npos;) {
            closing.replace(at, wizardFolder.size(), commandFolder);
        }

        const std::string project = file("港湾" + tag + ".quorvel",
                                         writeProjectFile(documentOfControls(ui, app, set)).bytes);
        platform.version = {10, 0}; // the command line does not ask the version gate
        const CommandResult result = run({"--generate", project, "--save-to", commandFolder});
        EXPECT_EQ(result.output, closing + "\n");
        EXPECT_EQ(result.exitCode, closing == "生成完毕!" ? kExitWritten : kExitIncomplete);

        std::map<std::string, std::string> expected = tree(wizardFolder);
        for (auto& [path, content] : expected) {
            for (std::size_t at; (at = content.find(wizardFolder)) != std::string::npos;) {
                content.replace(at, wizardFolder.size(), commandFolder);
            }
        }
        const std::map<std::string, std::string> written = tree(commandFolder);
        ASSERT_EQ(written.size(), expected.size());
        EXPECT_TRUE(written == expected) << tag;

        // A second run meets the pack folder and writes nothing.
        const CommandResult again = run({"--generate", project, "--save-to", commandFolder});
        EXPECT_EQ(again.exitCode, kExitRefused) << again.output;
        EXPECT_TRUE(tree(commandFolder) == written);
    }
}

// A project with every field of its page set filled, opened in the window and walked to the
// generate button, gives the theme file that the command line gives for it.
TEST_F(CommandLineGeneration, AnOpenedProjectWalkedToTheLastPageGivesTheCommandLinesThemeFile) {
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const std::string tag = set == PageSet::Win7 ? "7" : "xp";
        const std::string wizardFolder = root + "\\opened" + tag;
        const std::string commandFolder = root + "\\generated" + tag;
        ASSERT_TRUE(platform.makeDirectory(wizardFolder));
        ASSERT_TRUE(platform.makeDirectory(commandFolder));

        ThemeDocument document;
        document.pageSet = set;
        PageChoices& choices = document.choices(set);
        ProjectPicks& picks = document.picks;
        const auto source = [&](std::string_view key, std::string_view extension) {
            std::string name(key);
            std::replace(name.begin(), name.end(), '.', '-');
            const std::string path = file(name + tag + std::string(extension), "content " + name);
            return AssetRef{path, std::string(pathFileName(path))};
        };
        const auto indexOf = [](const auto& keys, std::string_view key) {
            return static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) -
                                            keys.begin());
        };
        chooseScheme(choices, set, SchemeKind::Pointers, kCustomSchemeItem);
        choices.pointerScheme.name = "港湾指针";
        chooseScheme(choices, set, SchemeKind::Sounds, kCustomSchemeItem);
        choices.soundScheme.name = "港湾声音";
        tickScreensaver(choices, ScreensaverSource::Own, true);
        choices.systemScreensaverItem = 2;
        choices.slideshowInterval = "600";
        choices.windowColor = "74B8FC";
        moveTransparencySlider(choices, 107);
        choices.themeName = "满港" + tag;
        choices.displayName = "秋日港湾";
        choices.saveLocation = wizardFolder;
        for (const ProjectField& field : projectFields(set)) {
            const std::string_view key = field.key;
            AssetRef* slot = nullptr;
            std::string_view extension;
            if (key.starts_with("Icon.")) {
                slot = &picks.iconFiles[indexOf(kIconPickKeys, key)];
                extension = ".ico";
            } else if (key.starts_with("Pointer.")) {
                slot = &picks.cursorFiles[indexOf(kPointerRoles, key.substr(8))];
                extension = ".cur";
            } else if (key.starts_with("Sound.")) {
                slot = &picks.soundFiles[indexOf(kSoundPickKeys, key)];
                extension = ".wav";
            } else if (key == "Screensaver" || key == "Wallpaper" || key == "VisualStyle") {
                slot = key == "Screensaver" ? &picks.screensaverFile
                       : key == "Wallpaper" ? &picks.wallpaperFile
                                            : &picks.visualStyleFile;
                extension = key == "Screensaver" ? ".scr"
                            : key == "Wallpaper" ? ".jpg"
                                                 : ".msstyles";
            }
            if (slot != nullptr) {
                *slot = source(key, extension);
                field.text(choices) = slot->sourcePath;
            } else if (key == "Slideshow") {
                picks.slideshowFiles = {source("晨雾", ".jpg"), source("夜港", ".jpg")};
                field.text(choices) =
                    picks.slideshowFiles[0].fileName + ";" + picks.slideshowFiles[1].fileName + ";";
            }
            if (field.role == FieldRole::Text) {
                EXPECT_FALSE(field.text(choices).empty()) << key << " is filled";
            }
        }
        const std::string project =
            file("满港" + tag + ".quorvel", writeProjectFile(document).bytes);

        test::ScriptedDialogs dialogs;
        FileDialogState fileDialog;
        MemoryWizardUi ui;
        AppState app;
        Wizard wizard{ui, app, platform, dialogs, fileDialog};
        platform.version = set == PageSet::Win7 ? OsVersion{6, 1} : OsVersion{5, 1};
        ProjectSession session(wizard);
        ASSERT_TRUE(session.open(project));
        const std::vector<ControlId> walk =
            set == PageSet::Win7
                ? std::vector<ControlId>{C::Win7IconsNext,   C::Win7PointersNext, C::Win7SoundsNext,
                                         C::Win7DesktopNext, C::Win7StyleNext,    C::Win7Generate}
                : std::vector<ControlId>{C::XpIconsNext,   C::XpPointersNext, C::XpSoundsNext,
                                         C::XpDesktopNext, C::XpStyleNext,    C::XpGenerate};
        for (ControlId button : walk) {
            ASSERT_EQ(controlDef(button).page, ui.currentPage()) << controlDef(button).name;
            ASSERT_TRUE(dispatch(wizard, button, ControlEvent::Click));
        }
        const std::string themeFile = "\\满港" + tag + ".theme";
        std::string expected = platform.readFile(wizardFolder + themeFile).value_or("<none>");
        for (std::size_t at; (at = expected.find(wizardFolder)) != std::string::npos;) {
            expected.replace(at, wizardFolder.size(), commandFolder);
        }
        if (set == PageSet::Win7) {
            EXPECT_NE(expected.find("Interval=600000\r\n"), std::string::npos) << expected;
        }

        const CommandResult result = run({"--generate", project, "--save-to", commandFolder});
        EXPECT_EQ(result.exitCode, kExitWritten) << result.output;
        EXPECT_EQ(platform.readFile(commandFolder + themeFile), expected) << tag;
        EXPECT_EQ(tree(commandFolder).size(), tree(wizardFolder).size()) << tag;
    }
}

TEST_F(CommandLineGeneration, RefusalsAndTheirExitCodes) {
    const std::string theme =
        file("港湾.theme", *platform.toAnsi("[Theme]\r\nDisplayName=秋日港湾\r\n"));
    ASSERT_TRUE(platform.makeDirectory(root + "\\folder.theme"));
    const std::string huge = file("huge.quorvel", std::string(kMaxDocumentBytes + 1, ';'));
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
    };
    std::vector<Case> cases = {
        {{"--generate", root + "\\folder.theme", "--save-to", root}, kExitRefused},
        {{"--generate", huge}, kExitRefused},
        {{"--help"}, kExitWritten},
        {{"--generate", root + "\\missing.quorvel"}, kExitRefused},
        {{"--generate", file("bad.quorvel", "; Quorvel project 1\r\n[Project]\r\n")}, kExitRefused},
        {{"--generate", file("foreign.theme", "\x01\x02binary")}, kExitRefused},
        {{"--generate", theme}, kExitUsage},
        // The theme names no visual style: the check of the style page refuses it.
        {{"--generate", theme, "--save-to", root}, kExitRefused},
        {{"--generate", theme, "--bogus"}, kExitUsage},
    };
    for (const std::string& device : sandbox->devicePaths()) {
        cases.push_back({{"--generate", device, "--save-to", root}, kExitRefused});
    }
    const auto names = [&](const std::string& folder) {
        std::set<std::string> listed;
        for (const DirectoryEntry& entry :
             platform.listDirectory(folder).value_or(std::vector<DirectoryEntry>{})) {
            listed.insert(entry.name);
        }
        return listed;
    };
    const std::set<std::string> inputs = names(root);
    for (const auto& c : cases) {
        const CommandResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << testing::PrintToString(c.arguments);
        EXPECT_FALSE(result.output.empty());
        EXPECT_TRUE(result.output.ends_with("\n"));
    }
    EXPECT_EQ(names(root), inputs); // nothing written besides the inputs
    EXPECT_TRUE(names(root + "\\folder.theme").empty());
}

// The window's "生成失败,请重试!" tells the command line's user nothing: the reason follows on a
// line of its own, and the run ends with 2 and writes nothing.
TEST_F(CommandLineGeneration, ThePackFolderRefusalsSayWhy) {
    const std::string project =
        file("港湾.quorvel", "; Quorvel project 1\r\n[Project]\r\nPageSet=XP\r\n[XP]\r\n"
                             "PointerScheme=1\r\nSoundScheme=1\r\nVisualStyle=C:\\luna.msstyles\r\n"
                             "ThemeName=Keep\r\nDisplayName=d\r\n[Picks]\r\n"
                             "VisualStyle=C:\\luna.msstyles\r\n[End]\r\n");
    file("Keep.theme", "mine");
    ASSERT_TRUE(platform.makeDirectory(root + "\\out"));
    ASSERT_TRUE(platform.makeDirectory(root + "\\out\\Keep"));
    const std::pair<std::string, std::string> cases[] = {
        {root, "主题文件已存在: " + root + "\\Keep.theme"},
        {root + "\\out", "主题包文件夹已存在: " + root + "\\out\\Keep"},
        {root + "\\missing", "保存位置不存在或不是文件夹: " + root + "\\missing"},
        {root + "\\Keep.theme", "保存位置不存在或不是文件夹: " + root + "\\Keep.theme"},
    };
    const std::map<std::string, std::string> before = tree(root);
    for (const auto& [location, reason] : cases) {
        const CommandResult result = run({"--generate", project, "--save-to", location});
        EXPECT_EQ(result.exitCode, kExitRefused);
        EXPECT_EQ(result.output, "生成失败,请重试!\n" + reason + "\n");
    }
    EXPECT_TRUE(tree(root) == before);
}

// Windows names its own schemes and themes by a resource string, which the reader leaves out. A
// theme of its own pointers or sounds so named, or a theme so named, is generated under the
// theme's name, not refused for a name the user did not get to type.
TEST_F(CommandLineGeneration, ANameGivenByAResourceTakesTheThemesName) {
    const auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF),
                           static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 24)};
    };
    const std::string cursor =
        std::string("\0\0\2\0\1\0", 6) + std::string(8, '\1') + le32(4) + le32(22) + "data";
    const std::string chunks = "fmt " + le32(16) + std::string(8, '\1') + le32(8000) +
                               std::string(4, '\0') + "data" + le32(4) + "wave";
    const std::string wave =
        "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
    const std::string style =
        file("s.msstyles", "MZ" + std::string(0x3A, '\0') + le32(0x40) + std::string("PE\0\0", 4));
    struct Case {
        std::string section, key, picked, written;
    };
    const Case cases[] = {
        {"Control Panel\\Cursors", "Arrow=" + file("a.cur", cursor) + "\r\nDefaultValue",
         "[Control Panel\\Cursors]", "DefaultValue=Harbour"},
        {"AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon\\.Current",
         "DefaultValue=" + file("logon.wav", wave) + "\r\n[Sounds]\r\nSchemeName", "[Sounds]",
         "SchemeName=Harbour"},
    };
    for (const Case& c : cases) {
        const std::string theme =
            file("t.theme", "[Theme]\r\nDisplayName=d\r\n[VisualStyles]\r\nPath=" + style +
                                "\r\nColorizationColor=0X6B74B8FC\r\n[" + c.section + "]\r\n" +
                                c.key + "=@x.dll,-800\r\n");
        const std::string out = root + "\\" + c.written.substr(0, 4);
        ASSERT_TRUE(platform.makeDirectory(out));
        const CommandResult result =
            run({"--generate", theme, "--save-to", out, "--name", "Harbour"});
        EXPECT_NE(result.exitCode, kExitRefused) << result.output;
        const std::string text = platform.readFile(out + "\\Harbour.theme").value_or("");
        const std::size_t at = text.find(c.picked + "\r\n");
        ASSERT_NE(at, std::string::npos) << c.written;
        EXPECT_NE(text.find(c.written + "\r\n", at), std::string::npos) << c.written;
    }
    // So is the display name Windows gives its own themes; an empty one given on the command line
    // is still refused.
    const std::string windows =
        file("Aero.theme", "[Theme]\r\nDisplayName=@%SystemRoot%\\System32\\themeui.dll,-2013\r\n"
                           "[VisualStyles]\r\nPath=" +
                               style + "\r\n");
    for (const bool emptyGiven : {false, true}) {
        const std::string out = root + (emptyGiven ? "\\aero-empty" : "\\aero");
        ASSERT_TRUE(platform.makeDirectory(out));
        std::vector<std::string> arguments = {"--generate", windows, "--save-to", out};
        if (emptyGiven) {
            arguments.insert(arguments.end(), {"--display-name", ""});
        }
        const CommandResult result = run(arguments);
        if (emptyGiven) {
            EXPECT_EQ(result.exitCode, kExitRefused) << result.output;
            continue;
        }
        EXPECT_NE(result.exitCode, kExitRefused) << result.output;
        EXPECT_NE(platform.readFile(out + "\\Aero.theme").value_or("").find("DisplayName=Aero\r\n"),
                  std::string::npos);
    }
}

} // namespace
} // namespace quorvel
