// The control table that the window is built from: one row for each identity, every control
// inside its page, the twin pages of the two wizards alike where their layouts are, browse
// buttons beside their fields, the initial states of the scheme and screensaver groups, the
// keyboard order of each page, and a fingerprint of the whole 96 DPI layout.
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/Pickers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>

namespace quorvel {
namespace {

using C = ControlId;

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

std::string describe(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
           "x" + std::to_string(r.height);
}

TEST(ControlTable, EveryIdentityHasOneRowAndEveryNameIsUnique) {
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const ControlDef& c : controlTable()) {
        EXPECT_TRUE(ids.insert(indexOf(c.id)).second) << "two rows for " << c.name;
        EXPECT_FALSE(c.name.empty()) << indexOf(c.id);
        EXPECT_TRUE(names.insert(c.name).second) << "duplicate " << c.name;
        EXPECT_EQ(&controlDef(c.id), &c) << c.name;
        EXPECT_EQ(findControl(c.name), &c) << c.name;
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kControlCount));
    EXPECT_EQ(findControl("no such control"), nullptr);
}

TEST(ControlTable, EachPageIsOnePictureHoldingAllItsControls) {
    EXPECT_EQ(controlDef(C::PageContainer).kind, ControlKind::PageContainer);
    EXPECT_EQ(controlDef(C::PageContainer).page, std::nullopt);

    ASSERT_EQ(pageInfos().size(), static_cast<std::size_t>(kPageCount));
    for (const PageInfo& info : pageInfos()) {
        const ControlDef& picture = controlDef(info.picture);
        EXPECT_EQ(picture.kind, ControlKind::PagePicture) << info.name;
        EXPECT_EQ(picture.page, info.page) << info.name;
        EXPECT_EQ(picture.rect, (Rect{0, 0, kPageWidth, kPageHeight})) << info.name;
        int pictures = 0;
        for (const ControlDef* c : controlsOfPage(info.page)) {
            pictures += c->kind == ControlKind::PagePicture;
            EXPECT_GE(c->rect.left, 0) << c->name;
            EXPECT_GE(c->rect.top, 0) << c->name;
            EXPECT_LE(c->rect.right(), kPageWidth) << c->name;
            EXPECT_LE(c->rect.bottom(), kPageHeight) << c->name;
        }
        EXPECT_EQ(pictures, 1) << info.name;
    }
    for (const ControlDef& c : controlTable()) {
        if (c.kind != ControlKind::PageContainer) {
            ASSERT_TRUE(c.page.has_value()) << c.name;
            EXPECT_GE(pageIndex(*c.page), 0) << c.name;
            EXPECT_LT(pageIndex(*c.page), kPageCount) << c.name;
        }
    }
}

TEST(ControlTable, ControlsOfAPageDoNotOverlapExceptTheColourButtonOnItsField) {
    for (const Page page : kAllPages) {
        const auto controls = controlsOfPage(page);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const ControlDef& a = *controls[i];
                const ControlDef& b = *controls[j];
                if (a.kind == ControlKind::PagePicture || b.kind == ControlKind::PagePicture) {
                    continue;
                }
                const bool colourPair = a.id == C::Win7WindowColor && b.id == C::Win7PickColor;
                EXPECT_EQ(overlaps(a.rect, b.rect), colourPair) << a.name << " / " << b.name;
            }
        }
    }
}

// The parts both wizards have, as pairs of controls; `sameRect` where the layouts agree.
struct Twin {
    ControlId win7;
    ControlId xp;
    bool sameRect = true;
};

