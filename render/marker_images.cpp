#include "render/board_painter.h"

#include "render/marker_size.h"
#include "render/picture.h"
#include "render/picture_bitmap.h"

namespace modalscope {

namespace {

// The picture at `side` square in `image`, reduced here by area averaging rather than by
// the platform's stretch: a bilinear or sampling stretch (Wine's halftone mode is one)
// aliases when it shrinks and blurs when it enlarges, and differs between platforms. The
// source is larger than any marker, so it is only ever reduced, and every platform gets
// the same pixels.
void loadReduced(MarkerImage& image, HINSTANCE instance, int picture, HDC reference, int side) {
    Picture reduced;
    if (loadPictureAt(instance, picture, side, side, reduced)) {
        createSurface(image, reference, reduced);
    }
}

} // namespace

void BoardPainter::sizeMarkers(HINSTANCE instance, HDC reference, int cellSize) {
    const int side = markerSide(cellSize);
    if (released_ || side <= 0 || side == side_) {
        return;
    }
    for (MarkerImage& image : markers_) {
        image.release();
    }
    loadMarkers(instance, reference, cellSize);
}

void BoardPainter::loadMarkers(HINSTANCE instance, HDC reference, int cellSize) {
    const int side = markerSide(cellSize);
    if (side <= 0) {
        return; // no picture fits in such a cell
    }
    for (int i = 0; i < kMarkerCount; ++i) {
        loadReduced(markers_[i], instance, kMarkerPictures[i], reference, side);
    }
    side_ = side;
}

void BoardPainter::drawMarker(HDC target, MarkerId id, int x, int y, int cellSize) const {
    if (id < 1 || id > kMarkerCount) {
        return;
    }
    const MarkerImage& image = markers_[id - 1];
    const int side = markerSide(cellSize);
    if (!image.ready() || side <= 0) {
        return;
    }
    // Exactly the marker's own square: a larger copy would carry whatever lies beyond it.
    const int offset = markerOffset(cellSize);
    BitBlt(target, x + offset, y + offset, side, side, image.surface(), 0, 0, SRCCOPY);
}

void BoardPainter::releaseMarkers() {
    for (MarkerImage& image : markers_) {
        image.release();
    }
    side_ = 0;
    released_ = true;
}

} // namespace modalscope
