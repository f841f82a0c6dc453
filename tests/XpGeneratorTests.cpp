// Windows XP theme generation, end to end through the platform layer of the build: the theme
// file is compared byte for byte (in GBK, the ANSI code page of the target systems) and the pack
// folder file by file.
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "generator/DirectoryWalker.h"
#include "generator/GenerationRun.h"
#include "generator/Payload.h"
#include "generator/ThemePaths.h"
#include "generator/XpThemeGenerator.h"
#include "model/ThemeRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace quorvel::test {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Remembers every copy; %SystemRoot% can be pointed at a folder of the sandbox.
class XpPlatform : public RecordingPlatform {
public:
    using RecordingPlatform::RecordingPlatform;

    bool copyFile(const std::string& source, const std::string& target) override {
        copies.emplace_back(source, target);
        return RecordingPlatform::copyFile(source, target);
    }
    std::optional<std::vector<DirectoryEntry>> listDirectory(const std::string& path) override {
        listed.push_back(path);
        return RecordingPlatform::listDirectory(path);
    }
    std::string expandEnvironment(const std::string& text) override {
        if (systemRoot.empty()) {
            return RecordingPlatform::expandEnvironment(text);
        }
        std::string result = text;
        for (std::size_t at; (at = result.find("%SystemRoot%")) != std::string::npos;) {
            result.replace(at, 12, systemRoot);
        }
        return result;
    }

    std::vector<std::pair<std::string, std::string>> copies;
    std::vector<std::string> listed;
    std::string systemRoot;
};

class XpRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform.makeDirectory(save));
        ASSERT_TRUE(platform.makeDirectory(sources));
        ASSERT_TRUE(platform.makeDirectory(styleFolder));
        request.pageSet = PageSet::Xp;
        project.themeName = themeName;
        project.displayName = "蓝色 经典";
        project.saveLocation = save;
        // The visual style page cannot be left without a style, so every run has one.
        project.visualStyleFile = put(styleFolder, "Luna.msstyles", "style bytes");
    }

    // Writes a source file and returns it as a picker records it.
    AssetRef put(const std::string& folder, const std::string& name, std::string_view content) {
        const std::string path = folder + "\\" + name;
        EXPECT_TRUE(platform.writeFile(path, bytes(content))) << path;
        return {path, name};
    }
    AssetRef source(const std::string& name) { return put(sources, name, "content of " + name); }

    void makeDirectories(const std::string& base, std::initializer_list<const char*> relative) {
        for (const char* dir : relative) {
            ASSERT_TRUE(platform.makeDirectory(base + dir)) << dir;
        }
    }

    // Generates and shows the report as the wizard does.
    void run() { show(generateXpTheme(request, platform)); }
    void show(const GenerationReport& report) {
        platform.messageBox(report.message, report.icon, report.title);
    }

    // The entries below a folder, relative to it, folders with a trailing "\", sorted.
    std::vector<std::string> tree(const std::string& folder, const std::string& prefix = "") {
        std::vector<std::string> result;
        const auto entries = platform.listDirectory(folder);
        if (!entries) {
            return result;
        }
        for (const DirectoryEntry& entry : *entries) {
            if (entry.isDirectory) {
                result.push_back(prefix + entry.name + "\\");
                const auto inner = tree(folder + "\\" + entry.name, prefix + entry.name + "\\");
                result.insert(result.end(), inner.begin(), inner.end());
            } else {
                result.push_back(prefix + entry.name);
            }
        }
        std::sort(result.begin(), result.end());
        return result;
    }

    std::string read(const std::string& path) { return platform.readFile(path).value_or("<none>"); }

    // Compares the theme file with the header and the given lines, line by line for a readable
    // difference and then byte for byte.
    void expectThemeFile(const std::vector<std::string>& lines) {
        std::string expected(themeFileHeader());
        for (const std::string& line : lines) {
            expected += "\r\n" + line;
        }
        expected += "\r\n";
        const auto ansi = platform.toAnsi(expected);
        ASSERT_TRUE(ansi.has_value());
        const std::string actual = read(themeFile);
        EXPECT_EQ(split(actual), split(*ansi));
        EXPECT_EQ(actual, *ansi);
    }

    static std::vector<std::string> split(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            lines.push_back(text.substr(start, end - start));
        }
        lines.push_back(text.substr(start));
        return lines;
    }

    std::string installed(const std::string& rest) const {
        return "%SystemRoot%\\resources\\Themes\\" + themeName + rest;
    }

    void expectPlainSuccess() {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "生成完毕!");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(platform.messages[0].title, "提示...");
    }

    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    XpPlatform platform{sandbox->platform()};
    ThemeRequest request;
    ThemeProject& project = request.project;
    // "淺" has the byte of "\" as the second byte of its GBK form.
    const std::string themeName = "淺色主题";
    const std::string save = sandbox->root() + "\\保存";
    const std::string sources = sandbox->root() + "\\素材";
    const std::string styleFolder = sandbox->root() + "\\风格淺";
    const std::string pack = save + "\\" + themeName;
    const std::string themeFile = save + "\\" + themeName + ".theme";
};

