// The colours of the program's own control look. applyControlLook(variant) switches the look on
// for variants 1 to 3 (each its own accent colour) and off for any other value; the Win32 side
// paints buttons, fields, lists, sliders, tick boxes and the page pictures with these colours.
#pragma once

#include <cstdint>
#include <optional>

namespace quorvel {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

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

// The variant in force for the GUI thread (0 = off).
int currentLookVariant();
void setCurrentLookVariant(int variant);

} // namespace quorvel
