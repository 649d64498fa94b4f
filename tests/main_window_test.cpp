// The real main window in the test process: what each input presents, the wheel's notches,
// minimise and restore, shut-down, and the window's exact client area.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include "app/main_window_style.h"
#include "app/settings/window_fit.h"
#include "app/window_geometry.h"
#include "resource.h"
#include "tests/object_ledger.h"
#include "tests/shell_fixture.h"
#include "tests/wheel_expectations.h"

namespace modalscope::testing {
namespace {

std::string readAll(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Input {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    unsigned long frames;
    int cursorString; // after the input; the session starts with the root at (5, 0)
    int cursorFret;
};

TEST(MainWindow, EachInputPresentsExactlyItsFrames) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    const Input inputs[] = {
        {"space", WM_KEYDOWN, VK_SPACE, 0, 1, 5, 0},
        {"left wraps", WM_KEYDOWN, VK_LEFT, 0, 1, 5, 23},
        {"right wraps back", WM_KEYDOWN, VK_RIGHT, 0, 1, 5, 0},
        {"up", WM_KEYDOWN, VK_UP, 0, 1, 4, 0},
        {"down", WM_KEYDOWN, VK_DOWN, 0, 1, 5, 0},
        {"wheel away", WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0, 1, 5, 1},
        {"wheel toward", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0, 1, 5, 0},
        {"wheel toward wraps", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0, 1, 5, 23},
        {"wheel zero reaches no notch", WM_MOUSEWHEEL, 0, 0, 0, 5, 23},
        {"left press", WM_LBUTTONDOWN, 0, MAKELPARAM(3 * 42 + 5, 2 * 32 + 5), 1, 2, 3},
        {"right press", WM_RBUTTONDOWN, 0, MAKELPARAM(7 * 42 + 5, 1 * 32 + 5), 1, 1, 7},
        {"press off the board", WM_LBUTTONDOWN, 0, MAKELPARAM(60000, 60000), 1, 1, 7},
        {"letter key", WM_KEYDOWN, 'A', 0, 0, 1, 7},
        {"function key", WM_KEYDOWN, VK_F10, 0, 0, 1, 7},
        {"enter", WM_KEYDOWN, VK_RETURN, 0, 0, 1, 7},
        {"size", WM_SIZE, SIZE_RESTORED, MAKELPARAM(1009, 294), 0, 1, 7},
        {"unknown command", WM_COMMAND, 9999, 0, 0, 1, 7},
        {"command in the high word only", WM_COMMAND, MAKEWPARAM(1, ID_EXIT), 0, 0, 1, 7},
    };
    for (const Input& input : inputs) {
        const unsigned long before = app.framesPresented;
        const LRESULT result = SendMessageA(app.window, input.message, input.wParam, input.lParam);
        EXPECT_EQ(result, 0) << input.name;
        EXPECT_EQ(app.framesPresented - before, input.frames) << input.name;
        EXPECT_EQ(board.cursorString(), input.cursorString) << input.name;
        EXPECT_EQ(board.cursorFret(), input.cursorFret) << input.name;
    }
    EXPECT_TRUE(IsWindow(app.window)) << "no input above may close the window";
    EXPECT_TRUE(labelsFollowCursor(board));
}

WPARAM wheel(int delta) {
    return MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta)));
}

// Each row is one wheel message, in order, from the root at (5, 0).
struct WheelStep {
    const char* name;
    int delta;
    unsigned long frames;
    int fret; // after the message
};

