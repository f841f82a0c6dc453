// The program's own look of the standard controls: push buttons, edit fields, drop-down lists,
// sliders and framed labels (the tick boxes) of the program's windows are painted with the
// colours of wizard/ControlLook.h instead of the system's look.
#pragma once

#include <windows.h>

namespace quorvel {

// Switches the standard controls of the program's windows on this thread, present and created
// later, to the look of `variant`: 1 to 3 turn it on, any other value turns it off. Windows of
// the program are those whose top-level window class starts with "Quorvel"; message boxes and
// system dialogs keep the system's look.
void applyControlLook(int variant);

} // namespace quorvel
