// The board's Active Accessibility object, made on the first request, and the events that
// follow each input once it exists. What it says comes from model/board_description; this
// file translates that into COM's calls.
#include "app/board_accessible.h"

#include <new>
#include <string>

#include "app/app_window.h"
#include "app/globals.h"
#include "app/system_dlls.h"
#include "model/board_description.h"

namespace modalscope {

namespace {

// Loaded on the first request, freed after the message loop.
AccessibilityDlls dlls;

// The Windows display language, read once.
Language userLanguage() {
    static const Language language = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN
                                         ? Language::Russian
                                         : Language::English;
    return language;
}

HRESULT answerText(BSTR* out, const std::string& text) {
    OLECHAR wide[64] = {};
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, 63);
    *out = dlls.sysAllocString(wide);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Empty for a text too long to be any spelling, which then matches none.
std::string utf8(BSTR text) {
    char narrow[64] = {};
    if (text == nullptr ||
        WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr) == 0) {
        return "";
    }
    return narrow;
}

HRESULT answerNumber(VARIANT* out, LONG value) {
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

bool hasFocus(HWND window) {
    return window != nullptr && GetFocus() == window;
}

LONG platformState(unsigned state) {
    return ((state & kItemFocusable) != 0 ? STATE_SYSTEM_FOCUSABLE : 0) |
           ((state & kItemFocused) != 0 ? STATE_SYSTEM_FOCUSED : 0) |
           ((state & kItemChecked) != 0 ? STATE_SYSTEM_CHECKED : 0);
}

bool directionOf(LONG navigation, Direction& direction) {
    switch (navigation) {
    case NAVDIR_NEXT:
        direction = Direction::Next;
        return true;
    case NAVDIR_PREVIOUS:
        direction = Direction::Previous;
        return true;
    case NAVDIR_FIRSTCHILD:
        direction = Direction::FirstChild;
        return true;
    case NAVDIR_LASTCHILD:
        direction = Direction::LastChild;
        return true;
    case NAVDIR_UP:
        direction = Direction::Up;
        return true;
    case NAVDIR_DOWN:
        direction = Direction::Down;
        return true;
    case NAVDIR_LEFT:
        direction = Direction::Left;
        return true;
    case NAVDIR_RIGHT:
        direction = Direction::Right;
        return true;
    default:
        return false;
    }
}

// The change's effects on the screen and for the listeners, as after an input.
void showChange() {
    presentFrame();
    announceBoardChanges();
}

// COM calls the object through IAccessible's table, so this one class derives from the
// platform's interface. It reads the shell's board and acts on it as the window's input does.
class BoardAccessible final : public IAccessible {
  public:
    BoardAccessible(HWND window, Language language) : window_(window), language_(language) {}
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
        return dlls.accessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                               __uuidof(IDispatch),
                                               reinterpret_cast<void**>(parent));
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
        return FAILED(found) ? found : answerText(name, itemName(board, item, language_));
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        BoardItem item;
        const HRESULT found = findFor(child, value, item);
        if (FAILED(found)) {
            return found;
        }
        std::string text;
        return itemValue(board, item, text) ? answerText(value, text) : DISP_E_MEMBERNOTFOUND;
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
        return answerNumber(state, platformState(itemState(board, item, hasFocus(window_))));
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
        std::string text;
        return itemAction(board, item, language_, text) ? answerText(action, text)
                                                        : DISP_E_MEMBERNOTFOUND;
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
    HRESULT STDMETHODCALLTYPE accNavigate(LONG navigation, VARIANT start, VARIANT* end) override {
        BoardItem item;
        const HRESULT found = findFor(start, end, item);
        if (FAILED(found)) {
            return found;
        }
        Direction direction = Direction::Next;
        if (!directionOf(navigation, direction)) {
            return E_INVALIDARG;
        }
        const long to = navigate(start.lVal, direction);
        return to == 0 ? S_FALSE : answerNumber(end, to);
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
    // What a left click on the item does, with the frame and the events a click gives; on
    // the model itself, so it works while the window is minimised too.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        BoardItem item;
        const HRESULT found = find(child, item);
        if (FAILED(found)) {
            return found;
        }
        if (!doItemAction(board, item)) {
            return DISP_E_MEMBERNOTFOUND;
        }
        showChange();
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
        switch (respellTo(board, item, utf8(value))) {
        case Respelling::Respelled:
            showChange();
            return S_OK;
        case Respelling::Unchanged:
            return S_OK;
        default:
            return E_INVALIDARG;
        }
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
    const Language language_;
    LONG references_ = 1;
};

// The shell's reference to the object, from the first request until the window goes.
BoardAccessible* served = nullptr;
// Whether the first request started COM on the window's thread, which marshals the object
// to clients in other processes.
bool comStarted = false;
// The window that has shut down: a request for it then makes no new object.
HWND shutWindow = nullptr;

// Every window starts on a reset board.
Announced startState() {
    Fretboard start;
    start.resetBoard();
    return announcedOf(start);
}

Announced announced = startState();

} // namespace

LRESULT answerGetObject(HWND window, WPARAM flags, LPARAM objectId) {
    // The id comes as 32 bits, sign-extended into lParam or not.
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || window != app.window ||
        app.windowSurface == nullptr || window == shutWindow || !dlls.load()) {
        return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
    }
    if (!comStarted) {
        comStarted = SUCCEEDED(dlls.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    if (served == nullptr) {
        served = new (std::nothrow) BoardAccessible(window, userLanguage());
        if (served == nullptr) {
            return E_OUTOFMEMORY;
        }
    }
    return dlls.lresultFromObject(__uuidof(IAccessible), flags, served);
}

void announceBoardChanges() {
    // Until a client has asked for the board, nobody can be listening for its children's
    // events; under Wine each one costs over a tenth of a key's time, heard or not.
    HWND window = served != nullptr ? app.window : nullptr;
    if (window != nullptr) {
        const ItemEvents told = changeEvents(announced, board, hasFocus(window));
        for (int i = 0; i < told.count; ++i) {
            const ItemEvent& event = told.events[i];
            NotifyWinEvent(event.kind == ItemEventKind::Focus         ? EVENT_OBJECT_FOCUS
                           : event.kind == ItemEventKind::StateChange ? EVENT_OBJECT_STATECHANGE
                                                                      : EVENT_OBJECT_NAMECHANGE,
                           window, OBJID_CLIENT, event.item);
        }
    }
    announced = announcedOf(board);
}

void announceFocus() {
    if (app.window != nullptr && app.window != shutWindow) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, app.window, OBJID_CLIENT,
                       cellNumber(board.cursorString(), board.cursorFret()));
    }
}

void disconnectAccessible() {
    shutWindow = app.window;
    if (served != nullptr) {
        served->disconnect();
        dlls.coDisconnectObject(served, 0);
        served->Release();
        served = nullptr;
    }
    announced = startState();
}

void endAccessibility() {
    if (comStarted) {
        dlls.coUninitialize();
        comStarted = false;
    }
    dlls.unload();
    shutWindow = nullptr;
}

} // namespace modalscope
