// Host builds have no display to ask; tests choose what the screen queries answer. Until a
// test says otherwise the work area is unknown, so nothing is fitted to it.
#pragma once

namespace modalscope::testing {
void setFakeScreenWidth(bool succeeds, int width);
void setFakeWorkArea(bool succeeds, int width, int height, int left = 0, int top = 0);
// What the window's caption, menu bar and border add; 6 by 44 until set.
void setFakeWindowFrame(bool succeeds, int width, int height);
} // namespace modalscope::testing
