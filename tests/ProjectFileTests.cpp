#include "model/ProjectFile.h"
#include "model/SystemScreensavers.h"
#include "model/ThemeDocument.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace quorvel {
namespace {

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

// Each page set's section has one key per member of the page choices its pages show, in any
// letter case distinct, with the range of its list or slider; a text row reaches a member of
// its own, no two rows the same one.
TEST(ProjectFile, KeyTableHasOneKeyPerMember) {
    for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
        std::set<std::string> keys;
        std::set<const std::string*> members;
        PageChoices choices;
        for (const ProjectField& field : projectFields(set)) {
            EXPECT_TRUE(keys.insert(lowerAscii(field.key)).second) << field.key;
            switch (field.role) {
            case FieldRole::Text:
                EXPECT_EQ(field.kind(), FieldKind::Text);
                EXPECT_TRUE(members.insert(&field.text(choices)).second) << field.key;
                break;
            case FieldRole::PointerScheme:
            case FieldRole::SoundScheme:
                EXPECT_EQ(field.kind(), FieldKind::Choice);
                EXPECT_EQ(field.maximum, kCustomSchemeItem);
                break;
            case FieldRole::SystemScreensaverList:
                EXPECT_EQ(field.kind(), FieldKind::Choice);
                EXPECT_EQ(field.maximum, static_cast<int>(systemScreensavers(set).size()));
                break;
            case FieldRole::SystemScreensaverTick:
            case FieldRole::OwnScreensaverTick:
                EXPECT_EQ(field.kind(), FieldKind::Tick);
                break;
            case FieldRole::TransparencySlider:
                EXPECT_EQ(field.kind(), FieldKind::Slider);
                EXPECT_EQ(field.maximum, 255);
                break;
            }
        }
        // The Windows XP pages lack the theme change sound, the slideshow and its interval, the
        // window colour and the transparency with its slider.
        EXPECT_EQ(keys.size(), set == PageSet::Win7 ? 43u : 37u);
    }
}

class RandomState {
public:
    explicit RandomState(unsigned seed) : random_(seed) {}

    ThemeDocument make() {
        ThemeDocument state;
        state.pageSet = chance(2) ? PageSet::Win7 : PageSet::Xp;
        for (const PageSet set : {PageSet::Win7, PageSet::Xp}) {
            PageChoices& choices = state.choices(set);
            for (const ProjectField& field : projectFields(set)) {
                if (chance(4)) {
                    continue; // left in its initial state
                }
                switch (field.role) {
                case FieldRole::Text:
                    field.text(choices) = text();
                    break;
                case FieldRole::PointerScheme:
                    choices.pointerScheme.item = below(field.maximum + 1);
                    break;
                case FieldRole::SoundScheme:
                    choices.soundScheme.item = below(field.maximum + 1);
                    break;
                case FieldRole::SystemScreensaverTick:
                    choices.screensaver = static_cast<ScreensaverSource>(below(3));
                    break;
                case FieldRole::OwnScreensaverTick:
                    break;
                case FieldRole::SystemScreensaverList:
                    choices.systemScreensaverItem = below(field.maximum + 1);
                    break;
                case FieldRole::TransparencySlider:
                    choices.transparencySlider = below(field.maximum + 1);
                    break;
                }
            }
        }
        for (AssetRef& slot : state.picks.iconFiles) {
            slot = pick();
        }
        for (AssetRef& slot : state.picks.cursorFiles) {
            slot = pick();
        }
        for (AssetRef& slot : state.picks.soundFiles) {
            slot = pick();
        }
        state.picks.screensaverFile = pick();
        state.picks.wallpaperFile = pick();
        state.picks.visualStyleFile = pick();
        const int images = chance(3) ? below(301) : 0;
        for (int i = 0; i < images; ++i) {
            AssetRef image;
            while (image.sourcePath.empty()) {
                image = pick();
            }
            state.picks.slideshowFiles.push_back(image);
        }
        if (chance(2)) {
            const auto channel = [this] { return static_cast<std::uint8_t>(below(256)); };
            state.pickedColor = Rgb{channel(), channel(), channel()};
        }
        return state;
    }

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int oneIn) { return below(oneIn) == 0; }

    // Pieces that try the quoting, the comment and section characters, blanks at the ends and
    // names whose GBK form holds the byte of "\".
    std::string text() {
        static const std::vector<std::string> pieces = {
            "",       " ",          "\t",     "\"",           "\"\"",
            "=",      ";",          "[Win7]", "淺",           "奬",
            "主题",   "C:\\主题\\", "a.ico",  "a;b.jpg;",     "0066FF",
            "127",    "  x  ",      "#",      "%SystemRoot%", "\\\\server\\share",
            "..\\..", "é€😀"};
        std::string result;
        for (int n = below(4); n > 0; --n) {
            result += pieces[static_cast<std::size_t>(below(static_cast<int>(pieces.size())))];
        }
        return result;
    }

    AssetRef pick() {
        static const std::vector<std::string> folders = {"C:\\主题\\",
                                                         "D:\\a b\\淺\\",
                                                         "\\\\server\\share\\",
                                                         "%SystemRoot%\\System32\\",
                                                         "..\\rel\\",
                                                         "E:/mixed/",
                                                         ""};
        static const std::vector<std::string> names = {"淺.ico",  "奬 1.cur",  "a.wav",
                                                       "x.y.jpg", " lead.scr", "trail.msstyles "};
        if (chance(2)) {
            return {};
        }
        const auto any = [&](const std::vector<std::string>& list) {
            return list[static_cast<std::size_t>(below(static_cast<int>(list.size())))];
        };
        AssetRef asset;
        asset.sourcePath = any(folders) + any(names);
        asset.fileName = chance(3) ? any(names) : std::string(pathFileName(asset.sourcePath));
        return asset;
    }

    std::mt19937 random_;
};

