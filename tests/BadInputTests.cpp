// The bad-input catalogue: both generators run end to end, through the platform layer of the
// build, against inputs that must not hurt the user. Every case must end in exactly one clear
// message (the refusal text, or the closing message naming what failed), must not crash, must
// write nothing outside the pack folder and the theme file, and must leave everything that
// existed before as it was. The last two are checked on a snapshot of the whole sandbox taken
// before and after the run; the save location sits three folders deep in the sandbox, so that a
// write that climbs out of it still lands where the snapshot sees it.
//
// Two conditions cannot be produced for real in a test without special rights, so a platform
// decorator simulates them: a full disk (writes fail once a byte budget is spent, taking what
// still fits) and a read-only save location (Windows does not enforce the read-only attribute
// on folders, and the superuser ignores folder permissions on Linux).
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "generator/DirectoryWalker.h"
#include "generator/GenerationRun.h"
#include "generator/ThemePaths.h"
#include "generator/Win7ThemeGenerator.h"
#include "generator/XpThemeGenerator.h"
#include "model/ThemeRequest.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

constexpr std::string_view kBadNameMessage =
    "生成名称必须是一个有效的文件夹名称:不能含有 \\ / : * ? \" < > | 或控制字符,"
    "不能是 . 或 .. 或设备名(如 CON、NUL),也不能以空格或句点结尾!";
constexpr std::string_view kPackFailedMessage = "生成失败,请重试!";
constexpr std::string_view kCodePageNameMessage =
    "生成名称中有当前系统的代码页无法表示的字符,请换一个名称!";
constexpr std::string_view kFailuresFollow = "生成完毕!\n\n但以下 ";
constexpr std::string_view kBadCopyNameMessage =
    "主题包中的文件名无效 (不能含有 \\ / : * ? \" < > |、控制字符或改变文字方向的字符, "
    "不能是 . 或 .. 或设备名): ";
constexpr std::string_view kPathTooLongMessage =
    "要写入的路径过长,请缩短生成名称或换一个较短的保存位置: ";

// What differs between the Windows 7 and the Windows XP pages, as far as these cases go.
struct Wizard {
    const char* label;
    PageSet set;
    std::size_t soundFields; // the XP pages have no fifth sound
    bool slideshow;          // only the Windows 7 pages have one
    GenerationReport (*generate)(const ThemeRequest&, Platform&);
};

const Wizard kWin7{"Win7", PageSet::Win7, 5, true, &generateWin7Theme};
const Wizard kXp{"Xp", PageSet::Xp, 4, false, &generateXpTheme};

// The real platform of the build, with two conditions it cannot be put in for a test: a disk
// that fills up and a folder that refuses to be written.
class FaultyPlatform : public RecordingPlatform {
public:
    using RecordingPlatform::RecordingPlatform;

    // Bytes the disk still takes; nothing: no limit.
    std::optional<std::size_t> freeBytes;
    // Nothing can be made or written below this folder.
    std::string readOnlyFolder;

    bool makeDirectory(const std::string& path) override {
        return !readOnly(path) && RecordingPlatform::makeDirectory(path);
    }
    bool writeFile(const std::string& path, std::span<const std::uint8_t> data) override {
        if (readOnly(path)) {
            return false;
        }
        if (freeBytes && data.size() > *freeBytes) {
            // A full disk takes what still fits; then the write fails.
            RecordingPlatform::writeFile(path, data.first(*freeBytes));
            *freeBytes = 0;
            return false;
        }
        if (!RecordingPlatform::writeFile(path, data)) {
            return false;
        }
        if (freeBytes) {
            *freeBytes -= data.size();
        }
        return true;
    }
    bool copyFile(const std::string& source, const std::string& target) override {
        if (readOnly(target)) {
            return false;
        }
        if (freeBytes) {
            const auto content = readFile(source);
            if (!content || content->size() > *freeBytes) {
                return false;
            }
            *freeBytes -= content->size();
        }
        return RecordingPlatform::copyFile(source, target);
    }

private:
    bool readOnly(const std::string& path) const {
        return !readOnlyFolder.empty() &&
               (path == readOnlyFolder || path.starts_with(readOnlyFolder + "\\"));
    }
};

// Every entry below a folder: path -> content, "<dir>" for a folder, "<link>" for a link (not
// followed), "<unreadable>" for a file that cannot be read.
using Tree = std::map<std::string, std::string>;

