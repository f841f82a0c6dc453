#include "pages/Drop.h"

#include "model/AsciiCase.h"
#include "model/ProjectFile.h"
#include "model/Texts.h"
#include "model/ThemePack.h"
#include "pages/ControlTable.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quorvel {

namespace {

// ".ext" of the file name, empty when it has none.
std::string_view extensionOf(std::string_view path) {
    const std::size_t nameStart = path.find_last_of("\\/");
    const std::string_view name =
        nameStart == std::string_view::npos ? path : path.substr(nameStart + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

// "description(*.a;*.b)" of a filter "description|*.a;*.b".
std::string describe(std::string_view filter) {
    const std::size_t bar = filter.find('|');
    return std::string(filter.substr(0, bar)) + "(" +
           std::string(bar == std::string_view::npos ? "" : filter.substr(bar + 1)) + ")";
}

DropPlan refuse(std::string message) {
    return {DropAction::Refuse, nullptr, ControlId::PageContainer, std::move(message)};
}

DropPlan refuseType(std::string_view filter) {
    return refuse(std::string(text::kDropWrongType) + describe(filter));
}

// What can be opened by dropping it anywhere else on the window: a theme, a theme pack or a
// project file.
bool isDocument(const DroppedItem& item) {
    const std::string_view extension = extensionOf(item.path);
    return !item.folder &&
           (equalsIgnoringAsciiCase(extension, ".theme") ||
            equalsIgnoringAsciiCase(extension, kProjectExtension) || isThemePackPath(item.path));
}

// The page set whose save-location field or browse button is `control`, or nullptr.
const PageSetControls* saveLocationOf(ControlId control) {
    for (PageSet set : {PageSet::Win7, PageSet::Xp}) {
        const PageSetControls& c = pageSetControls(set);
        if (control == c.saveLocation || control == c.saveLocationButton) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace

bool matchesFilter(std::string_view path, std::string_view filter) {
    const std::string_view extension = extensionOf(path);
    const std::size_t bar = filter.find('|');
    if (extension.empty() || bar == std::string_view::npos) {
        return false;
    }
    std::string_view masks = filter.substr(bar + 1);
    while (!masks.empty()) {
        const std::size_t end = masks.find_first_of(";|");
        const std::string_view mask = masks.substr(0, end);
        if (mask.starts_with("*") && equalsIgnoringAsciiCase(mask.substr(1), extension)) {
            return true;
        }
        masks = end == std::string_view::npos ? std::string_view{} : masks.substr(end + 1);
    }
    return false;
}

DropPlan planDrop(std::optional<ControlId> target, std::span<const DroppedItem> items,
                  const Controls& controls) {
    const bool anyFolder =
        std::any_of(items.begin(), items.end(), [](const DroppedItem& i) { return i.folder; });
    if (target) {
        if (const AssetPickerDef* picker = findAssetPickerOf(*target)) {
            if (!controls.enabled(picker->button)) {
                return refuse(std::string(text::kDropFieldDisabled));
            }
            if (anyFolder) {
                return refuse(std::string(text::kDropFolderOnFileField));
            }
            if (items.size() != 1) {
                return refuse(std::string(text::kDropSeveralOnFileField));
            }
            if (!matchesFilter(items[0].path, picker->filter)) {
                return refuseType(picker->filter);
            }
            return {DropAction::TakeFile, picker, picker->field, {}};
        }
        if (*target == ControlId::Win7Slideshow || *target == ControlId::Win7SlideshowBrowse) {
            if (!controls.enabled(ControlId::Win7SlideshowBrowse)) {
                return refuse(std::string(text::kDropFieldDisabled));
            }
            const bool allPictures =
                std::all_of(items.begin(), items.end(), [](const DroppedItem& i) {
                    return !i.folder && matchesFilter(i.path, filter::kPicture);
                });
            if (!allPictures) {
                return refuseType(filter::kPicture);
            }
            return {DropAction::TakeSlideshow, nullptr, ControlId::Win7Slideshow, {}};
        }
        if (const PageSetControls* c = saveLocationOf(*target)) {
            if (!controls.enabled(c->saveLocationButton)) {
                return refuse(std::string(text::kDropFieldDisabled));
            }
            if (items.size() != 1 || !items[0].folder) {
                return refuse(std::string(text::kDropFileOnFolderField));
            }
            return {DropAction::TakeFolder, nullptr, c->saveLocation, {}};
        }
    }
    if (items.size() == 1 && isDocument(items[0])) {
        return {DropAction::OpenDocument, nullptr, ControlId::PageContainer, {}};
    }
    return refuse(std::string(text::kDropNotADocument));
}

void dropFiles(Wizard& wizard, std::optional<ControlId> target, std::span<const DroppedItem> items,
               const std::function<void(const std::string&)>& openDocument) {
    if (items.empty()) {
        return;
    }
    const DropPlan plan = planDrop(target, items, wizard.ui);
    switch (plan.action) {
    case DropAction::TakeFile:
        takeAssetFile(*plan.picker, items[0].path, wizard.fileDialog, wizard.ui,
                      wizard.app.project);
        takeEdit(wizard, plan.picker->field);
        break;
    case DropAction::TakeSlideshow: {
        std::vector<std::string> paths;
        for (const DroppedItem& item : items) {
            paths.push_back(item.path);
        }
        takeSlideshowFiles(paths, wizard.ui, wizard.app.project);
        takeEdit(wizard, ControlId::Win7Slideshow);
        break;
    }
    case DropAction::TakeFolder:
        takeSaveFolder(plan.field, items[0].path, wizard.ui);
        takeEdit(wizard, plan.field);
        break;
    case DropAction::OpenDocument:
        openDocument(items[0].path);
        break;
    case DropAction::Refuse:
        wizard.platform.messageBox(plan.message, MessageIcon::Information,
                                   std::string(text::kInfoTitle));
        break;
    }
}

} // namespace quorvel
