#include "pages/ProjectSession.h"

#include "model/AsciiCase.h"
#include "model/FileHeaders.h"
#include "model/Texts.h"
#include "model/ThemeFileReader.h"
#include "model/ThemePack.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/ThemePackDocument.h"
#include "pages/WindowStyle.h"
#include "widgets/Palette.h"

#include <algorithm>
#include <cstdint>

namespace quorvel {

namespace {

ControlId controlOf(const ProjectField& field) {
    return findControl(field.control)->id;
}

bool isPageSetPage(int page) {
    return page >= kPageWin71 && page <= kPageXp6;
}

// Every control of the two page sets back to the state the wizard starts with.
void resetPageSets(WizardUi& ui) {
    for (const ControlDef& def : controlTable()) {
        if (!isPageSetPage(def.page) || def.kind == ControlKind::PagePicture) {
            continue;
        }
        ui.setEnabled(def.id, def.enabled);
        switch (def.kind) {
        case ControlKind::EditField:
        case ControlKind::TickBox:
            ui.setText(def.id, def.caption);
            break;
        case ControlKind::ComboBox:
            ui.setComboIndex(def.id, 0);
            break;
        case ControlKind::Slider:
            ui.setSliderPosition(def.id, def.position);
            break;
        default:
            break;
        }
    }
}

// The scheme combo of a page set that a control is, or nullptr.
const SchemeGroup* schemeGroupOf(ControlId id) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        if (cursorSchemeGroup(set).combo == id) {
            return &cursorSchemeGroup(set);
        }
        if (soundSchemeGroup(set).combo == id) {
            return &soundSchemeGroup(set);
        }
    }
    return nullptr;
}

// Ticks or clears a tick box through the handler of its release, as a click would.
void setTick(WizardUi& ui, ControlId id, bool ticked) {
    if (!ui.text(id).empty() == ticked) {
        return;
    }
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const PageSetControls& c = pageSetControls(set);
        if (id == c.systemSaverTick) {
            toggleSystemScreensaver(set, ui);
        } else if (id == c.ownSaverTick) {
            toggleOwnScreensaver(set, ui);
        }
    }
}

void applyControl(const ProjectField& field, const ControlValue& value, WizardUi& ui) {
    const ControlId id = controlOf(field);
    switch (field.kind) {
    case FieldKind::Text:
        ui.setText(id, std::get<std::string>(value));
        break;
    case FieldKind::Choice:
        ui.setComboIndex(id, std::get<int>(value));
        if (const SchemeGroup* group = schemeGroupOf(id)) {
            selectScheme(*group, ui);
        }
        break;
    case FieldKind::Tick:
        setTick(ui, id, std::get<bool>(value));
        break;
    case FieldKind::Slider:
        ui.setSliderPosition(id, std::get<int>(value));
        onAlphaSliderMoved(ui, std::get<int>(value));
        break;
    }
}

void overlayPick(const AssetRef& pick, AssetRef& slot) {
    if (!pick.sourcePath.empty()) {
        slot = pick;
    }
}

void overlayPicks(const ProjectPicks& picks, ThemeProject& project) {
    for (std::size_t i = 0; i < picks.iconFiles.size(); ++i) {
        overlayPick(picks.iconFiles[i], project.iconFiles[i]);
    }
    for (std::size_t i = 0; i < picks.cursorFiles.size(); ++i) {
        overlayPick(picks.cursorFiles[i], project.cursorFiles[i]);
    }
    for (std::size_t i = 0; i < picks.soundFiles.size(); ++i) {
        overlayPick(picks.soundFiles[i], project.soundFiles[i]);
    }
    overlayPick(picks.screensaverFile, project.screensaverFile);
    overlayPick(picks.wallpaperFile, project.wallpaperFile);
    overlayPick(picks.visualStyleFile, project.visualStyleFile);
    if (!picks.slideshowFiles.empty()) {
        project.slideshowFiles = picks.slideshowFiles;
    }
}

void restorePickedColor(const std::optional<Rgb>& color, PaletteState& palette) {
    palette.pickedColor = color.value_or(Rgb{});
    palette.selectedCell = 0;
    if (color) {
        const std::vector<Rgb> colors = palette::buildPaletteColors();
        const auto it = std::find(colors.begin(), colors.end(), *color);
        if (it != colors.end()) {
            palette.selectedCell = static_cast<int>(it - colors.begin()) + 1;
        }
    }
}

