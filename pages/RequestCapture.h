// The bridge between the controls of the pages and the theme document: the document the
// controls show, the controls a document gives, the request of a page set's last page, and the
// controls that stay disabled while a run works.
#pragma once

#include "model/AppState.h"
#include "model/ThemeDocument.h"
#include "model/ThemeRequest.h"
#include "pages/ControlId.h"
#include "pages/Controls.h"
#include "pages/WizardUi.h"

#include <span>

namespace quorvel {

// The controls of the last page that a run disables: the name fields, the buttons that would
// leave the page or start a second run (the Windows XP page also its save-location button).
std::span<const ControlId> generationDisableList(PageSet set);

// Writes what control `id` shows into its member of the document: the one mapping from a
// control of the page sets to the document. False when the control has no member (a button, a
// label).
bool takeControl(const WizardUi& ui, ControlId id, ThemeDocument& document);
// Writes the picks of the project and the palette's last pick into the document.
void takePicks(const AppState& app, ThemeDocument& document);

// The document the controls of both page sets show (takeControl of each), with the picks of the
// project and the palette's last pick; `set` is the page set it opens in.
ThemeDocument documentOfControls(const WizardUi& ui, const AppState& app, PageSet set);

// Puts a document into the controls as the user's own actions would: every control of both
// page sets starts from its initial state, then a scheme item governs its group as choosing it
// does, a tick enables its screensaver row as ticking it does, the slider shows its position in
// the transparency field; the picks replace those of the project. The document then is the
// window's (AppState::document), so it must not be that one itself: a window's notices of the
// changed fields write into it while it is shown. The palette and the page shown do not change.
void showDocument(const ThemeDocument& document, WizardUi& ui, AppState& app);

// Disables the generation controls of a page set for its lifetime and enables them again when
// it ends, also when a run throws.
class GenerationControlsDisabled {
public:
    GenerationControlsDisabled(Controls& controls, PageSet set);
    ~GenerationControlsDisabled();
    GenerationControlsDisabled(const GenerationControlsDisabled&) = delete;
    GenerationControlsDisabled& operator=(const GenerationControlsDisabled&) = delete;

private:
    void setEnabled(bool enabled);

    Controls& controls_;
    std::span<const ControlId> list_;
};

} // namespace quorvel
