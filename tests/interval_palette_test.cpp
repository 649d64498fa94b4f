#include <gtest/gtest.h>

#include "model/fretboard.h"

namespace modalscope {
namespace {

// Current and alternate marker of each slot after a reset.
constexpr MarkerId kExpected[12][2] = {{1, 0},  {2, 3},  {4, 0},   {5, 6},   {7, 0},   {8, 0},
                                       {9, 10}, {11, 0}, {12, 13}, {14, 15}, {16, 17}, {18, 0}};

void expectDefaults(const Fretboard& board) {
    for (int k = 0; k < kIntervalCount; ++k) {
        EXPECT_EQ(board.palette().current[k].marker, kExpected[k][0]) << k;
        EXPECT_EQ(board.palette().alternate[k].marker, kExpected[k][1]) << k;
        EXPECT_TRUE(board.palette().current[k].visible) << k;
    }
}

TEST(IntervalPalette, ConstructedSlotsAreEmptyAndVisible) {
    Fretboard board;
    for (int k = 0; k < kIntervalCount; ++k) {
        EXPECT_EQ(board.palette().current[k].marker, 0);
        EXPECT_TRUE(board.palette().current[k].visible);
        EXPECT_EQ(board.palette().alternate[k].marker, 0);
    }
}

TEST(IntervalPalette, ResetRestoresDefaultsWhateverCameBefore) {
    Fretboard board;
    board.resetPalette();
    expectDefaults(board);
    for (int k = 0; k < kIntervalCount; ++k) {
        board.respell(k);
        if (k % 2 == 0) {
            board.toggle(k);
        }
    }
    board.resetPalette();
    expectDefaults(board);
}

TEST(IntervalPalette, ToggleFlipsOnlyItsSlot) {
    Fretboard board;
    board.resetPalette();
    board.toggle(4);
    for (int k = 0; k < kIntervalCount; ++k) {
        EXPECT_EQ(board.palette().current[k].visible, k != 4) << k;
    }
    board.toggle(4);
    EXPECT_TRUE(board.palette().current[4].visible);
}

TEST(IntervalPalette, RespellSwapsWhereThereIsAnAlternate) {
    Fretboard board;
    board.resetPalette();
    for (int k = 0; k < kIntervalCount; ++k) {
        board.respell(k);
        const bool hasAlternate = kExpected[k][1] != 0;
        EXPECT_EQ(board.palette().current[k].marker,
                  hasAlternate ? kExpected[k][1] : kExpected[k][0]);
        EXPECT_EQ(board.palette().alternate[k].marker, hasAlternate ? kExpected[k][0] : 0);
        board.respell(k); // its own inverse
        EXPECT_EQ(board.palette().current[k].marker, kExpected[k][0]);
        EXPECT_EQ(board.palette().alternate[k].marker, kExpected[k][1]);
    }
}

TEST(IntervalPalette, HiddenSlotsKeepTheirSpellingAndIgnoreRespell) {
    Fretboard board;
    board.resetPalette();
    board.respell(3); // b3 -> #2
    board.toggle(3);
    board.respell(3); // hidden: nothing
    EXPECT_EQ(board.palette().current[3].marker, 6);
    board.toggle(3);
    EXPECT_TRUE(board.palette().current[3].visible);
    EXPECT_EQ(board.palette().current[3].marker, 6);
    board.respell(3); // visible again: works
    EXPECT_EQ(board.palette().current[3].marker, 5);
}

TEST(IntervalPalette, SlotsOutsideTheRowTouchNothing) {
    Fretboard board;
    board.resetPalette();
    for (int k : {-1, 12, 13, -100, 1 << 30}) {
        board.toggle(k);
        board.respell(k);
    }
    expectDefaults(board);
    EXPECT_EQ(IntervalPalette::defaultMarker(12), 0);
    EXPECT_EQ(IntervalPalette::defaultAlternate(-1), 0);
}

} // namespace
} // namespace modalscope