bool looksLikeProject(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return bytes.starts_with(kProjectSignature);
}

// --- what a file a theme names holds -----------------------------------------------------------

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The signatures of the picture formats the system sets as wallpaper: JPEG, PNG, BMP (DIB),
// GIF and TIFF.
bool isPicture(std::string_view head) {
    return head.starts_with("\xFF\xD8\xFF") || head.starts_with("\x89PNG\r\n\x1A\n") ||
           (head.starts_with("BM") && head.size() >= 14) || head.starts_with("GIF87a") ||
           head.starts_with("GIF89a") || head.starts_with(std::string_view("II*\0", 4)) ||
           head.starts_with(std::string_view("MM\0*", 4));
}

// A Windows program or library (a screensaver, a visual style): the DOS header's "MZ" and the
// "PE" signature where it points.
bool isProgramImage(std::string_view head, const preview::ReadAt& read) {
    if (!head.starts_with("MZ") || head.size() < 0x40) {
        return false;
    }
    return read(littleEndian(head, 0x3C, 4), 4) == std::string_view("PE\0\0", 4);
}

// Whether a file that a theme names may become the pick of a slot of its kind: it must be a
// file on a disk whose content the preview's readers take for that kind. Files the user picks
// in a dialog are not asked.
FileFit fitOf(const std::string& path, FileKind kind, Platform& platform) {
    if (!platform.fileExists(path)) {
        return FileFit::Missing;
    }
    constexpr std::size_t kHeadBytes = 64;
    const FilePart head = platform.readFilePart(path, 0, kHeadBytes);
    if (head.refusal != ReadRefusal::None) {
        return FileFit::WrongKind;
    }
    const preview::ReadAt read = [&](std::uint64_t offset, std::size_t count) {
        if (offset + count <= head.bytes.size()) {
            return head.bytes.substr(static_cast<std::size_t>(offset), count);
        }
        return platform.readFilePart(path, offset, count).bytes;
    };
    bool fits = false;
    switch (kind) {
    case FileKind::Icon:
        fits = !preview::checkIconDirectory(read, head.fileSize, false);
        break;
    case FileKind::Pointer:
        fits = head.bytes.starts_with("RIFF")
                   ? preview::readAnimation(read, head.fileSize).animation.has_value()
                   : !preview::checkIconDirectory(read, head.fileSize, true);
        break;
    case FileKind::Sound:
        fits = preview::wavDurationMs(read, head.fileSize).has_value();
        break;
    case FileKind::Image:
        fits = isPicture(head.bytes);
        break;
    case FileKind::Screensaver:
    case FileKind::VisualStyle:
        fits = isProgramImage(head.bytes, read);
        break;
    }
    return fits ? FileFit::Fits : FileFit::WrongKind;
}