// Everything but the names and the visual style left empty.
TEST_F(XpRun, AnEmptyRunWritesEveryKeyWithItsDefault) {
    const GenerationReport report = generateXpTheme(request, platform);

    EXPECT_EQ(platform.delays, std::vector<int>{500});
    EXPECT_EQ(report.outcome, GenerationOutcome::Complete);
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(report.message, "生成完毕!");
    EXPECT_EQ(report.icon, MessageIcon::Information);

    expectThemeFile({
        "[Theme]",
        "DisplayName=蓝色 经典",
        "[CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\DefaultIcon]",
        "DefaultValue=%SystemRoot%\\System32\\mydocs.dll,0",
        "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]",
        "DefaultValue=%SystemRoot%\\System32\\explorer.exe,0",
        "[CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon]",
        "DefaultValue=%SystemRoot%\\System32\\shell32.dll,17",
        "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]",
        "empty=%SystemRoot%\\System32\\shell32.dll,31",
        "full=%SystemRoot%\\System32\\shell32.dll,32",
        "[Control Panel\\Cursors]",
        "UpArrow=",
        "Wait=",
        "SizeNWSE=",
        "SizeNESW=",
        "NWPen=",
        "Help=",
        "SizeWE=",
        "Hand=",
        "SizeAll=",
        "Arrow=",
        "Crosshair=",
        "IBeam=",
        "No=",
        "SizeNS=",
        "AppStarting=",
        "DefaultValue=Windows default",
        "DefaultValue.MUI=@themeui.dll,-2043",
        "[Control Panel\\Desktop]",
        "Wallpaper=%SystemRoot%\\web\\wallpaper\\Bliss.jpg",
        "TileWallpaper=0",
        "WallpaperStyle=2",
        "Pattern=",
        "ScreenSaveActive=0",
        "[VisualStyles]",
        "Path=" + installed("\\Luna.msstyles"),
        "ColorStyle=NormalColor",
        "Size=NormalSize",
        "[boot]",
        "SCRNSAVE.EXE=",
        "[MasterThemeSelector]",
        "MTSM=DABJDKT",
        "ThemeColorBPP=4",
        "[AppEvents\\Schemes\\Apps\\.Default\\SystemExit\\.Current]",
        "DefaultValue=",
        "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]",
        "DefaultValue=",
        "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogoff\\.Current]",
        "DefaultValue=",
        "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon\\.Current]",
        "DefaultValue=",
        "[AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current]",
        "DefaultValue=" + installed("\\Sound\\empty.wav"),
    });

    EXPECT_EQ(tree(pack),
              (std::vector<std::string>{"Luna.msstyles", "Sound\\", "Sound\\empty.wav"}));
    EXPECT_EQ(read(pack + "\\Luna.msstyles"), "style bytes");
    const auto wav = payload::emptyWav();
    EXPECT_EQ(read(pack + "\\Sound\\empty.wav"), std::string(wav.begin(), wav.end()));
}

