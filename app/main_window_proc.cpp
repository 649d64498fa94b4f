// The window procedure: each case unpacks its message and calls one handler.
#include "app/about_dialog.h"
#include "app/app_window.h"
#include "app/board_accessible.h"
#include "app/globals.h"
#include "app/settings/screen_area.h"
#include "app/window_geometry.h"
#include "resource.h"

namespace modalscope {

namespace {

void onSize(HWND window, WPARAM kind, int width, int height) {
    // During creation the stored handle is not set yet, so use the message's own.
    GetClientRect(window, &app.recorded);
    if (app.sizing) {
        return; // the board is laid out once the size has settled
    }
    if (app.checkClient && kind != SIZE_MINIMIZED) {
        checkRestoredClient(window); // lays out the board for the corrected size
        return;
    }
    // Only the window's own changes of size make the markers anew (window_geometry.h): the
    // window keeps its size, so a notification is of that size, minimised, or sent by
    // another program, and the markers stay as they are.
    board.resize(width, height);
}

// Whatever another program asks (maximising, an arranging tool's size), the window keeps
// the outer size it has around the board, so the board, its buffer and its hit test stay
// one size. Minimised it is an icon as usual, and it may be moved anywhere.
void onGetMinMaxInfo(MINMAXINFO* limits) {
    const PixelSize outer = app.geometry.outer;
    if (outer.width <= 0 || outer.height <= 0) {
        return; // not sized yet: the platform's own limits
    }
    const POINT size = {outer.width, outer.height};
    limits->ptMinTrackSize = size;
    limits->ptMaxTrackSize = size;
    limits->ptMaxSize = size;
    const PixelPoint corner = openingCorner();
    limits->ptMaxPosition = {corner.x, corner.y};
}

// Asked before a change of scale: the size the change will give, which Windows then places
// the suggested rectangle for.
LRESULT onGetScaledSize(HWND window, UINT dpi, SIZE* size) {
    if (!app.back.ready()) {
        return FALSE; // shut down: the default scaling
    }
    *size = scaledSize(window, dpi);
    return TRUE;
}

// The frame's sizes change with the text size, the theme and high contrast.
void onSettingChange(HWND window, WPARAM setting) {
    if (setting == SPI_SETNONCLIENTMETRICS) {
        refitFrame(window);
    }
}

void onPaint(HWND window) {
    PAINTSTRUCT paint;
    app.paintSurface = BeginPaint(window, &paint);
    presentFrame();
    EndPaint(window, &paint);
    app.paintSurface = nullptr;
}

void onClose() {
    shutdownWindow();
    PostQuitMessage(0);
}

void onKeyDown(HWND window, WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return;
    case VK_SPACE:
        board.resetBoard();
        break;
    case VK_LEFT:
        board.moveCursor(MoveDirection::FretLeft);
        break;
    case VK_UP:
        board.moveCursor(MoveDirection::StringUp);
        break;
    case VK_RIGHT:
        board.moveCursor(MoveDirection::FretRight);
        break;
    case VK_DOWN:
        board.moveCursor(MoveDirection::StringDown);
        break;
    default:
        return;
    }
    presentFrame();
    announceBoardChanges();
}

void onCommand(HWND window, int command) {
    if (command == ID_EXIT) {
        SendMessageA(window, WM_CLOSE, 0, 0);
    } else if (command == ID_ABOUT) {
        runAboutDialog(app.instance, app.window);
    }
}

void onButtonDown(LPARAM position, bool right) {
    board.handleClick(HIWORD(position), LOWORD(position), right);
    presentFrame();
    announceBoardChanges();
}

// One fret per whole notch, however the notches arrive: a touchpad's many small deltas or
// a fast spin's several notches in one message. One frame shows all of a message's steps.
void onWheel(int delta) {
    const int notches = app.wheel.add(delta);
    if (notches == 0) {
        return; // still within a notch: nothing changed
    }
    const MoveDirection direction =
        notches > 0 ? MoveDirection::FretRight : MoveDirection::FretLeft;
    for (int step = notches > 0 ? notches : -notches; step > 0; --step) {
        board.moveCursor(direction);
    }
    presentFrame();
    announceBoardChanges();
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        onSize(window, wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        return onGetScaledSize(window, static_cast<UINT>(wParam), reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
        changeScale(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SETTINGCHANGE:
        onSettingChange(window, wParam);
        return 0;
    case WM_THEMECHANGED:
        refitFrame(window);
        return 0;
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_DESTROY:
        shutdownWindow();
        return 0;
    case WM_SETFOCUS: // back from Alt+Tab or a click on the title bar: the root is spoken
        announceFocus();
        return 0;
    case WM_KEYDOWN:
        onKeyDown(window, wParam);
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        onButtonDown(lParam, false);
        return 0;
    case WM_RBUTTONDOWN:
        onButtonDown(lParam, true);
        return 0;
    case WM_MOUSEWHEEL:
        onWheel(static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_GETOBJECT:
        return answerGetObject(window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace modalscope
