// The board as a screen reader sees it, through Active Accessibility in the test process:
// every child after each input, hit tests, default actions, events, bad calls, late calls.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <string>

#include "tests/board_expectations.h"
#include "tests/shell_fixture.h"

namespace modalscope::testing {
namespace {

// Each interval's spellings as drawn, the second one's where it has two.
const char* const kSpellings[12][2] = {{"1", ""},    {"b2", "#1"}, {"2", ""},    {"b3", "#2"},
                                       {"3", ""},    {"4", ""},    {"b5", "#4"}, {"5", ""},
                                       {"b6", "#5"}, {"6", "bb7"}, {"b7", "#6"}, {"7", ""}};

std::string events; // "F97 S152 N148 ": focus, state and name changes of children, in order

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG id, DWORD,
                          DWORD) {
    if (window == app.window && object == OBJID_CLIENT && id != CHILDID_SELF) {
        events += event == EVENT_OBJECT_FOCUS         ? "F"
                  : event == EVENT_OBJECT_STATECHANGE ? "S"
                  : event == EVENT_OBJECT_NAMECHANGE  ? "N"
                                                      : "?";
        events += std::to_string(id) + " ";
    }
}

VARIANT child(LONG id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string text(BSTR value) {
    std::string out;
    for (UINT i = 0; i < SysStringLen(value); ++i) {
        out += static_cast<char>(value[i]);
    }
    SysFreeString(value);
    return out;
}

// A client in the test's own apartment, holding the board's object.
struct Client {
    Client() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        AccessibleObjectFromWindow(app.window, static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    }
    ~Client() {
        if (object != nullptr) {
            object->Release();
        }
        CoUninitialize();
    }
    IAccessible* object = nullptr;
};

// Every child's role, name, value and state as a screen reader must find them, for the root
// cell numbered `root`; `hidden` and `respelled` hold one bit per interval.
::testing::AssertionResult childrenShow(IAccessible* object, LONG root, int hidden, int respelled) {
    LONG count = 0;
    object->get_accChildCount(&count);
    for (LONG id = 1; id <= count; ++id) {
        const bool cell = id <= 144;
        const int s = (id - 1) / 24, f = (id - 1) % 24;
        const int interval =
            cell ? expectedLabel(s, f, (root - 1) / 24, (root - 1) % 24) - 1 : id - 145;
        const char* caption = kSpellings[interval][(respelled >> interval) & 1];
        const bool shown = ((hidden >> interval) & 1) == 0;
        const std::string want =
            cell ? std::to_string(ROLE_SYSTEM_CELL) + " String " + std::to_string(s + 1) +
                       ", fret " + std::to_string(f + 1) + "|" + (shown ? caption : "") + "|" +
                       std::to_string(STATE_SYSTEM_FOCUSABLE |
                                      (id == root ? STATE_SYSTEM_FOCUSED : 0))
                 : std::to_string(ROLE_SYSTEM_CHECKBUTTON) + " " + caption + "||" +
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
            return ::testing::AssertionFailure()
                   << "child " << id << ": " << got << ", want " << want;
        }
    }
    return count == 156 ? ::testing::AssertionSuccess()
                        : ::testing::AssertionFailure() << count << " children";
}

// One input through the window procedure (k key, w wheel, l/r press at x, y) or one call on
// the object (d default action, v value) on child x, and what must follow.
struct Step {
    const char* name;
    char act;
    int x, y;
    const wchar_t* value;
    HRESULT result;
    LONG root;
    int hidden, respelled;
    const char* events;
};

TEST(BoardAccessible, ChildrenActionsAndEventsFollowTheBoard) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    ASSERT_EQ(GetFocus(), app.window);
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, GetModuleHandleA(nullptr),
                        recordEvent, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    ASSERT_NE(hook, nullptr);
    SendMessageA(app.window, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(events, "") << "events before any client asked for the board";
    Client client;
    ASSERT_NE(client.object, nullptr);
    const Step steps[] = {
        {"reset", 'k', VK_SPACE, 0, nullptr, S_OK, 121, 0, 0, "F121 "},
        {"up", 'k', VK_UP, 0, nullptr, S_OK, 97, 0, 0, "F97 "},
        {"wheel", 'w', 120, 0, nullptr, S_OK, 98, 0, 0, "F98 "},
        {"hide the 5th", 'l', 13 * 42 + 5, 260, nullptr, S_OK, 98, 1 << 7, 0, "S152 "},
        {"respell b3", 'r', 9 * 42 + 5, 260, nullptr, S_OK, 98, 1 << 7, 1 << 3, "N148 "},
        {"click a cell", 'l', 3 * 42 + 5, 2 * 32 + 5, nullptr, S_OK, 52, 1 << 7, 1 << 3, "F52 "},
        {"click the root", 'l', 3 * 42 + 9, 2 * 32 + 9, nullptr, S_OK, 52, 1 << 7, 1 << 3, ""},
        {"space", 'k', VK_SPACE, 0, nullptr, S_OK, 121, 0, 0, "F121 N148 S152 "},
        {"make root", 'd', 13, 0, nullptr, S_OK, 13, 0, 0, "F13 "},
        {"hide by action", 'd', 146, 0, nullptr, S_OK, 13, 1 << 1, 0, "S146 "},
        {"hidden keeps its spelling", 'v', 146, 0, L"#1", E_INVALIDARG, 13, 1 << 1, 0, ""},
        {"show by action", 'd', 146, 0, nullptr, S_OK, 13, 0, 0, "S146 "},
        {"respell by value", 'v', 146, 0, L"#1", S_OK, 13, 0, 1 << 1, "N146 "},
        {"its own spelling", 'v', 146, 0, L"#1", S_OK, 13, 0, 1 << 1, ""},
        {"another interval's", 'v', 148, 0, L"#1", E_INVALIDARG, 13, 0, 1 << 1, ""},
        {"one spelling only", 'v', 145, 0, L"#7", E_INVALIDARG, 13, 0, 1 << 1, ""},
        {"no value for cells", 'v', 1, 0, L"1", DISP_E_MEMBERNOTFOUND, 13, 0, 1 << 1, ""},
        {"no action for the board", 'd', 0, 0, nullptr, DISP_E_MEMBERNOTFOUND, 13, 0, 1 << 1, ""},
    };
    for (const Step& step : steps) {
        events.clear();
        HRESULT result = S_OK;
        BSTR value = SysAllocString(step.value);
        if (step.act == 'k' || step.act == 'w') {
            SendMessageA(app.window, step.act == 'k' ? WM_KEYDOWN : WM_MOUSEWHEEL,
                         step.act == 'k' ? step.x : MAKEWPARAM(0, step.x), 0);
        } else if (step.act == 'l' || step.act == 'r') {
            SendMessageA(app.window, step.act == 'l' ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, 0,
                         MAKELPARAM(step.x, step.y));
        } else {
            result = step.act == 'd' ? client.object->accDoDefaultAction(child(step.x))
                                     : client.object->put_accValue(child(step.x), value);
        }
        SysFreeString(value);
        VARIANT focus;
        client.object->get_accFocus(&focus);
        EXPECT_EQ(result, step.result) << step.name;
        EXPECT_EQ(focus.lVal, step.root) << step.name;
        EXPECT_TRUE(childrenShow(client.object, step.root, step.hidden, step.respelled))
            << step.name;
        EXPECT_EQ(events, step.events) << step.name;
    }
    EXPECT_EQ(1 + board.cursorString() * 24 + board.cursorFret(), 13);
    EXPECT_TRUE(labelsFollowCursor(board));
    SetFocus(nullptr); // the keyboard elsewhere: no cell has the focus, none is announced
    events.clear();
    SendMessageA(app.window, WM_KEYDOWN, VK_UP, 0);
    VARIANT focus, state;
    EXPECT_EQ(client.object->get_accFocus(&focus), S_FALSE);
    client.object->get_accState(child(1 + board.cursorString() * 24 + board.cursorFret()), &state);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(events, "");
    UnhookWinEvent(hook);
}

TEST(BoardAccessible, HitTestsAndLocationsAgreeWithPresses) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    Client client;
    ASSERT_NE(client.object, nullptr);
    struct Hit {
        int x, y;   // client
        LONG child; // -1: outside the client area
    } const hits[] = {{0, 0, 1},     {41, 31, 1},    {42, 32, 26},    {1007, 191, 144},
                      {500, 200, 0}, {1008, 100, 0}, {252, 252, 145}, {755, 293, 156},
                      {251, 293, 0}, {756, 260, 0},  {-1, 10, -1},    {10, 294, -1}};
    for (const Hit& hit : hits) {
        POINT screen = {hit.x, hit.y};
        ClientToScreen(app.window, &screen);
        VARIANT found;
        const HRESULT result = client.object->accHitTest(screen.x, screen.y, &found);
        ASSERT_EQ(result, hit.child < 0 ? S_FALSE : S_OK) << hit.x << ", " << hit.y;
        if (hit.child < 0) {
            EXPECT_EQ(found.vt, VT_EMPTY);
            continue;
        }
        EXPECT_EQ(found.lVal, hit.child) << hit.x << ", " << hit.y;
        LONG left, top, width, height;
        client.object->accLocation(&left, &top, &width, &height, child(hit.child));
        const LONG wide = hit.child == 0 ? 1009 : 42;
        const LONG high = hit.child == 0 ? 294 : hit.child > 144 ? 42 : 32;
        EXPECT_TRUE(screen.x >= left && screen.x < left + wide && screen.y >= top &&
                    screen.y < top + high && width == wide && height == high)
            << "child " << hit.child << " at " << left << ", " << top;
        // A press at the point acts on the child found there.
        const bool shown = hit.child > 144 && board.palette().current[hit.child - 145].visible;
        SendMessageA(app.window, WM_LBUTTONDOWN, 0, MAKELPARAM(hit.x, hit.y));
        if (hit.child > 144) {
            EXPECT_NE(board.palette().current[hit.child - 145].visible, shown) << hit.child;
        } else if (hit.child > 0) {
            EXPECT_EQ(1 + board.cursorString() * 24 + board.cursorFret(), hit.child);
        }
    }
}

