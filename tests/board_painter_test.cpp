// Paints into a real GDI memory surface and reads pixels back.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

#include "render/board_painter.h"
#include "render/memory_surface.h"
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

struct PaintedBoard {
    Fretboard board;
    BoardPainter painter;
    PaintedBoard() {
        board.resetBoard();
        painter.resize(board, GetModuleHandleW(nullptr), nullptr, 1009, 294);
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
    for (int cell : {0, 10, 14, 15}) {
        Fretboard board;
        board.resetBoard();
        BoardPainter painter;
        painter.resize(board, GetModuleHandleW(nullptr), nullptr, 24 * cell + 1, 7 * cell);
        EXPECT_EQ(painter.marker(1).bitmap() != nullptr, cell == 15) << cell;
        EXPECT_EQ(painter.markersLoaded(), cell == 15) << cell;
        Canvas canvas(400, 120);
        painter.paint(board, canvas.dc());
        if (cell == 15) {
            EXPECT_NE(canvas.at(7, 5 * 12 + 7), kBackground); // a 1-pixel marker
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
    fixture.painter.resize(fixture.board, GetModuleHandleW(nullptr), nullptr, 0, 0);
    fixture.painter.resize(fixture.board, GetModuleHandleW(nullptr), nullptr, 1009, 294);
    EXPECT_EQ(fixture.painter.marker(5).bitmap(), first);

    fixture.painter.releaseMarkers();
    for (MarkerId id = 1; id <= 20; ++id) {
        EXPECT_EQ(fixture.painter.marker(id).bitmap(), nullptr);
        EXPECT_EQ(fixture.painter.marker(id).surface(), nullptr);
    }
    EXPECT_EQ(GetObjectType(first), 0u); // the bitmap is gone
    fixture.painter.releaseMarkers();    // second pass touches nothing
    EXPECT_TRUE(fixture.painter.markersLoaded());
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

// The 44-pixel picture as shipped, read back through the loader at its own size.
std::vector<COLORREF> shippedPicture(int resource) {
    MemorySurface picture;
    picture.adopt(nullptr, static_cast<HBITMAP>(LoadImageA(GetModuleHandleW(nullptr),
                                                           MAKEINTRESOURCEA(resource), IMAGE_BITMAP,
                                                           0, 0, LR_DEFAULTCOLOR)));
    return picture.ready() ? pixelsOf(picture.surface(), 44, 44) : std::vector<COLORREF>{};
}

// At the cell sizes of an 800-, 1024- and 1920-wide screen every marker is filtered, not
// sampled: the scaled picture has in-between colours the picture itself lacks, while the
// inside of each disc keeps its exact colour, the thin inlay rings stay dark and the
// corners stay white.
TEST(BoardPainter, MarkersAreScaledWithSmoothingAtEveryCellSize) {
    const struct {
        MarkerId id;
        int resource;
        COLORREF disc; // white for the rings, which have no disc
    } markers[] = {{1, IDB_MARKER_1, kOrange},
                   {5, IDB_MARKER_5, kGreen},
                   {11, IDB_MARKER_11, RGB(0xFF, 0xFF, 0x99)},
                   {16, IDB_MARKER_16, RGB(0x33, 0x99, 0xFF)},
                   {2, IDB_MARKER_2, RGB(0, 0, 0)},
                   {19, IDB_MARKER_19, RGB(255, 255, 255)},
                   {20, IDB_MARKER_20, RGB(255, 255, 255)}};
    for (int cell : {28, 42, 79}) {
        BoardPainter painter;
        painter.loadMarkers(GetModuleHandleW(nullptr), nullptr, cell);
        const int side = cell - 14;
        for (const auto& m : markers) {
            SCOPED_TRACE(::testing::Message() << "cell " << cell << " marker " << m.id);
            const std::vector<COLORREF> source = shippedPicture(m.resource);
            ASSERT_EQ(source.size(), 44u * 44u);
            const MarkerImage& image = painter.marker(m.id);
            BITMAP info = {};
            ASSERT_TRUE(GetObjectW(image.bitmap(), sizeof(info), &info));
            EXPECT_EQ(info.bmWidth, side);
            EXPECT_EQ(info.bmHeight, side);
            const std::vector<COLORREF> scaled = pixelsOf(image.surface(), side, side);
            for (auto [x, y] :
                 {std::pair{0, 0}, {side - 1, 0}, {0, side - 1}, {side - 1, side - 1}}) {
                EXPECT_EQ(scaled[y * side + x], RGB(255, 255, 255)) << x << "," << y;
            }
            const std::set<COLORREF> shipped(source.begin(), source.end());
            int blended = 0, disc = 0, sourceDisc = 0, dark = 0;
            for (COLORREF c : scaled) {
                blended += shipped.count(c) == 0 ? 1 : 0;
                disc += c == m.disc ? 1 : 0;
                dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 64 ? 1 : 0;
            }
            for (COLORREF c : source) {
                sourceDisc += c == m.disc ? 1 : 0;
            }
            EXPECT_GT(blended, side / 4) << "colours made by the filter";
            if (m.disc == RGB(255, 255, 255)) {
                EXPECT_GT(dark, side / 4) << "the rings show";
            } else {
                // The disc's own colour keeps most of its share of the picture.
                EXPECT_GT(disc * 44 * 44, sourceDisc * side * side / 2)
                    << disc << " of " << side * side << " against " << sourceDisc << " of 1936";
            }
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
