// Draws the twenty markers as the program does, through the painter's own loader, at the
// cell sizes of an 800-, 1024-, 1920- and 3840-wide screen, and writes them as one 24-bit
// BMP for tools/marker_sheet.py to lay out.
//
// Usage: marker_sheet.exe OUT.bmp
// Panels sit side by side, each 5 cells wide and 4 high with grey cell borders, markers
// 1..20 row by row.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "render/board_painter.h"
#include "render/memory_surface.h"
#include "tools/shared/picture_compare.h"

namespace {

using modalscope::BoardPainter;
using modalscope::MemorySurface;

constexpr int kCellSizes[] = {28, 42, 79, 159};
constexpr int kColumns = 5;
constexpr int kRows = 4;

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// `topDown` holds 0x00RRGGBB pixels row by row from the top.
bool writeBmp(const char* path, const std::uint32_t* topDown, int width, int height) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + stride * height);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, stride * height);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = topDown[static_cast<std::size_t>(y) * width + x];
            out.push_back(static_cast<std::uint8_t>(p));       // blue
            out.push_back(static_cast<std::uint8_t>(p >> 8));  // green
            out.push_back(static_cast<std::uint8_t>(p >> 16)); // red
        }
        out.resize(rowStart + stride, 0);
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

void drawPanel(HDC canvas, int left, int cellSize) {
    BoardPainter painter;
    painter.loadMarkers(GetModuleHandleA(nullptr), nullptr, cellSize);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
    HGDIOBJ previousPen = SelectObject(canvas, pen);
    for (int i = 0; i <= kColumns; ++i) {
        MoveToEx(canvas, left + i * cellSize, 0, nullptr);
        LineTo(canvas, left + i * cellSize, kRows * cellSize + 1);
    }
    for (int j = 0; j <= kRows; ++j) {
        MoveToEx(canvas, left, j * cellSize, nullptr);
        LineTo(canvas, left + kColumns * cellSize + 1, j * cellSize);
    }
    SelectObject(canvas, previousPen);
    DeleteObject(pen);
    for (int id = 1; id <= modalscope::kMarkerCount; ++id) {
        const int column = (id - 1) % kColumns;
        const int row = (id - 1) / kColumns;
        painter.drawMarker(canvas, id, left + column * cellSize, row * cellSize, cellSize);
    }
    painter.releaseMarkers();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: marker_sheet OUT.bmp\n");
        return 2;
    }
    int width = 0;
    int height = 0;
    for (int cellSize : kCellSizes) {
        width += kColumns * cellSize + 1;
        height = kRows * cellSize + 1 > height ? kRows * cellSize + 1 : height;
    }

    MemorySurface canvas;
    if (!canvas.create(nullptr, width, height)) {
        std::fprintf(stderr, "no canvas\n");
        return 1;
    }
    RECT all = {0, 0, width, height};
    FillRect(canvas.surface(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int left = 0;
    for (int cellSize : kCellSizes) {
        drawPanel(canvas.surface(), left, cellSize);
        left += kColumns * cellSize + 1;
    }
    const std::vector<std::uint32_t> pixels =
        modalscope::bench::readPixels(canvas.surface(), width, height);
    canvas.release();
    if (pixels.empty() || !writeBmp(argv[1], pixels.data(), width, height)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