TEST(MainWindow, WheelStepsOneFretPerWholeNotch) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    const WheelStep steps[] = {
        {"ordinary notch away", 120, 1, 1},
        {"ordinary notch toward", -120, 1, 0},
        {"touchpad quarter 1", 30, 0, 0},
        {"touchpad quarter 2", 30, 0, 0},
        {"touchpad quarter 3", 30, 0, 0},
        {"touchpad quarter 4 completes the notch", 30, 1, 1},
        {"two notches at once, one frame", 240, 1, 3},
        {"most of a notch toward", -90, 0, 3},
        {"the same back again", 90, 0, 3},
        {"one notch toward: the 90 away was dropped", -120, 1, 2},
        {"three notches toward wrap", -360, 1, 23},
        {"zero", 0, 0, 23},
        {"largest wheel word", 32767, 1, 8},    // 273 notches, 7 held back
        {"smallest wheel word", -32768, 1, 23}, // 273 notches, 8 held back
        {"the 8 and 112 more make a notch", -112, 1, 22},
    };
    for (const WheelStep& step : steps) {
        const unsigned long before = app.framesPresented;
        EXPECT_EQ(SendMessageA(app.window, WM_MOUSEWHEEL, wheel(step.delta), 0), 0) << step.name;
        EXPECT_EQ(app.framesPresented - before, step.frames) << step.name;
        EXPECT_EQ(board.cursorFret(), step.fret) << step.name;
        EXPECT_EQ(board.cursorString(), 5) << step.name;
    }
    EXPECT_TRUE(labelsFollowCursor(board));
    const int x = 22 * 42;
    EXPECT_GT(session.countShown(x + 7, 167, x + 34, 194, kOrange), 100) << "the last frame";
}

// Many small and large turns of both signs end where the rule, stated directly, says.
TEST(MainWindow, WheelSequenceEndsOnThePredictedFret) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    std::mt19937 random(20261208u);
    auto below = [&random](int n) { return static_cast<int>(random() % unsigned(n)); };
    WheelReference reference;
    int fret = board.cursorFret();
    unsigned long moved = 0;
    const unsigned long framesBefore = app.framesPresented;
    for (int i = 0; i < 3000; ++i) {
        const int sign = below(2) ? 1 : -1;
        const int pick = below(8);
        const int delta = pick < 5   ? sign * below(61)      // touchpad-sized, zero included
                          : pick < 7 ? sign * 120 * below(4) // ordinary and coalesced
                                     : below(65536) - 32768; // anything a word can say
        const int notches = reference.add(delta);
        fret = fretAfter(fret, notches);
        moved += notches != 0 ? 1 : 0;
        const unsigned long before = app.framesPresented;
        SendMessageA(app.window, WM_MOUSEWHEEL, wheel(delta), 0);
        ASSERT_EQ(app.framesPresented - before, notches != 0 ? 1u : 0u) << "message " << i;
        ASSERT_EQ(board.cursorFret(), fret) << "message " << i;
    }
    EXPECT_EQ(app.framesPresented - framesBefore, moved);
    EXPECT_GT(moved, 300u);
    EXPECT_LT(moved, 2700u) << "many messages stayed within a notch";
    EXPECT_EQ(board.cursorString(), 5);
    EXPECT_TRUE(labelsFollowCursor(board));
}

// The client area is exactly the board at the stored cell size, lowered only as far as the
// whole window must be to fit the work area; the window is the client area plus the frame this
// platform gives the main window's style, whatever its caption and menu bar measure. On the
// 1024 by 768 test desktop that is cell size 42: 1009 by 294 (inside 1015 by 338 with Wine 8's
// frame, 1015 by 345 with Wine 10's).
void expectWindowFitsTheScreen(std::int32_t storedCell) {
    RECT edges = {0, 0, 0, 0};
    ASSERT_TRUE(AdjustWindowRectEx(&edges, kMainWindowStyle | WS_CAPTION, TRUE, 0));
    const PixelSize frame = {edges.right - edges.left, edges.bottom - edges.top};
    RECT work = {};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const std::int32_t cell =
        fittingCellSize(storedCell, frame, {work.right - work.left, work.bottom - work.top});
    EXPECT_EQ(board.metrics().cellSize, cell);
    const PixelSize wanted = boardClientSize(cell);
    RECT client;
    GetClientRect(app.window, &client);
    EXPECT_EQ(client.right, wanted.width);
    EXPECT_EQ(client.bottom, wanted.height);
    RECT outer;
    GetWindowRect(app.window, &outer);
    EXPECT_EQ(outer.right - outer.left, wanted.width + frame.width);
    EXPECT_EQ(outer.bottom - outer.top, wanted.height + frame.height);
    EXPECT_EQ(outer.left, work.left) << "at the work area's corner";
    EXPECT_EQ(outer.top, work.top) << "at the work area's corner";
}

