// The program's own look of the standard controls: push buttons, edit fields, drop-down lists,
// sliders and framed labels (the tick boxes) are painted with the colours of
// widgets/ControlLook.h instead of the system's look.
//
// A window owns one ControlLook and attaches each of its controls to it as it creates them. The
// look subclasses the controls it draws and their parents (which hand the controls its colours
// and draw the sliders); every subclass belongs to the look and goes with it or with its window.
// Message boxes and system dialogs are never attached and keep the system's look.
#pragma once

#include "pages/ControlTable.h"
#include "widgets/ControlLook.h"
#include "widgets/win32/Gdi.h"
#include "widgets/win32/WindowSubclass.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <unordered_map>

namespace quorvel {

class ControlLook {
public:
    // The look of `variant` (see apply).
    explicit ControlLook(int variant);
    ControlLook(const ControlLook&) = delete;
    ControlLook& operator=(const ControlLook&) = delete;

    // Switches the attached controls, present and later attached, to the look of `variant`: 1 to
    // 3 turn it on, any other value turns it off (the controls draw themselves as the system
    // does). Repaints the controls attached so far.
    void apply(int variant);

    // Gives a control of the given kind the look, when the look draws that kind (push buttons,
    // edit fields, drop-down lists, tick boxes and sliders); does nothing for the other kinds,
    // and so needs the common controls library only for those. Call it right after creating the
    // control, before its first painting.
    void attach(HWND control, ControlKind kind);

    // How the look draws a control.
    enum class Skin { Button, Field, Combo, Slider, Label };

private:
    struct Control {
        Skin skin;
        bool hot = false;
        WindowSubclass subclass;
    };
    struct Brushes {
        LookColors colors;
        gdi::Brush fieldFace;
        gdi::Brush fieldDisabled;
        gdi::Brush pageBody;
    };

    LRESULT controlMessage(Control& control, HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam);
    LRESULT parentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    const Control* find(HWND window) const;
    void repaintNow(HWND window, const Control& control) const;

    std::optional<Brushes> brushes_; // empty while the look is off
    std::unordered_map<HWND, std::unique_ptr<Control>> controls_;
    std::unordered_map<HWND, WindowSubclass> parents_;
};

} // namespace quorvel
