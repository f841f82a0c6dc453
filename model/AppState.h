// What the program keeps for the whole run: the theme being built and its document, the about
// page's return target and the colour palette's state that outlives one opening of the popup. The
// entry point owns the one AppState and hands it to the window by reference.
#pragma once

#include "model/Geometry.h"
#include "model/PageSet.h"
#include "model/ThemeDocument.h"
#include "model/ThemeProject.h"

#include <array>
#include <vector>

namespace quorvel {

// One square of the colour palette: its top-left corner in popup client pixels and its colour.
// Every cell is PaletteState::cellWidth by cellHeight pixels.
struct PaletteCell {
    int x = 0;
    int y = 0;
    Rgb color;

    bool operator==(const PaletteCell&) const = default;
};

// What the colour palette popup keeps between openings. The colours and cells are rebuilt each
// time the popup is created; the pick, the selected cell and the system colour dialog's custom
// colours persist for the whole run. The popup's drawing objects belong to the popup window.
struct PaletteState {
    int popupAnchorX = 0; // screen pixels of the popup's top-left corner
    int popupAnchorY = 0;
    Rgb pickedColor;      // the last pick; black until the first one
    int selectedCell = 0; // 1-based index into paletteCells, 0 = none
    int cellWidth = 0;
    int cellHeight = 0;
    std::vector<Rgb> paletteColors;
    std::vector<PaletteCell> paletteCells;
    // The system colour dialog's 16 custom colours; they persist for the whole run.
    std::array<Rgb, 16> customColors{};
};

struct AppState {
    ThemeProject project;
    // The theme document of the window: every edit of a control of the two page sets writes into
    // it, and generation, export, install and saving read it. Its picks follow `project`'s
    // slots, which the browse buttons fill; its page set is not kept up to date.
    ThemeDocument document;
    Page aboutReturnPage = Page::Main;
    PaletteState palette;
};

} // namespace quorvel
