// The browser host against the stand-in browser control registered in the test prefix:
// creation in the template's place, calls by dispatch id, positions applied through
// OnPosRectChange, events by control id, closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "browser_host.h"
#include "dialog.h"
#include "ole_thread.h"
#include "standin_client.h"
#include "test_dialogs.h"

using winui::BrowserEventArgs;
using winui::BrowserHost;
namespace call = winui::browser_call;
namespace event = winui::browser_event;

namespace {

const UINT kEnd = WM_APP + 9;


std::wstring TempLog()
{
    wchar_t dir[MAX_PATH + 1], file[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, dir);
    GetTempFileNameW(dir, L"bsl", 0, file);
    return file;
}

// The stand-in's log of one test.
class StandInLog {
public:
    StandInLog() : path_(TempLog())
    {
        SetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", path_.c_str());
    }
    ~StandInLog()
    {
        SetEnvironmentVariableW(L"BROWSER_STANDIN_LOG", nullptr);
        DeleteFileW(path_.c_str());
    }
    std::vector<StandInCall> Calls(const std::string& name) const
    {
        std::vector<StandInCall> out;
        for (const auto& c : ReadStandInLog(path_))
            if (c.call == name)
                out.push_back(c);
        return out;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (const auto& c : ReadStandInLog(path_))
            out.push_back(c.call);
        return out;
    }

private:
    std::wstring path_;
};

struct SeenEvent {
    int id;
    DISPID dispid;
    std::wstring url;
    bool operator==(const SeenEvent& o) const { return id == o.id && dispid == o.dispid && url == o.url; }
};

std::ostream& operator<<(std::ostream& os, const SeenEvent& e)
{
    return os << "{" << e.id << "," << e.dispid << "," << std::string(e.url.begin(), e.url.end()) << "}";
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height)
{
    RECT r = {x, y, x + width, y + height};
    MapDialogRect(dialog, &r);
    return r;
}

RECT ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != 0;
}

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A dialog with two browsers that runs a test's steps from its OnInitDialog, records the
// events, and ends once the events sent by command have come.
class BrowserDialog : public winui::Dialog {
public:
    BrowserDialog() : Dialog(IDD_TEST_BROWSER) {}

