// The real main window, created hidden: every control of the table is a child window at its
// place with its caption and state, and the wizard's interface reads and writes them by name.
#include "RecordingPlatform.h"
#include "Sandbox.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"
#include "widgets/Dpi.h"
#include "window/win32/ThemeWizardWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace quorvel {
namespace {

using C = ControlId;

class Win32Window : public testing::Test {
protected:
    std::unique_ptr<test::Sandbox> sandbox = test::makeSandbox();
    test::RecordingPlatform platform{sandbox->platform()};
    AppState app;
    ThemeWizardWindow window{::GetModuleHandleW(nullptr), app, platform};

    void SetUp() override {
        // Wine creates windows only on a display; scripts/e2e.sh runs these tests on one.
        wchar_t display[64] = {};
        if (::GetEnvironmentVariableW(L"DISPLAY", display, 64) == 0) {
            GTEST_SKIP() << "needs a display";
        }
        ASSERT_TRUE(window.create(SW_HIDE));
    }

    // Sends the notification a click on a button sends to its parent.
    void click(ControlId id) {
        const HWND button = window.control(id);
        ::SendMessageW(::GetParent(button), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
    bool shown(HWND w) { return (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; }
};

TEST_F(Win32Window, IsAFixedFrameWithCaptionAndMinimizeButton) {
    const HWND w = window.handle();
    const LONG_PTR style = ::GetWindowLongPtrW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    wchar_t caption[64] = {};
    ::GetWindowTextW(w, caption, 64);
    EXPECT_STREQ(caption, L"Quorvel（Quorvel Ver2.0）");
    RECT frame{};
    RECT client{};
    ::GetWindowRect(w, &frame);
    ::GetClientRect(w, &client);
    EXPECT_GE(frame.right - frame.left, 500);
    EXPECT_GE(frame.bottom - frame.top, 367);
    EXPECT_GE(client.right, kPageWidth);
    EXPECT_GE(client.bottom, kPageHeight);
}

// The window moved to a monitor of 144 DPI: it takes the suggested frame and lays every control
// out at its rectangle scaled; back at 96 DPI every control is where it was.
TEST_F(Win32Window, ADpiChangeTakesTheSuggestedFrameAndScalesEveryControl) {
    ASSERT_TRUE(window.completeControls());
    const auto placeOf = [](HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    RECT before{};
    ::GetWindowRect(window.handle(), &before);
    for (const int dpi : {144, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested = {40, 30, 40 + scaleToDpi(before.right - before.left, dpi),
                          30 + scaleToDpi(before.bottom - before.top, dpi)};
        ::SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(window.dpi(), dpi);
        RECT frame{};
        ::GetWindowRect(window.handle(), &frame);
        EXPECT_EQ(frame.left, suggested.left);
        EXPECT_EQ(frame.right, suggested.right);
        EXPECT_EQ(frame.bottom, suggested.bottom);
        for (const ControlDef& def : controlTable()) {
            if (def.kind == ControlKind::PageContainer) {
                continue; // it fills the window
            }
            const Rect r = scaleToDpi(def.rect, dpi);
            const RECT at = placeOf(window.control(def.id));
            EXPECT_EQ(at.left, r.left) << def.name;
            EXPECT_EQ(at.top, r.top) << def.name;
            EXPECT_EQ(at.right, r.right()) << def.name;
            EXPECT_EQ(at.bottom, r.bottom()) << def.name; // a drop-down list closed
        }
    }
}

TEST_F(Win32Window, EveryControlOfTheTableSitsOnItsPageWithItsCaptionAndState) {
    for (const ControlDef& def : controlTable()) {
        SCOPED_TRACE(def.name);
        const HWND control = window.control(def.id);
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, def.rect.left);
        EXPECT_EQ(rect.top, def.rect.top);
        EXPECT_EQ(rect.right - rect.left, def.rect.width);
        EXPECT_EQ(rect.bottom - rect.top, def.rect.height);
        if (def.page != std::nullopt && def.kind != ControlKind::PagePicture) {
            EXPECT_EQ(::GetParent(control),
                      window.control(
                          pageInfos()[static_cast<std::size_t>(pageIndex(*def.page))].picture));
        }
        EXPECT_EQ(window.enabled(def.id), def.enabled);
        if (def.kind != ControlKind::Slider && def.kind != ControlKind::PagePicture &&
            def.kind != ControlKind::PageContainer) {
            EXPECT_EQ(window.text(def.id), def.caption);
        }
    }
    EXPECT_EQ(window.sliderPosition(C::Win7AlphaSlider), 127);
    EXPECT_EQ(::SendMessageW(window.control(C::Win7AlphaSlider), TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(::SendMessageW(window.control(C::XpSystemSaver), CB_GETCOUNT, 0, 0), 12);
}

TEST_F(Win32Window, ShowsOnePageAtATime) {
    for (Page page : {Page::Main, Page::Win75, Page::Xp6, Page::About}) {
        window.goToPage(page);
        EXPECT_EQ(window.currentPage(), page);
        for (const PageInfo& info : pageInfos()) {
            EXPECT_EQ(shown(window.control(info.picture)), info.page == page) << info.name;
        }
    }
    EXPECT_THROW(window.goToPage(static_cast<Page>(kPageCount)), std::out_of_range);
}

TEST_F(Win32Window, ReadsAndWritesControls) {
    window.setText(C::Win7ThemeName, "淺奬主题");
    EXPECT_EQ(window.text(C::Win7ThemeName), "淺奬主题");
    window.setEnabled(C::Win7ThemeName, false);
    EXPECT_FALSE(window.enabled(C::Win7ThemeName));
    window.setComboIndex(C::Win7SoundScheme, 2);
    EXPECT_EQ(window.comboIndex(C::Win7SoundScheme), 2);
    EXPECT_EQ(window.text(C::Win7SoundScheme), "自定义声音方案");
    window.setSliderPosition(C::Win7AlphaSlider, 0);
    EXPECT_EQ(window.sliderPosition(C::Win7AlphaSlider), 0);
    window.setText(C::Win7SystemSaverTick, "√");
    EXPECT_EQ(window.text(C::Win7SystemSaverTick), "√");
}

TEST_F(Win32Window, ButtonClicksRunThePageFlow) {
    platform.version = {6, 1};
    click(C::MainWin7);
    EXPECT_EQ(window.currentPage(), Page::Win71);
    click(C::Win7IconsAbout);
    EXPECT_EQ(window.currentPage(), Page::About);
    click(C::AboutReturn);
    EXPECT_EQ(window.currentPage(), Page::Win71);
    click(C::Win7IconsWeb);
    EXPECT_EQ(platform.openedAddresses.size(), 1u);
    click(C::Win7IconsBack);
    platform.version = {6, 2};
    click(C::MainXp);
    EXPECT_EQ(window.currentPage(), Page::Main);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "此功能只能在XP系统下使用!");
    // A button of a page not shown does nothing.
    click(C::XpIconsNext);
    EXPECT_EQ(window.currentPage(), Page::Main);
}

TEST_F(Win32Window, ActivationGivesTheFocusBackToTheControlThatHadIt) {
    // Shown and activated, the window's focus is on page 0's first button.
    ::ShowWindow(window.handle(), SW_SHOW);
    ::SetActiveWindow(window.handle());
    EXPECT_EQ(::GetFocus(), window.control(C::MainWin7));

    ::SetFocus(window.control(C::MainForum));
    const HWND other = ::CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                         50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ::SetActiveWindow(other);
    EXPECT_NE(::GetFocus(), window.control(C::MainForum));
    ::SetActiveWindow(window.handle());
    EXPECT_EQ(::GetFocus(), window.control(C::MainForum));

    // A control that cannot take the focus any more gives way to the page's first one.
    ::SetActiveWindow(other);
    window.setEnabled(C::MainForum, false);
    ::SetActiveWindow(window.handle());
    EXPECT_EQ(::GetFocus(), window.control(C::MainWin7));
    ::DestroyWindow(other);
}

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool systemHasFace(const wchar_t* face) {
    const HDC screen = ::GetDC(nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(screen, &query, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

TEST_F(Win32Window, TickBoxesShowTheTickInHeiAndAnswerOnlyTheButtonReleasedOverThem) {
    window.goToPage(Page::Win74);
    const HWND tick = window.control(C::Win7SystemSaverTick);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(tick, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW face{};
    ASSERT_GT(::GetObjectW(font, sizeof(face), &face), 0);
    if (systemHasFace(L"黑体")) {
        EXPECT_STREQ(face.lfFaceName, L"黑体");
    } else if (systemHasFace(L"SimHei")) {
        EXPECT_STREQ(face.lfFaceName, L"SimHei");
    }
    // Whatever face stands in, it has the tick mark.
    const HDC dc = ::GetDC(tick);
    const HGDIOBJ previous = ::SelectObject(dc, font);
    WORD glyph = 0;
    ::GetGlyphIndicesW(dc, L"√", 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(dc, previous);
    ::ReleaseDC(tick, dc);
    EXPECT_NE(glyph, 0xFFFF);

    ::SendMessageW(tick, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(tick, WM_CHAR, L' ', 0);
    ::SendMessageW(tick, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(window.text(C::Win7SystemSaverTick), "");
    ::SendMessageW(tick, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(window.text(C::Win7SystemSaverTick), "");
    ::SendMessageW(tick, WM_LBUTTONUP, 0, MAKELPARAM(30, 10)); // released beside it
    EXPECT_EQ(window.text(C::Win7SystemSaverTick), "");
    ::SendMessageW(tick, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(window.text(C::Win7SystemSaverTick), "√");
    EXPECT_TRUE(window.enabled(C::Win7SystemSaver));
    ::SendMessageW(tick, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(window.text(C::Win7SystemSaverTick), "");
}

// What a message box looked like while it showed: read by a timer of the thread, which the box's
// own message loop runs, then the box is confirmed.
struct BoxSeen {
    HWND box = nullptr;
    HWND owner = nullptr;
    bool ownerEnabled = true;
};
BoxSeen boxSeen;

void CALLBACK inspectBox(HWND, UINT, UINT_PTR timer, DWORD) {
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            wchar_t name[16] = {};
            ::GetClassNameW(w, name, 16);
            if (std::wstring_view(name) != L"#32770" || !::IsWindowVisible(w)) {
                return TRUE;
            }
            boxSeen.box = w;
            boxSeen.owner = ::GetWindow(w, GW_OWNER);
            boxSeen.ownerEnabled = boxSeen.owner && ::IsWindowEnabled(boxSeen.owner);
            return FALSE;
        },
        0);
    if (boxSeen.box) {
        ::KillTimer(nullptr, timer);
        ::PostMessageW(boxSeen.box, WM_COMMAND, IDOK, 0);
    }
}

// Shows a box through the platform and answers what it looked like.
BoxSeen showBox(Win32Platform& platform) {
    boxSeen = {};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, inspectBox);
    platform.messageBox("此功能只能在XP系统下使用!", MessageIcon::Error, "错误...");
    ::KillTimer(nullptr, timer);
    return boxSeen;
}

TEST(Win32WindowMessageBox, IsOwnedByTheMainWindowWhichTakesNoInputMeanwhile) {
    wchar_t display[64] = {};
    if (::GetEnvironmentVariableW(L"DISPLAY", display, 64) == 0) {
        GTEST_SKIP() << "needs a display";
    }
    Win32Platform platform;
    AppState app;
    auto window = std::make_unique<ThemeWizardWindow>(::GetModuleHandleW(nullptr), app, platform);
    ASSERT_TRUE(window->create(SW_HIDE));
    const HWND main = window->handle();
    platform.setOwnerWindow(main);

    // The gate's refusal, as the XP button under Windows 7 shows it.
    const BoxSeen seen = showBox(platform);
    ASSERT_NE(seen.box, nullptr) << "no box showed";
    EXPECT_EQ(seen.owner, main);
    EXPECT_FALSE(seen.ownerEnabled) << "the wizard took input under its message";
    EXPECT_TRUE(::IsWindowEnabled(main)) << "confirmed, the box gives the window back";

    // Once the window is gone the boxes have no owner.
    window.reset();
    ASSERT_FALSE(::IsWindow(main));
    const BoxSeen after = showBox(platform);
    ASSERT_NE(after.box, nullptr);
    EXPECT_EQ(after.owner, nullptr);
}

} // namespace
} // namespace quorvel
