#include "pages/InstallFlow.h"

#include "model/Texts.h"
#include "model/ThemeDocument.h"
#include "pages/RequestCapture.h"

namespace quorvel {

std::optional<ThemeRequest> checkedRequest(Wizard& w, PageSet set) {
    const ThemeDocument& document = w.app.document;
    if (const auto message = forwardChecks(document.choices(set))) {
        w.platform.messageBox(std::string(*message), MessageIcon::Error,
                              std::string(text::kErrorTitle));
        return std::nullopt;
    }
    return requestOf(document, set);
}

void installFromWizard(Wizard& w, SystemShell& shell, PageSet set,
                       const std::function<bool(const std::string&)>& askReplace) {
    const std::optional<ThemeRequest> request = checkedRequest(w, set);
    if (!request) {
        return;
    }
    if (auto refused = installRefusal(*request, w.platform, shell)) {
        w.platform.messageBox(refused->message, refused->icon, refused->title);
        return;
    }
    bool replace = false;
    if (const auto at = installLocations(set, request->project.themeName, w.platform, shell);
        at && w.platform.isDirectory(at->packFolder)) {
        if (!askReplace(std::string(text::kReplaceInstalledBefore) + request->project.themeName +
                        std::string(text::kReplaceInstalledAfter))) {
            return;
        }
        replace = true;
    }
    InstallReport result;
    {
        const GenerationControlsDisabled disabled(w.ui, set);
        result = installTheme(*request, w.platform, shell, replace, true);
    }
    w.platform.messageBox(result.report.message, result.report.icon, result.report.title);
}

} // namespace quorvel
