// Page WIN75's colour and transparency controls in the real program: the slider writes every
// position it takes into the transparency field (dragged with the mouse, clicked on its track,
// moved with the keyboard), typing into the field leaves the slider where it is, and a slider
// dragged to 0 with a colour picked in the palette reaches the generated theme file.
#include "WizardTest.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace quorvel::e2e {

namespace {

using namespace std::chrono_literals;

bool pointerAt(POINT screen) {
    POINT at{};
    ::GetCursorPos(&at);
    return std::abs(at.x - screen.x) <= 1 && std::abs(at.y - screen.y) <= 1;
}

// Moves the pointer (with the button held or not) and waits until the program has seen it
// there. Wine may still replay a pointer motion of the display from an earlier move, which puts
// the pointer back; the move is then sent again.
void moveTo(const App& app, POINT screen) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        INPUT input = mouseAt(screen, 0);
        ::SendInput(1, &input, sizeof input);
        waitUntil([&] { return pointerAt(screen); }, 1000ms);
        app.settle();
        std::this_thread::sleep_for(100ms);
        if (pointerAt(screen)) {
            return;
        }
    }
}

void mouseButton(const App& app, POINT screen, DWORD flag) {
    INPUT input = mouseAt(screen, flag);
    ::SendInput(1, &input, sizeof input);
    std::this_thread::sleep_for(60ms);
    app.settle();
}

void clickAt(const App& app, POINT screen) {
    moveTo(app, screen);
    mouseButton(app, screen, MOUSEEVENTF_LEFTDOWN);
    mouseButton(app, screen, MOUSEEVENTF_LEFTUP);
}

// Where the slider shows its position, as a user reads it off the thumb.
int sliderPosition(HWND slider) {
    return static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0));
}

// The thumb of a slider in screen pixels. The slider answers into memory of its own process.
RECT thumbOf(HWND slider) {
    RECT thumb{};
    DWORD processId = 0;
    ::GetWindowThreadProcessId(slider, &processId);
    const HANDLE process =
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return thumb;
    }
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof thumb, MEM_COMMIT, PAGE_READWRITE);
    if (remote != nullptr) {
        ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
        SIZE_T read = 0;
        ::ReadProcessMemory(process, remote, &thumb, sizeof thumb, &read);
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        ::MapWindowPoints(slider, nullptr, reinterpret_cast<POINT*>(&thumb), 2);
    }
    ::CloseHandle(process);
    return thumb;
}

POINT middleOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class WindowStyle : public WizardTest {
protected:
    HWND slider = nullptr;
    HWND alphaField = nullptr;
    HWND colorField = nullptr;

    // Starts a Windows 7 session and walks to page WIN75 with the default schemes.
    void openWindowStylePage() {
        start(L"win7");
        walkWin7To("WIN75");
        slider = app->findAt(Kind::Slider, 159, 198);
        alphaField = field(432, 198);
        colorField = field(159, 161);
        ASSERT_NE(slider, nullptr);
        ASSERT_NE(alphaField, nullptr);
        ASSERT_NE(colorField, nullptr);
    }
    // The field shows the slider's position, once the program has answered.
    ::testing::AssertionResult fieldShows(int position) {
        if (waitUntil([&] { return app->text(alphaField) == std::to_string(position); }, 2000ms)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "the field shows \"" << app->text(alphaField) << "\", not " << position;
    }
    // Presses the left button on the thumb and holds it.
    POINT grabThumb() {
        const POINT grip = middleOf(thumbOf(slider));
        moveTo(*app, grip);
        mouseButton(*app, grip, MOUSEEVENTF_LEFTDOWN);
        return grip;
    }
    // Opens the palette with the colour button; the popup, or nullptr.
    HWND openPalette() {
        const HWND colorButton = app->find(Kind::Button, "选择颜色");
        EXPECT_NE(colorButton, nullptr);
        if (colorButton == nullptr) {
            return nullptr;
        }
        app->click(colorButton);
        HWND popup = nullptr;
        waitUntil([&] { return (popup = shownPalettePopup()) != nullptr; }, 5000ms);
        std::this_thread::sleep_for(300ms); // the first activation draws the palette
        return popup;
    }
    // Clicks the palette cell whose top-left corner is (x, y) in the popup; the popup closes.
    void pickCell(HWND popup, int x, int y) {
        POINT cell{x + 6, y + 6};
        ::ClientToScreen(popup, &cell);
        clickAt(*app, cell);
        EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms))
            << "still open";
    }
    // Opens the palette and closes it with Escape.
    void closeWithEscape() {
        ASSERT_NE(openPalette(), nullptr);
        app->key(VK_ESCAPE);
        EXPECT_TRUE(waitUntil([] { return shownPalettePopup() == nullptr; }, 3000ms))
            << "still open";
        app->settle();
    }
};

