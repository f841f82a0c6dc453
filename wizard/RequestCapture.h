// The bridge between the last page of a page set and the generators: the request captured from
// the pages' controls, and the controls that stay disabled while a run works.
#pragma once

#include "model/ThemeProject.h"
#include "model/ThemeRequest.h"
#include "wizard/Controls.h"

#include <string_view>
#include <vector>

namespace quorvel {

// The last page of a page set: its three fields and the controls a run disables.
struct GenerationControls {
    std::string_view nameField;
    std::string_view displayNameField;
    std::string_view saveLocationField;
    std::vector<std::string_view> disableList;
};

const GenerationControls& generationControls(PageSet set);

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
    const GenerationControls& page_;
};

} // namespace quorvel
