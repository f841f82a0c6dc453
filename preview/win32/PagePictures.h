// What the program draws itself: the fonts of the window, the picture of each page (its title,
// field labels and pointer pictograms over the page's background) and the three faces of the
// graphic buttons.
#pragma once

#include "model/PageSet.h"
#include "widgets/ControlLook.h"
#include "widgets/win32/Gdi.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvel {

struct WizardFonts {
    gdi::Font text;    // controls and field labels
    gdi::Font title;   // page titles
    gdi::Font heading; // the main page's welcome
    gdi::Font face;    // labels of the graphic buttons
    gdi::Font tick;    // the tick boxes' "√"
};

// The first of the Chinese faces the system has, in order of preference: "微软雅黑" where
// present (Windows 7), "宋体" (every Chinese Windows), then the faces of free systems; the
// empty text when none is installed (the font mapper then picks one for the character set).
std::wstring chineseFace();
// "黑体" where present, otherwise chineseFace().
std::wstring boldChineseFace();

// The fonts at `dpi` dots per inch (their pixel heights are given at 96).
WizardFonts makeWizardFonts(int dpi = 96);

// Draws the picture of a page into a device context of the page's size at `dpi`, with fonts
// made for that DPI.
void paintPagePicture(HDC dc, Page page, const WizardFonts& fonts, const LookColors& colors,
                      int dpi = 96);

// Where a pointer pictogram is drawn inside its one-pixel frame: at the pointer's own size,
// centred, where the frame has room to spare (at high DPI the system's pointers stay smaller
// than the frame); shrunk to the room inside the frame where the pointer is larger.
RECT pictogramPlace(const RECT& frame, SIZE pointer);

enum class FaceState { Normal, Hot, Pressed };
// Draws one face of a graphic button over the rectangle, at `dpi`.
void paintButtonFace(HDC dc, const RECT& rect, std::wstring_view label, FaceState state,
                     const WizardFonts& fonts, const LookColors& colors, int dpi = 96);

} // namespace quorvel
