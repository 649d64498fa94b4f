// Host builds have no display to ask; tests choose what the screen queries answer. Until a
// test says otherwise the work area is unknown.
#pragma once

namespace modalscope::testing {
void setFakeScreenWidth(bool succeeds, int width);
void setFakeWorkArea(bool succeeds, int width, int height, int left = 0, int top = 0);
} // namespace modalscope::testing
