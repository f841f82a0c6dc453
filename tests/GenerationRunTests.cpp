// The frame every generation run shares: the opening checks, the pack folder, the header, the
// copy-or-default rule and the closing report.
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "generator/GenerationRun.h"
#include "generator/PackExport.h"
#include "generator/ThemePaths.h"
#include "model/ThemeDocument.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class GenerationRunTest : public testing::Test {
protected:
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    RecordingPlatform platform{sandbox->platform()};
    ThemeRequest request;

    void fillPage(std::string_view name, std::string_view display, std::string_view location) {
        request.project.themeName = name;
        request.project.displayName = display;
        request.project.saveLocation = location;
    }
    void fillValidPage() { fillPage("Blue", "蓝色", sandbox->root()); }
    std::string file(const std::string& path) {
        return platform.readFile(path).value_or("<missing>");
    }
    // Shows the report of a run that began and ended, or was refused, as the wizard does.
    void show(const GenerationReport& report) {
        platform.messageBox(report.message, report.icon, report.title);
    }
    bool begin(GenerationRun& run) {
        const bool began = run.begin();
        if (!began) {
            EXPECT_EQ(run.report().outcome, GenerationOutcome::Refused);
            show(run.report());
        }
        return began;
    }
    void end(GenerationRun& run) {
        run.end();
        show(run.report());
    }
    // A run that is refused leaves no trace: nothing written, and refusalOf says the same.
    void expectRefusedWith(std::string_view message) {
        const auto refusal = refusalOf(request, platform);
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->message, message);
        GenerationRun run(request, platform);
        EXPECT_FALSE(begin(run));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, message);
        EXPECT_EQ(platform.messages[0].title, "错误...");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
        EXPECT_TRUE(run.failures().empty());
        const auto entries = platform.listDirectory(sandbox->root());
        ASSERT_TRUE(entries.has_value());
        EXPECT_TRUE(entries->empty()) << "something was written";
        platform.messages.clear();
    }
};

// The window and the command line check the names of the page set's choices; the generators,
// the pack export and the install those of the request made from them. Both say the same.
TEST_F(GenerationRunTest, TheNamesOfTheChoicesAndOfTheirRequestAreCheckedAlike) {
    const std::string root = sandbox->root();
    const struct {
        std::string_view name, display, location;
    } cases[] = {
        {"Blue", "蓝色", root}, {"", "蓝色", root},     {"Blue", "", root},
        {"Blue", "蓝色", ""},   {"a\\b", "蓝色", root}, {"Blue.", "蓝色", root},
        {"Blue", "a\nb", root}, {"CON", "蓝色", root},
    };
    for (const auto& c : cases) {
        for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
            ThemeDocument document;
            document.pageSet = set;
            PageChoices& choices = document.choices(set);
            choices.themeName = c.name;
            choices.displayName = c.display;
            choices.saveLocation = c.location;
            const ThemeRequest made = requestOf(document, set);
            const auto folder = refusalOf(made, platform);
            EXPECT_EQ(folderNameProblem(namesOf(choices), platform),
                      folder ? std::optional(folder->message) : std::nullopt)
                << c.name << " / " << c.display;
            if (set == PageSet::Win7) {
                const auto pack = packRefusalOf(made);
                EXPECT_EQ(packNameProblem(namesOf(choices)),
                          pack ? std::optional(pack->message) : std::nullopt)
                    << c.name << " / " << c.display;
            }
        }
    }
}

TEST_F(GenerationRunTest, EmptyFieldsAreRefusedInPageOrder) {
    fillPage("", "", "");
    expectRefusedWith("生成名称不能为空!");
    fillPage("n", "", "");
    expectRefusedWith("显示名称不能为空!");
    fillPage("n", "d", "");
    expectRefusedWith("保存位置不能为空!");
    fillPage("", "d", sandbox->root());
    expectRefusedWith("生成名称不能为空!");
}

TEST_F(GenerationRunTest, BlankTextsAreNotEmpty) {
    fillPage("Blank", " ", sandbox->root());
    GenerationRun run(request, platform);
    EXPECT_TRUE(begin(run));
    end(run);
    EXPECT_NE(file(sandbox->root() + "\\Blank.theme").find("DisplayName= \r\n"), std::string::npos);
}

