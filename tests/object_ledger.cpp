#include "tests/object_ledger.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace modalscope::testing {

bool ObjectCounts::operator==(const ObjectCounts& o) const {
    return windowSurfaces == o.windowSurfaces && paints == o.paints &&
           memorySurfaces == o.memorySurfaces && gdiObjects == o.gdiObjects &&
           selections == o.selections && windows == o.windows && classes == o.classes &&
           faults == o.faults;
}

std::ostream& operator<<(std::ostream& out, const ObjectCounts& c) {
    return out << "{window surfaces " << c.windowSurfaces << ", paints " << c.paints
               << ", memory surfaces " << c.memorySurfaces << ", GDI objects " << c.gdiObjects
               << ", selections " << c.selections << ", windows " << c.windows << ", classes "
               << c.classes << ", faults " << c.faults << "}";
}

#if defined(__MINGW32__)

// MinGW code calls the system through the import pointers __imp_<name>; the tests that link
// this file are linked with --wrap=__imp_<name> (tests/CMakeLists.txt), so their calls, and
// the program's, reach the counting functions below, which call on through __real___imp_.
#define LEDGER_IMPORT(name)                                                                        \
    extern "C" decltype(&name) __real___imp_##name;                                                \
    extern "C" decltype(&name) __wrap___imp_##name;
LEDGER_IMPORT(GetDC)
LEDGER_IMPORT(ReleaseDC)
LEDGER_IMPORT(BeginPaint)
LEDGER_IMPORT(EndPaint)
LEDGER_IMPORT(CreateCompatibleDC)
LEDGER_IMPORT(DeleteDC)
LEDGER_IMPORT(CreateCompatibleBitmap)
LEDGER_IMPORT(CreatePen)
LEDGER_IMPORT(CreateSolidBrush)
LEDGER_IMPORT(LoadImageA)
LEDGER_IMPORT(DeleteObject)
LEDGER_IMPORT(SelectObject)
LEDGER_IMPORT(CreateWindowExA)
LEDGER_IMPORT(DestroyWindow)
LEDGER_IMPORT(RegisterClassExA)
LEDGER_IMPORT(UnregisterClassA)
#define REAL(name) __real___imp_##name

namespace {

struct Ledger {
    std::multiset<HDC> windowSurfaces;
    std::set<HDC> memorySurfaces;
    std::set<HGDIOBJ> gdiObjects;
    // (surface, object type) -> (the surface's own object, the one selected in its place)
    std::map<std::pair<HDC, DWORD>, std::pair<HGDIOBJ, HGDIOBJ>> selections;
    std::set<HWND> windows;
    std::set<std::string> classes;
    int paints = 0;
    int faults = 0;

    // A surface must go back to its own objects before it is released.
    void surfaceGone(HDC surface) {
        for (auto it = selections.begin(); it != selections.end();) {
            if (it->first.first == surface) {
                ++faults;
                it = selections.erase(it);
            } else {
                ++it;
            }
        }
    }
};

Ledger& ledger() {
    static Ledger instance;
    return instance;
}

HDC WINAPI countedGetDC(HWND window) {
    const HDC surface = REAL(GetDC)(window);
    if (surface != nullptr) {
        ledger().windowSurfaces.insert(surface);
    }
    return surface;
}

int WINAPI countedReleaseDC(HWND window, HDC surface) {
    Ledger& l = ledger();
    const auto held = l.windowSurfaces.find(surface);
    if (held == l.windowSurfaces.end()) {
        ++l.faults;
    } else {
        l.windowSurfaces.erase(held);
        if (l.windowSurfaces.count(surface) == 0) {
            l.surfaceGone(surface);
        }
    }
    return REAL(ReleaseDC)(window, surface);
}

HDC WINAPI countedBeginPaint(HWND window, PAINTSTRUCT* paint) {
    const HDC surface = REAL(BeginPaint)(window, paint);
    ledger().paints += surface != nullptr ? 1 : 0;
    return surface;
}

BOOL WINAPI countedEndPaint(HWND window, const PAINTSTRUCT* paint) {
    --ledger().paints;
    return REAL(EndPaint)(window, paint);
}

HDC WINAPI countedCreateCompatibleDC(HDC reference) {
    const HDC surface = REAL(CreateCompatibleDC)(reference);
    if (surface != nullptr) {
        ledger().memorySurfaces.insert(surface);
    }
    return surface;
}

BOOL WINAPI countedDeleteDC(HDC surface) {
    Ledger& l = ledger();
    l.faults += l.memorySurfaces.erase(surface) == 1 ? 0 : 1;
    l.surfaceGone(surface);
    return REAL(DeleteDC)(surface);
}

template <typename Handle> Handle made(Handle object) {
    if (object != nullptr) {
        ledger().gdiObjects.insert(object);
    }
    return object;
}

HBITMAP WINAPI countedCreateCompatibleBitmap(HDC reference, int width, int height) {
    return made(REAL(CreateCompatibleBitmap)(reference, width, height));
}

HPEN WINAPI countedCreatePen(int style, int width, COLORREF colour) {
    return made(REAL(CreatePen)(style, width, colour));
}

HBRUSH WINAPI countedCreateSolidBrush(COLORREF colour) {
    return made(REAL(CreateSolidBrush)(colour));
}

HANDLE WINAPI countedLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                                UINT flags) {
    const HANDLE image = REAL(LoadImageA)(instance, name, type, width, height, flags);
    // A shared image belongs to the system; icons and cursors are not made here.
    return type == IMAGE_BITMAP && (flags & LR_SHARED) == 0 ? made(image) : image;
}

