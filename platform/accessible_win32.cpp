#include "platform/accessible_win32.h"

#include <climits>

#include "platform/apartment_win32.h"
#include "platform/handles_win32.h"

namespace mivra {

namespace {

constexpr int kSelf = -1;
constexpr int kNoItem = -2;

// Default actions run later, from the window's queue: a reader's call must
// return at once, and a press may open a modal window or end the program.
UINT PressMessage() {
    static const UINT msg = RegisterWindowMessageW(L"MivraAccessiblePress");
    return msg;
}

HRESULT Text(const std::wstring& s, BSTR* out) {
    if (s.empty()) return S_FALSE;
    *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

RECT ToScreen(HWND hwnd, RECT r) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The nearest item in a direction whose span across that direction holds
// the start's centre: the cell below, the button under a column.
int Neighbour(const AccessibleContent& c, int from, long dir) {
    const POINT a = Centre(c.Item(from).bounds);
    int best = -1;
    long bestDistance = LONG_MAX;
    for (int i = 0; i < c.ItemCount(); ++i) {
        if (i == from) continue;
        const RECT b = c.Item(i).bounds;
        const POINT m = Centre(b);
        long distance = -1;
        const bool inColumn = a.x >= b.left && a.x < b.right;
        const bool inRow = a.y >= b.top && a.y < b.bottom;
        if (dir == NAVDIR_DOWN && inColumn && m.y > a.y) distance = m.y - a.y;
        if (dir == NAVDIR_UP && inColumn && m.y < a.y) distance = a.y - m.y;
        if (dir == NAVDIR_RIGHT && inRow && m.x > a.x) distance = m.x - a.x;
        if (dir == NAVDIR_LEFT && inRow && m.x < a.x) distance = a.x - m.x;
        if (distance >= 0 && distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

// Every method is noexcept: nothing may unwind into the caller's COM or RPC
// frames.
class WindowAccessibility::Object final : public IAccessible {
public:
    Object(HWND hwnd, AccessibleContent* content) : hwnd_(hwnd), content_(content) {}

    void Disconnect() {
        content_ = nullptr;
        std_.Reset();
        CoDisconnectObject(this, 0);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
            riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    // IDispatch: readers call IAccessible directly; there is no type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                            DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!content_) return RPC_E_DISCONNECTED;
        return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) noexcept override {
        if (!out) return E_POINTER;
        *out = 0;
        if (!content_) return RPC_E_DISCONNECTED;
        *out = content_->ItemCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!content_) return RPC_E_DISCONNECTED;
        const int i = ItemOf(child);
        if (i < 0) return E_INVALIDARG;
        if (HWND w = content_->Item(i).window)
            return AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_WINDOW),
                                              __uuidof(IDispatch), reinterpret_cast<void**>(out));
        return S_FALSE; // a simple element: the parent answers for it
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) noexcept override {
        return Property(child, out, &IAccessible::get_accName, &AccessibleItem::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) noexcept override {
        return Property(child, out, &IAccessible::get_accValue, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) noexcept override {
        return Property(child, out, &IAccessible::get_accDescription, &AccessibleItem::description);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) noexcept override {
        return Property(child, out, &IAccessible::get_accHelp, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) noexcept override {
        // The painted items have no keys: they are worked by mouse or reader.
        return Property(child, out, &IAccessible::get_accKeyboardShortcut, nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) noexcept override {
        return Property(child, out, &IAccessible::get_accDefaultAction, &AccessibleItem::action);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) noexcept override {
        int i;
        if (const HRESULT hr = Begin(child, out, i); hr != S_OK) return hr;
        out->vt = VT_I4;
        out->lVal = i == kSelf ? ROLE_SYSTEM_CLIENT : content_->Item(i).role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) noexcept override {
        int i;
        if (const HRESULT hr = Begin(child, out, i); hr != S_OK) return hr;
        if (i == kSelf) {
            if (IAccessible* s = Std()) return s->get_accState(child, out);
            out->vt = VT_I4;
            out->lVal = IsWindowVisible(hwnd_) ? 0 : STATE_SYSTEM_INVISIBLE;
            return S_OK;
        }
        out->vt = VT_I4;
        out->lVal = StateOf(content_->Item(i));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) noexcept override {
        if (file) *file = nullptr;
        if (topic) *topic = -1;
        return content_ ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!content_) return RPC_E_DISCONNECTED;
        HWND focus = GetFocus();
        if (focus && focus == hwnd_) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            return S_OK;
        }
        for (int i = 0; focus && i < content_->ItemCount(); ++i)
            if (content_->Item(i).window == focus) return ChildResult(i, out);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!content_) return RPC_E_DISCONNECTED;
        const int i = content_->SelectedItem();
        return i >= 0 ? ChildResult(i, out) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) noexcept override {
        if (!content_) return RPC_E_DISCONNECTED;
        const int i = ItemOf(child);
        if (i == kNoItem) return E_INVALIDARG;
        if (i == kSelf) {
            if (IAccessible* s = Std()) return s->accSelect(flags, child);
            return DISP_E_MEMBERNOTFOUND;
        }
        // Only real child windows take the focus; painted items have none.
        HWND w = content_->Item(i).window;
        if (w && flags == SELFLAG_TAKEFOCUS) {
            SetFocus(w);
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* cx, long* cy,
                                          VARIANT child) noexcept override {
        if (!x || !y || !cx || !cy) return E_POINTER;
        *x = *y = *cx = *cy = 0;
        if (!content_) return RPC_E_DISCONNECTED;
        const int i = ItemOf(child);
        if (i == kNoItem) return E_INVALIDARG;
        RECT r;
        if (i == kSelf) {
            GetClientRect(hwnd_, &r);
            r = ToScreen(hwnd_, r);
        } else if (HWND w = content_->Item(i).window) {
            GetWindowRect(w, &r);
        } else {
            r = ToScreen(hwnd_, content_->Item(i).bounds);
        }
        *x = r.left;
        *y = r.top;
        *cx = r.right - r.left;
        *cy = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!content_) return RPC_E_DISCONNECTED;
        const int from = ItemOf(start);
        if (from == kNoItem) return E_INVALIDARG;
        const int count = content_->ItemCount();
        int to = -1;
        if (from == kSelf) {
            if (dir == NAVDIR_FIRSTCHILD)
                to = count > 0 ? 0 : -1;
            else if (dir == NAVDIR_LASTCHILD)
                to = count - 1;
            else if (IAccessible* s = Std())
                return s->accNavigate(dir, start, out);
            else
                return S_FALSE;
        } else {
            switch (dir) {
            case NAVDIR_NEXT:
                to = from + 1 < count ? from + 1 : -1;
                break;
            case NAVDIR_PREVIOUS:
                to = from - 1;
                break;
            case NAVDIR_UP:
            case NAVDIR_DOWN:
            case NAVDIR_LEFT:
            case NAVDIR_RIGHT:
                to = Neighbour(*content_, from, dir);
                break;
            case NAVDIR_FIRSTCHILD:
            case NAVDIR_LASTCHILD:
                return E_INVALIDARG; // simple elements have no children
            default:
                return E_INVALIDARG;
            }
        }
        return to >= 0 ? ChildResult(to, out) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) noexcept override {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!content_) return RPC_E_DISCONNECTED;
        POINT p{x, y};
        RECT client;
        GetClientRect(hwnd_, &client);
        if (!ScreenToClient(hwnd_, &p) || !PtInRect(&client, p)) return S_FALSE;
        const int i = content_->ItemAt(p);
        if (i >= 0) return ChildResult(i, out);
        out->vt = VT_I4;
        out->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override {
        if (!content_) return RPC_E_DISCONNECTED;
        const int i = ItemOf(child);
        if (i == kNoItem) return E_INVALIDARG;
        if (i == kSelf || content_->Item(i).action.empty()) return DISP_E_MEMBERNOTFOUND;
        // A window that takes no clicks (hidden, or a modal window is up)
        // takes no press either.
        if (!IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_)) return E_FAIL;
        return PostMessageW(hwnd_, PressMessage(), static_cast<WPARAM>(i), 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

    long StateOf(const AccessibleItem& it) const {
        long state = it.state;
        if (it.window) {
            // What the real control is now, as the system would report it.
            if (!IsWindowVisible(it.window)) state |= STATE_SYSTEM_INVISIBLE;
            if (!IsWindowEnabled(it.window))
                state |= STATE_SYSTEM_UNAVAILABLE;
            else
                state |= STATE_SYSTEM_FOCUSABLE;
            if (GetFocus() == it.window) state |= STATE_SYSTEM_FOCUSED;
        } else {
            if (!IsWindowVisible(hwnd_)) state |= STATE_SYSTEM_INVISIBLE;
            if (!it.action.empty() && !IsWindowEnabled(hwnd_)) state |= STATE_SYSTEM_UNAVAILABLE;
        }
        return state;
    }

private:
    ~Object() = default;

    // What every getter of a VARIANT does first: the answer cleared, the
    // object still connected, the child id naming something.
    HRESULT Begin(const VARIANT& child, VARIANT* out, int& i) const {
        if (!out) return E_POINTER;
        VariantInit(out);
        if (!content_) return RPC_E_DISCONNECTED;
        i = ItemOf(child);
        return i == kNoItem ? E_INVALIDARG : S_OK;
    }

    // The item a child id names, kSelf for the object itself, kNoItem for
    // anything else.
    int ItemOf(const VARIANT& v) const {
        LONG id;
        switch (v.vt) {
        case VT_I4:
            id = v.lVal;
            break;
        case VT_INT:
            id = v.intVal;
            break;
        case VT_I2:
            id = v.iVal;
            break;
        default:
            return kNoItem;
        }
        if (id == CHILDID_SELF) return kSelf;
        return id >= 1 && id <= content_->ItemCount() ? id - 1 : kNoItem;
    }

    HRESULT ChildResult(int i, VARIANT* out) const {
        if (HWND w = content_->Item(i).window) {
            IDispatch* d = nullptr;
            const HRESULT hr =
                AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                           reinterpret_cast<void**>(&d));
            if (FAILED(hr)) return hr;
            out->vt = VT_DISPATCH;
            out->pdispVal = d;
            return S_OK;
        }
        out->vt = VT_I4;
        out->lVal = i + 1;
        return S_OK;
    }

    // The system's object for the client area answers for the window itself.
    IAccessible* Std() {
        if (!std_.Get() &&
            FAILED(createStdAccessible(hwnd_, OBJID_CLIENT, __uuidof(IAccessible), std_.PutVoid())))
            std_.Reset();
        return std_.Get();
    }

    // A text property: the system's object answers for the window itself,
    // the item's field for an item (none when the field is null).
    HRESULT Property(VARIANT child, BSTR* out,
                     HRESULT (STDMETHODCALLTYPE IAccessible::*stdGet)(VARIANT, BSTR*),
                     std::wstring AccessibleItem::*field) {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!content_) return RPC_E_DISCONNECTED;
        const int i = ItemOf(child);
        if (i == kNoItem) return E_INVALIDARG;
        if (i == kSelf) {
            IAccessible* s = Std();
            return s ? (s->*stdGet)(child, out) : S_FALSE;
        }
        if (!field) return S_FALSE;
        return Text(content_->Item(i).*field, out);
    }

    LONG refs_ = 1;
    HWND hwnd_;
    AccessibleContent* content_;
    ComPtr<IAccessible> std_; // let go at Disconnect
};

bool WindowAccessibility::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_GETOBJECT:
        // The object id travels in the low 32 bits; 64-bit callers may leave
        // the rest of lParam zero-extended.
        if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT) return false;
        // A window on its way out gets no new object: nothing would release
        // it, and the next window of the class would be handed it.
        if (destroying_) return false;
        if (object_ && hwnd_ != hwnd) Release();
        if (!object_) {
            if (!EnterApartment()) return false;
            hwnd_ = hwnd;
            object_ = new Object(hwnd, &content_);
            Remember();
        }
        result = LresultFromObject(__uuidof(IAccessible), wp, object_);
        return true;
    case WM_WINDOWPOSCHANGED: {
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lp)->flags;
        if (flags & SWP_SHOWWINDOW)
            NotifyWinEvent(EVENT_OBJECT_SHOW, hwnd, OBJID_CLIENT, CHILDID_SELF);
        if (flags & SWP_HIDEWINDOW)
            NotifyWinEvent(EVENT_OBJECT_HIDE, hwnd, OBJID_CLIENT, CHILDID_SELF);
        return false;
    }
    case WM_DESTROY:
        // From here on a reader's calls fail, and no object is built.
        destroying_ = true;
        if (object_) object_->Disconnect();
        return false;
    case WM_NCDESTROY:
        Release();
        destroying_ = false;
        return false;
    default:
        break;
    }
    // A press can only come from an object a reader holds.
    if (object_ && msg == PressMessage() && msg != 0) {
        const int i = static_cast<int>(wp);
        if (i >= 0 && i < content_.ItemCount() && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
            content_.Press(i);
        result = 0;
        return true;
    }
    return false;
}

