// The window's size in whole cells: the client area that holds the board at a cell size,
// the largest cell size whose whole window fits a monitor, and the one fit of the window's
// whole geometry at a scale, which start-up and every change of scale or frame ask. Plain
// arithmetic, so it is tested on any host.
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

// What the caption, menu bar and border add on each side of the client area, as the
// platform measures them at one scale.
struct FrameEdges {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// The frame of the classic look, and of earlier versions' windows: 3 pixels round, 41 at the
// top for the caption and menu bar. The settings file's width counts it, and it stands in
// where the platform cannot measure its own.
constexpr FrameEdges kClassicFrame = {3, 41, 3, 3};

// The window around the board: the cell size, the client area (exactly the board) and the
// outer size (the client area plus the frame).
struct WindowGeometry {
    std::int32_t cellSize = 0;
    PixelSize client;
    PixelSize outer;
};

// Pixels per inch at 100 %.
constexpr std::uint32_t kStandardDpi = 96;

// Twenty-four cells and the last fret line across, six string rows and the palette row
// down: (24a + 1) by 7a.
PixelSize boardClientSize(std::int32_t cellSize);

// `cellSize`, lowered only as far as needed for the client area plus `frame` (what the
// caption, menu bar and border add) to fit `area`. Never lowered below 0; a cell size of 0
// or less is left as it is.
std::int32_t fittingCellSize(std::int32_t cellSize, PixelSize frame, PixelSize area);

// A cell size measured at `fromDpi`, at `toDpi`; as it is when either is 0, and never past
// the largest 32-bit value.
std::int32_t scaledCellSize(std::int32_t cellSize, std::uint32_t fromDpi, std::uint32_t toDpi);

// The one fit of the window: the board at `cellSize`, measured at `fromDpi`, at `toDpi`
// (see scaledCellSize) in a window with `frame`, the cell size lowered only as far as the
// whole window must be to fit `area`, a monitor's work area (when one is known), and never
// below 0.
WindowGeometry fitWindow(std::int32_t cellSize, std::uint32_t fromDpi, std::uint32_t toDpi,
                         const FrameEdges& frame, const PixelSize* area);

// The start's board, from which every scale is measured: its cell size and pixels per inch.
struct StartScale {
    std::int32_t cellSize = 0;
    std::uint32_t dpi = kStandardDpi;
};

// What a change of scale is answered before it happens (WM_GETDPISCALEDSIZE): the start's
// board at `dpi`, fitted to the monitor the window goes to. Dragged, that is the monitor
// under the pointer; otherwise the window's own monitor's scale changed.
WindowGeometry answerScaleChange(StartScale start, std::uint32_t dpi, const FrameEdges& frame,
                                 bool dragged, const PixelSize* pointerArea,
                                 const PixelSize* ownArea);

// What the change itself gives (WM_DPICHANGED), told the rectangle Windows suggests and the
// work area of the monitor that rectangle lies on: the geometry answered before (null: none
// for this scale) where the suggested rectangle has its outer size and that window fits the
// monitor, else the start's board fitted anew to the monitor.
WindowGeometry takeScaleChange(const WindowGeometry* answered, PixelSize suggested,
                               StartScale start, std::uint32_t dpi, const FrameEdges& frame,
                               const PixelSize* area);

// A point on the screen in workspace coordinates, in which a minimised or maximised window's
// restored place is kept: shifted by how far the work area of the window's monitor starts
// from the monitor's corner (a task bar at the top or the left).
PixelPoint workspacePoint(PixelPoint screen, PixelPoint workCorner, PixelPoint monitorCorner);

} // namespace modalscope
