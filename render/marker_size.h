// Where a marker sits in its cell: the same rule for the neck, the inlay row and the palette
// row. No window system here, so the rule is checked on any host.
#pragma once

namespace modalscope {

// Two thirds of the cell: 28 pixels in the 42-pixel cell of a 1024-wide screen, and in
// proportion at every other size. Always less than the string gap (the cell less a quarter),
// so the markers of neighbouring strings never touch.
constexpr int markerSide(int cellSize) {
    return cellSize > 0 ? 2 * cellSize / 3 : 0;
}

// The square's distance from its cell's top-left corner, across and down. Rounded down: a
// string line lies half a pixel above the middle of an odd cell, so where the margins cannot
// be equal the centre stays on the line, and in an even cell half a pixel is the best there is.
constexpr int markerOffset(int cellSize) {
    return (cellSize - markerSide(cellSize)) / 2;
}

} // namespace modalscope
