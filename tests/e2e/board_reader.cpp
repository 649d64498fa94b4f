// What a screen reader in another process finds on the running program's board: every child
// of the main window's client object, one line each ("child ID ROLE STATE NAME|VALUE|X,Y,W,H");
// then what a user of one does (a hit test, a cell's and a box's default action, a box
// respelled through its value), the events the program sent meanwhile ("event EVENT ID", the
// event in hex) and the children again.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

VARIANT child(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string ascii(BSTR text) {
    std::string out;
    for (UINT i = 0; i < SysStringLen(text); ++i) {
        out += static_cast<char>(text[i]);
    }
    SysFreeString(text);
    return out;
}

void printChildren(IAccessible* board) {
    LONG count = 0;
    board->get_accChildCount(&count);
    for (LONG id = 1; id <= count; ++id) {
        VARIANT role, state;
        BSTR name = nullptr, value = nullptr;
        LONG x = 0, y = 0, width = 0, height = 0;
        board->get_accRole(child(id), &role);
        board->get_accState(child(id), &state);
        board->get_accName(child(id), &name);
        board->get_accValue(child(id), &value);
        board->accLocation(&x, &y, &width, &height, child(id));
        std::printf("child %ld %ld %ld %s|%s|%ld,%ld,%ld,%ld\n", id, role.lVal, state.lVal,
                    ascii(name).c_str(), ascii(value).c_str(), x, y, width, height);
    }
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG id, DWORD, DWORD) {
    if (object == OBJID_CLIENT && id != CHILDID_SELF) {
        std::printf("event %lx %ld\n", event, id);
    }
}

void act(HWND window, IAccessible* board) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // Only the program's events. Wine drops every event for a hook that also passes
    // WINEVENT_SKIPOWNPROCESS with a process filter.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr,
                                         onEvent, process, 0, WINEVENT_OUTOFCONTEXT);
    LONG x = 0, y = 0, width = 0, height = 0;
    board->accLocation(&x, &y, &width, &height, child(52));
    VARIANT hit;
    board->accHitTest(x + width / 2, y + height / 2, &hit);
    std::printf("hit %ld\n", hit.lVal);
    BSTR other = SysAllocString(L"#2");
    std::printf("actions %lx %lx %lx\n", board->accDoDefaultAction(child(52)),
                board->accDoDefaultAction(child(146)), board->put_accValue(child(148), other));
    SysFreeString(other);
    // Out-of-context events arrive as messages to this thread.
    const DWORD end = GetTickCount() + 2000;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    UnhookWinEvent(hook);
    std::printf("after\n");
    printChildren(board);
}

} // namespace

int main() {
    HWND window = FindWindowA("Modalscope", nullptr);
    // A client of another process's objects must be a single-threaded apartment that pumps.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* board = nullptr;
    const HRESULT found =
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&board));
    if (window == nullptr || FAILED(found)) {
        std::printf("no board: window %p, %lx\n", static_cast<void*>(window), found);
        return 1;
    }
    printChildren(board);
    act(window, board);
    board->Release();
    CoUninitialize();
    return 0;
}