std::vector<Twin> twins() {
    const PageSetControls& w = pageSetControls(PageSet::Win7);
    const PageSetControls& x = pageSetControls(PageSet::Xp);
    std::vector<Twin> result;
    for (std::size_t i = 0; i < w.iconFields.size(); ++i) {
        result.push_back({w.iconFields[i], x.iconFields[i], false}); // 256 and 254 wide
        result.push_back({w.iconButtons[i], x.iconButtons[i]});
    }
    result.push_back({w.pointerScheme, x.pointerScheme});
    result.push_back({w.pointerSchemeName, x.pointerSchemeName});
    for (int role = 0; role < kPointerRoleCount; ++role) {
        result.push_back({pointerField(PageSet::Win7, role), pointerField(PageSet::Xp, role)});
        result.push_back({pointerButton(PageSet::Win7, role), pointerButton(PageSet::Xp, role)});
    }
    // The sound rows of the two pages lie at different heights.
    result.push_back({w.soundScheme, x.soundScheme, false});
    result.push_back({w.soundSchemeName, x.soundSchemeName, false});
    for (std::size_t i = 0; i < x.soundFields.size(); ++i) {
        result.push_back({w.soundFields[i], x.soundFields[i], false});
        result.push_back({w.soundButtons[i], x.soundButtons[i], false});
    }
    for (auto [a, b] : {std::pair{w.systemSaverTick, x.systemSaverTick},
                        {w.ownSaverTick, x.ownSaverTick},
                        {w.ownSaverField, x.ownSaverField},
                        {w.ownSaverButton, x.ownSaverButton},
                        {w.wallpaper, x.wallpaper},
                        {w.wallpaperButton, x.wallpaperButton},
                        {w.visualStyleButton, x.visualStyleButton},
                        {w.themeName, x.themeName},
                        {w.displayName, x.displayName},
                        {w.saveLocation, x.saveLocation},
                        {w.saveLocationButton, x.saveLocationButton},
                        {w.generate, x.generate}}) {
        result.push_back({a, b});
    }
    // The screensaver lists differ in their items only; the style fields are 254 and 256 wide.
    result.push_back({w.systemSaver, x.systemSaver});
    result.push_back({w.visualStyle, x.visualStyle, false});
    return result;
}

TEST(ControlTable, TwinControlsOfTheTwoWizardsMatchWhereTheirLayoutsAgree) {
    const PageSetControls& w = pageSetControls(PageSet::Win7);
    const PageSetControls& x = pageSetControls(PageSet::Xp);
    const std::pair<Page, Page> pages[] = {
        {w.iconsPage, x.iconsPage},   {w.pointersPage, x.pointersPage},
        {w.soundsPage, x.soundsPage}, {w.desktopPage, x.desktopPage},
        {w.stylePage, x.stylePage},   {w.namesPage, x.namesPage}};
    for (const Twin& t : twins()) {
        const ControlDef& a = controlDef(t.win7);
        const ControlDef& b = controlDef(t.xp);
        SCOPED_TRACE(std::string(a.name) + " / " + std::string(b.name));
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.enabled, b.enabled);
        if (a.kind != ControlKind::ComboBox) {
            EXPECT_EQ(a.caption, b.caption);
        }
        bool pagesMatch = false;
        for (auto [pw, px] : pages) {
            pagesMatch = pagesMatch || (a.page == pw && b.page == px);
        }
        EXPECT_TRUE(pagesMatch);
        if (t.sameRect) {
            EXPECT_EQ(a.rect, b.rect) << describe(a.rect) << " / " << describe(b.rect);
        } else {
            // Twins that differ keep the same kind of row: same left edge and height.
            EXPECT_EQ(a.rect.left, b.rect.left);
            EXPECT_EQ(a.rect.height, b.rect.height);
        }
    }
}

TEST(ControlTable, BrowseButtonsSitRightOfTheirFieldsOnTheSameRow) {
    std::vector<std::pair<ControlId, ControlId>> rows; // field, button
    for (const AssetPickerDef& picker : assetPickers()) {
        rows.emplace_back(picker.field, picker.button);
    }
    rows.emplace_back(C::Win7Slideshow, C::Win7SlideshowBrowse);
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        rows.emplace_back(pageSetControls(set).saveLocation,
                          pageSetControls(set).saveLocationButton);
    }
    std::set<ControlId> buttons;
    for (auto [field, button] : rows) {
        const ControlDef& f = controlDef(field);
        const ControlDef& b = controlDef(button);
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.kind, ControlKind::EditField);
        EXPECT_EQ(b.kind, ControlKind::PushButton);
        EXPECT_EQ(f.page, b.page);
        EXPECT_EQ(f.rect.top, b.rect.top);
        EXPECT_EQ(f.rect.height, 20);
        EXPECT_EQ(b.rect.height, 20);
        EXPECT_GT(b.rect.left, f.rect.right());
        EXPECT_LE(b.rect.left - f.rect.right(), 19);
        EXPECT_EQ(f.enabled, b.enabled);
        EXPECT_EQ(b.caption, button == C::Win7SlideshowBrowse ? "多选" : "打开");
        EXPECT_TRUE(b.name.ends_with("_打开") || b.name.ends_with("_选择")) << b.name;
        buttons.insert(button);
    }
    // 5 + 5 icons, 15 + 15 pointers, 5 + 4 sounds, 2 own screensavers, 2 wallpapers, the
    // slideshow, 2 visual styles, 2 save locations.
    EXPECT_EQ(buttons.size(), 58u);
    for (const ControlDef& c : controlTable()) {
        if (c.kind == ControlKind::PushButton && c.caption == "打开") {
            EXPECT_TRUE(buttons.count(c.id)) << c.name << " serves no field";
        }
    }
}

