// The board model: interval labels of every fret cell, the root cursor, the interval
// palette and the geometry that turns pointer presses into changes of either.
// Deliberately free of <windows.h> so it builds and is tested on any host.
#pragma once

#include <cstdint>

#include "model/interval_palette.h"

namespace modalscope {

constexpr int kStringCount = 6;
constexpr int kFretCount = 24;
// The palette row starts under this fret column.
constexpr int kPaletteFirstColumn = 6;

// Semitones from the root up to the cell's note, plus one; 0 only between a clear and a walk.
using IntervalLabel = std::int32_t;

enum class MoveDirection : std::int32_t {
    StringUp = 1,
    StringDown = 2,
    FretRight = 3,
    FretLeft = 4,
};

// The six strings of one fret cell are stored together; entry s is string s.
struct FretRow {
    IntervalLabel strings[kStringCount] = {};
};

// Everything on screen is measured in cells derived from the client width.
struct BoardMetrics {
    std::int32_t cellSize = 0;
    std::int32_t stringGap = 0;
    std::int32_t topMargin = 0;
    std::int32_t clientHeight = 0;
};

class Fretboard {
  public:
    // Grid and root walk.
    void clearGrid();
    void labelBelow(int string, int fret);
    void labelAbove(int string, int fret);
    void placeRoot(int string, int fret);
    void resetBoard();
    void moveCursor(MoveDirection direction);
    // The cell becomes the root cursor and the grid is labelled for it.
    void chooseRoot(int string, int fret);

    // Interval palette.
    void resetPalette();
    void toggle(int slot);
    void respell(int slot);

    // Layout and hit testing.
    void resize(int width, int height);
    void handleClick(int y, int x, bool right);

    // Read access for painting and tests. label() is 0 outside the grid.
    IntervalLabel label(int string, int fret) const;
    const IntervalPalette& palette() const { return palette_; }
    const BoardMetrics& metrics() const { return metrics_; }
    int cursorString() const { return cursorString_; }
    int cursorFret() const { return cursorFret_; }

  private:
    static bool inGrid(int string, int fret);
    void setLabel(int string, int fret, IntervalLabel label) {
        grid_[fret].strings[string] = label;
    }

    FretRow grid_[kFretCount];
    IntervalPalette palette_;
    BoardMetrics metrics_;
    std::int32_t cursorString_ = 5;
    std::int32_t cursorFret_ = 0;
};

} // namespace modalscope
