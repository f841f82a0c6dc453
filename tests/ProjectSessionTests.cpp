// Keeping and reopening the wizard's work on the in-memory window: the state of the controls as a
// project file's state and back, the version gate, the tracking of changes since the last save,
// and a .theme file opened with some of its files missing.
#include "MemoryControls.h"
#include "WizardHarness.h"

#include "model/Texts.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/Drop.h"
#include "pages/PageFlow.h"
#include "pages/ProjectSession.h"
#include "pages/RequestCapture.h"
#include "pages/WindowStyle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace quorvel {
namespace {

using C = ControlId;

std::span<const std::uint8_t> bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    }
    return bytes;
}

// The smallest files of each kind that the header readers take.
std::string iconFile(bool cursor) {
    return std::string("\0\0", 2) + (cursor ? '\2' : '\1') + std::string("\0\1\0", 3) +
           std::string(8, '\1') + le32(4) + le32(22) + "data";
}
std::string riff(std::string_view form, const std::string& chunks) {
    return "RIFF" + le32(static_cast<std::uint32_t>(4 + chunks.size())) + std::string(form) +
           chunks;
}
std::string animatedPointer() {
    const std::string header = le32(36) + le32(1) + le32(1) + std::string(16, '\0') + le32(6) +
                               le32(1); // size, frames, steps, ..., rate, flags
    return riff("ACON", "anih" + le32(36) + header + "LIST" + le32(4) + "fram");
}
std::string sound() {
    return riff("WAVE", "fmt " + le32(16) + std::string(8, '\1') + le32(8000) +
                            std::string(4, '\0') + "data" + le32(4) + "wave");
}
std::string programImage() {
    return "MZ" + std::string(0x3A, '\0') + le32(0x40) + std::string("PE\0\0", 4) + "image";
}
std::string jpeg() {
    return "\xFF\xD8\xFF\xE0 picture";
}

class Session : public testing::Test, protected test::WizardHarness {
protected:
    ProjectSession session{wizard};
    std::mt19937 random{20261207};

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    std::string someText() {
        static const std::array<std::string_view, 5> pool = {
            "", "港湾", "D:\\主题素材\\图标\\文档.ico", " a b ", "%SystemRoot%\\x.cur"};
        return std::string(pool[static_cast<std::size_t>(below(5))]);
    }

    // Whether actRandomly also acts on the window beside the controls (actOnTheWindow). The
    // forward step of the desktop page disables a field, which a project file does not keep.
    bool windowActions = false;

    // What a user does on the pages: picks items, ticks boxes, moves the slider, types and
    // browses, each through the handler the window runs.
    void actRandomly(int steps) {
        std::vector<const ControlDef*> stateful;
        for (const ControlDef& def : controlTable()) {
            if (def.kind == ControlKind::EditField || def.kind == ControlKind::ComboBox ||
                def.kind == ControlKind::TickBox || def.kind == ControlKind::Slider) {
                stateful.push_back(&def);
            }
        }
        for (int step = 0; step < steps; ++step) {
            if (windowActions && below(6) == 0) {
                actOnTheWindow(step);
                continue;
            }
            const ControlDef& def =
                *stateful[static_cast<std::size_t>(below(static_cast<int>(stateful.size())))];
            ui.goToPage(def.page.value());
            switch (def.kind) {
            case ControlKind::ComboBox:
                ui.setComboIndex(def.id, below(static_cast<int>(def.items.size())));
                dispatch(wizard, def.id, ControlEvent::ItemPicked);
                break;
            case ControlKind::TickBox:
                dispatch(wizard, def.id, ControlEvent::TickReleased);
                break;
            case ControlKind::Slider:
                ui.setSliderPosition(def.id, below(def.maximum + 1));
                dispatch(wizard, def.id, ControlEvent::SliderMoved);
                break;
            default:
                if (const AssetPickerDef* picker = [&]() -> const AssetPickerDef* {
                        for (const AssetPickerDef& p : assetPickers()) {
                            if (p.field == def.id) {
                                return &p;
                            }
                        }
                        return nullptr;
                    }();
                    picker && ui.enabled(picker->button)) {
                    dialogs.fileAnswers.push_back("C:\\素材\\" + std::to_string(step) + ".x");
                    dispatch(wizard, picker->button, ControlEvent::Click);
                } else if (def.id == C::Win7Slideshow) {
                    dialogs.filesAnswers.push_back({"C:\\a.jpg", "D:\\图\\b.jpg"});
                    dispatch(wizard, C::Win7SlideshowBrowse, ControlEvent::Click);
                } else {
                    type(def.id, someText());
                }
                break;
            }
        }
        if (below(2)) {
            pickColor();
        }
    }

