// The colour palette without its window: colours and cells, hit testing at the edges where cells
// overlap or leave gaps, the pick steps, and the drawn picture checked pixel by pixel.
#include "PaletteRaster.h"

#include "widgets/Palette.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace quorvel::test {
namespace {

constexpr std::array<int, 10> kColumnLefts = {4, 21, 38, 55, 72, 89, 106, 123, 140, 157};
constexpr std::array<int, 7> kRowTops = {54, 72, 84, 96, 108, 120, 164};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBorder{128, 128, 128};
constexpr Rgb kGrey{197, 197, 197}; // grid lines and the frames of base and standard cells
constexpr Rgb kOuter{242, 148, 54};
constexpr Rgb kInner{255, 226, 148};

PaletteState prepared() {
    PaletteState state;
    palette::preparePalette(state);
    return state;
}

TEST(PaletteCells, SeventyColoursInTableOrder) {
    const auto colors = palette::buildPaletteColors();
    ASSERT_EQ(colors.size(), 70u);
    const std::array<const char*, 10> base = {"FFFFFF", "000000", "EEECE1", "1F497D", "4F81BD",
                                              "C0504D", "9BBB59", "8064A2", "4BACC6", "F79646"};
    const std::array<const char*, 10> standard = {"C00000", "FF0000", "FFC000", "FFFF00", "92D050",
                                                  "00B050", "00B0F0", "0070C0", "002060", "7030A0"};
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(hexText(colors[i]), base[i]) << "base colour " << i + 1;
        EXPECT_EQ(hexText(colors[60 + i]), standard[i]) << "standard colour " << i + 61;
    }
    EXPECT_EQ(colors[3], (Rgb{0x1F, 0x49, 0x7D}));
    EXPECT_EQ(hexText(colors[10]), "F2F2F2");
    EXPECT_EQ(hexText(colors[11]), "7F7F7F");
    EXPECT_EQ(hexText(colors[50]), "7F7F7F") << "positions 12 and 51 hold the same grey";
    EXPECT_EQ(hexText(colors[29]), "FBD5B5");
    EXPECT_EQ(hexText(colors[44]), "366092");
    EXPECT_EQ(hexText(colors[59]), "974806");
}

TEST(PaletteCells, SeventyCellsInThreeLayouts) {
    const PaletteState state = prepared();
    EXPECT_EQ(state.cellWidth, 13);
    EXPECT_EQ(state.cellHeight, 13);
    ASSERT_EQ(state.paletteCells.size(), 70u);
    for (int index = 1; index <= 70; ++index) {
        const PaletteCell& cell = state.paletteCells[static_cast<std::size_t>(index - 1)];
        const auto position = static_cast<std::size_t>(index - 1);
        EXPECT_EQ(cell.x, kColumnLefts[position % 10]) << "cell " << index;
        EXPECT_EQ(cell.y, kRowTops[position / 10]) << "cell " << index;
        EXPECT_EQ(cell.color, state.paletteColors[position]) << "cell " << index;
        EXPECT_EQ(palette::cellRect(state, index), (Rect{cell.x, cell.y, 13, 13}));
    }
}

TEST(PaletteCells, CreationRebuildsCellsButKeepsThePick) {
    PaletteState state;
    state.paletteCells.assign(3, PaletteCell{1, 2, {3, 3, 3}});
    state.paletteColors.assign(5, Rgb{9, 9, 9});
    state.selectedCell = 33;
    state.pickedColor = (Rgb{1, 2, 3});
    state.customColors[4] = (Rgb{9, 8, 7});
    palette::preparePalette(state);
    EXPECT_EQ(state.paletteColors, palette::buildPaletteColors());
    EXPECT_EQ(state.paletteCells, palette::buildPaletteCells(state.paletteColors, 13, 13));
    EXPECT_EQ(state.selectedCell, 33);
    EXPECT_EQ(state.pickedColor, (Rgb{1, 2, 3}));
    EXPECT_EQ(state.customColors[4], (Rgb{9, 8, 7}));
}

