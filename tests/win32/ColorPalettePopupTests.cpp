// The colour palette popup on real Win32: the GDI painter draws exactly the picture of the
// palette model, and the popup works with the real mouse and keyboard (SendInput): it opens at
// the pointer, highlights the cell under the pointer, picks, remembers the pick, and closes
// without a pick on Escape or a cancelled system colour dialog.
#include "PaletteRaster.h"

#include "AccessibleClient.h"

#include "widgets/Palette.h"
#include "widgets/win32/ColorPalettePopup.h"
#include "widgets/win32/Gdi.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

// A 32-bit top-down DIB selected into a memory DC, readable pixel by pixel.
class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        dc_.reset(CreateCompatibleDC(nullptr));
        selection_.emplace(dc_.get(), bitmap_.get());
    }

    HDC dc() const { return dc_.get(); }
    bool valid() const { return bits_ != nullptr && dc_ != nullptr; }

    Rgb at(int x, int y) const {
        GdiFlush();
        const std::uint32_t pixel = bits_[static_cast<std::size_t>(y) * width_ + x];
        return {static_cast<std::uint8_t>((pixel >> 16) & 0xFF),
                static_cast<std::uint8_t>((pixel >> 8) & 0xFF),
                static_cast<std::uint8_t>(pixel & 0xFF)};
    }

private:
    int width_;
    int height_;
    gdi::Bitmap bitmap_;
    gdi::MemoryDc dc_;
    std::optional<gdi::Selection> selection_;
    const std::uint32_t* bits_ = nullptr;
};

// Compares a GDI picture with the rasterised model in the columns [fromX, toX); reports the
// first differences.
testing::AssertionResult samePixels(const Picture& actual, const Raster& expected, int fromX,
                                    int toX) {
    int differences = 0;
    std::ostringstream report;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = fromX; x < toX; ++x) {
            if (actual.at(x, y) != expected.at(x, y)) {
                if (++differences <= 5) {
                    const std::optional<Rgb> wanted = expected.at(x, y);
                    report << " (" << x << "," << y << "): " << hexText(actual.at(x, y))
                           << " instead of " << (wanted ? hexText(*wanted) : "nothing");
                }
            }
        }
    }
    if (differences == 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << differences << " pixels differ:" << report.str();
}

PaletteState prepared() {
    PaletteState state;
    palette::preparePalette(state);
    return state;
}

TEST(PalettePainter, GdiDrawsThePictureOfTheModel) {
    PaletteState state = prepared();
    struct Case {
        int hover;
        int selected;
    };
    for (const Case c :
         {Case{0, 0}, Case{5, 33}, Case{21, 2}, Case{70, 61}, Case{55, 55}, Case{11, 60}}) {
        SCOPED_TRACE("hover " + std::to_string(c.hover) + ", selected " +
                     std::to_string(c.selected));
        state.selectedCell = c.selected;
        Picture picture(palette::kPopupWidth, palette::kPopupHeight);
        ASSERT_TRUE(picture.valid());
        const PalettePainter painter(state);
        painter.paint(picture.dc(), c.hover, palette::kPopupWidth, palette::kPopupHeight);
        EXPECT_TRUE(samePixels(picture, renderPalette(state, c.hover), 0, palette::kPopupWidth));
    }
}

TEST(PalettePainter, ButtonFacesMatchTheModelLeftOfTheirCaption) {
    using palette::FaceButton;
    for (const FaceButton button : {FaceButton::Automatic, FaceButton::OtherColors}) {
        for (const bool hot : {false, true}) {
            const Rect box = button == FaceButton::Automatic ? palette::kAutomaticButton
                                                             : palette::kOtherColorsButton;
            Picture picture(box.width, box.height);
            ASSERT_TRUE(picture.valid());
            const RECT rect{0, 0, box.width, box.height};
            paintPaletteButtonFace(picture.dc(), rect, button, hot, nullptr);
            Raster expected(box.width, box.height);
            expected.run(palette::buttonFace(button, hot, box.width, box.height));
            const int textLeft = palette::faceTextRect(button, box.width, box.height).left;
            EXPECT_TRUE(samePixels(picture, expected, 0, textLeft)) << "hot " << hot;
        }
    }
}

// --- the popup with real input ----------------------------------------------------------------

POINT cursor() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

// Absolute coordinates are normalised to 0..65535 over the primary screen.
INPUT mouseInput(POINT at, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height / 2) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// Where the last move put the pointer; the clicks happen there.
POINT lastPointer{};

void moveMouse(int x, int y) {
    lastPointer = {x, y};
    INPUT input = mouseInput(lastPointer, 0);
    SendInput(1, &input, sizeof input);
    std::this_thread::sleep_for(250ms);
}

