#include "pages/PackExportFlow.h"

#include "generator/PackExport.h"
#include "model/Texts.h"
#include "model/ThemeDocument.h"
#include "pages/ControlTable.h"
#include "pages/RequestCapture.h"

namespace quorvel {

namespace {

bool onXpPages(Wizard& w) {
    const Page page =
        w.ui.currentPage() == Page::About ? w.app.aboutReturnPage : w.ui.currentPage();
    if (page == Page::Main) {
        return osReleaseCode(w.platform) == 6;
    }
    return page >= Page::Xp1;
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
    const ThemeDocument& document = w.app.document;
    if (const auto message = forwardChecks(document.win7)) {
        w.platform.messageBox(std::string(*message), MessageIcon::Error,
                              std::string(text::kErrorTitle));
        return;
    }
    const ThemeRequest request = requestOf(document, PageSet::Win7);
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
