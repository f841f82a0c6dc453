// The bridge between the last page of a page set and the generators: the request captured from
// the pages' controls, and the controls that stay disabled while a run works.
#pragma once

#include "model/ThemeProject.h"
#include "model/ThemeRequest.h"
#include "pages/ControlId.h"
#include "pages/Controls.h"

#include <span>

namespace quorvel {

// The controls of the last page that a run disables: the name fields, the buttons that would
// leave the page or start a second run (the Windows XP page also its save-location button).
std::span<const ControlId> generationDisableList(PageSet set);

// Everything a generator consults, read from the pages of one set and the theme project.
ThemeRequest captureWin7Request(const Controls& controls, const ThemeProject& project);
ThemeRequest captureXpRequest(const Controls& controls, const ThemeProject& project);

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
