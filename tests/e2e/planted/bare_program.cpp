// What tests/e2e/planted_dlls.py measures the platform's own share with: a window and a
// message box that closes itself, the least that makes Wine's libraries load theirs.
#include <windows.h>

namespace {

HWND mainWindow = nullptr;

void CALLBACK closeBox(HWND, UINT, UINT_PTR, DWORD) {
    const HWND box = GetActiveWindow();
    if (box != nullptr && box != mainWindow) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    mainWindow = CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                 200, nullptr, nullptr, instance, nullptr);
    SetTimer(nullptr, 0, 300, closeBox);
    MessageBoxA(mainWindow, "bare", "bare", MB_OK);
    DestroyWindow(mainWindow);
    return 0;
}
