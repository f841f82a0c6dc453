// The Windows 7 generator end to end: the theme file it writes, byte for byte, and the pack
// folder it fills. The same suite runs natively and under Wine.
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "generator/GenerationRun.h"
#include "generator/Payload.h"
#include "generator/Win7ThemeGenerator.h"
#include "model/ThemeRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace quorvel::test {
namespace {

const std::string kInstalled = "%SystemRoot%\\resources\\Themes\\";

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string asText(std::span<const std::uint8_t> data) {
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

// Reports "%SystemRoot%" as a folder of the sandbox, so that a screensaver from the system list
// can be copied from there.
class SystemRootPlatform : public RecordingPlatform {
public:
    SystemRootPlatform(Platform& real, std::string systemRoot)
        : RecordingPlatform(real), systemRoot_(std::move(systemRoot)) {}
    std::string expandEnvironment(const std::string& text) override {
        std::string result = text;
        const std::string variable = "%SystemRoot%";
        if (const std::size_t at = result.find(variable); at != std::string::npos) {
            result.replace(at, variable.size(), systemRoot_);
        }
        return result;
    }

private:
    std::string systemRoot_;
};

class Win7Generator : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs.makeDirectory(sources));
        ASSERT_TRUE(fs.makeDirectory(sources + "\\other"));
        ASSERT_TRUE(fs.makeDirectory(root + "\\Windows"));
        ASSERT_TRUE(fs.makeDirectory(root + "\\Windows\\System32"));
        ASSERT_TRUE(fs.makeDirectory(saveLocation));
        setThemeName("Aurora");
        project.displayName = "极光";
        project.saveLocation = saveLocation;
        // What leaving the colour page captures with its controls untouched.
        project.windowAlphaText = "7F";
        project.windowColorText = "0066FF";
        project.visualStyleFile = file("Aero7.msstyles");
    }

    void setThemeName(const std::string& name) {
        themeName = name;
        project.themeName = name;
    }

    // A source file whose content tells where it came from.
    AssetRef file(const std::string& name, const std::string& folder = {}) {
        const std::string dir = folder.empty() ? sources : sources + "\\" + folder;
        const std::string path = dir + "\\" + name;
        EXPECT_TRUE(fs.writeFile(path, bytes("content of " + path)));
        return {path, name};
    }

    // What a picker does: the slot is chosen and records the file.
    static void pick(bool& chosen, AssetRef& slot, const AssetRef& asset) {
        chosen = !asset.sourcePath.empty();
        slot = asset;
    }

    std::string pack() const { return saveLocation + "\\" + themeName; }
    std::string installed(const std::string& rest) const { return kInstalled + themeName + rest; }

    // Generates and shows the report as the wizard does.
    void generate() {
        const GenerationReport report = generateWin7Theme(request, platform);
        platform.messageBox(report.message, report.icon, report.title);
    }

    std::string ansi(std::string_view utf8) {
        const auto converted = fs.toAnsi(utf8);
        EXPECT_TRUE(converted.has_value()) << utf8;
        return converted.value_or(std::string());
    }

    std::string themeFile() {
        return fs.readFile(saveLocation + "\\" + themeName + ".theme").value_or("<missing>");
    }

    // The expected file: the header, then one CR LF terminated line per entry, in GBK.
    std::string expectedFile(const std::vector<std::string>& lines) {
        std::string text(themeFileHeader());
        text += "\r\n";
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return ansi(text);
    }

    // The lines of one section of the written file (GBK), in file order.
    std::vector<std::string> sectionLines(std::string_view section) {
        const std::string file = themeFile();
        const std::string header = "[" + ansi(section) + "]\r\n";
        std::vector<std::string> lines;
        std::size_t pos = file.find(header);
        if (pos == std::string::npos) {
            return lines;
        }
        pos += header.size();
        while (pos < file.size() && file[pos] != '[') {
            const std::size_t end = file.find("\r\n", pos);
            lines.push_back(file.substr(pos, end - pos));
            pos = end == std::string::npos ? file.size() : end + 2;
        }
        return lines;
    }

    std::vector<std::string> ansiLines(const std::vector<std::string>& utf8Lines) {
        std::vector<std::string> lines;
        for (const std::string& line : utf8Lines) {
            lines.push_back(ansi(line));
        }
        return lines;
    }

    // Every entry below the pack folder as "\relative\path", folders with a trailing "\".
    std::vector<std::string> packTree() {
        std::vector<std::string> entries;
        std::function<void(const std::string&)> walk = [&](const std::string& relative) {
            const auto listing = fs.listDirectory(pack() + relative);
            ASSERT_TRUE(listing.has_value()) << pack() + relative;
            for (const DirectoryEntry& entry : *listing) {
                if (entry.isDirectory) {
                    entries.push_back(relative + "\\" + entry.name + "\\");
                    walk(relative + "\\" + entry.name);
                } else {
                    entries.push_back(relative + "\\" + entry.name);
                }
            }
        };
        walk("");
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    static std::vector<std::string> sorted(std::vector<std::string> entries) {
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    // The folders and files that every pack holds.
    static std::vector<std::string> supportEntries() {
        return {"\\Shell\\",
                "\\Shell\\NormalColor\\",
                "\\Shell\\NormalColor\\en-US\\",
                "\\Shell\\NormalColor\\shellstyle.dll",
                "\\Shell\\NormalColor\\zh-CN\\",
                "\\Shell\\NormalColor\\zh-CN\\shellstyle.dll.mui",
                "\\Sound\\",
                "\\Sound\\empty.wav",
                "\\zh-CN\\",
                "\\zh-CN\\aero.msstyles.mui"};
    }

    void expectCopied(const std::string& target, const AssetRef& source) {
        EXPECT_EQ(fs.readFile(pack() + target), fs.readFile(source.sourcePath))
            << target << " from " << source.sourcePath;
    }

    void expectDoneWithoutFailures() {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "生成完毕!");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(platform.messages[0].title, "提示...");
    }

    // The file of a run in which nothing but the visual style was chosen, as lines.
    std::vector<std::string> defaultLines() const {
        return {
            "[Theme]",
            "DisplayName=极光",
            "[CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon]",
            "DefaultValue=%SystemRoot%\\System32\\imageres.dll,-123",
            "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]",
            "DefaultValue=%SystemRoot%\\System32\\imageres.dll,-109",
            "[CLSID\\{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}\\DefaultIcon]",
            "DefaultValue=%SystemRoot%\\System32\\imageres.dll,-25",
            "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]",
            "Empty=%SystemRoot%\\System32\\imageres.dll,-55",
            "Full=%SystemRoot%\\System32\\imageres.dll,-54",
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
            "DefaultValue=Windows Aero",
            "DefaultValue.MUI=@main.cpl,-1020",
            "[Control Panel\\Desktop]",
            "Wallpaper=%SystemRoot%\\web\\wallpaper\\Windows\\img0.jpg",
            "TileWallpaper=0",
            "WallpaperStyle=10",
            "Pattern=",
            "[VisualStyles]",
            "Path=" + installed("\\Aero7.msstyles"),
            "ColorStyle=NormalColor",
            "Size=NormalSize",
            "ColorizationColor=0x7F0066FF",
            "Transparency=1",
            "VisualStyleVersion=10",
            "Composition=1",
            "[boot]",
            "SCRNSAVE.EXE=",
            "[MasterThemeSelector]",
            "MTSM=DABJDKT",
            "[Sounds]",
            "SchemeName=@%SystemRoot%\\System32\\mmres.dll,-800",
            "[AppEvents\\Schemes\\Apps\\.Default\\SystemExit]",
            "DefaultValue=",
            "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart]",
            "DefaultValue=",
            "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogoff]",
            "DefaultValue=",
            "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon]",
            "DefaultValue=",
            "[AppEvents\\Schemes\\Apps\\.Default\\ChangeTheme]",
            "DefaultValue=",
            "[AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin]",
            "DefaultValue=" + installed("\\Sound\\empty.wav"),
        };
    }

    // Replaces the value of a key in the first section of that name.
    static void setValue(std::vector<std::string>& lines, const std::string& section,
                         const std::string& key, const std::string& value) {
        auto at = std::find(lines.begin(), lines.end(), "[" + section + "]");
        ASSERT_NE(at, lines.end()) << section;
        at = std::find_if(at, lines.end(),
                          [&](const std::string& line) { return line.starts_with(key + "="); });
        ASSERT_NE(at, lines.end()) << section << " " << key;
        *at = key + "=" + value;
    }

    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    Platform& fs = sandbox->platform();
    std::string root = sandbox->root();
    std::string sources = root + "\\src";
    std::string saveLocation = root + "\\themes";
    SystemRootPlatform platform{fs, root + "\\Windows"};
    ThemeRequest request;
    ThemeProject& project = request.project;
    std::string themeName;
};

