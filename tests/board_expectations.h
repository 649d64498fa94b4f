// Expected labels computed from pitches, independently of the walk under test.
#pragma once

#include <gtest/gtest.h>

#include "model/fretboard.h"

namespace modalscope::testing {

// Open-string pitch in semitones relative to string 0 (standard tuning, high to low).
inline int openPitch(int string) {
    constexpr int kOffsets[6] = {0, -5, -9, -14, -19, -24};
    return kOffsets[string];
}

inline int pitch(int string, int fret) {
    return openPitch(string) + fret + 1;
}

inline int expectedLabel(int string, int fret, int rootString, int rootFret) {
    const int diff = pitch(string, fret) - pitch(rootString, rootFret);
    return ((diff % 12) + 12) % 12 + 1;
}

// Every one of the 144 labels is the pitch formula's for this root; names the first that
// is not.
inline ::testing::AssertionResult labelsAreForRoot(const Fretboard& board, int rootString,
                                                   int rootFret) {
    if (rootString < 0 || rootString >= kStringCount || rootFret < 0 || rootFret >= kFretCount) {
        return ::testing::AssertionFailure()
               << "root off the board: " << rootString << ", " << rootFret;
    }
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            const int want = expectedLabel(s, f, rootString, rootFret);
            if (board.label(s, f) != want) {
                return ::testing::AssertionFailure()
                       << "label at " << s << ", " << f << " is " << int(board.label(s, f))
                       << ", want " << want << " for root " << rootString << ", " << rootFret;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace modalscope::testing
