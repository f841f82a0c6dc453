// Files dropped onto the window from the file manager: a file on a path field is taken as its
// browse button takes a pick, several pictures on the slideshow field replace the slideshow as
// "多选" does, a folder on a save-location field becomes the save location, a theme or project
// file dropped elsewhere goes to the window's open hook. Anything else is refused with one
// message and changes nothing.
#pragma once

#include "pages/PageFlow.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

struct DroppedItem {
    std::string path;
    bool folder = false;
};

enum class DropAction {
    TakeFile,      // the file goes to `picker` as a pick of its browse button
    TakeSlideshow, // the files replace the slideshow
    TakeFolder,    // the folder goes into the save-location field `field`
    OpenDocument,  // the file is a theme or project file to open
    Refuse,        // `message` says why; nothing changes
};

struct DropPlan {
    DropAction action = DropAction::Refuse;
    const AssetPickerDef* picker = nullptr;
    ControlId field = ControlId::PageContainer;
    std::string message;
};

// True when the file name's extension (ASCII letters compared without case) is one of the
// masks of a filter "description|*.a;*.b".
bool matchesFilter(std::string_view path, std::string_view filter);

// What a drop of `items` (at least one) does on `target`: the control of the table under the drop
// point, or nothing when the point is on no control (a page's picture, the frame). `controls`
// tells whether the target is enabled.
DropPlan planDrop(std::optional<ControlId> target, std::span<const DroppedItem> items,
                  const Controls& controls);

// Plans the drop and carries it out: picks go through the pickers' own code, a refusal shows its
// message, a document goes to `openDocument`.
void dropFiles(Wizard& wizard, std::optional<ControlId> target, std::span<const DroppedItem> items,
               const std::function<void(const std::string&)>& openDocument);

} // namespace quorvel