TEST_F(XpRun, AFullRunCopiesEveryChosenAssetAndNamesItsInstalledPlace) {
    for (int i = 0; i < 5; ++i) {
        project.iconFiles[i] = source("图标" + std::to_string(i + 1) + ".ico");
        request.iconChosen[i] = !project.iconFiles[i].sourcePath.empty();
    }
    const char* pointers[] = {"UpArrow",   "Wait",   "SizeNWSE", "SizeNESW", "NWPen",
                              "Help",      "SizeWE", "Hand",     "SizeAll",  "Arrow",
                              "Crosshair", "IBeam",  "No",       "SizeNS",   "AppStarting"};
    for (int i = 0; i < 15; ++i) {
        project.cursorFiles[i] = source(std::string(pointers[i]) + (i % 2 ? ".ani" : ".cur"));
        request.pointerChosen[i] = !project.cursorFiles[i].sourcePath.empty();
    }
    project.cursorSchemeName = "我的 指针";
    project.wallpaperFile = source("奬.jpg");
    request.wallpaperChosen = !project.wallpaperFile.sourcePath.empty();
    project.screensaverFile = source("星空.scr");
    request.screensaver = ScreensaverSource::Own;
    for (int i = 0; i < 4; ++i) {
        project.soundFiles[i] = source("声音" + std::to_string(i + 1) + ".wav");
        request.soundChosen[i] = !project.soundFiles[i].sourcePath.empty();
    }
    project.soundFiles[4] = source("only-for-windows-7.wav");
    request.soundChosen[4] = !project.soundFiles[4].sourcePath.empty(); // no XP page shows it
    project.soundSchemeName = "not written";
    makeDirectories(styleFolder, {"\\Shell", "\\Shell\\NormalColor"});
    put(styleFolder + "\\Shell\\NormalColor", "Shellstyle.dll", "normal colour");

    run();

    expectPlainSuccess();
    expectThemeFile({
        "[Theme]",
        "DisplayName=蓝色 经典",
        "[CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}\\DefaultIcon]",
        "DefaultValue=" + installed("\\ICON\\图标1.ico,0"),
        "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]",
        "DefaultValue=" + installed("\\ICON\\图标2.ico,0"),
        "[CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon]",
        "DefaultValue=" + installed("\\ICON\\图标3.ico,0"),
        "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]",
        "empty=" + installed("\\ICON\\图标4.ico,0"),
        "full=" + installed("\\ICON\\图标5.ico,0"),
        "[Control Panel\\Cursors]",
        "UpArrow=" + installed("\\Cursors\\UpArrow.cur"),
        "Wait=" + installed("\\Cursors\\Wait.ani"),
        "SizeNWSE=" + installed("\\Cursors\\SizeNWSE.cur"),
        "SizeNESW=" + installed("\\Cursors\\SizeNESW.ani"),
        "NWPen=" + installed("\\Cursors\\NWPen.cur"),
        "Help=" + installed("\\Cursors\\Help.ani"),
        "SizeWE=" + installed("\\Cursors\\SizeWE.cur"),
        "Hand=" + installed("\\Cursors\\Hand.ani"),
        "SizeAll=" + installed("\\Cursors\\SizeAll.cur"),
        "Arrow=" + installed("\\Cursors\\Arrow.ani"),
        "Crosshair=" + installed("\\Cursors\\Crosshair.cur"),
        "IBeam=" + installed("\\Cursors\\IBeam.ani"),
        "No=" + installed("\\Cursors\\No.cur"),
        "SizeNS=" + installed("\\Cursors\\SizeNS.ani"),
        "AppStarting=" + installed("\\Cursors\\AppStarting.cur"),
        "DefaultValue=我的 指针",
        "DefaultValue.MUI=@themeui.dll,-2043",
        "[Control Panel\\Desktop]",
        "Wallpaper=" + installed("\\Wallpaper\\奬.jpg"),
        "TileWallpaper=0",
        "WallpaperStyle=2",
        "Pattern=",
        "ScreenSaveActive=0",
        "[VisualStyles]",
        "Path=" + installed("\\Luna.msstyles"),
        "ColorStyle=NormalColor",
        "Size=NormalSize",
        "[boot]",
        "SCRNSAVE.EXE=" + installed("\\SCR\\星空.scr"),
        "[MasterThemeSelector]",
        "MTSM=DABJDKT",
        "ThemeColorBPP=4",
        "[AppEvents\\Schemes\\Apps\\.Default\\SystemExit\\.Current]",
        "DefaultValue=" + installed("\\Sound\\声音1.wav"),
        "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]",
        "DefaultValue=" + installed("\\Sound\\声音2.wav"),
        "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogoff\\.Current]",
        "DefaultValue=" + installed("\\Sound\\声音3.wav"),
        "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon\\.Current]",
        "DefaultValue=" + installed("\\Sound\\声音4.wav"),
        "[AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin\\.Current]",
        "DefaultValue=" + installed("\\Sound\\empty.wav"),
    });

    std::vector<std::string> expectedTree = {"Luna.msstyles",
                                             "SCR\\",
                                             "SCR\\星空.scr",
                                             "Shell\\",
                                             "Shell\\NormalColor\\",
                                             "Shell\\NormalColor\\Shellstyle.dll",
                                             "Sound\\",
                                             "Sound\\empty.wav",
                                             "Wallpaper\\",
                                             "Wallpaper\\奬.jpg",
                                             "ICON\\",
                                             "Cursors\\"};
    for (int i = 0; i < 5; ++i) {
        expectedTree.push_back("ICON\\" + project.iconFiles[i].fileName);
    }
    for (int i = 0; i < 15; ++i) {
        expectedTree.push_back("Cursors\\" + project.cursorFiles[i].fileName);
    }
    for (int i = 0; i < 4; ++i) {
        expectedTree.push_back("Sound\\" + project.soundFiles[i].fileName);
    }
    std::sort(expectedTree.begin(), expectedTree.end());
    EXPECT_EQ(tree(pack), expectedTree);
    EXPECT_EQ(read(pack + "\\Cursors\\Hand.ani"), "content of Hand.ani");
    EXPECT_EQ(read(pack + "\\Wallpaper\\奬.jpg"), "content of 奬.jpg");
    EXPECT_EQ(read(pack + "\\SCR\\星空.scr"), "content of 星空.scr");
    EXPECT_EQ(read(pack + "\\Shell\\NormalColor\\Shellstyle.dll"), "normal colour");
}

