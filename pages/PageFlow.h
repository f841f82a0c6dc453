// The page flow of the wizard: which handler runs when the user acts on a control, the
// operating-system gate in front of each wizard, the about step and the forward checks that
// belong to the flow itself.
#pragma once

#include "model/AppState.h"
#include "model/SystemVersion.h"
#include "pages/Pickers.h"
#include "pages/WizardUi.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"

#include <functional>
#include <span>
#include <string_view>

namespace quorvel {

// What a handler works on: the window's controls, the global state, the system and its file
// dialogs, and the shared open-file dialog's memory of the last confirmed path.
struct Wizard {
    WizardUi& ui;
    AppState& app;
    Platform& platform;
    Dialogs& dialogs;
    FileDialogState& fileDialog;
};

enum class ControlEvent {
    Click,        // a button was pressed
    ItemPicked,   // the user picked an item of a combo box
    TickReleased, // the left mouse button was released over a tick box
    SliderMoved,  // the position of a slider changed
};

using Step = void (*)(Wizard&);

// One row of the binding table: the handler of one event of one control.
struct Binding {
    ControlId control;
    ControlEvent event;
    std::function<void(Wizard&)> handle;
};

// One row of the page flow: a button of a page and what pressing it does. The button's page and
// caption are those of its row in the control table.
struct FlowRow {
    ControlId button;
    Step step;
};

std::span<const FlowRow> pageFlow();
// The page flow's buttons, the browse buttons, the scheme and screensaver choices and the
// transparency slider.
std::span<const Binding> bindings();

// Runs the handler bound to the event of the control. False when nothing is bound, or when the
// control sits on a page other than the one shown (the user cannot reach it then).
bool dispatch(Wizard& wizard, ControlId control, ControlEvent event);

// The user changed what a control of the page sets shows (typed into a field, a pick or a drop
// filled it, a list item was picked): its member of the window's document (AppState::document)
// takes the control's value, and the document's picks those of the project. The window calls it
// for every change of an edit field.
void takeEdit(Wizard& wizard, ControlId control);

// The release code of a system version is model/SystemVersion.h's osReleaseCode.

// Remembers the current page in aboutReturnPage and shows the about page.
void aboutStep(Wizard& wizard);
// Prepares the slideshow interval of page WIN75 from the document's slideshow list (page WIN74):
// with images listed it is enabled and, when empty, preset to 180 seconds; without, emptied and
// disabled.
void commitDesktopPage(Wizard& wizard);
// The forward check of page XP5: a visual style must be given.
bool commitXpStylePage(Wizard& wizard);

} // namespace quorvel
