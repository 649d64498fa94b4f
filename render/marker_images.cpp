#include "render/board_painter.h"

#include "resource.h"

namespace modalscope {

namespace {

// Picture resource of each marker id 1..20.
constexpr int kPictures[kMarkerCount] = {
    IDB_MARKER_1,  IDB_MARKER_2,  IDB_MARKER_3,  IDB_MARKER_4,  IDB_MARKER_5,
    IDB_MARKER_6,  IDB_MARKER_7,  IDB_MARKER_8,  IDB_MARKER_9,  IDB_MARKER_10,
    IDB_MARKER_11, IDB_MARKER_12, IDB_MARKER_13, IDB_MARKER_14, IDB_MARKER_15,
    IDB_MARKER_16, IDB_MARKER_17, IDB_MARKER_18, IDB_MARKER_19, IDB_MARKER_20,
};

constexpr int kMarkerMargin = 7;

} // namespace

void BoardPainter::resize(Fretboard& board, HINSTANCE instance, HDC reference, int width,
                          int height) {
    board.resize(width, height);
    if (!markersLoaded_) {
        loadMarkers(instance, reference, board.metrics().cellSize);
    }
}

void BoardPainter::loadMarkers(HINSTANCE instance, HDC reference, int cellSize) {
    const int side = cellSize - 2 * kMarkerMargin;
    if (side <= 0) {
        return; // LoadImageA would read 0 as "natural size"; nothing fits in such a cell
    }
    for (int i = 0; i < kMarkerCount; ++i) {
        MarkerImage& image = markers_[i];
        image.bitmap = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(kPictures[i]),
                                                       IMAGE_BITMAP, side, side, LR_DEFAULTCOLOR));
        image.surface = CreateCompatibleDC(reference);
        if (image.bitmap != nullptr && image.surface != nullptr) {
            image.previous = SelectObject(image.surface, image.bitmap);
        }
    }
    markersLoaded_ = true;
}

void BoardPainter::drawMarker(HDC target, MarkerId id, int x, int y, int cellSize) const {
    if (id < 1 || id > kMarkerCount) {
        return;
    }
    const MarkerImage& image = markers_[id - 1];
    const int extent = cellSize - kMarkerMargin;
    if (image.previous == nullptr || extent <= 0) {
        return;
    }
    BitBlt(target, x + kMarkerMargin, y + kMarkerMargin, extent, extent, image.surface, 0, 0,
           SRCCOPY);
}

void BoardPainter::releaseMarkers() {
    for (MarkerImage& image : markers_) {
        if (image.previous != nullptr) {
            SelectObject(image.surface, image.previous);
        }
        if (image.bitmap != nullptr) {
            DeleteObject(image.bitmap);
        }
        if (image.surface != nullptr) {
            DeleteDC(image.surface);
        }
        image = MarkerImage{};
    }
    // Released images are never recreated.
    markersLoaded_ = true;
}

} // namespace modalscope
