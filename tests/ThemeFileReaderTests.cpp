#include "model/ThemeFileReader.h"

#include "Sandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace quorvel {
namespace {

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

// ASCII or UTF-8 text as UTF-16 LE with its byte order mark.
std::string utf16(std::string_view text) {
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t code = c;
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        const auto unit = [&](char32_t u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        };
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out;
}

class ThemeFileReader : public ::testing::Test {
protected:
    ThemeImport read(std::string_view bytes) {
        ThemeReadResult result = readThemeFile(bytes, platform());
        EXPECT_TRUE(result.theme) << result.error;
        return result.theme ? *result.theme : ThemeImport{};
    }
    Platform& platform() { return sandbox_->platform(); }
    std::string root() { return platform().expandEnvironment("%SystemRoot%"); }

private:
    std::unique_ptr<test::Sandbox> sandbox_ = test::makeSandbox();
};

TEST_F(ThemeFileReader, WindowsSevenThemeAsTheSystemSavesIt) {
    const std::string r = root();
    const ThemeImport theme = read(dataFile("win7-landscapes.theme"));
    EXPECT_EQ(theme.pageSet, PageSet::Win7);
    EXPECT_EQ(theme.displayName, "") << "a resource string is no name";
    const std::array<std::string, 5> icons = {r + "\\Icons\\Landscape Documents.ico", "", "",
                                              r + "\\Icons\\Landscape Bin.ico", ""};
    EXPECT_EQ(theme.icons, icons) << "icons inside imageres.dll are the system's own";
    EXPECT_EQ(theme.pointers[0], r + "\\cursors\\aero_up.cur");
    EXPECT_EQ(theme.pointers[9], r + "\\cursors\\aero_arrow.cur");
    EXPECT_EQ(theme.pointers[10], "") << "Crosshair is empty";
    EXPECT_EQ(theme.pointers[14], r + "\\cursors\\aero_working.ani");
    EXPECT_EQ(theme.cursorSchemeName, "Windows Aero");
    const std::array<std::string, 5> sounds = {"", "", "", r + "\\Media\\Landscape Logon.wav", ""};
    EXPECT_EQ(theme.sounds, sounds);
    EXPECT_EQ(theme.soundSchemeName, "");
    EXPECT_EQ(theme.screensaver, r + "\\System32\\Mystify.scr");
    EXPECT_EQ(theme.wallpaper, r + "\\Web\\Wallpaper\\Landscapes\\img7.jpg");
    EXPECT_EQ(theme.visualStyle, r + "\\Resources\\Themes\\Aero\\Aero.msstyles");
    const std::string folder = r + "\\Web\\Wallpaper\\Landscapes\\";
    const std::vector<std::string> slideshow = {folder + "img7.jpg", folder + "img8.jpg",
                                                folder + "img9.jpg", folder + "img12.jpg"};
    EXPECT_EQ(theme.slideshow, slideshow) << "by number, a relative item below ImagesRootPath";
    EXPECT_EQ(theme.slideshowInterval, "1800");
    EXPECT_EQ(theme.windowColor, "74B8FC");
    EXPECT_EQ(theme.transparency, "107");
}

TEST_F(ThemeFileReader, WindowsXpTheme) {
    const std::string r = root();
    const ThemeImport theme = read(dataFile("xp-harbour.theme"));
    EXPECT_EQ(theme.pageSet, PageSet::Xp);
    EXPECT_EQ(theme.displayName, "Autumn Harbour");
    const std::array<std::string, 5> icons = {"", r + "\\Icons\\Harbour Computer.ico", "",
                                              r + "\\Icons\\Harbour Empty.ico",
                                              r + "\\Icons\\Harbour Full.ico"};
    EXPECT_EQ(theme.icons, icons);
    EXPECT_EQ(theme.pointers[1], r + "\\Cursors\\harbour_wait.ani");
    EXPECT_EQ(theme.pointers[9], r + "\\Cursors\\harbour_arrow.cur");
    EXPECT_EQ(theme.cursorSchemeName, "Autumn Harbour");
    const std::array<std::string, 5> sounds = {r + "\\Media\\Harbour Exit.wav",
                                               r + "\\Media\\Harbour Start.wav", "", "", ""};
    EXPECT_EQ(theme.sounds, sounds);
    EXPECT_EQ(theme.screensaver, r + "\\System32\\ssstars.scr");
    EXPECT_EQ(theme.wallpaper, r + "\\Web\\Wallpaper\\Harbour.bmp");
    EXPECT_EQ(theme.visualStyle, r + "\\resources\\Themes\\Luna\\Luna.msstyles");
    EXPECT_TRUE(theme.slideshow.empty());
    EXPECT_EQ(theme.windowColor, "");
    EXPECT_EQ(theme.transparency, "");
}

TEST_F(ThemeFileReader, EncodingsGiveTheSameTheme) {
    const std::string ansi = dataFile("win7-landscapes.theme");
    const ThemeImport expected = read(ansi);
    for (const std::string& bytes : {utf16(ansi), "\xEF\xBB\xBF" + ansi}) {
        const ThemeImport theme = read(bytes);
        EXPECT_EQ(theme.slideshow, expected.slideshow);
        EXPECT_EQ(theme.pointers, expected.pointers);
        EXPECT_EQ(theme.windowColor, expected.windowColor);
    }
    // Chinese names, one with the GBK trail byte of "\", in each of the three encodings.
    const std::string text = "[Theme]\r\nDisplayName=淺色港湾\r\n[Control Panel\\Cursors]\r\n"
                             "Arrow=C:\\主题\\淺.cur\r\n";
    const std::optional<std::string> gbk = platform().toAnsi(text);
    ASSERT_TRUE(gbk);
    for (const std::string& bytes : {*gbk, utf16(text), "\xEF\xBB\xBF" + text}) {
        const ThemeImport theme = read(bytes);
        EXPECT_EQ(theme.displayName, "淺色港湾");
        EXPECT_EQ(theme.pointers[9], "C:\\主题\\淺.cur");
        EXPECT_EQ(theme.pageSet, std::nullopt);
    }
}

TEST_F(ThemeFileReader, PageSetFromContent) {
    const std::vector<std::pair<std::string, std::optional<PageSet>>> cases = {
        {"[Slideshow]\r\nInterval=1000\r\n", PageSet::Win7},
        {"[VisualStyles]\r\nColorizationColor=0X00000000\r\n", PageSet::Win7},
        {"[VisualStyles]\r\nPath=%ResourceDir%\\Themes\\Aero\\Aero.msstyles\r\n", PageSet::Win7},
        {"[CLSID\\{59031a47-3f72-44a7-89c5-5595fe6b30ee}\\DefaultIcon]\r\n", PageSet::Win7},
        {"[MasterThemeSelector]\r\nThemeColorBPP=4\r\n", PageSet::Xp},
        {"[CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon]\r\n", PageSet::Xp},
        {"[AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current]\r\n", PageSet::Xp},
        {"[VisualStyles]\r\nPath=C:\\Styles\\Own.msstyles\r\n", std::nullopt},
    };
    for (const auto& [body, expected] : cases) {
        EXPECT_EQ(read("[Theme]\r\n" + body).pageSet, expected) << body;
    }
}

TEST_F(ThemeFileReader, RefusesWhatIsNoThemeFile) {
    const std::string valid = dataFile("xp-harbour.theme");
    const std::vector<std::pair<std::string, std::string_view>> cases = {
        {"", "空的"},
        {std::string("MZ\x90\0\x03\0\0\0", 8), "二进制"},
        {utf16(valid).substr(0, 301), "UTF-16"},
        {"\xFE\xFF\0[", "大端序"},
        {"\xEF\xBB\xBF[Theme]\r\nDisplayName=\xD6\xF7\xCC\xE2\r\n", "UTF-8"},
        {"[Theme]\r\nDisplayName=\xD6\r\n", "代码页"},
        {"[Theme]\r\n" + std::string(10 << 20, 'x') + "\r\n", "第 2 行过长"},
        {"[Options]\r\nA=1\r\n", "不是主题文件"},
    };
    for (const auto& [bytes, expected] : cases) {
        const ThemeReadResult result = readThemeFile(bytes, platform());
        EXPECT_FALSE(result.theme) << expected;
        EXPECT_NE(result.error.find(expected), std::string::npos)
            << "expected \"" << expected << "\", got \"" << result.error << "\"";
    }
}

// As the system's profile functions read: the first section and the first key of a name count;
// a huge item number is one item, not a hundred thousand slots.
TEST_F(ThemeFileReader, DuplicatesAndLargeNumbers) {
    const auto started = std::chrono::steady_clock::now();
    const ThemeImport theme = read(
        "[Theme]\r\nDisplayName=first\r\ndisplayname=second\r\n[THEME]\r\nDisplayName=third\r\n"
        "[Slideshow]\r\nItem100000Path=C:\\b.jpg\r\nItem99999999999999999999999Path=C:\\c.jpg\r\n"
        "Item7Path=C:\\a.jpg\r\nItemPath=C:\\d.jpg\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
    EXPECT_EQ(theme.displayName, "first");
    EXPECT_EQ(theme.slideshow, (std::vector<std::string>{"C:\\a.jpg", "C:\\b.jpg"}));
}

TEST_F(ThemeFileReader, OpeningPicksTheFilesThatExist) {
    const std::string r = root();
    const ThemeImport theme = read(dataFile("win7-landscapes.theme"));
    const std::string gone = r + "\\cursors\\aero_busy.ani";
    const std::string goneImage = r + "\\Web\\Wallpaper\\Landscapes\\img8.jpg";
    const std::string notAnIcon = r + "\\Icons\\Landscape Bin.ico";
    const std::string notAnImage = r + "\\Web\\Wallpaper\\Landscapes\\img12.jpg";
    std::vector<std::pair<std::string, FileKind>> asked;
    // What the theme does not fill stays as the document had it.
    ThemeDocument state;
    state.pageSet = PageSet::Xp;
    state.win7.iconPaths[1] = "kept";
    state.win7.iconPaths[3] = "kept too";
    state.win7.themeName = "留着";
    const ThemeOpening opening = openTheme(
        theme, PageSet::Win7,
        [&](const std::string& path, FileKind kind) {
            asked.emplace_back(path, kind);
            return path == gone || path == goneImage         ? FileFit::Missing
                   : path == notAnIcon || path == notAnImage ? FileFit::WrongKind
                                                             : FileFit::Fits;
        },
        state);
    EXPECT_EQ(state.pageSet, PageSet::Win7);
    EXPECT_EQ(opening.missing, (std::vector<std::string>{gone, goneImage}));
    EXPECT_EQ(opening.unfit, (std::vector<std::string>{notAnIcon, notAnImage}));
    for (const auto& [path, kind] : asked) {
        const std::string_view extension = std::string_view(path).substr(path.rfind('.'));
        const std::map<std::string_view, FileKind> kinds = {{".ico", FileKind::Icon},
                                                            {".cur", FileKind::Pointer},
                                                            {".ani", FileKind::Pointer},
                                                            {".wav", FileKind::Sound},
                                                            {".scr", FileKind::Screensaver},
                                                            {".jpg", FileKind::Image},
                                                            {".msstyles", FileKind::VisualStyle}};
        EXPECT_EQ(kinds.at(extension), kind) << path;
    }
    const PageChoices& w = state.win7;
    EXPECT_EQ(w.iconPaths[0], r + "\\Icons\\Landscape Documents.ico");
    EXPECT_EQ(state.picks.iconFiles[0].fileName, "Landscape Documents.ico");
    EXPECT_EQ(w.iconPaths[1], "kept");
    EXPECT_EQ(w.pointerScheme, (SchemeChoice{kCustomSchemeItem, "Windows Aero"}));
    EXPECT_EQ(w.pointerPaths[1], "") << "missing";
    EXPECT_EQ(state.picks.cursorFiles[1], AssetRef{});
    EXPECT_EQ(w.screensaver, ScreensaverSource::Own);
    EXPECT_EQ(state.picks.screensaverFile.fileName, "Mystify.scr");
    EXPECT_EQ(w.iconPaths[3], "kept too") << "not an icon";
    EXPECT_EQ(state.picks.iconFiles[3], AssetRef{});
    EXPECT_EQ(w.slideshowImages, "img7.jpg;img9.jpg;");
    EXPECT_EQ(state.picks.slideshowFiles.size(), 2u);
    EXPECT_EQ(w.windowColor, "74B8FC");
    EXPECT_EQ(w.transparencySlider, 107);
    EXPECT_EQ(w.slideshowInterval, "1800");
    EXPECT_EQ(w.themeName, "留着");
    EXPECT_EQ(state.xp, PageChoices{});

    ThemeDocument xp;
    openTheme(
        theme, PageSet::Xp, [](const std::string&, FileKind) { return FileFit::Fits; }, xp);
    EXPECT_EQ(xp.win7, PageChoices{}) << "only the XP pages change";
    EXPECT_TRUE(xp.picks.slideshowFiles.empty());
    EXPECT_TRUE(xp.picks.soundFiles[4].sourcePath.empty());
    EXPECT_EQ(xp.xp.windowColor, std::string(kInitialWindowColor)) << "XP has no window colour";
}

// The system's own style stays a %SystemRoot% reference only when its file name is one a folder
// can hold; otherwise it is a file like any other (here missing), and the state that opening
// gives can always be kept as a project file.
TEST_F(ThemeFileReader, TheSystemStyleIsAReferenceOnlyWithAPlainFileName) {
    const struct {
        const char* path;
        const char* pick; // the pick's source, empty when nothing is picked
    } cases[] = {
        {"%ResourceDir%\\Themes\\Aero\\Aero.msstyles",
         "%SystemRoot%\\Resources\\Themes\\Aero\\Aero.msstyles"},
        {"%WinDir%\\Resources\\Themes\\Aero\\Aero.msstyles",
         "%SystemRoot%\\Resources\\Themes\\Aero\\Aero.msstyles"},
        {"%SystemRoot%\\Themes\\a\"b.msstyles", ""},
        {"%SystemRoot%\\Themes\\CON.msstyles", ""},
    };
    for (const auto& c : cases) {
        const ThemeImport theme = read(
            std::string("[Theme]\r\nDisplayName=x\r\n[VisualStyles]\r\nPath=") + c.path + "\r\n");
        ThemeDocument document;
        openTheme(
            theme, PageSet::Win7, [](const std::string&, FileKind) { return FileFit::Missing; },
            document);
        EXPECT_EQ(document.picks.visualStyleFile.sourcePath, c.pick) << c.path;
        EXPECT_TRUE(writeProjectFile(document).error.empty()) << c.path;
    }
}

} // namespace
} // namespace quorvel
