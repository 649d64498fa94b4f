// The per-monitor scaling calls of newer Windows, looked up at run time so the program
// still starts where they are missing (Windows 7 and 8), with the system-wide answer then.
#pragma once

#include <windows.h>

namespace modalscope {

constexpr UINT kStandardDpi = 96;

// The window's pixels per inch: its monitor's where the system says, else the display's.
UINT windowDpi(HWND window);

// Grows a client rectangle to the window rectangle for `style` with the class menu, with
// the frame and menu bar measured at `dpi`.
bool outerFromClientForDpi(RECT& rect, DWORD style, UINT dpi);

// A system metric (icon sizes, for one) at `dpi`.
int systemMetricForDpi(int index, UINT dpi);

} // namespace modalscope