TEST_F(WindowStyle, TheSliderWritesEveryPositionIntoTheFieldAndTypingLeavesTheSliderAlone) {
    openWindowStylePage();
    EXPECT_EQ(app->text(alphaField), "127");
    EXPECT_EQ(sliderPosition(slider), 127);
    EXPECT_EQ(app->text(colorField), "0066FF");

    // Typed by hand, even beyond the slider's range: the slider stays.
    app->type(alphaField, "300");
    EXPECT_EQ(app->text(alphaField), "300");
    EXPECT_EQ(sliderPosition(slider), 127);

    // A click on the track beside the thumb moves it a page; the field follows and the typed
    // text is gone.
    const RECT thumb = thumbOf(slider);
    clickAt(*app, {thumb.right + 30, (thumb.top + thumb.bottom) / 2});
    const int paged = sliderPosition(slider);
    EXPECT_GT(paged, 127);
    EXPECT_TRUE(fieldShows(paged));

    // The keyboard, once the slider has the focus.
    ASSERT_TRUE(waitUntil([&] { return app->focus() == slider; }, 2000ms));
    app->key(VK_RIGHT);
    EXPECT_EQ(sliderPosition(slider), paged + 1);
    EXPECT_TRUE(fieldShows(paged + 1));
    app->key(VK_LEFT);
    app->key(VK_LEFT);
    EXPECT_TRUE(fieldShows(paged - 1));
    app->key(VK_HOME);
    EXPECT_TRUE(fieldShows(0));
    app->key(VK_END);
    EXPECT_TRUE(fieldShows(255));
    app->screenshot(L"20-WIN75-slider-end");

    // Dragged to the left in steps: the field follows every step while the button is down.
    const POINT grip = grabThumb();
    int last = 255;
    for (int step = 1; step <= 3; ++step) {
        moveTo(*app, {grip.x - step * 40, grip.y});
        // A slider that is busy (a loaded machine) follows late; it must follow at all.
        EXPECT_TRUE(waitUntil([&] { return sliderPosition(slider) < last; }, 6000ms))
            << "step " << step << ": the thumb stayed at " << last;
        const int now = sliderPosition(slider);
        EXPECT_TRUE(fieldShows(now)) << "step " << step;
        last = now;
    }
    mouseButton(*app, {grip.x - 120, grip.y}, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(sliderPosition(slider), last);
    EXPECT_TRUE(fieldShows(last));
    app->screenshot(L"21-WIN75-slider-dragged");

    // Typing again after the slider moved: the slider keeps its position.
    app->type(alphaField, "12");
    EXPECT_EQ(sliderPosition(slider), last);
    EXPECT_EQ(app->text(colorField), "0066FF");
}

TEST_F(WindowStyle, SliderDraggedToZeroAndAPickedColourReachTheThemeFile) {
    const std::wstring work = settings().workDir;
    ASSERT_FALSE(work.empty()) << "run with --work=DIR";
    const std::wstring styles = work + L"\\colour-style";
    const std::wstring out = work + L"\\colour-out";
    ::CreateDirectoryW(styles.c_str(), nullptr);
    ::CreateDirectoryW(out.c_str(), nullptr);
    ASSERT_TRUE(writeFileBytes(styles + L"\\aero.msstyles", "aero style"));

    openWindowStylePage();

    // The thumb dragged past the left end of the track with the button held.
    const POINT grip = grabThumb();
    RECT track{};
    ::GetWindowRect(slider, &track);
    moveTo(*app, {(grip.x + track.left) / 2, grip.y});
    moveTo(*app, {track.left - 30, grip.y});
    EXPECT_TRUE(fieldShows(0)) << "before the button is released";
    mouseButton(*app, {track.left - 30, grip.y}, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(sliderPosition(slider), 0);
    EXPECT_EQ(app->text(alphaField), "0");

    // A standard colour (third of the bottom row, FFC000) picked with a click.
    HWND popup = openPalette();
    ASSERT_NE(popup, nullptr) << "the palette did not open";
    RECT popupRect{};
    ::GetWindowRect(popup, &popupRect);
    POINT pointer{};
    ::GetCursorPos(&pointer);
    EXPECT_EQ(popupRect.left, pointer.x) << "the palette opens at the pointer";
    EXPECT_EQ(popupRect.top, pointer.y);
    app->screenshot(L"22-WIN75-palette");
    pickCell(popup, 38, 164);
    EXPECT_TRUE(waitUntil([&] { return app->text(colorField) == "FFC000"; }, 2000ms))
        << app->text(colorField);

    // Escape closes the palette without a pick: the colour picked before stays.
    closeWithEscape();
    EXPECT_EQ(app->text(colorField), "FFC000");
    // A colour typed by hand after a pick is not replaced by that pick either.
    app->type(colorField, "ABCDEF");
    closeWithEscape();
    EXPECT_EQ(app->text(colorField), "ABCDEF");

    // The colour for the theme: the seventh standard colour, 00B0F0.
    popup = openPalette();
    ASSERT_NE(popup, nullptr);
    pickCell(popup, 106, 164);
    EXPECT_TRUE(waitUntil([&] { return app->text(colorField) == "00B0F0"; }, 2000ms))
        << app->text(colorField);
    EXPECT_EQ(app->text(alphaField), "0");

    // The visual style through the file dialog, then on to WIN76 and the run.
    app->click(app->findAt(Kind::Button, 432, 92));
    ASSERT_TRUE(app->answerFileDialog(narrow(styles + L"\\aero.msstyles"), 5000ms));
    EXPECT_TRUE(waitUntil([&] { return app->text(field(159, 92)).ends_with("aero.msstyles"); }))
        << app->text(field(159, 92));
    app->screenshot(L"23-WIN75-before-forward");
    press("下一步", "生成页");
    typeInto(159, 92, "透明主题");
    typeInto(159, 127, "透明 显示名");
    typeInto(159, 161, narrow(out));
    app->click(app->find(Kind::Button, "生  成"));
    const auto done = app->messageBox(10000ms);
    ASSERT_TRUE(done.has_value()) << "no message after the run";
    EXPECT_EQ(done->title, "提示...");
    EXPECT_EQ(done->text, "生成完毕!");
    app->confirm(*done);

    const auto theme = readFileBytes(out + L"\\透明主题.theme");
    ASSERT_TRUE(theme.has_value());
    // Transparency 0 adds no digits: "0x" is followed directly by the colour.
    EXPECT_NE(theme->find("\r\nColorizationColor=0x00B0F0\r\n"), std::string::npos) << *theme;
}

} // namespace
} // namespace quorvel::e2e
