// The wizard's graphic button against what its parent sees: BN_CLICKED for a completed click by
// mouse, Space or BM_CLICK and for nothing else, and the drawing states in WM_DRAWITEM; and
// against what an accessibility client sees through the system's oleacc.
#include "widgets/win32/GraphicButton.h"

#include "AccessibleClient.h"

#include "platform/win32/WideText.h"
#include "widgets/Accessibility.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace quorvel {
namespace {

constexpr wchar_t kParentClass[] = L"QuorvelGraphicButtonTestParent";
constexpr int kButtonId = 77;

// What the parent received from its button.
struct Seen {
    int clicks = 0;
    int draws = 0;
    UINT lastState = 0;
};
Seen* seen = nullptr;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (seen && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        LOWORD(wParam) == kButtonId && lParam != 0) {
        ++seen->clicks;
        return 0;
    }
    if (seen && message == WM_DRAWITEM && wParam == kButtonId) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_BUTTON && item->hDC) {
            ++seen->draws;
            seen->lastState = item->itemState;
        }
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class GraphicButtonTest : public testing::Test {
protected:
    // One shown parent for all the tests: under Wine without a window manager, destroying a
    // shown top-level window waits two seconds for it to be withdrawn.
    inline static HWND parent = nullptr;
    Seen received;
    HWND button = nullptr;

    static void SetUpTestSuite() {
        wchar_t display[64] = {};
        if (::GetEnvironmentVariableW(L"DISPLAY", display, 64) == 0) {
            return;
        }
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW parentClass{};
        parentClass.cbSize = sizeof(parentClass);
        parentClass.lpfnWndProc = parentProc;
        parentClass.hInstance = instance;
        parentClass.lpszClassName = kParentClass;
        ::RegisterClassExW(&parentClass);
        parent = ::CreateWindowExW(0, kParentClass, L"parent", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                   200, nullptr, nullptr, instance, nullptr);
        ::ShowWindow(parent, SW_SHOW);
    }
    static void TearDownTestSuite() {
        if (parent) {
            ::DestroyWindow(parent);
            parent = nullptr;
        }
    }

    void SetUp() override {
        if (!parent) {
            GTEST_SKIP() << "needs a display";
        }
        const HINSTANCE instance = ::GetModuleHandleW(nullptr);
        ASSERT_TRUE(registerGraphicButtonClass(instance));
        ASSERT_TRUE(registerGraphicButtonClass(instance)) << "registering twice is no failure";
        seen = &received;
        button = ::CreateWindowExW(0, kGraphicButtonClass, L"生成Win7主题",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 179, 40, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
                                   instance, nullptr);
        ASSERT_NE(button, nullptr);
        ::UpdateWindow(parent);
    }

    void TearDown() override {
        seen = nullptr;
        if (button) {
            ::DestroyWindow(button);
        }
    }

    // The state the button draws itself in now.
    UINT drawnState() {
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return received.lastState;
    }
    void send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        ::SendMessageW(button, message, wParam, lParam);
    }
    static LPARAM at(int x, int y) { return MAKELPARAM(x, y); }
};

