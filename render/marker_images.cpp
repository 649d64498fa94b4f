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

// The picture at `side` square in `image`. The loader's own scaling drops or repeats whole
// rows and columns, which leaves stair steps on the rims, so the picture is loaded at its
// own size and shrunk or enlarged here with the halftone filter, which averages them.
void loadScaled(MarkerImage& image, HINSTANCE instance, int picture, HDC reference, int side) {
    MemorySurface source;
    if (!source.adopt(reference,
                      static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(picture),
                                                      IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)))) {
        return;
    }
    BITMAP natural = {};
    if (GetObjectA(source.bitmap(), sizeof(natural), &natural) == 0 ||
        !image.create(reference, side, side)) {
        return;
    }
    SetStretchBltMode(image.surface(), HALFTONE);
    SetBrushOrgEx(image.surface(), 0, 0, nullptr); // required after choosing HALFTONE
    if (!StretchBlt(image.surface(), 0, 0, side, side, source.surface(), 0, 0, natural.bmWidth,
                    natural.bmHeight, SRCCOPY)) {
        image.release();
    }
}

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
        return; // no picture fits in such a cell
    }
    for (int i = 0; i < kMarkerCount; ++i) {
        loadScaled(markers_[i], instance, kPictures[i], reference, side);
    }
    markersLoaded_ = true;
}

void BoardPainter::drawMarker(HDC target, MarkerId id, int x, int y, int cellSize) const {
    if (id < 1 || id > kMarkerCount) {
        return;
    }
    const MarkerImage& image = markers_[id - 1];
    const int extent = cellSize - kMarkerMargin;
    if (!image.ready() || extent <= 0) {
        return;
    }
    BitBlt(target, x + kMarkerMargin, y + kMarkerMargin, extent, extent, image.surface(), 0, 0,
           SRCCOPY);
}

void BoardPainter::releaseMarkers() {
    for (MarkerImage& image : markers_) {
        image.release();
    }
    // Released images are never recreated.
    markersLoaded_ = true;
}

} // namespace modalscope
