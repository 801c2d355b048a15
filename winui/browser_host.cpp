// The browser host: creation in place of a template's placeholder, calls by dispatch id.
#include "browser_host.h"

#include <exdisp.h>

#include <algorithm>

#include "browser_site.h"
#include "window.h"

namespace winui {

BrowserHost::BrowserHost() = default;

BrowserHost::~BrowserHost()
{
    Destroy();
}

HWND BrowserHost::OwnerHandle() const
{
    return owner_ ? owner_->Handle() : nullptr;
}

bool BrowserHost::Create(Window& owner, int controlId)
{
    HWND parent = owner.Handle();
    HWND slot = parent ? GetDlgItem(parent, controlId) : nullptr;
    if (object_ || !slot)
        return false;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IOleObject, object_.ReceiveAny())))
        return false;

    RECT rect;
    GetWindowRect(slot, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const bool visible = (GetWindowLongPtrW(slot, GWL_STYLE) & WS_VISIBLE) != 0;
    DestroyWindow(slot);
    owner_ = &owner;
    owner.hosted_.push_back(this);
    id_ = controlId;
    rect_ = rect;
    site_ = owners::ComRef<BrowserSite>::Adopt(new BrowserSite(this));
    sink_ = owners::ComRef<BrowserEventSink>::Adopt(new BrowserEventSink(this));

    object_->SetClientSite(site_.Get());
    {
        owners::ComRef<IConnectionPointContainer> points;
        if (SUCCEEDED(object_.Query(IID_IConnectionPointContainer, points)) &&
            SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, events_.Receive())) &&
            FAILED(events_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_)))
            events_.Reset();
    }
    object_.Query(IID_IDispatch, dispatch_);
    object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent, &rect_);
    if (visible && object_)
        object_->DoVerb(OLEIVERB_SHOW, nullptr, site_.Get(), 0, parent, &rect_);
    if (object_ && SUCCEEDED(object_.Query(IID_IOleInPlaceObject, inPlace_)))
        inPlace_->GetWindow(&hwnd_);
    if (hwnd_)
        SetWindowLongPtrW(hwnd_, GWLP_ID, controlId);
    if (object_)
        object_.Query(IID_IOleInPlaceActiveObject, active_);
    return static_cast<bool>(object_);
}

void BrowserHost::Destroy()
{
    if (!owner_)
        return;
    auto& hosted = owner_->hosted_;
    hosted.erase(std::remove(hosted.begin(), hosted.end(), this), hosted.end());
    // In this order: the control sees Unadvise, InPlaceDeactivate, Close, then its last Release.
    if (events_) {
        events_->Unadvise(cookie_);
        events_.Reset();
    }
    active_.Reset();
    if (inPlace_) {
        inPlace_->InPlaceDeactivate();
        inPlace_.Reset();
    }
    dispatch_.Reset();
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.Reset();
    }
    site_->HostGone();
    site_.Reset();
    sink_->HostGone();
    sink_.Reset();
    hwnd_ = nullptr;
    owner_ = nullptr;
}

HRESULT BrowserHost::Invoke(DISPID dispid, WORD flags, VARIANT* args, UINT count, VARIANT* result)
{
    // An event handler inside the call may close this host.
    owners::ComRef<IDispatch> dispatch = dispatch_;
    if (!dispatch)
        return E_UNEXPECTED;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {args, nullptr, count, 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    return dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                            nullptr);
}

HRESULT BrowserHost::Navigate(const std::wstring& url)
{
    VARIANT arg;
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    HRESULT hr = Invoke(browser_call::Navigate, DISPATCH_METHOD, &arg, 1, nullptr);
    VariantClear(&arg);
    return hr;
}

HRESULT BrowserHost::GoBack()
{
    return Invoke(browser_call::GoBack, DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT BrowserHost::GoForward()
{
    return Invoke(browser_call::GoForward, DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT BrowserHost::Refresh()
{
    return Invoke(browser_call::Refresh, DISPATCH_METHOD, nullptr, 0, nullptr);
}

HRESULT BrowserHost::PutVisible(bool visible)
{
    VARIANT arg;
    arg.vt = VT_BOOL;
    arg.boolVal = visible ? VARIANT_TRUE : VARIANT_FALSE;
    return Invoke(browser_call::Visible, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
}

HRESULT BrowserHost::PutNumber(DISPID dispid, long value)
{
    VARIANT arg;
    arg.vt = VT_I4;
    arg.lVal = value;
    return Invoke(dispid, DISPATCH_PROPERTYPUT, &arg, 1, nullptr);
}

HRESULT BrowserHost::Get(DISPID dispid, VARIANT& result)
{
    VariantInit(&result);
    return Invoke(dispid, DISPATCH_PROPERTYGET, nullptr, 0, &result);
}

void BrowserHost::Move(int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    ApplyRect(rect);
}

void BrowserHost::ApplyRect(const RECT& rect)
{
    rect_ = rect;
    if (inPlace_)
        inPlace_->SetObjectRects(&rect_, &rect_);
    else if (hwnd_)
        MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

bool BrowserHost::OfferKey(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !active_ || !hwnd_)
        return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))
        return false;
    // The control may close this host while it handles the key.
    owners::ComRef<IOleInPlaceActiveObject> active = active_;
    return active->TranslateAccelerator(&msg) == S_OK;
}

void BrowserHost::DeliverEvent(DISPID dispid, DISPPARAMS* params)
{
    if (!owner_)
        return;
    BrowserEventArgs args(params);
    owner_->OnBrowserEvent(id_, dispid, args);
}

}  // namespace winui