TEST(ControlTable, PointerPagesHoldOneRowForEachRoleInTwoAlignedColumns) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const char* prefix = set == PageSet::Win7 ? "W" : "X";
        std::set<int> lefts;
        for (int role = 0; role < kPointerRoleCount; ++role) {
            const ControlDef& field = controlDef(pointerField(set, role));
            const ControlDef& button = controlDef(pointerButton(set, role));
            const std::string name = prefix + std::string(kPointerRoles[role]);
            EXPECT_EQ(field.name, name);
            EXPECT_EQ(button.name, name + "_打开");
            EXPECT_EQ(field.page, pageSetControls(set).pointersPage);
            EXPECT_EQ(field.rect.width, 128);
            // Rows of the right column lie at the tops of the left column's rows.
            if (role >= 8) {
                EXPECT_EQ(field.rect.top, controlDef(pointerField(set, role - 8)).rect.top);
            } else if (role > 0) {
                EXPECT_GT(field.rect.top, controlDef(pointerField(set, role - 1)).rect.top);
            }
            lefts.insert(field.rect.left);
        }
        EXPECT_EQ(lefts, (std::set<int>{57, 292})) << prefix;
        // Combo, name, 15 fields and 15 buttons, two page buttons and the picture.
        EXPECT_EQ(controlsOfPage(pageSetControls(set).pointersPage).size(), 35u);
    }
}

TEST(ControlTable, GroupsThatAChoiceUnlocksStartDisabled) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        for (const SchemeGroup* group : {&cursorSchemeGroup(set), &soundSchemeGroup(set)}) {
            EXPECT_TRUE(controlDef(group->combo).enabled);
            EXPECT_FALSE(controlDef(group->nameField).enabled);
            for (ControlId id : group->pathFields) {
                EXPECT_FALSE(controlDef(id).enabled) << controlDef(id).name;
            }
            for (ControlId id : group->buttons) {
                EXPECT_FALSE(controlDef(id).enabled) << controlDef(id).name;
            }
        }
        const PageSetControls& c = pageSetControls(set);
        for (ControlId id : {c.systemSaver, c.ownSaverField, c.ownSaverButton}) {
            EXPECT_FALSE(controlDef(id).enabled) << controlDef(id).name;
        }
        for (ControlId id : {c.systemSaverTick, c.ownSaverTick}) {
            EXPECT_EQ(controlDef(id).kind, ControlKind::TickBox);
            EXPECT_EQ(controlDef(id).caption, "");
        }
        EXPECT_EQ(controlDef(c.systemSaver).items.size(), systemScreensavers(set).size() + 1);
    }
    // Everything else starts enabled.
    int disabled = 0;
    for (const ControlDef& c : controlTable()) {
        disabled += !c.enabled;
    }
    // Per wizard: pointer name + 30, sound name + sounds (5 or 4) x 2, three screensaver controls.
    EXPECT_EQ(disabled, (1 + 30 + 1 + 10 + 3) + (1 + 30 + 1 + 8 + 3));
}

// The whole layout as text: every control's identity, name, page, kind, rectangle, caption,
// state and items, and every label of the page pictures.
std::string layoutText() {
    std::ostringstream out;
    for (const ControlDef& c : controlTable()) {
        out << indexOf(c.id) << '|' << c.name << '|' << (c.page ? pageIndex(*c.page) : -1) << '|'
            << static_cast<int>(c.kind) << '|' << describe(c.rect) << '|' << c.caption << '|'
            << c.enabled << '|';
        for (std::string_view item : c.items) {
            out << item << ';';
        }
        out << '|' << c.maximum << '|' << c.position << '\n';
    }
    for (const PageLabel& l : pageLabels()) {
        out << "label|" << pageIndex(l.page) << '|' << static_cast<int>(l.style) << '|'
            << describe(l.rect) << '|' << l.text << '\n';
    }
    return out.str();
}

TEST(ControlTable, TheLayoutAt96DpiIsTheOneThePagesAreDrawnFor) {
    // A fingerprint (64-bit FNV-1a) of layoutText(). It pins every rectangle, caption, initial
    // state and label of the window: the pictures of the pages and the end-to-end tests rely on
    // them, so a change here must be one that was meant. Compare the printed layout with the
    // one before the change, then take the new value.
    const std::string text = layoutText();
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    EXPECT_EQ(hash, 10229430600865489784ull) << text;
}