void snapshot(Platform& platform, const std::string& folder, Tree& tree) {
    const auto entries = platform.listDirectory(folder);
    if (!entries) {
        tree[folder] = "<unlistable>";
        return;
    }
    for (const DirectoryEntry& entry : *entries) {
        const std::string path = folder + "\\" + entry.name;
        if (entry.isReparsePoint) {
            tree[path] = "<link>";
        } else if (entry.isDirectory) {
            tree[path] = "<dir>";
            snapshot(platform, path, tree);
        } else {
            tree[path] = platform.readFile(path).value_or("<unreadable>");
        }
    }
}

class BadInputTest : public testing::Test {
protected:
    explicit BadInputTest(const Wizard& wizard) : wizard(wizard) {}

    void SetUp() override {
        for (const std::string& folder :
             {root + "\\outer", root + "\\outer\\inner", save, sources, styleFolder}) {
            ASSERT_TRUE(platform.makeDirectory(folder)) << folder;
        }
        request.pageSet = wizard.set;
        setTheme("Aurora");
        project.displayName = "极光";
        project.saveLocation = save;
        project.windowAlphaText = "7F";
        project.windowColorText = "0066FF";
        project.slideshowIntervalText = "10";
        project.visualStyleFile = source("Aero.msstyles", styleFolder);
    }

    void setTheme(const std::string& name) {
        themeName = name;
        project.themeName = name;
    }
    void setSaveLocation(const std::string& location) {
        save = location;
        project.saveLocation = location;
    }
    std::string pack() const { return save + "\\" + themeName; }
    std::string themeFile() const { return save + "\\" + themeName + ".theme"; }

    // A source file whose content names it.
    AssetRef source(const std::string& name, const std::string& folder = {}) {
        const std::string path = (folder.empty() ? sources : folder) + "\\" + name;
        EXPECT_TRUE(platform.writeFile(path, bytes("content of " + name))) << path;
        return {path, name};
    }
    // What a picker does: the slot is chosen and records the file.
    static void pick(bool& chosen, AssetRef& slot, const AssetRef& asset) {
        chosen = !asset.sourcePath.empty();
        slot = asset;
    }

    // Chooses something for every slot of the pages: icons, pointers, sounds, wallpaper,
    // screensaver, visual style with a shell style folder and (Windows 7) a small slideshow.
    void chooseEverything() {
        for (std::size_t i = 0; i < request.iconChosen.size(); ++i) {
            pick(request.iconChosen[i], project.iconFiles[i],
                 source("icon" + std::to_string(i) + ".ico"));
        }
        for (std::size_t i = 0; i < kPointerRoles.size(); ++i) {
            pick(request.pointerChosen[i], project.cursorFiles[i],
                 source(std::string(kPointerRoles[i]) + ".cur"));
        }
        for (std::size_t i = 0; i < wizard.soundFields; ++i) {
            pick(request.soundChosen[i], project.soundFiles[i],
                 source("sound" + std::to_string(i) + ".wav"));
        }
        pick(request.wallpaperChosen, project.wallpaperFile, source("wall.jpg"));
        request.screensaver = ScreensaverSource::Own;
        project.screensaverFile = source("saver.scr");
        const std::string shell = styleFolder + "\\Shell";
        ASSERT_TRUE(platform.makeDirectory(shell));
        ASSERT_TRUE(platform.makeDirectory(shell + "\\NormalColor"));
        source("Shellstyle.dll", shell + "\\NormalColor");
        if (wizard.slideshow) {
            request.slideshowChosen = true;
            for (int i = 1; i <= 3; ++i) {
                project.slideshowFiles.push_back(source("slide" + std::to_string(i) + ".jpg"));
            }
        }
    }

    Tree sandboxTree() {
        Tree tree;
        snapshot(platform, root, tree);
        return tree;
    }

    // Runs the generator between two snapshots and checks what every case must hold: one
    // message, nothing that existed changed (the theme file
    // excepted when the run was not refused: it is rewritten by design), and nothing new
    // outside the pack folder and the theme file.
    void generate() {
        platform.messages.clear();
        before = sandboxTree();
        const GenerationReport report = wizard.generate(request, platform);
        platform.messageBox(report.message, report.icon, report.title);
        after = sandboxTree();

        ASSERT_EQ(platform.messages.size(), 1u) << "exactly one message";
        EXPECT_EQ(report.outcome == GenerationOutcome::Incomplete, !report.failures.empty());
        const bool refused = platform.messages[0].icon == MessageIcon::Error;
        for (const auto& [path, content] : before) {
            if (!refused && path == themeFile()) {
                continue;
            }
            const auto found = after.find(path);
            if (found == after.end()) {
                ADD_FAILURE() << "lost: " << path;
            } else if (found->second != content) {
                ADD_FAILURE() << "changed: " << path;
            }
        }
        for (const auto& [path, content] : after) {
            if (before.contains(path)) {
                continue;
            }
            const bool inPack = path == pack() || path.starts_with(pack() + "\\");
            EXPECT_TRUE(inPack || path == themeFile()) << "written outside the pack: " << path;
        }
    }

