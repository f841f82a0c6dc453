// The colour palette popup without its window: the 70 colours, the cells they are shown in, hit
// testing, the pick steps, and what one repaint draws, as a list of drawing operations that the
// Win32 painter executes with GDI (and tests execute on a pixel array).
#pragma once

#include "model/AppState.h"
#include "model/Geometry.h"
#include "model/Texts.h"

#include <string>
#include <vector>

namespace quorvel::palette {

using quorvel::Rect;
using quorvel::Rgb;

inline constexpr int kPopupWidth = 175;
inline constexpr int kPopupHeight = 209;
inline constexpr int kCellSize = 13;
inline constexpr int kColorCount = 70;
inline constexpr int kAutomaticCell = 2; // the black cell of the base row

// The popup's child controls.
inline constexpr Rect kAutomaticButton{2, 1, 172, 25};       // 超级按钮2
inline constexpr Rect kThemeColorsLabel{2, 26, 171, 23};     // 标签_主题颜色
inline constexpr Rect kStandardColorsLabel{2, 136, 171, 22}; // 标签_标准色
inline constexpr Rect kOtherColorsButton{2, 181, 172, 27};   // 超级按钮_其他颜色

// The catalogue's texts are literals, so each data() ends with a NUL.
inline constexpr const char* kThemeColorsCaption = text::kPaletteThemeColors.data();
inline constexpr const char* kStandardColorsCaption = text::kPaletteStandardColors.data();
inline constexpr const char* kAutomaticCaption = text::kPaletteAutomatic.data();
inline constexpr const char* kOtherColorsCaption = text::kPaletteOtherColors.data();
// Both labels: this font at 9 points (12 pixels high), normal weight, GB2312 character set.
inline constexpr const char* kLabelFontName = "宋体"; // catalogue: not shown (a font's name)
inline constexpr int kLabelFontHeight = 12;
inline constexpr Rgb kLabelTextColor{0, 0, 128};
inline constexpr Rgb kLabelBackColor{221, 231, 238};

// The brush or pen a drawing operation uses. Palette operations name one of the popup's own
// drawing objects (or the brush of one cell); Plain asks for a brush of the operation's colour.
enum class Ink {
    Background,     // solid brush (255,255,255): the whole picture
    Grid,           // 1-pixel pen (197,197,197): the three separator lines
    Border,         // solid brush (128,128,128): the outer frame and the column frames
    CellFrame,      // solid brush (197,197,197): frames of the base and standard rows
    HighlightOuter, // solid brush (242,148,54)
    HighlightInner, // solid brush (255,226,148)
    Cell,           // the brush of the cell DrawOp::cell
    Plain,          // a brush of DrawOp::color (button faces)
};
Rgb inkColor(Ink ink);

// One drawing step, with GDI's rules: Fill paints rect without its right column and bottom row;
// Frame paints the one-pixel border inside rect; Line runs from (rect.left, rect.top) to
// (rect.right(), rect.bottom()) with the end point left out.
struct DrawOp {
    enum class Kind { Fill, Frame, Line };

    Kind kind = Kind::Fill;
    Rect rect;
    Ink ink = Ink::Plain;
    Rgb color;    // the colour the ink paints, always filled in
    int cell = 0; // 1-based cell index for Ink::Cell

    bool operator==(const DrawOp&) const = default;
};

// The 70 colours: ten base colours, five rows of their variants, ten standard colours.
std::vector<Rgb> buildPaletteColors();
// The cells of the base row (1-10), the variant block row by row (11-60) and the standard row
// (61-70). Vertically adjacent variant cells overlap by one pixel row.
std::vector<PaletteCell> buildPaletteCells(const std::vector<Rgb>& colors, int cellWidth,
                                           int cellHeight);
// The popup's creation step: 13-pixel cells, the colours and the cells, built anew.
void preparePalette(PaletteState& state);

// The rectangle cell `index` (1-based) is painted in.
Rect cellRect(const PaletteState& state, int index);
// The first cell, in list order, whose bounds contain the point, both edges included (a cell
// answers for cellWidth + 1 by cellHeight + 1 pixels); 0 when there is none.
int hitTestCell(const PaletteState& state, int x, int y);

// Left button released at (x, y): a point on a cell selects it and picks its colour (true: the
// popup closes); a point outside every cell changes nothing (false).
bool pickCellAt(PaletteState& state, int x, int y);
// Selects cell `index` (1-based) and picks its colour, as a click on it does; false (and no
// change) for 0 or an index past the last cell.
bool pickCell(PaletteState& state, int index);

// Keyboard navigation. The cells form a grid of seven rows of ten in cell order: the base row,
// the five variant rows and the standard row. The arrow keys move to the neighbouring cell and
// stop at the grid's edges, as in the system's list view in icon mode (no wrapping to the next
// row or round to the other side); Home and End go to the first and the last cell. From no cell
// (0) End goes to the last cell and every other move to the first.
enum class GridMove { Left, Right, Up, Down, First, Last };
inline constexpr int kGridColumns = 10;
inline constexpr int kGridRows = kColorCount / kGridColumns;
int moveInGrid(int from, GridMove move);
// The automatic button: selects the black base cell and picks black.
void pickAutomatic(PaletteState& state);
// A colour confirmed in the system colour dialog; the selected cell stays as it was.
void pickSystemColor(PaletteState& state, Rgb color);

// One repaint of a width x height picture: background, cells, outer and column frames, the
// highlights of the hover cell and the selected cell (0 = none) and the three separator lines.
std::vector<DrawOp> paletteDrawing(const PaletteState& state, int hover, int width, int height);

// The two image buttons and their faces: plain light, or an orange gradient while the pointer is
// over the button or it is pressed.
enum class FaceButton { Automatic, OtherColors };
std::vector<DrawOp> buttonFace(FaceButton button, bool hot, int width, int height);
// Where the button's caption goes (vertically centred, left-aligned) and what it says.
Rect faceTextRect(FaceButton button, int width, int height);
std::string faceCaption(FaceButton button);

} // namespace quorvel::palette
