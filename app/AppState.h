// The program's one global state object: the theme being built, the about page's return
// target and the colour palette's state that outlives one opening of the popup.
#pragma once

#include "app/ThemeProject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorvel {

// A colour value: red in the low byte, then green, then blue; the top byte is 0.
using ColorValue = std::int32_t;

struct PaletteCell {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    ColorValue color = 0;
};

struct PaletteState {
    int popupAnchorX = 0;
    int popupAnchorY = 0;
    ColorValue pickedColor = 0;
    int selectedCell = 0; // 1-based, 0 = none
    int cellWidth = 0;
    int cellHeight = 0;
    std::vector<ColorValue> paletteColors;
    std::vector<PaletteCell> paletteCells;
    // The system colour dialog's 16 custom colours; they persist for the whole run.
    std::array<ColorValue, 16> customColors{};
};

struct AppState {
    ThemeProject project;
    int aboutReturnPage = 0;
    PaletteState palette;
};

// Creates the one AppState. Called once, before the main window exists.
AppState& createAppState();
// The AppState made by createAppState.
AppState& appState();
// Releases everything AppState holds; runs at process end.
void releaseAppState();

} // namespace quorvel
