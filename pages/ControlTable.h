// Every control of the wizard window as data: identity, name, page, kind, rectangle, caption and
// initial state, plus the titles and labels that each page picture draws. The Win32 window is built
// from these tables and the in-memory wizard of the tests starts from them, so both agree on every
// control's initial state.
#pragma once

#include "model/Geometry.h"
#include "model/PageSet.h"
#include "pages/ControlId.h"

#include <iosfwd>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quorvel {

// The pages of the container 选择夹1 are the Page values of model/PageSet.h.

inline constexpr int kPageWidth = 494;
inline constexpr int kPageHeight = 339;

enum class ControlKind {
    PageContainer, // 选择夹1: shows the children of the current page only
    PagePicture,   // the one picture of a page, drawing its title and labels
    GraphicButton, // a button that shows one of three drawn faces
    PushButton,
    EditField,
    ComboBox, // a drop-down list; the rectangle is the closed box
    TickBox,  // a 20 x 20 label whose caption "√" or "" is its state
    Slider,   // horizontal
};

struct ControlDef {
    ControlId id = ControlId::PageContainer;
    std::string_view name; // the control's Chinese name, as the page layouts call it
    // Nothing for the controls that belong to the window itself rather than to one page.
    std::optional<Page> page;
    ControlKind kind = ControlKind::EditField;
    Rect rect;
    // The initial text of a field, the caption of a button or label, the face label of a graphic
    // button.
    std::string_view caption;
    bool enabled = true;
    // Combo boxes: the items, the first one selected at start.
    std::span<const std::string_view> items;
    // Sliders: the range 0 .. maximum and the initial position.
    int maximum = 0;
    int position = 0;
};

enum class LabelStyle {
    Title,    // the page title at the top
    Heading,  // large text of the main and about pages
    Field,    // a field label, right-aligned against its field
    Text,     // plain text, left-aligned
    Note,     // a hint or unit after a field
    Pictogram // the system pointer named by the text (pointer pages)
};

// A text that a page picture draws.
struct PageLabel {
    Page page = Page::Main;
    LabelStyle style = LabelStyle::Text;
    Rect rect;
    std::string_view text;
};

struct PageInfo {
    Page page = Page::Main;
    std::string_view name; // as the page flow calls it ("主界面", "WIN71", ...)
    ControlId picture;     // its picture box
};

// All controls, the page container first, then page by page; one row for each ControlId.
std::span<const ControlDef> controlTable();
// The row of a control.
const ControlDef& controlDef(ControlId id);
// The control of that Chinese name, or nullptr.
const ControlDef* findControl(std::string_view name);
// The controls that sit on a page (its picture box included).
std::vector<const ControlDef*> controlsOfPage(Page page);

// Writes the control's Chinese name (for messages and test output).
std::ostream& operator<<(std::ostream& out, ControlId id);
// Writes the page's name as the page flow calls it ("主界面", "WIN71", ...).
std::ostream& operator<<(std::ostream& out, Page page);

std::span<const PageLabel> pageLabels();
std::span<const PageInfo> pageInfos();

// Keyboard focus moves through these kinds of controls; a tick box reacts to the mouse only.
bool takesFocus(ControlKind kind);
// The controls of a page that take the focus, in visual order: by top, then by left.
std::vector<const ControlDef*> tabOrder(Page page);
// The control that Tab (forward) or Shift+Tab moves to from `current` on a page, skipping the
// ones `isEnabled` refuses; wraps around. From no control, or one that is not a Tab stop of the
// page, it starts at either end. Nothing when no control of the page can take the focus.
template <typename IsEnabled>
std::optional<ControlId> nextTabStop(Page page, std::optional<ControlId> current, bool forward,
                                     IsEnabled&& isEnabled) {
    const std::vector<const ControlDef*> order = tabOrder(page);
    const int count = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i]->id == current) {
            at = i;
        }
    }
    for (int step = 1; step <= count; ++step) {
        int i = 0;
        if (at < 0) {
            i = forward ? step - 1 : count - step;
        } else {
            i = ((forward ? at + step : at - step) % count + count) % count;
        }
        if (isEnabled(order[i]->id)) {
            return order[i]->id;
        }
    }
    return std::nullopt;
}

} // namespace quorvel
