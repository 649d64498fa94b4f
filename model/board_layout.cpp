// Board geometry from the client size, and pointer presses turned into model changes.
#include "model/fretboard.h"

namespace modalscope {

namespace {
constexpr int kPaletteLastColumn = kPaletteFirstColumn + kIntervalCount - 1;
} // namespace

void Fretboard::resize(int width, int height) {
    metrics_.cellSize = width / kFretCount;
    metrics_.stringGap = metrics_.cellSize - metrics_.cellSize / 4;
    metrics_.topMargin = metrics_.cellSize / 2;
    metrics_.clientHeight = height;
}

void Fretboard::handleClick(int y, int x, bool right) {
    // A cell size of 0 (client narrower than 24 pixels, or minimised) has no cells to hit.
    if (metrics_.cellSize <= 0 || metrics_.stringGap <= 0) {
        return;
    }
    const int s = y / metrics_.stringGap;
    const int j = x / metrics_.cellSize;

    // Truncation would fold small negative coordinates into row and column 0; they lie
    // outside the client area, so only non-negative ones can hit the neck.
    if (y >= 0 && x >= 0 && inGrid(s, j)) {
        cursorFret_ = j;
        cursorString_ = s;
        if (label(s, j) == 1) {
            return; // already the root: the labels would not change
        }
        clearGrid();
        placeRoot(s, j);
        return;
    }

    // The palette band is the bottom cell of the client area.
    if (metrics_.clientHeight - y > metrics_.cellSize) {
        return;
    }
    if (j < kPaletteFirstColumn || j > kPaletteLastColumn) {
        return;
    }
    const int slot = j - kPaletteFirstColumn;
    if (right) {
        respell(slot);
    } else {
        toggle(slot);
    }
}

} // namespace modalscope
