// The previews in the real window: resting the mouse on a picked wallpaper field and on a picked
// pointer field shows the image's and the pointer's pixels beside the field; the desktop preview
// of a whole Windows 7 theme, opened with its shortcut and from the system menu, draws the
// wallpaper, a chosen icon, the window colour and transparency and the chosen Arrow pointer, and
// closes with Escape back to the page as it was.
#include "WizardTest.h"

#include "preview/Preview.h"

#include <cstdint>
#include <thread>

namespace quorvel::e2e {
namespace {

constexpr wchar_t kPopupClass[] = L"QuorvelPreviewPopup";
constexpr wchar_t kDesktopClass[] = L"QuorvelDesktopPreview";
constexpr UINT kDesktopCommand = 0x7100;

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A 24-bit BMP whose left half has one colour and right half another.
std::string twoColourBmp(int width, int height, COLORREF left, COLORREF right) {
    const int stride = (width * 3 + 3) & ~3;
    std::string bmp = "BM";
    put32(bmp, static_cast<std::uint32_t>(54 + stride * height));
    put32(bmp, 0);
    put32(bmp, 54);
    put32(bmp, 40);
    put32(bmp, static_cast<std::uint32_t>(width));
    put32(bmp, static_cast<std::uint32_t>(height));
    put16(bmp, 1);
    put16(bmp, 24);
    for (int i = 0; i < 6; ++i) {
        put32(bmp, 0);
    }
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = x < width / 2 ? left : right;
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        bmp += row;
    }
    return bmp;
}

// A 32 x 32 icon (type 1) or pointer (type 2, with a hot spot) of one opaque colour.
std::string solidIconFile(bool pointer, COLORREF color, int hotX, int hotY) {
    std::string file;
    put16(file, 0);
    put16(file, pointer ? 2 : 1);
    put16(file, 1);
    file += static_cast<char>(32);
    file += static_cast<char>(32);
    file += '\0';
    file += '\0';
    put16(file, pointer ? static_cast<unsigned>(hotX) : 1);
    put16(file, pointer ? static_cast<unsigned>(hotY) : 32);
    put32(file, 40 + 32 * 32 * 4 + 32 * 4);
    put32(file, 22);
    put32(file, 40);
    put32(file, 32);
    put32(file, 64);
    put16(file, 1);
    put16(file, 32);
    for (int i = 0; i < 6; ++i) {
        put32(file, 0);
    }
    for (int i = 0; i < 32 * 32; ++i) {
        file += static_cast<char>(GetBValue(color));
        file += static_cast<char>(GetGValue(color));
        file += static_cast<char>(GetRValue(color));
        file += static_cast<char>(0xFF);
    }
    file.append(32 * 4, '\0'); // the AND mask: every pixel shown
    return file;
}

COLORREF screenPixel(POINT screen) {
    const HDC dc = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(dc, screen.x, screen.y);
    ::ReleaseDC(nullptr, dc);
    return color;
}

// A point of a window's client area on the screen.
POINT onScreen(HWND window, int x, int y) {
    POINT at = {x, y};
    ::ClientToScreen(window, &at);
    return at;
}

std::string hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Waits until a point of a window's client area has a colour; the colour seen last otherwise.
std::string colourAt(HWND window, int x, int y, COLORREF expected) {
    COLORREF seen = 0;
    waitUntil(
        [&] {
            seen = screenPixel(onScreen(window, x, y));
            return seen == expected;
        },
        5000ms);
    return hex(seen);
}

COLORREF toColorref(Rgb c) {
    return RGB(c.red, c.green, c.blue);
}

// Moves the mouse onto a control, a little right of its middle (where the driver clicks into
// fields, so that the mouse does move) and further right at each step.
void restMouseOn(HWND control, int step) {
    RECT r{};
    ::GetWindowRect(control, &r);
    const POINT at = {(r.left + r.right) / 2 + 12 + 8 * step, (r.top + r.bottom) / 2};
    INPUT move = mouseAt(at, 0);
    ::SendInput(1, &move, sizeof move);
}

void moveMouseAway(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    INPUT move = mouseAt({r.left + 10, r.bottom - 10}, 0);
    ::SendInput(1, &move, sizeof move);
}

HWND shown(const wchar_t* className) {
    const HWND window = ::FindWindowW(className, nullptr);
    return window && ::IsWindowVisible(window) ? window : nullptr;
}

void pressShortcut(WORD key, bool control, bool shift) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (control) {
        add(VK_CONTROL, 0);
    }
    if (shift) {
        add(VK_SHIFT, 0);
    }
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) {
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    if (control) {
        add(VK_CONTROL, KEYEVENTF_KEYUP);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class Previews : public WizardTest {
protected:
    std::wstring work = settings().workDir;
    std::wstring folder = work + L"\\预览";
    static constexpr COLORREF kGreen = RGB(0, 200, 0);
    static constexpr COLORREF kMagenta = RGB(200, 0, 200);
    static constexpr COLORREF kRed = RGB(255, 0, 0);
    static constexpr COLORREF kBlue = RGB(0, 0, 255);
    static constexpr int kHotX = 5;
    static constexpr int kHotY = 7;

    void SetUp() override {
        ASSERT_FALSE(work.empty()) << "run with --work=DIR";
        ASSERT_TRUE(makeFolders(folder));
        ASSERT_TRUE(writeFileBytes(folder + L"\\壁纸.bmp", twoColourBmp(400, 250, kRed, kBlue)));
        ASSERT_TRUE(
            writeFileBytes(folder + L"\\箭头.cur", solidIconFile(true, kGreen, kHotX, kHotY)));
        ASSERT_TRUE(writeFileBytes(folder + L"\\文档.ico", solidIconFile(false, kMagenta, 0, 0)));
    }

    // Rests the mouse on a field and returns the preview popup once it shows.
    HWND hoverPreview(HWND field) {
        // A window that was disabled under a dialog a moment ago may not have seen the move:
        // the mouse moves on a little, as a user's would, until the preview shows.
        waitUntil([&] { return app->enabled(app->mainWindow()); }, 3000ms);
        HWND popup = nullptr;
        for (int step = 0; step < 3 && !popup; ++step) {
            restMouseOn(field, step);
            waitUntil([&] { return (popup = shown(kPopupClass)) != nullptr; }, 2000ms);
        }
        return popup;
    }
    void expectPopupGoneAfterLeaving() {
        moveMouseAway(app->mainWindow());
        EXPECT_TRUE(waitUntil([] { return shown(kPopupClass) == nullptr; }, 3000ms))
            << "the preview stayed after the mouse left the field";
    }
    void pickCustomArrow() {
        pick(138, 18, "自定义鼠标方案");
        typeInto(320, 18, "预览指针");
        pickFile(427, 91, folder + L"\\箭头.cur"); // Arrow: second row of the right column
    }
};

TEST_F(Previews, RestingOnAPickedFieldShowsTheImageAndThePointer) {
    start(L"win7");
    walkWin7To("WIN71");
    press("下一步", "指针页");
    pickCustomArrow();
    const HWND arrowField = field(292, 91);
    ASSERT_NE(arrowField, nullptr);
    HWND popup = hoverPreview(arrowField);
    ASSERT_NE(popup, nullptr) << "no preview beside the pointer field";
    EXPECT_NE(app->focus(), popup);
    app->screenshot(popup, L"preview-pointer");
    // The pointer at its size from the padding's corner, the hot spot marked in red beside it.
    const int pad = preview::kPadding;
    EXPECT_EQ(colourAt(popup, pad + 20, pad + 20, kGreen), hex(kGreen));
    EXPECT_EQ(colourAt(popup, pad + kHotX + 4, pad + kHotY, RGB(230, 0, 0)), hex(RGB(230, 0, 0)));
    RECT fieldRect{};
    RECT shownAt{};
    ::GetWindowRect(arrowField, &fieldRect);
    ::GetWindowRect(popup, &shownAt);
    EXPECT_GE(shownAt.top, fieldRect.bottom) << "the preview covers its field";
    expectPopupGoneAfterLeaving();

    pick(138, 18, "系统默认鼠标方案");
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    pickFile(432, 161, folder + L"\\壁纸.bmp");
    popup = hoverPreview(field(159, 161));
    ASSERT_NE(popup, nullptr) << "no preview beside the wallpaper field";
    app->screenshot(popup, L"preview-wallpaper");
    // 400 x 250 shown as 200 x 125: red on the left, blue on the right.
    EXPECT_EQ(colourAt(popup, pad + 50, pad + 60, kRed), hex(kRed));
    EXPECT_EQ(colourAt(popup, pad + 150, pad + 60, kBlue), hex(kBlue));
    EXPECT_EQ(colourAt(popup, pad + 200 + 3, pad + 60, ::GetSysColor(COLOR_WINDOW)),
              hex(::GetSysColor(COLOR_WINDOW)))
        << "the thumbnail is wider than 200 pixels";
    expectPopupGoneAfterLeaving();

    // A picked file that has gone since shows the reason instead.
    ASSERT_TRUE(::DeleteFileW((folder + L"\\壁纸.bmp").c_str()));
    popup = hoverPreview(field(159, 161));
    ASSERT_NE(popup, nullptr);
    app->screenshot(popup, L"preview-missing");
    EXPECT_EQ(pageSeen(*app), "WIN74");
    noMessageBox();

    // A file with a version resource in the visual style's field: its name, size, description.
    press("下一步", "WIN75");
    typeInto(159, 92, "C:\\windows\\system32\\shell32.dll");
    popup = hoverPreview(field(159, 92));
    ASSERT_NE(popup, nullptr) << "no preview beside the visual style field";
    app->screenshot(popup, L"preview-style");
    RECT info{};
    ::GetClientRect(popup, &info);
    EXPECT_GT(info.bottom, 3 * 12) << "fewer than three lines";
}

TEST_F(Previews, DesktopPreviewDrawsTheWholeWindows7Theme) {
    const COLORREF wallpaper = RGB(20, 140, 200);
    ASSERT_TRUE(
        writeFileBytes(folder + L"\\桌面.bmp", twoColourBmp(320, 200, wallpaper, wallpaper)));
    start(L"win7");
    walkWin7To("WIN71");
    pickFile(432, 92, folder + L"\\文档.ico");
    press("下一步", "指针页");
    pickCustomArrow();
    press("下一步", "WIN73");
    pick(159, 91, "系统默认声音方案");
    press("下一步", "WIN74");
    pickFile(432, 161, folder + L"\\桌面.bmp");
    press("下一步", "WIN75");
    typeInto(159, 92, "C:\\windows\\resources\\themes\\aero\\aero.msstyles");
    typeInto(159, 161, "FF8000");
    typeInto(432, 198, "200");
    app->screenshot(L"preview-before");

    pressShortcut('P', true, true);
    HWND desktop = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (desktop = shown(kDesktopClass)) != nullptr; }, 5000ms))
        << "Ctrl+Shift+P opened no desktop preview";
    EXPECT_FALSE(app->enabled(app->mainWindow()));
    RECT client{};
    ::GetClientRect(desktop, &client);
    EXPECT_EQ(client.right, preview::kDesktopWidth);
    EXPECT_EQ(client.bottom, preview::kDesktopWidth * 10 / 16);
    const preview::DesktopLayout l = preview::desktopLayout(client.right, false);
    const COLORREF frame = toColorref(preview::blend({255, 128, 0}, {20, 140, 200}, 200));
    EXPECT_EQ(colourAt(desktop, l.screen.width - 8, 8, wallpaper), hex(wallpaper));
    EXPECT_EQ(
        colourAt(desktop, l.window.left + l.frame / 2, l.window.top + l.window.height / 2, frame),
        hex(frame));
    EXPECT_EQ(colourAt(desktop, l.client.left + l.client.width - 6,
                       l.client.top + l.client.height - 6, RGB(255, 255, 255)),
              "FFFFFF");
    EXPECT_EQ(colourAt(desktop, l.icons[0].left + l.iconSize / 2, l.icons[0].top + l.iconSize / 2,
                       kMagenta),
              hex(kMagenta));
    EXPECT_EQ(colourAt(desktop, l.pointerX - kHotX + 20, l.pointerY - kHotY + 20, kGreen),
              hex(kGreen));
    app->screenshot(desktop, L"preview-desktop");

    pressShortcut(VK_ESCAPE, false, false);
    EXPECT_TRUE(waitUntil([] { return ::FindWindowW(kDesktopClass, nullptr) == nullptr; }, 3000ms))
        << "Escape left the desktop preview open";
    EXPECT_TRUE(waitUntil([&] { return app->enabled(app->mainWindow()); }, 3000ms));
    EXPECT_EQ(pageSeen(*app), "WIN75");
    EXPECT_EQ(app->text(field(159, 161)), "FF8000");
    EXPECT_EQ(app->text(field(432, 198)), "200");

    // The same window from the system menu's command, closed as its close button does.
    ::PostMessageW(app->mainWindow(), WM_SYSCOMMAND, kDesktopCommand, 0);
    ASSERT_TRUE(waitUntil([&] { return (desktop = shown(kDesktopClass)) != nullptr; }, 5000ms));
    ::PostMessageW(desktop, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([] { return ::FindWindowW(kDesktopClass, nullptr) == nullptr; }, 3000ms));
    EXPECT_TRUE(waitUntil([&] { return app->enabled(app->mainWindow()); }, 3000ms));
    app->screenshot(L"preview-after");
    noMessageBox();
}

} // namespace
} // namespace quorvel::e2e