    const RecordingPlatform::Message& message() const { return platform.messages.at(0); }

    void expectRefused(std::string_view text) {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(message().text, text);
        EXPECT_EQ(message().icon, MessageIcon::Error);
        EXPECT_EQ(message().title, "错误...");
        EXPECT_EQ(before, after) << "a refused run leaves everything as it was";
    }
    void expectDone() {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(message().text, "生成完毕!");
        EXPECT_EQ(message().icon, MessageIcon::Information);
    }
    // The closing message that says the run finished but names what it could not do.
    void expectDoneWithFailures(const std::vector<std::string>& named) {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_TRUE(message().text.starts_with(kFailuresFollow)) << message().text;
        EXPECT_EQ(message().icon, MessageIcon::Warning);
        EXPECT_EQ(message().title, "提示...");
        for (const std::string& item : named) {
            EXPECT_NE(message().text.find(item), std::string::npos)
                << "not named: " << item << "\nin: " << message().text;
        }
    }

    std::string ansi(std::string_view utf8) { return platform.toAnsi(utf8).value_or("<no ANSI>"); }
    std::string themeText() { return platform.readFile(themeFile()).value_or("<missing>"); }

    const Wizard& wizard;
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    FaultyPlatform platform{sandbox->platform()};
    ThemeRequest request;
    ThemeProject& project = request.project;
    const std::string root = sandbox->root();
    std::string save = root + "\\outer\\inner\\save";
    const std::string sources = root + "\\src";
    const std::string styleFolder = root + "\\style";
    std::string themeName;
    Tree before;
    Tree after;
};

// The cases that both generators meet alike.
class BadInput : public BadInputTest, public testing::WithParamInterface<const Wizard*> {
protected:
    BadInput() : BadInputTest(*GetParam()) {}
};

TEST_P(BadInput, ThemeNamesWithForbiddenCharactersAreRefused) {
    chooseEverything();
    std::vector<std::string> names;
    for (char c : std::string_view("\\/:*?\"<>|\x01\t\x1f\x7f")) {
        names.push_back(std::string("主题") + c + "名");
    }
    for (const char* name : {".", "..", "CON", "nul.txt", "Com1", "lpt9.theme", "ends with dot.",
                             "ends with blank "}) {
        names.emplace_back(name);
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        setTheme(name);
        generate();
        expectRefused(kBadNameMessage);
    }
}

TEST_P(BadInput, TraversalAttemptsStayInsideThePack) {
    chooseEverything();
    // Theme names that would climb out of the save location.
    for (const char* name :
         {"..\\..\\escape", "../escape", "..", "C:\\escape", "\\\\server\\share"}) {
        SCOPED_TRACE(name);
        setTheme(name);
        generate();
        expectRefused(kBadNameMessage);
    }
    // File names that would climb out of the pack (a "/" survives the split at the last "\").
    setTheme("Aurora");
    ASSERT_TRUE(platform.makeDirectory(sources + "\\x"));
    const std::string icon = source("icon.ico").sourcePath;
    project.iconFiles[0] = {icon, "x/../../../../escape.ico"};
    project.iconFiles[1] = {icon, ".."};
    project.iconFiles[2] = {icon, "."};
    project.iconFiles[3] = {icon, "icon.ico:stream"};
    project.cursorFiles[0] = {icon, "../../escape.cur"};
    generate();
    // Refused before anything is written, naming the first such name.
    expectRefused(std::string(kBadCopyNameMessage) + "x/../../../../escape.ico (" + icon + ")");
}

