// The browser host's client and in-place site, frame, and event sink.
#include "browser_site.h"

#include "browser_host.h"

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
    if (SameIid(iid, IID_IUnknown) || SameIid(iid, ole::IID_IOleClientSite))
        *out = static_cast<ole::IOleClientSite*>(this);
    else if (SameIid(iid, ole::IID_IOleWindow) || SameIid(iid, ole::IID_IOleInPlaceSite))
        *out = static_cast<ole::IOleInPlaceSite*>(this);
    else if (SameIid(iid, ole::IID_IOleInPlaceUIWindow) || SameIid(iid, ole::IID_IOleInPlaceFrame))
        *out = static_cast<ole::IOleInPlaceFrame*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT BrowserSite::GetMoniker(DWORD, DWORD, IUnknown** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserSite::GetContainer(IUnknown** container)
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

HRESULT BrowserSite::GetWindowContext(ole::IOleInPlaceFrame** frame,
                                      ole::IOleInPlaceUIWindow** document, RECT* position,
                                      RECT* clip, ole::OleInPlaceFrameInfo* frameInfo)
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

HRESULT BrowserSite::OnPosRectChange(const RECT* position)
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
        !SameIid(iid, ole::DIID_DWebBrowserEvents2))
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
    AddRef();  // the handler may close the host, and the control may let go of us
    if (host_)
        host_->DeliverEvent(dispid, params);
    Release();
    return S_OK;
}

}  // namespace winui
