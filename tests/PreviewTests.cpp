// The preview model: which fields preview what, thumbnail geometry, the header readers with
// their bad-input catalogue (zero bytes, text posing as a pointer, truncation, an absurd frame
// count), and the desktop preview's scene and layout.
#include "MemoryControls.h"
#include "model/FileHeaders.h"
#include "pages/ControlTable.h"
#include "pages/Pickers.h"
#include "pages/WindowStyle.h"
#include "preview/Preview.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace quorvel::test {
namespace {

using namespace preview;

preview::ReadAt readerOf(const std::string& bytes) {
    return [&bytes](std::uint64_t offset, std::size_t count) {
        return offset >= bytes.size() ? std::string() : bytes.substr(offset, count);
    };
}

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
std::string chunk(std::string_view id, const std::string& data) {
    std::string c(id);
    put32(c, static_cast<std::uint32_t>(data.size()));
    c += data;
    if (data.size() % 2) {
        c += '\0';
    }
    return c;
}
std::string riff(std::string_view form, const std::string& chunks) {
    std::string r = "RIFF";
    put32(r, static_cast<std::uint32_t>(4 + chunks.size()));
    return r + std::string(form) + chunks;
}

TEST(Preview, EveryPickerFieldPreviewsItsSlotKindAndNothingElseDoes) {
    const std::map<SlotKind, FieldRole> expected = {
        {SlotKind::Icon, FieldRole::Icon},
        {SlotKind::Cursor, FieldRole::Pointer},
        {SlotKind::Sound, FieldRole::Sound},
        {SlotKind::Screensaver, FieldRole::Screensaver},
        {SlotKind::Wallpaper, FieldRole::Wallpaper},
        {SlotKind::VisualStyle, FieldRole::VisualStyle}};
    for (const AssetPickerDef& picker : assetPickers()) {
        EXPECT_EQ(fieldRole(picker.field), expected.at(picker.slot.kind)) << picker.field;
        EXPECT_FALSE(fieldRole(picker.button)) << picker.button;
    }
    EXPECT_EQ(fieldRole(ControlId::Win7Slideshow), FieldRole::Slideshow);
    EXPECT_FALSE(fieldRole(ControlId::Win7WindowColor));
    EXPECT_FALSE(fieldRole(ControlId::Win7SlideshowInterval));
}

TEST(Preview, KindFollowsTheFieldAndTheFileNamesExtension) {
    const struct {
        FieldRole role;
        std::string_view path;
        Kind kind;
    } cases[] = {
        {FieldRole::Icon, "C:\\a\\文档.ICO", Kind::IconFile},
        {FieldRole::Icon, "C:\\a\\shell32.dll", Kind::IconInModule},
        {FieldRole::Icon, "C:\\a\\icons.icl", Kind::IconInModule},
        {FieldRole::Icon, "C:\\a.ico\\noextension", Kind::IconInModule},
        {FieldRole::Pointer, "C:\\a\\busy.Ani", Kind::AnimatedPointer},
        {FieldRole::Pointer, "C:\\a\\arrow.cur", Kind::Pointer},
        {FieldRole::Pointer, "C:\\a.ani\\arrow", Kind::Pointer},
        {FieldRole::Wallpaper, "C:\\a\\x.txt", Kind::Image},
        {FieldRole::Sound, "C:\\a\\x.wav", Kind::Sound},
        {FieldRole::VisualStyle, "C:\\a\\aero.msstyles", Kind::VisualStyle},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kindOf(c.role, c.path), c.kind) << c.path;
    }
}

TEST(Preview, RequestsPreviewTheFieldsPathOrTheFirstSlideshowImages) {
    ThemeProject project;
    EXPECT_FALSE(requestFor(ControlId::Win7Wallpaper, "   ", project));
    EXPECT_FALSE(requestFor(ControlId::Win7WindowColor, "0066FF", project));
    const auto single = requestFor(pointerField(PageSet::Win7, 9), " C:\\p\\a.ani ", project);
    ASSERT_TRUE(single);
    EXPECT_EQ(*single, (Request{Kind::AnimatedPointer, {"C:\\p\\a.ani"}, 1}));

    EXPECT_FALSE(requestFor(ControlId::Win7Slideshow, "a.jpg;", project))
        << "no images in the project";
    for (int i = 0; i < 300; ++i) {
        project.slideshowFiles.push_back({"C:\\s\\" + std::to_string(i) + ".jpg", ""});
    }
    EXPECT_FALSE(requestFor(ControlId::Win7Slideshow, "", project))
        << "an emptied field shows nothing";
    const auto row = requestFor(ControlId::Win7Slideshow, "0.jpg;1.jpg;", project);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->total, 300);
    ASSERT_EQ(row->paths.size(), static_cast<std::size_t>(kSlideshowShown));
    EXPECT_EQ(row->paths.back(), "C:\\s\\" + std::to_string(kSlideshowShown - 1) + ".jpg");
}

