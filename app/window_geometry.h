// The main window sized around the board at any scale, frame and show state: one geometry,
// computed in one place, given to the window in one place.
#pragma once

#include <windows.h>

#include "app/settings/window_fit.h"

namespace modalscope {

// The window of `style` at `dpi` on `monitor`: the start's board at `dpi`, in the frame the
// style has at `dpi`, fitted to the monitor's work area (fitWindow), or to the primary
// monitor's where the monitor's is not known (null); unfitted only when neither is.
WindowGeometry geometryAt(DWORD style, StartScale start, UINT dpi, HMONITOR monitor);

// Gives the window `geometry` with its top-left corner at `corner` (or where it is, with
// SWP_NOMOVE): the outer size, corrected once if the client area came out otherwise, then
// the board, its markers and its buffer made for it. A minimised or maximised window gets it
// as its restored placement too, so that a restore shows the whole board.
void applyGeometry(HWND window, const WindowGeometry& geometry, POINT corner, UINT flags);

// The outer size that a change to `dpi` will give the window (WM_GETDPISCALEDSIZE).
SIZE scaledSize(HWND window, UINT dpi);

// The window moved to a monitor of another scale, or its monitor's scale changed
// (WM_DPICHANGED): the board at the start's size scaled to `dpi`, as far as the work area
// of the monitor it lands on allows, at the suggested place; the size answered before, if it
// was asked and fits that monitor.
void changeScale(HWND window, UINT dpi, const RECT& suggested);

// The frame's metrics or the theme changed: the outer size fitted again around the board.
void refitFrame(HWND window);

// Shown again after a change made while minimised: the restored frame is the platform's,
// and if its client area is not the board, the outer size is corrected once.
void checkRestoredClient(HWND window);

} // namespace modalscope
