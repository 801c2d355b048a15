// The browser host's client and in-place site, frame, and event sink.
#include "browser_site.h"

#include <exdisp.h>

#include "browser_host.h"
#include "com_ref.h"

namespace winui {

namespace {

bool SameIid(REFIID a, const IID& b)
{
    return IsEqualIID(a, b) != 0;
}

}  // namespace

HRESULT BrowserSite::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (SameIid(iid, IID_IUnknown) || SameIid(iid, IID_IOleClientSite))
        *out = static_cast<IOleClientSite*>(this);
    else if (SameIid(iid, IID_IOleWindow) || SameIid(iid, IID_IOleInPlaceSite))
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (SameIid(iid, IID_IOleInPlaceUIWindow) || SameIid(iid, IID_IOleInPlaceFrame))
        *out = static_cast<IOleInPlaceFrame*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT BrowserSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = host_ ? host_->OwnerHandle() : nullptr;
    return *window ? S_OK : E_FAIL;
}

HRESULT BrowserSite::GetWindowContext(IOleInPlaceFrame** frame,
                                      IOleInPlaceUIWindow** document, RECT* position,
                                      RECT* clip, OLEINPLACEFRAMEINFO* frameInfo)
{
    if (frame) {
        *frame = this;
        AddRef();
    }
    if (document)
        *document = nullptr;
    if (!host_)
        return E_FAIL;
    if (position)
        *position = host_->Rect();
    if (clip)
        *clip = host_->Rect();
    if (frameInfo) {
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = GetAncestor(host_->OwnerHandle(), GA_ROOT);
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT BrowserSite::OnPosRectChange(LPCRECT position)
{
    if (!position)
        return E_POINTER;
    if (host_)
        host_->ApplyRect(*position);
    return S_OK;
}

HRESULT BrowserEventSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!SameIid(iid, IID_IUnknown) && !SameIid(iid, IID_IDispatch) &&
        !SameIid(iid, DIID_DWebBrowserEvents2))
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

HRESULT BrowserEventSink::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT BrowserEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO*, UINT*)
{
    if (result)
        VariantInit(result);
    // The handler may close the host, and the control may let go of us.
    owners::ComRef<BrowserEventSink> alive(this);
    if (host_)
        host_->DeliverEvent(dispid, params);
    return S_OK;
}

}  // namespace winui
