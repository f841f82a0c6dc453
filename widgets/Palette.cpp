#include "widgets/Palette.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quorvel::palette {

namespace {

constexpr Rgb hex(unsigned value) {
    // Written as 0xRRGGBB.
    return {static_cast<std::uint8_t>((value >> 16) & 0xFF),
            static_cast<std::uint8_t>((value >> 8) & 0xFF),
            static_cast<std::uint8_t>(value & 0xFF)};
}

constexpr std::array<unsigned, kColorCount> kColors = {
    // Base colours.
    0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D, 0x9BBB59, 0x8064A2, 0x4BACC6,
    0xF79646,
    // Their variants, lightest to darkest, one row of ten per step.
    0xF2F2F2, 0x7F7F7F, 0xDDD9C3, 0xC6D9F0, 0xDBE5F1, 0xF2DCDB, 0xEBF1DD, 0xE5E0EC, 0xDBEEF3,
    0xFDEADA, //
    0xD8D8D8, 0x595959, 0xC4BD97, 0x8DB3E2, 0xB8CCE4, 0xE5B9B7, 0xD7E3BC, 0xCCC1D9, 0xB7DDE8,
    0xFBD5B5, //
    0xBFBFBF, 0x3F3F3F, 0x938953, 0x548DD4, 0x95B3D7, 0xD99694, 0xC3D69B, 0xB2A2C7, 0x92CDDC,
    0xFAC08F, //
    0xA5A5A5, 0x262626, 0x494429, 0x17365D, 0x366092, 0x953734, 0x76923C, 0x5F497A, 0x31859B,
    0xE36C09, //
    0x7F7F7F, 0x0C0C0C, 0x1D1B10, 0x0F243E, 0x244061, 0x632423, 0x4F6128, 0x3F3151, 0x205867,
    0x974806,
    // Standard colours.
    0xC00000, 0xFF0000, 0xFFC000, 0xFFFF00, 0x92D050, 0x00B050, 0x00B0F0, 0x0070C0, 0x002060,
    0x7030A0};

constexpr int kColumns = 10;
constexpr int kVariantRows = 5;
constexpr int kBaseRowTop = 54;
constexpr int kVariantBlockTop = 60; // variant row r (1-based) starts at r * (cellHeight - 1) + 60
constexpr int kStandardRowTop = 164;

bool isFramedCell(int index) {
    return index <= kColumns || index > kColumns * (1 + kVariantRows);
}

DrawOp fill(Rect rect, Ink ink, Rgb color, int cell = 0) {
    return {DrawOp::Kind::Fill, rect, ink, color, cell};
}
DrawOp frame(Rect rect, Ink ink) {
    return {DrawOp::Kind::Frame, rect, ink, inkColor(ink), 0};
}

// A horizontal separator under (or above) a control: from its left edge to left + width - 1.
DrawOp gridLine(const Rect& box, int y) {
    return {DrawOp::Kind::Line, {box.left, y, box.width - 1, 0}, Ink::Grid, inkColor(Ink::Grid), 0};
}

void addHighlight(std::vector<DrawOp>& ops, const PaletteState& state, int index) {
    if (index < 1 || index > static_cast<int>(state.paletteCells.size())) {
        return;
    }
    const Rect r = cellRect(state, index);
    ops.push_back(frame(r, Ink::HighlightOuter));
    ops.push_back(frame({r.left + 1, r.top + 1, state.cellWidth - 3, state.cellHeight - 3},
                        Ink::HighlightInner));
}

// A painter's palette, 16 x 16: '#' outline, 'w' wood, paint blobs 'r', 'y', 'g', 'b';
// '.' is left as it is.
constexpr std::array<const char*, 16> kPaletteIcon = {
    "................", //
    "....########....", //
    "..##wwwwwwww##..", //
    ".#wwrrwwwwyywww#", //
    "#wwwrrwwwwyywww#", //
    "#wwwwwwwwwwwwww#", //
    "#wggwwww##wwwww#", //
    "#wggwww#..#wwww#", //
    "#wwwwww#..#wbbw#", //
    "#wwwwwww##wwbbw#", //
    ".#wwwwwwwwwwwww#", //
    "..#wwwwwwwwwww#.", //
    "...##wwwwwww##..", //
    ".....#######....", //
    "................", //
    "................", //
};

// The colour of a character of the picture; nothing for '.', which leaves the face as it is.
std::optional<Rgb> iconColor(char c) {
    switch (c) {
    case '#':
        return Rgb{96, 64, 32};
    case 'w':
        return Rgb{240, 208, 150};
    case 'r':
        return Rgb{230, 30, 30};
    case 'y':
        return Rgb{250, 210, 0};
    case 'g':
        return Rgb{40, 170, 60};
    case 'b':
        return Rgb{30, 90, 220};
    default:
        return std::nullopt;
    }
}

constexpr Rgb kFacePlain{245, 247, 250};
constexpr Rgb kFaceHotTop{255, 244, 206};
constexpr Rgb kFaceHotBottom{255, 206, 120};
constexpr int kFaceContentLeft = 6;
constexpr int kFaceTextLeft = 26;
constexpr int kIconSize = 16;

} // namespace

