// Interval labels and the root walk. The walk computes no pitches: it counts along one
// string and hops to the neighbouring string at fixed fret offsets that encode standard
// tuning, so the offsets below are the tuning.
#include "model/fretboard.h"

namespace modalscope {

namespace {

// Fret offsets of the root's pitch class on the next string up (toward string 0):
// preferred upward, fallback an octave's complement lower.
struct Hop {
    int up;
    int down;
};

Hop hopFrom(int string) {
    if (string == 2) {
        return {8, -4}; // string 1 lies a major third above string 2
    }
    if (string == 0) {
        return {0, 0}; // string 5 is two octaves below string 0: same fret
    }
    return {7, -5}; // a fourth between all other neighbours
}

int nextString(int string) {
    return string == 0 ? kStringCount - 1 : string - 1;
}

} // namespace

bool Fretboard::inGrid(int string, int fret) {
    return string >= 0 && string < kStringCount && fret >= 0 && fret < kFretCount;
}

IntervalLabel Fretboard::label(int string, int fret) const {
    return inGrid(string, fret) ? grid_[fret].strings[string] : 0;
}

void Fretboard::clearGrid() {
    for (FretRow& row : grid_) {
        for (IntervalLabel& cell : row.strings) {
            cell = 0;
        }
    }
}

void Fretboard::labelBelow(int string, int fret) {
    if (!inGrid(string, fret)) {
        return;
    }
    for (int k = 1; k <= fret; ++k) {
        setLabel(string, fret - k, 12 - (k - 1) % 12);
    }
}

void Fretboard::labelAbove(int string, int fret) {
    if (!inGrid(string, fret)) {
        return;
    }
    for (int k = 1; fret + k < kFretCount; ++k) {
        setLabel(string, fret + k, k % 12 + 1);
    }
}

void Fretboard::placeRoot(int string, int fret) {
    if (!inGrid(string, fret)) {
        return;
    }
    // On a cleared grid the walk stops by itself after six placements, when it meets its
    // start string again; the bound only matters if a caller forgot to clear.
    for (int placement = 0; placement < kStringCount; ++placement) {
        setLabel(string, fret, 1);
        labelBelow(string, fret);
        labelAbove(string, fret);

        const Hop hop = hopFrom(string);
        const int next = nextString(string);
        if (fret + hop.up < kFretCount && label(next, fret + hop.up) == 0) {
            fret += hop.up;
        } else if (fret + hop.down >= 0 && label(next, fret + hop.down) == 0) {
            fret += hop.down;
        } else {
            return;
        }
        string = next;
    }
}

void Fretboard::resetBoard() {
    cursorString_ = 5;
    cursorFret_ = 0;
    clearGrid();
    resetPalette();
    placeRoot(cursorString_, cursorFret_);
}

void Fretboard::moveCursor(MoveDirection direction) {
    switch (direction) {
    case MoveDirection::StringUp:
        cursorString_ = cursorString_ == 0 ? kStringCount - 1 : cursorString_ - 1;
        break;
    case MoveDirection::StringDown:
        cursorString_ = cursorString_ == kStringCount - 1 ? 0 : cursorString_ + 1;
        break;
    case MoveDirection::FretRight:
        cursorFret_ = cursorFret_ == kFretCount - 1 ? 0 : cursorFret_ + 1;
        break;
    case MoveDirection::FretLeft:
        cursorFret_ = cursorFret_ == 0 ? kFretCount - 1 : cursorFret_ - 1;
        break;
    }
    // An unknown direction still relabels from the cursor.
    clearGrid();
    placeRoot(cursorString_, cursorFret_);
}

void Fretboard::chooseRoot(int string, int fret) {
    if (!inGrid(string, fret)) {
        return;
    }
    cursorString_ = string;
    cursorFret_ = fret;
    if (label(string, fret) == 1) {
        return; // already the root: the labels would not change
    }
    clearGrid();
    placeRoot(string, fret);
}

} // namespace modalscope