TEST(PaletteHitTest, EveryCellAnswersForFourteenByFourteenPixelsFirstInListWins) {
    const PaletteState state = prepared();
    for (int index = 1; index <= 70; ++index) {
        const PaletteCell& cell = state.paletteCells[static_cast<std::size_t>(index - 1)];
        const bool variantBelowFirstRow = index > 20 && index <= 60;
        const bool variantAboveLastRow = index > 10 && index <= 50;
        SCOPED_TRACE("cell " + std::to_string(index));

        EXPECT_EQ(palette::hitTestCell(state, cell.x + 6, cell.y + 6), index);
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 12, cell.y + 12), index);
        // One pixel right of and one below the painted square still belong to the cell.
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 13, cell.y + 6), index);
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 6, cell.y + 13), index);
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 13, cell.y + 13), index);
        // Two to the right is the gap between columns (or outside the palette).
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 14, cell.y + 6), 0);
        EXPECT_EQ(palette::hitTestCell(state, cell.x - 1, cell.y + 6), 0);

        // The top two pixel rows of variant rows 2 to 5 answer for the cell above.
        const int top = variantBelowFirstRow ? index - 10 : index;
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 6, cell.y), top);
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 6, cell.y + 1), top);
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 6, cell.y + 2), index);

        // Two below: the next variant row, or a gap.
        EXPECT_EQ(palette::hitTestCell(state, cell.x + 6, cell.y + 14),
                  variantAboveLastRow ? index + 10 : 0);
    }
    EXPECT_EQ(palette::hitTestCell(state, 4, 53), 0) << "above the base row";
    EXPECT_EQ(palette::hitTestCell(state, 3, 54), 0) << "left of the first column";
    EXPECT_EQ(palette::hitTestCell(state, 10, 40), 0) << "over the label";
    EXPECT_EQ(palette::hitTestCell(state, 10, 70), 0) << "between base row and variants";
    EXPECT_EQ(palette::hitTestCell(state, 10, 150), 0) << "between variants and standard row";
    EXPECT_EQ(palette::hitTestCell(PaletteState{}, 10, 60), 0) << "no cells";
}

TEST(PalettePick, CellAutomaticAndSystemColourPicks) {
    PaletteState state = prepared();
    const PaletteCell& cell37 = state.paletteCells[36];

    EXPECT_FALSE(palette::pickCellAt(state, 19, 60)) << "a release between cells";
    EXPECT_EQ(state.selectedCell, 0);
    EXPECT_EQ(state.pickedColor, Rgb{});

    EXPECT_TRUE(palette::pickCellAt(state, cell37.x + 3, cell37.y + 3));
    EXPECT_EQ(state.selectedCell, 37);
    EXPECT_EQ(state.pickedColor, cell37.color);
    EXPECT_EQ(hexText(state.pickedColor), "C3D69B");

    EXPECT_FALSE(palette::pickCellAt(state, 100, 10));
    EXPECT_EQ(state.selectedCell, 37) << "a missed release keeps the earlier pick";

    palette::pickSystemColor(state, {5, 0, 10});
    EXPECT_EQ(state.pickedColor, (Rgb{5, 0, 10}));
    EXPECT_EQ(state.selectedCell, 37) << "the system colour dialog leaves the selection alone";

    palette::pickAutomatic(state);
    EXPECT_EQ(state.selectedCell, 2);
    EXPECT_EQ(state.pickedColor, Rgb{});
}

// The arrow keys against the drawn layout: each moves to the nearest cell in its direction in the
// same row (same top) or column (same left), and stays where there is none.
TEST(PaletteKeys, ArrowsMoveToTheNeighbourOnScreenAndStopAtTheEdges) {
    const PaletteState state = prepared();
    using palette::GridMove;
    struct Direction {
        GridMove move;
        int dx;
        int dy;
    };
    const Direction directions[] = {{GridMove::Left, -1, 0},
                                    {GridMove::Right, 1, 0},
                                    {GridMove::Up, 0, -1},
                                    {GridMove::Down, 0, 1}};
    int stops = 0;
    for (int from = 1; from <= palette::kColorCount; ++from) {
        const PaletteCell& a = state.paletteCells[static_cast<std::size_t>(from - 1)];
        for (const Direction& d : directions) {
            int expected = from;
            int best = 1 << 30;
            for (int to = 1; to <= palette::kColorCount; ++to) {
                const PaletteCell& b = state.paletteCells[static_cast<std::size_t>(to - 1)];
                const int along = d.dx != 0 ? (b.x - a.x) * d.dx : (b.y - a.y) * d.dy;
                const bool inLine = d.dx != 0 ? b.y == a.y : b.x == a.x;
                if (inLine && along > 0 && along < best) {
                    best = along;
                    expected = to;
                }
            }
            stops += expected == from ? 1 : 0;
            EXPECT_EQ(palette::moveInGrid(from, d.move), expected)
                << "from " << from << " by (" << d.dx << "," << d.dy << ")";
        }
    }
    EXPECT_EQ(stops, 2 * 10 + 2 * 7) << "the four edges of a 10 x 7 grid";
}

TEST(PaletteKeys, HomeEndAndTheFirstMoveFromNoCell) {
    using palette::GridMove;
    struct Case {
        int from;
        GridMove move;
        int to;
    };
    for (const Case c :
         {Case{37, GridMove::First, 1}, Case{37, GridMove::Last, 70}, Case{0, GridMove::Right, 1},
          Case{0, GridMove::Up, 1}, Case{0, GridMove::Last, 70}, Case{10, GridMove::Right, 10},
          Case{11, GridMove::Left, 11}, Case{61, GridMove::Up, 51}, Case{5, GridMove::Down, 15}}) {
        EXPECT_EQ(palette::moveInGrid(c.from, c.move), c.to)
            << c.from << " by " << static_cast<int>(c.move);
    }
}