Rgb inkColor(Ink ink) {
    switch (ink) {
    case Ink::Background:
        return {255, 255, 255};
    case Ink::Grid:
    case Ink::CellFrame:
        return {197, 197, 197};
    case Ink::Border:
        return {128, 128, 128};
    case Ink::HighlightOuter:
        return {242, 148, 54};
    case Ink::HighlightInner:
        return {255, 226, 148};
    case Ink::Cell:
    case Ink::Plain:
        break;
    }
    return {};
}

std::vector<Rgb> buildPaletteColors() {
    std::vector<Rgb> colors;
    colors.reserve(kColors.size());
    for (unsigned value : kColors) {
        colors.push_back(hex(value));
    }
    return colors;
}

std::vector<PaletteCell> buildPaletteCells(const std::vector<Rgb>& colors, int cellWidth,
                                           int cellHeight) {
    std::vector<PaletteCell> cells;
    const auto colorAt = [&](std::size_t position) {
        return position < colors.size() ? colors[position] : Rgb{};
    };
    const auto columnLeft = [&](int column) { return column * (cellWidth + 4) + 4; };
    for (int i = 0; i < kColumns; ++i) {
        cells.push_back({columnLeft(i), kBaseRowTop, colorAt(i)});
    }
    for (int i = 0; i < kColumns * kVariantRows; ++i) {
        const int row = i / kColumns + 1;
        cells.push_back({columnLeft(i % kColumns), row * (cellHeight - 1) + kVariantBlockTop,
                         colorAt(kColumns + i)});
    }
    for (int i = 0; i < kColumns; ++i) {
        cells.push_back({columnLeft(i), kStandardRowTop, colorAt(kColumns * 6 + i)});
    }
    return cells;
}

void preparePalette(PaletteState& state) {
    state.cellWidth = kCellSize;
    state.cellHeight = kCellSize;
    state.paletteColors = buildPaletteColors();
    state.paletteCells = buildPaletteCells(state.paletteColors, state.cellWidth, state.cellHeight);
}

Rect cellRect(const PaletteState& state, int index) {
    const PaletteCell& cell = state.paletteCells.at(static_cast<std::size_t>(index - 1));
    return {cell.x, cell.y, state.cellWidth, state.cellHeight};
}

