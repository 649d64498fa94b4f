#include "app/app_window.h"

#include "app/board_accessible.h"
#include "app/dpi_support.h"
#include "app/globals.h"
#include "app/main_window_style.h"
#include "app/settings/screen_area.h"
#include "app/window_geometry.h"
#include "resource.h"

namespace modalscope {

namespace {

constexpr char kClassName[] = "Modalscope";

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    // Shared: the system owns the icon and hands every registration the same one. At the
    // system's own sizes each place (title bar, taskbar, Alt+Tab) gets an image of its size
    // on a scaled display too, rather than one image stretched.
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MODALSCOPE), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

// Whether a show command activates the window; one that does not (a shortcut set to run
// minimised) leaves the keyboard with the program in front.
bool activates(int show) {
    switch (show) {
    case SW_SHOWMINNOACTIVE:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
    case SW_HIDE:
        return false;
    default:
        return true;
    }
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
    const PixelPoint origin = openingCorner();
    HMONITOR monitor = MonitorFromPoint({origin.x, origin.y}, MONITOR_DEFAULTTOPRIMARY);
    // First at the display's scale; the monitor the window opens on may have another since
    // sign-in, known once the window exists. The stored cell size is taken at that scale.
    const UINT firstDpi = displayDpi();
    WindowGeometry geometry = geometryAt(style, {settings.cellSize(), firstDpi}, firstDpi, monitor);
    app.sizing = true;
    HWND window =
        CreateWindowExA(0, kClassName, title, style, origin.x, origin.y, geometry.outer.width,
                        geometry.outer.height, nullptr, nullptr, instance, nullptr);
    app.sizing = false;
    if (window == nullptr) {
        return false;
    }
    app.window = window;
    app.dpi = windowDpi(window);
    if (app.dpi != firstDpi) {
        geometry = geometryAt(style, {settings.cellSize(), app.dpi}, app.dpi, monitor);
    }
    app.startCell = geometry.cellSize;
    app.startDpi = app.dpi;
    settings.keepShown(geometry.cellSize);
    app.windowSurface = GetDC(window);
    if (app.windowSurface != nullptr) {
        applyGeometry(window, geometry, {origin.x, origin.y}, 0);
    }
    if (!app.back.ready()) {
        DestroyWindow(window); // its destroy notification releases what was created
        app.window = nullptr;
        return false;
    }
    if (app.dpi != firstDpi) {
        app.icons.apply(window, instance, app.dpi); // the class's are the display's sizes
    }
    // Started minimised, it restores to the board; started maximised, the board's size is
    // its maximised size.
    ShowWindow(window, show);
    if (activates(show)) {
        SetFocus(window);
    }
    return true;
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
