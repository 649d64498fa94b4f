#include "app/app_window.h"

#include <algorithm>

#include "app/globals.h"
#include "app/main_window_style.h"
#include "app/window_fit.h"
#include "resource.h"

namespace modalscope {

namespace {

constexpr char kClassName[] = "Modalscope";

// The platform's adjustment assumes a one-line menu bar and knows nothing of what a
// platform may add; if the client area came out otherwise, the outer size is changed by the
// difference, once. Where the platform will not give that size either, what it gives stays.
void correctClientSize(HWND window, PixelSize wanted) {
    RECT client = {};
    RECT outer = {};
    if (!GetClientRect(window, &client) || !GetWindowRect(window, &outer)) {
        return;
    }
    const int dx = wanted.width - client.right;
    const int dy = wanted.height - client.bottom;
    if (dx != 0 || dy != 0) {
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dx,
                     outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

bool createMainWindow(const char* title, DWORD style, HINSTANCE instance) {
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
    // Size notifications only record the size until it has settled; the markers are made
    // once, for the final cell size.
    app.sizing = true;
    HWND window = CreateWindowExA(0, kClassName, title, style, 0, 0, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        app.sizing = false;
        return false;
    }
    app.window = window;
    if (cells > 0) {
        correctClientSize(window, client);
    }
    app.sizing = false;
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
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(window);
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
    painter.releaseMarkers();
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