TEST(ProjectFile, RandomStatesSurviveWriteAndRead) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        const ThemeDocument state = RandomState(seed).make();
        const ProjectText file = writeProjectFile(state);
        ASSERT_EQ(file.error, "") << "seed " << seed;
        EXPECT_EQ(file.bytes.find("\n"), file.bytes.find("\r\n") + 1) << "CR LF";
        EXPECT_FALSE(file.bytes.starts_with("\xEF\xBB\xBF"));
        if (state.pickedColor) {
            char line[32];
            std::snprintf(line, sizeof line, "\r\nPickedColor=%02X%02X%02X\r\n",
                          state.pickedColor->red, state.pickedColor->green,
                          state.pickedColor->blue);
            EXPECT_NE(file.bytes.find(line), std::string::npos) << "red first: " << line;
        }
        const ProjectReadResult read = readProjectFile(file.bytes);
        ASSERT_TRUE(read.document) << "seed " << seed << ": " << read.error << "\n" << file.bytes;
        EXPECT_TRUE(*read.document == state) << "seed " << seed << "\n" << file.bytes;
        EXPECT_EQ(writeProjectFile(*read.document).bytes, file.bytes) << "seed " << seed;
    }
}

TEST(ProjectFile, WriterRefusesWhatTheReaderWouldReject) {
    ThemeDocument state;
    state.win7.themeName = "a\r\nb";
    EXPECT_NE(writeProjectFile(state).error.find("ThemeName"), std::string::npos);
    state = {};
    state.picks.iconFiles[0] = {"C:\\a.ico", "..\\a.ico"};
    EXPECT_NE(writeProjectFile(state).error.find("Icon.Documents"), std::string::npos);
}

// What a person may write by hand: any letter case, LF line ends, a byte order mark, comments,
// blanks around "=", keys and sections this version does not know.
TEST(ProjectFile, ReadsAHandWrittenFile) {
    const ProjectReadResult read = readProjectFile(
        "\xEF\xBB\xBF; Quorvel project 1\n; my theme\n[project]\npageset = xp\npickedcolor=0a66ff\n"
        "[Future]\nSomething=1\n[XP]\nthemename = 港口 "
        "\nUseOwnScreensaver=1\nSystemScreensaver=11\n"
        "Unknown.Key=x\n[Picks]\nScreensaver=D:\\Saver\\港口.scr\nWallpaper=\" D:\\a.jpg\"\n"
        "[Slideshow]\nImage2=b.jpg\nImage1=C:\\a.jpg\nImage1.Name=first.jpg\n[End]\n\n");
    ASSERT_TRUE(read.document) << read.error;
    const ThemeDocument& state = *read.document;
    EXPECT_EQ(state.pageSet, PageSet::Xp);
    EXPECT_EQ(state.pickedColor, (Rgb{0x0A, 0x66, 0xFF}));
    EXPECT_EQ(state.xp.themeName, "港口");
    EXPECT_EQ(state.xp.screensaver, ScreensaverSource::Own);
    EXPECT_EQ(state.xp.systemScreensaverItem, 11);
    EXPECT_EQ(state.win7, PageChoices{}) << "a section left out leaves its pages as they start";
    EXPECT_EQ(state.picks.screensaverFile, (AssetRef{"D:\\Saver\\港口.scr", "港口.scr"}));
    EXPECT_EQ(state.picks.wallpaperFile, (AssetRef{" D:\\a.jpg", "a.jpg"}));
    ASSERT_EQ(state.picks.slideshowFiles.size(), 2u);
    EXPECT_EQ(state.picks.slideshowFiles[0], (AssetRef{"C:\\a.jpg", "first.jpg"}));
    EXPECT_EQ(state.picks.slideshowFiles[1], (AssetRef{"b.jpg", "b.jpg"}));
}

