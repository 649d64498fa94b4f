#include "tests/benchmarks/bare_frame.h"

#include "render/marker_size.h"
#include "render/marker_table.h"
#include "render/picture_bitmap.h"

namespace modalscope::bench {

BoardPicture pictureOf(const Fretboard& board) {
    BoardPicture picture;
    const IntervalPalette& palette = board.palette();
    for (int s = 0; s < kStringCount; ++s) {
        for (int j = 0; j < kFretCount; ++j) {
            const IntervalLabel label = board.label(s, j);
            if (label >= 1 && label <= kIntervalCount && palette.current[label - 1].visible) {
                picture.cells[s][j] = palette.current[label - 1].marker;
            }
        }
    }
    for (int k = 0; k < kIntervalCount; ++k) {
        picture.palette[k] = palette.current[k].visible ? palette.current[k].marker : 0;
    }
    return picture;
}

bool BareFrame::create(HINSTANCE instance, HWND window, const BoardPicture& picture) {
    window_ = window;
    GetClientRect(window, &client_);
    u_ = client_.right / kFretCount;
    g_ = u_ - u_ / 4;
    t_ = u_ / 2;
    const int side = markerSide(u_);
    if (side <= 0) {
        return false;
    }

    windowSurface_ = GetDC(window);
    if (windowSurface_ == nullptr) {
        return false;
    }
    backSurface_ = CreateCompatibleDC(windowSurface_);
    backBitmap_ = CreateCompatibleBitmap(windowSurface_, client_.right, client_.bottom);
    if (backSurface_ == nullptr || backBitmap_ == nullptr) {
        return false;
    }
    previous_ = SelectObject(backSurface_, backBitmap_);

    // Like the program's, compatible with the screen, which is what the program's size
    // notification sees: it arrives before the window surface exists. The same reduction
    // of each large picture, so both draw the same pixels.
    bool loaded = true;
    for (int i = 0; loaded && i < kMarkerCount; ++i) {
        Image& image = images_[i];
        Picture reduced;
        loaded = loadPictureAt(instance, kMarkerPictures[i], side, side, reduced);
        image.bitmap = loaded ? createBitmap(reduced) : nullptr;
        image.surface = CreateCompatibleDC(nullptr);
        loaded = image.bitmap != nullptr && image.surface != nullptr;
        if (loaded) {
            image.previous = SelectObject(image.surface, image.bitmap);
        }
    }
    if (!loaded) {
        return false;
    }
    for (int s = 0; s < kStringCount; ++s) {
        for (int j = 0; j < kFretCount; ++j) {
            const MarkerId id = picture.cells[s][j];
            cells_[s][j] = id >= 1 && id <= kMarkerCount ? images_[id - 1].surface : nullptr;
        }
    }
    for (int k = 0; k < kIntervalCount; ++k) {
        const MarkerId id = picture.palette[k];
        palette_[k] = id >= 1 && id <= kMarkerCount ? images_[id - 1].surface : nullptr;
    }
    return true;
}

void BareFrame::present() const {
    FillRect(backSurface_, &client_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint();
    BitBlt(windowSurface_, 0, 0, client_.right, client_.bottom, backSurface_, 0, 0, SRCCOPY);
}

void BareFrame::blitOnly() const {
    BitBlt(windowSurface_, 0, 0, client_.right, client_.bottom, backSurface_, 0, 0, SRCCOPY);
}

void BareFrame::marker(MarkerId id, int x, int y) const {
    const int side = markerSide(u_);
    const int offset = markerOffset(u_);
    BitBlt(backSurface_, x + offset, y + offset, side, side, images_[id - 1].surface, 0, 0,
           SRCCOPY);
}

// The same calls in the same order as the program's painter, with the per-cell lookups
// done once up front.
void BareFrame::paint() const {
    const HDC surface = backSurface_;
    const int u = u_;
    const int g = g_;
    const int t = t_;
    const int side = markerSide(u);
    const int offset = markerOffset(u);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(128, 128, 128));
    HGDIOBJ previousPen = SelectObject(surface, pen);

    for (int s = 0; s < kStringCount; ++s) {
        MoveToEx(surface, kFretCount * u, t + s * g, nullptr);
        LineTo(surface, 0, t + s * g);
        for (int j = 0; j < kFretCount; ++j) {
            MoveToEx(surface, j * u, t + 5 * g, nullptr);
            LineTo(surface, j * u, t);
            if (cells_[s][j] != nullptr) {
                BitBlt(surface, j * u + offset, s * g + offset, side, side, cells_[s][j], 0, 0,
                       SRCCOPY);
            }
        }
    }
    MoveToEx(surface, kFretCount * u, t + 5 * g, nullptr);
    LineTo(surface, kFretCount * u, t);

    for (int fret : kSingleInlayFrets) {
        marker(kSingleInlayMarker, fret * u, 6 * g);
    }
    for (int fret : kDoubleInlayFrets) {
        marker(kDoubleInlayMarker, fret * u, 6 * g);
    }

    const int top = 6 * u;
    const int bottom = 7 * u;
    const int left = kPaletteFirstColumn * u;
    const int right = (kPaletteFirstColumn + kIntervalCount) * u;
    MoveToEx(surface, left, top, nullptr);
    LineTo(surface, right, top);
    MoveToEx(surface, left, bottom, nullptr);
    LineTo(surface, right, bottom);
    for (int k = 0; k < kIntervalCount; ++k) {
        const int x = (kPaletteFirstColumn + k) * u;
        MoveToEx(surface, x, bottom, nullptr);
        LineTo(surface, x, top);
        if (palette_[k] != nullptr) {
            BitBlt(surface, x + offset, top + offset, side, side, palette_[k], 0, 0, SRCCOPY);
        }
    }
    MoveToEx(surface, right, bottom, nullptr);
    LineTo(surface, right, top);

    SelectObject(surface, previousPen);
    DeleteObject(pen);
}

void BareFrame::release() {
    for (Image& image : images_) {
        if (image.previous != nullptr) {
            SelectObject(image.surface, image.previous);
        }
        if (image.bitmap != nullptr) {
            DeleteObject(image.bitmap);
        }
        if (image.surface != nullptr) {
            DeleteDC(image.surface);
        }
        image = Image{};
    }
    if (previous_ != nullptr) {
        SelectObject(backSurface_, previous_);
    }
    if (backBitmap_ != nullptr) {
        DeleteObject(backBitmap_);
    }
    if (backSurface_ != nullptr) {
        DeleteDC(backSurface_);
    }
    if (windowSurface_ != nullptr) {
        ReleaseDC(window_, windowSurface_);
    }
    windowSurface_ = nullptr;
    backSurface_ = nullptr;
    backBitmap_ = nullptr;
    previous_ = nullptr;
}

} // namespace modalscope::bench
