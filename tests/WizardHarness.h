// A wizard in memory for handler tests: the controls as the table starts them, a fresh state, a
// sandboxed platform that records its message boxes, and scripted file dialogs.
#pragma once

#include "MemoryControls.h"
#include "RecordingPlatform.h"
#include "Sandbox.h"
#include "ScriptedDialogs.h"

#include "pages/PageFlow.h"

#include <memory>

namespace quorvel::test {

struct WizardHarness {
    std::unique_ptr<Sandbox> sandbox = makeSandbox();
    RecordingPlatform platform{sandbox->platform()};
    ScriptedDialogs dialogs;
    FileDialogState fileDialog;
    MemoryWizardUi ui;
    AppState app;
    Wizard wizard{ui, app, platform, dialogs, fileDialog};
};

} // namespace quorvel::test
