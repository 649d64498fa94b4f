// The window's size in whole cells: the client area that holds the board at a cell size,
// and the largest cell size whose whole window fits the screen. Plain arithmetic, so it is
// tested on any host.
#pragma once

#include <cstdint>

namespace modalscope {

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A screen's area for windows: where it starts and how large it is.
struct WorkArea {
    PixelPoint origin;
    PixelSize size;
};

// Twenty-four cells and the last fret line across, six string rows and the palette row
// down: (24a + 1) by 7a.
PixelSize boardClientSize(std::int32_t cellSize);

// `cellSize`, lowered only as far as needed for the client area plus `frame` (what the
// caption, menu bar and border add) to fit `area`. Never lowered below 0; a cell size of 0
// or less is left as it is.
std::int32_t fittingCellSize(std::int32_t cellSize, PixelSize frame, PixelSize area);

} // namespace modalscope