BOOL WINAPI countedDeleteObject(HGDIOBJ object) {
    Ledger& l = ledger();
    l.faults += l.gdiObjects.erase(object) == 1 ? 0 : 1;
    for (const auto& selection : l.selections) {
        l.faults += selection.second.second == object ? 1 : 0;
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
    const auto key = std::make_pair(surface, type);
    const auto found = selections.find(key);
    if (found == selections.end()) {
        if (previous != object) {
            selections[key] = {previous, object};
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
    const HWND window = REAL(CreateWindowExA)(exStyle, className, title, style, x, y, width, height,
                                              parent, menu, instance, parameter);
    if (window != nullptr) {
        ledger().windows.insert(window);
    }
    return window;
}

BOOL WINAPI countedDestroyWindow(HWND window) {
    ledger().windows.erase(window);
    return REAL(DestroyWindow)(window);
}

ATOM WINAPI countedRegisterClassExA(const WNDCLASSEXA* windowClass) {
    const ATOM atom = REAL(RegisterClassExA)(windowClass);
    if (atom != 0) {
        ledger().classes.insert(windowClass->lpszClassName);
    }
    return atom;
}

BOOL WINAPI countedUnregisterClassA(LPCSTR className, HINSTANCE instance) {
    const BOOL done = REAL(UnregisterClassA)(className, instance);
    if (done) {
        ledger().classes.erase(className); // classes registered otherwise are not counted
    }
    return done;
}

} // namespace

#define LEDGER_WRAP(name) decltype(&name) __wrap___imp_##name = counted##name;
extern "C" {
LEDGER_WRAP(GetDC)
LEDGER_WRAP(ReleaseDC)
LEDGER_WRAP(BeginPaint)
LEDGER_WRAP(EndPaint)
LEDGER_WRAP(CreateCompatibleDC)
LEDGER_WRAP(DeleteDC)
LEDGER_WRAP(CreateCompatibleBitmap)
LEDGER_WRAP(CreatePen)
LEDGER_WRAP(CreateSolidBrush)
LEDGER_WRAP(LoadImageA)
LEDGER_WRAP(DeleteObject)
LEDGER_WRAP(SelectObject)
LEDGER_WRAP(CreateWindowExA)
LEDGER_WRAP(DestroyWindow)
LEDGER_WRAP(RegisterClassExA)
LEDGER_WRAP(UnregisterClassA)
}

ObjectCounts heldObjects() {
    const Ledger& l = ledger();
    ObjectCounts counts;
    counts.windowSurfaces = static_cast<int>(l.windowSurfaces.size());
    counts.paints = l.paints;
    counts.memorySurfaces = static_cast<int>(l.memorySurfaces.size());
    counts.gdiObjects = static_cast<int>(l.gdiObjects.size());
    counts.selections = static_cast<int>(l.selections.size());
    // A window the system destroyed with another is gone too.
    for (HWND window : l.windows) {
        counts.windows += IsWindow(window) ? 1 : 0;
    }
    counts.classes = static_cast<int>(l.classes.size());
    counts.faults = l.faults;
    return counts;
}

#else

// Without the ledger, the system's own counts: real on Windows.
ObjectCounts heldObjects() {
    ObjectCounts counts;
    counts.gdiObjects = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    counts.windows = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    return counts;
}

#endif

} // namespace modalscope::testing
