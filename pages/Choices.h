// The choices made as a whole rather than file by file: the pointer and sound scheme combos with
// the groups of controls they govern, the checks of their pages' "下一步" buttons, the two
// screensaver tick boxes and the lists of the system's own screensavers.
#pragma once

#include "model/SystemScreensavers.h"
#include "model/ThemeDocument.h"
#include "model/ThemeProject.h"
#include "model/ThemeRequest.h"
#include "pages/Controls.h"
#include "platform/Platform.h"

#include <span>
#include <string_view>
#include <vector>

namespace quorvel {

// A scheme combo and the controls it governs, in the order it sets them.
struct SchemeGroup {
    ControlId combo;
    ControlId nameField;
    std::vector<ControlId> pathFields; // in slot order
    std::vector<ControlId> buttons;    // the browse buttons of those fields
    std::string_view defaultName;      // shown by item 1
    PageSet set;
    SchemeKind kind;
};

const SchemeGroup& cursorSchemeGroup(PageSet set);
const SchemeGroup& soundSchemeGroup(PageSet set);

// The items of the four scheme combos are model/ThemeDocument.h's kNoSchemeItem ..
// kCustomSchemeItem.

// Shows the scheme of the group's kind in `choices`: its item, name and paths, with the name
// field, the path fields and their buttons enabled for the theme's own scheme only.
void showScheme(const SchemeGroup& group, const PageChoices& choices, Controls& controls);
// The user picked an item of the group's combo: the document's rule (chooseScheme) applied to
// `choices`, which the group then shows.
void selectScheme(const SchemeGroup& group, Controls& controls, PageChoices& choices);
// The same on the choices the group's controls show.
void selectScheme(const SchemeGroup& group, Controls& controls);
void selectCursorScheme(PageSet set, Controls& controls);
void selectSoundScheme(PageSet set, Controls& controls);

// The checks of "下一步" on the pointer and sound pages and the two style pages (the field of
// the visual style): the document's page checks (model/ThemeDocument.h) on what the controls
// show. A check that fails shows its message; true lets the wizard move on.
bool commitCursorSchemePage(PageSet set, const Controls& controls, Platform& platform);
bool commitSoundSchemePage(PageSet set, const Controls& controls, Platform& platform);
bool commitStylePage(ControlId visualStyle, const Controls& controls, Platform& platform);

// --- screensaver ----------------------------------------------------------------------------

inline constexpr std::string_view kTickMark = "√";

// A click on one of the two tick boxes: the document's rule (tickScreensaver) applied to
// `choices`, whose row the controls then show, with the list enabled while its box is set and the
// own file's field and button while theirs is.
void clickScreensaverBox(PageSet set, ScreensaverSource box, PageChoices& choices,
                         Controls& controls);
// Shows the screensaver row of `choices`: the two boxes, the list and the own file's field, each
// enabled while its box is set.
void showScreensaver(PageSet set, const PageChoices& choices, Controls& controls);
// The left button released over a tick box of the desktop page (PageSetControls::systemSaverTick
// or ownSaverTick), on the row the controls show. At most one of the two boxes is ever set.
void toggleSystemScreensaver(PageSet set, Controls& controls);
void toggleOwnScreensaver(PageSet set, Controls& controls);

// The lists of the system's own screensavers and their folder are model/SystemScreensavers.h.

// The user picked an item of the system screensaver list: records that screensaver (with the
// unexpanded system folder) as the theme's screensaver. The first item changes nothing.
void selectSystemScreensaver(PageSet set, Controls& controls, ThemeProject& project);

} // namespace quorvel
