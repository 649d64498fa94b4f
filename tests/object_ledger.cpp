#include "tests/object_ledger.h"

#include <windows.h>

#include <iterator>
#include <map>
#include <utility>

namespace modalscope::testing {

#if defined(__MINGW32__)

// MinGW code calls the system through the import pointers __imp_<name>. The tests that link
// this file are linked with --wrap=__imp_<name> for each name below (tests/CMakeLists.txt), so
// their calls and the program's reach counted<name>, which calls on through __real___imp_.
#define LEDGER_IMPORT(name)                                                                        \
    extern "C" decltype(&name) __real___imp_##name;                                                \
    extern "C" decltype(&name) __wrap___imp_##name;
// clang-format off
#define LEDGER_CALLS(X) X(GetDC) X(ReleaseDC) X(BeginPaint) X(EndPaint) X(CreateCompatibleDC) \
    X(DeleteDC) X(CreateCompatibleBitmap) X(CreateDIBSection) X(CreatePen) X(CreateSolidBrush) X(LoadImageA) \
    X(DeleteObject) X(SelectObject) X(CreateWindowExA) X(DestroyWindow) X(DestroyIcon) X(GetIconInfo)
// clang-format on
LEDGER_CALLS(LEDGER_IMPORT)
#define REAL(name) __real___imp_##name

namespace {

struct Ledger {
    // How many times each (kind, handle) is held now.
    std::map<std::pair<HeldKind, const void*>, int> held;
    // (surface, object type) -> (the surface's own object, the one selected in its place)
    std::map<std::pair<HDC, DWORD>, std::pair<HGDIOBJ, HGDIOBJ>> selections;
    int faults = 0;
};

Ledger& ledger() {
    static Ledger instance;
    return instance;
}

template <typename Handle> Handle made(HeldKind kind, Handle handle) {
    if (handle != nullptr) {
        ++ledger().held[{kind, handle}];
    }
    return handle;
}

void released(HeldKind kind, const void* handle) {
    Ledger& l = ledger();
    const auto found = l.held.find({kind, handle});
    if (found == l.held.end()) {
        ++l.faults;
    } else if (--found->second == 0) {
        l.held.erase(found);
    }
}

// A surface must have its own objects back before it is released.
void surfaceReleased(HeldKind kind, HDC surface) {
    released(kind, surface);
    Ledger& l = ledger();
    for (auto it = l.selections.begin(); it != l.selections.end();) {
        const bool left = it->first.first == surface;
        l.faults += left ? 1 : 0;
        it = left ? l.selections.erase(it) : std::next(it);
    }
}

HDC WINAPI countedGetDC(HWND window) {
    return made(kWindowSurfaces, REAL(GetDC)(window));
}

int WINAPI countedReleaseDC(HWND window, HDC surface) {
    surfaceReleased(kWindowSurfaces, surface);
    return REAL(ReleaseDC)(window, surface);
}

HDC WINAPI countedBeginPaint(HWND window, PAINTSTRUCT* paint) {
    const HDC surface = REAL(BeginPaint)(window, paint);
    made(kPaints, surface != nullptr ? window : nullptr);
    return surface;
}

BOOL WINAPI countedEndPaint(HWND window, const PAINTSTRUCT* paint) {
    released(kPaints, window);
    return REAL(EndPaint)(window, paint);
}

HDC WINAPI countedCreateCompatibleDC(HDC reference) {
    return made(kMemorySurfaces, REAL(CreateCompatibleDC)(reference));
}

BOOL WINAPI countedDeleteDC(HDC surface) {
    surfaceReleased(kMemorySurfaces, surface);
    return REAL(DeleteDC)(surface);
}

HBITMAP WINAPI countedCreateCompatibleBitmap(HDC reference, int width, int height) {
    return made(kGdiObjects, REAL(CreateCompatibleBitmap)(reference, width, height));
}

HBITMAP WINAPI countedCreateDIBSection(HDC reference, const BITMAPINFO* info, UINT usage,
                                       void** bits, HANDLE section, DWORD offset) {
    return made(kGdiObjects, REAL(CreateDIBSection)(reference, info, usage, bits, section, offset));
}

HPEN WINAPI countedCreatePen(int style, int width, COLORREF colour) {
    return made(kGdiObjects, REAL(CreatePen)(style, width, colour));
}

HBRUSH WINAPI countedCreateSolidBrush(COLORREF colour) {
    return made(kGdiObjects, REAL(CreateSolidBrush)(colour));
}

HANDLE WINAPI countedLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                                UINT flags) {
    const HANDLE image = REAL(LoadImageA)(instance, name, type, width, height, flags);
    // A shared image belongs to the system; cursors are not made here.
    if ((flags & LR_SHARED) != 0 || (type != IMAGE_BITMAP && type != IMAGE_ICON)) {
        return image;
    }
    return made(type == IMAGE_ICON ? kIcons : kGdiObjects, image);
}

BOOL WINAPI countedDestroyIcon(HICON icon) {
    released(kIcons, icon);
    return REAL(DestroyIcon)(icon);
}

// Hands out a copy of the icon's two bitmaps, which the caller deletes.
BOOL WINAPI countedGetIconInfo(HICON icon, PICONINFO info) {
    const BOOL got = REAL(GetIconInfo)(icon, info);
    if (got) {
        made(kGdiObjects, info->hbmColor);
        made(kGdiObjects, info->hbmMask);
    }
    return got;
}

BOOL WINAPI countedDeleteObject(HGDIOBJ object) {
    released(kGdiObjects, object);
    for (const auto& selection : ledger().selections) {
        ledger().faults += selection.second.second == object ? 1 : 0;
    }
    return REAL(DeleteObject)(object);
}

HGDIOBJ WINAPI countedSelectObject(HDC surface, HGDIOBJ object) {
    const HGDIOBJ previous = REAL(SelectObject)(surface, object);
    const DWORD type = GetObjectType(object);
    if (previous == nullptr || previous == HGDI_ERROR || type == OBJ_REGION) {
        return previous; // nothing selected (a region is copied, not selected)
    }
    auto& selections = ledger().selections;
    const auto found = selections.find({surface, type});
    if (found == selections.end()) {
        if (previous != object) {
            selections[{surface, type}] = {previous, object};
        }
    } else if (object == found->second.first) {
        selections.erase(found); // the surface has its own object back
    } else {
        found->second.second = object;
    }
    return previous;
}

HWND WINAPI countedCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style,
                                   int x, int y, int width, int height, HWND parent, HMENU menu,
                                   HINSTANCE instance, LPVOID parameter) {
    return made(kWindows, REAL(CreateWindowExA)(exStyle, className, title, style, x, y, width,
                                                height, parent, menu, instance, parameter));
}

BOOL WINAPI countedDestroyWindow(HWND window) {
    released(kWindows, window);
    return REAL(DestroyWindow)(window);
}

} // namespace

// Declared with C linkage above.
#define LEDGER_WRAP(name) decltype(&name) __wrap___imp_##name = counted##name;
LEDGER_CALLS(LEDGER_WRAP)

ObjectCounts heldObjects() {
    const Ledger& l = ledger();
    ObjectCounts counts = {};
    for (const auto& entry : l.held) {
        counts[entry.first.first] += entry.second;
    }
    counts[kSelections] = static_cast<int>(l.selections.size());
    counts[kFaults] = l.faults;
    return counts;
}

#else

// Without the ledger, the system's own counts: real on Windows.
ObjectCounts heldObjects() {
    ObjectCounts counts = {};
    counts[kGdiObjects] = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    counts[kWindows] = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    return counts;
}

#endif

} // namespace modalscope::testing
