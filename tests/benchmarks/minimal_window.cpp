// The least a program can do to show a window like the real one: the same outer size
// and style with a one-item menu bar, its client painted white with one orange block where
// the real program shows its root marker, through a back buffer, then the message loop;
// Escape closes it. The start-up benchmarks measure the real program against it.
#include <windows.h>

namespace {

constexpr char kClassName[] = "ModalscopeMinimal";
constexpr DWORD kStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kWidth = 1015;
constexpr int kHeight = 338;
constexpr UINT kExitCommand = 1;
// The root marker's square at the default size: cell (string 5, fret 0) of 42-pixel cells.
constexpr int kBlockLeft = 7;
constexpr int kBlockTop = 5 * 32 + 7;
constexpr int kBlockSide = 28;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC surface = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HDC back = CreateCompatibleDC(surface);
        HBITMAP bitmap = CreateCompatibleBitmap(surface, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(back, bitmap);
        FillRect(back, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HBRUSH orange = CreateSolidBrush(RGB(0xFF, 0x80, 0x40));
        const RECT block = {kBlockLeft, kBlockTop, kBlockLeft + kBlockSide, kBlockTop + kBlockSide};
        FillRect(back, &block, orange);
        DeleteObject(orange);
        BitBlt(surface, 0, 0, client.right, client.bottom, back, 0, 0, SRCCOPY);
        SelectObject(back, previous);
        DeleteObject(bitmap);
        DeleteDC(back);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
        }
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kExitCommand) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INACTIVEBORDER + 1));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExA(&windowClass) == 0) {
        return 1;
    }
    // The window destroys its menu with itself.
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, kExitCommand, "Exit");
    HWND window = CreateWindowExA(0, kClassName, "Minimal", kStyle, 0, 0, kWidth, kHeight, nullptr,
                                  menu, instance, nullptr);
    if (window == nullptr) {
        DestroyMenu(menu);
        UnregisterClassA(kClassName, instance);
        return 1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnregisterClassA(kClassName, instance);
    return static_cast<int>(message.wParam);
}
