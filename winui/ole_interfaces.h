#pragma once
// The OLE embedding interfaces a container of the web browser control speaks, declared
// in their published slot order, with their interface identifiers.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

namespace winui {
namespace ole {

// {00000112-0000-0000-C000-000000000046} and its neighbours: the OLE document family.
constexpr IID OleIid(unsigned long data1)
{
    return {data1, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}
inline constexpr IID IID_IOleObject = OleIid(0x00000112);
inline constexpr IID IID_IOleInPlaceObject = OleIid(0x00000113);
inline constexpr IID IID_IOleWindow = OleIid(0x00000114);
inline constexpr IID IID_IOleInPlaceUIWindow = OleIid(0x00000115);
inline constexpr IID IID_IOleInPlaceFrame = OleIid(0x00000116);
inline constexpr IID IID_IOleClientSite = OleIid(0x00000118);
inline constexpr IID IID_IOleInPlaceSite = OleIid(0x00000119);
inline constexpr IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

// The web browser control and its event interface.
inline constexpr CLSID CLSID_WebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
inline constexpr IID DIID_DWebBrowserEvents2 = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// Verbs and close options used here.
constexpr LONG kVerbShow = -1;
constexpr LONG kVerbInPlaceActivate = -5;
constexpr DWORD kCloseNoSave = 1;

struct OleInPlaceFrameInfo {
    UINT cb;
    BOOL fMDIApp;
    HWND hwndFrame;
    HACCEL haccel;
    UINT cAccelEntries;
};

struct IOleInPlaceFrame;
struct IOleInPlaceUIWindow;
struct IConnectionPointContainer;

// Interfaces this container never calls through are passed as IUnknown.
struct IOleClientSite : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SaveObject() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IUnknown** moniker) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetContainer(IUnknown** container) = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowObject() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) = 0;
    virtual HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() = 0;
};

struct IOleWindow : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) = 0;
    virtual HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) = 0;
};

struct IOleInPlaceUIWindow : public IOleWindow {
    virtual HRESULT STDMETHODCALLTYPE GetBorder(RECT* border) = 0;
    virtual HRESULT STDMETHODCALLTYPE RequestBorderSpace(const RECT* widths) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBorderSpace(const RECT* widths) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetActiveObject(IUnknown* activeObject, LPCOLESTR name) = 0;
};

struct IOleInPlaceFrame : public IOleInPlaceUIWindow {
    virtual HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, void* widths) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HANDLE oleMenu, HWND activeObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) = 0;
    virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg, WORD id) = 0;
};

struct IOleInPlaceSite : public IOleWindow {
    virtual HRESULT STDMETHODCALLTYPE CanInPlaceActivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnInPlaceActivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnUIActivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                                       IOleInPlaceUIWindow** document,
                                                       RECT* position, RECT* clip,
                                                       OleInPlaceFrameInfo* frameInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE DiscardUndoState() = 0;
    virtual HRESULT STDMETHODCALLTYPE DeactivateAndUndo() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnPosRectChange(const RECT* position) = 0;
};

struct IOleObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IUnknown* moniker) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IUnknown** moniker) = 0;
    virtual HRESULT STDMETHODCALLTYPE InitFromData(IUnknown* data, BOOL creation, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IUnknown** data) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, MSG* msg, IOleClientSite* site, LONG index,
                                             HWND parent, const RECT* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumVerbs(IUnknown** verbs) = 0;
    virtual HRESULT STDMETHODCALLTYPE Update() = 0;
    virtual HRESULT STDMETHODCALLTYPE IsUpToDate() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZE* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZE* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* connection) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumAdvise(IUnknown** advises) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColorScheme(void* palette) = 0;
};

struct IOleInPlaceObject : public IOleWindow {
    virtual HRESULT STDMETHODCALLTYPE InPlaceDeactivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE UIDeactivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetObjectRects(const RECT* position, const RECT* clip) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReactivateAndUndo() = 0;
};

struct IConnectionPoint : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) = 0;
    virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumConnections(IUnknown** connections) = 0;
};

struct IConnectionPointContainer : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IUnknown** points) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) = 0;
};

}  // namespace ole
}  // namespace winui
