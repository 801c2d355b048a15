// A main dialog for the link road's tests: a portal browser (1010) whose BeforeNavigate2
// goes to the road, one instance at a time (its window carries the property "road_host"),
// WM_CLOSE ending it, and the program's end as the road asks. The tests drive it through
// the stand-in browser control.
#include <windows.h>

#include "application.h"
#include "browser_host.h"
#include "dialog.h"
#include "link_road.h"
#include "road_host.h"
#include "single_instance.h"

namespace {

const wchar_t kInstanceName[] = L"road_host";

class HostDialog : public winui::Dialog {
public:
    HostDialog() : Dialog(IDD_ROAD_HOST) {}

    BOOL OnInitDialog() override
    {
        Dialog::OnInitDialog();
        winui::MarkInstanceWindow(Handle(), kInstanceName);
        m_portal.Create(*this, IDC_ROAD_PORTAL);
        return TRUE;
    }
    void OnOK() override {}
    void OnCancel() override {}
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CLOSE:
            if (!m_linkRoad.OnMainWindowClose())
                EndDialog(IDOK);
            return 0;
        case WM_DESTROY:
            winui::UnmarkInstanceWindow(Handle(), kInstanceName);
            break;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    void OnBrowserEvent(int controlId, DISPID dispid, winui::BrowserEventArgs& args) override
    {
        if (controlId == IDC_ROAD_PORTAL && dispid == winui::browser_event::BeforeNavigate2)
            m_linkRoad.OnBeforeNavigate2(args);
    }

private:
    winui::BrowserHost m_portal;
    std::wstring m_strLastUrl;
    LinkRoad m_linkRoad{*this, m_strLastUrl};
};

class HostApp : public winui::Application {
public:
    bool InitInstance() override
    {
        if (!winui::ClaimFirstInstance(kInstanceName))
            return false;
        HostDialog dialog;
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
        EndProcessIfLinkInHand(0);
        return true;
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    HostApp app;
    return app.Run(instance);
}