void click() {
    // The button events carry the position too: Wine may still be handling a pointer motion of
    // the display from before the move, and the press must not land where that was.
    INPUT inputs[2] = {mouseInput(lastPointer, MOUSEEVENTF_LEFTDOWN),
                       mouseInput(lastPointer, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof inputs[0]);
    std::this_thread::sleep_for(250ms);
}

void pressKey(WORD key) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof inputs[0]);
    std::this_thread::sleep_for(250ms);
}

HWND waitForWindow(const wchar_t* className, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        const HWND window = FindWindowW(className, nullptr);
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
        std::this_thread::sleep_for(20ms);
    }
    return nullptr;
}

bool waitUntilGone(HWND window, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (!IsWindow(window) || !IsWindowVisible(window)) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// What the popup's window shows, copied from its device context.
std::unique_ptr<Picture> snapshot(HWND popup) {
    auto picture = std::make_unique<Picture>(palette::kPopupWidth, palette::kPopupHeight);
    const gdi::WindowDc dc(popup);
    BitBlt(picture->dc(), 0, 0, palette::kPopupWidth, palette::kPopupHeight, dc.get(), 0, 0,
           SRCCOPY);
    return picture;
}

POINT screenPoint(HWND popup, int x, int y) {
    POINT point{x, y};
    ClientToScreen(popup, &point);
    return point;
}

void moveMouseTo(HWND popup, int x, int y) {
    const POINT point = screenPoint(popup, x, y);
    moveMouse(point.x, point.y);
}

// A plain window that owns the popup, as the wizard's main window does.
class Win32WindowPalettePopup : public testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 420, 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (owner_ == nullptr) {
            GTEST_SKIP() << "no display to open windows on";
        }
        SetForegroundWindow(owner_);
        pump();
    }
    void TearDown() override {
        if (owner_ != nullptr) {
            DestroyWindow(owner_);
        }
    }

    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    // Opens the popup at (x, y) while `drive` plays the user on another thread. The driver gets
    // the popup window; if the popup is still open after it, it is closed and that is reported.
    std::optional<Rgb> openWhile(int x, int y, const std::function<void(HWND)>& drive) {
        std::atomic<bool> stillOpen{false};
        std::atomic<bool> appeared{false};
        std::thread user([&] {
            const HWND popup = waitForWindow(kColorPalettePopupClass, 5s);
            if (popup == nullptr) {
                return;
            }
            appeared = true;
            std::this_thread::sleep_for(300ms); // first activation and paint
            popupRect = {};
            GetWindowRect(popup, &popupRect);
            drive(popup);
            if (!waitUntilGone(popup, 3s)) {
                stillOpen = true;
                PostMessageW(popup, WM_CLOSE, 0, 0);
            }
        });
        const std::optional<Rgb> result = openColorPalette(state, owner_, x, y);
        user.join();
        EXPECT_TRUE(appeared) << "the popup never showed";
        EXPECT_FALSE(stillOpen) << "the popup stayed open";
        EXPECT_TRUE(IsWindowEnabled(owner_)) << "the owner gets its input back";
        pump();
        return result;
    }

    PaletteState state;
    HWND owner_ = nullptr;
    RECT popupRect{};
    std::atomic<bool> dialogShown{false};
    std::atomic<bool> popupHiddenDuringDialog{false};
};

TEST_F(Win32WindowPalettePopup, OpensAtThePointerHighlightsTheHoverCellAndPicksOnRelease) {
    moveMouse(200, 150);
    const POINT pointer = cursor();
    const PaletteState model = prepared();
    const PaletteCell cell25 = model.paletteCells[24]; // variant row 2, column 5
    Rgb before;
    Rgb during;

    const std::optional<Rgb> result = openWhile(pointer.x, pointer.y, [&](HWND popup) {
        // The middle of the cell's top row: its left edge lies under the column frame.
        before = snapshot(popup)->at(cell25.x + 6, cell25.y);
        moveMouseTo(popup, cell25.x + 6, cell25.y + 6);
        during = snapshot(popup)->at(cell25.x + 6, cell25.y);
        click();
    });

    EXPECT_EQ(popupRect.left, pointer.x);
    EXPECT_EQ(popupRect.top, pointer.y);
    EXPECT_EQ(popupRect.right - popupRect.left, 175);
    EXPECT_EQ(popupRect.bottom - popupRect.top, 209);
    EXPECT_EQ(state.popupAnchorX, pointer.x);
    EXPECT_EQ(before, cell25.color) << "no highlight before the pointer came";
    EXPECT_EQ(during, (Rgb{242, 148, 54})) << "the hover highlight";
    EXPECT_EQ(result, cell25.color);
    EXPECT_EQ(state.pickedColor, cell25.color);
    EXPECT_EQ(state.selectedCell, 25);
}

