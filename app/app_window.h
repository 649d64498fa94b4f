// The main window, its back buffer and the message loop.
#pragma once

#include <windows.h>

#include "app/window_icons.h"
#include "model/wheel_notches.h"
#include "render/memory_surface.h"

namespace modalscope {

// The shell's state, held for the life of the process.
struct AppWindow {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    RECT recorded = {};
    HDC windowSurface = nullptr;
    // The back buffer: its surface, its bitmap and what the surface held before.
    MemorySurface back;
    HDC paintSurface = nullptr;
    // Set once the width is saved: the shut-down runs again on the destroy notification,
    // and one exit writes the file once.
    bool settingsSaved = false;
    // True while createMainWindow sets the window's size.
    bool sizing = false;
    // The outer size the program gave the window, which it keeps whatever another program
    // asks (maximising, arranging tools); empty until the window has its first size.
    SIZE kept = {};
    // The cell size and pixels per inch at start, from which a change of scale is measured,
    // and the window's pixels per inch now.
    int startCell = 0;
    UINT startDpi = 96;
    UINT dpi = 96;
    // Icons at the current scale, once it is not the start's.
    WindowIcons icons;
    // Wheel travel short of a notch. It is input state of the window, not of the board:
    // a new root (space) keeps it, and it starts empty with the process.
    WheelNotches wheel;
    // Frames shown so far; lets tests and benchmarks see what an input cost.
    unsigned long framesPresented = 0;
};

// The entry function's work; returns the exit code.
// `show` is the entry function's show command, which the first showing follows.
int runProgram(HINSTANCE instance, int show = SW_SHOWNORMAL);
bool registerMainClass(HINSTANCE instance);
void unregisterMainClass(HINSTANCE instance);
bool createMainWindow(const char* title, DWORD style, HINSTANCE instance,
                      int show = SW_SHOWNORMAL);
// Gives the window an outer size it then keeps; `x` and `y` move it too unless `flags`
// says SWP_NOMOVE.
void setKeptSize(HWND window, int x, int y, int width, int height, UINT flags);
// The window moved to a monitor of another scale: the board at the start's size scaled to
// `dpi`, as far as the monitor's work area allows, at the suggested place.
void changeScale(HWND window, UINT dpi, const RECT& suggested);
void presentFrame();
void shutdownWindow();
int runMessageLoop();
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace modalscope
