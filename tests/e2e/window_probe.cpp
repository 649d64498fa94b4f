// Prints the program's top-level windows (and the About box's controls) as the window
// system sees them, one line each, so the end-to-end suite can check sizes, places,
// captions and which has the focus exactly while it drives the program with real input.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_window_style.h"

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    }
    // One window a line: a multi-line control text must not break the line.
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

void describe(const char* kind, HWND window) {
    wchar_t className[128] = {};
    wchar_t text[256] = {};
    GetClassNameW(window, className, 128);
    GetWindowTextW(window, text, 256);
    RECT outer;
    GetWindowRect(window, &outer);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%s class=%s id=%d text=%s outer=%ld,%ld,%ld,%ld client=%ld,%ld,%ld,%ld "
                "foreground=%d visible=%d\n",
                kind, utf8(className).c_str(), GetDlgCtrlID(window), utf8(text).c_str(), outer.left,
                outer.top, outer.right - outer.left, outer.bottom - outer.top, origin.x, origin.y,
                client.right, client.bottom, GetForegroundWindow() == window ? 1 : 0,
                IsWindowVisible(window) ? 1 : 0);
}

BOOL CALLBACK onChild(HWND child, LPARAM) {
    describe("control", child);
    return TRUE;
}

BOOL CALLBACK onTopLevel(HWND window, LPARAM) {
    wchar_t className[128] = {};
    GetClassNameW(window, className, 128);
    const std::wstring name = className;
    if (name == L"Modalscope" || name == L"#32770") {
        describe("window", window);
        if (name == L"#32770") {
            EnumChildWindows(window, onChild, 0);
        }
    }
    return TRUE;
}

} // namespace

// Holds a hidden window until killed, so the virtual desktop stays up between runs of the
// program: a desktop left without clients shuts down, racing the next program's start.
// It says "held" once its window exists, and so the desktop: started before that, a program
// would start the desktop itself and hand it its error output, which a test's reader then
// waits on.
int hold() {
    if (CreateWindowExA(0, "STATIC", "modalscope-e2e-keeper", WS_POPUP, 0, 0, 1, 1, nullptr,
                        nullptr, GetModuleHandleA(nullptr), nullptr) == nullptr) {
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

// The display settings a test prefix was given, as programs see them: the system DPI, the
// window metrics in pixels, the primary work area and the screen; and what the platform adds
// to a client area for the main window's style (its caption, menu bar and border), asked as
// the program asks it.
int metrics() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT edges = {0, 0, 0, 0};
    AdjustWindowRectEx(&edges, modalscope::kMainWindowStyle | WS_CAPTION, TRUE, 0);
    std::printf("metrics dpi=%d caption=%d menu=%d frame=%d,%d padded=%d border=%d "
                "work=%ld,%ld screen=%d,%d window_frame=%ld,%ld\n",
                dpi, GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENU),
                GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME),
                GetSystemMetrics(SM_CXPADDEDBORDER), GetSystemMetrics(SM_CXBORDER),
                work.right - work.left, work.bottom - work.top, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), edges.right - edges.left, edges.bottom - edges.top);
    std::fflush(stdout);
    return 0;
}

// Asks the main window to close, as its close box does. A posted message waits in the
// program's queue; a key goes wherever the focus is as it arrives, and under load that
// may be no window of the program.
int closeMainWindow() {
    const HWND window = FindWindowA("Modalscope", nullptr);
    return window != nullptr && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

int main(int argc, char** argv) {
    // Aware of the display's scaling as the program is (its manifest says so), so a scaled
    // display gives this process the same real pixels and DPI; Wine 10 scales others.
    SetProcessDPIAware();
    if (argc > 1 && std::string(argv[1]) == "--hold") {
        return hold();
    }
    if (argc > 1 && std::string(argv[1]) == "--metrics") {
        return metrics();
    }
    if (argc > 1 && std::string(argv[1]) == "--close") {
        return closeMainWindow();
    }
    EnumWindows(onTopLevel, 0);
    std::fflush(stdout);
    return 0;
}