    // A pick of the colour palette, as the window takes it.
    void pickColor() {
        app.palette.pickedColor = Rgb{0x12, 0x34, static_cast<std::uint8_t>(below(256))};
        applyPickedWindowColor(ui, app.palette.pickedColor);
        takeEdit(wizard, C::Win7WindowColor);
    }

    // What the user does beside the controls' own events: the palette, the forward step of the
    // desktop page, files and folders dropped on the fields.
    void actOnTheWindow(int step) {
        const auto pickers = assetPickers();
        const auto& picker =
            pickers[static_cast<std::size_t>(below(static_cast<int>(pickers.size())))];
        const PageSetControls& c = pageSetControls(below(2) ? PageSet::Win7 : PageSet::Xp);
        // The first mask of the picker's filter gives a file it takes.
        const std::string_view masks = picker.filter.substr(picker.filter.find("|*") + 2);
        const std::string file =
            "D:\\拖来\\" + std::to_string(step) + std::string(masks.substr(0, masks.find(';')));
        const auto drop = [&](ControlId target, std::vector<DroppedItem> items) {
            ui.goToPage(controlDef(target).page.value());
            dropFiles(wizard, target, items, [](const std::string&) {});
        };
        switch (below(5)) {
        case 0:
            pickColor();
            break;
        case 1:
            ui.goToPage(Page::Win74);
            dispatch(wizard, C::Win7DesktopNext, ControlEvent::Click);
            break;
        case 2:
            drop(picker.field, {{file, false}});
            break;
        case 3:
            drop(C::Win7Slideshow, {{"D:\\拖来\\a.jpg", false}, {"D:\\拖来\\b.png", false}});
            break;
        default:
            drop(c.saveLocation, {{"D:\\存放" + std::to_string(step), true}});
            break;
        }
    }

    struct Look {
        std::string text;
        bool enabled;
        int index;
        int position;
        bool operator==(const Look&) const = default;
    };
    // Every control of the two page sets as the user sees it.
    static std::vector<Look> lookOf(const MemoryWizardUi& of) {
        std::vector<Look> looks;
        for (const ControlDef& def : controlTable()) {
            if (def.page >= Page::Win71) {
                looks.push_back({of.text(def.id), of.enabled(def.id),
                                 def.kind == ControlKind::ComboBox ? of.comboIndex(def.id) : 0,
                                 def.kind == ControlKind::Slider ? of.sliderPosition(def.id) : 0});
            }
        }
        return looks;
    }

    std::string path(std::string_view name) { return sandbox->root() + "\\" + std::string(name); }
    std::string file(std::string_view name, std::string_view content) {
        const std::string written = path(name);
        EXPECT_TRUE(platform.writeFile(written, bytes(content)));
        return written;
    }
};

TEST_F(Session, RestoringASnapshotReproducesWhatTheUsersActionsMade) {
    for (int round = 0; round < 40; ++round) {
        ui = MemoryWizardUi();
        app = AppState();
        actRandomly(60);
        const PageSet set = round % 2 ? PageSet::Xp : PageSet::Win7;
        const ThemeDocument state = documentOfControls(ui, app, set);
        const ThemeDocument reread = *readProjectFile(writeProjectFile(state).bytes).document;
        ASSERT_EQ(reread, state);

        // Into a wizard that went through other actions: the file's state replaces them all.
        MemoryWizardUi other;
        std::swap(other, ui);
        AppState otherApp;
        std::swap(otherApp, app);
        actRandomly(30);
        showDocument(reread, ui, app);
        restorePickedColor(reread.pickedColor, app.palette);
        ASSERT_EQ(documentOfControls(ui, app, set), state) << "round " << round;
        ASSERT_EQ(lookOf(ui), lookOf(other)) << "round " << round;
    }
}

