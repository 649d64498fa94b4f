// Which picture each marker id shows, and which frets carry the inlay dots: one table for the
// painter and for anything that must draw exactly its picture (the benchmarks' bare loop).
#pragma once

#include "model/interval_palette.h"
#include "resource.h"

namespace modalscope {

// The 176-pixel picture of each marker id 1..20, from which every size is reduced.
constexpr int kMarkerPictures[kMarkerCount] = {
    IDB_MARKER_LARGE_1,  IDB_MARKER_LARGE_2,  IDB_MARKER_LARGE_3,  IDB_MARKER_LARGE_4,
    IDB_MARKER_LARGE_5,  IDB_MARKER_LARGE_6,  IDB_MARKER_LARGE_7,  IDB_MARKER_LARGE_8,
    IDB_MARKER_LARGE_9,  IDB_MARKER_LARGE_10, IDB_MARKER_LARGE_11, IDB_MARKER_LARGE_12,
    IDB_MARKER_LARGE_13, IDB_MARKER_LARGE_14, IDB_MARKER_LARGE_15, IDB_MARKER_LARGE_16,
    IDB_MARKER_LARGE_17, IDB_MARKER_LARGE_18, IDB_MARKER_LARGE_19, IDB_MARKER_LARGE_20,
};

// The inlay dots' pictures, drawn under the neck; no interval uses them.
constexpr MarkerId kSingleInlayMarker = 19;
constexpr MarkerId kDoubleInlayMarker = 20;
constexpr int kSingleInlayFrets[] = {2, 4, 6, 8, 14, 16, 18, 20};
constexpr int kDoubleInlayFrets[] = {11, 23};

} // namespace modalscope
