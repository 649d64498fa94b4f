// Times the real main window's presentFrame under Wine against the same GDI calls from a
// bare loop and, for scale, against one copy of the whole client area. The three take
// turns in short batches within one run; each figure is a median over many rounds.
// usage: present_frame_bench [cell size ...] (default 42, the 1024-wide screen's); each
// size is a window of its own, and the summary shows how the frame grows with its area.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_window.h"
#include "app/globals.h"
#include "tests/benchmarks/bare_frame.h"
#include "tests/benchmarks/bench_clock.h"
#include "tests/benchmarks/bench_stats.h"
#include "tools/shared/picture_compare.h"

namespace {

using namespace modalscope;
using namespace modalscope::bench;

constexpr int kFramesPerBatch = 20;
constexpr int kBaseCellSize = 42;

enum Variant { kProgram, kBare, kBlit, kVariantCount };

// How each frame ends, the same for all three variants.
enum class FrameEnd {
    Nothing,
    // Wine's GDI draws synchronously, so this should change nothing; run to show that.
    GdiFlush,
    // An empty queue peek is where Wine copies dirty window surfaces to the X server, as
    // the message loop does when it goes idle after an input: the frame as seen on screen.
    PushToScreen,
};
const char* const kFrameEndNames[] = {"GDI calls only", "ending in GdiFlush",
                                      "pushed to the X server (empty-queue peek)"};
const char* const kVariantNames[kVariantCount] = {
    "presentFrame (program)", "same GDI calls, bare loop", "one full-client BitBlt"};

// Microseconds.
double now() {
    return nowMs() * 1e3;
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The program's start, as its entry function does it, in a private working folder.
class ProgramWindow {
  public:
    explicit ProgramWindow(int cellSize) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "modalscope-bench-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, previousFolder_);
        SetCurrentDirectoryA(folder_.c_str());
        if (FILE* file = std::fopen(kSettingsFile, "wb")) {
            std::fprintf(file, "Width %d\n", 24 * cellSize + 7);
            std::fclose(file);
        }
        // Each size starts from constructed statics, as a new process would.
        app = AppWindow();
        board = Fretboard();
        painter = BoardPainter();
        settings = WindowSettings();
        // Timed, to show how much of a process start-up is the program's own work.
        const double start = now();
        app.instance = GetModuleHandleA(nullptr);
        settings.loadOrDefault(kSettingsFile);
        board.resetBoard();
        registered_ = registerMainClass(app.instance);
        started_ = registered_ && createMainWindow("Modalscope 1.0", 0, app.instance);
        createdUs_ = now() - start;
        pump();
        firstFrameUs_ = now() - start;
    }
    ~ProgramWindow() {
        if (started_) {
            SendMessageA(app.window, WM_CLOSE, 0, 0);
            pump(); // takes the quit message too
            DestroyWindow(app.window);
        }
        if (registered_) {
            unregisterMainClass(app.instance);
        }
        DeleteFileA(kSettingsFile);
        SetCurrentDirectoryA(previousFolder_);
        RemoveDirectoryA(folder_.c_str());
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    bool started() const { return started_; }
    double createdUs() const { return createdUs_; }
    double firstFrameUs() const { return firstFrameUs_; }

  private:
    std::string folder_;
    char previousFolder_[MAX_PATH] = {};
    bool registered_ = false;
    bool started_ = false;
    double createdUs_ = 0;
    double firstFrameUs_ = 0;
};

// Both must draw the same, non-trivial picture into their back buffers and the window.
bool samePicture(const BareFrame& bare, int width, int height) {
    presentFrame();
    const std::vector<std::uint32_t> programBack = readPixels(app.back.surface(), width, height);
    const std::vector<std::uint32_t> programShown = readPixels(app.windowSurface, width, height);
    bare.present();
    const std::vector<std::uint32_t> bareBack = readPixels(bare.backSurface(), width, height);
    const std::vector<std::uint32_t> bareShown = readPixels(app.windowSurface, width, height);
    int drawn = 0;
    for (std::uint32_t pixel : programBack) {
        drawn += pixel != 0xFFFFFF ? 1 : 0;
    }
    const bool same = !programBack.empty() && programBack == bareBack &&
                      programShown == programBack && bareShown == bareBack;
    std::printf("picture check: %d of %d pixels drawn, program and bare loop %s\n", drawn,
                width * height, same ? "identical (back buffer and window)" : "DIFFER");
    return same && drawn > width * height / 20;
}

struct Counts {
    bool presentedAll = true; // every program frame went through presentFrame
    int busyPeeks = 0;        // push peeks that found a message, so pushed nothing
};

void endFrame(FrameEnd end, Counts& counts) {
    if (end == FrameEnd::GdiFlush) {
        GdiFlush();
    } else if (end == FrameEnd::PushToScreen) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            ++counts.busyPeeks;
        }
    }
}

double timeBatch(Variant variant, const BareFrame& bare, FrameEnd end, Counts& counts) {
    const unsigned long framesBefore = app.framesPresented;
    const double start = now();
    for (int i = 0; i < kFramesPerBatch; ++i) {
        switch (variant) {
        case kProgram:
            presentFrame();
            break;
        case kBare:
            bare.present();
            break;
        default:
            bare.blitOnly();
            break;
        }
        endFrame(end, counts);
    }
    const double perFrame = (now() - start) / kFramesPerBatch;
    if (variant == kProgram && app.framesPresented - framesBefore != kFramesPerBatch) {
        counts.presentedAll = false;
    }
    return perFrame;
}

// Median frame times of one mode, for the summary across sizes.
struct ModeResult {
    bool ok = false;
    double program = 0;
    double bare = 0;
    double programVsBare = 0;
};

