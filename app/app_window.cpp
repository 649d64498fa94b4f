#include "app/app_window.h"

#include "app/globals.h"
#include "resource.h"

namespace modalscope {

namespace {
constexpr char kClassName[] = "Modalscope";
constexpr DWORD kDefaultStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
} // namespace

bool registerMainClass(HINSTANCE instance) {
    // Shared: the system owns the icon and hands every registration the same one.
    HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MODALSCOPE),
                                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
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
        style = kDefaultStyle;
    }
    RECT outer = {0, 0, settings.width(), settings.height()};
    AdjustWindowRect(&outer, style, FALSE);
    HWND window = CreateWindowExA(0, kClassName, title, style, 0, 0, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return false;
    }
    app.window = window;
    // The first size notification may come only at the first show, and the window system
    // clamps huge sizes: size the buffer from the client area the window really has.
    GetClientRect(window, &app.recorded);
    app.windowSurface = GetDC(window);
    if (app.windowSurface != nullptr) {
        app.backSurface = CreateCompatibleDC(app.windowSurface);
        app.backBitmap =
            CreateCompatibleBitmap(app.windowSurface, app.recorded.right, app.recorded.bottom);
    }
    if (app.backSurface == nullptr || app.backBitmap == nullptr) {
        DestroyWindow(window); // its destroy notification releases what was created
        app.window = nullptr;
        return false;
    }
    app.previous = SelectObject(app.backSurface, app.backBitmap);
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(window);
    return true;
}

void presentFrame() {
    if (app.previous == nullptr || app.windowSurface == nullptr) {
        return; // released at shut-down
    }
    FillRect(app.backSurface, &app.recorded, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    painter.paint(board, app.backSurface);
    BitBlt(app.windowSurface, 0, 0, app.recorded.right, app.recorded.bottom, app.backSurface, 0, 0,
           SRCCOPY);
    ++app.framesPresented;
}

void shutdownWindow() {
    painter.releaseMarkers();
    settings.save(kSettingsFile);
    if (app.previous != nullptr) {
        SelectObject(app.backSurface, app.previous);
    }
    if (app.backBitmap != nullptr) {
        DeleteObject(app.backBitmap);
    }
    if (app.backSurface != nullptr) {
        DeleteDC(app.backSurface);
    }
    if (app.windowSurface != nullptr) {
        ReleaseDC(app.window, app.windowSurface);
    }
    app.windowSurface = nullptr;
    app.backSurface = nullptr;
    app.backBitmap = nullptr;
    app.previous = nullptr;
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