// Expects the two highlight frames around the cell at (x, y) and its colour inside them.
void expectHighlighted(const Raster& picture, int x, int y, Rgb color) {
    for (int d : {0, 6, 12}) {
        EXPECT_EQ(picture.at(x + d, y), kOuter) << x + d << "," << y;
        EXPECT_EQ(picture.at(x + d, y + 12), kOuter) << x + d << "," << y + 12;
        EXPECT_EQ(picture.at(x, y + d), kOuter) << x << "," << y + d;
        EXPECT_EQ(picture.at(x + 12, y + d), kOuter) << x + 12 << "," << y + d;
    }
    // The inner frame spans (x + 1, y + 1) to (x + 11, y + 11), right and bottom excluded.
    for (int d : {1, 5, 10}) {
        EXPECT_EQ(picture.at(x + d, y + 1), kInner);
        EXPECT_EQ(picture.at(x + d, y + 10), kInner);
        EXPECT_EQ(picture.at(x + 1, y + d), kInner);
        EXPECT_EQ(picture.at(x + 10, y + d), kInner);
    }
    EXPECT_EQ(picture.at(x + 11, y + 5), color) << "the column left of the outer frame's right";
    EXPECT_EQ(picture.at(x + 5, y + 11), color);
    EXPECT_EQ(picture.at(x + 2, y + 2), color);
    EXPECT_EQ(picture.at(x + 9, y + 9), color);
}

TEST(PaletteDrawing, BackgroundCellsFramesAndExcludedEdges) {
    const PaletteState state = prepared();
    const Raster picture = renderPalette(state, 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ASSERT_TRUE(picture.at(x, y)) << x << "," << y;
        }
    }

    // The outer frame lies inside the 175 x 209 picture.
    for (auto [x, y] : {std::pair{0, 0}, {174, 0}, {0, 208}, {174, 208}, {87, 0}, {174, 100}}) {
        EXPECT_EQ(picture.at(x, y), kBorder) << x << "," << y;
    }
    EXPECT_EQ(picture.at(1, 1), kWhite);
    EXPECT_EQ(picture.at(173, 207), kWhite);

    // Base cell 4 at (55, 54): grey frame inside its 13 x 13 square, its colour within.
    const Rgb darkBlue = state.paletteColors[3];
    for (auto [x, y] : {std::pair{55, 54}, {67, 54}, {55, 66}, {67, 66}, {61, 54}, {67, 60}}) {
        EXPECT_EQ(picture.at(x, y), kGrey) << x << "," << y;
    }
    EXPECT_EQ(picture.at(56, 55), darkBlue);
    EXPECT_EQ(picture.at(66, 65), darkBlue);
    EXPECT_EQ(picture.at(68, 60), kWhite) << "the right edge is not painted";
    EXPECT_EQ(picture.at(60, 67), kWhite) << "the bottom edge is not painted";

    // Standard cell 70 at (157, 164).
    EXPECT_EQ(picture.at(169, 176), kGrey);
    EXPECT_EQ(picture.at(160, 170), state.paletteColors[69]);
    EXPECT_EQ(picture.at(170, 170), kWhite);
    EXPECT_EQ(picture.at(160, 177), kWhite);

    // Variant column 1: one border frame from (4, 72) to (17, 133), no frames of the cells.
    for (auto [x, y] : {std::pair{4, 72}, {16, 72}, {4, 132}, {16, 132}, {10, 132}, {4, 100}}) {
        EXPECT_EQ(picture.at(x, y), kBorder) << x << "," << y;
    }
    EXPECT_EQ(picture.at(17, 100), kWhite);
    EXPECT_EQ(picture.at(10, 133), kWhite);
    EXPECT_EQ(picture.at(5, 73), state.paletteColors[10]);
    EXPECT_EQ(picture.at(10, 83), state.paletteColors[10]);
    EXPECT_EQ(picture.at(10, 84), state.paletteColors[20]) << "row 2 paints over row 1's last row";
    EXPECT_EQ(picture.at(15, 131), state.paletteColors[50]);
}

