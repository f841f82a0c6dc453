#include "widgets/win32/GraphicButton.h"

#include "widgets/win32/AccessibleObject.h"
#include "widgets/win32/Gdi.h"
#include "widgets/win32/WindowBase.h"

#include <commctrl.h> // BST_HOT
#include <windowsx.h>

namespace quorvel {

namespace {

// The state of a button, kept in the window's extra bytes.
enum : LONG_PTR {
    kHot = 1,       // the pointer is over the button
    kMouseDown = 2, // the left mouse button went down on it and has the capture
    kInside = 4,    // while kMouseDown: the pointer is inside
    kSpaceDown = 8, // Space went down while it had the focus
    kFocused = 16,  // between WM_SETFOCUS and WM_KILLFOCUS: it has the focus (asked at every
                    // paint, where GetFocus would cost a round trip to the system)
};

LONG_PTR stateOf(HWND button) {
    return ::GetWindowLongPtrW(button, 0);
}

// Changes the state and redraws the button when its look changes.
void setState(HWND button, LONG_PTR state) {
    if (state != stateOf(button)) {
        ::SetWindowLongPtrW(button, 0, state);
        ::InvalidateRect(button, nullptr, FALSE);
    }
}

bool pushed(LONG_PTR state) {
    return (state & kSpaceDown) != 0 || ((state & kMouseDown) != 0 && (state & kInside) != 0);
}

bool pointInside(HWND button, LPARAM position) {
    RECT client{};
    ::GetClientRect(button, &client);
    const POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return ::PtInRect(&client, point) != FALSE;
}

void notifyClicked(HWND button) {
    if (const HWND parent = ::GetParent(button)) {
        const int id = ::GetDlgCtrlID(button);
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
}

void draw(HWND button, HDC dc) {
    const LONG_PTR state = stateOf(button);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(::GetDlgCtrlID(button));
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = button;
    item.hDC = dc;
    ::GetClientRect(button, &item.rcItem);
    if (pushed(state)) {
        item.itemState |= ODS_SELECTED;
    }
    if (state & kFocused) {
        item.itemState |= ODS_FOCUS;
    }
    if (!::IsWindowEnabled(button)) {
        item.itemState |= ODS_DISABLED;
    }
    if (state & kHot) {
        item.itemState |= ODS_HOTLIGHT;
    }
    if (const HWND parent = ::GetParent(button)) {
        ::SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
}

// The button keeps its state in its window's own bytes rather than in an object, so its procedure
// is a plain function: no WindowBase to bind. Nothing it calls throws (the parent draws the face
// and catches for itself; the answer to screen readers catches inside).
LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const LONG_PTR state = stateOf(button);
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_LBUTTONDOWN:
        ::SetFocus(button);
        ::SetCapture(button);
        setState(button, state | kMouseDown | kInside);
        return 0;
    case WM_MOUSEMOVE: {
        LONG_PTR next = state | kHot;
        if (!(state & kHot)) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
            ::TrackMouseEvent(&track);
        }
        if (state & kMouseDown) {
            next = pointInside(button, lParam) ? next | kInside : next & ~kInside;
        }
        setState(button, next);
        return 0;
    }
    case WM_MOUSELEAVE:
        setState(button, state & ~kHot);
        return 0;
    case WM_LBUTTONUP:
        if (state & kMouseDown) {
            const bool click = pointInside(button, lParam);
            // The state first: releasing the capture sends WM_CAPTURECHANGED.
            setState(button, state & ~(kMouseDown | kInside));
            ::ReleaseCapture();
            if (click) {
                notifyClicked(button);
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != button) {
            setState(button, state & ~(kMouseDown | kInside));
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !(lParam & 0x40000000)) { // not a repeat
            setState(button, state | kSpaceDown);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (state & kSpaceDown)) {
            setState(button, state & ~kSpaceDown);
            notifyClicked(button);
        }
        return 0;
    case WM_SETFOCUS:
        ::SetWindowLongPtrW(button, 0, state | kFocused);
        ::InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        ::SetWindowLongPtrW(button, 0, state & ~(kSpaceDown | kFocused));
        if (state & kMouseDown) {
            ::ReleaseCapture();
        }
        ::InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_ENABLE:
        if (!wParam) {
            if (state & kMouseDown) {
                ::ReleaseCapture();
            }
            setState(button, state & kFocused);
        }
        ::InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = ::DefWindowProcW(button, message, wParam, lParam);
        ::InvalidateRect(button, nullptr, FALSE);
        return result;
    }
    case BM_CLICK:
        if (::IsWindowEnabled(button)) {
            notifyClicked(button);
        }
        return 0;
    case BM_GETSTATE: {
        LRESULT result = 0;
        if (pushed(state)) {
            result |= BST_PUSHED;
        }
        if (state & kFocused) {
            result |= BST_FOCUS;
        }
        if (state & kHot) {
            result |= BST_HOT;
        }
        return result;
    }
    case WM_NCPAINT:
        if (!gdi::hasNonClientArea(button)) {
            return 0;
        }
        return ::DefWindowProcW(button, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const gdi::PaintDc paint(button);
        draw(button, paint.get());
        return 0;
    }
    case WM_PRINTCLIENT:
        draw(button, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT object = answerButtonGetObject(button, wParam, lParam)) {
            return object;
        }
        return ::DefWindowProcW(button, message, wParam, lParam);
    default:
        return ::DefWindowProcW(button, message, wParam, lParam);
    }
}

} // namespace

bool registerGraphicButtonClass(HINSTANCE instance) {
    WindowClass button;
    button.name = kGraphicButtonClass;
    button.procedure = buttonProc;
    button.extraBytes = sizeof(LONG_PTR);
    // One device context for all graphic buttons: each window's first one costs the system a look
    // at the display, and the buttons only copy finished faces into theirs.
    button.style = CS_CLASSDC;
    button.cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    return registerWindowClass(instance, button);
}

} // namespace quorvel