int bitmapWidth(HBITMAP bitmap) {
    BITMAP size = {};
    return GetObjectA(bitmap, sizeof(size), &size) != 0 ? size.bmWidth : -1;
}

// The whole board at cell size `cell`: the client area, the buffer and the markers all of
// its size, and a press landing on the cell drawn under it.
void expectWholeBoard(const ShellSession& session, std::int32_t cell, int string, int fret) {
    RECT client;
    GetClientRect(app.window, &client);
    EXPECT_EQ(client.right, boardClientSize(cell).width);
    EXPECT_EQ(client.bottom, boardClientSize(cell).height);
    EXPECT_EQ(board.metrics().cellSize, cell);
    EXPECT_EQ(bitmapWidth(app.back.bitmap()), boardClientSize(cell).width);
    EXPECT_EQ(bitmapWidth(painter.marker(1).bitmap()), 2 * cell / 3);
    EXPECT_TRUE(session.pressLandsOnItsCell(string, fret));
}

// The caption and menu bar of this process made taller, then as they were, as a change of
// text size or theme makes them: the metrics set, the frame recalculated, then the window
// told as each change tells it (WM_SETTINGCHANGE for the metrics, WM_THEMECHANGED).
// Whatever a test leaves, they are put back at the end.
class FrameMetrics {
  public:
    FrameMetrics() {
        original_.cbSize = sizeof(original_);
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(original_), &original_, 0);
    }
    ~FrameMetrics() { set(original_); }
    FrameMetrics(const FrameMetrics&) = delete;
    FrameMetrics& operator=(const FrameMetrics&) = delete;

    void grow(HWND window, int by, UINT told) const {
        NONCLIENTMETRICSA metrics = original_;
        metrics.iCaptionHeight += by;
        metrics.iMenuHeight += by;
        set(metrics);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (told == WM_SETTINGCHANGE) {
            SendMessageA(window, told, SPI_SETNONCLIENTMETRICS,
                         reinterpret_cast<LPARAM>("WindowMetrics"));
        } else {
            SendMessageA(window, told, 0, 0);
        }
    }

  private:
    static void set(NONCLIENTMETRICSA metrics) {
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    }
    NONCLIENTMETRICSA original_ = {};
};

