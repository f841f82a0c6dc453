// The one way the program's windows are built. A window class is registered with
// registerWindowClass; an object that handles the messages of windows of its class derives from
// WindowBase<itself> and gives WindowBase::procedure as the class's procedure, and passes itself
// as the creation parameter of CreateWindowExW.
//
// The procedure keeps the object's pointer with each window (GWLP_USERDATA, set at WM_NCCREATE
// and cleared at WM_NCDESTROY; an owner that goes before its window clears it itself), so one
// object may serve several windows of a class (the pages of the main window). It hands every
// message in between to the object's onMessage; an exception that escapes a handler ends at the
// one catch of guarded() and goes to the object's onFailure, whose answer is the message's. The
// DPI policy: a window is made for its owner's DPI (dpiOfWindow, widgets/win32/WindowDpi.h), is
// laid out anew once it stands on its own monitor (followDpi), and follows WM_DPICHANGED
// through onDpiChanged. Everything runs on the GUI thread.
#pragma once

#include "widgets/win32/WindowDpi.h"

#include <windows.h>

#include <exception>

namespace quorvel {

// What differs between the program's window classes.
struct WindowClass {
    const wchar_t* name = nullptr;
    WNDPROC procedure = nullptr;
    UINT style = 0;
    HCURSOR cursor = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HBRUSH background = nullptr;
    int extraBytes = 0; // the window's own bytes (GetWindowLongPtrW from offset 0)
};

// Registers a class for the module; true also when it is registered already (the first window of
// a kind registers it, and it stays registered for the process).
bool registerWindowClass(HINSTANCE instance, const WindowClass& type);

// Runs body and returns what it returns; an exception that escapes it goes to onFailure with its
// message ("unknown" for one that is no std::exception), and onFailure's result is returned.
template <class Body, class Failure>
auto guarded(Body&& body, Failure&& onFailure) -> decltype(body()) {
    try {
        return body();
    } catch (const std::exception& e) {
        return onFailure(e.what());
    } catch (...) {
        return onFailure("unknown");
    }
}

// The base of an object that handles windows. Derived declares `friend class WindowBase<Derived>`
// and defines
//   LRESULT onMessage(HWND, UINT, WPARAM, LPARAM);
//   LRESULT onFailure(HWND, UINT, WPARAM, LPARAM, const char* what); // must not throw
// and may hide the hooks below.
template <class Derived> class WindowBase {
public:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            auto* object = static_cast<Derived*>(create->lpCreateParams);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
            if (object) {
                object->onAttached(window);
            }
        }
        Derived* const object = objectOf(window);
        if (!object) {
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            object->onDetached(window);
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        return guarded(
            [&] {
                if (message == WM_DPICHANGED &&
                    object->onDpiChanged(window, HIWORD(wParam),
                                         reinterpret_cast<const RECT*>(lParam))) {
                    return LRESULT{0};
                }
                return object->onMessage(window, message, wParam, lParam);
            },
            [&](const char* what) {
                return object->onFailure(window, message, wParam, lParam, what);
            });
    }

    // The object a window of the class belongs to; null before WM_NCCREATE and after
    // WM_NCDESTROY, and for a window its owner has let go (release).
    static Derived* objectOf(HWND window) {
        return reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }

protected:
    // Hooks, hidden by Derived where it needs them.
    // The window is bound to the object (its first message, WM_NCCREATE, comes next).
    void onAttached(HWND) {}
    // The window is going (WM_NCDESTROY); the object gets no more of its messages. Must not throw.
    void onDetached(HWND) {}
    // The window is to be laid out for `dpi`: on WM_DPICHANGED with the frame the system
    // suggests, from followDpi with none (the top-left corner stays). False leaves
    // WM_DPICHANGED to onMessage.
    bool onDpiChanged(HWND, int, const RECT*) { return false; }

    // Lays a window made for `laidOutFor` out anew when its own monitor has another DPI.
    void followDpi(HWND window, int laidOutFor) {
        if (const int own = dpiOfWindow(window); own != laidOutFor) {
            static_cast<Derived*>(this)->onDpiChanged(window, own, nullptr);
        }
    }

    // Lets a window go before the object does: its remaining messages (those of its
    // destruction among them) reach no object.
    static void release(HWND window) { ::SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

    WindowBase() = default;
    ~WindowBase() = default;
};

} // namespace quorvel
