// The colour palette popup in the real program: the colour button of page WIN75 opens it at the
// pointer, the cell under the pointer is highlighted, a click picks its colour into the colour
// field, and the next opening shows the pick; Escape closes it and leaves the field alone. The
// keys move the same highlight, Enter picks, Tab reaches the "other colours" button.
#include "WizardTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace quorvel::e2e {

namespace {

using namespace std::chrono_literals;

constexpr COLORREF kHighlight = RGB(242, 148, 54);
constexpr COLORREF kHighlightInner = RGB(255, 226, 148);

void moveTo(POINT screen) {
    INPUT input = mouseAt(screen, 0);
    ::SendInput(1, &input, sizeof input);
    waitUntil(
        [&] {
            POINT at{};
            ::GetCursorPos(&at);
            return std::abs(at.x - screen.x) <= 1 && std::abs(at.y - screen.y) <= 1;
        },
        1000ms);
    std::this_thread::sleep_for(300ms); // the popup repaints and pauses on every move
}

void clickAt(POINT screen) {
    moveTo(screen);
    INPUT down = mouseAt(screen, MOUSEEVENTF_LEFTDOWN);
    ::SendInput(1, &down, sizeof down);
    std::this_thread::sleep_for(60ms);
    INPUT up = mouseAt(screen, MOUSEEVENTF_LEFTUP);
    ::SendInput(1, &up, sizeof up);
}

COLORREF screenPixel(POINT screen) {
    const HDC dc = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(dc, screen.x, screen.y);
    ::ReleaseDC(nullptr, dc);
    return color;
}

class Palette : public WizardTest {
protected:
    // Opens the popup with the colour button and returns it with its top-left corner.
    HWND openPopup(RECT& rect) {
        const HWND button = app->find(Kind::Button, "选择颜色");
        EXPECT_NE(button, nullptr);
        if (button == nullptr) {
            return nullptr;
        }
        app->click(button);
        HWND popup = nullptr;
        waitUntil([&] { return (popup = shownPalettePopup()) != nullptr; }, 5000ms);
        if (popup != nullptr) {
            ::GetWindowRect(popup, &rect);
            std::this_thread::sleep_for(300ms); // first activation draws the palette
        }
        return popup;
    }
};

TEST_F(Palette, TheColourButtonOpensThePaletteAtThePointerAndAPickFillsTheColourField) {
    start(L"win7");
    walkWin7To("WIN75");
    const HWND colorField = app->findAt(Kind::Field, 159, 161);
    ASSERT_NE(colorField, nullptr);
    ASSERT_EQ(app->text(colorField), "0066FF");

    RECT rect{};
    HWND popup = openPopup(rect);
    ASSERT_NE(popup, nullptr) << "the palette did not open";
    POINT pointer{};
    ::GetCursorPos(&pointer);
    EXPECT_EQ(rect.left, pointer.x) << "the popup's top-left corner is at the pointer";
    EXPECT_EQ(rect.top, pointer.y);
    EXPECT_EQ(rect.right - rect.left, 175);
    EXPECT_EQ(rect.bottom - rect.top, 209);

    // Cell 25 (variant row 2, column 5, B8CCE4) lies at (72, 84) in the popup; the middle of
    // its top row shows the highlight while the pointer is over it.
    const POINT cellTop{rect.left + 78, rect.top + 84};
    EXPECT_NE(screenPixel(cellTop), kHighlight);
    moveTo({rect.left + 78, rect.top + 90});
    EXPECT_EQ(screenPixel(cellTop), kHighlight) << "the hover highlight";
    app->screenshot(L"16-WIN75-palette-hover");
    clickAt({rect.left + 78, rect.top + 90});
    EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms)) << "still open";
    app->settle();
    EXPECT_EQ(app->text(colorField), "B8CCE4");

    // Reopened away from the palette: the picked cell is highlighted; Escape leaves the field.
    popup = openPopup(rect);
    ASSERT_NE(popup, nullptr);
    moveTo({rect.left + 100, rect.top + 150}); // over the label of the standard colours
    EXPECT_EQ(screenPixel({rect.left + 78, rect.top + 84}), kHighlight);
    EXPECT_EQ(screenPixel({rect.left + 73, rect.top + 85}), kHighlightInner);
    app->key(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms)) << "still open";
    EXPECT_EQ(app->text(colorField), "B8CCE4");
    EXPECT_TRUE(::IsWindowEnabled(app->mainWindow()));
}

TEST_F(Palette, ArrowKeysMoveTheHighlightEnterPicksAndTabReachesTheOtherColoursButton) {
    start(L"win7");
    walkWin7To("WIN75");
    const HWND colorField = app->findAt(Kind::Field, 159, 161);
    ASSERT_NE(colorField, nullptr);

    RECT rect{};
    HWND popup = openPopup(rect);
    ASSERT_NE(popup, nullptr) << "the palette did not open";
    // Nothing is selected yet: the first arrow highlights the first cell, then two rows down and
    // three cells right is cell 24 (variant row 2, column 4, 8DB3E2) at (55, 84).
    for (const WORD key : {VK_RIGHT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_RIGHT}) {
        app->key(key);
    }
    EXPECT_EQ(screenPixel({rect.left + 61, rect.top + 84}), kHighlight) << "cell 24 highlighted";
    EXPECT_NE(screenPixel({rect.left + 10, rect.top + 54}), kHighlight) << "cell 1 no longer";
    app->screenshot(L"16-WIN75-palette-keys");
    app->key(VK_RETURN);
    EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms)) << "still open";
    app->settle();
    EXPECT_EQ(app->text(colorField), "8DB3E2");

    // Reopened, the keys start from the pick: Up and Enter take the cell above (C6D9F0, 14).
    popup = openPopup(rect);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(screenPixel({rect.left + 61, rect.top + 84}), kHighlight);
    app->key(VK_UP);
    EXPECT_EQ(screenPixel({rect.left + 61, rect.top + 72}), kHighlight) << "cell 14 highlighted";
    app->key(VK_TAB);
    const HWND focused = app->focus();
    EXPECT_NE(focused, popup);
    EXPECT_TRUE(::IsChild(popup, focused));
    wchar_t caption[32] = {};
    ::GetWindowTextW(focused, caption, 32);
    EXPECT_STREQ(caption, L"其他颜色...");
    app->key(VK_TAB, true);
    EXPECT_EQ(app->focus(), popup) << "Shift+Tab goes back to the cells";
    app->key(VK_RETURN);
    EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms)) << "still open";
    app->settle();
    EXPECT_EQ(app->text(colorField), "C6D9F0");
}

} // namespace
} // namespace quorvel::e2e