TEST_F(Win32WindowPalettePopup, AReopenedPopupShowsThePickAndEscapeClosesWithoutAPick) {
    state.selectedCell = 48;
    state.pickedColor = {0x5F, 0x49, 0x7A};
    const PaletteCell cell48 = prepared().paletteCells[47];
    std::unique_ptr<Picture> shown;

    const std::optional<Rgb> result = openWhile(60, 60, [&](HWND popup) {
        moveMouseTo(popup, 19, 60); // between two base cells: no hover
        shown = snapshot(popup);
        pressKey(VK_ESCAPE);
    });

    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(cell48.x, cell48.y), (Rgb{242, 148, 54}));
    EXPECT_EQ(shown->at(cell48.x + 1, cell48.y + 1), (Rgb{255, 226, 148}));
    EXPECT_FALSE(result);
    EXPECT_EQ(state.selectedCell, 48);
    EXPECT_EQ(state.pickedColor, (Rgb{0x5F, 0x49, 0x7A}));
}

TEST_F(Win32WindowPalettePopup, TheAutomaticButtonPicksBlackAndTheNextOpeningHighlightsCellTwo) {
    state.selectedCell = 48;
    state.pickedColor = {1, 2, 3};
    Rgb face;
    const std::optional<Rgb> result = openWhile(80, 70, [&](HWND popup) {
        moveMouseTo(popup, palette::kAutomaticButton.left + 100,
                    palette::kAutomaticButton.top + 12);
        face = snapshot(popup)->at(palette::kAutomaticButton.left + 100,
                                   palette::kAutomaticButton.top + 1);
        click();
    });
    EXPECT_EQ(result, Rgb{});
    EXPECT_EQ(state.pickedColor, Rgb{});
    EXPECT_EQ(state.selectedCell, 2);
    Raster hotFace(palette::kAutomaticButton.width, palette::kAutomaticButton.height);
    hotFace.run(palette::buttonFace(palette::FaceButton::Automatic, true, hotFace.width(),
                                    hotFace.height()));
    EXPECT_EQ(face, hotFace.at(100, 1)) << "the orange face under the pointer";

    std::unique_ptr<Picture> shown;
    const std::optional<Rgb> again = openWhile(80, 70, [&](HWND popup) {
        moveMouseTo(popup, 100, 150); // over the label of the standard colours
        shown = snapshot(popup);
        pressKey(VK_ESCAPE);
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->at(21, 54), (Rgb{242, 148, 54})) << "cell 2 is highlighted from the start";
    EXPECT_EQ(shown->at(22, 55), (Rgb{255, 226, 148}));
    EXPECT_EQ(shown->at(27, 60), Rgb{});
    EXPECT_FALSE(again);
    EXPECT_EQ(state.selectedCell, 2);
}

TEST_F(Win32WindowPalettePopup, ACoveredPopupIsRepaintedWithThePalettePicture) {
    state.selectedCell = 64;
    std::unique_ptr<Picture> shown;
    openWhile(100, 80, [&](HWND popup) {
        moveMouseTo(popup, 100, 150); // no hover
        {
            // Scribble over the window as a covering window would leave it, then let the
            // system ask for the repaint.
            const gdi::WindowDc dc(popup);
            const gdi::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
            const RECT all{0, 0, palette::kPopupWidth, palette::kPopupHeight};
            FillRect(dc.get(), &all, red.get());
        }
        RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        std::this_thread::sleep_for(300ms);
        shown = snapshot(popup);
        pressKey(VK_ESCAPE);
    });
    ASSERT_TRUE(shown);
    const Raster expected = renderPalette(prepared(), 0);
    PaletteState withSelection = prepared();
    withSelection.selectedCell = 64;
    const Raster expectedSelected = renderPalette(withSelection, 0);
    // Compare the palette between the two labels and below the standard label, where no child
    // control lies: rows 49 to 135 and 158 to 180.
    int differences = 0;
    for (int y = 49; y <= 180; ++y) {
        if (y >= 136 && y < 158) {
            continue;
        }
        for (int x = 0; x < palette::kPopupWidth; ++x) {
            differences += shown->at(x, y) != expectedSelected.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_NE(expected.at(55, 164), expectedSelected.at(55, 164)) << "cell 64 is highlighted";
}

TEST_F(Win32WindowPalettePopup,
       OtherColoursCancelledLeavesThePickAndConfirmedTakesTheDialogColour) {
    state.selectedCell = 17;
    state.pickedColor = {0xD7, 0xE3, 0xBC};
    const auto useDialog = [&](WPARAM command, bool byKeyboard = false) {
        return [this, command, byKeyboard](HWND popup) {
            if (byKeyboard) {
                pressKey(VK_TAB);
                pressKey(VK_RETURN);
            } else {
                moveMouseTo(popup, palette::kOtherColorsButton.left + 100,
                            palette::kOtherColorsButton.top + 13);
                click();
            }
            const HWND dialog = waitForWindow(L"#32770", 5s);
            if (dialog == nullptr) {
                return;
            }
            dialogShown = true;
            popupHiddenDuringDialog = !IsWindowVisible(popup);
            PostMessageW(dialog, WM_COMMAND, command, 0);
        };
    };

    EXPECT_FALSE(openWhile(90, 90, useDialog(IDCANCEL)));
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(popupHiddenDuringDialog);
    EXPECT_EQ(state.selectedCell, 17);
    EXPECT_EQ(state.pickedColor, (Rgb{0xD7, 0xE3, 0xBC}));

    dialogShown = false;
    EXPECT_FALSE(openWhile(90, 90, useDialog(IDCANCEL, true)));
    EXPECT_TRUE(dialogShown) << "Tab reaches the button and Enter clicks it";

    dialogShown = false;
    const std::optional<Rgb> confirmed = openWhile(90, 90, useDialog(IDOK));
    EXPECT_TRUE(dialogShown);
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(state.pickedColor, confirmed);
    EXPECT_EQ(state.selectedCell, 17) << "the dialog's colour selects no cell";
}

// --- the popup to accessibility clients ---------------------------------------------------------

// What a client of the popup's accessible object read, on the popup's own thread.
struct AccessRead {
    bool done = false;
    HRESULT got = E_FAIL;
    long children = 0;
    std::wstring lastName;
    long lastRole = 0;
    long selectedState = 0;
    RECT lastPlace{};
    VARIANT hit{};
    long buttonRole = 0;
    std::wstring buttonName;
    HRESULT action = E_FAIL;
};
AccessRead* accessRead = nullptr;
POINT accessHitPoint{};

// Runs inside the popup's message loop as a thread timer: reads the accessible object, then picks
// cell 25 through its default action.
void CALLBACK readPopupAccess(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    AccessRead& read = *accessRead;
    read.done = true;
    const HWND popup = FindWindowW(kColorPalettePopupClass, nullptr);
    const AccessibleClient client(popup);
    read.got = client.got;
    if (!client.object) {
        return;
    }
    client.object->get_accChildCount(&read.children);
    read.lastName = client.name(70);
    read.lastRole = client.role(70);
    read.selectedState = client.state(48);
    client.object->accLocation(&read.lastPlace.left, &read.lastPlace.top, &read.lastPlace.right,
                               &read.lastPlace.bottom, AccessibleClient::id(70));
    client.object->accHitTest(accessHitPoint.x, accessHitPoint.y, &read.hit);
    const AccessibleClient button(FindWindowExW(popup, nullptr, L"Button", L"其他颜色..."));
    read.buttonRole = button.role();
    read.buttonName = button.name();
    read.action = client.object->accDoDefaultAction(AccessibleClient::id(25));
}

TEST_F(Win32WindowPalettePopup, AccessibilityClientsSeeTheCellsByColourAndPickThroughThem) {
    const HRESULT com = system::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    moveMouse(5, 5); // away from the popup
    state.selectedCell = 48;
    const PaletteState model = prepared();
    AccessRead read;
    accessRead = &read;
    const int x = 300;
    const int y = 200;
    accessHitPoint = {x + model.paletteCells[24].x + 6, y + model.paletteCells[24].y + 6};
    SetTimer(nullptr, 0, 400, readPopupAccess);
    const std::optional<Rgb> result =
        openWhile(x, y, [&](HWND) { std::this_thread::sleep_for(600ms); });
    accessRead = nullptr;

    ASSERT_TRUE(read.done);
    ASSERT_EQ(read.got, S_OK);
    EXPECT_EQ(read.children, 70 + 4) << "the cells, then the two buttons and two labels";
    EXPECT_EQ(read.lastName, L"#7030A0");
    EXPECT_EQ(read.lastRole, ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(read.selectedState & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED),
              STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED)
        << "the selected cell is highlighted and the cells have the focus";
    const PaletteCell& last = model.paletteCells[69];
    EXPECT_EQ(read.lastPlace.left, x + last.x);
    EXPECT_EQ(read.lastPlace.top, y + last.y);
    EXPECT_EQ(read.lastPlace.right, palette::kCellSize) << "the width";
    EXPECT_EQ(read.hit.vt, VT_I4);
    EXPECT_EQ(read.hit.lVal, 25);
    EXPECT_EQ(read.buttonRole, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(read.buttonName, L"其他颜色...");
    EXPECT_EQ(read.action, S_OK);
    EXPECT_EQ(result, model.paletteCells[24].color) << "the default action picks as a click does";
    EXPECT_EQ(state.selectedCell, 25);
    if (SUCCEEDED(com)) {
        system::CoUninitialize();
    }
}

} // namespace
} // namespace quorvel::test
