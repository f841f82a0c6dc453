// The main window's keyboard navigation. The message loop hands every key to preTranslate before
// it is dispatched: Tab and Shift+Tab move through the current page's enabled controls in the
// order of the control table (nextTabStop, pages/PageFlow.h), also out of an open drop-down list,
// Enter presses a focused button and does nothing in a field, and Ctrl+O, Ctrl+S, Ctrl+E, Ctrl+I
// and Ctrl+Shift+P run the system menu's commands. The focus goes into a field with its text
// selected, and leaves and comes back with the window's activation as in a dialog.
#include "window/win32/ThemeWizardWindow.h"

#include "preview/win32/DesktopPreview.h"

#include <optional>

namespace quorvel {

bool ThemeWizardWindow::isButton(const ControlDef* def) {
    return def && (def->kind == ControlKind::PushButton || def->kind == ControlKind::GraphicButton);
}

bool ThemeWizardWindow::preTranslate(const MSG& message) {
    if (!window_ || (message.message != WM_KEYDOWN && message.message != WM_CHAR)) {
        return false;
    }
    if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) {
        return false;
    }
    if (isDesktopPreviewShortcut(message)) {
        openDesktopPreview();
        return true;
    }
    const HWND control = tableControlOf(message.hwnd);
    const ControlDef* def = defOf(control);
    const bool dropped = def && def->kind == ControlKind::ComboBox &&
                         ::SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0);
    if (message.message == WM_KEYDOWN && ::GetKeyState(VK_CONTROL) < 0 &&
        ::GetKeyState(VK_MENU) >= 0 &&
        (message.wParam == 'S' || message.wParam == 'O' || message.wParam == 'E' ||
         message.wParam == 'I')) {
        if (dropped) {
            ::SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
        }
        // As through the window procedure: a failure is reported, never thrown into the loop.
        guarded(
            [&] {
                runProjectCommand(message.wParam == 'S'   ? kCommandSaveProject
                                  : message.wParam == 'E' ? kCommandExportPack
                                  : message.wParam == 'I' ? kCommandInstallTheme
                                                          : kCommandOpenProject);
            },
            [this](const char* what) { reportFailure(window_, what); });
        return true;
    }
    if (message.wParam == VK_TAB) {
        if (message.message == WM_KEYDOWN) {
            if (dropped) {
                ::SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
            }
            const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
            const std::optional<ControlId> next = nextTabStop(
                page_, def ? std::optional(def->id) : std::nullopt, !backwards,
                [this](ControlId id) { return ::IsWindowEnabled(hwndOf(id)) != FALSE; });
            if (next) {
                focusControl(hwndOf(*next));
            }
        }
        return true;
    }
    if (message.wParam == VK_RETURN) {
        if (dropped) {
            return false; // Enter picks the highlighted item of an open list
        }
        if (message.message == WM_KEYDOWN && isButton(def) && ::IsWindowEnabled(control)) {
            ::SendMessageW(control, BM_CLICK, 0, 0);
        }
        return true; // nothing happens in a field
    }
    return false;
}

void ThemeWizardWindow::focusControl(HWND control) {
    if (!control) {
        return;
    }
    ::SetFocus(control);
    const ControlDef* def = defOf(control);
    if (def && def->kind == ControlKind::EditField) {
        ::SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

HWND ThemeWizardWindow::firstFocusOfPage() const {
    const std::optional<ControlId> first =
        nextTabStop(page_, std::nullopt, true,
                    [this](ControlId id) { return ::IsWindowEnabled(hwndOf(id)) != FALSE; });
    return first ? hwndOf(*first) : nullptr;
}

bool ThemeWizardWindow::followActivation(WPARAM wParam) {
    // As in a dialog: the control that had the focus when the window was left gets it back
    // when the window is activated again; the first control of the page when there is none.
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(window_, focus)) {
            lastFocus_ = tableControlOf(focus);
        }
    } else if (!HIWORD(wParam)) { // not while minimised
        HWND target = lastFocus_;
        if (!target || !::IsChild(window_, target) || !::IsWindowVisible(target) ||
            !::IsWindowEnabled(target)) {
            target = firstFocusOfPage();
        }
        if (target) {
            ::SetFocus(target);
            return true;
        }
    }
    return false;
}

} // namespace quorvel
