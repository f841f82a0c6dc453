// The theme document: the pages' edit rules, their forward checks and the request made from it.
#include "model/ProjectFile.h"
#include "model/Texts.h"
#include "model/ThemeDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {
namespace {

constexpr PageSet kSets[] = {PageSet::Win7, PageSet::Xp};

// Choosing a scheme item: the name is the system scheme's for its item, empty otherwise, and
// every path field of the scheme (not those of the other) is emptied.
TEST(ThemeDocument, ChoosingASchemeSetsItsNameAndEmptiesItsFields) {
    for (const PageSet set : kSets) {
        for (const SchemeKind kind : {SchemeKind::Pointers, SchemeKind::Sounds}) {
            for (int item = kNoSchemeItem; item <= kCustomSchemeItem; ++item) {
                PageChoices c;
                c.pointerScheme.name = "earlier";
                c.soundScheme.name = "earlier";
                c.pointerPaths.fill("p");
                c.soundPaths.fill("s");
                chooseScheme(c, set, kind, item);
                const bool pointers = kind == SchemeKind::Pointers;
                const SchemeChoice& chosen = pointers ? c.pointerScheme : c.soundScheme;
                const SchemeChoice& other = pointers ? c.soundScheme : c.pointerScheme;
                EXPECT_EQ(chosen.item, item);
                EXPECT_EQ(chosen.name, item == kDefaultSchemeItem
                                           ? std::string(defaultSchemeName(set, kind))
                                           : "");
                EXPECT_EQ(other, (SchemeChoice{kNoSchemeItem, "earlier"}));
                for (const std::string& path : c.pointerPaths) {
                    EXPECT_EQ(path, pointers ? "" : "p");
                }
                for (const std::string& path : c.soundPaths) {
                    EXPECT_EQ(path, pointers ? "s" : "");
                }
            }
        }
    }
    EXPECT_EQ(defaultSchemeName(PageSet::Xp, SchemeKind::Sounds), text::kXpDefaultSoundScheme);
}

// The two tick boxes from every state, as a click sets or clears them: at most one is set, the
// system one's list and the own one's field are emptied as the window's handlers empty them.
TEST(ThemeDocument, TickBoxesKeepAtMostOneScreensaver) {
    using S = ScreensaverSource;
    struct Case {
        S from;
        S box;
        bool ticked;
        S to;
        int item;        // the list's item after, from 4
        std::string own; // the own file's field after, from "own.scr"
    };
    const Case cases[] = {
        {S::None, S::System, true, S::System, 4, ""},
        {S::None, S::Own, true, S::Own, 0, "own.scr"},
        {S::None, S::System, false, S::None, 4, "own.scr"}, // already clear: left alone
        {S::System, S::System, true, S::System, 4, "own.scr"},
        {S::System, S::System, false, S::None, 0, "own.scr"},
        {S::System, S::Own, true, S::Own, 0, "own.scr"},
        {S::System, S::Own, false, S::System, 4, "own.scr"},
        {S::Own, S::Own, false, S::None, 4, ""},
        {S::Own, S::System, true, S::System, 4, ""},
        {S::Own, S::System, false, S::Own, 4, "own.scr"},
    };
    for (const Case& c : cases) {
        PageChoices choices;
        choices.screensaver = c.from;
        choices.systemScreensaverItem = 4;
        choices.ownScreensaverPath = "own.scr";
        tickScreensaver(choices, c.box, c.ticked);
        const int at = static_cast<int>(&c - cases);
        EXPECT_EQ(choices.screensaver, c.to) << at;
        EXPECT_EQ(choices.systemScreensaverItem, c.item) << at;
        EXPECT_EQ(choices.ownScreensaverPath, c.own) << at;
    }
}

TEST(ThemeDocument, SliderAndDesktopPageRules) {
    PageChoices c;
    moveTransparencySlider(c, 9);
    EXPECT_EQ(c.transparencySlider, 9);
    EXPECT_EQ(c.transparency, "9");

    struct Case {
        std::string images, interval, after;
    };
    const Case cases[] = {
        {"", "", ""},           {"", "60", ""},  {"a.jpg;", "", "180"},
        {"a.jpg;", "60", "60"}, {" ", " ", " "}, // a blank is no empty text
    };
    for (const Case& k : cases) {
        c.slideshowImages = k.images;
        c.slideshowInterval = k.interval;
        passDesktopPage(c);
        EXPECT_EQ(c.slideshowInterval, k.after) << "[" << k.images << "] [" << k.interval << "]";
    }
}

// The forward checks in page order: the first that fails speaks.
TEST(ThemeDocument, ForwardChecksSpeakInPageOrder) {
    struct Case {
        int pointers;
        std::string pointerName;
        int sounds;
        std::string soundName;
        std::string style;
        std::optional<std::string_view> message;
    };
    const Case cases[] = {
        {0, "", 0, "", "", text::kNoCursorScheme},
        {2, "", 0, "", "", text::kNoCursorSchemeName},
        {2, "n", 0, "", "", text::kNoSoundScheme},
        {1, "", 2, "", "", text::kNoSoundSchemeName},
        {1, "", 1, "", "", text::kNoVisualStyle},
        {1, "", 2, "n", " ", std::nullopt}, // blanks pass
        {2, " ", 1, "", "a.msstyles", std::nullopt},
    };
    for (const Case& c : cases) {
        PageChoices choices;
        choices.pointerScheme = {c.pointers, c.pointerName};
        choices.soundScheme = {c.sounds, c.soundName};
        choices.visualStylePath = c.style;
        EXPECT_EQ(forwardChecks(choices), c.message) << static_cast<int>(&c - cases);
    }
}

// A slot is chosen exactly when its path field is not empty (a blank is not empty), whether or
// not a file was picked for it; the request takes the page set's own fields and the shared picks.
TEST(ThemeDocument, TheRequestChoosesTheSlotsWhoseFieldsAreNotEmpty) {
    for (const PageSet set : kSets) {
        for (const ProjectField& field : projectFields(set)) {
            if (field.role != FieldRole::Text) {
                continue;
            }
            for (const std::string text : {"", " ", "C:\\typed.ico"}) {
                ThemeDocument document;
                document.picks.iconFiles[0] = {"C:\\picked.ico", "picked.ico"};
                // The other page set's fields say nothing about this one's request.
                for (const ProjectField& other : projectFields(PageSet::Win7)) {
                    if (other.role == FieldRole::Text && set == PageSet::Xp) {
                        other.text(document.win7) = "other page set";
                    }
                }
                field.text(document.choices(set)) = text;
                const ThemeRequest request = requestOf(document, set);
                const bool chosen = !text.empty();
                std::vector<bool> flags;
                flags.insert(flags.end(), request.iconChosen.begin(), request.iconChosen.end());
                flags.insert(flags.end(), request.pointerChosen.begin(),
                             request.pointerChosen.end());
                flags.insert(flags.end(), request.soundChosen.begin(), request.soundChosen.end());
                flags.push_back(request.wallpaperChosen);
                flags.push_back(request.slideshowChosen);
                const auto count = std::count(flags.begin(), flags.end(), true);
                const bool slot = field.key.starts_with("Icon.") ||
                                  field.key.starts_with("Pointer.") ||
                                  field.key.starts_with("Sound.") || field.key == "Wallpaper" ||
                                  field.key == "Slideshow";
                EXPECT_EQ(count, slot && chosen ? 1 : 0) << field.key << " [" << text << "]";
                EXPECT_EQ(request.pageSet, set);
                EXPECT_EQ(request.project.iconFiles[0].sourcePath, "C:\\picked.ico");
                if (field.key == "Icon.Documents") {
                    EXPECT_EQ(request.iconChosen[0], chosen);
                } else if (field.key == "ThemeName") {
                    EXPECT_EQ(request.project.themeName, text);
                } else if (field.key == "PointerSchemeName") {
                    EXPECT_EQ(request.project.cursorSchemeName, text);
                } else if (field.key == "SoundSchemeName") {
                    EXPECT_EQ(request.project.soundSchemeName, text);
                }
            }
        }
    }
}

TEST(ThemeDocument, TheRequestTakesThePagesValues) {
    ThemeDocument document;
    document.win7.screensaver = ScreensaverSource::Own;
    document.xp.screensaver = ScreensaverSource::System;
    document.win7.transparency = "300";
    document.win7.windowColor = "74B8FC";
    document.win7.slideshowInterval = "600";
    document.xp.soundPaths[4] = "no XP page shows it";
    document.xp.slideshowImages = "nor this";

    const ThemeRequest win7 = requestOf(document, PageSet::Win7);
    EXPECT_EQ(win7.screensaver, ScreensaverSource::Own);
    EXPECT_EQ(win7.project.windowAlphaText, "FF");
    EXPECT_EQ(win7.project.windowColorText, "74B8FC");
    EXPECT_EQ(win7.project.slideshowIntervalText, "600");

    const ThemeRequest xp = requestOf(document, PageSet::Xp);
    EXPECT_EQ(xp.screensaver, ScreensaverSource::System);
    EXPECT_FALSE(xp.soundChosen[4]);
    EXPECT_FALSE(xp.slideshowChosen);
    EXPECT_EQ(xp.project.windowAlphaText, "");
    EXPECT_EQ(xp.project.windowColorText, "");
    EXPECT_EQ(xp.project.slideshowIntervalText, "");
}

} // namespace
} // namespace quorvel
