// Board geometry from the client size, and pointer presses turned into model changes.
#include "model/board_items.h"

namespace modalscope {

void Fretboard::resize(int width, int height) {
    metrics_.cellSize = width / kFretCount;
    metrics_.stringGap = metrics_.cellSize - metrics_.cellSize / 4;
    metrics_.topMargin = metrics_.cellSize / 2;
    metrics_.clientHeight = height;
}

void Fretboard::handleClick(int y, int x, bool right) {
    // One hit test, which assistive technology's hit test shares: a cell, a palette box, or
    // nothing (no cells at a cell size of 0, nothing left of or above the client area).
    const BoardItem item = boardItem(itemAt(metrics_, x, y));
    if (item.kind == ItemKind::Cell) {
        chooseRoot(item.string, item.fret);
    } else if (item.kind == ItemKind::Box) {
        if (right) {
            respell(item.slot);
        } else {
            toggle(item.slot);
        }
    }
}

} // namespace modalscope
