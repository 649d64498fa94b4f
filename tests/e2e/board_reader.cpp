// A screen reader's client in another process, on the running program just after its start:
// reads every child of the board, walks a few steps, goes away to the desktop and back, finds
// the cell under a point, makes it the root, hides and respells a box, hears the program's
// events and reads the board again. Prints one line:
// "read ok; nav 2 25 145 -; back 1; hit 52, acted 1; heard 8005:121 8005:52 800a:146 800c:148"
// when all is as it must be: the neighbours of cell 1 to the right and below, the box below
// the bottom string's seventh cell, nothing after the last box; the root cell's focus on
// coming back, then the events of the changes.
#include <initializer_list>

#include "tests/board_reading.h"

using namespace modalscope::testing;

namespace {

std::string heard;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG id, DWORD, DWORD) {
    heard += eventText(event, object, id);
}

// Starts and directions: the next cell, the one below, the box below, past the last box.
constexpr LONG kNext[2] = {1, NAVDIR_NEXT};
constexpr LONG kDown[2] = {1, NAVDIR_DOWN};
constexpr LONG kBelow[2] = {127, NAVDIR_DOWN};
constexpr LONG kEnd[2] = {156, NAVDIR_NEXT};

// As Alt+Tab away and back: the desktop in front, then the program's window again; the
// reader has no window of its own, whose end would hand the activation on elsewhere.
bool comeBack(HWND window) {
    bool away = false;
    for (const DWORD end = GetTickCount() + 3000; GetTickCount() < end; Sleep(20)) {
        away = away || GetForegroundWindow() != window;
        SetForegroundWindow(away ? window : GetDesktopWindow());
        if (away && GetForegroundWindow() == window) {
            return true;
        }
    }
    return false;
}

} // namespace

int main() {
    HWND window = FindWindowA("Modalscope", nullptr);
    Client client(window); // a client must be an STA that pumps messages
    IAccessible* board = client.object;
    if (board == nullptr) {
        std::printf("no board\n");
        return 1;
    }
    std::string read = misread(board, 121, 0, 0);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // Wine drops every event for a process filter with WINEVENT_SKIPOWNPROCESS as well.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         onEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    std::string walked;
    for (const LONG* move : {kNext, kDown, kBelow, kEnd}) {
        VARIANT to;
        const HRESULT result = board->accNavigate(move[1], child(move[0]), &to);
        walked += result == S_OK && to.vt == VT_I4         ? " " + std::to_string(to.lVal)
                  : result == S_FALSE && to.vt == VT_EMPTY ? " -"
                                                           : " ?";
    }
    const bool back = comeBack(window);
    LONG x = 0, y = 0, width = 0, height = 0;
    VARIANT hit;
    board->accLocation(&x, &y, &width, &height, child(52));
    board->accHitTest(x + width / 2, y + height / 2, &hit);
    BSTR other = SysAllocString(L"#2");
    const bool acted = board->accDoDefaultAction(child(hit.lVal)) == S_OK &&
                       board->accDoDefaultAction(child(146)) == S_OK &&
                       board->put_accValue(child(148), other) == S_OK;
    SysFreeString(other);
    // Events from another process arrive as messages.
    for (const DWORD end = GetTickCount() + 2000; GetTickCount() < end;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    UnhookWinEvent(hook);
    read += misread(board, 52, 1 << 1, 1 << 3);
    std::printf("read %s; nav%s; back %d; hit %ld, acted %d; heard%s\n",
                read.empty() ? "ok" : read.c_str(), walked.c_str(), back ? 1 : 0, hit.lVal,
                acted ? 1 : 0, heard.c_str());
    return 0;
}