// The example of docs/project-file.md, kept in tests/data.
TEST(ProjectFile, ReadmeExampleReads) {
#ifdef _WIN32
    std::ifstream in(std::string("Z:") + QUORVEL_TEST_DATA_DIR + "/example.quorvel",
                     std::ios::binary);
#else
    std::ifstream in(std::string(QUORVEL_TEST_DATA_DIR) + "/example.quorvel", std::ios::binary);
#endif
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const ProjectReadResult read = readProjectFile(bytes);
    ASSERT_TRUE(read.document) << read.error;
    EXPECT_EQ(read.document->picks.slideshowFiles.size(), 2u);
    EXPECT_EQ(read.document->win7.displayName, "秋日港湾");
}

std::string withBody(std::string_view body) {
    return "; Quorvel project 1\r\n[Project]\r\nPageSet=Win7\r\n" + std::string(body) + "[End]\r\n";
}

// The bad-input catalogue of the reader: each file is refused with a message that names what
// is wrong, and the line where one is to blame.
TEST(ProjectFile, RefusesDamagedTruncatedAndForeignFiles) {
    const std::string valid = withBody("[Win7]\r\nThemeName=主题\r\n");
    struct Case {
        std::string bytes;
        std::string_view expected;
    };
    const std::vector<Case> cases = {
        {"", "空的"},
        {"[Theme]\r\nDisplayName=x\r\n", "这不是 Quorvel 方案文件"},
        {"; Quorvel project x\r\n[End]\r\n", "这不是 Quorvel 方案文件"},
        {"; Quorvel project 2\r\n[End]\r\n", "较新版本"},
        {"\xFF\xFE;\0 \0", "UTF-16"},
        {std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "第 1 行: 含有控制字符"},
        {valid.substr(0, valid.size() - 7), "缺少最后一行 [End]"},
        {valid.substr(0, valid.find("主题") + 4), "第 5 行: 不是有效的 UTF-8"},
        {withBody("[Win7]\r\nThemeName=\xD6\xF7\xCC\xE2\r\n"), "第 5 行: 不是有效的 UTF-8"},
        {withBody("[Win7]\r\nThemeName=a" + std::string(1, '\0') + "b\r\n"),
         "第 5 行: 含有控制字符"},
        {withBody("[Win7]\r\nThemeName=" + std::string(10 << 20, 'x') + "\r\n"),
         "第 5 行: 这一行过长"},
        {withBody("[Win7]\r\n[win7]\r\n"), "第 5 行: 节 [win7] 重复 (第 4 行已有)"},
        {withBody("[Win7]\r\nThemeName=a\r\nTHEMENAME=b\r\n"), "第 6 行: 键 \"THEMENAME\" 重复"},
        {"; Quorvel project 1\r\nPageSet=Win7\r\n[End]\r\n",
         "第 2 行: 键 \"PageSet\" 不属于任何节"},
        {withBody("[Win7\r\n"), "第 4 行: 无法识别的内容"},
        {withBody("ThemeName\r\n"), "第 4 行: 无法识别的内容"},
        {valid + "[Win7]\r\n", "[End] 之后不应再有内容"},
        {"; Quorvel project 1\r\n[Project]\r\n[End]\r\n", "缺少 [Project] 节中的 PageSet"},
        {"; Quorvel project 1\r\n[Project]\r\nPageSet=Vista\r\n[End]\r\n", "第 3 行: PageSet"},
        {withBody("[Win7]\r\nPointerScheme=3\r\n"), "第 5 行: PointerScheme 应为 0 到 2"},
        {withBody("[Win7]\r\nTransparencySlider=-1\r\n"), "第 5 行: TransparencySlider"},
        {withBody("[Win7]\r\nUseOwnScreensaver=yes\r\n"), "第 5 行: UseOwnScreensaver 应为 1"},
        {withBody("[Win7]\r\nPointerScheme=99999999999999999999\r\n"), "第 5 行"},
        {"; Quorvel project 1\r\n[Project]\r\nPageSet=XP\r\nPickedColor=12345G\r\n[End]\r\n",
         "第 4 行: PickedColor"},
        {withBody("[Picks]\r\nIcon.Documents=C:\\a.ico\r\nIcon.Documents.Name=..\\..\\x.ico\r\n"),
         "第 6 行: 文件名 \"..\\..\\x.ico\" 无效"},
        {withBody("[Picks]\r\nWallpaper=C:\\pictures\\..\r\n"), "第 5 行: 文件名 \"..\" 无效"},
        {withBody("[Picks]\r\nWallpaper=C:\\a.jpg\r\nWallpaper.Name=C:evil.jpg\r\n"), "第 6 行"},
        {withBody("[Picks]\r\nWallpaper.Name=a.jpg\r\n"), "第 5 行: Wallpaper.Name 给出了文件名"},
        {withBody("[Slideshow]\r\nImage1=a.jpg\r\nImage3=c.jpg\r\n"), "第 6 行: 幻灯片图片应从 "
                                                                      "Image1 起连续编号, 这里缺少 "
                                                                      "Image2"},
        {withBody("[Slideshow]\r\nImage0=a.jpg\r\n"), "第 5 行: 幻灯片图片的编号"},
        // A number written with a leading zero once made the reader look for a key it never saw.
        {withBody("[Slideshow]\r\nImage1=a.jpg\r\nImage3=c.jpg\r\nImage02.Name=x.jpg\r\n"),
         "第 7 行: 幻灯片图片的编号"},
        {withBody("[Slideshow]\r\nImage100000000000=a.jpg\r\n"), "第 5 行: 幻灯片图片的编号"},
        {withBody("[Slideshow]\r\nImage1=\r\n"), "第 5 行: 幻灯片图片 Image1 的路径是空的"},
    };
    for (const Case& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        const ProjectReadResult read = readProjectFile(c.bytes);
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_FALSE(read.document) << c.expected;
        EXPECT_NE(read.error.find(c.expected), std::string::npos)
            << "expected \"" << c.expected << "\", got \"" << read.error << "\"";
        EXPECT_LT(took, std::chrono::seconds(1)) << c.expected;
    }
}

