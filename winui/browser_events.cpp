#include "browser_events.h"

namespace winui {

VARIANT* BrowserEventArgs::Raw(UINT index) const
{
    // DISPPARAMS holds the arguments last to first.
    if (index >= Count())
        return nullptr;
    return &params_->rgvarg[params_->cArgs - 1 - index];
}

VARIANT* BrowserEventArgs::Arg(UINT index) const
{
    VARIANT* v = Raw(index);
    if (v && v->vt == (VT_BYREF | VT_VARIANT))
        v = v->pvarVal;
    return v;
}

std::wstring BrowserEventArgs::Text(UINT index) const
{
    const VARIANT* v = Arg(index);
    BSTR text = nullptr;
    if (v && v->vt == VT_BSTR)
        text = v->bstrVal;
    else if (v && v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal)
        text = *v->pbstrVal;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

bool BrowserEventArgs::SetBool(UINT index, bool value)
{
    const VARIANT_BOOL b = value ? VARIANT_TRUE : VARIANT_FALSE;
    VARIANT* raw = Raw(index);
    if (raw && raw->vt == (VT_BYREF | VT_BOOL) && raw->pboolVal) {
        *raw->pboolVal = b;
        return true;
    }
    VARIANT* v = Arg(index);
    if (v && v != raw && v->vt == VT_BOOL) {
        v->boolVal = b;
        return true;
    }
    return false;
}

}  // namespace winui
