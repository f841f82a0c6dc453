#include "pages/PackExportFlow.h"

#include "generator/PackExport.h"
#include "model/Texts.h"
#include "pages/Choices.h"
#include "pages/ControlTable.h"
#include "pages/RequestCapture.h"
#include "pages/WindowStyle.h"

namespace quorvel {

namespace {

bool onXpPages(Wizard& w) {
    const int page = w.ui.currentPage() == kPageAbout ? w.app.aboutReturnPage : w.ui.currentPage();
    if (page == kPageMain) {
        return osReleaseCode(w.platform) == 6;
    }
    return page >= kPageXp1;
}

void show(Wizard& w, const GenerationReport& report) {
    w.platform.messageBox(report.message, report.icon, report.title);
}

} // namespace

void exportPackFromWindow(Wizard& w) {
    if (onXpPages(w)) {
        w.platform.messageBox(std::string(text::kPackNotOnXp), MessageIcon::Information,
                              std::string(text::kInfoTitle));
        return;
    }
    ThemeProject& project = w.app.project;
    if (!commitCursorSchemePage(PageSet::Win7, w.ui, project, w.platform) ||
        !commitSoundSchemePage(PageSet::Win7, w.ui, project, w.platform) ||
        !commitWindowStylePage(w.ui, project, w.platform)) {
        return;
    }
    const ThemeRequest request = captureWin7Request(w.ui, project);
    if (const auto refused = packRefusalOf(request)) {
        show(w, *refused);
        return;
    }
    const std::optional<std::string> path = w.dialogs.saveFile(
        text::kPackSaveFilter, request.project.themeName + ".themepack", "themepack");
    if (!path) {
        return;
    }
    std::optional<GenerationReport> report;
    {
        const GenerationControlsDisabled disabled(w.ui, PageSet::Win7);
        report = exportPack(request, *path, w.platform);
    }
    show(w, *report);
}

} // namespace quorvel