TEST_F(XpRun, TheShellFolderIsLaidOutFlat) {
    const std::string shell = styleFolder + "\\Shell";
    makeDirectories(shell, {"", "\\NormalColor", "\\NormalColor\\zh-CN", "\\Metallic",
                            "\\Metallic\\zh-CN", "\\NoLibrary"});
    put(shell, "Shellstyle.dll", "lying directly in Shell");
    put(shell, "readme.txt", "not a directory");
    put(shell + "\\NormalColor", "Shellstyle.dll", "normal");
    put(shell + "\\NormalColor\\zh-CN", "Shellstyle.dll", "normal zh-CN");
    put(shell + "\\Metallic", "Shellstyle.dll", "metallic");
    put(shell + "\\Metallic", "other.dll", "only the library is taken");
    put(shell + "\\Metallic\\zh-CN", "Shellstyle.dll", "metallic zh-CN");

    run();

    expectPlainSuccess(); // a directory without the library is no failure
    EXPECT_EQ(tree(pack + "\\Shell"),
              (std::vector<std::string>{"Metallic\\", "Metallic\\Shellstyle.dll", "NoLibrary\\",
                                        "NormalColor\\", "NormalColor\\Shellstyle.dll", "zh-CN\\",
                                        "zh-CN\\Shellstyle.dll"}));
    EXPECT_EQ(read(pack + "\\Shell\\NormalColor\\Shellstyle.dll"), "normal");
    EXPECT_EQ(read(pack + "\\Shell\\Metallic\\Shellstyle.dll"), "metallic");
    // Both zh-CN directories copy into the one folder; the one walked later wins.
    std::string lastZhCn;
    for (const auto& [from, to] : platform.copies) {
        if (to == pack + "\\Shell\\zh-CN\\Shellstyle.dll") {
            lastZhCn = from;
        }
    }
    ASSERT_FALSE(lastZhCn.empty());
    EXPECT_EQ(read(pack + "\\Shell\\zh-CN\\Shellstyle.dll"), read(lastZhCn));
}

