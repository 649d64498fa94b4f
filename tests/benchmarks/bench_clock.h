// The benchmarks' one clock under Windows: the performance counter, in milliseconds.
#pragma once

#include <windows.h>

namespace modalscope::bench {

inline double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e3;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

} // namespace modalscope::bench