TEST_P(BadInput, PathsOfThreeHundredCharacters) {
    chooseEverything();
    std::string location = save;
    for (char c : std::string_view("abc")) {
        location += "\\" + std::string(100, c);
        if (!platform.makeDirectory(location)) {
            break;
        }
    }
    setSaveLocation(location);
    // A slot whose source path is long as well.
    const std::string longSource = location + "\\" + std::string(40, 's') + ".ico";
    pick(request.iconChosen[0], project.iconFiles[0], {longSource, fileNameOf(longSource)});
    platform.writeFile(longSource, bytes("long"));
    generate();
    if (message().icon == MessageIcon::Error) {
        // A path the run would write does not fit the system's limit: named before writing.
        ASSERT_TRUE(message().text.starts_with(kPathTooLongMessage)) << message().text;
        const std::string path = message().text.substr(kPathTooLongMessage.size());
        EXPECT_GE(utf8::utf16Length(path), kFolderPathLimit) << path;
        expectRefused(message().text);
        return;
    }
    EXPECT_LT(utf8::utf16Length(themeFile()), kPathLimit);
    ASSERT_TRUE(message().text.starts_with("生成完毕!")) << message().text;
    EXPECT_NE(themeText().find("DisplayName="), std::string::npos);
    if (message().icon == MessageIcon::Information) {
        EXPECT_EQ(platform.readFile(pack() + "\\ICON\\" + fileNameOf(longSource)), "long");
    }
}

TEST_P(BadInput, MissingUnreadableAndEmptySourcesAreNamedAndTheirKeysStillWritten) {
    chooseEverything();
    const AssetRef missing{sources + "\\missing.ico", "missing.ico"};
    pick(request.iconChosen[0], project.iconFiles[0], missing);
    // A folder where a file was picked: it cannot be read as a file.
    ASSERT_TRUE(platform.makeDirectory(sources + "\\folder.ico"));
    pick(request.iconChosen[1], project.iconFiles[1], {sources + "\\folder.ico", "folder.ico"});
    const AssetRef empty{sources + "\\empty.ico", "empty.ico"};
    ASSERT_TRUE(platform.writeFile(empty.sourcePath, {}));
    pick(request.iconChosen[2], project.iconFiles[2], empty);
    const AssetRef locked = source("locked.ico");
    pick(request.iconChosen[3], project.iconFiles[3], locked);
    const std::shared_ptr<void> unreadable = sandbox->makeUnreadable(locked.sourcePath);

    generate();

    std::vector<std::string> named = {missing.sourcePath, sources + "\\folder.ico"};
    if (unreadable) {
        named.push_back(locked.sourcePath);
    }
    expectDoneWithFailures(named);
    EXPECT_EQ(platform.readFile(pack() + "\\ICON\\empty.ico"), "");
    const std::string text = themeText();
    for (const char* name : {"missing.ico", "folder.ico", "empty.ico", "locked.ico"}) {
        EXPECT_NE(text.find("\\ICON\\" + std::string(name) + ",0"), std::string::npos) << name;
    }
}

TEST_P(BadInput, MissingReadOnlyOrFileSaveLocationsAreRefused) {
    chooseEverything();
    setSaveLocation(root + "\\outer\\nowhere");
    generate();
    expectRefused(kPackFailedMessage);

    ASSERT_TRUE(platform.writeFile(root + "\\outer\\file.txt", bytes("a file")));
    setSaveLocation(root + "\\outer\\file.txt");
    generate();
    expectRefused(kPackFailedMessage);

    setSaveLocation(root + "\\outer\\inner\\save");
    platform.readOnlyFolder = save;
    generate();
    expectRefused(kPackFailedMessage);
}

TEST_P(BadInput, AFullDiskIsNamedInTheClosingMessage) {
    chooseEverything();
    // From no room at all to room for everything but the support files.
    for (const std::size_t room :
         {std::size_t{0}, std::size_t{64}, std::size_t{2000}, std::size_t{100000}}) {
        SCOPED_TRACE(room);
        setTheme("Full" + std::to_string(room));
        platform.freeBytes = room;
        generate();
        expectDoneWithFailures({});
        // Whatever did not fit is named; a theme file that did not fit says so.
        if (themeText().find("MTSM=DABJDKT") == std::string::npos) {
            EXPECT_NE(message().text.find("无法保存主题文件"), std::string::npos) << message().text;
        }
    }
}

TEST_P(BadInput, AnExistingPackFolderIsRefusedAndLeftAsItWas) {
    chooseEverything();
    ASSERT_TRUE(platform.makeDirectory(pack()));
    ASSERT_TRUE(platform.makeDirectory(pack() + "\\ICON"));
    ASSERT_TRUE(platform.writeFile(pack() + "\\ICON\\mine.ico", bytes("the user's icon")));
    ASSERT_TRUE(platform.writeFile(themeFile(), bytes("the user's theme")));
    generate();
    expectRefused(kPackFailedMessage);
}

