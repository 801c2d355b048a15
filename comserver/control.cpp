// The control interfaces that a container uses to site, size, watch and draw a control.
#include "control.h"

namespace comserver {

namespace {

HRESULT HitResult(DWORD aspect, LPCRECT bounds, bool inside, DWORD* hit)
{
    if (!bounds || !hit)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *hit = inside ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

}  // namespace

ControlBase::ControlBase(IUnknown* outer, const CLSID& classId, DWORD miscStatus)
    : ObjectRoot(outer), classId_(classId), miscStatus_(miscStatus), extent_{2540, 2540}
{
}

ControlBase::~ControlBase()
{
    // A container that drops the control without closing it leaves no window behind.
    DestroyControlWindow();
    // In this order, before the members go.
    frame_.Reset();
    document_.Reset();
    inPlaceSite_.Reset();
    dataAdviseHolder_.Reset();
    site_.Reset();
    adviseHolder_.Reset();
    viewSink_.Reset();
}

void* ControlBase::FindInterface(REFIID riid)
{
    if (IsEqualIID(riid, IID_IOleObject))
        return static_cast<IOleObject*>(this);
    if (IsEqualIID(riid, IID_IOleControl))
        return static_cast<IOleControl*>(this);
    if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) || IsEqualIID(riid, IID_IViewObjectEx))
        return static_cast<IViewObjectEx*>(this);
    if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStreamInit))
        return static_cast<IPersistStreamInit*>(this);
    if (IsEqualIID(riid, IID_IPersistStorage))
        return static_cast<IPersistStorage*>(this);
    if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject) ||
        IsEqualIID(riid, IID_IOleInPlaceObjectWindowless))
        return static_cast<IOleInPlaceObjectWindowless*>(this);
    if (IsEqualIID(riid, IID_IOleInPlaceActiveObject))
        return static_cast<IOleInPlaceActiveObject*>(this);
    if (IsEqualIID(riid, IID_ISpecifyPropertyPages))
        return static_cast<ISpecifyPropertyPages*>(this);
    if (IsEqualIID(riid, IID_IQuickActivate))
        return static_cast<IQuickActivate*>(this);
    if (IsEqualIID(riid, IID_IDataObject))
        return static_cast<IDataObject*>(this);
    return nullptr;
}

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site)
{
    site_ = owners::ComRef<IOleClientSite>(site);
    return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site)
{
    return site_.HandOut(site);
}

STDMETHODIMP ControlBase::Close(DWORD)
{
    InPlaceDeactivate();
    if (adviseHolder_)
        adviseHolder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP ControlBase::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (!moniker)
        return E_POINTER;
    *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetClipboardData(DWORD, IDataObject** data)
{
    if (!data)
        return E_POINTER;
    *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT)
{
    IOleClientSite* site = site_ ? site_.Get() : activeSite;
    switch (verb) {
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
        return InPlaceActivate(site, false);
    case OLEIVERB_PRIMARY:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(site, true);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (window_)
            ShowWindow(window_.Get(), SW_HIDE);
        return S_OK;
    }
    return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** verbs)
{
    if (!verbs)
        return E_POINTER;
    return OleRegEnumVerbs(classId_, verbs);
}

STDMETHODIMP ControlBase::GetUserClassID(CLSID* classId)
{
    if (!classId)
        return E_POINTER;
    *classId = classId_;
    return S_OK;
}

STDMETHODIMP ControlBase::GetUserType(DWORD form, LPOLESTR* userType)
{
    if (!userType)
        return E_POINTER;
    return OleRegGetUserType(classId_, form, userType);
}

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    extent_ = *size;
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (!adviseHolder_) {
        HRESULT result = CreateOleAdviseHolder(adviseHolder_.Receive());
        if (FAILED(result))
            return result;
    }
    return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP ControlBase::Unadvise(DWORD connection)
{
    return UnadviseHeld(adviseHolder_.Get(), connection);
}

STDMETHODIMP ControlBase::EnumAdvise(IEnumSTATDATA** advises)
{
    return EnumHeld(adviseHolder_.Get(), advises);
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD aspect, DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? miscStatus_ : 0;
    return S_OK;
}

STDMETHODIMP ControlBase::GetControlInfo(CONTROLINFO* info)
{
    if (!info)
        return E_POINTER;
    info->cb = sizeof *info;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                               WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!dc || !bounds)
        return E_INVALIDARG;
    RECT area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    OnDraw(dc, area);
    return S_OK;
}

STDMETHODIMP ControlBase::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors)
{
    if (!colors)
        return E_POINTER;
    *colors = nullptr;
    return S_FALSE;  // no particular palette
}

STDMETHODIMP ControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    viewSink_ = owners::ComRef<IAdviseSink>(sink);
    viewAspects_ = aspects;
    viewFlags_ = flags;
    return S_OK;
}

STDMETHODIMP ControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = viewAspects_;
    if (flags)
        *flags = viewFlags_;
    if (sink)
        viewSink_.HandOut(sink);
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

STDMETHODIMP ControlBase::GetViewStatus(DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
    return S_OK;
}

STDMETHODIMP ControlBase::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* hit)
{
    return HitResult(aspect, bounds, bounds && PtInRect(bounds, location), hit);
}

STDMETHODIMP ControlBase::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* hit)
{
    RECT overlap;
    return HitResult(aspect, bounds, bounds && location && IntersectRect(&overlap, bounds, location), hit);
}

STDMETHODIMP ControlBase::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

}  // namespace comserver
