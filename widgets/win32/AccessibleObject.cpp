#include "widgets/win32/AccessibleObject.h"

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"

#include <commctrl.h> // BST_HOT
#include <oleacc.h>

#include <atomic>
#include <string>
#include <utility>

namespace quorvel {

namespace {

// A reference held on a COM interface.
template <typename Interface> class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_) {
            p_->Release();
        }
    }
    Interface* get() const { return p_; }
    Interface** out() { return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    Interface* p_ = nullptr;
};

BSTR bstrOf(const std::string& utf8) {
    const std::wstring wide = toWide(utf8);
    return system::SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
}

// The description of IAccessible in oleacc's type library, for clients that call the object
// through IDispatch (scripts, late-bound readers); null where the system has none. Loaded on the
// first such call and kept for the rest of the process, as the library is.
ITypeInfo* accessibleTypeInfo() {
    static ITypeInfo* const info = []() -> ITypeInfo* {
        constexpr GUID kAccessibilityLibrary = {
            0x1EA4DBF0, 0x3C3B, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
        ITypeLib* library = nullptr;
        if (FAILED(system::LoadRegTypeLib(kAccessibilityLibrary, 1, 1, 0, &library)) || !library) {
            return nullptr;
        }
        ITypeInfo* found = nullptr;
        if (FAILED(library->GetTypeInfoOfGuid(__uuidof(IAccessible), &found))) {
            found = nullptr;
        }
        library->Release();
        return found;
    }();
    return info;
}

class AccessibleObject final : public IAccessible, public IOleWindow {
public:
    AccessibleObject(HWND window, std::shared_ptr<AccessibleSource> source)
        : window_(window), source_(std::move(source)) {
        system::CreateStdAccessibleObject(window_, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(standard_.out()));
    }
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID id, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == __uuidof(IOleWindow)) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: calls by name and number go to the IAccessible methods as oleacc's type
    // library describes them.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = accessibleTypeInfo() ? 1 : 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) {
            return E_POINTER;
        }
        *info = nullptr;
        if (index != 0) {
            return DISP_E_BADINDEX;
        }
        ITypeInfo* const found = accessibleTypeInfo();
        if (!found) {
            return E_NOTIMPL;
        }
        found->AddRef();
        *info = found;
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (id != GUID{}) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        ITypeInfo* const info = accessibleTypeInfo();
        return info ? system::DispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID member, REFIID id, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override {
        if (id != GUID{}) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        ITypeInfo* const info = accessibleTypeInfo();
        return info ? system::DispInvoke(static_cast<IAccessible*>(this), info, member, flags,
                                         params, result, exception, badArgument)
                    : E_NOTIMPL;
    }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = window_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override {
        if (!parent) {
            return E_POINTER;
        }
        *parent = nullptr;
        return live() && standard_ ? standard_.get()->get_accParent(parent) : E_FAIL;
    }
    STDMETHODIMP get_accChildCount(long* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        if (!live()) {
            return E_FAIL;
        }
        *count = source_->childCount() + childWindowCount();
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (!live()) {
            return E_FAIL;
        }
        if (child.vt != VT_I4 || child.lVal < 1) {
            return E_INVALIDARG;
        }
        if (child.lVal <= source_->childCount()) {
            return S_FALSE; // a simple element: the caller asks this object about it
        }
        const HWND window = childWindow(child.lVal - source_->childCount());
        if (!window) {
            return E_INVALIDARG;
        }
        return system::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW),
                                                  __uuidof(IDispatch),
                                                  reinterpret_cast<void**>(object));
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        return text(child, name, [](const access::Description& d) { return d.name; });
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        return text(child, value, [](const access::Description& d) { return d.value; });
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
        return text(child, description, [](const access::Description&) { return std::string(); });
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        return number(child, role,
                      [](const access::Description& d) { return static_cast<long>(d.role); });
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        return number(child, state,
                      [](const access::Description& d) { return static_cast<long>(d.state); });
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
        return text(child, help, [](const access::Description&) { return std::string(); });
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) {
            *file = nullptr;
        }
        if (topic) {
            *topic = 0;
        }
        return S_FALSE;
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (!shortcut) {
            return E_POINTER;
        }
        *shortcut = nullptr;
        if (!live()) {
            return E_FAIL;
        }
        if (!simple(child)) {
            return E_INVALIDARG;
        }
        return child.lVal == CHILDID_SELF && standard_
                   ? standard_.get()->get_accKeyboardShortcut(child, shortcut)
                   : S_FALSE;
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override {
        if (!focus) {
            return E_POINTER;
        }
        focus->vt = VT_EMPTY;
        if (!live()) {
            return E_FAIL;
        }
        if (::GetFocus() == window_) {
            focus->vt = VT_I4;
            focus->lVal = source_->focusedChild();
            return S_OK;
        }
        return standard_ ? standard_.get()->get_accFocus(focus) : S_FALSE;
    }
    STDMETHODIMP get_accSelection(VARIANT* selection) override {
        if (!selection) {
            return E_POINTER;
        }
        selection->vt = VT_EMPTY;
        return live() ? S_FALSE : E_FAIL;
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        return text(child, action, [](const access::Description& d) { return d.defaultAction; });
    }
    STDMETHODIMP accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override {
        if (!left || !top || !width || !height) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        if (!live()) {
            return E_FAIL;
        }
        if (!simple(child)) {
            return E_INVALIDARG;
        }
        if (child.lVal == CHILDID_SELF) {
            RECT client{};
            ::GetClientRect(window_, &client);
            ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
            *left = client.left;
            *top = client.top;
            *width = client.right - client.left;
            *height = client.bottom - client.top;
            return S_OK;
        }
        RECT rect = source_->childRect(child.lVal);
        ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) {
            return E_POINTER;
        }
        end->vt = VT_EMPTY;
        if (!live()) {
            return E_FAIL;
        }
        if (!simple(start)) {
            return E_INVALIDARG;
        }
        const long count = source_->childCount();
        long to = 0;
        if (start.lVal == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD && count > 0) {
                to = 1;
            } else if (direction == NAVDIR_LASTCHILD && count > 0 && childWindowCount() == 0) {
                to = count;
            } else {
                return standard_ ? standard_.get()->accNavigate(direction, start, end) : S_FALSE;
            }
        } else if (direction == NAVDIR_NEXT && start.lVal < count) {
            to = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS && start.lVal > 1) {
            to = start.lVal - 1;
        } else {
            return S_FALSE;
        }
        end->vt = VT_I4;
        end->lVal = to;
        return S_OK;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* found) override {
        if (!found) {
            return E_POINTER;
        }
        found->vt = VT_EMPTY;
        if (!live()) {
            return E_FAIL;
        }
        POINT point{x, y};
        ::ScreenToClient(window_, &point);
        RECT client{};
        ::GetClientRect(window_, &client);
        if (!::PtInRect(&client, point)) {
            return S_FALSE;
        }
        const HWND child = ::ChildWindowFromPointEx(window_, point, CWP_SKIPINVISIBLE);
        if (child && child != window_ && standard_) {
            return standard_.get()->accHitTest(x, y, found);
        }
        found->vt = VT_I4;
        found->lVal = source_->childAt(point);
        return S_OK;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!live()) {
            return E_FAIL;
        }
        if (!simple(child)) {
            return E_INVALIDARG;
        }
        return source_->doDefaultAction(child.lVal) ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() = default;

    bool live() const { return ::IsWindow(window_) && source_->alive(); }
    // The window itself or one of the source's simple elements.
    bool simple(const VARIANT& child) const {
        return child.vt == VT_I4 && child.lVal >= 0 && child.lVal <= source_->childCount();
    }
    long childWindowCount() const {
        long count = 0;
        for (HWND w = ::GetWindow(window_, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
            ++count;
        }
        return count;
    }
    HWND childWindow(long position) const {
        HWND w = ::GetWindow(window_, GW_CHILD);
        for (long i = 1; w && i < position; ++i) {
            w = ::GetWindow(w, GW_HWNDNEXT);
        }
        return w;
    }

    template <typename Field> HRESULT text(const VARIANT& child, BSTR* out, Field field) {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (!live()) {
            return E_FAIL;
        }
        if (!simple(child)) {
            return E_INVALIDARG;
        }
        try {
            const std::string value = field(source_->describe(child.lVal));
            if (value.empty()) {
                return S_FALSE;
            }
            *out = bstrOf(value);
            return *out ? S_OK : E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
    }
    template <typename Field> HRESULT number(const VARIANT& child, VARIANT* out, Field field) {
        if (!out) {
            return E_POINTER;
        }
        out->vt = VT_EMPTY;
        if (!live()) {
            return E_FAIL;
        }
        if (!simple(child)) {
            return E_INVALIDARG;
        }
        try {
            out->lVal = field(source_->describe(child.lVal));
            out->vt = VT_I4;
            return S_OK;
        } catch (...) {
            return E_FAIL;
        }
    }

    std::atomic<ULONG> references_{1};
    HWND window_;
    std::shared_ptr<AccessibleSource> source_;
    ComRef<IAccessible> standard_;
};

class PushButtonSource final : public AccessibleSource {
public:
    explicit PushButtonSource(HWND button) : button_(button) {}

    access::Description describe(long) const override {
        const LRESULT state = ::SendMessageW(button_, BM_GETSTATE, 0, 0);
        access::ButtonFacts facts;
        facts.visible = ::IsWindowVisible(button_) != FALSE;
        facts.enabled = ::IsWindowEnabled(button_) != FALSE;
        facts.focused = ::GetFocus() == button_;
        facts.pressed = (state & BST_PUSHED) != 0;
        facts.hot = (state & BST_HOT) != 0;
        std::wstring label(static_cast<std::size_t>(::GetWindowTextLengthW(button_)) + 1, L'\0');
        label.resize(static_cast<std::size_t>(
            ::GetWindowTextW(button_, label.data(), static_cast<int>(label.size()))));
        return access::pushButton(toUtf8(label), facts);
    }
    bool doDefaultAction(long child) override {
        return child == CHILDID_SELF && ::IsWindowEnabled(button_) &&
               ::PostMessageW(button_, BM_CLICK, 0, 0) != FALSE;
    }

private:
    HWND button_;
};

// Objects are handed out on the thread of their window, which must be in a COM apartment for
// them to be marshalled; the first request puts the thread into one for the rest of its life.
bool enterApartment() {
    thread_local const bool entered = [] {
        const HRESULT result = system::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }();
    return entered;
}

} // namespace

LRESULT answerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                        std::shared_ptr<AccessibleSource> source) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !source) {
        return 0;
    }
    try {
        if (!enterApartment()) {
            return 0;
        }
        auto* object = new AccessibleObject(window, std::move(source));
        const LRESULT result = system::LresultFromObject(__uuidof(IAccessible), wParam,
                                                         static_cast<IAccessible*>(object));
        object->Release();
        return result;
    } catch (...) {
        return 0;
    }
}

LRESULT answerButtonGetObject(HWND button, WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return 0;
    }
    try {
        return answerGetObject(button, wParam, lParam, std::make_shared<PushButtonSource>(button));
    } catch (...) {
        return 0;
    }
}

void notifyFocus(HWND window, long child) {
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child);
}

} // namespace quorvel
