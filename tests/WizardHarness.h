// A wizard in memory for handler tests: the controls as the table starts them, a fresh state, a
// sandboxed platform that records its message boxes, and scripted file dialogs.
#pragma once

#include "MemoryControls.h"
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "ScriptedDialogs.h"

#include "pages/PageFlow.h"

#include <memory>
#include <string_view>

namespace quorvel::test {

struct WizardHarness {
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    RecordingPlatform platform{sandbox->platform()};
    ScriptedDialogs dialogs;
    FileDialogState fileDialog;
    MemoryWizardUi ui;
    AppState app;
    Wizard wizard{ui, app, platform, dialogs, fileDialog};

    // Text typed into a field: the in-memory window sends no change notice of its own, so the
    // text takes the window's way of a changed field into the document.
    void type(ControlId field, std::string_view text) {
        ui.setText(field, text);
        takeEdit(wizard, field);
    }
    // A list item chosen without the list's handler, as a state to start a test from.
    void choose(ControlId list, int item) {
        ui.setComboIndex(list, item);
        takeEdit(wizard, list);
    }
};

} // namespace quorvel::test
