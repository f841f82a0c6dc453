// What the program's own controls tell screen readers and UI automation: for each object its
// role, name, value, states and default action. The Win32 accessible objects
// (widgets/win32/AccessibleObject) only carry these answers to the system.
#pragma once

#include "model/AppState.h"
#include "model/Texts.h"

#include <string>
#include <string_view>

namespace quorvel::access {

// The roles used here, with the system's numbers.
enum class Role : long {
    Client = 0x0A,
    ListItem = 0x22,
    PushButton = 0x2B,
};

// State bits, with the system's numbers.
enum State : unsigned {
    Unavailable = 0x1,
    Selected = 0x2,
    Focused = 0x4,
    Pressed = 0x8,
    HotTracked = 0x80,
    Invisible = 0x8000,
    Focusable = 0x100000,
    Selectable = 0x200000,
};

struct Description {
    Role role = Role::Client;
    std::string name;
    std::string value;
    unsigned state = 0;
    std::string defaultAction; // empty: the object has none

    bool operator==(const Description&) const = default;
};

// The default action of push buttons and palette cells, as the system names a button's.
inline constexpr const char* kPressAction = text::kPressAction.data();

// What a push button is like at the moment.
struct ButtonFacts {
    bool visible = true;
    bool enabled = true;
    bool focused = false;
    bool pressed = false;
    bool hot = false;
};

// A push button named by its label. A disabled button is unavailable and cannot take the focus;
// a hidden one is invisible.
Description pushButton(std::string_view label, const ButtonFacts& facts);

// A colour as the palette's cells are named: "#RRGGBB", upper-case hexadecimal.
std::string colorName(Rgb color);

// Cell `index` (1-based) of the palette popup: a list item named by its colour, selected when it
// is the palette's selected cell, focused when it is the highlighted cell and the cell grid has
// the keyboard focus, hot-tracked while it is highlighted.
Description paletteCell(const PaletteState& state, int index, int highlighted, bool gridFocused);

} // namespace quorvel::access