TEST_F(GenerationRunTest, NamesThatAreNotOneFolderNameAreRefused) {
    for (std::string name : std::vector<std::string>{
             "a\\b", "..\\up", "a/b", "c:x", "a*", "a?", "say \"hi\"", "<a>", "a|b", ".", "..",
             "trailing ", "trailing.", "CON", "nul.txt", "Com1", "lpt9", std::string("tab\there"),
             std::string("bell\x07")}) {
        SCOPED_TRACE(name);
        fillPage(name, "d", sandbox->root());
        GenerationRun run(request, platform);
        EXPECT_FALSE(begin(run));
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_NE(platform.messages[0].text.find("有效的文件夹名称"), std::string::npos);
        EXPECT_EQ(platform.messages[0].title, "错误...");
        platform.messages.clear();
    }
    const auto entries = platform.listDirectory(sandbox->root());
    ASSERT_TRUE(entries.has_value());
    EXPECT_TRUE(entries->empty());

    // Dots and blanks inside a name, and names that only start like a device, are fine.
    for (const char* name : {"my.theme v2", " leading blank", "CONSOLE", "主题 淺奬", "COM0"}) {
        EXPECT_FALSE(themeNameProblem(name).has_value()) << name;
    }
}

TEST_F(GenerationRunTest, EmptyChecksComeBeforeTheNameCheck) {
    fillPage("bad|name", "", sandbox->root());
    expectRefusedWith("显示名称不能为空!");
}

TEST_F(GenerationRunTest, NameTheCodePageCannotHoldIsRefused) {
    fillPage("theme \xF0\x9F\x98\x80", "d", sandbox->root());
    GenerationRun run(request, platform);
    EXPECT_FALSE(begin(run));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("代码页"), std::string::npos);
}

TEST_F(GenerationRunTest, OpeningWritesFolderHeaderPauseAndDisplayName) {
    fillValidPage();
    GenerationRun run(request, platform);
    ASSERT_TRUE(begin(run));
    EXPECT_TRUE(platform.isDirectory(sandbox->root() + "\\Blue"));
    EXPECT_EQ(platform.delays, std::vector<int>{500});
    // The header is on disk before the pause; the keys follow it.
    EXPECT_EQ(file(sandbox->root() + "\\Blue.theme"), std::string(themeFileHeader()));
    end(run);
    EXPECT_EQ(file(sandbox->root() + "\\Blue.theme"),
              std::string(themeFileHeader()) +
                  "\r\n[Theme]\r\nDisplayName=" + *platform.toAnsi("蓝色") + "\r\n");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成完毕!");
    EXPECT_EQ(platform.messages[0].title, "提示...");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
}

TEST_F(GenerationRunTest, StepsThatThrowEndTheRunWithTheThemeFileSavedAndTheirFailuresKept) {
    fillValidPage();
    const GenerationReport report = runGeneration(request, platform, [](GenerationRun& run) {
        run.fail("first item");
        throw std::runtime_error("out of something");
    });
    EXPECT_EQ(report.outcome, GenerationOutcome::Incomplete);
    EXPECT_EQ(report.failures,
              (std::vector<std::string>{"first item", "生成过程意外中断,主题包不完整"}));
    EXPECT_EQ(report.message, GenerationRun::closingMessage(report.failures));
    EXPECT_EQ(report.icon, MessageIcon::Warning);
    EXPECT_EQ(report.title, "提示...");
    EXPECT_NE(file(sandbox->root() + "\\Blue.theme").find("[Theme]"), std::string::npos);

    const GenerationReport complete =
        runGeneration(request, platform, [](GenerationRun&) {}); // the pack exists by now
    EXPECT_EQ(complete.outcome, GenerationOutcome::Refused);
    EXPECT_EQ(complete.message, "生成失败,请重试!");
}