TEST_F(Win7Generator, EmptyRunWritesEveryDefaultAndOnlyTheSupportFiles) {
    generate();

    EXPECT_EQ(themeFile(), expectedFile(defaultLines()));

    std::vector<std::string> expected = supportEntries();
    expected.push_back("\\Aero7.msstyles");
    EXPECT_EQ(packTree(), sorted(expected));
    expectCopied("\\Aero7.msstyles", project.visualStyleFile);
    EXPECT_EQ(fs.readFile(pack() + "\\Sound\\empty.wav"), asText(payload::emptyWav()));
    EXPECT_EQ(fs.readFile(pack() + "\\zh-CN\\aero.msstyles.mui"),
              asText(payload::aeroMsstylesMui()));
    EXPECT_EQ(fs.readFile(pack() + "\\Shell\\NormalColor\\shellstyle.dll"),
              asText(payload::shellStyleDll()));
    EXPECT_EQ(fs.readFile(pack() + "\\Shell\\NormalColor\\zh-CN\\shellstyle.dll.mui"),
              asText(payload::shellStyleDllMui()));
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, FullRunWritesEveryChosenAssetAndCopiesIt) {
    const std::array<std::string, 15> cursorRoles = {
        "UpArrow", "Wait",  "SizeNWSE",  "SizeNESW", "NWPen", "Help",   "SizeWE",     "Hand",
        "SizeAll", "Arrow", "Crosshair", "IBeam",    "No",    "SizeNS", "AppStarting"};
    for (std::size_t i = 0; i < request.iconChosen.size(); ++i) {
        pick(request.iconChosen[i], project.iconFiles[i],
             file("icon" + std::to_string(i + 1) + ".ico"));
    }
    for (std::size_t i = 0; i < cursorRoles.size(); ++i) {
        pick(request.pointerChosen[i], project.cursorFiles[i], file(cursorRoles[i] + ".ani"));
    }
    for (std::size_t i = 0; i < request.soundChosen.size(); ++i) {
        pick(request.soundChosen[i], project.soundFiles[i],
             file("sound" + std::to_string(i + 1) + ".wav"));
    }
    project.cursorSchemeName = "星空指针";
    project.soundSchemeName = "晨曦声音";
    pick(request.wallpaperChosen, project.wallpaperFile, file("desk.jpg"));
    request.slideshowChosen = true;
    project.slideshowFiles = {file("s1.jpg"), file("s2.png")};
    project.slideshowIntervalText = "60";
    request.screensaver = ScreensaverSource::Own;
    project.screensaverFile = file("Stars.scr");
    project.windowAlphaText = "C0";
    project.windowColorText = "FF8000";

    generate();

    EXPECT_EQ(themeFile(),
              expectedFile({
                  "[Theme]",
                  "DisplayName=极光",
                  "[CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\ICON\\icon1.ico,0",
                  "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\ICON\\icon2.ico,0",
                  "[CLSID\\{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}\\DefaultIcon]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\ICON\\icon3.ico,0",
                  "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]",
                  "Empty=%SystemRoot%\\resources\\Themes\\Aurora\\ICON\\icon4.ico,0",
                  "Full=%SystemRoot%\\resources\\Themes\\Aurora\\ICON\\icon5.ico,0",
                  "[Control Panel\\Cursors]",
                  "UpArrow=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\UpArrow.ani",
                  "Wait=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\Wait.ani",
                  "SizeNWSE=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\SizeNWSE.ani",
                  "SizeNESW=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\SizeNESW.ani",
                  "NWPen=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\NWPen.ani",
                  "Help=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\Help.ani",
                  "SizeWE=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\SizeWE.ani",
                  "Hand=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\Hand.ani",
                  "SizeAll=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\SizeAll.ani",
                  "Arrow=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\Arrow.ani",
                  "Crosshair=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\Crosshair.ani",
                  "IBeam=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\IBeam.ani",
                  "No=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\No.ani",
                  "SizeNS=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\SizeNS.ani",
                  "AppStarting=%SystemRoot%\\resources\\Themes\\Aurora\\Cursors\\AppStarting.ani",
                  "DefaultValue=星空指针",
                  "DefaultValue.MUI=@main.cpl,-1020",
                  "[Control Panel\\Desktop]",
                  "Wallpaper=%SystemRoot%\\resources\\Themes\\Aurora\\Wallpaper\\desk.jpg",
                  "TileWallpaper=0",
                  "WallpaperStyle=10",
                  "Pattern=",
                  "[Slideshow]",
                  "Interval=60000",
                  "Shuffle=0",
                  "ImagesRootPath=%SystemRoot%\\resources\\Themes\\Aurora\\Wallpaper",
                  "Item1Path=%SystemRoot%\\resources\\Themes\\Aurora\\Wallpaper\\desk.jpg",
                  "Item2Path=%SystemRoot%\\resources\\Themes\\Aurora\\Wallpaper\\s1.jpg",
                  "Item3Path=%SystemRoot%\\resources\\Themes\\Aurora\\Wallpaper\\s2.png",
                  "[VisualStyles]",
                  "Path=%SystemRoot%\\resources\\Themes\\Aurora\\Aero7.msstyles",
                  "ColorStyle=NormalColor",
                  "Size=NormalSize",
                  "ColorizationColor=0xC0FF8000",
                  "Transparency=1",
                  "VisualStyleVersion=10",
                  "Composition=1",
                  "[boot]",
                  "SCRNSAVE.EXE=%SystemRoot%\\resources\\Themes\\Aurora\\SCR\\Stars.scr",
                  "[MasterThemeSelector]",
                  "MTSM=DABJDKT",
                  "[Sounds]",
                  "SchemeName=晨曦声音",
                  "[AppEvents\\Schemes\\Apps\\.Default\\SystemExit]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\Sound\\sound1.wav",
                  "[AppEvents\\Schemes\\Apps\\.Default\\SystemStart]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\Sound\\sound2.wav",
                  "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogoff]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\Sound\\sound3.wav",
                  "[AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\Sound\\sound4.wav",
                  "[AppEvents\\Schemes\\Apps\\.Default\\ChangeTheme]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\Sound\\sound5.wav",
                  "[AppEvents\\Schemes\\Apps\\Explorer\\EmptyRecycleBin]",
                  "DefaultValue=%SystemRoot%\\resources\\Themes\\Aurora\\Sound\\empty.wav",
              }));

    std::vector<std::string> expected = supportEntries();
    expected.insert(expected.end(), {"\\Aero7.msstyles", "\\ICON\\", "\\Cursors\\", "\\Wallpaper\\",
                                     "\\SCR\\", "\\SCR\\Stars.scr", "\\Wallpaper\\desk.jpg",
                                     "\\Wallpaper\\s1.jpg", "\\Wallpaper\\s2.png"});
    for (std::size_t i = 0; i < 5; ++i) {
        expected.push_back("\\ICON\\icon" + std::to_string(i + 1) + ".ico");
        expected.push_back("\\Sound\\sound" + std::to_string(i + 1) + ".wav");
        expectCopied("\\ICON\\icon" + std::to_string(i + 1) + ".ico", project.iconFiles[i]);
        expectCopied("\\Sound\\sound" + std::to_string(i + 1) + ".wav", project.soundFiles[i]);
    }
    for (std::size_t i = 0; i < cursorRoles.size(); ++i) {
        expected.push_back("\\Cursors\\" + cursorRoles[i] + ".ani");
        expectCopied("\\Cursors\\" + cursorRoles[i] + ".ani", project.cursorFiles[i]);
    }
    EXPECT_EQ(packTree(), sorted(expected));
    expectCopied("\\Wallpaper\\desk.jpg", project.wallpaperFile);
    expectCopied("\\Wallpaper\\s1.jpg", project.slideshowFiles[0]);
    expectCopied("\\Wallpaper\\s2.png", project.slideshowFiles[1]);
    expectCopied("\\SCR\\Stars.scr", project.screensaverFile);
    expectCopied("\\Aero7.msstyles", project.visualStyleFile);
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, EachAssetKeyFollowsItsOwnField) {
    struct Row {
        bool* field;
        AssetRef* slot;
        std::string section;
        std::string key;
        std::string subfolder;
        std::string suffix;
    };
    const std::string icons = "\\DefaultIcon";
    std::vector<Row> rows = {
        {&request.iconChosen[0], &project.iconFiles[0],
         "CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}" + icons, "DefaultValue", "\\ICON\\", ",0"},
        {&request.iconChosen[1], &project.iconFiles[1],
         "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}" + icons, "DefaultValue", "\\ICON\\", ",0"},
        {&request.iconChosen[2], &project.iconFiles[2],
         "CLSID\\{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}" + icons, "DefaultValue", "\\ICON\\", ",0"},
        {&request.iconChosen[3], &project.iconFiles[3],
         "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}" + icons, "Empty", "\\ICON\\", ",0"},
        {&request.iconChosen[4], &project.iconFiles[4],
         "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}" + icons, "Full", "\\ICON\\", ",0"},
    };
    const std::array<std::string, 15> cursorRoles = {
        "UpArrow", "Wait",  "SizeNWSE",  "SizeNESW", "NWPen", "Help",   "SizeWE",     "Hand",
        "SizeAll", "Arrow", "Crosshair", "IBeam",    "No",    "SizeNS", "AppStarting"};
    for (std::size_t i = 0; i < cursorRoles.size(); ++i) {
        rows.push_back({&request.pointerChosen[i], &project.cursorFiles[i],
                        "Control Panel\\Cursors", cursorRoles[i], "\\Cursors\\", ""});
    }
    const std::array<std::string, 5> sounds = {"SystemExit", "SystemStart", "WindowsLogoff",
                                               "WindowsLogon", "ChangeTheme"};
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        rows.push_back({&request.soundChosen[i], &project.soundFiles[i],
                        "AppEvents\\Schemes\\Apps\\.Default\\" + sounds[i], "DefaultValue",
                        "\\Sound\\", ""});
    }

    // One field at a time; the slots picked before keep their files, but only the field counts.
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        setThemeName("Row" + std::to_string(r));
        const AssetRef asset = file("asset" + std::to_string(r) + ".bin");
        pick(*row.field, *row.slot, asset);
        generate();
        *row.field = false;

        std::vector<std::string> expected = defaultLines();
        setValue(expected, row.section, row.key,
                 installed(row.subfolder + asset.fileName) + row.suffix);
        EXPECT_EQ(themeFile(), expectedFile(expected)) << r;
        expectCopied(row.subfolder + asset.fileName, asset);
    }
}