TEST_F(Session, TheWindowsDocumentFollowsEveryUserAction) {
    for (int round = 0; round < 30; ++round) {
        ui = MemoryWizardUi();
        app = AppState();
        ASSERT_EQ(app.document, documentOfControls(ui, app, app.document.pageSet));
        windowActions = true;
        for (int step = 0; step < 12; ++step) {
            actRandomly(5);
            ASSERT_EQ(app.document, documentOfControls(ui, app, app.document.pageSet))
                << "round " << round << ", step " << step;
        }
    }
}

TEST_F(Session, AProjectForAPageSetTheGateRefusesChangesNothing) {
    ThemeDocument state;
    state.pageSet = PageSet::Xp;
    const std::string file = path("xp.quorvel");
    const std::string text = writeProjectFile(state).bytes;
    ASSERT_TRUE(platform.writeFile(file, bytes(text)));
    type(C::Win7ThemeName, "未保存");
    const ThemeDocument before = documentOfControls(ui, app, PageSet::Win7);

    EXPECT_FALSE(session.open(file));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, text::kXpOnly);
    EXPECT_EQ(documentOfControls(ui, app, PageSet::Win7), before);
    EXPECT_EQ(ui.currentPage(), Page::Main);
    EXPECT_TRUE(session.path().empty());

    platform.version = {5, 1};
    EXPECT_TRUE(session.open(file));
    EXPECT_EQ(ui.currentPage(), Page::Xp1);
    EXPECT_EQ(ui.text(C::Win7ThemeName), "");

    // Saved from the main page without a project file: the page set this system opens.
    ProjectSession fresh{wizard};
    ui.goToPage(Page::Main);
    dialogs.saveAnswers.push_back(path("fresh.quorvel"));
    ASSERT_TRUE(fresh.save());
    EXPECT_EQ(readProjectFile(*platform.readFile(path("fresh.quorvel"))).document->pageSet,
              PageSet::Xp);
}

TEST_F(Session, ChangesAfterAnOpenOrASaveMakeTheProjectModified) {
    EXPECT_FALSE(session.modified()); // no project file: nothing to ask about
    type(C::Win7ThemeName, "港湾");
    const std::string file = path("港湾.quorvel");
    dialogs.saveAnswers.push_back(file);
    ASSERT_TRUE(session.save());
    ASSERT_EQ(dialogs.saveFileCalls.size(), 1u);
    EXPECT_EQ(dialogs.saveFileCalls[0].initialFileName, "港湾.quorvel");
    EXPECT_EQ(dialogs.saveFileCalls[0].defaultExtension, "quorvel");
    EXPECT_EQ(session.path(), file);
    EXPECT_FALSE(session.modified());
    EXPECT_EQ(platform.readFile(file),
              writeProjectFile(documentOfControls(ui, app, PageSet::Win7)).bytes);

    ui.goToPage(Page::Win72);
    ui.setComboIndex(C::Win7PointerScheme, kCustomSchemeItem);
    dispatch(wizard, C::Win7PointerScheme, ControlEvent::ItemPicked);
    EXPECT_TRUE(session.modified());
    ASSERT_TRUE(session.save()); // the same file, no dialog
    EXPECT_EQ(dialogs.saveFileCalls.size(), 1u);
    EXPECT_FALSE(session.modified());

    ui.goToPage(Page::Win74);
    dialogs.fileAnswers.push_back("C:\\w.jpg");
    dispatch(wizard, pageSetControls(PageSet::Win7).wallpaperButton, ControlEvent::Click);
    EXPECT_TRUE(session.modified());
    ASSERT_TRUE(session.open(file));
    EXPECT_FALSE(session.modified());
    EXPECT_EQ(app.project.wallpaperFile, AssetRef{});
    EXPECT_TRUE(ui.enabled(C::Win7PointerSchemeName));

    // A damaged file is refused with its line and changes nothing.
    const std::string damaged = path("damaged.quorvel");
    ASSERT_TRUE(platform.writeFile(damaged, bytes("; Quorvel project 1\r\n[Project]\r\nPageSet")));
    type(C::Win7DisplayName, "改过");
    EXPECT_FALSE(session.open(damaged));
    EXPECT_NE(platform.messages.back().text.find("第 3 行"), std::string::npos)
        << platform.messages.back().text;
    EXPECT_EQ(ui.text(C::Win7DisplayName), "改过");
    EXPECT_EQ(session.path(), file);
    EXPECT_TRUE(session.modified());
}

