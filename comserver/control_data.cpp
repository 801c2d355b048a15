// What a container reads from a control at once: its property pages (none), its quick
// activation and its picture as data.
#include <cstddef>

#include "control.h"

namespace comserver {

namespace {

// A metafile being recorded; one never closed into its picture is closed and thrown away.
struct MetafileRecordingKind : owners::NullIsEmpty<HDC> {
    static void Destroy(HDC dc) noexcept { DeleteMetaFile(CloseMetaFile(dc)); }
};

struct MetafileKind : owners::NullIsEmpty<HMETAFILE> {
    static void Destroy(HMETAFILE metafile) noexcept { DeleteMetaFile(metafile); }
};

struct GlobalBlockKind : owners::NullIsEmpty<HGLOBAL> {
    static void Destroy(HGLOBAL block) noexcept { GlobalFree(block); }
};

// A movable block's picture, locked while this lives.
class LockedPicture {
public:
    explicit LockedPicture(HGLOBAL block)
        : block_(block), picture_(block ? static_cast<METAFILEPICT*>(GlobalLock(block)) : nullptr)
    {
    }
    ~LockedPicture()
    {
        if (picture_)
            GlobalUnlock(block_);
    }
    LockedPicture(const LockedPicture&) = delete;
    LockedPicture& operator=(const LockedPicture&) = delete;

    METAFILEPICT* Get() const { return picture_; }

private:
    HGLOBAL block_;
    METAFILEPICT* picture_;
};

}  // namespace

STDMETHODIMP ControlBase::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    return S_OK;
}

STDMETHODIMP ControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control)
        return E_POINTER;
    // The site and the sink are the fields that every container's block holds.
    if (container->cbSize < offsetof(QACONTAINER, pPropertyNotifySink) || control->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    HRESULT result = SetClientSite(container->pClientSite);
    if (FAILED(result))
        return result;
    if (container->pAdviseSink)
        SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    control->dwMiscStatus = miscStatus_;
    GetViewStatus(&control->dwViewStatus);
    control->dwEventCookie = 0;
    control->dwPropNotifyCookie = 0;
    control->dwPointerActivationPolicy = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::QueryGetData(FORMATETC* format)
{
    if (!format)
        return E_POINTER;
    if (format->cfFormat != CF_METAFILEPICT)
        return DV_E_FORMATETC;
    if (!(format->tymed & TYMED_MFPICT))
        return DV_E_TYMED;
    if (format->dwAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    return S_OK;
}

STDMETHODIMP ControlBase::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium)
        return E_POINTER;
    HRESULT result = QueryGetData(format);
    if (result != S_OK)
        return result;
    // Drawn over the extent at the screen's resolution; the picture states the extent in HIMETRIC.
    int dotsX = 96, dotsY = 96;
    {
        owners::OwnedGotDc screen = owners::GetOwnedDc(nullptr);
        if (screen) {
            dotsX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
            dotsY = GetDeviceCaps(screen.Get(), LOGPIXELSY);
        }
    }
    RECT bounds = {0, 0, MulDiv(extent_.cx, dotsX, 2540), MulDiv(extent_.cy, dotsY, 2540)};
    owners::Owned<MetafileRecordingKind> recording(CreateMetaFileW(nullptr));
    if (!recording)
        return E_OUTOFMEMORY;
    SetWindowOrgEx(recording.Get(), 0, 0, nullptr);
    SetWindowExtEx(recording.Get(), bounds.right, bounds.bottom, nullptr);
    OnDraw(recording.Get(), bounds);
    owners::Owned<MetafileKind> metafile(CloseMetaFile(recording.Release()));
    if (!metafile)
        return E_OUTOFMEMORY;
    owners::Owned<GlobalBlockKind> block(GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT)));
    {
        LockedPicture picture(block.Get());
        if (!picture.Get())
            return E_OUTOFMEMORY;
        picture.Get()->mm = MM_ANISOTROPIC;
        picture.Get()->xExt = extent_.cx;
        picture.Get()->yExt = extent_.cy;
        picture.Get()->hMF = metafile.Release();  // the picture's now
    }
    medium->tymed = TYMED_MFPICT;
    medium->hMetaFilePict = block.Release();  // the caller's now
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP ControlBase::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (!out)
        return E_POINTER;
    out->ptd = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::EnumFormatEtc(DWORD, IEnumFORMATETC** formats)
{
    if (!formats)
        return E_POINTER;
    *formats = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection)
{
    if (!dataAdviseHolder_) {
        HRESULT result = CreateDataAdviseHolder(dataAdviseHolder_.Receive());
        if (FAILED(result))
            return result;
    }
    return dataAdviseHolder_->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
}

STDMETHODIMP ControlBase::DUnadvise(DWORD connection)
{
    return UnadviseHeld(dataAdviseHolder_.Get(), connection);
}

STDMETHODIMP ControlBase::EnumDAdvise(IEnumSTATDATA** advises)
{
    return EnumHeld(dataAdviseHolder_.Get(), advises);
}

}  // namespace comserver
