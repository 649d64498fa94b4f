// Paints into a real GDI memory surface and reads pixels back.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "render/board_painter.h"
#include "render/memory_surface.h"
#include "render/picture_bitmap.h"
#include "resource.h"
#include "tests/object_ledger.h"

namespace modalscope {
namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kOrange = RGB(0xFF, 0x80, 0x40);
constexpr COLORREF kGreen = RGB(0x00, 0xCC, 0x00);

// A 1009 by 294 surface filled with a colour the board never uses.
class Canvas {
  public:
    Canvas(int width = 1009, int height = 294) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        surface_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(surface_, bitmap_);
        clear();
    }
    ~Canvas() {
        SelectObject(surface_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(surface_);
    }
    void clear() {
        HBRUSH brush = CreateSolidBrush(kBackground);
        RECT all = {0, 0, width_, height_};
        FillRect(surface_, &all, brush);
        DeleteObject(brush);
    }
    HDC dc() const { return surface_; }
    COLORREF at(int x, int y) const { return GetPixel(surface_, x, y); }
    int count(int left, int top, int right, int bottom, COLORREF colour) const {
        int n = 0;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                n += at(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }
    std::vector<COLORREF> square(int left, int top, int side) const {
        std::vector<COLORREF> pixels;
        for (int y = top; y < top + side; ++y) {
            for (int x = left; x < left + side; ++x) {
                pixels.push_back(at(x, y));
            }
        }
        return pixels;
    }

  private:
    int width_, height_;
    HDC surface_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// What a size notification lays out: the model's metrics, then the painter's images.
void layOut(Fretboard& board, BoardPainter& painter, int width, int height) {
    board.resize(width, height);
    painter.sizeMarkers(GetModuleHandleW(nullptr), nullptr, board.metrics().cellSize);
}

struct PaintedBoard {
    Fretboard board;
    BoardPainter painter;
    PaintedBoard() {
        board.resetBoard();
        layOut(board, painter, 1009, 294);
    }
    ~PaintedBoard() { painter.releaseMarkers(); }
};

TEST(BoardPainter, ResetBoardLinesMarkersInlaysAndPalette) {
    PaintedBoard fixture;
    ASSERT_TRUE(fixture.painter.markersLoaded());
    Canvas canvas;
    fixture.painter.paint(fixture.board, canvas.dc());

    for (int s = 0; s < 6; ++s) {
        EXPECT_EQ(canvas.at(3, 21 + 32 * s), kGrey) << "string " << s;
        EXPECT_EQ(canvas.at(23 * 42 + 3, 21 + 32 * s), kGrey) << "string " << s;
    }
    for (int j = 0; j <= 24; ++j) {
        EXPECT_EQ(canvas.at(42 * j, 40), kGrey) << "fret " << j;
    }
    EXPECT_GT(canvas.count(7, 167, 34, 194, kOrange), 100); // root at (5, 0)
    EXPECT_EQ(canvas.count(7, 167, 34, 194, kGreen), 0);
    EXPECT_GT(canvas.count(4 * 42 + 7, 167, 4 * 42 + 34, 194, kGreen), 100); // 3 at (5, 4)

    // A marker square covers x+7..x+34, y+7..y+34 of its cell and nothing around it.
    const int x = 3 * 42, y = 2 * 32;
    EXPECT_EQ(canvas.count(x + 7, y + 7, x + 34, y + 34, kBackground), 0);
    EXPECT_EQ(canvas.at(x + 6, y + 10), kBackground);
    EXPECT_EQ(canvas.at(x + 35, y + 10), kBackground);

    // Inlay row y 199..226: only at the inlay frets.
    const bool inlay[24] = {0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 1};
    for (int j = 0; j < 24; ++j) {
        const int untouched = canvas.count(42 * j + 7, 199, 42 * j + 34, 226, kBackground);
        EXPECT_EQ(untouched == 0, inlay[j]) << "fret " << j;
    }
    EXPECT_EQ(canvas.count(0, 227, 251, 250, kGrey), 0);

    // Palette row: frame lines and a marker in every box.
    for (int k = 0; k <= 12; ++k) {
        EXPECT_EQ(canvas.at(252 + 42 * k, 270), kGrey) << "box edge " << k;
    }
    EXPECT_EQ(canvas.at(300, 252), kGrey);
    EXPECT_EQ(canvas.at(300, 293), kGrey);
    EXPECT_EQ(canvas.at(251 - 2, 270), kBackground);
    EXPECT_GT(canvas.count(252 + 7, 259, 252 + 34, 286, kOrange), 100);
}

TEST(BoardPainter, AllHiddenLeavesLinesInlaysAndEmptyBoxes) {
    PaintedBoard fixture;
    for (int k = 0; k < 12; ++k) {
        fixture.board.toggle(k);
    }
    Canvas canvas;
    fixture.painter.paint(fixture.board, canvas.dc());
    for (int s = 0; s < 6; ++s) {
        for (int j = 0; j < 24; ++j) {
            EXPECT_EQ(canvas.count(42 * j + 7, 32 * s + 7, 42 * j + 34, 32 * s + 34, kBackground) >
                          0,
                      true);
        }
    }
    EXPECT_EQ(canvas.count(0, 0, 1008, 293, kOrange), 0);
    EXPECT_EQ(canvas.count(0, 0, 1008, 293, kGreen), 0);
    EXPECT_EQ(canvas.count(2 * 42 + 7, 199, 2 * 42 + 34, 226, kBackground), 0);
    for (int k = 0; k < 12; ++k) {
        const int x = 252 + 42 * k;
        EXPECT_EQ(canvas.count(x + 3, 255, x + 39, 290, kBackground), 37 * 36) << k;
        EXPECT_EQ(canvas.at(x, 270), kGrey);
    }
}

TEST(BoardPainter, RespelledSlotShowsTheSamePictureEverywhere) {
    PaintedBoard fixture;
    Canvas before;
    fixture.painter.paint(fixture.board, before.dc());
    fixture.board.respell(3);
    Canvas after;
    fixture.painter.paint(fixture.board, after.dc());
    const std::vector<COLORREF> box = after.square(252 + 3 * 42 + 7, 252 + 7, 28);
    EXPECT_NE(box, before.square(252 + 3 * 42 + 7, 252 + 7, 28));
    int cells = 0;
    for (int s = 0; s < 6; ++s) {
        for (int j = 0; j < 24; ++j) {
            if (fixture.board.label(s, j) == 4) {
                EXPECT_EQ(after.square(42 * j + 7, 32 * s + 7, 28), box) << s << "," << j;
                EXPECT_NE(before.square(42 * j + 7, 32 * s + 7, 28), box);
                ++cells;
            }
        }
    }
    EXPECT_EQ(cells, 12);
}

TEST(BoardPainter, SmallCellsAndZeroMetricsFailNothing) {
    for (int cell : {0, 1, 2, 15}) {
        Fretboard board;
        board.resetBoard();
        BoardPainter painter;
        layOut(board, painter, 24 * cell + 1, 7 * cell);
        EXPECT_EQ(painter.marker(1).bitmap() != nullptr, cell >= 2) << cell; // 1 pixel at 2
        EXPECT_EQ(painter.markersLoaded(), cell >= 2) << cell;
        Canvas canvas(400, 120);
        painter.paint(board, canvas.dc());
        if (cell == 15) {
            // The root's 10-pixel marker 2 pixels into its cell, string 5 (gap 12).
            EXPECT_NE(canvas.at(2, 5 * 12 + 2), kBackground);
            EXPECT_NE(canvas.at(11, 5 * 12 + 11), kBackground);
            EXPECT_EQ(canvas.at(12, 5 * 12 + 4), kBackground);
        }
        painter.releaseMarkers();
    }
    Fretboard unsized;
    unsized.resetBoard();
    BoardPainter painter;
    Canvas canvas(50, 50);
    painter.paint(unsized, canvas.dc());
    painter.drawMarker(canvas.dc(), 0, 0, 0, 42);
    EXPECT_EQ(canvas.count(0, 0, 49, 49, kBackground), 50 * 50 - canvas.count(0, 0, 49, 49, kGrey));
}

TEST(BoardPainter, ReleaseTwiceAndKeepSizeAfterMinimise) {
    PaintedBoard fixture;
    BITMAP info = {};
    ASSERT_TRUE(GetObjectW(fixture.painter.marker(5).bitmap(), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 28);
    EXPECT_EQ(info.bmHeight, 28);
    const HBITMAP first = fixture.painter.marker(5).bitmap();
    layOut(fixture.board, fixture.painter, 0, 0);
    layOut(fixture.board, fixture.painter, 1009, 294);
    EXPECT_EQ(fixture.painter.marker(5).bitmap(), first);
    layOut(fixture.board, fixture.painter, 24 * 43 + 1, 7 * 43); // the same 28-pixel side
    EXPECT_EQ(fixture.painter.marker(5).bitmap(), first);
    layOut(fixture.board, fixture.painter, 24 * 45 + 1, 7 * 45);
    ASSERT_TRUE(GetObjectW(fixture.painter.marker(5).bitmap(), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 30) << "made anew for the new cell size";
    EXPECT_EQ(GetObjectType(first), 0u) << "and the old ones released";
    const HBITMAP second = fixture.painter.marker(5).bitmap();

    fixture.painter.releaseMarkers();
    for (MarkerId id = 1; id <= 20; ++id) {
        EXPECT_EQ(fixture.painter.marker(id).bitmap(), nullptr);
        EXPECT_EQ(fixture.painter.marker(id).surface(), nullptr);
    }
    EXPECT_EQ(GetObjectType(second), 0u); // the bitmap is gone
    fixture.painter.releaseMarkers();     // second pass touches nothing
    layOut(fixture.board, fixture.painter, 1009, 294);
    EXPECT_EQ(fixture.painter.marker(5).bitmap(), nullptr) << "never made again once released";
}

// Pixels of a w-by-h surface, row by row.
std::vector<COLORREF> pixelsOf(HDC surface, int width, int height) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(GetPixel(surface, x, y));
        }
    }
    return pixels;
}

// On the boards of 1920- and 3840-wide screens every marker on the neck is the very square
// its palette box shows, which nothing overlaps, and that is the image itself, centred in
// its cell: a marker taller than the string gap would lose its bottom to the string below.
TEST(BoardPainter, NeckMarkersAreThePalettesPixelsOnLargeBoards) {
    for (int cell : {79, 159}) {
        SCOPED_TRACE(::testing::Message() << "cell " << cell);
        Fretboard board;
        board.resetBoard();
        BoardPainter painter;
        const int width = 24 * cell + 1, height = 7 * cell;
        layOut(board, painter, width, height);
        Canvas canvas(width, height);
        painter.paint(board, canvas.dc());
        BITMAP info = {};
        ASSERT_TRUE(GetObjectW(painter.marker(1).bitmap(), sizeof(info), &info));
        const int side = info.bmWidth, offset = (cell - side) / 2;
        std::vector<COLORREF> boxes[kIntervalCount];
        for (int k = 0; k < kIntervalCount; ++k) {
            const MarkerImage& image = painter.marker(board.palette().current[k].marker);
            boxes[k] =
                canvas.square((kPaletteFirstColumn + k) * cell + offset, 6 * cell + offset, side);
            ASSERT_TRUE(boxes[k] == pixelsOf(image.surface(), side, side)) << "palette box " << k;
        }
        const int gap = board.metrics().stringGap;
        for (int s = 0; s < kStringCount; ++s) {
            for (int j = 0; j < kFretCount; ++j) {
                EXPECT_TRUE(canvas.square(j * cell + offset, s * gap + offset, side) ==
                            boxes[board.label(s, j) - 1])
                    << "string " << s << ", fret cell " << j;
            }
        }
        painter.releaseMarkers();
    }
}

// At the cell sizes of 800-, 1024-, 1920- and 3840-wide screens, and at 66 (44-pixel
// markers), every image holds exactly its large picture reduced by area averaging: no
// platform filter in between, and the inside of each disc keeps its exact colour.
TEST(BoardPainter, MarkersAreTheLargePicturesReducedByArea) {
    const int kLarge[kMarkerCount] = {
        IDB_MARKER_LARGE_1,  IDB_MARKER_LARGE_2,  IDB_MARKER_LARGE_3,  IDB_MARKER_LARGE_4,
        IDB_MARKER_LARGE_5,  IDB_MARKER_LARGE_6,  IDB_MARKER_LARGE_7,  IDB_MARKER_LARGE_8,
        IDB_MARKER_LARGE_9,  IDB_MARKER_LARGE_10, IDB_MARKER_LARGE_11, IDB_MARKER_LARGE_12,
        IDB_MARKER_LARGE_13, IDB_MARKER_LARGE_14, IDB_MARKER_LARGE_15, IDB_MARKER_LARGE_16,
        IDB_MARKER_LARGE_17, IDB_MARKER_LARGE_18, IDB_MARKER_LARGE_19, IDB_MARKER_LARGE_20};
    // Black (0) for the black discs, white for the inlays' insides.
    const COLORREF discs[kMarkerCount] = {kOrange,
                                          0,
                                          0,
                                          0,
                                          kGreen,
                                          0,
                                          kGreen,
                                          0,
                                          RGB(0xFF, 0xFF, 0x99),
                                          0,
                                          RGB(0xFF, 0xFF, 0x99),
                                          0,
                                          RGB(0xFF, 0xFF, 0x99),
                                          0,
                                          RGB(0x33, 0x99, 0xFF),
                                          RGB(0x33, 0x99, 0xFF),
                                          0,
                                          RGB(0x33, 0x99, 0xFF),
                                          RGB(255, 255, 255),
                                          RGB(255, 255, 255)};
    for (int cell : {28, 42, 66, 79, 159}) {
        BoardPainter painter;
        painter.loadMarkers(GetModuleHandleW(nullptr), nullptr, cell);
        const int side = 2 * cell / 3;
        for (MarkerId id = 1; id <= kMarkerCount; ++id) {
            SCOPED_TRACE(::testing::Message() << "cell " << cell << " marker " << id);
            Picture large;
            ASSERT_TRUE(loadPicture(GetModuleHandleW(nullptr), kLarge[id - 1], large));
            ASSERT_EQ(large.width, 176);
            const Picture expected = resizeByArea(large, side, side);
            const MarkerImage& image = painter.marker(id);
            BITMAP info = {};
            ASSERT_TRUE(GetObjectW(image.bitmap(), sizeof(info), &info));
            ASSERT_EQ(info.bmWidth, side);
            ASSERT_EQ(info.bmHeight, side);
            const std::vector<COLORREF> shown = pixelsOf(image.surface(), side, side);
            int disc = 0;
            for (int i = 0; i < side * side; ++i) {
                const std::uint32_t p = expected.pixels[static_cast<std::size_t>(i)];
                ASSERT_EQ(shown[static_cast<std::size_t>(i)],
                          RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF))
                    << "pixel " << i % side << "," << i / side;
                disc += shown[static_cast<std::size_t>(i)] == discs[id - 1] ? 1 : 0;
            }
            EXPECT_GT(disc, 0) << "the disc's exact colour";
        }
        painter.releaseMarkers();
    }
}

TEST(MemorySurface, HoldsItsBitmapAndReleasesOnce) {
    MemorySurface surface;
    EXPECT_FALSE(surface.ready());
    EXPECT_FALSE(surface.create(nullptr, 0, 5));
    EXPECT_FALSE(surface.create(nullptr, 5, -1));
    EXPECT_FALSE(surface.adopt(nullptr, nullptr));
    EXPECT_EQ(surface.surface(), nullptr);

    ASSERT_TRUE(surface.create(nullptr, 10, 6));
    const HDC dc = surface.surface();
    const HBITMAP bitmap = surface.bitmap();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    BITMAP info = {};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 10);
    EXPECT_EQ(info.bmHeight, 6);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(info.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL)) << "like the screen, not mono";
    const HGDIOBJ previous = surface.previous();
    EXPECT_EQ(GetObjectType(previous), static_cast<DWORD>(OBJ_BITMAP)); // the stock 1x1 one

    surface.release();
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(previous), static_cast<DWORD>(OBJ_BITMAP)) << "stock, kept";
    EXPECT_FALSE(surface.ready());
    // A second release must not touch handles the system has since handed out again.
    HBITMAP later = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    surface.release();
    EXPECT_EQ(GetObjectType(later), static_cast<DWORD>(OBJ_BITMAP));
    DeleteObject(later);
}

