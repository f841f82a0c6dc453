// The accessible object of a window's client area, for screen readers and UI automation. It
// answers from an AccessibleSource (what the window is like now, see widgets/Accessibility.h) and
// leaves what every window has in common (its parent, its place, its child windows, the keyboard
// shortcut) to the system's standard object for the window.
//
// Children: the source's simple elements have the child ids 1 to childCount(); the window's
// child windows follow them, each as the system's object for that window.
#pragma once

#include "widgets/Accessibility.h"

#include <windows.h>

#include <memory>

namespace quorvel {

class AccessibleSource {
public:
    virtual ~AccessibleSource() = default;
    // False once what the source describes has gone; the object then answers every question
    // with a failure.
    virtual bool alive() const { return true; }
    // 0 is the window itself, 1 to childCount() its simple elements.
    virtual access::Description describe(long child) const = 0;
    virtual long childCount() const { return 0; }
    // A simple element's rectangle in client coordinates.
    virtual RECT childRect(long) const { return {}; }
    // The simple element at a client point; 0 for none.
    virtual long childAt(POINT) const { return 0; }
    // The simple element that has the keyboard focus while the window has it; 0 for none.
    virtual long focusedChild() const { return 0; }
    // Carries out the default action later (from the message queue); false when there is none.
    virtual bool doDefaultAction(long child) = 0;
};

// Answers WM_GETOBJECT: for the client area (OBJID_CLIENT) a new object reporting what source
// says; 0 for any other object, which the system then answers itself.
LRESULT answerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                        std::shared_ptr<AccessibleSource> source);

// Answers WM_GETOBJECT for a push button whose window text is its label: its states come from
// the window (enabled, visible, focused) and BM_GETSTATE (pressed, hot); its default action
// posts BM_CLICK.
LRESULT answerButtonGetObject(HWND button, WPARAM wParam, LPARAM lParam);

// Tells accessibility clients that the keyboard focus moved to a simple element (0: the window).
void notifyFocus(HWND window, long child);

} // namespace quorvel