TEST_F(GenerationRunTest, HeaderIsTwoCommentLinesWithTheAddressLast) {
    const std::string_view header = themeFileHeader();
    const std::size_t lineEnd = header.find("\r\n");
    ASSERT_NE(lineEnd, std::string_view::npos);
    EXPECT_EQ(header.front(), ';');
    EXPECT_TRUE(header.substr(lineEnd + 2).starts_with(";Url:"));
    EXPECT_EQ(header.find('\n', lineEnd + 2), std::string_view::npos) << "no line end of its own";
}

TEST_F(GenerationRunTest, ExistingPackFolderIsRefusedAndLeftUntouched) {
    fillValidPage();
    const std::string pack = sandbox->root() + "\\Blue";
    ASSERT_TRUE(platform.makeDirectory(pack));
    ASSERT_TRUE(platform.writeFile(pack + "\\keep.ico", bytes("mine")));
    ASSERT_TRUE(platform.writeFile(sandbox->root() + "\\Blue.theme", bytes("[old]\r\n")));

    GenerationRun run(request, platform);
    EXPECT_FALSE(begin(run));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成失败,请重试!");
    EXPECT_EQ(platform.messages[0].title, "错误...");
    EXPECT_EQ(run.report().outcome, GenerationOutcome::Refused);
    EXPECT_EQ(file(sandbox->root() + "\\Blue.theme"), "[old]\r\n");
    EXPECT_EQ(file(pack + "\\keep.ico"), "mine");
    EXPECT_TRUE(platform.delays.empty());
}

TEST_F(GenerationRunTest, MissingSaveLocationIsRefused) {
    fillPage("Blue", "d", sandbox->root() + "\\does not exist");
    GenerationRun run(request, platform);
    EXPECT_FALSE(begin(run));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成失败,请重试!");
}

// A theme file (or a folder) of the theme file's name is the user's: refused as an existing pack
// folder is, the reason kept for the command line, and nothing changes.
TEST_F(GenerationRunTest, AnExistingThemeFileIsRefusedWithItsReason) {
    const std::string root = sandbox->root();
    ASSERT_TRUE(platform.writeFile(root + "\\Keep.theme", bytes("mine")));
    ASSERT_TRUE(platform.makeDirectory(root + "\\Folder.theme"));
    for (const std::string name : {"Keep", "Folder"}) {
        fillPage(name, "d", root);
        GenerationRun run(request, platform);
        EXPECT_FALSE(begin(run));
        EXPECT_EQ(platform.messages.at(0).text, "生成失败,请重试!");
        EXPECT_EQ(run.report().reason, "主题文件已存在: " + root + "\\" + name + ".theme");
        platform.messages.clear();
    }
    EXPECT_EQ(file(root + "\\Keep.theme"), "mine");
    EXPECT_EQ(platform.listDirectory(root)->size(), 2u) << "nothing new";
}

class AssetEntryTest : public GenerationRunTest {
protected:
    void SetUp() override {
        fillValidPage();
        ASSERT_TRUE(platform.makeDirectory(sandbox->root() + "\\assets"));
        ASSERT_TRUE(platform.writeFile(sandbox->root() + "\\assets\\doc.ico", bytes("ICON1")));
        run.emplace(request, platform);
        ASSERT_TRUE(run->begin());
    }
    AssetRef asset(const std::string& name) {
        return {sandbox->root() + "\\assets\\" + name, name};
    }
    std::string theme() { return file(sandbox->root() + "\\Blue.theme"); }
    std::optional<GenerationRun> run;
};

TEST_F(AssetEntryTest, EmptyFieldWritesTheDefaultAndMakesNoFolder) {
    run->writeAssetEntry(false, "S", "DefaultValue", "%SystemRoot%\\x.dll,-1", subfolder::kIcon,
                         asset("doc.ico"), ",0");
    end(*run);
    EXPECT_NE(theme().find("[S]\r\nDefaultValue=%SystemRoot%\\x.dll,-1\r\n"), std::string::npos);
    EXPECT_FALSE(platform.isDirectory(sandbox->root() + "\\Blue\\ICON"));
    EXPECT_EQ(platform.messages.back().text, "生成完毕!");
}