TEST(BoardAccessible, BadChildIdsAndCallsAfterTheWindowFail) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The id is 32 bits, whether it comes sign-extended or not.
    for (LPARAM id : {LPARAM{OBJID_CLIENT}, LPARAM{static_cast<DWORD>(OBJID_CLIENT)}}) {
        IAccessible* object = nullptr;
        EXPECT_EQ(ObjectFromLresult(SendMessageA(app.window, WM_GETOBJECT, 0, id),
                                    __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object)),
                  S_OK);
        LONG count = 0;
        if (object != nullptr) {
            object->get_accChildCount(&count); // the board's, not the platform's empty client
            object->Release();
        }
        EXPECT_EQ(count, 156);
    }
    CoUninitialize();
    Client client;
    ASSERT_NE(client.object, nullptr);
    SendMessageA(app.window, WM_SIZE, SIZE_MINIMIZED, 0); // no cell to press
    EXPECT_EQ(client.object->accDoDefaultAction(child(1)), E_FAIL);
    SendMessageA(app.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1009, 294));
    VARIANT bad[4] = {child(-1), child(157), child(LONG_MIN), child(1)};
    bad[3].vt = VT_I2;
    for (HRESULT want : {E_INVALIDARG, CO_E_OBJNOTCONNECTED}) {
        for (VARIANT& id : bad) {
            BSTR text = nullptr;
            VARIANT role;
            LONG left, top, width, height;
            EXPECT_EQ(client.object->get_accName(id, &text), want);
            EXPECT_EQ(client.object->get_accRole(id, &role), want);
            EXPECT_EQ(client.object->accLocation(&left, &top, &width, &height, id), want);
            EXPECT_EQ(client.object->accDoDefaultAction(id), want);
            EXPECT_EQ(client.object->put_accValue(id, nullptr), want);
        }
        if (want == E_INVALIDARG) {
            session.close(); // the window is gone: then every id fails, good ones too
            bad[0] = child(1);
            bad[1] = child(CHILDID_SELF);
        }
    }
    VARIANT focus, hit;
    EXPECT_EQ(client.object->get_accFocus(&focus), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(client.object->accHitTest(0, 0, &hit), CO_E_OBJNOTCONNECTED);
    // The shell let go of its reference: the client's is the last.
    IAccessible* last = client.object;
    client.object = nullptr;
    EXPECT_EQ(last->Release(), 0u);
}

} // namespace
} // namespace modalscope::testing