// The item of the page set's system screensaver list that a theme's screensaver is (a file of
// the system folder of that name, letter case aside), or nothing.
std::optional<int> systemScreensaverItem(std::string_view path, PageSet set, Platform& platform) {
    const std::string folder = platform.expandEnvironment(std::string(kSystemFolder));
    if (path.size() <= folder.size() ||
        !equalsIgnoringAsciiCase(path.substr(0, folder.size()), folder)) {
        return std::nullopt;
    }
    const auto savers = systemScreensavers(set);
    for (std::size_t i = 0; i < savers.size(); ++i) {
        if (equalsIgnoringAsciiCase(path.substr(folder.size()), savers[i].fileName)) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

// Chooses an item of the system screensaver list as ticking its box and picking the item do.
void chooseSystemScreensaver(ProjectState& state, int item) {
    const auto set = [&](std::string_view key, ControlValue value) {
        state.controls[*findProjectField(state.pageSet, key)] = std::move(value);
    };
    set("UseSystemScreensaver", true);
    set("UseOwnScreensaver", false);
    set("SystemScreensaver", item);
    const std::string_view fileName =
        systemScreensavers(state.pageSet)[static_cast<std::size_t>(item - 1)].fileName;
    state.picks.screensaverFile = {std::string(kSystemFolder) + std::string(fileName),
                                   std::string(fileName)};
}

} // namespace

PageSet pageSetOfPage(int page, PageSet otherwise) {
    if (page >= kPageWin71 && page <= kPageWin76) {
        return PageSet::Win7;
    }
    if (page >= kPageXp1 && page <= kPageXp6) {
        return PageSet::Xp;
    }
    return otherwise;
}

int firstPageOf(PageSet set) {
    return set == PageSet::Win7 ? kPageWin71 : kPageXp1;
}

PageSet gatePageSet(Platform& platform) {
    return osReleaseCode(platform) == 6 ? PageSet::Xp : PageSet::Win7;
}

std::optional<std::string_view> gateRefusal(PageSet set, Platform& platform) {
    const int code = osReleaseCode(platform);
    if (set == PageSet::Win7 && code != 9) {
        return text::kWin7Only;
    }
    if (set == PageSet::Xp && code != 6) {
        return text::kXpOnly;
    }
    return std::nullopt;
}

ProjectState snapshotProject(const WizardUi& ui, const AppState& app, PageSet set) {
    ProjectState state;
    state.pageSet = set;
    const auto fields = projectFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ControlId id = controlOf(fields[i]);
        switch (fields[i].kind) {
        case FieldKind::Text:
            state.controls[i] = ui.text(id);
            break;
        case FieldKind::Choice:
            state.controls[i] = ui.comboIndex(id);
            break;
        case FieldKind::Tick:
            state.controls[i] = !ui.text(id).empty();
            break;
        case FieldKind::Slider:
            state.controls[i] = ui.sliderPosition(id);
            break;
        }
    }
    state.picks = picksOf(app.project);
    if (app.palette.pickedColor != Rgb{} || app.palette.selectedCell != 0) {
        state.pickedColor = app.palette.pickedColor;
    }
    return state;
}

void restoreProject(const ProjectState& state, WizardUi& ui, AppState& app, RestoreMode mode) {
    if (mode == RestoreMode::Replace) {
        resetPageSets(ui);
        app.project = ThemeProject{};
        applyPicks(state.picks, app.project);
        restorePickedColor(state.pickedColor, app.palette);
    } else {
        overlayPicks(state.picks, app.project);
        if (state.pickedColor) {
            restorePickedColor(state.pickedColor, app.palette);
        }
    }
    // The table lists each page set's controls in page order: a scheme combo before the fields
    // it governs, a tick box before its screensaver row, the slider before its text.
    const auto fields = projectFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (state.controls[i]) {
            applyControl(fields[i], *state.controls[i], ui);
        }
    }
}

OpenedDocument readDocument(const std::string& path, Platform& platform, PageSet themeSet) {
    if (isThemePackPath(path)) {
        return readThemePack(path, platform, themeSet);
    }
    OpenedDocument document;
    const BoundedRead loaded = platform.readRegularFile(path, kMaxDocumentBytes);
    const std::string heading = std::string(text::kCannotOpenFile) + path + "\n\n";
    switch (loaded.refusal) {
    case ReadRefusal::None:
        break;
    case ReadRefusal::Unreadable:
        document.error = std::string(text::kCannotReadFile) + path;
        return document;
    case ReadRefusal::NotAFile:
        document.error = heading + std::string(text::kDocumentNotAFile);
        return document;
    case ReadRefusal::TooLarge:
        document.error = heading + std::string(text::kDocumentTooLarge);
        return document;
    }
    const std::string& bytes = *loaded.bytes;
    if (!endsWithIgnoringAsciiCase(path, ".theme") &&
        (endsWithIgnoringAsciiCase(path, kProjectExtension) || looksLikeProject(bytes))) {
        ProjectReadResult read = readProjectFile(bytes);
        if (!read.state) {
            document.error = heading + read.error;
            return document;
        }
        document.state = std::move(read.state);
        return document;
    }
    const ThemeReadResult read = readThemeFile(bytes, platform);
    if (!read.theme) {
        document.error = heading + read.error;
        return document;
    }
    return documentOfTheme(*read.theme, platform, themeSet);
}