// Started minimised, maximised or normal, the window shows the whole board (restored, for
// the first); then, whatever size another program asks for (maximising, an arranging
// tool's), it keeps the board's size, so the frame and the hit test stay the board's. It
// still moves, and none of it changes what is saved.
TEST(MainWindow, StartsAndSizesFromOutsideKeepTheBoard) {
    for (int show : {SW_SHOWMINNOACTIVE, SW_SHOWNOACTIVATE, SW_SHOWMAXIMIZED, SW_SHOWNORMAL}) {
        SCOPED_TRACE(show);
        ShellSession session("Width 1015\n", 0, show);
        ASSERT_TRUE(session.started());
        EXPECT_EQ(IsIconic(app.window) != FALSE, show == SW_SHOWMINNOACTIVE);
        EXPECT_EQ(IsZoomed(app.window) != FALSE, show == SW_SHOWMAXIMIZED);
        const bool activates = show != SW_SHOWMINNOACTIVE && show != SW_SHOWNOACTIVATE;
        EXPECT_EQ(GetActiveWindow() == app.window, activates)
            << "only a start that activates takes the keyboard";
        ShowWindow(app.window, SW_RESTORE);
        session.pump();
        expectWholeBoard(session, 42, 2, 9);
    }
    const FrameMetrics frame;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ShellSession session;
    const HBITMAP marker = painter.marker(1).bitmap();
    const LONG frameHeight = app.geometry.outer.height - app.geometry.client.height;
    const struct {
        const char* what;
        void (*act)(const FrameMetrics&, const RECT&);
        LONG x, y;   // where the window is after it (-1: anywhere)
        LONG taller; // how much taller the frame is than at the start
    } forced[] = {
        {"maximised", [](const FrameMetrics&, const RECT&) { ShowWindow(app.window, SW_MAXIMIZE); },
         0, 0, 0},
        {"restored", [](const FrameMetrics&, const RECT&) { ShowWindow(app.window, SW_RESTORE); },
         -1, -1, 0},
        {"maximised on a work area from (40, 30)",
         [](const FrameMetrics&, const RECT& work) {
             RECT shifted = {work.left + 40, work.top + 30, work.right, work.bottom};
             SystemParametersInfoA(SPI_SETWORKAREA, 0, &shifted, 0);
             ShowWindow(app.window, SW_MAXIMIZE);
         },
         40, 30, 0},
        {"restored on the whole work area",
         [](const FrameMetrics&, const RECT& work) {
             SystemParametersInfoA(SPI_SETWORKAREA, 0, const_cast<RECT*>(&work), 0);
             ShowWindow(app.window, SW_RESTORE);
         },
         -1, -1, 0},
        {"1300 x 700",
         [](const FrameMetrics&, const RECT&) {
             SetWindowPos(app.window, nullptr, 0, 0, 1300, 700, SWP_NOMOVE);
         },
         -1, -1, 0},
        {"caption and menu bar 12 taller",
         [](const FrameMetrics& frame, const RECT&) {
             frame.grow(app.window, 12, WM_SETTINGCHANGE);
         },
         -1, -1, 24},
        {"frame as it was, after a theme change",
         [](const FrameMetrics& frame, const RECT&) { frame.grow(app.window, 0, WM_THEMECHANGED); },
         -1, -1, 0},
        {"400 x 300, moved",
         [](const FrameMetrics&, const RECT&) {
             SetWindowPos(app.window, nullptr, 5, 7, 400, 300, 0);
         },
         5, 7, 0},
    };
    int row = 0;
    for (const auto& step : forced) {
        SCOPED_TRACE(step.what);
        step.act(frame, work);
        session.pump();
        expectWholeBoard(session, 42, row % kStringCount, 10 + row);
        ++row;
        RECT outer;
        GetWindowRect(app.window, &outer);
        if (step.x >= 0) {
            EXPECT_EQ(std::make_pair(outer.left, outer.top), std::make_pair(step.x, step.y));
        }
        EXPECT_EQ(outer.bottom - outer.top - app.geometry.client.height, frameHeight + step.taller);
    }
    EXPECT_EQ(painter.marker(1).bitmap(), marker) << "the markers were never remade";
    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(readAll(kSettingsFile), "Width 1015\r\n");
}

int iconWidth(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return -1;
    }
    const int width = bitmapWidth(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return width;
}

// How a change of scale reaches the window, in Windows' order: told alone; asked for the size
// first (WM_GETDPISCALEDSIZE), then told with a rectangle of the size answered; or told while
// minimised or maximised, then restored.
enum class Told { Alone, AfterAsking, Minimised, Maximised };

