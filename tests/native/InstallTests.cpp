// Installing a theme for the current user on the host platform: where the files land, what the
// installed theme names, the system folder reached directly, through the run with administrator
// rights or not at all, the opening step, replacing, and the internal command's refusals.
#include "MemoryControls.h"
#include "cli/CommandLine.h"
#include "generator/ThemeInstall.h"
#include "pages/InstallFlow.h"
#include "pages/ProjectSession.h"
#include "pages/RequestCapture.h"
#include "pages/WizardUi.h"
#include "platform/host/HostPlatform.h"
#include "platform/host/HostSystemShell.h"

#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class Install : public testing::Test {
protected:
    fs::path hostRoot =
        fs::temp_directory_path() / ("quorvel-install-" + std::to_string(::getpid()));
    HostPlatform platform{hostRoot};
    HostSystemShell shell{platform};
    const std::string themes = "C:\\Users\\me\\AppData\\Local\\Microsoft\\Windows\\Themes";

    void SetUp() override {
        fs::remove_all(hostRoot);
        for (const char* folder :
             {"C/src/SCR", "C/Users/me/AppData/Local", "C/Users/me/AppData/Roaming", "C/Windows"}) {
            fs::create_directories(hostRoot / folder);
        }
        platform.setEnvironment("LOCALAPPDATA", "C:\\Users\\me\\AppData\\Local");
        platform.setEnvironment("APPDATA", "C:\\Users\\me\\AppData\\Roaming");
        for (const char* file : {"港湾.msstyles", "wall.jpg", "own.scr"}) {
            write(std::string("C:\\src\\") + file, file);
        }
    }
    void TearDown() override { fs::remove_all(hostRoot); }

    void write(const std::string& path, std::string_view text) {
        ASSERT_TRUE(platform.writeFile(
            path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
    }
    void systemWritable() { fs::create_directories(hostRoot / "C/Windows/resources/Themes"); }
    // A project of the page set with a style, a wallpaper and the screensaver of the user's own.
    std::string project(PageSet set) {
        const std::string p = set == PageSet::Win7 ? "Win7" : "XP";
        const std::string text =
            "; Quorvel project 1\r\n[Project]\r\nPageSet=" + p + "\r\n[" + p +
            "]\r\nPointerScheme=1\r\nSoundScheme=1\r\nWallpaper=C:\\src\\wall.jpg\r\n"
            "VisualStyle=C:\\src\\港湾.msstyles\r\nUseOwnScreensaver=1\r\n"
            "Screensaver=C:\\src\\own.scr\r\nThemeName=港湾\r\nDisplayName=秋日\r\n"
            "[Picks]\r\nWallpaper=C:\\src\\wall.jpg\r\n"
            "VisualStyle=C:\\src\\港湾.msstyles\r\nScreensaver=C:\\src\\own.scr\r\n"
            "[End]\r\n";
        write("C:\\src\\p" + p + ".quorvel", text);
        return "C:\\src\\p" + p + ".quorvel";
    }
    // The value of a key of an installed theme file (GBK), as UTF-8.
    std::string key(const std::string& themeFile, const std::string& name) {
        const std::string text = *platform.fromAnsi(*platform.readFile(themeFile));
        const std::size_t at = text.find("\n" + name + "=");
        EXPECT_NE(at, std::string::npos) << name;
        const std::size_t start = at + name.size() + 2;
        return text.substr(start, text.find('\r', start) - start);
    }
    // Every full path the theme names exists.
    void expectPathsExist(const std::string& themeFile) {
        const std::string text = *platform.fromAnsi(*platform.readFile(themeFile));
        for (std::size_t at = 0; (at = text.find('=', at)) != std::string::npos; ++at) {
            std::string value = text.substr(at + 1, text.find('\r', at) - at - 1);
            if (value.ends_with(",0")) {
                value.resize(value.size() - 2);
            }
            const std::string path = platform.expandEnvironment(value);
            if (path.starts_with("C:\\Users") || path.find("Themes\\港湾") != std::string::npos) {
                EXPECT_TRUE(platform.fileExists(path) || platform.isDirectory(path)) << path;
            }
        }
    }
};

TEST_F(Install, FilesLandAndTheThemeNamesThem) {
    const std::string sys = "%SystemRoot%\\resources\\Themes\\港湾\\";
    const std::string aero = "%SystemRoot%\\resources\\Themes\\Aero\\aero.msstyles";
    const std::string luna = "%SystemRoot%\\resources\\Themes\\Luna\\Luna.msstyles";
    struct Case {
        const char* what;
        PageSet set;
        bool writable;
        Elevation elevation;
        bool opens;
        bool apply;
        int exit;
        std::string style;
        std::string screensaver;
        std::vector<std::string_view> lines; // texts the output holds
    };
    const std::vector<Case> cases = {
        {"direct",
         PageSet::Win7,
         true,
         Elevation::Failed,
         true,
         true,
         0,
         sys + "港湾.msstyles",
         sys + "SCR\\own.scr",
         {text::kInstalledAndOpened}},
        {"elevated",
         PageSet::Win7,
         false,
         Elevation::Succeeded,
         true,
         true,
         0,
         sys + "港湾.msstyles",
         sys + "SCR\\own.scr",
         {text::kInstalledAndOpened}},
        {"declined",
         PageSet::Win7,
         false,
         Elevation::Declined,
         true,
         true,
         1,
         aero,
         "",
         {text::kStyleLeftOut, text::kScreensaverLeftOut}},
        {"no program",
         PageSet::Win7,
         true,
         Elevation::Failed,
         false,
         true,
         1,
         sys + "港湾.msstyles",
         sys + "SCR\\own.scr",
         {text::kOpenThemeFailed}},
        {"no apply",
         PageSet::Win7,
         true,
         Elevation::Failed,
         false,
         false,
         0,
         sys + "港湾.msstyles",
         sys + "SCR\\own.scr",
         {text::kInstalled}},
        {"xp denied",
         PageSet::Xp,
         false,
         Elevation::Succeeded,
         true,
         true,
         1,
         luna,
         "",
         {text::kSystemFolderDenied, text::kStyleLeftOut}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        HostSystemShell fresh{platform}; // records of this case only
        if (c.writable) {
            systemWritable();
        }
        fresh.opens = c.opens;
        fresh.elevate = [&](const std::string& parameters) {
            if (c.elevation != Elevation::Succeeded) {
                return c.elevation;
            }
            systemWritable(); // the run with administrator rights may write there
            const std::vector<std::string> arguments = splitCommandLine("q.exe " + parameters);
            const CommandLine command = parseCommandLine(arguments);
            EXPECT_EQ(command.action, CommandLine::Action::SystemFiles);
            return runCommandLine(command, platform, &fresh).exitCode == 0 ? Elevation::Succeeded
                                                                           : Elevation::Failed;
        };
        std::vector<std::string> arguments = {"--generate", project(c.set), "--install"};
        if (!c.apply) {
            arguments.push_back("--no-apply");
        }
        const CommandResult result = runCommandLine(parseCommandLine(arguments), platform, &fresh);
        EXPECT_EQ(result.exitCode, c.exit) << result.output;
        for (std::string_view line : c.lines) {
            EXPECT_NE(result.output.find(line), std::string::npos) << line << "\n" << result.output;
        }
        const std::string root =
            c.set == PageSet::Win7 ? themes : "C:\\Users\\me\\AppData\\Roaming\\Quorvel\\Themes";
        const std::string themeFile = root + "\\港湾\\港湾.theme";
        ASSERT_TRUE(platform.fileExists(themeFile));
        EXPECT_FALSE(platform.isDirectory(root + "\\港湾.new~"));
        EXPECT_EQ(key(themeFile, "Path"), c.style);
        EXPECT_EQ(key(themeFile, "SCRNSAVE.EXE"), c.screensaver);
        EXPECT_EQ(key(themeFile, "Wallpaper"), root + "\\港湾\\Wallpaper\\wall.jpg");
        expectPathsExist(themeFile);
        EXPECT_EQ(fresh.elevatedRuns().size(), !c.writable && c.set == PageSet::Win7 ? 1u : 0u);
        if (c.set == PageSet::Win7) {
            EXPECT_EQ(fresh.openedFiles(),
                      c.apply ? std::vector{themeFile} : std::vector<std::string>{});
        } else {
            ASSERT_EQ(fresh.startedPrograms().size(), 1u);
            EXPECT_TRUE(fresh.startedPrograms()[0].ends_with("/file:\"" + themeFile + "\""));
        }
    }
}

TEST_F(Install, AnInstalledThemeIsReplacedOnlyWhenTheUserSaysSo) {
    systemWritable();
    const std::string file = project(PageSet::Win7);
    ASSERT_EQ(
        runCommandLine(parseCommandLine(std::vector<std::string>{"--generate", file, "--install"}),
                       platform, &shell)
            .exitCode,
        0);
    write(themes + "\\港湾\\marker", "old");
    // The command line refuses; the window asks.
    const CommandResult again =
        runCommandLine(parseCommandLine(std::vector<std::string>{"--generate", file, "--install"}),
                       platform, &shell);
    EXPECT_EQ(again.exitCode, kExitRefused);
    EXPECT_NE(again.output.find(text::kAlreadyInstalled), std::string::npos);

    for (const bool yes : {false, true}) {
        const OpenedDocument document = readDocument(file, platform, PageSet::Win7);
        MemoryWizardUi ui;
        AppState app;
        showDocument(*document.document, ui, app);
        test::ScriptedDialogs dialogs;
        FileDialogState fileDialog;
        Wizard wizard{ui, app, platform, dialogs, fileDialog};
        std::vector<std::string> questions;
        const std::size_t messages = platform.messages().size();
        installFromWizard(wizard, shell, PageSet::Win7, [&](const std::string& question) {
            questions.push_back(question);
            return yes;
        });
        EXPECT_EQ(questions.size(), 1u);
        EXPECT_EQ(platform.fileExists(themes + "\\港湾\\marker"), !yes);
        EXPECT_EQ(platform.messages().size(), messages + (yes ? 1 : 0));
    }
    EXPECT_EQ(platform.messages().back().icon, MessageIcon::Information)
        << platform.messages().back().text;
    EXPECT_FALSE(platform.isDirectory(themes + "\\港湾.old~"));
}

TEST_F(Install, TheInternalCommandTakesOnlyItsOwnFiles) {
    systemWritable();
    const std::string pack = themes + "\\港湾";
    fs::create_directories(hostRoot / "C/Users/me/AppData/Local/Microsoft/Windows/Themes/港湾/SCR");
    write(pack + "\\港湾.msstyles", "style");
    write(pack + "\\SCR\\own.scr", "scr");
    write(pack + "\\other.dll", "not a style");
    const std::vector<std::vector<std::string>> refused = {
        {pack, "港湾", "港湾.msstyles"},
        {"Users\\me\\港湾", "港湾", "港湾.msstyles", ""},
        {themes + "\\..\\Themes\\港湾", "港湾", "港湾.msstyles", ""},
        {themes, "港湾", "港湾.msstyles", ""},
        {pack, "..", "港湾.msstyles", ""},
        {pack, "港湾", "..\\港湾.msstyles", ""},
        {pack, "港湾", "other.dll", ""},
        {pack, "港湾", "missing.msstyles", ""},
        {pack, "港湾", "", ""},
        {pack, "港湾", "", "..\\SCR\\own.scr"},
        {pack, "港湾", "", "own.exe"},
        {"\\\\?\\C:\\x\\港湾", "港湾", "港湾.msstyles", ""},
    };
    for (const auto& arguments : refused) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        EXPECT_EQ(runSystemFilesCommand(arguments, platform, shell), kExitUsage);
        EXPECT_TRUE(fs::is_empty(hostRoot / "C/Windows/resources/Themes"));
    }
    const std::vector<std::string> good = {pack, "港湾", "港湾.msstyles", "own.scr"};
    EXPECT_EQ(runSystemFilesCommand(good, platform, shell), kExitWritten);
    EXPECT_TRUE(platform.fileExists("C:\\Windows\\resources\\Themes\\港湾\\港湾.msstyles"));
    EXPECT_TRUE(platform.fileExists("C:\\Windows\\resources\\Themes\\港湾\\SCR\\own.scr"));
    EXPECT_FALSE(platform.fileExists("C:\\Windows\\resources\\Themes\\港湾\\other.dll"));
}

TEST(InstallCommandLine, ArgumentsSurviveQuotingAndOptionsAreChecked) {
    for (const std::string argument : {"", "plain", "C:\\a b\\港湾", "ends\\", "a\\\"b",
                                       "tab\there", "\"quoted\"", "c:\\x\\\\"}) {
        EXPECT_EQ(splitCommandLine("q.exe " + quoteArgument(argument)),
                  std::vector<std::string>{argument})
            << argument;
    }
    struct Case {
        std::vector<std::string> arguments;
        CommandLine::Action action;
        bool install;
        bool apply;
    };
    using A = CommandLine::Action;
    const std::vector<Case> cases = {
        {{"--install", "--no-apply", "--generate", "a"}, A::Generate, true, false},
        {{"--generate", "a", "--no-apply"}, A::Wrong, false, false},
        {{"a", "--install"}, A::Wrong, true, true},
        {{"--install-system-files", "p", "n", "s", ""}, A::SystemFiles, false, true},
    };
    for (const Case& c : cases) {
        const CommandLine command = parseCommandLine(c.arguments);
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        EXPECT_EQ(command.action, c.action);
        if (c.action != A::Wrong) {
            EXPECT_EQ(command.install, c.install);
            EXPECT_EQ(command.apply, c.apply);
        }
    }
}

} // namespace
} // namespace quorvel