TEST_F(AssetEntryTest, ChosenFieldCopiesAndWritesTheInstalledPath) {
    run->writeAssetEntry(true, "S", "DefaultValue", "default", subfolder::kIcon, asset("doc.ico"),
                         ",0");
    end(*run);
    EXPECT_EQ(file(sandbox->root() + "\\Blue\\ICON\\doc.ico"), "ICON1");
    EXPECT_NE(
        theme().find("DefaultValue=%SystemRoot%\\resources\\Themes\\Blue\\ICON\\doc.ico,0\r\n"),
        std::string::npos);
    EXPECT_EQ(platform.messages.back().text, "生成完毕!");
}

TEST_F(AssetEntryTest, SameFileNameTwiceFromTwoFilesGivesTwoCopies) {
    ASSERT_TRUE(platform.makeDirectory(sandbox->root() + "\\other"));
    ASSERT_TRUE(platform.writeFile(sandbox->root() + "\\other\\doc.ico", bytes("ICON2")));
    run->writeAssetEntry(true, "S", "first", "", subfolder::kIcon, asset("doc.ico"));
    run->writeAssetEntry(true, "S", "second", "", subfolder::kIcon,
                         {sandbox->root() + "\\other\\doc.ico", "doc.ico"});
    end(*run);
    EXPECT_EQ(file(sandbox->root() + "\\Blue\\ICON\\doc.ico"), "ICON1");
    EXPECT_EQ(file(sandbox->root() + "\\Blue\\ICON\\doc (2).ico"), "ICON2")
        << "the later gets a free name";
    const std::string folder = "%SystemRoot%\\resources\\Themes\\Blue\\ICON\\";
    EXPECT_NE(theme().find("first=" + folder + "doc.ico\r\n"), std::string::npos);
    EXPECT_NE(theme().find("second=" + folder + "doc (2).ico\r\n"), std::string::npos);
}

TEST_F(AssetEntryTest, ChosenFieldWithoutAFileIsWrittenAndReported) {
    run->writeAssetEntry(true, "S", "DefaultValue", "default", subfolder::kIcon, AssetRef{}, ",0");
    end(*run);
    EXPECT_NE(theme().find("DefaultValue=%SystemRoot%\\resources\\Themes\\Blue\\ICON\\,0\r\n"),
              std::string::npos);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(platform.messages[0].title, "提示...");
    EXPECT_TRUE(platform.messages[0].text.starts_with("生成完毕!\n"));
    EXPECT_EQ(run->failures().size(), 1u);
}

TEST_F(AssetEntryTest, MissingSourceIsReportedWhileTheKeyIsStillWritten) {
    run->writeAssetEntry(true, "S", "K", "", subfolder::kCursors, asset("gone.cur"));
    end(*run);
    EXPECT_NE(theme().find("K=%SystemRoot%\\resources\\Themes\\Blue\\Cursors\\gone.cur\r\n"),
              std::string::npos);
    EXPECT_TRUE(platform.isDirectory(sandbox->root() + "\\Blue\\Cursors"));
    ASSERT_EQ(run->failures().size(), 1u);
    EXPECT_NE(run->failures()[0].find("gone.cur"), std::string::npos);
    EXPECT_NE(platform.messages[0].text.find("gone.cur"), std::string::npos);
}

TEST_F(AssetEntryTest, SourceEnvironmentReferencesAreExpandedBeforeCopying) {
    // Point a variable at the assets folder, as %SystemRoot% points at the system folder.
    const std::string expanded = platform.expandEnvironment("%SystemRoot%");
    ASSERT_NE(expanded, "%SystemRoot%");
    run->writeAssetEntry(true, "boot", "SCRNSAVE.EXE", "", subfolder::kScreensaver,
                         {"%SystemRoot%\\no-such-screensaver.scr", "no-such-screensaver.scr"});
    end(*run);
    ASSERT_EQ(run->failures().size(), 1u);
    EXPECT_NE(run->failures()[0].find(expanded + "\\no-such-screensaver.scr"), std::string::npos)
        << run->failures()[0];
    EXPECT_NE(theme().find("SCRNSAVE.EXE=%SystemRoot%\\resources\\Themes\\Blue\\SCR\\"),
              std::string::npos)
        << "the key keeps the unexpanded installed path";
}

