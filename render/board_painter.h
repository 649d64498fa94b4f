// Marker images and the drawing of the whole board into a GDI surface.
#pragma once

#include <windows.h>

#include "model/fretboard.h"
#include "render/memory_surface.h"

namespace modalscope {

// The inlay dots' pictures, drawn under the neck; no interval uses them.
constexpr MarkerId kSingleInlayMarker = 19;
constexpr MarkerId kDoubleInlayMarker = 20;

// One scaled picture, kept selected in its own memory surface so a marker is one BitBlt.
using MarkerImage = MemorySurface;

class BoardPainter {
  public:
    // What a size notification does: the metrics, then the one-time marker load.
    void resize(Fretboard& board, HINSTANCE instance, HDC reference, int width, int height);
    // What a change of scale does: the metrics, and the images made anew at the new cell size.
    void rescale(Fretboard& board, HINSTANCE instance, HDC reference, int width, int height);

    // Creates the twenty images at markerSide(cellSize) square, each reduced by area averaging
    // from its 176-pixel picture and kept in a surface compatible with `reference` (null:
    // the screen).
    // With no room for a picture nothing is created and the load is left for a later,
    // larger size.
    void loadMarkers(HINSTANCE instance, HDC reference, int cellSize);
    void drawMarker(HDC target, MarkerId id, int x, int y, int cellSize) const;
    // Each image is released once; a second call finds nothing left to release.
    void releaseMarkers();
    void paint(const Fretboard& board, HDC surface) const;

    bool markersLoaded() const { return markersLoaded_; }
    const MarkerImage& marker(MarkerId id) const { return markers_[id - 1]; }

  private:
    MarkerImage markers_[kMarkerCount];
    bool markersLoaded_ = false;
};

} // namespace modalscope