TEST_F(XpRun, NoShellFolderMeansNoShellInThePack) {
    run();
    expectPlainSuccess();
    EXPECT_FALSE(platform.isDirectory(pack + "\\Shell"));

    // A Shell folder with files but no directories gives none either.
    makeDirectories(styleFolder, {"\\Shell"});
    put(styleFolder + "\\Shell", "Shellstyle.dll", "x");
    project.themeName = "第二个";
    run();
    EXPECT_TRUE(platform.isDirectory(save + "\\第二个"));
    EXPECT_FALSE(platform.isDirectory(save + "\\第二个\\Shell"));

    // A visual style path without any folder does not make the walk look at "\Shell" of the
    // current drive.
    project.visualStyleFile = {"Luna.msstyles", "Luna.msstyles"};
    project.themeName = "第三个";
    platform.listed.clear();
    run();
    EXPECT_TRUE(platform.isDirectory(save + "\\第三个"));
    EXPECT_EQ(platform.listed, std::vector<std::string>{});
}

TEST_F(XpRun, ALinkLoopInTheShellFolderEndsAndIsNotCopied) {
    const std::string shell = styleFolder + "\\Shell";
    makeDirectories(shell, {"", "\\NormalColor"});
    put(shell + "\\NormalColor", "Shellstyle.dll", "normal");
    if (!sandbox->makeDirectoryLink(shell + "\\NormalColor\\loop", shell)) {
        GTEST_SKIP() << "this system cannot make directory links";
    }
    run();
    expectPlainSuccess();
    EXPECT_EQ(tree(pack + "\\Shell"),
              (std::vector<std::string>{"NormalColor\\", "NormalColor\\Shellstyle.dll"}));
}

TEST_F(XpRun, ADirectoryBeyondThePathLimitIsNamedInTheClosingMessage) {
    // A directory under Shell whose path is 260 units long: it does not fit.
    const std::string shell = styleFolder + "\\Shell";
    makeDirectories(shell, {"", "\\NormalColor"});
    put(shell + "\\NormalColor", "Shellstyle.dll", "normal");
    std::string deep = shell + "\\NormalColor";
    while (utf16Length(deep) + 1 + 100 < kPathLimit) {
        deep += "\\" + std::string(100, 'x');
        if (!platform.makeDirectory(deep)) {
            GTEST_SKIP() << "this system cannot make a folder of " << utf16Length(deep)
                         << " characters";
        }
    }
    const std::string tooLong = deep + "\\" + std::string(kPathLimit - utf16Length(deep) - 1, 'y');
    ASSERT_EQ(utf16Length(tooLong), kPathLimit);
    if (!platform.makeDirectory(tooLong)) {
        GTEST_SKIP() << "this system cannot make a folder of " << kPathLimit << " characters";
    }

    run();

    ASSERT_EQ(platform.messages.size(), 1u);
    const auto& message = platform.messages[0];
    EXPECT_EQ(message.title, "提示...");
    EXPECT_TRUE(message.text.starts_with("生成完毕!")) << message.text;
    EXPECT_NE(message.text.find(tooLong), std::string::npos) << message.text;
    EXPECT_EQ(read(pack + "\\Shell\\NormalColor\\Shellstyle.dll"), "normal");
    EXPECT_TRUE(platform.isDirectory(pack + "\\Shell\\" + fileNameOf(deep)));
    EXPECT_FALSE(platform.isDirectory(pack + "\\Shell\\" + fileNameOf(tooLong)));
    // The theme file is complete all the same.
    EXPECT_NE(read(themeFile).find("EmptyRecycleBin"), std::string::npos);
}