TEST_F(Win7Generator, SlideshowLeavesOutTheWallpapersNumberAndKeepsItsCopy) {
    pick(request.wallpaperChosen, project.wallpaperFile, file("wall.jpg"));
    request.slideshowChosen = true;
    // The second image has the wallpaper's name but other content; the wallpaper wins.
    project.slideshowFiles = {file("a.jpg", "other"), file("wall.jpg", "other"),
                              file("c.jpg", "other"), file("d.jpg", "other")};
    project.slideshowIntervalText = "180";

    generate();

    EXPECT_EQ(sectionLines("Slideshow"), ansiLines({
                                             "Interval=180000",
                                             "Shuffle=0",
                                             "ImagesRootPath=" + installed("\\Wallpaper"),
                                             "Item1Path=" + installed("\\Wallpaper\\wall.jpg"),
                                             "Item2Path=" + installed("\\Wallpaper\\a.jpg"),
                                             "Item4Path=" + installed("\\Wallpaper\\c.jpg"),
                                             "Item5Path=" + installed("\\Wallpaper\\d.jpg"),
                                         }));
    const auto wallpapers = fs.listDirectory(pack() + "\\Wallpaper");
    ASSERT_TRUE(wallpapers.has_value());
    EXPECT_EQ(wallpapers->size(), 4u);
    expectCopied("\\Wallpaper\\wall.jpg", project.wallpaperFile);
    expectCopied("\\Wallpaper\\a.jpg", project.slideshowFiles[0]);
    expectCopied("\\Wallpaper\\c.jpg", project.slideshowFiles[2]);
    expectCopied("\\Wallpaper\\d.jpg", project.slideshowFiles[3]);
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, SlideshowWithoutWallpaperStillNamesTheWallpaperFolderFirst) {
    request.slideshowChosen = true;
    project.slideshowFiles = {file("a.jpg"), file("b.jpg")};
    project.slideshowIntervalText = "";

    generate();

    EXPECT_EQ(sectionLines("Control Panel\\Desktop")[0],
              "Wallpaper=%SystemRoot%\\web\\wallpaper\\Windows\\img0.jpg");
    EXPECT_EQ(sectionLines("Slideshow"), ansiLines({
                                             "Interval=000",
                                             "Shuffle=0",
                                             "ImagesRootPath=" + installed("\\Wallpaper"),
                                             "Item1Path=" + installed("\\Wallpaper\\"),
                                             "Item2Path=" + installed("\\Wallpaper\\a.jpg"),
                                             "Item3Path=" + installed("\\Wallpaper\\b.jpg"),
                                         }));
    const auto wallpapers = fs.listDirectory(pack() + "\\Wallpaper");
    ASSERT_TRUE(wallpapers.has_value());
    EXPECT_EQ(wallpapers->size(), 2u) << "only the slideshow images are copied";
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, SlideshowImageNamedLikeAnUncopiedWallpaperIsStillCopied) {
    // The wallpaper was picked on the XP page, so the Windows 7 wallpaper field is empty and no
    // wallpaper is copied; the slideshow image of the same name must not be lost.
    project.wallpaperFile = file("wall.jpg");
    request.slideshowChosen = true;
    project.slideshowFiles = {file("a.jpg", "other"), file("wall.jpg", "other")};

    generate();

    EXPECT_EQ(sectionLines("Slideshow"), ansiLines({
                                             "Interval=000",
                                             "Shuffle=0",
                                             "ImagesRootPath=" + installed("\\Wallpaper"),
                                             "Item1Path=" + installed("\\Wallpaper\\wall.jpg"),
                                             "Item2Path=" + installed("\\Wallpaper\\a.jpg"),
                                             "Item3Path=" + installed("\\Wallpaper\\wall.jpg"),
                                         }));
    expectCopied("\\Wallpaper\\wall.jpg", project.slideshowFiles[1]);
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, ScreensaverChoices) {
    // None chosen: an empty key and no folder for it.
    generate();
    EXPECT_EQ(sectionLines("boot"), ansiLines({"SCRNSAVE.EXE="}));
    EXPECT_FALSE(fs.isDirectory(pack() + "\\SCR"));

    // From the system list: the source below %SystemRoot% is expanded for the copy, while the
    // key names the installed copy.
    ASSERT_TRUE(fs.writeFile(root + "\\Windows\\System32\\Ribbons.scr", bytes("ribbons")));
    setThemeName("SystemSaver");
    request.screensaver = ScreensaverSource::System;
    project.screensaverFile = {"%SystemRoot%\\System32\\Ribbons.scr", "Ribbons.scr"};
    generate();
    EXPECT_EQ(sectionLines("boot"), ansiLines({"SCRNSAVE.EXE=" + installed("\\SCR\\Ribbons.scr")}));
    EXPECT_EQ(fs.readFile(pack() + "\\SCR\\Ribbons.scr"), "ribbons");

    // An own file.
    setThemeName("OwnSaver");
    request.screensaver = ScreensaverSource::Own;
    project.screensaverFile = file("我的屏保.scr");
    generate();
    EXPECT_EQ(sectionLines("boot"),
              ansiLines({"SCRNSAVE.EXE=" + installed("\\SCR\\我的屏保.scr")}));
    expectCopied("\\SCR\\我的屏保.scr", project.screensaverFile);

    ASSERT_EQ(platform.messages.size(), 3u);
    for (const auto& message : platform.messages) {
        EXPECT_EQ(message.text, "生成完毕!");
        EXPECT_EQ(message.icon, MessageIcon::Information);
    }
}

