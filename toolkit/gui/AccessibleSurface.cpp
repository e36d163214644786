#include "toolkit/gui/AccessibleSurface.h"

#include "toolkit/gui/SurfaceChildren.h"
#include "toolkit/text/CodePage.h"

#include <atomic>

namespace tk {

using Microsoft::WRL::ComPtr;

namespace {

// Marshalling the object needs COM on the window thread. It is started once,
// at the first question a client asks, and kept for the thread's life, which
// is the program's: a start that no screen reader asks about loads no COM.
bool comReady() {
    thread_local HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(started) || started == RPC_E_CHANGED_MODE;
}

HRESULT text(const std::string& value, BSTR* out) {
    *out = SysAllocString(utf8ToWide(value).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

const VARIANT self = childVariant(CHILDID_SELF);

using TextProperty = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

} // namespace

// The client area's accessible object. It reads the container live, so it
// always tells the current state; once the container goes it only answers
// that it is gone.
class SurfaceObject final : public IAccessible {
public:
    SurfaceObject(Container& container, ComPtr<IAccessible> standard)
        : container_(&container), standard_(std::move(standard)) {}

    void disconnect() {
        container_ = nullptr;
        standard_.Reset();
        // Remote clients' stubs go too; they hear RPC_E_DISCONNECTED.
        CoDisconnectObject(this, 0);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) &&
            iid != __uuidof(IAccessible)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // Clients use the interface's own methods; there is no type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
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
        *parent = nullptr;
        return guarded([&] { return standard_->get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        return guarded([&] {
            *count = SurfaceChildren(*container_).count();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        *object = nullptr;
        return guarded([&] {
            SurfaceChildren children(*container_);
            if (child.vt != VT_I4 || !children.has(child.lVal))
                return E_INVALIDARG;
            if (children.drawnAt(child.lVal))
                return S_FALSE; // a simple element, described by this object
            ComPtr<IAccessible> window = windowObject(children.windowAt(child.lVal));
            return window ? window->QueryInterface(__uuidof(IDispatch),
                                                   reinterpret_cast<void**>(object))
                          : E_FAIL;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        *name = nullptr;
        return answer(
            child, [&](Graphic& graphic) { return text(accessibleName(graphic), name); },
            [&](IAccessible& object) { return object.get_accName(self, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return noDrawnText(child, value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return noDrawnText(child, description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        role->vt = VT_EMPTY;
        return answer(
            child,
            [&](Graphic& graphic) {
                *role = childVariant(accessibleRole(graphic));
                return S_OK;
            },
            [&](IAccessible& object) { return object.get_accRole(self, role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        state->vt = VT_EMPTY;
        return answer(
            child,
            [&](Graphic& graphic) {
                *state = childVariant(accessibleState(graphic));
                return S_OK;
            },
            [&](IAccessible& object) { return object.get_accState(self, state); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return noDrawnText(child, help, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        *file = nullptr;
        *topic = 0;
        return answer(
            child, [](Graphic&) { return S_FALSE; },
            [&](IAccessible& object) { return object.get_accHelpTopic(file, self, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return noDrawnText(child, shortcut, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        focus->vt = VT_EMPTY;
        return guarded([&] { return SurfaceChildren(*container_).focused(focus); });
    }
    // Nothing in the client area itself is selected; a list tells its own.
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        selection->vt = VT_EMPTY;
        return guarded([] { return S_FALSE; });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        *action = nullptr;
        return answer(
            child,
            [&](Graphic& graphic) {
                return accessibleRole(graphic) == ROLE_SYSTEM_PUSHBUTTON ? text("Press", action)
                                                                         : S_FALSE;
            },
            [&](IAccessible& object) { return object.get_accDefaultAction(self, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return answer(
            child, [](Graphic&) { return DISP_E_MEMBERNOTFOUND; },
            [&](IAccessible& object) { return object.accSelect(flags, self); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        *left = *top = *width = *height = 0;
        auto place = [&](RECT rect) {
            MapWindowPoints(container_->containerHandle(), nullptr, reinterpret_cast<POINT*>(&rect),
                            2);
            *left = rect.left;
            *top = rect.top;
            *width = rect.right - rect.left;
            *height = rect.bottom - rect.top;
            return S_OK;
        };
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF)
            return guarded([&] {
                RECT client;
                GetClientRect(container_->containerHandle(), &client);
                return place(client);
            });
        return answer(
            child, [&](Graphic& graphic) { return place(graphic.bounds().rect()); },
            [&](IAccessible& object) {
                return object.accLocation(left, top, width, height, self);
            });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        end->vt = VT_EMPTY;
        return guarded([&] { return navigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        hit->vt = VT_EMPTY;
        return guarded([&] {
            POINT p{x, y};
            ScreenToClient(container_->containerHandle(), &p);
            return SurfaceChildren(*container_).at(p, hit);
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return answer(
            child, [](Graphic& graphic) { return pressLater(graphic); },
            [&](IAccessible& object) { return object.accDoDefaultAction(self); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
        return guarded([] { return E_NOTIMPL; });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
        return guarded([] { return E_NOTIMPL; });
    }

private:
    ~SurfaceObject() = default;

    // Runs `work` while the container lives; no exception crosses into COM.
    template <class Work> HRESULT guarded(Work work) noexcept {
        if (!container_)
            return CO_E_OBJNOTCONNECTED;
        try {
            return work();
        } catch (...) {
            return E_FAIL;
        }
    }

    // Answers for the client area itself through the system's object, for a
    // drawn control here, and for a child window through that window's own
    // object.
    template <class Drawn, class Standard>
    HRESULT answer(const VARIANT& child, Drawn drawn, Standard standard) noexcept {
        return guarded([&]() -> HRESULT {
            if (child.vt != VT_I4)
                return E_INVALIDARG;
            if (child.lVal == CHILDID_SELF)
                return standard(*standard_.Get());
            SurfaceChildren children(*container_);
            if (!children.has(child.lVal))
                return E_INVALIDARG;
            if (Graphic* graphic = children.drawnAt(child.lVal))
                return drawn(*graphic);
            ComPtr<IAccessible> window = windowObject(children.windowAt(child.lVal));
            return window ? standard(*window.Get()) : E_FAIL;
        });
    }

    // A text that drawn controls do not have.
    HRESULT noDrawnText(const VARIANT& child, BSTR* out, TextProperty property) noexcept {
        *out = nullptr;
        return answer(
            child, [](Graphic&) { return S_FALSE; },
            [&](IAccessible& object) { return (object.*property)(self, out); });
    }

    HRESULT navigate(LONG direction, const VARIANT& start, VARIANT* end) {
        if (start.vt != VT_I4)
            return E_INVALIDARG;
        SurfaceChildren children(*container_);
        LONG from = start.lVal;
        if (from == CHILDID_SELF) {
            if (direction == NAVDIR_FIRSTCHILD)
                return children.variant(1, end);
            if (direction == NAVDIR_LASTCHILD)
                return children.variant(children.count(), end);
            return standard_->accNavigate(direction, start, end);
        }
        if (!children.has(from))
            return E_INVALIDARG;
        if (direction == NAVDIR_NEXT)
            return children.variant(from + 1, end);
        if (direction == NAVDIR_PREVIOUS)
            return children.variant(from - 1, end);
        return DISP_E_MEMBERNOTFOUND;
    }

    std::atomic<ULONG> references_{1};
    Container* container_;
    ComPtr<IAccessible> standard_;
};

AccessibleSurface::AccessibleSurface(Container& container) : container_(container) {}

AccessibleSurface::~AccessibleSurface() {
    if (object_) {
        object_->disconnect();
        object_->Release();
    }
}

LRESULT AccessibleSurface::answer(WPARAM wParam) {
    if (!object_) {
        if (!comReady())
            return 0;
        ComPtr<IAccessible> standard;
        HRESULT made = CreateStdAccessibleObject(container_.containerHandle(), OBJID_CLIENT,
                                                 __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(standard.GetAddressOf()));
        if (FAILED(made))
            return 0;
        object_ = new SurfaceObject(container_, std::move(standard));
    }
    return LresultFromObject(__uuidof(IAccessible), wParam, object_);
}

} // namespace tk