OpenedDocument documentOfTheme(ThemeImport theme, Platform& platform, PageSet themeSet) {
    OpenedDocument document;
    document.theme = true;
    document.displayName = theme.displayName;
    const PageSet set = theme.pageSet.value_or(themeSet);
    // The system's own screensaver is chosen from its list, whether this machine has it or not.
    const std::optional<int> systemSaver = systemScreensaverItem(theme.screensaver, set, platform);
    if (systemSaver) {
        theme.screensaver.clear();
    }
    ThemeOpening opening =
        openTheme(theme, set, [&platform](const std::string& file, FileKind kind) {
            return fitOf(file, kind, platform);
        });
    document.state = std::move(opening.state);
    document.missing = std::move(opening.missing);
    document.unfit = std::move(opening.unfit);
    if (systemSaver) {
        chooseSystemScreensaver(*document.state, *systemSaver);
    }
    return document;
}

std::string missingFilesMessage(const std::vector<std::string>& missing,
                                const std::vector<std::string>& unfit) {
    std::string message;
    for (const auto& [files, heading] : {std::pair{&missing, text::kMissingThemeFiles},
                                         std::pair{&unfit, text::kUnfitThemeFiles}}) {
        if (files->empty()) {
            continue;
        }
        message += (message.empty() ? "" : "\n\n") + std::string(heading);
        for (const std::string& file : *files) {
            message += "\n" + file;
        }
    }
    return message;
}

PageSet ProjectSession::currentSet() const {
    // On the main and about pages: the page set of the project, else the one this system opens.
    return pageSetOfPage(w_.ui.currentPage(), saved_ ? set_ : gatePageSet(w_.platform));
}

bool ProjectSession::modified() const {
    if (!saved_) {
        return false;
    }
    ProjectState now = snapshotProject(w_.ui, w_.app, saved_->pageSet);
    return now != *saved_;
}

void ProjectSession::showError(const std::string& message) {
    w_.platform.messageBox(message, MessageIcon::Error, std::string(text::kErrorTitle));
}

bool ProjectSession::open(const std::string& path) {
    const OpenedDocument document = readDocument(path, w_.platform, gatePageSet(w_.platform));
    if (!document.state) {
        showError(document.error);
        return false;
    }
    const PageSet set = document.state->pageSet;
    if (const std::optional<std::string_view> refusal = gateRefusal(set, w_.platform)) {
        showError(std::string(*refusal));
        return false;
    }
    restoreProject(*document.state, w_.ui, w_.app,
                   document.theme ? RestoreMode::Overlay : RestoreMode::Replace);
    w_.ui.goToPage(firstPageOf(set));
    set_ = set;
    if (document.theme) {
        // A .theme file is not the project file that saving writes.
        path_.clear();
        saved_.reset();
        if (!document.missing.empty() || !document.unfit.empty()) {
            w_.platform.messageBox(missingFilesMessage(document.missing, document.unfit),
                                   MessageIcon::Warning, std::string(text::kInfoTitle));
        }
    } else {
        path_ = path;
        saved_ = snapshotProject(w_.ui, w_.app, set);
    }
    return true;
}

bool ProjectSession::openWithDialog() {
    const std::optional<std::string> path = w_.dialogs.openFile(text::kProjectOpenFilter, path_);
    return path && open(*path);
}

bool ProjectSession::save() {
    return path_.empty() ? saveAs() : saveTo(path_);
}

bool ProjectSession::saveAs() {
    std::string initial = path_;
    if (initial.empty()) {
        const std::string name = w_.ui.text(pageSetControls(currentSet()).themeName);
        if (!name.empty()) {
            initial = name + std::string(kProjectExtension);
        }
    }
    const std::optional<std::string> path =
        w_.dialogs.saveFile(text::kProjectSaveFilter, initial, kProjectExtension.substr(1));
    return path && saveTo(*path);
}

bool ProjectSession::saveTo(const std::string& path) {
    const PageSet set = currentSet();
    ProjectState state = snapshotProject(w_.ui, w_.app, set);
    const ProjectText written = writeProjectFile(state);
    if (!written.error.empty()) {
        showError(std::string(text::kCannotSaveProject) + path + "\n\n" + written.error);
        return false;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(written.bytes.data());
    if (!w_.platform.replaceFile(path, {data, written.bytes.size()})) {
        showError(std::string(text::kCannotSaveProject) + path);
        return false;
    }
    path_ = path;
    set_ = set;
    saved_ = std::move(state);
    return true;
}

} // namespace quorvel
