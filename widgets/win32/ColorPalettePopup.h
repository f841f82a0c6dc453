// The colour palette popup: a small modal window that shows the palette of widgets/Palette.h,
// highlights the cell under the pointer and the cell picked last, and returns the picked colour.
//
// With the keyboard: it opens with the selected cell highlighted; the arrow keys, Home and End
// move the highlight (palette::moveInGrid), Enter picks the highlighted cell as a click does, Tab
// and Shift+Tab go between the cell grid and the "other colours" button (Enter or Space clicks
// it), Escape closes without a pick. To accessibility clients the cells are list items named by
// their colour ("#RRGGBB"), followed by the popup's child windows.
#pragma once

#include "model/AppState.h"
#include "widgets/Palette.h"
#include "widgets/win32/Gdi.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace quorvel {

// The window class of the popup (tests look the popup up by it).
inline constexpr const wchar_t* kColorPalettePopupClass = L"QuorvelColorPalettePopup";

// Opens the popup with its top-left corner at the screen point (x, y), modal over owner, and
// returns when it has closed: the picked colour (a cell, the automatic button's black or the
// system colour dialog's colour), or nothing when it closed without a pick (Escape, a cancelled
// or failed system colour dialog). Without a pick the state's pick and selected cell stay as they
// were.
std::optional<Rgb> openColorPalette(PaletteState& state, HWND owner, int x, int y);

// The palette's drawing objects: one solid brush per cell, the frame and highlight brushes, the
// grid pen and the background brush. They live as long as the popup window.
class PalettePainter {
public:
    explicit PalettePainter(const PaletteState& state);

    // Draws the picture for this hover cell (0 = none) into an off-screen bitmap of width x height
    // (pixels at `dpi`) and copies it onto dc at (0, 0) in one piece.
    void paint(HDC dc, int hover, int width, int height, int dpi = 96) const;

private:
    HBRUSH brushFor(const palette::DrawOp& op) const;

    const PaletteState& state_;
    // Released in reverse order: the cells' brushes, then background, pen, border, cell frame and
    // the two highlight brushes.
    gdi::Brush highlightInner_;
    gdi::Brush highlightOuter_;
    gdi::Brush cellFrame_;
    gdi::Brush border_;
    gdi::Pen grid_;
    gdi::Brush background_;
    std::vector<gdi::Brush> cellBrushes_;
};

// Draws one face of an image button (see palette::buttonFace) with its caption in font into
// rect of dc, through an off-screen bitmap.
void paintPaletteButtonFace(HDC dc, const RECT& rect, palette::FaceButton button, bool hot,
                            HFONT font);

} // namespace quorvel
