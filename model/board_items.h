// The board as assistive technology lists it: the 144 neck cells, string by string from the
// top and fret by fret from the nut, then the 12 palette boxes, numbered from 1 as child ids
// are (0 is the board itself). No window system here, so the naming and the hit test are
// plain arithmetic on the model.
#pragma once

#include "model/fretboard.h"

namespace modalscope {

constexpr int kCellItemCount = kStringCount * kFretCount;
constexpr int kItemCount = kCellItemCount + kIntervalCount;

enum class ItemKind { None, Cell, Box };

struct BoardItem {
    ItemKind kind = ItemKind::None;
    int string = 0; // a cell's
    int fret = 0;   // a cell's
    int slot = 0;   // a box's
};

// In client pixels.
struct ItemRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The item numbered `number`; kind None outside 1..kItemCount.
BoardItem boardItem(long number);
long cellNumber(int string, int fret);
long boxNumber(int slot);

// The item that a press at client point (x, y) acts on (handleClick acts on what this
// finds); 0 where a press changes nothing.
long itemAt(const BoardMetrics& metrics, int x, int y);
// Where the press acts: a cell's hit row and column, a box's column in the palette band.
ItemRect itemRect(const BoardMetrics& metrics, const BoardItem& item);

// The caption drawn in marker `id`; empty for no marker and for the inlays.
const char* markerCaption(MarkerId id);
// What cell (string, fret) shows: its interval's caption, or empty while that is hidden.
const char* cellCaption(const Fretboard& board, int string, int fret);

} // namespace modalscope
