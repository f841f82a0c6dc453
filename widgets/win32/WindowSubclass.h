// One subclass of one window, owned like any other resource: a handler that sees the window's
// messages before the window's procedure (and the subclasses installed before it) does.
//
// The subclass picks its own id, the address of its binding on the heap, which no other live
// subclass can share; moving the object keeps the binding and so the id. It removes itself when
// it is destroyed, or when the window is destroyed first (at WM_NCDESTROY, which the handler
// does not see). The common controls library provides the mechanism and is loaded on the first
// subclass (platform/win32/SystemLibraries).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

namespace quorvel {

class WindowSubclass {
public:
    // Gets every message of the window but WM_NCDESTROY; passes it on with callNext. It must
    // not throw: an exception that escapes is caught and the message answered with 0.
    using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    WindowSubclass() = default;
    // Installs handler on window; the result is empty (false) when the system refused.
    WindowSubclass(HWND window, Handler handler);
    ~WindowSubclass();
    WindowSubclass(WindowSubclass&& other) noexcept = default;
    WindowSubclass& operator=(WindowSubclass&& other) noexcept;
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // True while the subclass is installed on a live window.
    explicit operator bool() const { return binding_ && binding_->window; }
    HWND window() const { return binding_ ? binding_->window : nullptr; }

    // Hands a message on to the window's own procedure, through earlier subclasses.
    static LRESULT callNext(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Binding {
        HWND window = nullptr;
        Handler handler;
    };

    static LRESULT CALLBACK dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);
    void remove() noexcept;

    std::unique_ptr<Binding> binding_;
};

} // namespace quorvel