TEST_F(Session, WhatIsNoFileOnADiskOrIsTooLargeIsRefusedWithoutReadingIt) {
    ASSERT_TRUE(platform.makeDirectory(path("folder.quorvel")));
    std::vector<std::pair<std::string, std::string_view>> cases = {
        {path("folder.quorvel"), text::kDocumentNotAFile},
        {file("huge.theme", std::string(kMaxDocumentBytes + 1, ';')), text::kDocumentTooLarge},
    };
    for (const std::string& device : sandbox->devicePaths()) {
        cases.emplace_back(device, text::kDocumentNotAFile);
    }
    type(C::Win7ThemeName, "留着");
    for (const auto& [opened, reason] : cases) {
        platform.messages.clear();
        EXPECT_FALSE(session.open(opened));
        ASSERT_EQ(platform.messages.size(), 1u) << opened;
        EXPECT_EQ(platform.messages[0].text,
                  std::string(text::kCannotOpenFile) + opened + "\n\n" + std::string(reason));
        EXPECT_EQ(ui.currentPage(), Page::Main);
        EXPECT_EQ(ui.text(C::Win7ThemeName), "留着");
    }
}

TEST_F(Session, AThemeFilesExistingFilesBecomePicksAndTheMissingOnesAreNamedOnce) {
    const std::string icon = path("文档.ico");
    const std::string arrow = path("arrow.cur");
    ASSERT_TRUE(platform.writeFile(icon, bytes(iconFile(false))));
    ASSERT_TRUE(platform.writeFile(arrow, bytes(iconFile(true))));
    const std::string theme = path("港湾.theme");
    const std::string text =
        "[Theme]\r\nDisplayName=秋日港湾\r\n"
        "[CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon]\r\n"
        "DefaultValue=" +
        icon + "\r\n[Control Panel\\Cursors]\r\nWait=C:\\无\\busy.ani\r\nArrow=" + arrow +
        "\r\n"
        "[VisualStyles]\r\nPath=C:\\无\\港湾.msstyles\r\n";
    ASSERT_TRUE(platform.writeFile(theme, bytes(*platform.toAnsi(text))));
    type(C::Win7ThemeName, "留着");

    ASSERT_TRUE(session.open(theme));
    EXPECT_EQ(ui.currentPage(), Page::Win71);
    EXPECT_EQ(ui.text(C::Win7IconDocuments), icon);
    EXPECT_EQ(app.project.iconFiles[0], (AssetRef{icon, "文档.ico"}));
    EXPECT_EQ(ui.text(C::Win7DisplayName), "秋日港湾");
    EXPECT_EQ(ui.text(C::Win7ThemeName), "留着");
    EXPECT_EQ(ui.comboIndex(C::Win7PointerScheme), kCustomSchemeItem);
    EXPECT_TRUE(ui.enabled(pointerButton(PageSet::Win7, 1)));
    EXPECT_EQ(ui.text(pointerField(PageSet::Win7, 9)), arrow);
    EXPECT_EQ(app.project.cursorFiles[9], (AssetRef{arrow, "arrow.cur"}));
    EXPECT_EQ(ui.text(pointerField(PageSet::Win7, 1)), "");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              missingFilesMessage({"C:\\无\\busy.ani", "C:\\无\\港湾.msstyles"}));
    EXPECT_TRUE(session.path().empty());

    // A system screensaver of the page set's list is chosen in that list, whether this machine
    // has the file or not.
    platform.messages.clear();
    const std::string system32 = platform.expandEnvironment("%SystemRoot%\\System32");
    const std::string saver =
        file("saver.theme", "[Theme]\r\n[boot]\r\nSCRNSAVE.EXE=" + system32 + "\\RIBBONS.SCR\r\n");
    ASSERT_TRUE(session.open(saver));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ui.text(C::Win7SystemSaverTick), kTickMark);
    EXPECT_TRUE(ui.enabled(C::Win7SystemSaver));
    EXPECT_EQ(ui.comboIndex(C::Win7SystemSaver), 2);
    EXPECT_EQ(ui.text(C::Win7OwnSaver), "");
    EXPECT_EQ(app.project.screensaverFile,
              (AssetRef{"%SystemRoot%\\System32\\Ribbons.scr", "Ribbons.scr"}));
}

