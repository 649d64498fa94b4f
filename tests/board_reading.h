// What a screen reader must find on the board, read through its accessible object; shared by
// the tests in the program's process and the end-to-end reader in another process.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

namespace modalscope::testing {

// A client in its own single-threaded apartment holding the object of `window`'s client area.
struct Client {
    explicit Client(HWND window) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
    }
    ~Client() {
        if (object != nullptr) {
            object->Release();
        }
        CoUninitialize();
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    IAccessible* object = nullptr;
};

// One event of a child of the client area, as " 8005:97" (event in hex, child), else nothing.
inline std::string eventText(DWORD event, LONG object, LONG id) {
    char text[32] = "";
    if (object == OBJID_CLIENT && id != CHILDID_SELF) {
        std::snprintf(text, sizeof(text), " %lx:%ld", event, id);
    }
    return text;
}

inline VARIANT child(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

inline std::string text(BSTR value) {
    std::string out;
    for (UINT i = 0; i < SysStringLen(value); ++i) {
        out += static_cast<char>(value[i]);
    }
    SysFreeString(value);
    return out;
}

// The board's state while the window has the keyboard, and every child's role, name, value
// (a box's is its spelling) and state against the board with the root on the cell
// numbered `root` (as children are) and one bit per interval in `hidden` and `respelled`:
// the first child that differs, or nothing.
inline std::string misread(IAccessible* object, LONG root, int hidden, int respelled) {
    static const char* const kSpellings[12][2] = {
        {"1", ""},    {"b2", "#1"}, {"2", ""},    {"b3", "#2"}, {"3", ""},    {"4", ""},
        {"b5", "#4"}, {"5", ""},    {"b6", "#5"}, {"6", "bb7"}, {"b7", "#6"}, {"7", ""}};
    static const int kOpenPitch[6] = {0, -5, -9, -14, -19, -24}; // standard tuning, high first
    LONG count = 0;
    VARIANT self;
    object->get_accChildCount(&count);
    object->get_accState(child(CHILDID_SELF), &self);
    if (self.lVal != (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED)) {
        return "the board's state " + std::to_string(self.lVal);
    }
    for (LONG id = 1; id <= count; ++id) {
        const bool cell = id <= 144;
        const int s = (id - 1) / 24, f = (id - 1) % 24, rs = (root - 1) / 24, rf = (root - 1) % 24;
        const int interval =
            cell ? ((kOpenPitch[s] + f - kOpenPitch[rs] - rf) % 12 + 12) % 12 : id - 145;
        const char* caption = kSpellings[interval][(respelled >> interval) & 1];
        const bool shown = ((hidden >> interval) & 1) == 0;
        const std::string want =
            cell ? std::to_string(ROLE_SYSTEM_CELL) + " String " + std::to_string(s + 1) +
                       ", fret " + std::to_string(f + 1) + "|" + (shown ? caption : "") + "|" +
                       std::to_string(STATE_SYSTEM_FOCUSABLE |
                                      (id == root ? STATE_SYSTEM_FOCUSED : 0))
                 : std::to_string(ROLE_SYSTEM_CHECKBUTTON) + " " + caption + "|" + caption + "|" +
                       std::to_string(shown ? STATE_SYSTEM_CHECKED : 0);
        VARIANT role, state;
        BSTR name = nullptr, value = nullptr;
        object->get_accRole(child(id), &role);
        object->get_accState(child(id), &state);
        object->get_accName(child(id), &name);
        object->get_accValue(child(id), &value);
        const std::string got = std::to_string(role.lVal) + " " + text(name) + "|" + text(value) +
                                "|" + std::to_string(state.lVal);
        if (got != want) {
            return "child " + std::to_string(id) + ": " + got + ", want " + want;
        }
    }
    return count == 156 ? "" : std::to_string(count) + " children";
}

} // namespace modalscope::testing