ModeResult runMode(const BareFrame& bare, FrameEnd end, int rounds) {
    std::vector<double> times[kVariantCount];
    Counts counts;
    for (int v = 0; v < kVariantCount; ++v) {
        timeBatch(static_cast<Variant>(v), bare, end, counts); // warm-up
    }
    for (int round = 0; round < rounds; ++round) {
        // Each variant goes first, second and third equally often.
        for (int k = 0; k < kVariantCount; ++k) {
            const int v = (round + k) % kVariantCount;
            times[v].push_back(timeBatch(static_cast<Variant>(v), bare, end, counts));
            pump(); // outside the timing, as the message loop would between inputs
        }
    }

    std::printf("frames, %s: %d rounds of %d frames per variant, rotating order\n",
                kFrameEndNames[static_cast<int>(end)], rounds, kFramesPerBatch);
    for (int v = 0; v < kVariantCount; ++v) {
        std::printf("  %-28s %9.1f us/frame  (p25 %.1f, p75 %.1f)\n", kVariantNames[v],
                    median(times[v]), quantile(times[v], 0.25), quantile(times[v], 0.75));
    }
    const double programVsBare = median(pairedRatios(times[kProgram], times[kBare]));
    std::printf("  program / bare loop          %9.3fx  (ratio of medians %.3fx; goal <= 1.1x: "
                "%s)\n",
                programVsBare, median(times[kProgram]) / median(times[kBare]),
                programVsBare <= 1.1 ? "met" : "MISSED");
    std::printf("  program / one BitBlt         %9.2fx  (ratio of medians %.2fx)\n",
                median(pairedRatios(times[kProgram], times[kBlit])),
                median(times[kProgram]) / median(times[kBlit]));
    std::printf("  bare loop / one BitBlt       %9.2fx  (ratio of medians %.2fx)\n",
                median(pairedRatios(times[kBare], times[kBlit])),
                median(times[kBare]) / median(times[kBlit]));
    if (!counts.presentedAll) {
        std::printf("  ERROR: a program batch did not present every frame\n");
    }
    if (counts.busyPeeks > 0) {
        std::printf("  ERROR: %d push peeks found a message and pushed nothing\n",
                    counts.busyPeeks);
    }
    ModeResult result;
    result.ok = counts.presentedAll && counts.busyPeeks == 0;
    result.program = median(times[kProgram]);
    result.bare = median(times[kBare]);
    result.programVsBare = programVsBare;
    return result;
}

// All three modes at one cell size; the result of the on-screen mode, the frame a user sees.
ModeResult benchSize(int cellSize) {
    ProgramWindow program(cellSize);
    ModeResult failed;
    std::printf("\n== cell size %d\n", cellSize);
    if (!program.started() || app.framesPresented == 0) {
        std::printf("the main window did not start or present its first frame\n");
        return failed;
    }
    RECT client;
    GetClientRect(app.window, &client);
    std::printf("client %ldx%ld (recorded %ldx%ld), cell size %d, frames presented at start %lu\n",
                client.right, client.bottom, app.recorded.right, app.recorded.bottom,
                board.metrics().cellSize, app.framesPresented);
    std::printf("entry sequence in this process: window created after %.1f ms (settings, board, "
                "class, window with marker load), first frame presented after %.1f ms\n",
                program.createdUs() / 1e3, program.firstFrameUs() / 1e3);
    const int wantWidth = 24 * cellSize + 1;
    const int wantHeight = 7 * cellSize;
    if (client.right != wantWidth || client.bottom != wantHeight) {
        std::printf("unexpected client size, want %dx%d (is the screen large enough?)\n", wantWidth,
                    wantHeight);
        return failed;
    }

    BareFrame bare;
    if (!bare.create(app.instance, app.window, pictureOf(board)) ||
        bare.cellSize() != board.metrics().cellSize) {
        std::printf("the bare loop could not set up its surfaces\n");
        return failed;
    }
    if (!samePicture(bare, client.right, client.bottom)) {
        return failed;
    }
    // Fewer rounds for larger frames, so every size takes about as long.
    const double area = static_cast<double>(cellSize) * cellSize;
    const double scale = area / (kBaseCellSize * kBaseCellSize);
    auto rounds = [scale](int base) { return std::max(21, static_cast<int>(base / scale) | 1); };
    const bool ok = runMode(bare, FrameEnd::Nothing, rounds(301)).ok &&
                    runMode(bare, FrameEnd::GdiFlush, rounds(101)).ok;
    ModeResult shown = runMode(bare, FrameEnd::PushToScreen, rounds(101));
    shown.ok = shown.ok && ok;
    std::printf("frames presented by the program in all: %lu\n", app.framesPresented);
    bare.release();
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) {
        sizes.push_back(kBaseCellSize);
    }
    std::vector<ModeResult> results;
    bool ok = true;
    for (int cellSize : sizes) {
        results.push_back(benchSize(cellSize));
        ok = ok && results.back().ok;
    }
    if (!ok) {
        return 1;
    }
    std::printf("\n== frames pushed to the screen, by client size\n");
    std::printf("  %4s %11s %9s %12s %10s %14s\n", "cell", "client", "area", "program us",
                "bare us", "program/bare");
    const double baseArea = static_cast<double>(24 * sizes[0] + 1) * (7 * sizes[0]);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int a = sizes[i];
        const double area = static_cast<double>(24 * a + 1) * (7 * a);
        char client[32];
        std::snprintf(client, sizeof(client), "%dx%d", 24 * a + 1, 7 * a);
        std::printf("  %4d %11s %8.2fx %12.1f %10.1f %13.3fx   frame %.2fx the first size's\n", a,
                    client, area / baseArea, results[i].program, results[i].bare,
                    results[i].programVsBare, results[i].program / results[0].program);
    }
    return 0;
}