    BOOL OnInitDialog() override
    {
        createdA = a.Create(*this, IDC_TEST_BROWSER_A);
        createdB = b.Create(*this, IDC_TEST_BROWSER_B);
        if (steps)
            steps(*this);
        PostMessageW(Handle(), kEnd, 0, 0);  // after the events the steps asked for
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kEnd) {
            EndDialog(IDOK);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    void OnBrowserEvent(int controlId, DISPID dispid, BrowserEventArgs& args) override
    {
        events.push_back({controlId, dispid, args.Url()});
        if (dispid == event::BeforeNavigate2)
            cancelSet = args.SetCancel(cancel);
        if (dispid == event::DocumentComplete && destroyOnDocument)
            DestroyWindow(Handle());
    }

    BrowserHost a, b;
    bool createdA = false, createdB = false;
    std::function<void(BrowserDialog&)> steps;
    std::vector<SeenEvent> events;
    bool cancel = false, cancelSet = false, destroyOnDocument = false;
};

TEST(BrowserHost, TakesThePlaceRectangleAndIdOfTheTemplatesControl)
{
    StandInLog log;
    BrowserDialog dialog;
    HWND window = nullptr, placeA = nullptr, handleA = nullptr;
    RECT expectA = {}, expectB = {}, rectA = {}, rectB = {};
    wchar_t classA[64] = {};
    dialog.steps = [&](BrowserDialog& d) {
        window = d.Handle();
        placeA = GetDlgItem(d.Handle(), IDC_TEST_BROWSER_A);
        handleA = d.a.Handle();
        expectA = DialogUnits(d.Handle(), 127, 69, 60, 25);
        expectB = DialogUnits(d.Handle(), 0, 0, 100, 50);
        rectA = ChildRect(d.a.Handle());
        rectB = ChildRect(d.b.Handle());
        GetClassNameW(placeA, classA, 64);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(dialog.createdA);
    ASSERT_TRUE(dialog.createdB);
    EXPECT_NE(handleA, nullptr);
    EXPECT_EQ(placeA, handleA);
    EXPECT_STREQ(classA, L"BrowserStandIn");  // the placeholder is gone, the control has its id
    EXPECT_TRUE(SameRect(rectA, expectA)) << Text(rectA) << " vs " << Text(expectA);
    EXPECT_TRUE(SameRect(rectB, expectB)) << Text(rectB) << " vs " << Text(expectB);

    auto verbs = log.Calls("DoVerb");
    ASSERT_GE(verbs.size(), 1u);
    wchar_t parent[32];
    swprintf(parent, 32, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    std::string parentText(parent, parent + wcslen(parent));
    EXPECT_EQ(verbs[0].detail, "verb=-5 parent=" + parentText + " rect=" + Text(expectA));
    auto activated = log.Calls("Activated");
    ASSERT_EQ(activated.size(), 2u);
    EXPECT_EQ(activated[0].detail.find("parent=" + parentText + " rect=" + Text(expectA) +
                                       " clip=" + Text(expectA) + " context=0x0 frameinfo=" + parentText),
              0u)
        << activated[0].detail;
    // Calls made once the host has the control's window name that window and its id.
    std::vector<int> ids;
    for (const auto& c : log.Calls("Unadvise")) {
        ids.push_back(c.id);
        if (c.id == IDC_TEST_BROWSER_A) {
            EXPECT_EQ(c.hwnd, handleA);
        }
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<int>{IDC_TEST_BROWSER_A, IDC_TEST_BROWSER_B}));
}

TEST(BrowserHost, MissingPlaceCreatesNothing)
{
    StandInLog log;
    class NoPlace : public winui::Dialog {
    public:
        NoPlace() : Dialog(IDD_TEST_KEYS) {}
        BOOL OnInitDialog() override
        {
            created = host.Create(*this, 4321);
            EndDialog(IDOK);
            return TRUE;
        }
        BrowserHost host;
        bool created = true;
    } dialog;
    dialog.DoModal();
    EXPECT_FALSE(dialog.created);
    EXPECT_FALSE(dialog.host.IsCreated());
    EXPECT_TRUE(log.Names().empty());
}

// Each put of a position asks the site to apply a rectangle with one edge changed; the
// host applies it (SetObjectRects) and the control's window moves there.
TEST(BrowserHost, PutPositionsAreAppliedThroughOnPosRectChange)
{
    struct Step {
        DISPID dispid;
        long value;
        RECT after;
    };
    const Step steps[] = {
        {call::Top, 10, {0, 10, 0, 0}},  // from (0,0,0,0): the top moves, the bottom stays
        {call::Left, 20, {20, 10, 0, 0}},
        {call::Width, 100, {20, 10, 120, 0}},
        {call::Height, 50, {20, 10, 120, 60}},
        {call::Width, 436, {20, 10, 456, 60}},
        {call::Left, 0, {0, 10, 456, 60}},  // the right edge stays
    };
    StandInLog log;
    BrowserDialog dialog;
    std::vector<RECT> windows, hosts;
    std::vector<HRESULT> results;
    long width = -1;
    dialog.steps = [&](BrowserDialog& d) {
        d.a.Move(0, 0, 0, 0);
        for (const auto& s : steps) {
            results.push_back(d.a.PutNumber(s.dispid, s.value));
            windows.push_back(ChildRect(d.a.Handle()));
            hosts.push_back(d.a.Rect());
        }
        VARIANT v;
        if (SUCCEEDED(d.a.Get(call::Width, v)) && v.vt == VT_I4)
            width = v.lVal;
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(windows.size(), std::size(steps));
    for (size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(results[i], S_OK) << i;
        RECT window = steps[i].after;  // a window has no negative size
        window.right = std::max(window.left, window.right);
        window.bottom = std::max(window.top, window.bottom);
        EXPECT_TRUE(SameRect(windows[i], window)) << i << ": " << Text(windows[i]);
        EXPECT_TRUE(SameRect(hosts[i], steps[i].after)) << i << ": " << Text(hosts[i]);
    }
    EXPECT_EQ(width, 456);  // read back from the applied rectangle
    auto changes = log.Calls("OnPosRectChange");
    auto applied = log.Calls("SetObjectRects");
    ASSERT_EQ(changes.size(), std::size(steps));
    ASSERT_EQ(applied.size(), std::size(steps) + 1);  // and the Move first
    EXPECT_EQ(applied[0].detail, "pos=0,0,0,0 clip=0,0,0,0");
    for (size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(changes[i].detail, "rect=" + Text(steps[i].after) + " hr=0x0") << i;
        EXPECT_EQ(applied[i + 1].detail, "pos=" + Text(steps[i].after) + " clip=" + Text(steps[i].after)) << i;
        EXPECT_EQ(changes[i].id, IDC_TEST_BROWSER_A);
    }
}

TEST(BrowserHost, CallsByDispatchId)
{
    StandInLog log;
    BrowserDialog dialog;
    VARIANT visible;
    VariantInit(&visible);
    std::vector<HRESULT> results;
    dialog.steps = [&](BrowserDialog& d) {
        results = {d.a.PutVisible(false), d.a.GoBack(), d.a.GoForward(), d.a.Refresh(),
                   d.a.Get(call::Visible, visible)};
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(results, (std::vector<HRESULT>{S_OK, S_OK, S_OK, S_OK, S_OK}));
    EXPECT_EQ(visible.vt, VT_BOOL);
    EXPECT_EQ(visible.boolVal, VARIANT_FALSE);
    EXPECT_EQ(log.Calls("PutVisible").at(0).detail, "0");
    EXPECT_EQ(log.Calls("GoBack").size(), 1u);
    EXPECT_EQ(log.Calls("GoForward").size(), 1u);
    EXPECT_EQ(log.Calls("Refresh").size(), 1u);
}

// BeforeNavigate2 comes inside Navigate, and on command; the handler's Cancel reaches the
// control.
TEST(BrowserHost, BeforeNavigate2CarriesTheAddressAndTakesCancel)
{
    for (bool cancel : {false, true}) {
        StandInLog log;
        BrowserDialog dialog;
        dialog.cancel = cancel;
        dialog.steps = [&](BrowserDialog& d) {
            d.a.Navigate(L"http://service.example/页.html");
            SendStandInCommand(d.b.Handle(), L"BeforeNavigate2 zflv://play/src=http://a/");
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        const std::vector<SeenEvent> expected = {
            {IDC_TEST_BROWSER_A, event::BeforeNavigate2, L"http://service.example/页.html"},
            {IDC_TEST_BROWSER_B, event::BeforeNavigate2, L"zflv://play/src=http://a/"}};
        EXPECT_EQ(dialog.events, expected);
        EXPECT_TRUE(dialog.cancelSet);
        auto fired = log.Calls("Fired");
        ASSERT_EQ(fired.size(), 2u);
        const std::string flag = cancel ? "-1" : "0";
        EXPECT_EQ(fired[0].detail, "BeforeNavigate2 url=http://service.example/\xE9\xA1\xB5.html cancel=" + flag);
        EXPECT_EQ(fired[1].detail, "BeforeNavigate2 url=zflv://play/src=http://a/ cancel=" + flag);
        EXPECT_EQ(fired[1].id, IDC_TEST_BROWSER_B);
        EXPECT_EQ(log.Calls("Navigate").at(0).detail,
                  "args=1 url=http://service.example/\xE9\xA1\xB5.html");
    }
}

TEST(BrowserHost, EventsReachTheDialogWithTheirControlsId)
{
    StandInLog log;
    BrowserDialog dialog;
    dialog.steps = [&](BrowserDialog& d) {
        SendStandInCommand(d.a.Handle(), L"DownloadBegin");
        SendStandInCommand(d.b.Handle(), L"DownloadComplete");
        SendStandInCommand(d.a.Handle(), L"DocumentComplete http://service.example/welcome.html");
        SendStandInCommand(d.b.Handle(), L"NavigateComplete2 http://b/");
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const std::vector<SeenEvent> expected = {
        {IDC_TEST_BROWSER_A, event::DownloadBegin, L""},
        {IDC_TEST_BROWSER_B, event::DownloadComplete, L""},
        {IDC_TEST_BROWSER_A, event::DocumentComplete, L"http://service.example/welcome.html"},
        {IDC_TEST_BROWSER_B, event::NavigateComplete2, L"http://b/"}};
    EXPECT_EQ(dialog.events, expected);
}

// Keys bound for the control reach its in-place active object before the dialog's keyboard
// handling: a Tab the control leaves moves the focus on, a Tab it claims moves nothing.
TEST(BrowserHost, KeysReachTheControlBeforeTheDialog)
{
    class KeysDialog : public winui::Dialog {
    public:
        KeysDialog() : Dialog(IDD_TEST_BROWSER_KEYS) {}
        BOOL OnInitDialog() override
        {
            created = browser.Create(*this, IDC_TEST_BROWSER_A);
            control = browser.Handle();
            SetFocus(GetDlgItem(Handle(), IDC_TEST_BUTTON));
            if (claimTab)
                claimSent = SendStandInCommand(control, L"ClaimKeys 9");
            PostMessageW(control, WM_KEYDOWN, VK_TAB, 0x000F0001);
            PostMessageW(Handle(), kEnd, 0, 0);
            return FALSE;  // the focus is set
        }
        LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == kEnd) {
                focusAtEnd = GetDlgCtrlID(GetFocus());
                EndDialog(IDOK);
                return 0;
            }
            return Dialog::OnMessage(message, wParam, lParam);
        }
        BrowserHost browser;
        bool claimTab = false, created = false, claimSent = false;
        HWND control = nullptr;
        int focusAtEnd = 0;
    };
    for (bool claim : {false, true}) {
        SCOPED_TRACE(claim ? "claimed" : "left");
        StandInLog log;
        KeysDialog dialog;
        dialog.claimTab = claim;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        ASSERT_TRUE(dialog.created);
        EXPECT_EQ(dialog.claimSent, claim);
        auto keys = log.Calls("TranslateAccelerator");
        ASSERT_EQ(keys.size(), 1u);
        wchar_t target[32];
        swprintf(target, 32, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(dialog.control)));
        EXPECT_EQ(keys[0].detail, "msg=0x100 key=9 target=" + std::string(target, target + wcslen(target)) +
                                      (claim ? " S_OK" : " S_FALSE"));
        EXPECT_EQ(dialog.focusAtEnd, claim ? IDC_TEST_BUTTON : IDC_TEST_BUTTON_B);
    }
}

// The dialog's window goes: the host lets go of the control in the order a control expects.
TEST(BrowserHost, ClosingTheDialogClosesTheControl)
{
    StandInLog log;
    BrowserDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.a.IsCreated());
    EXPECT_EQ(dialog.a.Handle(), nullptr);
    std::vector<std::string> tail;
    for (const auto& name : log.Names())
        if (name == "Unadvise" || name == "InPlaceDeactivate" || name == "Close" || name == "SetClientSite" ||
            name == "Destroyed")
            tail.push_back(name);
    // SetClientSite appears once when each control is made.
    const std::vector<std::string> expected = {
        "SetClientSite", "SetClientSite", "Unadvise", "InPlaceDeactivate", "Close", "SetClientSite", "Destroyed",
        "Unadvise", "InPlaceDeactivate", "Close", "SetClientSite", "Destroyed"};
    EXPECT_EQ(tail, expected);
    EXPECT_EQ(dialog.a.Navigate(L"http://x/"), E_UNEXPECTED);  // a closed host calls nothing
}

// A handler that destroys the dialog inside the control's event.
TEST(BrowserHost, DialogMayGoInsideAnEvent)
{
    StandInLog log;
    BrowserDialog dialog;
    dialog.destroyOnDocument = true;
    dialog.steps = [&](BrowserDialog& d) { SendStandInCommand(d.a.Handle(), L"DocumentComplete http://x/"); };
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.events.size(), 1u);
    EXPECT_EQ(log.Calls("Destroyed").size(), 2u);
    EXPECT_EQ(log.Calls("Fired").size(), 1u);
}

}  // namespace
