#include "widgets/Accessibility.h"

#include "widgets/Palette.h"

#include <cstddef>

namespace quorvel::access {

Description pushButton(std::string_view label, const ButtonFacts& facts) {
    Description d;
    d.role = Role::PushButton;
    d.name = label;
    d.defaultAction = kPressAction;
    if (!facts.visible) {
        d.state |= Invisible;
    }
    if (!facts.enabled) {
        d.state |= Unavailable;
    } else {
        d.state |= Focusable;
        if (facts.focused) {
            d.state |= Focused;
        }
        if (facts.pressed) {
            d.state |= Pressed;
        }
        if (facts.hot) {
            d.state |= HotTracked;
        }
    }
    return d;
}

std::string colorName(Rgb color) {
    return "#" + hexText(color);
}

Description paletteCell(const PaletteState& state, int index, int highlighted, bool gridFocused) {
    Description d;
    d.role = Role::ListItem;
    d.defaultAction = kPressAction;
    d.name = colorName(state.paletteCells.at(static_cast<std::size_t>(index - 1)).color);
    d.state = Focusable | Selectable;
    if (index == state.selectedCell) {
        d.state |= Selected;
    }
    if (index == highlighted) {
        d.state |= HotTracked;
        if (gridFocused) {
            d.state |= Focused;
        }
    }
    return d;
}

} // namespace quorvel::access
