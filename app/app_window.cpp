#include "app/app_window.h"

#include <algorithm>

#include "app/board_accessible.h"
#include "app/dpi_support.h"
#include "app/globals.h"
#include "app/main_window_style.h"
#include "app/window_fit.h"
#include "resource.h"

namespace modalscope {

namespace {

constexpr char kClassName[] = "Modalscope";

// The platform's adjustment assumes a one-line menu bar and knows nothing of what a
// platform may add; if the client area came out otherwise, the outer size is changed by the
// difference, once. Where the platform will not give that size either, what it gives stays
// and is the size kept from then on.
void correctClientSize(HWND window, PixelSize wanted) {
    RECT client = {};
    RECT outer = {};
    if (!GetClientRect(window, &client) || !GetWindowRect(window, &outer)) {
        return;
    }
    const int dx = wanted.width - client.right;
    const int dy = wanted.height - client.bottom;
    if (dx != 0 || dy != 0) {
        setKeptSize(window, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                    SWP_NOMOVE);
    }
}

// The size the window really has is the one it keeps: the system may have raised a tiny
// board's window to its smallest.
void keepShownSize(HWND window) {
    RECT outer = {};
    if (GetWindowRect(window, &outer)) {
        app.kept = {outer.right - outer.left, outer.bottom - outer.top};
    }
}

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    // Shared: the system owns the icon and hands every registration the same one. At the
    // system's own sizes each place (title bar, taskbar, Alt+Tab) gets an image of its size
    // on a scaled display too, rather than one image stretched.
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MODALSCOPE), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

} // namespace

bool registerMainClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INACTIVEBORDER + 1));
    windowClass.lpszMenuName = "MY_MENU";
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
}

void unregisterMainClass(HINSTANCE instance) {
    UnregisterClassA(kClassName, instance);
}

bool createMainWindow(const char* title, DWORD style, HINSTANCE instance, int show) {
    if (style == 0) {
        style = kMainWindowStyle;
    }
    // The client area is exactly the board at the cell size that fits the screen.
    const std::int32_t cells = settings.shownCellSize();
    const PixelSize client = boardClientSize(cells);
    RECT outer = {0, 0, client.width, client.height};
    if (!outerFromClient(outer, style)) {
        outer = {0, 0, settings.width(), settings.height()}; // the classic frame's size
    }
    const PixelPoint origin = WindowSettings::shownOrigin();
    // Size notifications only record the size until it has settled; the markers are made
    // once, for the final cell size.
    app.sizing = true;
    HWND window =
        CreateWindowExA(0, kClassName, title, style, origin.x, origin.y, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        app.sizing = false;
        return false;
    }
    app.window = window;
    if (cells > 0) {
        correctClientSize(window, client);
    }
    keepShownSize(window);
    app.sizing = false;
    app.startCell = cells;
    app.startDpi = windowDpi(window);
    app.dpi = app.startDpi;
    // The window system may still have clamped the size (tiny or empty boards): the board,
    // the markers and the buffer follow the client area the window really has.
    GetClientRect(window, &app.recorded);
    painter.resize(board, instance, nullptr, app.recorded.right, app.recorded.bottom);
    app.windowSurface = GetDC(window);
    // An empty client area still gets a one-pixel buffer, so tiny windows start as before.
    if (app.windowSurface == nullptr ||
        !app.back.create(app.windowSurface, std::max<LONG>(app.recorded.right, 1),
                         std::max<LONG>(app.recorded.bottom, 1))) {
        DestroyWindow(window); // its destroy notification releases what was created
        app.window = nullptr;
        return false;
    }
    // Started minimised, it restores to the board; started maximised, the kept size is
    // its maximised size.
    ShowWindow(window, show);
    SetFocus(window);
    return true;
}

void changeScale(HWND window, UINT dpi, const RECT& suggested) {
    if (dpi == 0 || !app.back.ready()) {
        return; // nothing to scale once shut down
    }
    app.dpi = dpi;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    // Always from the start's size, so a scale that comes back brings that size back.
    const std::int64_t scaled =
        std::int64_t{app.startCell} * dpi / std::max<UINT>(app.startDpi, 1);
    std::int32_t cell = static_cast<std::int32_t>(std::min<std::int64_t>(scaled, INT32_MAX));
    // The frame once, at the new scale: what the window adds to the board around it.
    RECT edges = {0, 0, 0, 0};
    outerFromClientForDpi(edges, style, dpi);
    const PixelSize frame = {edges.right - edges.left, edges.bottom - edges.top};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoA(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        cell = fittingCellSize(cell, frame, {work.right - work.left, work.bottom - work.top});
    }
    const PixelSize client = boardClientSize(cell);
    setKeptSize(window, suggested.left, suggested.top, client.width + frame.width,
                client.height + frame.height, 0);
    if (cell > 0) {
        correctClientSize(window, client);
    }
    keepShownSize(window);
    GetClientRect(window, &app.recorded);
    painter.rescale(board, app.instance, app.windowSurface, app.recorded.right,
                    app.recorded.bottom);
    app.back.create(app.windowSurface, std::max<LONG>(app.recorded.right, 1),
                    std::max<LONG>(app.recorded.bottom, 1));
    app.icons.apply(window, app.instance, dpi);
    presentFrame();
}

void setKeptSize(HWND window, int x, int y, int width, int height, UINT flags) {
    app.kept = {width, height};
    SetWindowPos(window, nullptr, x, y, width, height, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void presentFrame() {
    if (!app.back.ready() || app.windowSurface == nullptr) {
        return; // released at shut-down
    }
    const HDC back = app.back.surface();
    FillRect(back, &app.recorded, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    painter.paint(board, back);
    BitBlt(app.windowSurface, 0, 0, app.recorded.right, app.recorded.bottom, back, 0, 0, SRCCOPY);
    ++app.framesPresented;
}

void shutdownWindow() {
    disconnectAccessible();
    painter.releaseMarkers();
    app.icons.release(app.window);
    if (!app.settingsSaved) {
        settings.save(kSettingsFile);
        app.settingsSaved = true;
    }
    app.back.release();
    if (app.windowSurface != nullptr) {
        ReleaseDC(app.window, app.windowSurface);
    }
    app.windowSurface = nullptr;
}

int runMessageLoop() {
    MSG message = {};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            WaitMessage();
        }
    }
}

} // namespace modalscope
