// The per-monitor scaling calls of newer Windows, looked up at run time so the program
// still starts where they are missing (Windows 7 and 8), with the system-wide answer then.
#pragma once

#include <windows.h>

#include "app/settings/window_fit.h"

namespace modalscope {

// The display's pixels per inch: the one scale of the whole desktop, at which the system
// metrics and the class's icons are measured.
UINT displayDpi();

// The window's pixels per inch: its monitor's where the system says, else the display's.
UINT windowDpi(HWND window);

// What the frame of a window of `style` with the class menu adds on each side of its client
// area at `dpi`; the classic frame (kClassicFrame) if it cannot be measured.
FrameEdges frameAtDpi(DWORD style, UINT dpi);

// A system metric (icon sizes, for one) at `dpi`.
int systemMetricForDpi(int index, UINT dpi);

} // namespace modalscope
