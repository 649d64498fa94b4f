#include <gtest/gtest.h>

#include <vector>

#include "model/fretboard.h"
#include "tests/board_expectations.h"

namespace modalscope {
namespace {

using testing::expectedLabel;
using testing::labelsAreForRoot;

TEST(RootWalk, EveryRootLabelsTheWholeGridByPitch) {
    Fretboard board;
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            board.clearGrid();
            board.placeRoot(s, f);
            EXPECT_TRUE(labelsAreForRoot(board, s, f));
            EXPECT_EQ(board.label(s, f), 1);
        }
    }
}

TEST(RootWalk, ResetBoardMatchesTheWorkedExample) {
    const int table[6][12] = {
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7},
        {4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3}, {11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
        {6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
    };
    Fretboard board;
    board.resetBoard();
    EXPECT_EQ(board.cursorString(), 5);
    EXPECT_EQ(board.cursorFret(), 0);
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            EXPECT_EQ(board.label(s, f), table[s][f % 12]) << s << "," << f;
        }
    }
    // The walk's placements and their octaves.
    const int roots[][2] = {{5, 0},  {5, 12}, {4, 7}, {4, 19}, {3, 14},
                            {2, 21}, {1, 17}, {0, 0}, {0, 12}};
    for (const auto& cell : roots) {
        EXPECT_EQ(board.label(cell[0], cell[1]), 1);
    }
}

TEST(RootWalk, FreshBoardIsUnlabelledUntilReset) {
    Fretboard board;
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            EXPECT_EQ(board.label(s, f), 0);
        }
    }
    EXPECT_EQ(board.cursorString(), 5);
    EXPECT_EQ(board.cursorFret(), 0);
}

TEST(RootWalk, RootOnLastFretFallsBackDownTheNeck) {
    Fretboard board;
    board.clearGrid();
    board.placeRoot(5, 23);
    EXPECT_TRUE(labelsAreForRoot(board, 5, 23));
    const int placements[][2] = {{5, 23}, {4, 18}, {3, 13}, {2, 20}, {1, 16}, {0, 23}};
    for (const auto& cell : placements) {
        EXPECT_EQ(board.label(cell[0], cell[1]), 1);
    }
}

TEST(RootWalk, StringTwoToOneIsAMajorThird) {
    Fretboard board;
    for (int f = 0; f < kFretCount; ++f) {
        board.clearGrid();
        board.placeRoot(2, f);
        const int next = f + 8 <= 23 ? f + 8 : f - 4;
        EXPECT_EQ(board.label(1, next), 1) << "root fret " << f;
        for (int g = 0; g < kFretCount; ++g) {
            // String 1 sounds four semitones above string 2 at the same fret.
            EXPECT_EQ(board.label(1, g), (board.label(2, g) + 4 - 1) % 12 + 1);
        }
    }
}

TEST(RootWalk, StopsWhereBothCandidatesAreLabelled) {
    Fretboard board;
    board.clearGrid();
    board.labelBelow(4, 8); // string 4, cells 0..7, blocks the hop from (5, 0)
    board.placeRoot(5, 0);
    for (int f = 0; f < kFretCount; ++f) {
        EXPECT_EQ(board.label(5, f), expectedLabel(5, f, 5, 0));
        EXPECT_EQ(board.label(4, f) == 0, f >= 8) << f;
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(board.label(s, f), 0);
        }
    }
}

TEST(RootWalk, LabelBelowAndAboveCountAwayFromTheFret) {
    Fretboard board;
    board.clearGrid();
    board.labelBelow(3, 14);
    board.labelAbove(3, 14);
    EXPECT_EQ(board.label(3, 14), 0);
    for (int k = 1; k <= 14; ++k) {
        EXPECT_EQ(board.label(3, 14 - k), 12 - (k - 1) % 12);
    }
    for (int k = 1; 14 + k <= 23; ++k) {
        EXPECT_EQ(board.label(3, 14 + k), k % 12 + 1);
    }
    board.clearGrid();
    board.labelBelow(0, 0);
    board.labelAbove(0, 23);
    for (int f = 0; f < kFretCount; ++f) {
        EXPECT_EQ(board.label(0, f), 0);
    }
}

TEST(RootWalk, CellsOutsideTheGridTouchNothing) {
    Fretboard board;
    board.resetBoard();
    std::vector<int> before;
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            before.push_back(board.label(s, f));
        }
    }
    const int outside[][2] = {{-1, 0}, {6, 0}, {0, -1}, {0, 24}, {100, 100}, {-7, -7}};
    for (const auto& cell : outside) {
        board.placeRoot(cell[0], cell[1]);
        board.labelBelow(cell[0], cell[1]);
        board.labelAbove(cell[0], cell[1]);
        EXPECT_EQ(board.label(cell[0], cell[1]), 0);
    }
    std::vector<int> after;
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            after.push_back(board.label(s, f));
        }
    }
    EXPECT_EQ(before, after);
}

struct CursorCase {
    int startString, startFret;
    MoveDirection direction;
    int endString, endFret;
};

TEST(RootWalk, MoveCursorStepsAndWraps) {
    const CursorCase cases[] = {
        {0, 5, MoveDirection::StringUp, 5, 5},        {3, 5, MoveDirection::StringUp, 2, 5},
        {5, 5, MoveDirection::StringDown, 0, 5},      {2, 5, MoveDirection::StringDown, 3, 5},
        {1, 23, MoveDirection::FretRight, 1, 0},      {1, 7, MoveDirection::FretRight, 1, 8},
        {4, 0, MoveDirection::FretLeft, 4, 23},       {4, 7, MoveDirection::FretLeft, 4, 6},
        {2, 9, static_cast<MoveDirection>(0), 2, 9},  {2, 9, static_cast<MoveDirection>(5), 2, 9},
        {2, 9, static_cast<MoveDirection>(-3), 2, 9},
    };
    for (const CursorCase& c : cases) {
        Fretboard board;
        board.resetBoard();
        board.handleClick(0, 0, false); // no metrics yet: ignored
        // Walk the cursor to the start cell with the arrows themselves.
        while (board.cursorString() != c.startString) {
            board.moveCursor(MoveDirection::StringDown);
        }
        while (board.cursorFret() != c.startFret) {
            board.moveCursor(MoveDirection::FretRight);
        }
        board.moveCursor(c.direction);
        EXPECT_EQ(board.cursorString(), c.endString);
        EXPECT_EQ(board.cursorFret(), c.endFret);
        EXPECT_TRUE(labelsAreForRoot(board, c.endString, c.endFret));
    }
}

TEST(RootWalk, MoveCursorKeepsThePaletteAndResetRestoresIt) {
    Fretboard board;
    board.resetBoard();
    board.toggle(7);
    board.respell(3);
    board.moveCursor(MoveDirection::FretRight);
    board.moveCursor(MoveDirection::StringUp);
    EXPECT_FALSE(board.palette().current[7].visible);
    EXPECT_EQ(board.palette().current[3].marker, 6);
    board.resetBoard();
    EXPECT_TRUE(board.palette().current[7].visible);
    EXPECT_EQ(board.palette().current[3].marker, 5);
    EXPECT_EQ(board.cursorString(), 5);
    EXPECT_EQ(board.cursorFret(), 0);
    EXPECT_TRUE(labelsAreForRoot(board, 5, 0));
}

} // namespace
} // namespace modalscope