// The window moved to monitors of 150 % and 200 % and back, as the system tells it: the
// start's cell size times the new scale, the whole board at the place suggested (once
// restored, for a minimised or maximised window), the icons at the new scale's sizes, and the
// setting as it was. At 200 % the default board would be twice as wide as the 1024-wide
// screen: it is lowered to the largest whose window fits.
TEST(MainWindow, ScaleChangesRemakeTheBoardAtTheNewSize) {
    const ObjectCounts before = heldObjects();
    ShellSession session("Width 487\n");
    ASSERT_TRUE(session.started());
    ASSERT_EQ(app.dpi, 96u) << "the test display is at 100 %";
    const struct {
        int startCell;
        UINT dpi;
        std::int32_t cell; // 0: the largest that fits
        LONG x, y;
        Told told;
        bool refit = false; // the frame fitted again afterwards, at the new scale
    } steps[] = {{20, 144, 30, 40, 30, Told::Alone},      {20, 192, 40, 8, 16, Told::Alone},
                 {20, 96, 20, 0, 0, Told::Alone},         {42, 192, 0, 0, 0, Told::Alone},
                 {20, 144, 30, 24, 12, Told::Minimised},  {20, 96, 20, 30, 20, Told::Minimised},
                 {20, 144, 30, 16, 8, Told::Maximised},   {23, 96, 23, 16, 8, Told::AfterAsking},
                 {20, 192, 40, 0, 0, Told::AfterAsking},  {42, 192, 0, 0, 0, Told::AfterAsking},
                 {20, 144, 30, 40, 30, Told::Alone, true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message()
                     << step.dpi << " told " << int(step.told) << (step.refit ? ", refitted" : ""));
        app.startCell = step.startCell;
        RECT suggested = {step.x, step.y, step.x + 900, step.y + 500};
        if (step.told == Told::AfterAsking) {
            SIZE size = {900, 500};
            ASSERT_TRUE(SendMessageA(app.window, WM_GETDPISCALEDSIZE, step.dpi,
                                     reinterpret_cast<LPARAM>(&size)));
            suggested = {step.x, step.y, step.x + size.cx, step.y + size.cy};
        } else if (step.told != Told::Alone) {
            ShowWindow(app.window, step.told == Told::Minimised ? SW_MINIMIZE : SW_MAXIMIZE);
            session.pump();
        }
        const unsigned long frames = app.framesPresented;
        SendMessageA(app.window, WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(app.framesPresented, frames + 1) << "the new board shown at once";
        if (step.refit) {
            SendMessageA(app.window, WM_THEMECHANGED, 0, 0);
        }
        const std::int32_t cell = step.cell != 0 ? step.cell : app.geometry.cellSize;
        if (step.told == Told::Maximised) {
            expectWholeBoard(session, cell, 1, cell / 4);
        }
        if (step.told == Told::Minimised || step.told == Told::Maximised) {
            ShowWindow(app.window, SW_RESTORE);
            session.pump();
        }
        expectWholeBoard(session, cell, 5, cell / 5);
        RECT outer, client, work;
        GetWindowRect(app.window, &outer);
        GetClientRect(app.window, &client);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(std::make_pair(outer.left, outer.top), std::make_pair(step.x, step.y));
        if (step.told == Told::AfterAsking && step.dpi == 96) {
            // At the display's scale the frame measured is the frame drawn: the window lands
            // exactly on the rectangle placed for the size answered.
            EXPECT_EQ(outer.right, suggested.right);
            EXPECT_EQ(outer.bottom, suggested.bottom);
        }
        EXPECT_LE(outer.right - outer.left, work.right - work.left);
        const LONG frameWidth = outer.right - outer.left - client.right;
        EXPECT_EQ(boardClientSize(cell + 1).width + frameWidth > work.right - work.left,
                  step.cell == 0)
            << "the largest that fits, when lowered";
        const LRESULT icon = SendMessageA(app.window, WM_GETICON, ICON_SMALL, 0);
        EXPECT_EQ(iconWidth(reinterpret_cast<HICON>(icon)),
                  GetSystemMetrics(SM_CXSMICON) * static_cast<int>(step.dpi) / 96);
    }
    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(heldObjects(), before) << "each marker and buffer made anew was released once";
    EXPECT_EQ(readAll(kSettingsFile), "Width 487\r\n") << "a scale change saves nothing new";
}

TEST(MainWindow, PresentedFrameIsOnTheWindow) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    expectWindowFitsTheScreen(42);

    SendMessageA(app.window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_GT(session.countShown(7, 167, 34, 194, kOrange), 100); // root at (5, 0)
    EXPECT_EQ(session.shown(3, 21), kGrey);
    EXPECT_EQ(session.shown(1004, 10), kWhite); // between the last marker and fret line

    SendMessageA(app.window, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(session.countShown(7, 167, 34, 194, kOrange), 0);
    EXPECT_GT(session.countShown(42 + 7, 167, 42 + 34, 194, kOrange), 100);
}

TEST(MainWindow, MinimiseAndRestoreBringTheBoardBack) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    SendMessageA(app.window, WM_KEYDOWN, VK_UP, 0);
    const ObjectCounts held = heldObjects();
    const Fretboard before = board;
    const HBITMAP image = painter.marker(1).bitmap();
    BITMAP size = {};
    ASSERT_NE(GetObjectA(image, sizeof(size), &size), 0);
    EXPECT_EQ(size.bmWidth, 28);

    ShowWindow(app.window, SW_MINIMIZE);
    session.pump();
    EXPECT_EQ(board.metrics().cellSize, 0);
    EXPECT_EQ(app.recorded.right, 0);
    SendMessageA(app.window, WM_KEYDOWN, VK_DOWN, 0); // presses while minimised paint nothing
    SendMessageA(app.window, WM_KEYDOWN, VK_UP, 0);
    ShowWindow(app.window, SW_RESTORE);
    session.pump();

    EXPECT_EQ(board.metrics().cellSize, 42);
    EXPECT_EQ(app.recorded.right, 1009);
    EXPECT_EQ(app.recorded.bottom, 294);
    EXPECT_EQ(painter.marker(1).bitmap(), image) << "markers are never recreated";
    ASSERT_NE(GetObjectA(image, sizeof(size), &size), 0);
    EXPECT_EQ(size.bmWidth, 28);
    for (int s = 0; s < kStringCount; ++s) {
        for (int f = 0; f < kFretCount; ++f) {
            EXPECT_EQ(board.label(s, f), before.label(s, f));
        }
    }
    SendMessageA(app.window, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(app.window, WM_KEYDOWN, VK_UP, 0);
    EXPECT_GT(session.countShown(7, 4 * 32 + 7, 34, 4 * 32 + 34, kOrange), 100);
    RedrawWindow(app.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); // a paint
    EXPECT_EQ(heldObjects(), held) << "frames and paints keep nothing";
}

TEST(MainWindow, CloseSavesReleasesAndQuitsWithZero) {
    const ObjectCounts before = heldObjects();
    ShellSession session;
    ASSERT_TRUE(session.started());
    if (kCountsEachObject) {
        // The window, its surface, and a surface with a bitmap selected into it for the buffer
        // and each marker; nothing else: the screen's surface went back at once.
        ObjectCounts expected = before;
        expected[kWindows] += 1;
        expected[kWindowSurfaces] += 1;
        for (HeldKind kind : {kMemorySurfaces, kGdiObjects, kSelections}) {
            expected[kind] += kMarkerCount + 1;
        }
        EXPECT_EQ(heldObjects(), expected);
    }
    const HDC back = app.back.surface();
    const HBITMAP bitmap = app.back.bitmap();
    const HBITMAP marker = painter.marker(5).bitmap();
    DeleteFileA(kSettingsFile);
    SendMessageA(app.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(readAll(kSettingsFile), "Width 1015\r\n");
    DeleteFileA(kSettingsFile);

    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(heldObjects(), before) << "everything made was released once";
    EXPECT_EQ(readAll(kSettingsFile), "") << "the passes after the first write nothing";
    EXPECT_EQ(GetObjectType(back), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(marker), 0u);
    EXPECT_EQ(app.windowSurface, nullptr);
    EXPECT_EQ(app.back.surface(), nullptr);
    const unsigned long frames = app.framesPresented;
    presentFrame(); // no buffer any more: nothing to show
    EXPECT_EQ(app.framesPresented, frames);
    shutdownWindow(); // a third pass is as harmless as the second
    EXPECT_EQ(heldObjects(), before);

    ShellSession destroyed; // without a close message: the destroy notification does it all
    ASSERT_TRUE(destroyed.started());
    DeleteFileA(kSettingsFile);
    DestroyWindow(app.window);
    EXPECT_EQ(heldObjects(), before);
    EXPECT_EQ(readAll(kSettingsFile), "Width 1015\r\n");
}

// A stored width too wide for the screen is shown at the largest cell size whose window
// fits (42 on the 1024x768 test desktop) and saved as it was read.
TEST(MainWindow, HugeStoredWidthIsShownAtTheSizeThatFits) {
    ShellSession session("Width 100000\n");
    ASSERT_TRUE(session.started());
    expectWindowFitsTheScreen(4166); // (100000 - 6) / 24
    const std::int32_t cell = board.metrics().cellSize;
    EXPECT_LT(cell, 4166);
    // Where the platform cannot tell the monitor's work area, the primary one's is fitted to.
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(app.window, GWL_STYLE));
    const WindowGeometry unknown = geometryAt(style, {4166, 96}, 96, nullptr);
    EXPECT_EQ(unknown.cellSize, cell);
    EXPECT_EQ(unknown.outer.width,
              geometryAt(style, {4166, 96}, 96, MonitorFromWindow(app.window, 0)).outer.width);
    BITMAP picture = {};
    ASSERT_NE(GetObjectA(painter.marker(1).bitmap(), sizeof(picture), &picture), 0);
    EXPECT_EQ(picture.bmWidth, 2 * cell / 3); // two thirds of the cell it fits
    BITMAP buffer = {};
    ASSERT_NE(GetObjectA(app.back.bitmap(), sizeof(buffer), &buffer), 0);
    EXPECT_EQ(buffer.bmWidth, boardClientSize(cell).width);
    EXPECT_EQ(buffer.bmHeight, boardClientSize(cell).height);
    const unsigned long before = app.framesPresented;
    SendMessageA(app.window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(app.framesPresented, before + 1);
    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(readAll(kSettingsFile), "Width 99991\r\n"); // as read, not as shown
}

// Scroll bars are something the platform's size adjustment leaves out, as it leaves out a
// menu bar that wraps: the window is made at the adjusted size, whose client area is a scroll
// bar short across, down or both (992 by 277 with both), and then corrected to the board's
// exact client area, also when only one side was off. Made visible, the window gets a size
// notification at the first size already; the markers are still made once, for the corrected
// cell size (42, not 41).
TEST(MainWindow, ClientAreaTheAdjustmentMissesIsCorrected) {
    const DWORD style =
        WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
    for (DWORD bars : {WS_VSCROLL | WS_HSCROLL, WS_VSCROLL, WS_HSCROLL}) {
        SCOPED_TRACE(::testing::Message() << "scroll bar style " << std::hex << bars);
        ShellSession session("Width 1015\n", style | bars);
        ASSERT_TRUE(session.started());
        RECT client;
        GetClientRect(app.window, &client);
        EXPECT_EQ(client.right, 1009);
        EXPECT_EQ(client.bottom, 294);
        EXPECT_EQ(app.recorded.right, 1009);
        EXPECT_EQ(app.recorded.bottom, 294);
        EXPECT_EQ(board.metrics().cellSize, 42);
        EXPECT_EQ(board.metrics().clientHeight, 294);
        const HBITMAP first = painter.marker(1).bitmap();
        BITMAP picture = {};
        ASSERT_NE(GetObjectA(first, sizeof(picture), &picture), 0);
        EXPECT_EQ(picture.bmWidth, 28);
        BITMAP buffer = {};
        ASSERT_NE(GetObjectA(app.back.bitmap(), sizeof(buffer), &buffer), 0);
        EXPECT_EQ(buffer.bmWidth, 1009);
        EXPECT_EQ(buffer.bmHeight, 294);
        SendMessageA(app.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1009, 294));
        EXPECT_EQ(painter.marker(1).bitmap(), first) << "made once";

        EXPECT_EQ(session.close(), 0);
        EXPECT_EQ(GetObjectType(first), 0u) << "released at shut-down";
    }
}

// A platform that will not make a window smaller than 120 by 60, whatever the window asks
// (Windows raises a tiny captioned window to its smallest): the program's own limits, then
// that floor on top, from the window's creation on.
constexpr POINT kSmallest = {120, 60};
WNDPROC programProc = nullptr;

LRESULT CALLBACK flooredProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(programProc, window, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        for (POINT* limit : {&limits->ptMinTrackSize, &limits->ptMaxTrackSize}) {
            limit->x = std::max(limit->x, kSmallest.x);
            limit->y = std::max(limit->y, kSmallest.y);
        }
    }
    return result;
}

LRESULT CALLBACK floorNewWindows(int code, WPARAM wParam, LPARAM lParam) {
    char name[32] = {};
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && GetClassNameA(window, name, sizeof(name)) &&
        std::string(name) == "Modalscope") {
        programProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(flooredProc)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A tiny board's window (a 7 by 44 ask) that the platform raises to its smallest: the size
// asked again once, then the size it got kept, so the limits the program gives from then on
// are the window's real size and not the refused one.
TEST(MainWindow, TinyBoardKeepsTheSizeThePlatformGave) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, floorNewWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ShellSession session("Width 5\n");
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(session.started());
    ASSERT_NE(programProc, nullptr);
    RECT outer;
    GetWindowRect(app.window, &outer);
    EXPECT_EQ(std::make_pair(outer.right - outer.left, outer.bottom - outer.top),
              std::make_pair(kSmallest.x, kSmallest.y));
    SetWindowLongPtrA(app.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(programProc));
    MINMAXINFO limits = {};
    SendMessageA(app.window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(std::make_pair(limits.ptMaxTrackSize.x, limits.ptMaxTrackSize.y),
              std::make_pair(kSmallest.x, kSmallest.y));
    EXPECT_EQ(session.close(), 0);
    EXPECT_EQ(readAll(kSettingsFile), "Width 7\r\n");
}

// The whole program in a folder of its own, from constructed statics.
class ProgramFolder {
  public:
    ProgramFolder() {
        app = AppWindow();
        painter = BoardPainter();
    }

  private:
    WorkFolder folder_{"program"};
};

void CALLBACK closeProgram(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SendMessageA(FindWindowA("Modalscope", nullptr), WM_CLOSE, 0, 0);
}

TEST(Program, NormalRunEndsWithZeroSavesAndUnregisters) {
    ProgramFolder folder;
    const ObjectCounts before = heldObjects();
    SetTimer(nullptr, 0, 300, closeProgram); // fires inside the program's own loop
    EXPECT_EQ(runProgram(GetModuleHandleA(nullptr)), 0);
    EXPECT_EQ(heldObjects(), before);
    EXPECT_EQ(readAll(kSettingsFile), "Width 1015\r\n");
    EXPECT_GT(app.framesPresented, 0u);
    EXPECT_FALSE(IsWindow(app.window));
    WNDCLASSA probe = {};
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "Modalscope", &probe))
        << "the class is unregistered at the end";
}

TEST(Program, FailedRegistrationEndsWithOneAndNoWindow) {
    ProgramFolder folder;
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "Modalscope";
    ASSERT_NE(RegisterClassA(&taken), 0);
    EXPECT_EQ(runProgram(GetModuleHandleA(nullptr)), 1);
    EXPECT_EQ(app.window, nullptr);
    EXPECT_EQ(FindWindowA("Modalscope", nullptr), nullptr);
    EXPECT_EQ(readAll(kSettingsFile), "") << "nothing was shut down, so nothing is written";
    UnregisterClassA("Modalscope", GetModuleHandleA(nullptr));
}

} // namespace
} // namespace modalscope::testing
