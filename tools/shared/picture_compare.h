// Reads a surface's pixels back: the frame benchmark shows with it that the program and the
// bare loop drew the same picture before it times them, and the marker sheet tool takes the
// markers' pixels with it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace modalscope::bench {

// The top-left width-by-height pixels of `surface` as 0x00RRGGBB, row by row; empty if
// the copy could not be made.
std::vector<std::uint32_t> readPixels(HDC surface, int width, int height);

} // namespace modalscope::bench
