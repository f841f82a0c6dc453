// The wizard's graphic buttons: push buttons that their parent draws.
//
// A graphic button behaves as the system's owner-drawn push button: it is pressed with the left
// mouse button (released over it), with Space, or with BM_CLICK, and then sends BN_CLICKED to its
// parent; it takes the focus when clicked and is a Tab stop. To be drawn it sends WM_DRAWITEM
// (ODT_BUTTON) to its parent, with ODS_SELECTED while it is held down, ODS_FOCUS while it has the
// focus, ODS_DISABLED while disabled and ODS_HOTLIGHT while the pointer is over it. BM_GETSTATE
// answers BST_PUSHED, BST_FOCUS and BST_HOT accordingly. To screen readers and UI automation it
// is a push button named by its window text, with its pressed, focused and unavailable states
// (see widgets/win32/AccessibleObject.h).
//
// It is a window class of the program's own rather than the system's button so that the first
// page, whose only controls are graphic buttons, can be shown without loading the common
// controls library or opening the visual style.
#pragma once

#include <windows.h>

namespace quorvel {

inline constexpr wchar_t kGraphicButtonClass[] = L"QuorvelGraphicButton";

// Registers the class for the module; true also when it is registered already.
bool registerGraphicButtonClass(HINSTANCE instance);

} // namespace quorvel
