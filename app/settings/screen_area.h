// What the primary screen leaves for the main window, asked of the platform; false when the
// query fails. Host tests answer it themselves (tests/fake_screen_width.h).
#pragma once

#include "app/settings/window_fit.h"

namespace modalscope {

// The primary monitor's work area: the screen less the task bar and docked bars, which
// may stand at the top or the left.
bool queryWorkArea(WorkArea& area);

// Where the window opens: the work area's top-left corner, clear of a task bar at the top or
// the left; the screen's corner when the work area is unknown.
inline PixelPoint openingCorner() {
    WorkArea area;
    return queryWorkArea(area) ? area.origin : PixelPoint{};
}

} // namespace modalscope
