// The GDI calls of one presented frame, issued by a plain loop that owns its own
// surfaces and pens and knows nothing of the program: the floor a frame can cost.
#pragma once

#include <windows.h>

#include "model/fretboard.h"

namespace modalscope::bench {

// The marker each cell and palette box shows; 0 where nothing is drawn.
struct BoardPicture {
    MarkerId cells[kStringCount][kFretCount] = {};
    MarkerId palette[kIntervalCount] = {};
};

// The picture a board shows, read once before timing starts.
BoardPicture pictureOf(const Fretboard& board);

class BareFrame {
  public:
    BareFrame() = default;
    ~BareFrame() { release(); }
    BareFrame(const BareFrame&) = delete;
    BareFrame& operator=(const BareFrame&) = delete;

    // Takes its own surface of `window`, a back buffer of the client size and the twenty
    // pictures at the program's scale; false if any of them could not be made.
    bool create(HINSTANCE instance, HWND window, const BoardPicture& picture);
    // White fill, the board's lines and markers, then the one copy to the window.
    void present() const;
    // Only the final copy of the whole client area.
    void blitOnly() const;
    void release();

    HDC backSurface() const { return backSurface_; }
    int cellSize() const { return u_; }

  private:
    struct Image {
        HBITMAP bitmap = nullptr;
        HGDIOBJ previous = nullptr;
        HDC surface = nullptr;
    };

    void paint() const;
    void marker(MarkerId id, int x, int y) const;

    HWND window_ = nullptr;
    HDC windowSurface_ = nullptr;
    HDC backSurface_ = nullptr;
    HBITMAP backBitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    RECT client_ = {};
    Image images_[kMarkerCount];
    HDC cells_[kStringCount][kFretCount] = {};
    HDC palette_[kIntervalCount] = {};
    int u_ = 0;
    int g_ = 0;
    int t_ = 0;
};

} // namespace modalscope::bench