TEST_P(BadInput, GbkTrailByteNamesReachTheFileAsTheRightBytes) {
    chooseEverything();
    // The GBK forms of 淺 (9C 5C) and 奬 (8A 5C) end in the byte of "\".
    setTheme("淺奬");
    project.displayName = "淺色主题";
    ASSERT_TRUE(platform.makeDirectory(sources + "\\奬"));
    pick(request.iconChosen[0], project.iconFiles[0], source("淺.ico", sources + "\\奬"));
    generate();
    expectDone();
    EXPECT_EQ(platform.readFile(pack() + "\\ICON\\淺.ico"), "content of 淺.ico");
    const std::string text = themeText();
    EXPECT_NE(text.find(ansi("DisplayName=淺色主题\r\n")), std::string::npos);
    EXPECT_NE(text.find(ansi("=%SystemRoot%\\resources\\Themes\\淺奬\\ICON\\淺.ico,0\r\n")),
              std::string::npos);
    EXPECT_EQ(ansi("淺奬").substr(0, 2), "\x9C\x5C");
}

TEST_P(BadInput, NamesTheCodePageCannotHold) {
    chooseEverything();
    setTheme("테마");
    generate();
    expectRefused(kCodePageNameMessage);

    // A display name it cannot hold is refused before writing (see NamesAndPathsAreChecked...).
    // A file name it cannot hold: the copy is made (the file system holds any name), the key
    // that would name it cannot be written, and the message says which.
    setTheme("Aurora");
    pick(request.iconChosen[0], project.iconFiles[0], source("아이콘.ico"));
    generate();
    expectDoneWithFailures({"DefaultIcon] DefaultValue"});
    EXPECT_EQ(platform.readFile(pack() + "\\ICON\\아이콘.ico"), "content of 아이콘.ico");
    EXPECT_NE(themeText().find("MTSM=DABJDKT"), std::string::npos) << "the rest is written";
}

