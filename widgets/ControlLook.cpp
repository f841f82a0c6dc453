#include "widgets/ControlLook.h"

namespace quorvel {

namespace {

// Shared by every variant; only the accent family changes.
LookColors baseColors() {
    LookColors c;
    c.pageBody = {247, 249, 252};
    c.title = {22, 46, 92};
    c.label = {38, 50, 72};
    c.note = {110, 120, 136};
    c.fieldFace = {255, 255, 255};
    c.fieldDisabled = {236, 239, 243};
    c.frame = {160, 172, 190};
    c.text = {20, 28, 40};
    c.disabledText = {150, 156, 166};
    return c;
}

} // namespace

std::optional<LookColors> lookColors(int variant) {
    LookColors c = baseColors();
    switch (variant) {
    case 1: // sea green
        c.pageBand = {219, 240, 232};
        c.accent = {30, 140, 110};
        c.buttonTop = {250, 253, 252};
        c.buttonBottom = {214, 235, 228};
        c.buttonHotTop = {236, 250, 245};
        c.buttonHotBottom = {170, 222, 204};
        c.buttonPressedTop = {160, 210, 192};
        c.buttonPressedBottom = {205, 232, 222};
        break;
    case 2: // amber
        c.pageBand = {250, 238, 214};
        c.accent = {200, 120, 20};
        c.buttonTop = {255, 253, 248};
        c.buttonBottom = {240, 228, 204};
        c.buttonHotTop = {255, 247, 228};
        c.buttonHotBottom = {250, 214, 150};
        c.buttonPressedTop = {236, 196, 128};
        c.buttonPressedBottom = {248, 226, 184};
        break;
    case 3: // steel blue
        c.pageBand = {218, 230, 246};
        c.accent = {40, 110, 200};
        c.buttonTop = {252, 253, 255};
        c.buttonBottom = {216, 226, 240};
        c.buttonHotTop = {240, 247, 255};
        c.buttonHotBottom = {178, 208, 244};
        c.buttonPressedTop = {160, 190, 230};
        c.buttonPressedBottom = {204, 222, 244};
        break;
    default:
        return std::nullopt;
    }
    return c;
}

} // namespace quorvel
