#include "win32/accessible.h"

#include <commctrl.h>
#include <oleauto.h>

#include <atomic>
#include <new>
#include <utility>

#include "win32/handles.h"
#include "win32/hooks.h"

namespace trelvane {

namespace {

// A VARIANT cleared when it goes.
struct OwnedVariant : VARIANT {
    OwnedVariant() { VariantInit(this); }
    ~OwnedVariant() { VariantClear(this); }
    OwnedVariant(const OwnedVariant &) = delete;
    OwnedVariant &operator=(const OwnedVariant &) = delete;
};

// Each control's view that speaks for it, kept while the control lives.
ProcedureHooks<const AccessibleSource *> &hooked()
{
    static ProcedureHooks<const AccessibleSource *> hooks;
    return hooks;
}

HRESULT giveText(const std::wstring &text, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// The system's object for a control's window, with what the view says of the control
// itself laid over it; its parts (a list's button, say) are the system's alone.
class AccessibleControl final : public IAccessible, public IOleWindow {
public:
    AccessibleControl(HWND control, ComRef<IAccessible> standard) : control_(control), standard_(std::move(standard)) {}
    AccessibleControl(const AccessibleControl &) = delete;
    AccessibleControl &operator=(const AccessibleControl &) = delete;

    // IUnknown: IAccessible, IDispatch and IOleWindow are one object; the system's is not reached.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible *>(this);
        } else if (iid == __uuidof(IOleWindow)) {
            *out = static_cast<IOleWindow *>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: readers call IAccessible directly. Without type information no late-bound
    // call can reach the system's answers in place of these.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *out) override
    {
        if (!out)
            return E_POINTER;
        *out = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: what the view says, about the control itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *out) override
    {
        const auto said = facts(child);
        return said && !said->name.empty() ? giveText(said->name, out) : standard_->get_accName(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *out) override
    {
        const auto said = facts(child);
        return said && said->value ? giveText(*said->value, out) : standard_->get_accValue(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *out) override
    {
        const auto said = facts(child);
        return said && !said->description.empty() ? giveText(said->description, out)
                                                  : standard_->get_accDescription(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *out) override
    {
        const HRESULT result = standard_->get_accRole(child, out);
        if (SUCCEEDED(result) && isClient(*out))
            if (const auto said = facts(child))
                out->lVal = said->role;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *out) override
    {
        const HRESULT result = standard_->get_accState(child, out);
        if (FAILED(result) || out->vt != VT_I4)
            return result;
        OwnedVariant role;
        if (SUCCEEDED(standard_->get_accRole(child, &role)) && isClient(role))
            if (const auto said = facts(child))
                out->lVal = (out->lVal & ~(STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED)) | said->state;
        return result;
    }

    // The rest is the system's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **out) override { return standard_->get_accParent(out); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *out) override { return standard_->get_accChildCount(out); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override
    {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *out) override
    {
        return standard_->get_accHelp(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *out) override
    {
        return standard_->get_accKeyboardShortcut(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *out) override { return standard_->get_accFocus(out); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *out) override { return standard_->get_accSelection(out); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *out) override
    {
        return standard_->get_accDefaultAction(child, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override { return standard_->accSelect(how, child); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *out) override
    {
        return standard_->accNavigate(direction, start, out);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT *out) override
    {
        return standard_->accHitTest(x, y, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~AccessibleControl() = default;

    static bool isClient(const VARIANT &role) { return role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_CLIENT; }

    // A reader may hold this object after the window is gone: only a living window
    // still leads to the view.
    std::optional<AccessibleFacts> facts(const VARIANT &child) const
    {
        const auto *source = hooked().dataOf(control_);
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF || !source)
            return std::nullopt;
        return (*source)->accessibleFacts(control_);
    }

    HWND control_;
    ComRef<IAccessible> standard_;
    std::atomic<ULONG> references_{1};
};

LRESULT CALLBACK accessibleProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    // lParam carries a 32-bit object ID, sign-extended or not depending on the caller.
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        ComRef<IAccessible> standard;
        if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible), standard.put())))
            if (auto *made = new (std::nothrow) AccessibleControl(control, std::move(standard))) {
                const ComRef<IAccessible> wrapper(made);
                // A failure is a negative error code; the system's own answer is then given.
                if (const LRESULT reference = LresultFromObject(__uuidof(IAccessible), wParam, wrapper.get());
                    reference > 0)
                    return reference;
            }
    }
    return hooked().handOn(control, message, wParam, lParam);
}

}  // namespace

void makeAccessible(HWND control, const AccessibleSource &source) { hooked().hook(control, &accessibleProc, &source); }

}  // namespace trelvane