TEST(Preview, FailureReasonsAreShortAndDistinct) {
    std::set<std::string_view> seen;
    for (int f = 0; f <= static_cast<int>(Failure::BadAnimation); ++f) {
        const std::string_view text = failureText(static_cast<Failure>(f));
        EXPECT_FALSE(text.empty());
        EXPECT_LE(text.size(), 30u) << text; // ten Chinese characters
        EXPECT_TRUE(seen.insert(text).second) << text;
    }
}

TEST(Preview, ThumbnailsKeepTheAspectFitAndNeverGrow) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> side(1, 9000);
    for (int i = 0; i < 2000; ++i) {
        const Size image = {side(random), side(random)};
        const Size box = {side(random) % 400 + 1, side(random) % 400 + 1};
        const Size fit = fitInside(image, box);
        EXPECT_LE(fit.width, std::min(box.width, image.width));
        EXPECT_LE(fit.height, std::min(box.height, image.height));
        EXPECT_GE(fit.width, 1);
        EXPECT_GE(fit.height, 1);
        // One side reaches the box (or the image), and the ratio is kept to rounding.
        EXPECT_TRUE(fit.width == box.width || fit.height == box.height || fit == image);
        const double ratio = static_cast<double>(image.width) / image.height;
        if (fit.width > 1 && fit.height > 1) {
            EXPECT_NEAR(static_cast<double>(fit.width) / fit.height, ratio,
                        ratio * (1.0 / fit.height + 1.0 / fit.width) + 1e-9);
        }
        const Size cover = coverBox(image, box);
        EXPECT_GE(cover.width, box.width);
        EXPECT_GE(cover.height, box.height);
        EXPECT_TRUE(cover.width == box.width || cover.height == box.height);
    }
    EXPECT_EQ(fitInside({6000, 4000}, kImageBox), (Size{200, 133}));
    EXPECT_EQ(fitInside({0, 10}, kImageBox), (Size{0, 0}));
}

TEST(Preview, TheSlideshowRowCentresEachImageInItsOwnCell) {
    const std::vector<Size> images = {{4000, 3000}, {1000, 4000}, {50, 20}};
    const std::vector<Placed> row = thumbnailRow(images, kSlideshowBox, kPadding, kGap);
    ASSERT_EQ(row.size(), images.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int cellLeft = kPadding + static_cast<int>(i) * (kSlideshowBox.width + kGap);
        EXPECT_EQ(row[i].left - cellLeft,
                  cellLeft + kSlideshowBox.width - row[i].left - row[i].width)
            << i;
        EXPECT_GE(row[i].top, kPadding);
        EXPECT_LE(row[i].top + row[i].height, kPadding + kSlideshowBox.height);
    }
    EXPECT_EQ(slideshowCountText(300), "共 300 张图片");
}

