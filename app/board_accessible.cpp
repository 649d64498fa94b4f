// The board's Active Accessibility object, made on the first request, and the events that
// follow each input once it exists.
#include "app/board_accessible.h"

#include <oleacc.h>

#include <cstdio>
#include <new>

#include "app/app_window.h"
#include "app/globals.h"
#include "model/board_items.h"

namespace modalscope {

namespace {

// Names, captions and actions are plain ASCII.
BSTR textFor(const char* text) {
    OLECHAR wide[32] = {};
    for (int i = 0; i < 31 && text[i] != '\0'; ++i) {
        wide[i] = static_cast<OLECHAR>(text[i]);
    }
    return SysAllocString(wide);
}

HRESULT answerText(BSTR* out, const char* text) {
    *out = textFor(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

bool sameText(BSTR text, const char* ascii) {
    int i = 0;
    for (; text != nullptr && text[i] != 0 && ascii[i] != '\0'; ++i) {
        if (text[i] != static_cast<OLECHAR>(ascii[i])) {
            return false;
        }
    }
    return text != nullptr && text[i] == 0 && ascii[i] == '\0';
}

HRESULT answerNumber(VARIANT* out, LONG value) {
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

bool hasFocus(HWND window) {
    return window != nullptr && GetFocus() == window;
}

// COM calls the object through IAccessible's table, so this one class derives from the
// platform's interface. It reads the shell's board and acts on it as the window's input does.
class BoardAccessible final : public IAccessible {
  public:
    explicit BoardAccessible(HWND window) : window_(window) {}
    void disconnect() { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // Clients call the properties directly; nothing is offered through late binding.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (window_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        if (window_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        *count = kItemCount;
        return S_OK;
    }
    // The children are simple elements: no object of their own, the board answers for them.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        BoardItem item;
        const HRESULT found = find(child, item);
        if (FAILED(found)) {
            return found;
        }
        return item.kind == ItemKind::None ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        BoardItem item;
        const HRESULT found = findFor(child, name, item);
        if (FAILED(found)) {
            return found;
        }
        switch (item.kind) {
        case ItemKind::Cell: {
            char text[32];
            std::snprintf(text, sizeof(text), "String %d, fret %d", item.string + 1, item.fret + 1);
            return answerText(name, text);
        }
        case ItemKind::Box:
            return answerText(name, markerCaption(board.palette().current[item.slot].marker));
        default:
            return answerText(name, "Board");
        }
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        BoardItem item;
        const HRESULT found = findFor(child, value, item);
        if (FAILED(found)) {
            return found;
        }
        if (item.kind != ItemKind::Cell) {
            return DISP_E_MEMBERNOTFOUND;
        }
        return answerText(value, cellCaption(board, item.string, item.fret));
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        return unsupported(text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        BoardItem item;
        const HRESULT found = findFor(child, role, item);
        if (FAILED(found)) {
            return found;
        }
        return answerNumber(role, item.kind == ItemKind::Cell  ? ROLE_SYSTEM_CELL
                                  : item.kind == ItemKind::Box ? ROLE_SYSTEM_CHECKBUTTON
                                                               : ROLE_SYSTEM_CLIENT);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        BoardItem item;
        const HRESULT found = findFor(child, state, item);
        if (FAILED(found)) {
            return found;
        }
        switch (item.kind) {
        case ItemKind::Cell: {
            const bool root =
                item.string == board.cursorString() && item.fret == board.cursorFret();
            return answerNumber(state, STATE_SYSTEM_FOCUSABLE |
                                           (root && hasFocus(window_) ? STATE_SYSTEM_FOCUSED : 0));
        }
        case ItemKind::Box:
            return answerNumber(
                state, board.palette().current[item.slot].visible ? STATE_SYSTEM_CHECKED : 0);
        default:
            return answerNumber(state, STATE_SYSTEM_FOCUSABLE);
        }
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* text) override {
        return unsupported(text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG*) override {
        return unsupported(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* text) override {
        return unsupported(text);
    }
    // While the window has the keyboard focus, the root cell has it: the arrow keys move it.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) {
            return E_POINTER;
        }
        focus->vt = VT_EMPTY;
        if (window_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!hasFocus(window_)) {
            return S_FALSE;
        }
        return answerNumber(focus, cellNumber(board.cursorString(), board.cursorFret()));
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return unsupported(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        BoardItem item;
        const HRESULT found = findFor(child, action, item);
        if (FAILED(found)) {
            return found;
        }
        switch (item.kind) {
        case ItemKind::Cell:
            return answerText(action, "Make root");
        case ItemKind::Box:
            return answerText(action, board.palette().current[item.slot].visible ? "Hide" : "Show");
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        BoardItem item;
        const HRESULT found = find(child, item);
        if (FAILED(found)) {
            return found;
        }
        ItemRect rect = itemRect(board.metrics(), item);
        if (item.kind == ItemKind::None) {
            RECT client = {};
            GetClientRect(window_, &client);
            rect = {0, 0, client.right, client.bottom};
        }
        POINT corner = {rect.x, rect.y};
        ClientToScreen(window_, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = rect.width;
        *height = rect.height;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
        return unsupported(end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (hit == nullptr) {
            return E_POINTER;
        }
        hit->vt = VT_EMPTY;
        if (window_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        POINT point = {x, y};
        RECT client = {};
        if (!ScreenToClient(window_, &point) || !GetClientRect(window_, &client) ||
            !PtInRect(&client, point)) {
            return S_FALSE;
        }
        return answerNumber(hit, itemAt(board.metrics(), point.x, point.y));
    }
    // What a left click on the item does, with the frame and the events a click gives.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        BoardItem item;
        const HRESULT found = find(child, item);
        if (FAILED(found)) {
            return found;
        }
        if (item.kind == ItemKind::None) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (item.kind == ItemKind::Box) {
            board.toggle(item.slot);
        } else {
            const ItemRect rect = itemRect(board.metrics(), item);
            if (rect.width <= 0 || rect.height <= 0) {
                return E_FAIL; // minimised: there is no cell to press
            }
            board.handleClick(rect.y + rect.height / 2, rect.x + rect.width / 2, false);
        }
        presentFrame();
        announceBoardChanges();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
    // A box takes its other spelling, what a right click on it does; its own is no change.
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        BoardItem item;
        const HRESULT found = find(child, item);
        if (FAILED(found)) {
            return found;
        }
        if (item.kind != ItemKind::Box) {
            return DISP_E_MEMBERNOTFOUND;
        }
        const IntervalPalette& palette = board.palette();
        if (sameText(value, markerCaption(palette.current[item.slot].marker))) {
            return S_OK;
        }
        // A hidden interval keeps its spelling, as it does for a right click.
        const MarkerId other = palette.alternate[item.slot].marker;
        if (other == 0 || !palette.current[item.slot].visible ||
            !sameText(value, markerCaption(other))) {
            return E_INVALIDARG;
        }
        board.respell(item.slot);
        presentFrame();
        announceBoardChanges();
        return S_OK;
    }

  private:
    // The item `child` names (kind None: the board itself), or the error to answer.
    HRESULT find(const VARIANT& child, BoardItem& item) const {
        if (window_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (child.vt != VT_I4) {
            return E_INVALIDARG;
        }
        item = boardItem(child.lVal);
        return child.lVal == CHILDID_SELF || item.kind != ItemKind::None ? S_OK : E_INVALIDARG;
    }
    // The same for a property with one result, which is emptied first.
    HRESULT findFor(const VARIANT& child, BSTR* out, BoardItem& item) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        return find(child, item);
    }
    HRESULT findFor(const VARIANT& child, VARIANT* out, BoardItem& item) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        out->vt = VT_EMPTY;
        return find(child, item);
    }
    static HRESULT unsupported(BSTR* out) {
        if (out != nullptr) {
            *out = nullptr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    static HRESULT unsupported(VARIANT* out) {
        if (out != nullptr) {
            out->vt = VT_EMPTY;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    HWND window_; // null once the window is gone
    LONG references_ = 1;
};

// The shell's reference to the object, from the first request until the window goes.
BoardAccessible* served = nullptr;
// Whether the first request started COM on the window's thread, which marshals the object
// to clients in other processes.
bool comStarted = false;

// What the events have told so far: the root and the palette.
struct Announced {
    int string = 0;
    int fret = 0;
    IntervalPalette palette;
};

// Every window starts on a reset board.
Announced startState() {
    Fretboard start;
    start.resetBoard();
    return {start.cursorString(), start.cursorFret(), start.palette()};
}

Announced announced = startState();

} // namespace

LRESULT answerGetObject(HWND window, WPARAM flags, LPARAM objectId) {
    // The id comes as 32 bits, sign-extended into lParam or not.
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || window != app.window ||
        app.windowSurface == nullptr) {
        return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
    }
    if (!comStarted) {
        comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    if (served == nullptr) {
        served = new (std::nothrow) BoardAccessible(window);
        if (served == nullptr) {
            return E_OUTOFMEMORY;
        }
    }
    return LresultFromObject(__uuidof(IAccessible), flags, served);
}

void announceBoardChanges() {
    // Until a client has asked for the board, nobody can be listening for its children's
    // events; under Wine each one costs over a tenth of a key's time, heard or not.
    HWND window = served != nullptr ? app.window : nullptr;
    if (window != nullptr && hasFocus(window) &&
        (board.cursorString() != announced.string || board.cursorFret() != announced.fret)) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT,
                       cellNumber(board.cursorString(), board.cursorFret()));
    }
    for (int k = 0; k < kIntervalCount && window != nullptr; ++k) {
        const MarkerSlot& now = board.palette().current[k];
        const MarkerSlot& before = announced.palette.current[k];
        if (now.visible != before.visible) {
            NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, boxNumber(k));
        }
        if (now.marker != before.marker) {
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, boxNumber(k));
        }
    }
    announced = {board.cursorString(), board.cursorFret(), board.palette()};
}

void disconnectAccessible() {
    if (served != nullptr) {
        served->disconnect();
        served->Release();
        served = nullptr;
    }
    if (comStarted) {
        CoUninitialize();
        comStarted = false;
    }
    announced = startState();
}

} // namespace modalscope
