// What the test process holds of the GDI and USER objects it made. Under MinGW every call that
// makes or releases one is counted (tests/object_ledger.cpp, wrapped in at link time into the
// tests that link it); elsewhere the system's own per-process counts stand in. Wine's
// GetGuiResources always answers 0, so only the ledger can tell a leak there.
#pragma once

#include <windows.h>

#include <ostream>

namespace modalscope::testing {

struct ObjectCounts {
    int windowSurfaces = 0; // GetDC not yet matched by ReleaseDC
    int paints = 0;         // BeginPaint not yet matched by EndPaint
    int memorySurfaces = 0; // CreateCompatibleDC not yet deleted
    int gdiObjects = 0;     // pens, brushes and bitmaps made and not yet deleted
    int selections = 0;     // surfaces holding a selected object in place of their own
    int windows = 0;        // made and still there
    int classes = 0;        // registered and not yet unregistered
    // Releases of what was not held (a second release, or a handle never made here),
    // deleting an object still selected, and surfaces released with an object selected.
    int faults = 0;

    bool operator==(const ObjectCounts& other) const;
};

ObjectCounts heldObjects();
// True when heldObjects() counts each object by kind; false where it gives the system's totals.
#if defined(__MINGW32__)
constexpr bool kCountsEachObject = true;
#else
constexpr bool kCountsEachObject = false;
#endif
std::ostream& operator<<(std::ostream& out, const ObjectCounts& counts);

} // namespace modalscope::testing
