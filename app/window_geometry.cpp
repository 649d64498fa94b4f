#include "app/window_geometry.h"

#include <algorithm>

#include "app/dpi_support.h"
#include "app/globals.h"
#include "app/settings/screen_area.h"

namespace modalscope {

namespace {

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

// The outer size goes into the state before the window is resized, so that the limits the
// resize asks for (WM_GETMINMAXINFO) already allow it.
void resizeWindow(HWND window, POINT corner, PixelSize outer, UINT flags) {
    app.geometry.outer = outer;
    SetWindowPos(window, nullptr, corner.x, corner.y, outer.width, outer.height,
                 flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The platform's adjustment assumes a one-line menu bar and knows nothing of what a platform
// may add (scroll bars, a frame drawn at another scale than measured): if the client area
// came out other than the board, the outer size is changed by the difference, once. Where the
// platform will not give that size either (it raises a tiny board's window to its smallest),
// the outer size the window then has is the one kept from then on.
void settleClient(HWND window) {
    RECT client = {};
    RECT outer = {};
    if (app.geometry.cellSize > 0 && GetClientRect(window, &client) &&
        GetWindowRect(window, &outer)) {
        const int dx = app.geometry.client.width - client.right;
        const int dy = app.geometry.client.height - client.bottom;
        if (dx != 0 || dy != 0) {
            resizeWindow(window, {}, {outer.right - outer.left + dx, outer.bottom - outer.top + dy},
                         SWP_NOMOVE);
        }
    }
    if (GetWindowRect(window, &outer)) {
        app.geometry.outer = {outer.right - outer.left, outer.bottom - outer.top};
    }
}

// A minimised or maximised window's restored place, which a restore brings back: in
// workspace coordinates, whose origin is the work area's corner.
void placeRestored(HWND window, POINT corner, PixelSize outer, UINT flags) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement)) {
        return;
    }
    RECT& restored = placement.rcNormalPosition;
    if ((flags & SWP_NOMOVE) == 0) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        RECT target = {corner.x, corner.y, corner.x + outer.width, corner.y + outer.height};
        PixelPoint place = {corner.x, corner.y};
        if (GetMonitorInfoA(MonitorFromRect(&target, MONITOR_DEFAULTTONEAREST), &monitor)) {
            place = workspacePoint(place, {monitor.rcWork.left, monitor.rcWork.top},
                                   {monitor.rcMonitor.left, monitor.rcMonitor.top});
        }
        restored.left = place.x;
        restored.top = place.y;
    }
    restored.right = restored.left + outer.width;
    restored.bottom = restored.top + outer.height;
    placement.showCmd = SW_SHOWNA; // stays as it is, and takes no activation
    SetWindowPlacement(window, &placement);
}

// The board laid out for a client area of `width` by `height`: its metrics, and its markers
// made anew only for a new cell size.
void layOutBoard(int width, int height) {
    board.resize(width, height);
    painter.sizeMarkers(app.instance, app.windowSurface, board.metrics().cellSize);
}

// A bitmap's size; 0 by 0 for none.
SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    return GetObjectA(bitmap, sizeof(info), &info) != 0 ? SIZE{info.bmWidth, info.bmHeight}
                                                        : SIZE{0, 0};
}

// The board and its buffer for the client area the window really has (the platform may
// still have clamped it), or for the geometry's while minimised.
void layOutWindow(HWND window) {
    GetClientRect(window, &app.recorded);
    PixelSize client = {app.recorded.right, app.recorded.bottom};
    if (IsIconic(window)) {
        client = app.geometry.client;
    }
    layOutBoard(client.width, client.height);
    // An empty client area still gets a one-pixel buffer, so tiny windows start as before.
    const int width = std::max<int>(client.width, 1);
    const int height = std::max<int>(client.height, 1);
    const SIZE held = bitmapSize(app.back.bitmap());
    if (!app.back.ready() || held.cx != width || held.cy != height) {
        app.back.create(app.windowSurface, width, height);
    }
}

HMONITOR monitorOf(HWND window) {
    return MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
}

