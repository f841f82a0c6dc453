// Keeping and reopening the wizard's work: the wizard state as a project file's state and back,
// the reading of a project or .theme file into such a state, and the session of the window that
// remembers which project file it works on and whether the wizard changed since.
#pragma once

#include "model/AppState.h"
#include "model/PageSet.h"
#include "model/ProjectFile.h"
#include "model/ThemeFileReader.h"
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
PageSet pageSetOfPage(int page, PageSet otherwise);
// The first page of a page set.
int firstPageOf(PageSet set);
// The page set the running system's version gate opens: XP on Windows XP, else Windows 7.
PageSet gatePageSet(Platform& platform);
// The gate's own message when the running system does not open the page set; nothing when it
// does.
std::optional<std::string_view> gateRefusal(PageSet set, Platform& platform);

// Every field of both page sets, the picks and the palette's last pick, with `set` as the page
// set the file opens in.
ProjectState snapshotProject(const WizardUi& ui, const AppState& app, PageSet set);

enum class RestoreMode {
    // A project file: every control of both page sets starts from its initial state, then takes
    // what the state gives; the picks and the palette's pick are replaced as a whole.
    Replace,
    // A .theme file: only the controls the state names change, and only the picks it holds.
    Overlay,
};
// Puts a state into the controls as the user's own actions would: a scheme item governs its
// group as choosing it does, a tick enables its screensaver row as ticking it does, the slider
// shows its position in the transparency field. The page shown does not change.
void restoreProject(const ProjectState& state, WizardUi& ui, AppState& app, RestoreMode mode);

// A project or .theme file read into the state that opening it gives.
struct OpenedDocument {
    std::optional<ProjectState> state; // nothing when the file was refused
    std::string error;                 // then: what is wrong, for the user
    bool theme = false;
    // A .theme file: the files it names that do not exist, those whose content is not of their
    // slot's kind (they do not become picks), and its [Theme] DisplayName.
    std::vector<std::string> missing;
    std::vector<std::string> unfit;
    std::string displayName;
};
// The largest project or .theme file that is read. A file of 5,000 images is under 0.5 MB; a
// larger one, and anything that is no file on a disk, is refused without reading it.
inline constexpr std::uint64_t kMaxDocumentBytes = 8 * 1024 * 1024;

// A file is read as a project file when it is named *.quorvel or starts with the project
// signature, else as a .theme file. A .theme file opens in the page set its content points to,
// else in `themeSet`.
// A theme pack (.themepack, .deskthemepack) is extracted first (model/ThemePack.h) and its
// .theme file read from there.
OpenedDocument readDocument(const std::string& path, Platform& platform, PageSet themeSet);
// The state that opening a theme gives: its page set (else `themeSet`), the files it names that
// exist and are of their slot's kind as picks, the others in `missing` or `unfit`, a system
// screensaver chosen from its list.
OpenedDocument documentOfTheme(ThemeImport theme, Platform& platform, PageSet themeSet);
// The message that names the missing files of a .theme file and those of another kind.
std::string missingFilesMessage(const std::vector<std::string>& missing,
                                const std::vector<std::string>& unfit = {});

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
    std::optional<ProjectState> saved_;
    PageSet set_ = PageSet::Win7; // the page set of the project file, once there is one
};

} // namespace quorvel
