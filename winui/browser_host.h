#pragma once
// A host for the web browser control on a dialog: the control takes the place, the
// rectangle and the id of a placeholder control of the dialog's template, is driven by
// dispatch identifiers, and reports its events to the dialog's OnBrowserEvent.
//
//   BrowserHost browser_;                     // member of the dialog
//   browser_.Create(*this, 1000);             // in OnInitDialog
//   browser_.Navigate(L"http://...");
//   void OnBrowserEvent(int id, DISPID dispid, BrowserEventArgs& args) override
//   { switch (dispid) { case browser_event::DocumentComplete: ...; } }
#include <windows.h>
#include <oleauto.h>
#include <ocidl.h>
#include <oleidl.h>

#include <string>

#include "browser_events.h"
#include "browser_ids.h"
#include "com_ref.h"

namespace winui {

class Window;
class BrowserSite;
class BrowserEventSink;

class BrowserHost {
public:
    BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;
    ~BrowserHost();

    // Creates the control in place of owner's child `controlId`, at its rectangle, with
    // its id, and activates it in place. False, and the placeholder stays, when the
    // control cannot be created. The control is closed when owner's window is destroyed.
    bool Create(Window& owner, int controlId);
    // Unhooks the events and closes the control.
    void Destroy();

    bool IsCreated() const { return static_cast<bool>(object_); }
    // The control's window (id controlId), or null.
    HWND Handle() const { return hwnd_; }
    int ControlId() const { return id_; }
    // Where the control sits, in the owner's client coordinates.
    const RECT& Rect() const { return rect_; }

    HRESULT Navigate(const std::wstring& url);
    HRESULT GoBack();
    HRESULT GoForward();
    HRESULT Refresh();
    HRESULT PutVisible(bool visible);
    HRESULT PutLeft(long value) { return PutNumber(browser_call::Left, value); }
    HRESULT PutTop(long value) { return PutNumber(browser_call::Top, value); }
    HRESULT PutWidth(long value) { return PutNumber(browser_call::Width, value); }
    HRESULT PutHeight(long value) { return PutNumber(browser_call::Height, value); }
    HRESULT PutNumber(DISPID dispid, long value);
    // Reads a property into result (the caller clears it).
    HRESULT Get(DISPID dispid, VARIANT& result);
    // Any call by dispatch id; args last to first, as DISPPARAMS holds them.
    HRESULT Invoke(DISPID dispid, WORD flags, VARIANT* args, UINT count, VARIANT* result);

    // Places the control's window (the control applies the rectangle itself).
    void Move(int x, int y, int width, int height);

    // Offers a key message bound for the control's window, or a window inside it, to the
    // control's in-place active object; true when the control took it as an accelerator.
    bool OfferKey(MSG& msg);

private:
    friend class BrowserSite;
    friend class BrowserEventSink;
    // The in-place site's OnPosRectChange and Move: the control moves to the rectangle.
    void ApplyRect(const RECT& rect);
    void DeliverEvent(DISPID dispid, DISPPARAMS* params);
    HWND OwnerHandle() const;

    Window* owner_ = nullptr;
    int id_ = 0;
    RECT rect_ = {};
    HWND hwnd_ = nullptr;
    owners::ComRef<IOleObject> object_;
    owners::ComRef<IOleInPlaceObject> inPlace_;
    owners::ComRef<IOleInPlaceActiveObject> active_;
    owners::ComRef<IDispatch> dispatch_;
    owners::ComRef<IConnectionPoint> events_;
    DWORD cookie_ = 0;
    owners::ComRef<BrowserSite> site_;
    owners::ComRef<BrowserEventSink> sink_;
};

}  // namespace winui