// The size of `monitor`'s work area; false when it is not known.
bool workAreaOf(HMONITOR monitor, PixelSize& area) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor == nullptr || !GetMonitorInfoA(monitor, &info)) {
        return false;
    }
    area = {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
    return true;
}

// The work area a fit is made to: the monitor's, else the primary monitor's. A window fitted
// to no area at all takes a stored width as it stands, which for a huge width in the file is
// a window and buffer too large to make.
bool fitAreaOf(HMONITOR monitor, PixelSize& area) {
    if (workAreaOf(monitor, area)) {
        return true;
    }
    WorkArea primary;
    if (!queryWorkArea(primary)) {
        return false;
    }
    area = primary.size;
    return true;
}

StartScale startScale() {
    return {app.startCell, app.startDpi};
}

} // namespace

WindowGeometry geometryAt(DWORD style, StartScale start, UINT dpi, HMONITOR monitor) {
    PixelSize area;
    const bool known = fitAreaOf(monitor, area);
    return fitWindow(start.cellSize, start.dpi, dpi, frameAtDpi(style, dpi),
                     known ? &area : nullptr);
}

void applyGeometry(HWND window, const WindowGeometry& geometry, POINT corner, UINT flags) {
    const bool iconic = IsIconic(window) != FALSE;
    app.sizing = true;
    app.geometry = geometry;
    if (iconic || IsZoomed(window)) {
        placeRestored(window, corner, geometry.outer, flags);
    }
    if (iconic) {
        // No client area to measure until it is shown again.
        app.checkClient = geometry.cellSize > 0;
    } else {
        RECT outer = {};
        GetWindowRect(window, &outer);
        const bool moves =
            (flags & SWP_NOMOVE) == 0 && (outer.left != corner.x || outer.top != corner.y);
        if (moves || outer.right - outer.left != geometry.outer.width ||
            outer.bottom - outer.top != geometry.outer.height) {
            resizeWindow(window, corner, geometry.outer, flags);
        }
        settleClient(window);
    }
    app.sizing = false;
    layOutWindow(window);
}

SIZE scaledSize(HWND window, UINT dpi) {
    POINT pointer = {};
    const bool dragged = GetCapture() == window && GetCursorPos(&pointer) != FALSE;
    PixelSize pointerArea;
    PixelSize ownArea;
    const bool pointerKnown =
        dragged && workAreaOf(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), pointerArea);
    const bool ownKnown = workAreaOf(monitorOf(window), ownArea);
    app.answered =
        answerScaleChange(startScale(), dpi, frameAtDpi(styleOf(window), dpi), dragged,
                          pointerKnown ? &pointerArea : nullptr, ownKnown ? &ownArea : nullptr);
    app.answeredDpi = dpi;
    return {app.answered.outer.width, app.answered.outer.height};
}

void changeScale(HWND window, UINT dpi, const RECT& suggested) {
    if (dpi == 0 || !app.back.ready()) {
        return; // nothing to scale once shut down
    }
    PixelSize area;
    const bool known = fitAreaOf(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), area);
    const WindowGeometry geometry = takeScaleChange(
        app.answeredDpi == dpi ? &app.answered : nullptr,
        {suggested.right - suggested.left, suggested.bottom - suggested.top}, startScale(), dpi,
        frameAtDpi(styleOf(window), dpi), known ? &area : nullptr);
    app.answeredDpi = 0;
    app.dpi = dpi;
    applyGeometry(window, geometry, {suggested.left, suggested.top}, 0);
    app.icons.apply(window, app.instance, dpi);
    presentFrame();
}

void refitFrame(HWND window) {
    if (!app.back.ready()) {
        return;
    }
    applyGeometry(window, geometryAt(styleOf(window), startScale(), app.dpi, monitorOf(window)), {},
                  SWP_NOMOVE);
    presentFrame();
}

void checkRestoredClient(HWND window) {
    if (!app.checkClient || IsIconic(window)) {
        return;
    }
    app.checkClient = false;
    app.sizing = true;
    settleClient(window);
    app.sizing = false;
    layOutWindow(window);
}

} // namespace modalscope
