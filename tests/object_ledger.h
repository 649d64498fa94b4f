// What the test process holds of the GDI and USER objects it made. Under MinGW every call that
// makes or releases one is counted (tests/object_ledger.cpp, wrapped in at link time into the
// tests that link it); elsewhere the system's own per-process counts stand in. Wine's
// GetGuiResources always answers 0, so only the ledger can tell a leak there.
#pragma once

#include <array>

namespace modalscope::testing {

enum HeldKind {
    kWindowSurfaces, // GetDC not yet matched by ReleaseDC
    kPaints,         // BeginPaint not yet matched by EndPaint
    kMemorySurfaces, // CreateCompatibleDC not yet deleted
    kGdiObjects,     // pens, brushes and bitmaps made and not yet deleted
    kSelections,     // surfaces holding a selected object in place of their own
    kWindows,        // made and not yet destroyed
    kIcons,          // loaded unshared and not yet destroyed
    // Releases of what was not held (a second release, or a handle never made here),
    // deleting an object still selected, and surfaces released with an object selected.
    kFaults,
    kHeldKinds
};
using ObjectCounts = std::array<int, kHeldKinds>;

ObjectCounts heldObjects();
// True when heldObjects() counts each kind; false where it gives only the system's totals.
#if defined(__MINGW32__)
constexpr bool kCountsEachObject = true;
#else
constexpr bool kCountsEachObject = false;
#endif

} // namespace modalscope::testing