TEST_F(Win7Generator, MissingSystemScreensaverIsNamedButTheKeyStays) {
    request.screensaver = ScreensaverSource::System;
    project.screensaverFile = {"%SystemRoot%\\System32\\Gone.scr", "Gone.scr"};

    generate();

    EXPECT_EQ(sectionLines("boot"), ansiLines({"SCRNSAVE.EXE=" + installed("\\SCR\\Gone.scr")}));
    EXPECT_TRUE(fs.isDirectory(pack() + "\\SCR"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(platform.messages[0].text.starts_with("生成完毕!"));
    EXPECT_NE(platform.messages[0].text.find("Gone.scr"), std::string::npos)
        << platform.messages[0].text;
}

TEST_F(Win7Generator, PickedPathsWithPercentSignsAreCopiedAsTheyStand) {
    // A real folder named like a variable: the picked file is there, not below %SystemRoot%.
    ASSERT_TRUE(fs.makeDirectory(sources + "\\%SystemRoot%"));
    ASSERT_TRUE(fs.writeFile(root + "\\Windows\\decoy.ico", bytes("decoy")));
    pick(request.iconChosen[1], project.iconFiles[1], file("decoy.ico", "%SystemRoot%"));

    generate();

    expectCopied("\\ICON\\decoy.ico", project.iconFiles[1]);
    EXPECT_NE(fs.readFile(pack() + "\\ICON\\decoy.ico"), "decoy");
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, TransparencyAndCompositionStayOnWhateverTheAlpha) {
    for (const std::string alpha : {"", "FF"}) {
        setThemeName("Alpha" + alpha);
        project.windowAlphaText = alpha;
        project.windowColorText = "123456";
        generate();
        const auto lines = sectionLines("VisualStyles");
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines[3], "ColorizationColor=0x" + alpha + "123456");
        EXPECT_EQ(lines[4], "Transparency=1");
        EXPECT_EQ(lines[6], "Composition=1");
    }
}

TEST_F(Win7Generator, ChineseNamesReachTheFileAsGbkAndTheRightTargets) {
    // "淺" and "奬" end in the byte of "\" in GBK.
    setThemeName("夏日淺");
    project.displayName = "夏日奬主题";
    pick(request.iconChosen[1], project.iconFiles[1], file("电脑淺.ico"));
    pick(request.pointerChosen[9], project.cursorFiles[9], file("箭头奬.cur"));
    pick(request.soundChosen[1], project.soundFiles[1], file("开机淺.wav"));
    pick(request.wallpaperChosen, project.wallpaperFile, file("海边.jpg"));
    request.slideshowChosen = true;
    project.slideshowFiles = {file("山奬.jpg")};
    project.visualStyleFile = file("风格淺.msstyles");

    generate();

    const std::string written = themeFile();
    for (const std::string_view line : {
             "DisplayName=夏日奬主题",
             "DefaultValue=%SystemRoot%\\resources\\Themes\\夏日淺\\ICON\\电脑淺.ico,0",
             "Arrow=%SystemRoot%\\resources\\Themes\\夏日淺\\Cursors\\箭头奬.cur",
             "DefaultValue=%SystemRoot%\\resources\\Themes\\夏日淺\\Sound\\开机淺.wav",
             "Wallpaper=%SystemRoot%\\resources\\Themes\\夏日淺\\Wallpaper\\海边.jpg",
             "Item1Path=%SystemRoot%\\resources\\Themes\\夏日淺\\Wallpaper\\海边.jpg",
             "Item2Path=%SystemRoot%\\resources\\Themes\\夏日淺\\Wallpaper\\山奬.jpg",
             "Path=%SystemRoot%\\resources\\Themes\\夏日淺\\风格淺.msstyles",
         }) {
        EXPECT_NE(written.find("\r\n" + ansi(line) + "\r\n"), std::string::npos) << line;
    }
    // GBK of "夏日淺" ends in 0x5C, so the installed paths hold two backslash bytes in a row.
    EXPECT_NE(written.find("\\Themes\\\xCF\xC4\xC8\xD5\x9C\x5C\\Sound\\empty.wav"),
              std::string::npos);

    EXPECT_EQ(fs.readFile(saveLocation + "\\夏日淺.theme"), written);
    expectCopied("\\ICON\\电脑淺.ico", project.iconFiles[1]);
    expectCopied("\\Cursors\\箭头奬.cur", project.cursorFiles[9]);
    expectCopied("\\Sound\\开机淺.wav", project.soundFiles[1]);
    expectCopied("\\Wallpaper\\海边.jpg", project.wallpaperFile);
    expectCopied("\\Wallpaper\\山奬.jpg", project.slideshowFiles[0]);
    expectCopied("\\风格淺.msstyles", project.visualStyleFile);
    expectDoneWithoutFailures();
}

TEST_F(Win7Generator, RunWithoutVisualStyleWarnsAndStillWritesTheRest) {
    project.visualStyleFile = {};

    generate();

    EXPECT_EQ(sectionLines("VisualStyles")[0], ansi("Path=" + installed("\\")));
    EXPECT_EQ(packTree(), sorted(supportEntries()));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(platform.messages[0].title, "提示...");
    EXPECT_TRUE(platform.messages[0].text.starts_with("生成完毕!"));
    EXPECT_NE(platform.messages[0].text.find("可视化风格"), std::string::npos)
        << platform.messages[0].text;
}

TEST_F(Win7Generator, EmptyNameIsRefusedAndNothingIsWritten) {
    project.themeName = "";

    generate();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "生成名称不能为空!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(fs.isDirectory(saveLocation + "\\Aurora"));
}

} // namespace
} // namespace quorvel::test