TEST_F(AssetEntryTest, SubfolderThatIsAFileIsReported) {
    ASSERT_TRUE(platform.writeFile(sandbox->root() + "\\Blue\\Sound", bytes("not a folder")));
    run->ensureSubfolder(subfolder::kSound);
    end(*run);
    ASSERT_EQ(run->failures().size(), 1u);
    EXPECT_NE(run->failures()[0].find("Blue\\Sound\\"), std::string::npos);
}

TEST_F(GenerationRunTest, SaveLocationEndingInASeparatorDoublesIt) {
    ThemeProject project;
    project.saveLocation = "D:\\";
    project.themeName = "T";
    EXPECT_EQ(themeFilePath(project), "D:\\\\T.theme");
    EXPECT_EQ(packFolder(project), "D:\\\\T");

    fillPage("Doubled", "d", sandbox->root() + "\\");
    GenerationRun run(request, platform);
    ASSERT_TRUE(begin(run));
    end(run);
    EXPECT_TRUE(platform.isDirectory(sandbox->root() + "\\Doubled"));
    EXPECT_TRUE(platform.readFile(sandbox->root() + "\\Doubled.theme").has_value());
}

TEST(ClosingMessage, ListsFailuresAndShortensALongList) {
    EXPECT_EQ(GenerationRun::closingMessage({}), "生成完毕!");
    const std::string two = GenerationRun::closingMessage({"first item", "second item"});
    EXPECT_TRUE(two.starts_with("生成完毕!\n\n")) << two;
    EXPECT_NE(two.find("2 项"), std::string::npos);
    EXPECT_NE(two.find("\nfirst item"), std::string::npos);
    EXPECT_NE(two.find("\nsecond item"), std::string::npos);

    std::vector<std::string> many;
    for (int i = 0; i < 40; ++i) {
        many.push_back("item number " + std::to_string(i));
    }
    const std::string shortened = GenerationRun::closingMessage(many);
    EXPECT_NE(shortened.find("40 项"), std::string::npos);
    EXPECT_NE(shortened.find("item number 11\n"), std::string::npos);
    EXPECT_EQ(shortened.find("item number 12"), std::string::npos);
    EXPECT_NE(shortened.find("另有 28 项"), std::string::npos);
}

TEST(ThemePaths, ComposedByPlainConcatenation) {
    ThemeProject project;
    project.saveLocation = "C:\\Users\\me\\主题";
    project.themeName = " Spaced.Name";
    EXPECT_EQ(themeFilePath(project), "C:\\Users\\me\\主题\\ Spaced.Name.theme");
    EXPECT_EQ(packFolder(project), "C:\\Users\\me\\主题\\ Spaced.Name");
    EXPECT_EQ(installedPath(project, subfolder::kWallpaper, "淺.jpg"),
              "%SystemRoot%\\resources\\Themes\\ Spaced.Name\\Wallpaper\\淺.jpg");
    EXPECT_EQ(installedPath(project, subfolder::kIcon, ""),
              "%SystemRoot%\\resources\\Themes\\ Spaced.Name\\ICON\\");
}

TEST(ThemePaths, FileNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(fileNameOf("C:\\a\\b\\c.ico"), "c.ico");
    EXPECT_EQ(fileNameOf("c.ico"), "c.ico");
    EXPECT_EQ(fileNameOf("C:\\dir\\"), "");
    EXPECT_EQ(fileNameOf(""), "");
    // In UTF-8 no byte of a Chinese character equals "\", so a GBK trail byte 0x5C cannot split.
    EXPECT_EQ(fileNameOf("C:\\淺色\\奬杯淺.ico"), "奬杯淺.ico");
    EXPECT_EQ(folderOf("C:\\淺色\\奬杯淺.ico"), "C:\\淺色");
    EXPECT_EQ(folderOf("plain.msstyles"), "");
}

} // namespace
} // namespace quorvel::test