void handOverOwnership() {
    HDC screen = GetDC(nullptr);
    HBITMAP made = CreateCompatibleBitmap(screen, 3, 3);
    ReleaseDC(nullptr, screen);
    MemorySurface first;
    ASSERT_TRUE(first.adopt(nullptr, made));
    EXPECT_EQ(first.bitmap(), made);
    EXPECT_EQ(GetCurrentObject(first.surface(), OBJ_BITMAP), made);

    MemorySurface second(std::move(first));
    EXPECT_FALSE(first.ready());
    EXPECT_EQ(second.bitmap(), made);
    first.release(); // holds nothing: the bitmap stays
    EXPECT_EQ(GetObjectType(made), static_cast<DWORD>(OBJ_BITMAP));

    MemorySurface third;
    ASSERT_TRUE(third.create(nullptr, 2, 2));
    const HBITMAP replaced = third.bitmap();
    third = std::move(second); // what it held is released first
    EXPECT_EQ(GetObjectType(replaced), 0u);
    EXPECT_EQ(third.bitmap(), made);
    { MemorySurface scoped(std::move(third)); }
    EXPECT_EQ(GetObjectType(made), 0u) << "released when its last owner goes";
}

TEST(MemorySurface, AdoptsAndHandsOverOwnership) {
    const testing::ObjectCounts before = testing::heldObjects();
    handOverOwnership(); // its surfaces are gone, moved from or not, once it returns
    EXPECT_EQ(testing::heldObjects(), before) << "each handle released once, by its owner";
}

} // namespace
} // namespace modalscope