TEST(PaletteDrawing, ThreeGridLinesEndOnePixelShortOfTheirEndPoint) {
    const Raster picture = renderPalette(prepared(), 0);
    for (int y : {49, 158}) {
        EXPECT_EQ(picture.at(0, y), kBorder);
        EXPECT_EQ(picture.at(1, y), kWhite) << y;
        for (int x = 2; x <= 171; ++x) {
            ASSERT_EQ(picture.at(x, y), kGrey) << x << "," << y;
        }
        EXPECT_EQ(picture.at(172, y), kWhite) << "end point of the line at " << y;
    }
    EXPECT_EQ(picture.at(1, 180), kWhite);
    for (int x = 2; x <= 172; ++x) {
        ASSERT_EQ(picture.at(x, 180), kGrey) << x;
    }
    EXPECT_EQ(picture.at(173, 180), kWhite);
    EXPECT_EQ(picture.at(10, 48), kWhite);
    EXPECT_EQ(picture.at(10, 50), kWhite);
}

TEST(PaletteDrawing, HoverAndSelectedHighlightsTogetherOnDifferentCells) {
    PaletteState state = prepared();
    state.selectedCell = 33;                        // variant row 3, column 3: (38, 96)
    const Raster picture = renderPalette(state, 5); // base cell 5: (72, 54)
    expectHighlighted(picture, 72, 54, state.paletteColors[4]);
    expectHighlighted(picture, 38, 96, state.paletteColors[32]);
    // The highlight covers the column frame and the first row of the variant cell below.
    EXPECT_EQ(picture.at(38, 100), kOuter);
    EXPECT_EQ(picture.at(44, 108), kOuter);
    EXPECT_EQ(picture.at(44, 109), state.paletteColors[42]);
    // Neighbours keep their own look.
    EXPECT_EQ(picture.at(89, 54), kGrey);
    EXPECT_EQ(picture.at(55, 100), kBorder);

    const Raster plain = renderPalette(state, 0);
    EXPECT_EQ(plain.at(72, 54), kGrey) << "without hover only the selection is highlighted";
    expectHighlighted(plain, 38, 96, state.paletteColors[32]);
}

TEST(PaletteDrawing, TheAutomaticPickHighlightsTheBlackCellOnTheNextOpening) {
    PaletteState state = prepared();
    palette::pickAutomatic(state);
    palette::preparePalette(state); // the popup's next creation
    const Raster picture = renderPalette(state, state.selectedCell);
    expectHighlighted(picture, 21, 54, Rgb{});
    EXPECT_EQ(picture.at(4, 54), kGrey);
}

TEST(PaletteDrawing, APickedVariantCellStaysHighlightedWhenReopened) {
    PaletteState state = prepared();
    const PaletteCell cell = state.paletteCells[47]; // cell 48: variant row 4, column 8
    ASSERT_TRUE(palette::pickCellAt(state, cell.x + 6, cell.y + 6));
    palette::preparePalette(state);
    expectHighlighted(renderPalette(state, 0), cell.x, cell.y, cell.color);
    const PaletteCell other = state.paletteCells[0];
    expectHighlighted(renderPalette(state, 1), other.x, other.y, other.color);
    expectHighlighted(renderPalette(state, 1), cell.x, cell.y, cell.color);
}

TEST(PaletteFaces, PlainAndOrangeFacesWithTheirPictures) {
    using palette::FaceButton;
    Raster plain(172, 25);
    plain.run(palette::buttonFace(FaceButton::Automatic, false, 172, 25));
    Raster hot(172, 25);
    hot.run(palette::buttonFace(FaceButton::Automatic, true, 172, 25));

    // The black swatch with a grey frame sits at the left, centred vertically.
    EXPECT_EQ(plain.at(6, 6), kGrey);
    EXPECT_EQ(plain.at(12, 12), Rgb{});
    EXPECT_EQ(hot.at(12, 12), Rgb{});
    EXPECT_EQ(plain.at(0, 0), plain.at(171, 24)) << "the plain face is one light colour";
    EXPECT_GT(plain.at(100, 12).value().green, 200);
    // The orange face: an orange frame and a gradient that darkens downwards.
    EXPECT_EQ(hot.at(0, 0), kOuter);
    EXPECT_EQ(hot.at(171, 24), kOuter);
    EXPECT_GT(hot.at(100, 1).value().blue, hot.at(100, 23).value().blue);
    EXPECT_EQ(hot.at(100, 12).value().red, 255);
    EXPECT_NE(hot.at(100, 12), plain.at(100, 12));

    Raster other(172, 27);
    other.run(palette::buttonFace(FaceButton::OtherColors, false, 172, 27));
    int painted = 0;
    for (int y = 0; y < 27; ++y) {
        for (int x = 0; x < 26; ++x) {
            painted += other.at(x, y) != other.at(100, 13) ? 1 : 0;
        }
    }
    EXPECT_GT(painted, 100) << "the palette icon";
    EXPECT_EQ(palette::faceCaption(FaceButton::OtherColors), "其他颜色...");
    EXPECT_EQ(palette::faceTextRect(FaceButton::Automatic, 172, 25).left, 26);
}

} // namespace
} // namespace quorvel::test
