// Item numbers, places and captions of the board as assistive technology lists it.
#include "model/board_items.h"

namespace modalscope {

namespace {

// Marker ids 1..18 in order; the two inlays (19, 20) carry no caption.
constexpr const char* kCaptions[] = {"1",  "b2", "#1", "2",  "b3", "#2",  "3",  "4",  "b5",
                                     "#4", "5",  "b6", "#5", "6",  "bb7", "b7", "#6", "7"};
constexpr int kCaptionCount = sizeof(kCaptions) / sizeof(kCaptions[0]);

} // namespace

BoardItem boardItem(long number) {
    BoardItem item;
    if (number >= 1 && number <= kCellItemCount) {
        item.kind = ItemKind::Cell;
        item.string = static_cast<int>((number - 1) / kFretCount);
        item.fret = static_cast<int>((number - 1) % kFretCount);
    } else if (number > kCellItemCount && number <= kItemCount) {
        item.kind = ItemKind::Box;
        item.slot = static_cast<int>(number - kCellItemCount - 1);
    }
    return item;
}

long cellNumber(int string, int fret) {
    return 1 + string * kFretCount + fret;
}

long boxNumber(int slot) {
    return 1 + kCellItemCount + slot;
}

long itemAt(const BoardMetrics& metrics, int x, int y) {
    // Truncation would fold small negative coordinates into row and column 0; they lie
    // outside the client area. The palette band is the bottom cell of the client area.
    if (metrics.cellSize <= 0 || metrics.stringGap <= 0 || x < 0 || y < 0) {
        return 0;
    }
    const int s = y / metrics.stringGap;
    const int j = x / metrics.cellSize;
    if (s < kStringCount && j < kFretCount) {
        return cellNumber(s, j);
    }
    const int slot = j - kPaletteFirstColumn;
    if (metrics.clientHeight - y > metrics.cellSize || slot < 0 || slot >= kIntervalCount) {
        return 0;
    }
    return boxNumber(slot);
}

ItemRect itemRect(const BoardMetrics& metrics, const BoardItem& item) {
    const int u = metrics.cellSize;
    switch (item.kind) {
    case ItemKind::Cell:
        return {item.fret * u, item.string * metrics.stringGap, u, metrics.stringGap};
    case ItemKind::Box:
        // The band a press acts in, the bottom cell of the client area: the painted row
        // itself, since the client area is exactly the board.
        return {(kPaletteFirstColumn + item.slot) * u, metrics.clientHeight - u, u, u};
    default:
        return {};
    }
}

const char* markerCaption(MarkerId id) {
    return id >= 1 && id <= kCaptionCount ? kCaptions[id - 1] : "";
}

const char* cellCaption(const Fretboard& board, int string, int fret) {
    const IntervalLabel label = board.label(string, fret);
    if (label < 1 || label > kIntervalCount || !board.palette().current[label - 1].visible) {
        return "";
    }
    return markerCaption(board.palette().current[label - 1].marker);
}

} // namespace modalscope
