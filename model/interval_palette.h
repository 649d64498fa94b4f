// Which intervals are shown, and under which of their two spellings.
#pragma once

#include <cstdint>

namespace modalscope {

constexpr int kIntervalCount = 12;

// Names one of the twenty marker pictures; 0 means no marker.
using MarkerId = std::int32_t;

constexpr int kMarkerCount = 20;

struct MarkerSlot {
    MarkerId marker = 0;
    bool visible = true;
};

// Slot k belongs to the interval of k semitones above the root (label k + 1).
// The alternate row's visible flags are never consulted.
struct IntervalPalette {
    MarkerSlot current[kIntervalCount];
    MarkerSlot alternate[kIntervalCount];

    // Default current and alternate marker of slot k (alternate 0 where there is none).
    static MarkerId defaultMarker(int slot);
    static MarkerId defaultAlternate(int slot);
};

} // namespace modalscope
