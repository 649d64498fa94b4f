// Host builds have no display to ask; tests choose what the query answers.
#pragma once

namespace modalscope::testing {
void setFakeScreenWidth(bool succeeds, int width);
}