// A file a theme names becomes a pick only when its content is of the slot's kind; the others
// are named with the missing ones, and their fields stay as they were.
TEST_F(Session, AThemeFilesFilesBecomePicksOnlyWhenTheirContentIsOfTheSlotsKind) {
    const std::string ini = "[boot]\r\nshell=explorer.exe\r\n";
    struct Slot {
        std::string section;
        std::string key;
        std::string extension;
        std::string fits;
        std::string other; // of another kind; empty for a text file
        ControlId field;
    };
    const std::string icons = "CLSID\\{59031A47-3F72-44A7-89C5-5595FE6B30EE}\\DefaultIcon";
    const std::string logon = "AppEvents\\Schemes\\Apps\\.Default\\WindowsLogon";
    const std::vector<Slot> slots = {
        {icons, "DefaultValue", ".ico", iconFile(false), iconFile(true), C::Win7IconDocuments},
        {"Control Panel\\Cursors", "Wait", ".ani", animatedPointer(), sound(),
         pointerField(PageSet::Win7, 1)},
        {"Control Panel\\Cursors", "Arrow", ".cur", iconFile(true), iconFile(false),
         pointerField(PageSet::Win7, 9)},
        {logon, "DefaultValue", ".wav", sound(), animatedPointer(), C::Win7SoundLogon},
        {"boot", "SCRNSAVE.EXE", ".scr", programImage(), ini, C::Win7OwnSaver},
        {"Control Panel\\Desktop", "Wallpaper", ".jpg", jpeg(), ini, C::Win7Wallpaper},
        {"VisualStyles", "Path", ".msstyles", programImage(), jpeg(), C::Win7VisualStyle},
        {"Slideshow", "Item1Path", ".jpg", jpeg(), programImage(), C::Win7Slideshow},
        {"Slideshow", "Item2Path", ".png", "\x89PNG\r\n\x1A\n picture", "", C::Win7Slideshow},
    };
    for (const bool fitting : {false, true}) { // the fitting ones overlay the others
        std::string theme = "[Theme]\r\n";
        std::vector<std::string> unfit;
        std::string slideshow;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const Slot& slot = slots[i];
            const std::string name = std::to_string(i) + (fitting ? "好" : "坏") + slot.extension;
            const std::string content = fitting ? slot.fits : slot.other;
            if (!fitting) {
                unfit.push_back(path(name));
            }
            if (fitting && slot.section == "Slideshow") {
                slideshow += name + ";";
            }
            file(name, content.empty() ? ini : content);
            if (i == 0 || slots[i - 1].section != slot.section) {
                theme += "[" + slot.section + "]\r\n";
            }
            theme += slot.key + "=" + path(name) + "\r\n";
        }
        platform.messages.clear();
        app = AppState{};
        ASSERT_TRUE(session.open(file("kinds.theme", *platform.toAnsi(theme))));
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const std::string name =
                std::to_string(i) + (fitting ? "好" : "坏") + slots[i].extension;
            const std::string expected = slots[i].section == "Slideshow"
                                             ? (fitting ? slideshow : "")
                                         : fitting ? path(name)
                                                   : "";
            EXPECT_EQ(ui.text(slots[i].field), expected) << name;
        }
        EXPECT_EQ(app.project.wallpaperFile.sourcePath.empty(), !fitting);
        EXPECT_EQ(app.project.slideshowFiles.size(), fitting ? 2u : 0u);
        if (fitting) {
            EXPECT_TRUE(platform.messages.empty());
        } else {
            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].text, missingFilesMessage({}, unfit));
        }
    }
    // The missing files come first, then the unfit ones, each under its own heading.
    EXPECT_EQ(missingFilesMessage({"C:\\无.ico"}, {"C:\\win.ini"}),
              std::string(text::kMissingThemeFiles) + "\nC:\\无.ico\n\n" +
                  std::string(text::kUnfitThemeFiles) + "\nC:\\win.ini");
}

} // namespace
} // namespace quorvel
