#include <gtest/gtest.h>

#include <cstdlib>

#include "model/fretboard.h"
#include "render/marker_size.h"
#include "tests/board_expectations.h"

namespace modalscope {
namespace {

using testing::labelsAreForRoot;

TEST(BoardLayout, MetricsFollowTheClientWidth) {
    const struct {
        int width, cell, gap, top;
    } cases[] = {{0, 0, 0, 0}, {23, 0, 0, 0}, {24, 1, 1, 0}, {775, 32, 24, 16}, {1009, 42, 32, 21}};
    for (const auto& c : cases) {
        Fretboard board;
        board.resize(c.width, 123);
        EXPECT_EQ(board.metrics().cellSize, c.cell) << c.width;
        EXPECT_EQ(board.metrics().stringGap, c.gap) << c.width;
        EXPECT_EQ(board.metrics().topMargin, c.top) << c.width;
        EXPECT_EQ(board.metrics().clientHeight, 123);
    }
}

// Two thirds of the cell at every size a settings file can give: the markers of
// neighbouring strings always keep white between them, and each is centred on its string
// line (the 2-pixel pen covers rows topMargin - 1 and topMargin) and between its fret lines
// exactly, or half a pixel off where its side and the room around it differ in parity.
TEST(BoardLayout, MarkersFitBetweenTheStringsAtEveryCellSize) {
    EXPECT_EQ(markerSide(0), 0);
    for (int cell = 1; cell <= 4200; ++cell) {
        Fretboard board;
        board.resize(24 * cell + 1, 7 * cell);
        const BoardMetrics& m = board.metrics();
        const int side = markerSide(cell), offset = markerOffset(cell);
        ASSERT_EQ(m.cellSize, cell);
        ASSERT_LT(side, m.stringGap) << cell;
        ASSERT_GE(offset, 0) << cell;
        // Centres in half pixels: the marker's against the line's and the cell's.
        const int centre = 2 * offset + side - 1;
        ASSERT_EQ(std::abs(centre - (2 * m.topMargin - 1)), side % 2) << cell;
        ASSERT_LE(std::abs(centre - (cell - 1)), 1) << cell;
    }
}

Fretboard sizedBoard(int height = 294) {
    Fretboard board;
    board.resetBoard();
    board.resize(1009, height);
    return board;
}

TEST(BoardLayout, PressesOnTheNeckMoveTheRootWithEitherButton) {
    for (bool right : {false, true}) {
        Fretboard board = sizedBoard();
        board.handleClick(40, 100, right);
        EXPECT_EQ(board.cursorString(), 1);
        EXPECT_EQ(board.cursorFret(), 2);
        EXPECT_TRUE(labelsAreForRoot(board, 1, 2));
        board.handleClick(5 * 32 + 31, 23 * 42 + 41, right); // last pixel of the last cell
        EXPECT_EQ(board.cursorString(), 5);
        EXPECT_EQ(board.cursorFret(), 23);
        EXPECT_TRUE(labelsAreForRoot(board, 5, 23));
    }
}

TEST(BoardLayout, PressOnAnOctaveOfTheRootOnlyMovesTheCursor) {
    Fretboard board = sizedBoard();
    board.handleClick(4 * 32 + 5, 7 * 42 + 5, false); // (4, 7) already holds 1
    EXPECT_EQ(board.cursorString(), 4);
    EXPECT_EQ(board.cursorFret(), 7);
    EXPECT_TRUE(labelsAreForRoot(board, 5, 0));
    board.moveCursor(MoveDirection::FretRight);
    EXPECT_EQ(board.cursorFret(), 8);
    EXPECT_TRUE(labelsAreForRoot(board, 4, 8));
}

TEST(BoardLayout, PaletteBandTogglesAndRespells) {
    Fretboard board = sizedBoard();
    board.handleClick(260, 6 * 42, false);
    EXPECT_FALSE(board.palette().current[0].visible);
    board.handleClick(260, 6 * 42, false);
    EXPECT_TRUE(board.palette().current[0].visible);
    board.handleClick(260, 9 * 42, true);
    EXPECT_EQ(board.palette().current[3].marker, 6);
    board.handleClick(293, 9 * 42 + 41, true);
    EXPECT_EQ(board.palette().current[3].marker, 5);
    board.handleClick(293, 17 * 42 + 41, false); // the last box, at its lowest, rightmost pixel
    EXPECT_FALSE(board.palette().current[11].visible);
    board.handleClick(252, 17 * 42, false);
    EXPECT_TRUE(board.palette().current[11].visible);

    // Ignored: columns outside 6..17, the gap above the band, right of the neck.
    const int ignored[][2] = {{260, 5 * 42}, {260, 18 * 42}, {240, 8 * 42},
                              {200, 8 * 42}, {100, 1008},    {251, 10 * 42}};
    for (const auto& press : ignored) {
        board.handleClick(press[0], press[1], false);
        board.handleClick(press[0], press[1], true);
    }
    for (int k = 0; k < kIntervalCount; ++k) {
        EXPECT_TRUE(board.palette().current[k].visible) << k;
        EXPECT_EQ(board.palette().current[k].marker, IntervalPalette::defaultMarker(k)) << k;
    }
    EXPECT_TRUE(labelsAreForRoot(board, 5, 0));
    EXPECT_EQ(board.cursorFret(), 0);
}

// The band's top row is the 42nd from the bottom of a 294-pixel client: y 252 is in it,
// y 251 is not.
TEST(BoardLayout, PaletteBandStartsExactlyOneCellAboveTheBottom) {
    for (bool right : {false, true}) { // toggle, and respell slot 3 (b3 / #2)
        Fretboard board = sizedBoard();
        board.handleClick(251, 9 * 42, right);
        EXPECT_TRUE(board.palette().current[3].visible) << right;
        EXPECT_EQ(board.palette().current[3].marker, IntervalPalette::defaultMarker(3)) << right;
        board.handleClick(252, 9 * 42, right);
        if (right) {
            EXPECT_EQ(board.palette().current[3].marker, IntervalPalette::defaultAlternate(3));
        } else {
            EXPECT_FALSE(board.palette().current[3].visible);
        }
        EXPECT_TRUE(labelsAreForRoot(board, 5, 0));
    }
}

// A direct caller may pass coordinates left of or above the client area. Truncating
// division would fold -1 into row or column 0; such presses must change nothing, while
// the first pixel row and column still belong to the neck.
TEST(BoardLayout, PressesLeftOfOrAboveTheClientAreaChangeNothing) {
    const int outside[][2] = {{-1, 100},  {40, -1},      {-1, -1},   {-31, 5 * 42},
                              {-40, -41}, {-2000, 3000}, {260, -1},  {293, -41},
                              {-1, 0},    {0, -1},       {-32, 100}, {-100000, -100000}};
    for (bool right : {false, true}) {
        Fretboard board = sizedBoard();
        board.handleClick(3 * 32 + 5, 9 * 42 + 5, false); // root away from (0, 0)
        for (const auto& press : outside) {
            board.handleClick(press[0], press[1], right);
            EXPECT_EQ(board.cursorString(), 3) << press[0] << ", " << press[1];
            EXPECT_EQ(board.cursorFret(), 9) << press[0] << ", " << press[1];
        }
        EXPECT_TRUE(labelsAreForRoot(board, 3, 9));
        for (int k = 0; k < kIntervalCount; ++k) {
            EXPECT_TRUE(board.palette().current[k].visible) << k;
            EXPECT_EQ(board.palette().current[k].marker, IntervalPalette::defaultMarker(k)) << k;
        }
        board.handleClick(0, 0, right);
        EXPECT_EQ(board.cursorString(), 0);
        EXPECT_EQ(board.cursorFret(), 0);
        EXPECT_TRUE(labelsAreForRoot(board, 0, 0));
    }
}

TEST(BoardLayout, BandIsMeasuredFromTheClientHeight) {
    Fretboard board = sizedBoard(330); // band is y 288..330
    board.handleClick(260, 7 * 42, false);
    EXPECT_TRUE(board.palette().current[1].visible);
    board.handleClick(300, 7 * 42, false);
    EXPECT_FALSE(board.palette().current[1].visible);
}

TEST(BoardLayout, PressesWithoutCellsAreIgnored) {
    for (int width : {0, 23}) {
        Fretboard board;
        board.resetBoard();
        board.resize(width, 0);
        board.handleClick(0, 0, false);
        board.handleClick(10, 10, true);
        board.handleClick(65535, 65535, false);
        EXPECT_EQ(board.cursorString(), 5);
        EXPECT_TRUE(labelsAreForRoot(board, 5, 0));
        EXPECT_TRUE(board.palette().current[0].visible);
    }
}

} // namespace
} // namespace modalscope
