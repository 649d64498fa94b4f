// Marker images and the drawing of the whole board into a GDI surface.
#pragma once

#include <windows.h>

#include "model/fretboard.h"
#include "render/marker_table.h"
#include "render/memory_surface.h"

namespace modalscope {

// One scaled picture, kept selected in its own memory surface so a marker is one BitBlt.
using MarkerImage = MemorySurface;

class BoardPainter {
  public:
    // The twenty images for `cellSize`: made the first time there is room for a picture,
    // and again only when the picture's side (markerSide) changes. Without room (the cell
    // size of 0 a minimised window reports) the images there are kept; once released,
    // none are made again.
    void sizeMarkers(HINSTANCE instance, HDC reference, int cellSize);

    // Creates the twenty images at markerSide(cellSize) square, each reduced by area averaging
    // from its 176-pixel picture and kept in a surface compatible with `reference` (null:
    // the screen). With no room for a picture nothing is created.
    void loadMarkers(HINSTANCE instance, HDC reference, int cellSize);
    void drawMarker(HDC target, MarkerId id, int x, int y, int cellSize) const;
    // At shut-down: each image is released once, and no later layout makes them again; a
    // second call finds nothing left to release.
    void releaseMarkers();
    void paint(const Fretboard& board, HDC surface) const;

    // Whether images are held, made for a cell with room for a picture.
    bool markersLoaded() const { return side_ > 0; }
    const MarkerImage& marker(MarkerId id) const { return markers_[id - 1]; }

  private:
    MarkerImage markers_[kMarkerCount];
    // The side the images were made at; 0 while there are none.
    int side_ = 0;
    // Set by releaseMarkers: the window is shut down and the images stay released.
    bool released_ = false;
};

} // namespace modalscope