TEST(Preview, SizesAndLengthsAsPeopleReadThem) {
    EXPECT_EQ(sizeText(512), "512 字节");
    EXPECT_EQ(sizeText(1536), "1.5 KB");
    EXPECT_EQ(sizeText(24'536'000), "23.4 MB");
    EXPECT_EQ(durationText(3250), "0:03.25");
    EXPECT_EQ(durationText(62'000), "1:02.00");
    EXPECT_EQ(durationText(3'723'000), "1:02:03");
}

TEST(PreviewReaders, IconAndPointerDirectories) {
    std::string cursor;
    put16(cursor, 0);
    put16(cursor, 2);
    put16(cursor, 1);
    cursor += std::string("\x20\x20\0\0", 4);
    put16(cursor, 5);
    put16(cursor, 7);
    put32(cursor, 100);
    put32(cursor, 22);
    cursor += std::string(100, 'x');
    EXPECT_EQ(checkIconDirectory(readerOf(cursor), cursor.size(), true), std::nullopt);
    EXPECT_EQ(checkIconDirectory(readerOf(cursor), cursor.size(), false), Failure::NotAnIcon)
        << "a cursor is no icon";
    const std::string truncated = cursor.substr(0, 60);
    EXPECT_EQ(checkIconDirectory(readerOf(truncated), truncated.size(), true), Failure::Damaged);
    const std::string text = "this is a text file, not a pointer\r\n";
    EXPECT_EQ(checkIconDirectory(readerOf(text), text.size(), true), Failure::NotAPointer);
    const std::string empty;
    EXPECT_EQ(checkIconDirectory(readerOf(empty), 0, false), Failure::Empty);
    EXPECT_EQ(checkIconDirectory(readerOf(cursor.substr(0, 3)), 3, true), Failure::Damaged);
}

std::string animation(std::uint32_t frames, std::uint32_t steps, bool withRates) {
    std::string header;
    for (std::uint32_t v : {36u, frames, steps, 32u, 32u, 32u, 1u, 10u, 1u}) {
        put32(header, v);
    }
    std::string chunks = chunk("anih", header);
    if (withRates) {
        std::string rates;
        for (std::uint32_t i = 0; i < steps; ++i) {
            put32(rates, 5 + i);
        }
        chunks += chunk("rate", rates);
    }
    chunks += chunk("LIST", "fram" + chunk("icon", std::string(64, 'i')));
    return riff("ACON", chunks);
}

TEST(PreviewReaders, AnimatedPointerHeadersAreCheckedBeforeTheSystemSeesThem) {
    const std::string good = animation(1, 3, true);
    const AnimationRead read = readAnimation(readerOf(good), good.size());
    ASSERT_TRUE(read.animation);
    EXPECT_EQ(read.animation->rates, (std::vector<std::uint32_t>{5, 6, 7}));
    const std::string plain = animation(2, 2, false);
    EXPECT_EQ(readAnimation(readerOf(plain), plain.size()).animation->rates,
              (std::vector<std::uint32_t>{10, 10}));

    const std::string huge = animation(1'000'000'000, 1'000'000'000, false);
    EXPECT_EQ(readAnimation(readerOf(huge), huge.size()).failure, Failure::BadAnimation);
    EXPECT_FALSE(readAnimation(readerOf(huge), huge.size()).animation);
    const std::string cut = good.substr(0, good.size() - 20);
    EXPECT_EQ(readAnimation(readerOf(cut), cut.size()).failure, Failure::Damaged);
    const std::string wave = riff("WAVE", chunk("data", "x"));
    EXPECT_EQ(readAnimation(readerOf(wave), wave.size()).failure, Failure::NotAPointer);
    EXPECT_EQ(readAnimation(readerOf(""), 0).failure, Failure::Empty);
}

TEST(PreviewReaders, SoundLengthFromTheFormatAndTheDataSize) {
    std::string format;
    put16(format, 1);
    put16(format, 2);
    put32(format, 44100);
    put32(format, 44100 * 4);
    put16(format, 4);
    put16(format, 16);
    const std::string second =
        riff("WAVE", chunk("LIST", std::string(300, 'm')) + chunk("fmt ", format) +
                         chunk("data", std::string(44100 * 4, '\0')));
    EXPECT_EQ(wavDurationMs(readerOf(second), second.size()), 1000u);
    // A truncated file plays as far as it goes.
    const std::string half = second.substr(0, second.size() - 44100 * 2);
    EXPECT_EQ(wavDurationMs(readerOf(half), half.size()), 500u);
    const std::string noFormat = riff("WAVE", chunk("data", "abcd"));
    EXPECT_FALSE(wavDurationMs(readerOf(noFormat), noFormat.size()));
    EXPECT_FALSE(wavDurationMs(readerOf("not a sound"), 11));
}

TEST(DesktopPreview, EmptyChoicesStandForTheDefaultsAndChosenOnesComeFromTheirPageSet) {
    ThemeProject project;
    MemoryControls controls;
    DesktopScene scene = desktopScene(controls, project, false);
    EXPECT_TRUE(scene.wallpapers.empty());
    EXPECT_EQ(scene.arrowPointer, "");
    EXPECT_EQ(scene.windowColor, *parseRgbHex(kInitialWindowColor));
    EXPECT_EQ(scene.windowAlpha, kInitialAlpha);

    controls.setText(ControlId::Win7Wallpaper, "C:\\w.jpg");
    controls.setText(ControlId::XpWallpaper, "C:\\x.jpg");
    controls.setText(pointerField(PageSet::Win7, 9), "C:\\arrow.cur");
    controls.setText(ControlId::XpIconRecycleFull, "C:\\full.ico");
    controls.setText(ControlId::Win7WindowColor, "ff8000");
    controls.setText(ControlId::Win7Alpha, "300");
    scene = desktopScene(controls, project, false);
    EXPECT_EQ(scene.wallpapers, std::vector<std::string>{"C:\\w.jpg"});
    EXPECT_EQ(scene.arrowPointer, "C:\\arrow.cur");
    EXPECT_EQ(scene.windowColor, (Rgb{255, 128, 0}));
    EXPECT_EQ(scene.windowAlpha, 255);
    EXPECT_EQ(scene.icons[4], "");
    scene = desktopScene(controls, project, true);
    EXPECT_EQ(scene.wallpapers, std::vector<std::string>{"C:\\x.jpg"});
    EXPECT_EQ(scene.icons[4], "C:\\full.ico");
    EXPECT_EQ(scene.arrowPointer, "");

    project.slideshowFiles = {{"C:\\1.jpg", "1.jpg"}, {"C:\\2.jpg", "2.jpg"}};
    controls.setText(ControlId::Win7Slideshow, "1.jpg;2.jpg;");
    EXPECT_EQ(desktopScene(controls, project, false).wallpapers,
              (std::vector<std::string>{"C:\\1.jpg", "C:\\2.jpg"}));
    EXPECT_EQ(desktopScene(controls, project, true).wallpapers,
              std::vector<std::string>{"C:\\x.jpg"});
    EXPECT_FALSE(parseRgbHex("12345"));
    EXPECT_FALSE(parseRgbHex("12345G"));
}

TEST(DesktopPreview, LayoutIsASixteenByTenScreenWithAnIconColumnAndASampleWindow) {
    for (const bool xp : {false, true}) {
        EXPECT_EQ(desktopLabels(xp)[2], xp ? "网上邻居" : "网络");
        for (const int width : {640, 800, 960, 1280}) {
            const DesktopLayout l = desktopLayout(width, xp);
            EXPECT_EQ(l.screen.width * 10, l.screen.height * 16);
            const auto inside = [&](const Placed& p) {
                return p.left >= 0 && p.top >= 0 && p.left + p.width <= l.screen.width &&
                       p.top + p.height <= l.screen.height;
            };
            for (std::size_t i = 0; i < l.icons.size(); ++i) {
                EXPECT_TRUE(inside(l.icons[i]) && inside(l.labels[i])) << width << " " << i;
                EXPECT_GT(l.labels[i].top, l.icons[i].top + l.icons[i].height - 1);
                EXPECT_LT(l.labels[i].left + l.labels[i].width, l.window.left);
                if (i > 0) {
                    EXPECT_GE(l.icons[i].top, l.labels[i - 1].top + l.labels[i - 1].height);
                }
            }
            EXPECT_TRUE(inside(l.window));
            EXPECT_EQ(l.client.left - l.window.left, l.frame);
            EXPECT_EQ(l.caption.top + l.caption.height, l.client.top);
            EXPECT_EQ(l.client.top + l.client.height + l.frame, l.window.top + l.window.height);
            EXPECT_GT(l.pointerX, l.window.left + l.window.width);
            EXPECT_LT(l.pointerY, l.screen.height);
        }
    }
    EXPECT_EQ(blend({255, 128, 0}, {20, 140, 200}, 255), (Rgb{255, 128, 0}));
    EXPECT_EQ(blend({255, 128, 0}, {20, 140, 200}, 0), (Rgb{20, 140, 200}));
    EXPECT_EQ(blend({255, 0, 0}, {0, 0, 0}, 128), (Rgb{128, 0, 0}));
}

} // namespace
} // namespace quorvel::test
