#pragma once
// The control CqelVudav: its one scriptable method AddLink starts the link agent. Embedded in a
// page it shows a window that draws its rectangle and name.
#include <windows.h>

#include "Vudav_h.h"
#include "comserver/class_info.h"
#include "comserver/control.h"
#include "comserver/dispatch.h"
#include "comserver/error_info.h"

class CqelVudav : public comserver::ControlBase,
                  public comserver::TypeLibDispatch<IqelVudav, &IID_IqelVudav>,
                  public comserver::SupportErrorInfo<&IID_IqelVudav>,
                  public comserver::ProvideClassInfo<&CLSID_qelVudav> {
public:
    // The class's creator for the module: plain, or aggregated under outer.
    static HRESULT Create(IUnknown* outer, REFIID riid, void** object);

    // Starts qelagent from this library's folder with the link; S_OK whatever happens.
    STDMETHODIMP AddLink(IDispatch* pDispatch, BSTR url, BSTR location, BSTR info) override;

protected:
    explicit CqelVudav(IUnknown* outer);

    void* FindInterface(REFIID riid) override;
    // The bounds' rectangle and "ATL 8.0 : qel Vudav" on its middle point, clipped to the bounds.
    void OnDraw(HDC dc, const RECT& bounds) override;
    // The control window's messages: all of them the control base's.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
