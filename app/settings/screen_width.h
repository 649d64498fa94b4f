// The current display mode's horizontal resolution; false when the query fails.
#pragma once

namespace modalscope {
bool queryScreenWidth(int& width);
}