TEST_F(GraphicButtonTest, IsDrawnByItsParentWithItsStates) {
    EXPECT_GT(received.draws, 0) << "showing the window draws the button";
    EXPECT_EQ(drawnState() & (ODS_SELECTED | ODS_FOCUS | ODS_DISABLED | ODS_HOTLIGHT), 0u);
    ::SetFocus(button);
    EXPECT_TRUE(drawnState() & ODS_FOCUS);
    EXPECT_TRUE(::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_FOCUS);
    send(WM_MOUSEMOVE, 0, at(5, 5));
    EXPECT_TRUE(drawnState() & ODS_HOTLIGHT);
    EXPECT_TRUE(::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_HOT);
    send(WM_MOUSELEAVE);
    EXPECT_FALSE(drawnState() & ODS_HOTLIGHT);
    ::EnableWindow(button, FALSE);
    EXPECT_TRUE(drawnState() & ODS_DISABLED);
    EXPECT_EQ(::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
}

TEST_F(GraphicButtonTest, AClickIsAPressAndAReleaseOverTheButton) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    EXPECT_EQ(::GetCapture(), button);
    EXPECT_EQ(::GetFocus(), button) << "a click takes the focus";
    EXPECT_TRUE(drawnState() & ODS_SELECTED);
    EXPECT_TRUE(::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(received.clicks, 0) << "pressing alone is no click";

    // Dragged off, the button looks released; back on, pressed again.
    send(WM_MOUSEMOVE, MK_LBUTTON, at(250, 20));
    EXPECT_FALSE(drawnState() & ODS_SELECTED);
    send(WM_MOUSEMOVE, MK_LBUTTON, at(30, 30));
    EXPECT_TRUE(drawnState() & ODS_SELECTED);

    send(WM_LBUTTONUP, 0, at(30, 30));
    EXPECT_EQ(received.clicks, 1);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(drawnState() & ODS_SELECTED);
}

TEST_F(GraphicButtonTest, ReleasingElsewhereOrLosingTheCaptureIsNoClick) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    send(WM_LBUTTONUP, 0, at(250, 20));
    EXPECT_EQ(received.clicks, 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    ::ReleaseCapture(); // another window took the mouse
    EXPECT_FALSE(drawnState() & ODS_SELECTED);
    send(WM_LBUTTONUP, 0, at(20, 20));
    EXPECT_EQ(received.clicks, 0);

    send(WM_LBUTTONUP, 0, at(20, 20));
    EXPECT_EQ(received.clicks, 0) << "a release without a press";
}

TEST_F(GraphicButtonTest, SpaceClicksOnReleaseAndBmClickOnlyWhenEnabled) {
    ::SetFocus(button);
    send(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_TRUE(drawnState() & ODS_SELECTED);
    send(WM_KEYDOWN, VK_SPACE, 1 | 0x40000000); // held: repeats change nothing
    EXPECT_EQ(received.clicks, 0);
    send(WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(received.clicks, 1);
    EXPECT_FALSE(drawnState() & ODS_SELECTED);

    send(WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(received.clicks, 1) << "a release without a press";

    // Space pressed, then the focus leaves: no click when it is released.
    send(WM_KEYDOWN, VK_SPACE, 1);
    ::SetFocus(parent);
    send(WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(received.clicks, 1);

    send(BM_CLICK);
    EXPECT_EQ(received.clicks, 2);
    ::EnableWindow(button, FALSE);
    send(BM_CLICK);
    EXPECT_EQ(received.clicks, 2);
}

TEST_F(GraphicButtonTest, DisablingWhilePressedReleasesTheMouse) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    ::EnableWindow(button, FALSE);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    send(WM_LBUTTONUP, 0, at(20, 20));
    EXPECT_EQ(received.clicks, 0);
}

TEST_F(GraphicButtonTest, AccessibilityClientsSeeAPushButtonWithItsLabelAndStates) {
    const HRESULT com = system::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    constexpr long kStates = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_PRESSED | STATE_SYSTEM_FOCUSED;
    {
        const test::AccessibleClient client(button);
        ASSERT_EQ(client.got, S_OK);
        EXPECT_EQ(client.role(), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(client.name(), L"生成Win7主题");
        EXPECT_EQ(client.state() & kStates, 0);
    }
    ::SetFocus(button);
    send(WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    EXPECT_EQ(test::AccessibleClient(button).state() & kStates,
              STATE_SYSTEM_PRESSED | STATE_SYSTEM_FOCUSED);
    send(WM_LBUTTONUP, 0, at(250, 20));

    ::SetWindowTextW(button, L"返回主界面");
    ::EnableWindow(button, FALSE);
    {
        const test::AccessibleClient client(button);
        EXPECT_EQ(client.name(), L"返回主界面");
        EXPECT_EQ(client.state() & (kStates | STATE_SYSTEM_FOCUSABLE), STATE_SYSTEM_UNAVAILABLE);
    }
    if (SUCCEEDED(com)) {
        system::CoUninitialize();
    }
}

TEST_F(GraphicButtonTest, LateBoundClientsCallTheSameObjectThroughIDispatchByName) {
    const HRESULT com = system::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        const test::AccessibleClient client(button);
        ASSERT_EQ(client.got, S_OK);
        IDispatch* const dispatch = client.object;
        UINT infos = 0;
        ASSERT_EQ(dispatch->GetTypeInfoCount(&infos), S_OK);
        ASSERT_EQ(infos, 1u) << "oleacc's type library describes IAccessible";
        struct Case {
            const wchar_t* name;
            DISPID id;
            VARTYPE type;
        };
        const Case cases[] = {{L"accName", DISPID_ACC_NAME, VT_BSTR},
                              {L"accRole", DISPID_ACC_ROLE, VT_I4},
                              {L"accDefaultAction", DISPID_ACC_DEFAULTACTION, VT_BSTR}};
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << toUtf8(c.name));
            LPOLESTR name = const_cast<LPOLESTR>(c.name);
            DISPID id = 0;
            EXPECT_EQ(dispatch->GetIDsOfNames(GUID{}, &name, 1, 0, &id), S_OK);
            EXPECT_EQ(id, c.id);
            VARIANT self = test::AccessibleClient::id(CHILDID_SELF);
            DISPPARAMS params{&self, nullptr, 1, 0};
            VARIANT result{};
            EXPECT_EQ(dispatch->Invoke(c.id, GUID{}, 0, DISPATCH_PROPERTYGET, &params, &result,
                                       nullptr, nullptr),
                      S_OK);
            ASSERT_EQ(result.vt, c.type);
            if (c.type == VT_BSTR) {
                EXPECT_EQ(std::wstring(result.bstrVal), c.id == DISPID_ACC_NAME
                                                            ? std::wstring(L"生成Win7主题")
                                                            : toWide(access::kPressAction));
            } else {
                EXPECT_EQ(result.lVal, ROLE_SYSTEM_PUSHBUTTON);
            }
            system::VariantClear(&result);
        }
        // The action by its number, as a script presses the button.
        VARIANT self = test::AccessibleClient::id(CHILDID_SELF);
        DISPPARAMS params{&self, nullptr, 1, 0};
        EXPECT_EQ(dispatch->Invoke(DISPID_ACC_DODEFAULTACTION, GUID{}, 0, DISPATCH_METHOD, &params,
                                   nullptr, nullptr, nullptr),
                  S_OK);
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&message);
        }
        EXPECT_EQ(received.clicks, 1);
    }
    if (SUCCEEDED(com)) {
        system::CoUninitialize();
    }
}

} // namespace
} // namespace quorvel
