// The board as a screen reader sees it, through Active Accessibility in the test process:
// every child after each input, hit tests, default actions, events, bad calls, late calls.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>

#include "tests/board_expectations.h"
#include "tests/board_reading.h"
#include "tests/shell_fixture.h"

namespace modalscope::testing {
namespace {

std::string events; // " 8005:97 800a:152": focus, state and name changes of children, in order

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG id, DWORD,
                          DWORD) {
    events += window == app.window ? eventText(event, object, id) : "";
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
    SetFocus(nullptr);
    SetFocus(app.window); // coming back is announced all the same
    EXPECT_EQ(events, " 8005:122");
    Client client(app.window);
    ASSERT_NE(client.object, nullptr);
    const Step steps[] = {
        {"reset", 'k', VK_SPACE, 0, nullptr, S_OK, 121, 0, 0, " 8005:121"},
        {"up", 'k', VK_UP, 0, nullptr, S_OK, 97, 0, 0, " 8005:97"},
        {"wheel", 'w', 120, 0, nullptr, S_OK, 98, 0, 0, " 8005:98"},
        {"hide the 5th", 'l', 13 * 42 + 5, 260, nullptr, S_OK, 98, 1 << 7, 0, " 800a:152"},
        {"respell b3", 'r', 9 * 42 + 5, 260, nullptr, S_OK, 98, 1 << 7, 1 << 3, " 800c:148"},
        {"click a cell", 'l', 3 * 42 + 5, 2 * 32 + 5, nullptr, S_OK, 52, 1 << 7, 1 << 3,
         " 8005:52"},
        {"click the root", 'l', 3 * 42 + 9, 2 * 32 + 9, nullptr, S_OK, 52, 1 << 7, 1 << 3, ""},
        {"space", 'k', VK_SPACE, 0, nullptr, S_OK, 121, 0, 0, " 8005:121 800c:148 800a:152"},
        {"make root", 'd', 13, 0, nullptr, S_OK, 13, 0, 0, " 8005:13"},
        {"hide by action", 'd', 146, 0, nullptr, S_OK, 13, 1 << 1, 0, " 800a:146"},
        {"hidden keeps its spelling", 'v', 146, 0, L"#1", E_INVALIDARG, 13, 1 << 1, 0, ""},
        {"show by action", 'd', 146, 0, nullptr, S_OK, 13, 0, 0, " 800a:146"},
        {"respell by value", 'v', 146, 0, L"#1", S_OK, 13, 0, 1 << 1, " 800c:146"},
        {"its own spelling", 'v', 146, 0, L"#1", S_OK, 13, 0, 1 << 1, ""},
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
        EXPECT_EQ(misread(client.object, step.root, step.hidden, step.respelled), "") << step.name;
        EXPECT_EQ(events, step.events) << step.name;
    }
    EXPECT_EQ(1 + board.cursorString() * 24 + board.cursorFret(), 13);
    EXPECT_TRUE(labelsFollowCursor(board));
    SetFocus(nullptr); // the keyboard elsewhere: no cell has the focus, none is announced
    events.clear();
    SendMessageA(app.window, WM_KEYDOWN, VK_UP, 0);
    VARIANT focus, state, self;
    EXPECT_EQ(client.object->get_accFocus(&focus), S_FALSE);
    client.object->get_accState(child(133), &state);
    client.object->get_accState(child(CHILDID_SELF), &self);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(self.lVal, STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(events, "");
    SetFocus(app.window);
    EXPECT_EQ(events, " 8005:133");
    UnhookWinEvent(hook);
}

TEST(BoardAccessible, HitTestsBadIdsAndCallsAfterTheWindow) {
    ShellSession session;
    ASSERT_TRUE(session.started());
    Client client(app.window);
    ASSERT_NE(client.object, nullptr);
    // Client x, y and the child there (-1: outside the client area); a press there acts on it.
    const int hits[][3] = {{0, 0, 1},     {41, 31, 1},    {42, 32, 26},    {1007, 191, 144},
                           {500, 200, 0}, {1008, 100, 0}, {252, 252, 145}, {755, 293, 156},
                           {251, 293, 0}, {756, 260, 0},  {-1, 10, -1},    {10, 294, -1}};
    for (const auto& hit : hits) {
        POINT at = {hit[0], hit[1]};
        ClientToScreen(app.window, &at);
        VARIANT found;
        LONG left = 0, top = 0, width = 0, height = 0;
        client.object->accHitTest(at.x, at.y, &found);
        client.object->accLocation(&left, &top, &width, &height, child(hit[2]));
        const bool box = hit[2] > 144, shown = box && board.palette().current[hit[2] - 145].visible;
        const LONG wide = hit[2] == 0 ? 1009 : 42, high = hit[2] == 0 ? 294 : box ? 42 : 32;
        SendMessageA(app.window, WM_LBUTTONDOWN, 0, MAKELPARAM(hit[0], hit[1]));
        EXPECT_EQ(found.vt == VT_I4 ? found.lVal : -1, hit[2]) << hit[0] << ", " << hit[1];
        EXPECT_TRUE(hit[2] < 0 || (at.x >= left && at.x < left + wide && width == wide &&
                                   at.y >= top && at.y < top + high && height == high));
        const LONG root = 1 + board.cursorString() * 24 + board.cursorFret();
        EXPECT_TRUE(box ? board.palette().current[hit[2] - 145].visible != shown
                        : hit[2] <= 0 || root == hit[2])
            << hit[2];
    }
    // NAVDIR_* from a start (0 the board) and where it leads (0 nothing; the model's own test
    // has every edge).
    const LONG moves[][3] = {{0, NAVDIR_FIRSTCHILD, 1},
                             {156, NAVDIR_NEXT, 0},
                             {30, NAVDIR_UP, 6},
                             {127, NAVDIR_DOWN, 145}};
    for (const auto& move : moves) {
        VARIANT to;
        const HRESULT result = client.object->accNavigate(move[1], child(move[0]), &to);
        EXPECT_EQ(result, move[2] != 0 ? S_OK : S_FALSE) << move[0] << " " << move[1];
        EXPECT_EQ(to.vt == VT_I4 ? to.lVal : 0, move[2]) << move[0] << " " << move[1];
        EXPECT_EQ(to.vt, move[2] != 0 ? VT_I4 : VT_EMPTY);
    }
    SendMessageA(app.window, WM_SIZE, SIZE_MINIMIZED, 0); // no cell to press, yet a root
    EXPECT_EQ(client.object->accDoDefaultAction(child(30)), S_OK);
    EXPECT_EQ(board.cursorString() * 24 + board.cursorFret(), 29);
    SendMessageA(app.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(1009, 294));
    VARIANT bad[4] = {child(-1), child(157), child(LONG_MIN), child(1)};
    bad[3].vt = VT_I2;
    for (HRESULT want : {E_INVALIDARG, CO_E_OBJNOTCONNECTED}) {
        for (VARIANT& id : bad) {
            BSTR text = nullptr;
            LONG left, top, width, height;
            VARIANT end;
            EXPECT_EQ(client.object->get_accName(id, &text), want);
            EXPECT_EQ(client.object->accLocation(&left, &top, &width, &height, id), want);
            EXPECT_EQ(client.object->accDoDefaultAction(id), want);
            EXPECT_EQ(client.object->put_accValue(id, nullptr), want);
            EXPECT_EQ(client.object->accNavigate(NAVDIR_NEXT, id, &end), want);
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