int hitTestCell(const PaletteState& state, int x, int y) {
    for (std::size_t i = 0; i < state.paletteCells.size(); ++i) {
        const PaletteCell& cell = state.paletteCells[i];
        if (cell.x <= x && x <= cell.x + state.cellWidth && cell.y <= y &&
            y <= cell.y + state.cellHeight) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

bool pickCellAt(PaletteState& state, int x, int y) {
    return pickCell(state, hitTestCell(state, x, y));
}

bool pickCell(PaletteState& state, int index) {
    if (index < 1 || index > static_cast<int>(state.paletteCells.size())) {
        return false;
    }
    state.selectedCell = index;
    state.pickedColor = state.paletteCells[static_cast<std::size_t>(index - 1)].color;
    return true;
}

int moveInGrid(int from, GridMove move) {
    if (from < 1 || from > kColorCount) {
        return move == GridMove::Last ? kColorCount : 1;
    }
    const int row = (from - 1) / kGridColumns;
    const int column = (from - 1) % kGridColumns;
    switch (move) {
    case GridMove::Left:
        return column > 0 ? from - 1 : from;
    case GridMove::Right:
        return column < kGridColumns - 1 ? from + 1 : from;
    case GridMove::Up:
        return row > 0 ? from - kGridColumns : from;
    case GridMove::Down:
        return row < kGridRows - 1 ? from + kGridColumns : from;
    case GridMove::First:
        return 1;
    case GridMove::Last:
        return kColorCount;
    }
    return from;
}

void pickAutomatic(PaletteState& state) {
    state.selectedCell = kAutomaticCell;
    state.pickedColor = state.paletteCells.size() >= kAutomaticCell
                            ? state.paletteCells[kAutomaticCell - 1].color
                            : Rgb{};
}

void pickSystemColor(PaletteState& state, Rgb color) {
    state.pickedColor = color;
}

std::vector<DrawOp> paletteDrawing(const PaletteState& state, int hover, int width, int height) {
    std::vector<DrawOp> ops;
    const Rect whole{0, 0, width, height};
    ops.push_back(fill(whole, Ink::Background, inkColor(Ink::Background)));

    const int count = static_cast<int>(state.paletteCells.size());
    for (int index = 1; index <= count; ++index) {
        const Rect r = cellRect(state, index);
        ops.push_back(fill(r, Ink::Cell, state.paletteCells[index - 1].color, index));
        if (isFramedCell(index)) {
            ops.push_back(frame(r, Ink::CellFrame));
        }
    }

    ops.push_back(frame(whole, Ink::Border));
    // One frame around the five variant cells of each column.
    for (int column = 1; column <= kColumns && column + kColumns <= count; ++column) {
        const PaletteCell& top = state.paletteCells[column + kColumns - 1];
        ops.push_back(frame(
            {top.x, top.y, state.cellWidth, state.cellHeight * kVariantRows - (kVariantRows - 1)},
            Ink::Border));
    }

    if (hover != 0) {
        addHighlight(ops, state, hover);
    }
    if (state.selectedCell != 0) {
        addHighlight(ops, state, state.selectedCell);
    }

    ops.push_back(gridLine(kThemeColorsLabel, kThemeColorsLabel.top + kThemeColorsLabel.height));
    ops.push_back(
        gridLine(kStandardColorsLabel, kStandardColorsLabel.top + kStandardColorsLabel.height));
    ops.push_back(gridLine(kOtherColorsButton, kOtherColorsButton.top - 1));
    return ops;
}

std::vector<DrawOp> buttonFace(FaceButton button, bool hot, int width, int height) {
    std::vector<DrawOp> ops;
    if (hot) {
        for (int y = 0; y < height; ++y) {
            ops.push_back(
                fill({0, y, width, 1}, Ink::Plain,
                     blend(kFaceHotTop, kFaceHotBottom, y, height - 1, Rounding::TowardZero)));
        }
        ops.push_back({DrawOp::Kind::Frame,
                       {0, 0, width, height},
                       Ink::Plain,
                       inkColor(Ink::HighlightOuter),
                       0});
    } else {
        ops.push_back(fill({0, 0, width, height}, Ink::Plain, kFacePlain));
    }

    if (button == FaceButton::Automatic) {
        const int top = (height - kCellSize) / 2;
        const Rect swatch{kFaceContentLeft, top, kCellSize, kCellSize};
        ops.push_back(fill(swatch, Ink::Plain, Rgb{}));
        ops.push_back({DrawOp::Kind::Frame, swatch, Ink::Plain, inkColor(Ink::CellFrame), 0});
    } else {
        const int top = (height - kIconSize) / 2;
        for (int row = 0; row < kIconSize; ++row) {
            const char* line = kPaletteIcon[static_cast<std::size_t>(row)];
            for (int column = 0; column < kIconSize;) {
                const char c = line[column];
                int end = column + 1;
                while (end < kIconSize && line[end] == c) {
                    ++end;
                }
                if (const std::optional<Rgb> color = iconColor(c)) {
                    ops.push_back(fill({kFaceContentLeft + column, top + row, end - column, 1},
                                       Ink::Plain, *color));
                }
                column = end;
            }
        }
    }
    return ops;
}

Rect faceTextRect(FaceButton, int width, int height) {
    return {kFaceTextLeft, 0, width - kFaceTextLeft, height};
}

std::string faceCaption(FaceButton button) {
    return button == FaceButton::Automatic ? kAutomaticCaption : kOtherColorsCaption;
}

} // namespace quorvel::palette
