// The main window, its back buffer and the message loop.
#pragma once

#include <windows.h>

#include "app/settings/window_fit.h"
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
    // True while the program sets the window's size: size notifications then only record it,
    // and the board is laid out once the size has settled.
    bool sizing = false;
    // The window's geometry now: the board, exactly the client area, and the outer size the
    // window has around it (the board plus the frame, or what the system raised a tiny
    // board's window to). Whatever size another program asks for, the window keeps this one.
    WindowGeometry geometry;
    // The cell size and pixels per inch at start, from which every other scale is measured,
    // and the window's pixels per inch now.
    std::int32_t startCell = 0;
    UINT startDpi = kStandardDpi;
    UINT dpi = kStandardDpi;
    // The scale last asked about before a change (WM_GETDPISCALEDSIZE) and the geometry
    // answered, which the change that follows sets as it is; 0 when none is pending.
    UINT answeredDpi = 0;
    WindowGeometry answered;
    // Set by a change made while minimised, when there was no client area to check: the
    // restored one is checked once the window is shown again.
    bool checkClient = false;
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
bool createMainWindow(const char* title, DWORD style, HINSTANCE instance, int show = SW_SHOWNORMAL);
void presentFrame();
void shutdownWindow();
int runMessageLoop();
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace modalscope
