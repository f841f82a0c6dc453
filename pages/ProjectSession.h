// Keeping and reopening the wizard's work: the session of the window that opens project, .theme
// and pack files into the controls (model/DocumentOpening.h, then showDocument), saves the
// controls' document as a project file, and remembers which project file it works on and
// whether the wizard changed since.
#pragma once

#include "model/AppState.h"
#include "model/DocumentOpening.h"
#include "model/PageSet.h"
#include "model/ProjectFile.h"
#include "model/SystemVersion.h"
#include "model/ThemeDocument.h"
#include "pages/PageFlow.h"
#include "pages/WizardUi.h"
#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The page set that a page belongs to; `otherwise` for the main and about pages.
PageSet pageSetOfPage(Page page, PageSet otherwise);
// The first page of a page set.
Page firstPageOf(PageSet set);

// The palette's last pick as a project file keeps it: the pick, and the palette's cell of that
// colour selected when there is one.
void restorePickedColor(const std::optional<Rgb>& color, PaletteState& palette);

// The project file the window works on. Opening and saving show their own messages.
class ProjectSession {
public:
    explicit ProjectSession(Wizard& wizard) : w_(wizard) {}

    // Opens a project or .theme file: the wizard then shows the first page of its page set. A
    // file that cannot be read or is refused, or whose page set the system's gate refuses,
    // changes nothing and says why. True when the wizard took the file.
    bool open(const std::string& path);
    // Asks for the file with the open-file dialog first.
    bool openWithDialog();
    // Saves to the project file the session works on; the first time asks for it. True when
    // the file was written.
    bool save();
    // Always asks for the file.
    bool saveAs();

    // The project file opened or saved last; empty when there is none.
    const std::string& path() const { return path_; }
    // True when there is a project file and the wizard's state differs from what it holds.
    bool modified() const;

private:
    PageSet currentSet() const;
    bool saveTo(const std::string& path);
    void showError(const std::string& message);

    Wizard& w_;
    std::string path_;
    std::optional<ThemeDocument> saved_;
    PageSet set_ = PageSet::Win7; // the page set of the project file, once there is one
};

} // namespace quorvel