TEST(PageLabels, EveryPageButTheAboutAndPointerPagesHasItsTitleAndLabelsSitOnTheirRows) {
    std::set<Page> titled;
    for (const PageLabel& label : pageLabels()) {
        EXPECT_GE(label.rect.left, 0) << label.text;
        EXPECT_LE(label.rect.right(), kPageWidth) << label.text;
        EXPECT_LE(label.rect.bottom(), kPageHeight) << label.text;
        if (label.style == LabelStyle::Title) {
            EXPECT_TRUE(titled.insert(label.page).second) << "two titles on " << label.page;
        }
        if (label.style == LabelStyle::Field || label.style == LabelStyle::Pictogram) {
            // A label sits left of a control of its own row.
            bool found = false;
            for (const ControlDef* c : controlsOfPage(label.page)) {
                if (c->kind != ControlKind::PagePicture &&
                    c->rect.top ==
                        label.rect.top + (label.style == LabelStyle::Pictogram ? 2 : 0) &&
                    c->rect.left >= label.rect.right()) {
                    found = true;
                }
            }
            EXPECT_TRUE(found) << label.text << " on page " << label.page;
        }
    }
    EXPECT_EQ(titled,
              (std::set<Page>{Page::About, Page::Win71, Page::Win73, Page::Win74, Page::Win75,
                              Page::Win76, Page::Xp1, Page::Xp3, Page::Xp4, Page::Xp5, Page::Xp6}));
    int pictograms = 0;
    for (const PageLabel& label : pageLabels()) {
        pictograms += label.style == LabelStyle::Pictogram;
    }
    EXPECT_EQ(pictograms, 2 * kPointerRoleCount);
}

TEST(TabOrder, TakesEveryFocusableControlOfThePageByRowsFromTopToBottomAndLeftToRight) {
    for (const Page page : kAllPages) {
        const auto order = tabOrder(page);
        std::size_t focusable = 0;
        for (const ControlDef* c : controlsOfPage(page)) {
            focusable += takesFocus(c->kind);
        }
        EXPECT_EQ(order.size(), focusable) << page;
        for (std::size_t i = 1; i < order.size(); ++i) {
            const Rect& a = order[i - 1]->rect;
            const Rect& b = order[i]->rect;
            EXPECT_TRUE(a.top < b.top || (a.top == b.top && a.left < b.left))
                << order[i - 1]->name << " before " << order[i]->name;
        }
    }
    // The tick boxes answer the mouse only.
    EXPECT_EQ(tabOrder(Page::Win74).front()->id, C::Win7SystemSaver);
    // The pointer page goes row by row across both columns.
    EXPECT_EQ(tabOrder(Page::Win72)[2]->id, pointerField(PageSet::Win7, 0));
    EXPECT_EQ(tabOrder(Page::Win72)[4]->id, pointerField(PageSet::Win7, 8));
}

TEST(TabOrder, TabAndShiftTabSkipDisabledControlsAndWrapAround) {
    std::set<ControlId> off = {C::Win7PointerSchemeName};
    for (const ControlDef* c : controlsOfPage(Page::Win72)) {
        if (!c->enabled) {
            off.insert(c->id);
        }
    }
    const auto enabled = [&](ControlId id) { return !off.count(id); };
    EXPECT_EQ(nextTabStop(Page::Win72, C::Win7PointerScheme, true, enabled), C::Win7PointersBack);
    EXPECT_EQ(nextTabStop(Page::Win72, C::Win7PointersBack, true, enabled), C::Win7PointersNext);
    EXPECT_EQ(nextTabStop(Page::Win72, C::Win7PointersNext, true, enabled), C::Win7PointerScheme);
    EXPECT_EQ(nextTabStop(Page::Win72, C::Win7PointerScheme, false, enabled), C::Win7PointersNext);
    EXPECT_EQ(nextTabStop(Page::Win72, std::nullopt, true, enabled), C::Win7PointerScheme);
    EXPECT_EQ(nextTabStop(Page::Win72, std::nullopt, false, enabled), C::Win7PointersNext);
    // A control of another page counts as none.
    EXPECT_EQ(nextTabStop(Page::Win72, C::MainWin7, true, enabled), C::Win7PointerScheme);

    const ControlId hand = pointerField(PageSet::Win7, 7);
    off.erase(hand);
    EXPECT_EQ(nextTabStop(Page::Win72, C::Win7PointersNext, false, enabled), C::Win7PointersBack);
    EXPECT_EQ(nextTabStop(Page::Win72, C::Win7PointersBack, false, enabled), hand);

    const auto none = [](ControlId) { return false; };
    EXPECT_EQ(nextTabStop(Page::Main, C::MainWin7, true, none), std::nullopt);
}

} // namespace
} // namespace quorvel
