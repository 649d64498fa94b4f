// What the primary screen leaves for the main window, asked of the platform; false when a
// query fails. Host tests answer these themselves (tests/fake_screen_width.h).
#pragma once

#include "app/window_fit.h"

namespace modalscope {
// The primary monitor's work area: the screen less the task bar and docked bars, which
// may stand at the top or the left.
bool queryWorkArea(WorkArea& area);
// What the main window's caption, menu bar and border add to its client area.
bool queryWindowFrame(PixelSize& frame);
} // namespace modalscope