// The two tick boxes decide whether there is a screensaver, not the screensaver slot.
TEST_F(XpRun, TheTickBoxesDecideTheScreensaver) {
    project.screensaverFile = source("旧.scr");
    run();
    EXPECT_NE(read(themeFile).find("[boot]\r\nSCRNSAVE.EXE=\r\n"), std::string::npos);
    EXPECT_FALSE(platform.isDirectory(pack + "\\SCR"));

    for (const bool system : {true, false}) {
        SCOPED_TRACE(system);
        request.screensaver = system ? ScreensaverSource::System : ScreensaverSource::Own;
        const std::string name = system ? "x系统" : "x自己";
        project.themeName = name;
        run();
        const std::string folder = save + "\\" + name;
        EXPECT_EQ(read(folder + "\\SCR\\旧.scr"), "content of 旧.scr");
        const auto value = platform.toAnsi("SCRNSAVE.EXE=%SystemRoot%\\resources\\Themes\\" + name +
                                           "\\SCR\\旧.scr\r\n");
        EXPECT_NE(read(save + "\\" + name + ".theme").find(*value), std::string::npos);
        // Choosing a screensaver does not switch it on.
        EXPECT_NE(read(save + "\\" + name + ".theme").find("ScreenSaveActive=0\r\n"),
                  std::string::npos);
    }
}

TEST_F(XpRun, ASystemScreensaverIsCopiedFromTheExpandedSystemFolder) {
    const std::string windows = sandbox->root() + "\\Windows";
    makeDirectories(windows, {"", "\\System32"});
    put(windows + "\\System32", "logon.scr", "system screensaver");
    platform.systemRoot = windows;
    project.screensaverFile = {"%SystemRoot%\\System32\\logon.scr", "logon.scr"};
    request.screensaver = ScreensaverSource::System;

    run();

    expectPlainSuccess();
    EXPECT_EQ(read(pack + "\\SCR\\logon.scr"), "system screensaver");
    const auto value = platform.toAnsi("SCRNSAVE.EXE=" + installed("\\SCR\\logon.scr") + "\r\n");
    EXPECT_NE(read(themeFile).find(*value), std::string::npos) << "the key is not expanded";
}

TEST_F(XpRun, TheSameIconForAllFiveIsCopiedOnceAndNamedFiveTimes) {
    const AssetRef icon = source("同一个.ico");
    request.iconChosen.fill(true);
    project.iconFiles.fill(icon);

    run();

    expectPlainSuccess();
    EXPECT_EQ(tree(pack + "\\ICON"), std::vector<std::string>{"同一个.ico"});
    const std::string file = read(themeFile);
    const auto value = *platform.toAnsi(installed("\\ICON\\同一个.ico,0") + "\r\n");
    std::size_t count = 0;
    for (std::size_t at = file.find(value); at != std::string::npos;
         at = file.find(value, at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 5u);
}

TEST_F(XpRun, ASecondRunWithTheSameNameChangesNothing) {
    run();
    const std::string first = read(themeFile);
    const auto firstTree = tree(pack);
    project.displayName = "另一个";
    request.wallpaperChosen = true;
    platform.messages.clear();

    run();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成失败,请重试!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(read(themeFile), first);
    EXPECT_EQ(tree(pack), firstTree);
}

} // namespace
} // namespace quorvel::test