// Names the system takes for a device, or whose characters run in another direction than they
// show, are no copy names: refused by the reader whichever key gives them; lookalikes pass.
TEST(ProjectFile, DeviceAndDirectionNamesAreNoCopyNames) {
    const std::vector<std::string> devices = {
        "LPT1.jpg",    "PRN.jpg",  "aux",        "aux.tar.gz", "NUL.jpg",
        "nul .jpg",    "COM1.jpg", "con.",       "Com9 . .",   "lpt\xC2\xB9.jpg",
        "COM\xC2\xB3", "CONIN$",   "conout$.txt"};
    const std::vector<std::string> turning = {"gpj.\u202Eexe", "a\u2066b.jpg", "a\u200F.jpg",
                                              "a\u061C.jpg"};
    const std::vector<std::string> lookalikes = {"COM0.jpg", "LPT10.jpg",    "CONSOLE.jpg",
                                                 "nul2.jpg", "COM\xC2\xB9x", "a\u200Bb.jpg"};
    for (const auto& [names, why] : {std::pair{devices, std::string_view("设备名")},
                                     std::pair{turning, std::string_view("文字显示方向")},
                                     std::pair{lookalikes, std::string_view()}}) {
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            const ProjectReadResult read = readProjectFile(withBody(
                "[Picks]\r\nPointer.Wait=C:\\B\\x.cur\r\nPointer.Wait.Name=" + name + "\r\n"));
            EXPECT_EQ(read.document.has_value(), why.empty()) << read.error;
            if (!why.empty()) {
                EXPECT_TRUE(read.error.starts_with("第 6 行: 文件名 \"" + name + "\" 无效"))
                    << read.error;
                EXPECT_NE(read.error.find(why), std::string::npos) << read.error;
            }
        }
    }
}

} // namespace
} // namespace quorvel
