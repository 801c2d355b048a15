#pragma once
// The control side of an object, as a container embeds it: site, extent and advise sinks
// (IOleObject, IOleControl, IQuickActivate), drawing on a device context it is given
// (IViewObjectEx, IDataObject), windowed in-place activation in the site's window
// (IOleInPlaceObjectWindowless, IOleInPlaceActiveObject) and persistence of no properties
// (IPersistStreamInit, IPersistStorage, ISpecifyPropertyPages). A derived control draws in OnDraw
// and may answer its window's messages in OnMessage.
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include "com_ref.h"
#include "object.h"
#include "owned_handle.h"

namespace comserver {

// A control's own window: cut from its control and destroyed, and the window class with it
// once no control window is left.
struct ControlWindowKind : owners::NullIsEmpty<HWND> {
    static void Destroy(HWND window) noexcept;
};

// Unadvise and EnumAdvise of an advise holder that is made on the first Advise.
template <class Holder>
HRESULT UnadviseHeld(Holder* holder, DWORD connection)
{
    return holder ? holder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

template <class Holder>
HRESULT EnumHeld(Holder* holder, IEnumSTATDATA** advises)
{
    if (!advises)
        return E_POINTER;
    *advises = nullptr;
    return holder ? holder->EnumAdvise(advises) : S_OK;
}

class ControlBase : public ObjectRoot,
                    public IOleObject,
                    public IOleControl,
                    public IViewObjectEx,
                    public IPersistStreamInit,
                    public IPersistStorage,
                    public IOleInPlaceObjectWindowless,
                    public IOleInPlaceActiveObject,
                    public ISpecifyPropertyPages,
                    public IQuickActivate,
                    public IDataObject {
public:
    // The styles of the control's window in its site's window.
    static constexpr DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* classId) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* userType) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(WINBOOL) override { return S_OK; }

    // IViewObject, IViewObject2, IViewObjectEx
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDevice,
                      HDC dc, LPCRECTL bounds, LPCRECTL windowBounds,
                      WINBOOL(STDMETHODCALLTYPE* shouldContinue)(ULONG_PTR), ULONG_PTR continueArgument) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD* status) override;
    STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* hit) override;
    STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* hit) override;
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IPersist, IPersistStreamInit, IPersistStorage: the control keeps no properties, so it loads
    // and saves nothing and is never dirty.
    STDMETHODIMP GetClassID(CLSID* classId) override { return GetUserClassID(classId); }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override { return stream ? S_OK : E_POINTER; }
    STDMETHODIMP Save(LPSTREAM stream, WINBOOL) override { return stream ? S_OK : E_POINTER; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override { return S_OK; }
    STDMETHODIMP InitNew(IStorage* storage) override { return storage ? S_OK : E_POINTER; }
    STDMETHODIMP Load(IStorage* storage) override { return storage ? S_OK : E_POINTER; }
    STDMETHODIMP Save(IStorage* storage, WINBOOL) override { return storage ? S_OK : E_POINTER; }
    STDMETHODIMP SaveCompleted(IStorage*) override { return S_OK; }
    STDMETHODIMP HandsOffStorage() override { return S_OK; }

    // IOleWindow, for the in-place object and the active object alike: the control's window
    // while it is in-place active.
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

    // IOleInPlaceObject, IOleInPlaceObjectWindowless: the control is always windowed.
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result) override;
    STDMETHODIMP GetDropTarget(IDropTarget** target) override;

    // IOleInPlaceActiveObject: no accelerators, menus or tools of its own.
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
    STDMETHODIMP OnFrameWindowActivate(WINBOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(WINBOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, WINBOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(WINBOOL) override { return S_OK; }

    // ISpecifyPropertyPages: an empty list.
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // IQuickActivate: the site and the view sink in one call; no events and no bindable
    // properties, so no connections.
    STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    STDMETHODIMP SetContentExtent(LPSIZEL size) override { return SetExtent(DVASPECT_CONTENT, size); }
    STDMETHODIMP GetContentExtent(LPSIZEL size) override { return GetExtent(DVASPECT_CONTENT, size); }

    // IDataObject: the control's picture as a metafile (CF_METAFILEPICT) of its extent.
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override;
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, WINBOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC** formats) override;
    STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP DUnadvise(DWORD connection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advises) override;

protected:
    ControlBase(IUnknown* outer, const CLSID& classId, DWORD miscStatus);
    ~ControlBase() override;

    // The control interfaces above; a derived control asks this for the ones it does not serve.
    void* FindInterface(REFIID riid) override;

    // Draws the control into bounds on dc, which the caller owns.
    virtual void OnDraw(HDC dc, const RECT& bounds) = 0;

    // The control window's messages: painting (also into a given device context, WM_PRINTCLIENT)
    // and activation on a click or the focus; the rest gets the default handling.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // A notification that a child control sent its parent and the parent reflected back to the
    // child (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR..., raised by a fixed offset).
    static bool IsReflectedNotification(UINT message);
    // What the child does with a reflected notification it does not answer: the default handling
    // of the original message.
    LRESULT DefaultReflectedNotification(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window() const { return window_.Get(); }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // In-place activation in the site's window; with ui, also the active object of its frame.
    HRESULT InPlaceActivate(IOleClientSite* site, bool ui);
    HRESULT UIActivate();
    void PlaceWindow();
    void DestroyControlWindow();
    void Paint(HDC dc);

    const CLSID& classId_;
    DWORD miscStatus_;
    SIZEL extent_;  // HIMETRIC
    owners::ComRef<IOleClientSite> site_;
    owners::ComRef<IOleAdviseHolder> adviseHolder_;
    owners::ComRef<IDataAdviseHolder> dataAdviseHolder_;
    owners::ComRef<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;

    // While in-place active.
    owners::Owned<ControlWindowKind> window_;
    owners::ComRef<IOleInPlaceSite> inPlaceSite_;
    owners::ComRef<IOleInPlaceFrame> frame_;
    owners::ComRef<IOleInPlaceUIWindow> document_;
    bool uiActive_ = false;
    RECT position_ = {};  // in the site's window
    RECT clip_ = {};
};

}  // namespace comserver
