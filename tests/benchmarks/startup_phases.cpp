// Where the program's own start goes, inside one process: each step of the entry function
// timed by turns over many rounds (settings file, board and class, window creation, the
// marker load within it, the first frame), and the marker load alone at the cell sizes of
// 1024- and 3840-wide screens, with the reduction at the latter's marker size against the
// 145 pixels its markers had when they were the cell less 14. Run from a folder holding
// "Width 1015" in default.txt.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/app_window.h"
#include "app/globals.h"
#include "render/marker_size.h"
#include "render/picture.h"
#include "render/picture_bitmap.h"
#include "resource.h"
#include "tests/benchmarks/bench_clock.h"
#include "tests/benchmarks/bench_stats.h"

namespace {

using namespace modalscope;
using namespace modalscope::bench;

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
}

double markerLoadMs(HINSTANCE instance, int cellSize) {
    BoardPainter fresh;
    const double start = nowMs();
    fresh.loadMarkers(instance, nullptr, cellSize);
    GdiFlush();
    const double took = nowMs() - start;
    fresh.releaseMarkers();
    return took;
}

// The marker load's pure part: the twenty large pictures reduced as they are decoded.
double reduceMs(HINSTANCE instance, int side) {
    const double start = nowMs();
    for (int i = 0; i < kMarkerCount; ++i) {
        Picture reduced;
        loadPictureAt(instance, IDB_MARKER_LARGE_1 + i, side, side, reduced); // 150..169
    }
    return nowMs() - start;
}

// A change of scale as the system reports one, from the message to the new frame shown.
double scaleChangeMs(UINT dpi, int& cell) {
    RECT suggested = {0, 0, 100, 100};
    const double start = nowMs();
    SendMessageA(app.window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    GdiFlush();
    const double took = nowMs() - start;
    cell = board.metrics().cellSize;
    return took;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 30;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    std::vector<double> settingsMs, classMs, windowMs, markersMs, frameMs, large, pictures;
    std::vector<double> largeReduced, formerReduced;
    const int largeSide = markerSide(159);
    constexpr UINT kScales[] = {144, 192, 384, 96};
    std::vector<double> scaleMs[4];
    int scaleCell[4] = {};
    for (int round = 0; round < rounds; ++round) {
        painter = BoardPainter(); // markers are made once per painter
        const double t0 = nowMs();
        settings.loadOrDefault(kSettingsFile);
        const double t1 = nowMs();
        board.resetBoard();
        registerMainClass(instance);
        const double t2 = nowMs();
        if (!createMainWindow("Modalscope 1.0", 0, instance)) {
            std::printf("no window\n");
            return 1;
        }
        const double t3 = nowMs();
        presentFrame();
        GdiFlush();
        const double t4 = nowMs();
        settingsMs.push_back(t1 - t0);
        classMs.push_back(t2 - t1);
        windowMs.push_back(t3 - t2);
        frameMs.push_back(t4 - t3);
        for (int i = 0; i < 4; ++i) {
            scaleMs[i].push_back(scaleChangeMs(kScales[i], scaleCell[i]));
        }
        shutdownWindow();
        DestroyWindow(app.window);
        app.window = nullptr;
        pump();
        unregisterMainClass(instance);
        markersMs.push_back(markerLoadMs(instance, app.startCell));
        large.push_back(markerLoadMs(instance, 159));
        pictures.push_back(reduceMs(instance, markerSide(app.startCell)));
        largeReduced.push_back(reduceMs(instance, largeSide));
        formerReduced.push_back(reduceMs(instance, 159 - 14));
    }
    std::printf("start-up steps inside the process, median of %d rounds (ms):\n", rounds);
    std::printf("  settings file read          %7.2f\n", median(settingsMs));
    std::printf("  board reset, class          %7.2f\n", median(classMs));
    std::printf("  window creation and shown   %7.2f  (with the marker load)\n", median(windowMs));
    std::printf("    of which the marker load  %7.2f  (20 markers of %d pixels)\n",
                median(markersMs), markerSide(app.startCell));
    std::printf("      decoding and reducing   %7.2f  (the rest: GDI bitmaps and surfaces)\n",
                median(pictures));
    std::printf("  first frame                 %7.2f\n", median(frameMs));
    std::printf("  marker load at cell 159     %7.2f  (%d-pixel markers, a 3840-wide screen)\n",
                median(large), largeSide);
    std::printf("      decoding and reducing   %7.2f  (%.2fx the same at 145 pixels, %.2f ms)\n",
                median(largeReduced), median(pairedRatios(largeReduced, formerReduced)),
                median(formerReduced));
    std::printf("scale changes, from the message to the new frame (ms):\n");
    for (int i = 0; i < 4; ++i) {
        std::printf("  to %3u dpi                  %7.2f  (cell size %d)\n", kScales[i],
                    median(scaleMs[i]), scaleCell[i]);
    }
    return 0;
}
