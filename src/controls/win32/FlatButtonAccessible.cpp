#include "controls/win32/FlatButtonAccessible.h"

#include <oleacc.h>

#include <string>

#include "common/core/Texts.h"
#include "common/win32/ControlFactory.h"
#include "controls/win32/FlatButton.h"

namespace qorvani {
namespace {

// The index that OBJID_QUERYCLASSNAMEIDX gives for the system's "Button" class.
constexpr LRESULT kButtonClassIndex = 65536 + 2;
// The default action's name is text::kPressAction, as the system's own buttons call it on a
// Chinese Windows.

// Interface identifiers are taken with __uuidof: the import library of oleacc also names
// IID_IAccessible, and a linker that takes that name from it gets an import thunk, not the GUID.

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT PutText(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Name, role, state and default action are the button's; the rest is the standard object's.
class Accessible final : public IAccessible {
public:
    Accessible(HWND button, IAccessible* standard) : button_(button), standard_(standard) {}
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }

    // The button's own answers.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!IsWindow(button_)) return E_FAIL;
        return PutText(ControlText(button_), name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        VariantInit(role);
        if (!IsSelf(child)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        VariantInit(state);
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!IsWindow(button_)) return E_FAIL;
        LONG flags = 0;
        if (!IsWindowEnabled(button_))
            flags |= STATE_SYSTEM_UNAVAILABLE;
        else
            flags |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == button_) flags |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(button_)) flags |= STATE_SYSTEM_INVISIBLE;
        if (SendMessageW(button_, BM_GETSTATE, 0, 0) & BST_PUSHED) flags |= STATE_SYSTEM_PRESSED;
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        return PutText(text::kPressAction, action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!IsWindow(button_) || !IsWindowEnabled(button_)) return E_FAIL;
        // Posted, as the system's buttons do: the tool's call returns at once, and the command
        // (a scan may run for minutes) runs from the window's own message loop.
        return PostMessageW(button_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
    }

    // The standard object's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;  // the caption is drawn, not a child
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out != nullptr) *out = nullptr;
        (void)child;
        return E_INVALIDARG;  // no children
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (shortcut == nullptr) return E_POINTER;
        *shortcut = nullptr;
        return IsSelf(child) ? S_FALSE : E_INVALIDARG;  // no access keys
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        VariantInit(focus);
        if (GetFocus() == button_) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        VariantInit(selection);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!IsSelf(child)) return E_INVALIDARG;
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        RECT frame{};
        if (!GetWindowRect(button_, &frame)) return E_FAIL;
        *left = frame.left;
        *top = frame.top;
        *width = frame.right - frame.left;
        *height = frame.bottom - frame.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (child == nullptr) return E_POINTER;
        VariantInit(child);
        RECT frame{};
        if (!GetWindowRect(button_, &frame)) return E_FAIL;
        if (!PtInRect(&frame, POINT{x, y})) return S_FALSE;
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Accessible() { standard_->Release(); }

    LONG refs_ = 1;
    HWND button_;
    IAccessible* standard_;  // owned: one reference
};

}  // namespace

LRESULT AnswerFlatButtonObject(HWND button, WPARAM wParam, LPARAM lParam) {
    // The object id is a 32-bit value; a 64-bit LPARAM may carry it zero-extended.
    const auto objectId = static_cast<LONG>(static_cast<DWORD>(lParam));
    if (objectId == OBJID_QUERYCLASSNAMEIDX) return kButtonClassIndex;
    if (objectId != OBJID_CLIENT) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(button, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) ||
        standard == nullptr)
        return 0;
    auto* object = new Accessible(button, standard);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    return result;
}

}  // namespace qorvani
