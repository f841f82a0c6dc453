// The colours of the program's own control look: variants 1 to 3 each have their own accent
// colour, any other variant turns the look off. The Win32 side (window/win32/Win32ControlLook.h)
// paints buttons, fields, lists, sliders, tick boxes and the page pictures with these colours.
#pragma once

#include "model/Geometry.h"

#include <optional>

namespace quorvel {

struct LookColors {
    Rgb pageBody;      // the page picture behind the controls
    Rgb pageBand;      // the title band at the top of a page, fading into the body
    Rgb title;         // page titles and headings
    Rgb label;         // field labels
    Rgb note;          // hints and units
    Rgb fieldFace;     // inside of fields, lists and tick boxes
    Rgb fieldDisabled; // inside of a disabled field
    Rgb frame;         // one-pixel frame of fields, lists, buttons and tick boxes
    Rgb accent;        // frame of the control under the pointer or with the focus
    Rgb buttonTop;     // push button gradient, top and bottom
    Rgb buttonBottom;
    Rgb buttonHotTop; // pointer over the button
    Rgb buttonHotBottom;
    Rgb buttonPressedTop;
    Rgb buttonPressedBottom;
    Rgb text; // text of controls
    Rgb disabledText;
};

// The colours of a variant, or nothing when the variant turns the look off.
std::optional<LookColors> lookColors(int variant);

} // namespace quorvel
