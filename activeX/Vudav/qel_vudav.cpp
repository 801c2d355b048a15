// The control's interfaces, its drawing and AddLink.
#include "qel_vudav.h"

#include <cwchar>
#include <string>
#include <string_view>

#include "agent_command.h"
#include "comserver/module.h"
#include "owned_handle.h"
#include "utf16.h"
#include "progstart.h"
#include "vudav_ids.h"

namespace {

// A string argument up to its first zero; a null string is empty.
std::u16string_view Argument(BSTR text)
{
    if (!text)
        return std::u16string_view();
    return std::u16string_view(AsU16(text), std::wcslen(text));
}

}  // namespace

CqelVudav::CqelVudav(IUnknown* outer) : ControlBase(outer, CLSID_qelVudav, kVudavMiscStatus)
{
}

HRESULT CqelVudav::Create(IUnknown* outer, REFIID riid, void** object)
{
    return comserver::CreateObject<CqelVudav>(outer, riid, object);
}

void* CqelVudav::FindInterface(REFIID riid)
{
    if (IsEqualIID(riid, IID_IqelVudav) || IsEqualIID(riid, IID_IDispatch))
        return static_cast<IqelVudav*>(this);
    if (IsEqualIID(riid, IID_ISupportErrorInfo))
        return static_cast<ISupportErrorInfo*>(this);
    if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2))
        return static_cast<IProvideClassInfo2*>(this);
    return ControlBase::FindInterface(riid);
}

STDMETHODIMP CqelVudav::AddLink(IDispatch*, BSTR url, BSTR location, BSTR info)
{
    // The folder is that of this library's own file, whatever its name or the host program.
    HMODULE own = comserver::Module().Instance();
    std::wstring agent = ProgramPathBesideModule(own, L"qelagent", L"exe");
    if (agent.empty())
        return S_OK;
    std::u16string arguments;
    if (BuildVudavCommandLine(Argument(url), Argument(location), Argument(info),
                              ArgumentsRoom(ToU16(agent)), &arguments))
        (void)StartProgram(agent, ToWide(arguments).c_str(), SW_SHOW, false);  // the page learns nothing either way
    return S_OK;
}

void CqelVudav::OnDraw(HDC dc, const RECT& bounds)
{
    owners::OwnedGdi<HRGN> saved(CreateRectRgn(0, 0, 0, 0));
    bool hadClip = saved && GetClipRgn(dc, saved.Get()) == 1;
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);

    Rectangle(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    static const wchar_t kText[] = L"ATL 8.0 : qel Vudav";
    UINT alignment = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    TextOutW(dc, (bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2, kText,
             static_cast<int>(sizeof kText / sizeof kText[0] - 1));
    if (alignment != GDI_ERROR)
        SetTextAlign(dc, alignment);

    SelectClipRgn(dc, hadClip ? saved.Get() : nullptr);  // selects a copy
}

LRESULT CqelVudav::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // No message of its own: the control base paints and activates, and a notification that a
    // child control reflects back gets its default handling.
    if (IsReflectedNotification(message))
        return DefaultReflectedNotification(message, wParam, lParam);
    return ControlBase::OnMessage(message, wParam, lParam);
}