void WindowAccessibility::Remember() {
    const int n = content_.ItemCount();
    seen_.clear();
    seen_.reserve(n);
    for (int i = 0; i < n; ++i) {
        AccessibleItem it = content_.Item(i);
        seen_.push_back({std::move(it.name), it.state});
    }
}

bool WindowAccessibility::Listening() const {
    return object_ && !destroying_;
}

void WindowAccessibility::ItemsChanged() {
    if (!Listening()) return;
    const int n = content_.ItemCount();
    if (static_cast<int>(seen_.size()) != n) {
        Remember();
        NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd_, OBJID_CLIENT, CHILDID_SELF);
        return;
    }
    // Front of the reading order first: a reader announces the title before the cells.
    for (int i = 0; i < n; ++i) {
        AccessibleItem it = content_.Item(i);
        Seen& was = seen_[i];
        if (it.name != was.name) {
            was.name = std::move(it.name);
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, i + 1);
        }
        if (it.state != was.state) {
            was.state = it.state;
            NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd_, OBJID_CLIENT, i + 1);
        }
    }
}

void WindowAccessibility::LocationsChanged() {
    if (!Listening()) return;
    NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    const int n = content_.ItemCount();
    for (int i = 0; i < n; ++i)
        NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, hwnd_, OBJID_CLIENT, i + 1);
}

void WindowAccessibility::Release() {
    if (object_) {
        object_->Disconnect();
        object_->Release();
        object_ = nullptr;
    }
    hwnd_ = nullptr;
    seen_.clear();
}

} // namespace mivra
