// The main window, its back buffer and the message loop.
#pragma once

#include <windows.h>

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
    // Wheel travel short of a notch. It is input state of the window, not of the board:
    // a new root (space) keeps it, and it starts empty with the process.
    WheelNotches wheel;
    // Frames shown so far; lets tests and benchmarks see what an input cost.
    unsigned long framesPresented = 0;
};

// The entry function's work; returns the exit code.
int runProgram(HINSTANCE instance);
bool registerMainClass(HINSTANCE instance);
void unregisterMainClass(HINSTANCE instance);
bool createMainWindow(const char* title, DWORD style, HINSTANCE instance);
void presentFrame();
void shutdownWindow();
int runMessageLoop();
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace modalscope
