#include "pages/ProjectSession.h"

#include "model/Texts.h"
#include "pages/ControlTable.h"
#include "pages/RequestCapture.h"
#include "widgets/Palette.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace quorvel {

PageSet pageSetOfPage(Page page, PageSet otherwise) {
    if (page >= Page::Win71 && page <= Page::Win76) {
        return PageSet::Win7;
    }
    if (page >= Page::Xp1 && page <= Page::Xp6) {
        return PageSet::Xp;
    }
    return otherwise;
}

Page firstPageOf(PageSet set) {
    return set == PageSet::Win7 ? Page::Win71 : Page::Xp1;
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

PageSet ProjectSession::currentSet() const {
    // On the main and about pages: the page set of the project, else the one this system opens.
    return pageSetOfPage(w_.ui.currentPage(), saved_ ? set_ : gatePageSet(w_.platform));
}

bool ProjectSession::modified() const {
    if (!saved_) {
        return false;
    }
    ThemeDocument document = w_.app.document;
    document.pageSet = saved_->pageSet;
    return document != *saved_;
}

void ProjectSession::showError(const std::string& message) {
    w_.platform.messageBox(message, MessageIcon::Error, std::string(text::kErrorTitle));
}

bool ProjectSession::open(const std::string& path) {
    // A theme changes only what it names: it opens over what the controls show.
    ThemeDocument base = w_.app.document;
    base.pageSet = currentSet();
    const OpenedDocument document =
        readDocument(path, w_.platform, gatePageSet(w_.platform), std::move(base));
    if (!document.document) {
        showError(document.error);
        return false;
    }
    const PageSet set = document.document->pageSet;
    if (const std::optional<std::string_view> refusal = gateRefusal(set, w_.platform)) {
        showError(std::string(*refusal));
        return false;
    }
    showDocument(*document.document, w_.ui, w_.app);
    if (!document.theme) {
        restorePickedColor(document.document->pickedColor, w_.app.palette);
    }
    // The window's document becomes what the controls took of the file's.
    w_.app.document = documentOfControls(w_.ui, w_.app, set);
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
        saved_ = w_.app.document;
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
    ThemeDocument state = w_.app.document;
    state.pageSet = set;
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