// What a run would write is checked before it writes: the display name, the names of the copies
// and the length of every path. Each case is refused with its message and writes nothing.
TEST_P(BadInput, NamesAndPathsAreCheckedBeforeAnythingIsWritten) {
    chooseEverything();
    ASSERT_LT(save.size(), 200u) << "the long names below are measured against it";
    const std::string wallpaper = project.wallpaperFile.sourcePath;
    const struct {
        std::string displayName;
        std::string themeName;
        std::string copyName; // of the wallpaper
        std::string message;  // the path of a long-path refusal follows it
    } cases[] = {
        {"a\x01b", "Aurora", "wall.jpg", "显示名称不能含有换行或其他控制字符!"},
        {"两行\r\n[Theme]", "Aurora", "wall.jpg", "显示名称不能含有换行或其他控制字符!"},
        {"a\u0085b", "Aurora", "wall.jpg", "显示名称不能含有换行或其他控制字符!"},
        {"테마", "Aurora", "wall.jpg",
         "显示名称中有当前系统的代码页无法表示的字符,请修改显示名称!"},
        {"极光", "Aurora", "LPT1.jpg", std::string(kBadCopyNameMessage) + "LPT1.jpg"},
        {"极光", "Aurora", "gpj.\u202Eexe", std::string(kBadCopyNameMessage) + "gpj.\u202Eexe"},
        // The theme file's path is the first too long; then the pack folder; then the deepest
        // file of the pack.
        {"极光", std::string(250, 'T'), "wall.jpg",
         std::string(kPathTooLongMessage) + save + "\\" + std::string(250, 'T') + ".theme"},
        {"极光", std::string(250 - save.size(), 'P'), "wall.jpg",
         std::string(kPathTooLongMessage) + save + "\\" + std::string(250 - save.size(), 'P')},
        {"极光", "Aurora", std::string(250 - save.size(), 'w') + ".jpg",
         std::string(kPathTooLongMessage) + save + "\\Aurora\\Wallpaper\\" +
             std::string(250 - save.size(), 'w') + ".jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        project.displayName = c.displayName;
        setTheme(c.themeName);
        project.wallpaperFile = {wallpaper, c.copyName};
        generate();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_TRUE(message().text.starts_with(c.message)) << message().text;
        expectRefused(message().text);
    }
}

// Two different files bound for one path of the pack both arrive: the later gets a free name and
// the theme file names it. The same file picked twice is copied once; the pack's own empty.wav
// keeps its name.
TEST_P(BadInput, FilesBoundForOnePathBothArrive) {
    ASSERT_TRUE(platform.makeDirectory(sources + "\\A"));
    ASSERT_TRUE(platform.makeDirectory(sources + "\\B"));
    const AssetRef arrowA = source("arrow.cur", sources + "\\A");
    const AssetRef arrowB = source("arrow.cur", sources + "\\B");
    ASSERT_TRUE(platform.makeDirectory(sources + "\\C"));
    const AssetRef upperC = source("ARROW.CUR", sources + "\\C");
    const AssetRef sound = source("empty.wav");
    const struct {
        AssetRef wait; // pointer slot 2; the Arrow pointer (slot 10) is arrowA
        std::string waitCopy;
        std::string arrowCopy;
        std::size_t cursorFiles;
    } cases[] = {
        {arrowB, "arrow.cur", "arrow (2).cur", 2},
        {upperC, "ARROW.CUR", "arrow (2).cur", 2},
        {arrowA, "arrow.cur", "arrow.cur", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wait.sourcePath);
        setTheme("Aurora" + std::to_string(&c - cases));
        const std::string cursors = "%SystemRoot%\\resources\\Themes\\" + themeName + "\\Cursors\\";
        pick(request.pointerChosen[1], project.cursorFiles[1], c.wait);
        pick(request.pointerChosen[9], project.cursorFiles[9], arrowA);
        pick(request.soundChosen[0], project.soundFiles[0], sound);
        generate();
        expectDone();
        EXPECT_EQ(platform.readFile(pack() + "\\Cursors\\" + c.waitCopy),
                  "content of " + c.wait.fileName);
        EXPECT_EQ(platform.readFile(pack() + "\\Cursors\\" + c.arrowCopy), "content of arrow.cur");
        EXPECT_EQ(platform.listDirectory(pack() + "\\Cursors")->size(), c.cursorFiles);
        const std::string text = themeText();
        EXPECT_NE(text.find("\r\nWait=" + cursors + c.waitCopy + "\r\n"), std::string::npos);
        EXPECT_NE(text.find("\r\nArrow=" + cursors + c.arrowCopy + "\r\n"), std::string::npos);
        EXPECT_EQ(platform.readFile(pack() + "\\Sound\\empty (2).wav"), "content of empty.wav");
        EXPECT_NE(text.find("\\Sound\\empty (2).wav\r\n"), std::string::npos);
        EXPECT_NE(platform.readFile(pack() + "\\Sound\\empty.wav"), "content of empty.wav");
    }
}

TEST_P(BadInput, ALinkLoopUnderTheShellFolderEnds) {
    chooseEverything();
    const std::string shell = styleFolder + "\\Shell";
    if (!sandbox->makeDirectoryLink(shell + "\\NormalColor\\loop", shell) ||
        !sandbox->makeDirectoryLink(shell + "\\up", styleFolder)) {
        GTEST_SKIP() << "this system cannot make directory links";
    }
    generate();
    expectDone();
    EXPECT_FALSE(platform.isDirectory(pack() + "\\Shell\\loop"));
    EXPECT_FALSE(platform.isDirectory(pack() + "\\Shell\\up"));
}

INSTANTIATE_TEST_SUITE_P(Generators, BadInput, testing::Values(&kWin7, &kXp),
                         [](const testing::TestParamInfo<const Wizard*>& info) {
                             return std::string(info.param->label);
                         });

class Win7BadInput : public BadInputTest {
protected:
    Win7BadInput() : BadInputTest(kWin7) {}
};

TEST_F(Win7BadInput, AFiveThousandImageSlideshow) {
    chooseEverything();
    constexpr int kImages = 5000;
    project.slideshowFiles.clear();
    ASSERT_TRUE(platform.makeDirectory(sources + "\\slides"));
    for (int i = 1; i <= kImages; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "图片%04d.jpg", i);
        project.slideshowFiles.push_back(source(name, sources + "\\slides"));
    }
    generate();
    expectDone();
    const std::string text = themeText();
    for (int i : {2, 3, 2500, kImages, kImages + 1}) {
        char item[64];
        std::snprintf(item, sizeof item, "Item%dPath=", i);
        EXPECT_NE(text.find(item), std::string::npos) << item;
    }
    EXPECT_EQ(text.find("Item5002Path"), std::string::npos);
    const auto copies = platform.listDirectory(pack() + "\\Wallpaper");
    ASSERT_TRUE(copies.has_value());
    EXPECT_EQ(copies->size(), std::size_t{kImages + 1}) << "the images and the wallpaper";
}

} // namespace
} // namespace quorvel::test
