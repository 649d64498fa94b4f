#include "render/board_painter.h"

namespace modalscope {

namespace {

void line(HDC surface, int fromX, int fromY, int toX, int toY) {
    MoveToEx(surface, fromX, fromY, nullptr);
    LineTo(surface, toX, toY);
}

} // namespace

void BoardPainter::paint(const Fretboard& board, HDC surface) const {
    const BoardMetrics& m = board.metrics();
    const int u = m.cellSize;
    const int g = m.stringGap;
    const int t = m.topMargin;
    const IntervalPalette& palette = board.palette();

    HPEN pen = CreatePen(PS_SOLID, 2, RGB(128, 128, 128));
    HGDIOBJ previousPen = SelectObject(surface, pen);

    for (int s = 0; s < kStringCount; ++s) {
        line(surface, kFretCount * u, t + s * g, 0, t + s * g);
        for (int j = 0; j < kFretCount; ++j) {
            line(surface, j * u, t + 5 * g, j * u, t);
            const IntervalLabel label = board.label(s, j);
            if (label >= 1 && label <= kIntervalCount && palette.current[label - 1].visible) {
                drawMarker(surface, palette.current[label - 1].marker, j * u, s * g, u);
            }
        }
    }
    line(surface, kFretCount * u, t + 5 * g, kFretCount * u, t);

    for (int fret : kSingleInlayFrets) {
        drawMarker(surface, kSingleInlayMarker, fret * u, 6 * g, u);
    }
    for (int fret : kDoubleInlayFrets) {
        drawMarker(surface, kDoubleInlayMarker, fret * u, 6 * g, u);
    }

    const int top = 6 * u;
    const int bottom = 7 * u;
    const int left = kPaletteFirstColumn * u;
    const int right = (kPaletteFirstColumn + kIntervalCount) * u;
    line(surface, left, top, right, top);
    line(surface, left, bottom, right, bottom);
    for (int k = 0; k < kIntervalCount; ++k) {
        const int x = (kPaletteFirstColumn + k) * u;
        line(surface, x, bottom, x, top);
        if (palette.current[k].visible) {
            drawMarker(surface, palette.current[k].marker, x, top, u);
        }
    }
    line(surface, right, bottom, right, top);

    SelectObject(surface, previousPen);
    DeleteObject(pen);
}

} // namespace modalscope
