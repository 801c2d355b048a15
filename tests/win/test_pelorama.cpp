// pelorama as real process starts from a run folder whose name holds a blank and a character
// outside the ANSI code page, with the stand-in browser control registered: its window, the
// welcome and portal browsers, the frame buttons' commands, the profile, dragging, closing,
// and one instance per logon.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "agent_run.h"
#include "bench_files.h"
#include "boxwatch_client.h"
#include "player_record.h"
#include "standin_client.h"
#include "standin_tray.h"
#include "tray_menu.h"

namespace {

const wchar_t kProfileKey[] = L"Software\\QELPlayer\\Pelorama";
const wchar_t kSettingsKey[] = L"Software\\QELPlayer\\Pelorama\\Settings";
const wchar_t kPortal[] = L"http://portal.qelplayer.net/";
const int kPortalId = 1010, kWelcomeId = 1011;
const char kPageArea[] = "6,24,521,547";  // 515 by 523 at (6, 24)

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A child's rectangle in its parent's client coordinates.
std::string ChildRect(HWND parent, int id)
{
    RECT r = {};
    HWND child = GetDlgItem(parent, id);
    if (!child)
        return "none";
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return Text(r);
}

std::string WindowRectText(HWND hwnd)
{
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return Text(r);
}

// What a browser was asked, in order: "<call> <detail>" of the calls that place, show, load
// and move it.
std::vector<std::string> BrowserCalls(const ProcessRun& run, int id, size_t from = 0)
{
    static const char* const kKept[] = {"Navigate", "PutVisible", "SetObjectRects", "PutTop", "PutLeft",
                                        "PutWidth", "PutHeight",  "Refresh",        "GoBack", "GoForward"};
    std::vector<std::string> out;
    auto log = ReadStandInLog(run.StandInLog());
    for (size_t i = from; i < log.size(); ++i) {
        const StandInCall& c = log[i];
        if (c.pid != run.Pid() || c.id != id)
            continue;
        for (const char* kept : kKept)
            if (c.call == kept)
                out.push_back(c.call + " " + c.detail);
    }
    return out;
}

size_t LogSize(const ProcessRun& run)
{
    return ReadStandInLog(run.StandInLog()).size();
}

// Waits for a log line of this run after position from with the call and a detail that
// begins with detail.
bool WaitLogged(const ProcessRun& run, const std::string& call, const std::string& detail, size_t from)
{
    const DWORD start = GetTickCount();
    do {
        auto log = ReadStandInLog(run.StandInLog());
        for (size_t i = from; i < log.size(); ++i)
            if (log[i].pid == run.Pid() && log[i].call == call && log[i].detail.compare(0, detail.size(), detail) == 0)
                return true;
        Sleep(10);
    } while (GetTickCount() - start < 10000);
    return false;
}

// The rectangles a browser at the page area and one at zero size go through from zero.
std::vector<std::string> LaidOut(bool fromZero)
{
    std::vector<std::string> calls;
    if (fromZero)
        calls.push_back("SetObjectRects pos=0,0,0,0 clip=0,0,0,0");
    calls.insert(calls.end(), {"PutTop 24", "SetObjectRects pos=0,24,0,0 clip=0,24,0,0", "PutLeft 6",
                               "SetObjectRects pos=6,24,0,0 clip=6,24,0,0", "PutWidth 515",
                               "SetObjectRects pos=6,24,521,0 clip=6,24,521,0", "PutHeight 523",
                               "SetObjectRects pos=6,24,521,547 clip=6,24,521,547"});
    return calls;
}

// A registry value: type, bytes; false when the value is missing.
bool ReadValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD* type, std::vector<BYTE>* data)
{
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    DWORD size = 4096;
    data->assign(size, 0);
    bool ok = RegQueryValueExW(h, name, nullptr, type, data->data(), &size) == ERROR_SUCCESS;
    data->resize(ok ? size : 0);
    RegCloseKey(h);
    return ok;
}

bool WriteValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY h;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(h);
    return ok;
}

void DeleteProfile()
{
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kProfileKey);
}

DWORD ReadDontPopup(bool* present)
{
    DWORD type = 0, value = 0;
    std::vector<BYTE> data;
    *present = ReadValue(HKEY_CURRENT_USER, kSettingsKey, L"DontPopup", &type, &data) && type == REG_DWORD &&
               data.size() == sizeof value;
    if (*present)
        memcpy(&value, data.data(), sizeof value);
    return value;
}

void WriteDontPopup(DWORD value)
{
    WriteValue(HKEY_CURRENT_USER, kSettingsKey, L"DontPopup", REG_DWORD, &value, sizeof value);
}

// Another program's WM_CLOSE; true when the program has ended.
bool CloseAndWait(ProcessRun& run, HWND window)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
    return run.WaitExit(10000);
}

class Pelorama : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteProfile();
        ASSERT_TRUE(folder.Create(L"\u0E01"));  // a Thai letter: outside code page 936
        const std::wstring bin = SuiteBinFolder();
        ASSERT_TRUE(folder.AddProgram(bin + L"pelorama.exe", L"pelorama.exe"));
        ASSERT_TRUE(folder.AddProgram(bin + L"welcome.html", L"welcome.html"));
        ASSERT_TRUE(folder.AddProgram(bin + L"loading.html", L"loading.html"));
        ASSERT_TRUE(folder.AddStandinResolver(""));
        ASSERT_TRUE(folder.AddStandinPlayer());
    }
    void TearDown() override { DeleteProfile(); }

    std::wstring ProgramPath() const { return folder.Path() + L"pelorama.exe"; }

    // Starts pelorama and waits for its window with both browsers in place.
    HWND Start(ProcessRun& run)
    {
        if (!run.Start(L""))
            return nullptr;
        HWND window = run.WaitWindow();
        if (!window || !WaitLogged(run, "SetObjectRects", "pos=0,0,0,0", 0))
            return nullptr;
        Sleep(100);  // OnInitDialog ends
        return window;
    }

    // Sends the portal (or welcome) browser an event and waits until it has fired.
    bool Fire(const ProcessRun& run, HWND window, int id, const std::wstring& command)
    {
        size_t from = LogSize(run);
        if (!SendStandInCommand(GetDlgItem(window, id), command))
            return false;
        std::string event = Utf8(command.substr(0, command.find(L' ')));
        bool fired = event == "HistoryFails" ? WaitLogged(run, event, "", from) : WaitLogged(run, "Fired", event, from);
        Sleep(50);
        return fired;
    }

    RunFolder folder;
};

// The window as it stands after start: class, property, place and size, rounded region,
// title, the frame buttons, the check box and its label, and the two browsers' calls in order.
TEST_F(Pelorama, StartsWithItsWindowAndBothBrowsers)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);

    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"QELPLAYERPELORAMA");
    EXPECT_EQ(GetPropW(window, L"Pelorama"), reinterpret_cast<HANDLE>(1));
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"精彩视频");
    EXPECT_EQ(WindowRectText(window), "0,0,527,570");
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(window));

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));      // the rounded corners
    EXPECT_FALSE(PtInRegion(region, 526, 569));
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    EXPECT_TRUE(PtInRegion(region, 263, 285));
    DeleteObject(region);

    // Close, minimize, back, forward, reload and forum, each in its bitmap's size.
    EXPECT_EQ(ChildRect(window, 1000), "502,3,520,21");
    EXPECT_EQ(ChildRect(window, 1001), "482,3,500,21");
    EXPECT_EQ(ChildRect(window, 1003), "110,3,128,21");
    EXPECT_EQ(ChildRect(window, 1002), "130,3,148,21");
    EXPECT_EQ(ChildRect(window, 1004), "150,3,168,21");
    EXPECT_EQ(ChildRect(window, 1005), "490,549,520,567");
    for (int id = 1000; id <= 1005; ++id)
        EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(window, id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    RECT box = {}, label = {};
    GetWindowRect(GetDlgItem(window, 1006), &box);
    GetWindowRect(GetDlgItem(window, 1007), &label);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 570 - 21);
    EXPECT_EQ(label.left, 10 + (box.right - box.left) + 2);
    EXPECT_EQ(label.top, 570 - 18);
    // The controls in the template's tab order, the browsers in their places' stead.
    std::vector<int> order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(GetDlgCtrlID(child));
    EXPECT_EQ(order, (std::vector<int>{1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1010, 1011}));
    wchar_t labelText[32] = {};
    GetWindowTextW(GetDlgItem(window, 1007), labelText, 32);
    EXPECT_STREQ(labelText, L"下次不再弹出");

    // The welcome page by its whole UTF-16 path, shown at the page area; the portal at zero size.
    std::vector<std::string> welcome = {"Navigate args=1 url=" + Utf8(folder.Path() + L"welcome.html"), "PutVisible -1"};
    for (const auto& c : LaidOut(true))
        welcome.push_back(c);
    EXPECT_EQ(BrowserCalls(run, kWelcomeId), welcome);
    const std::vector<std::string> portal = {"Navigate args=1 url=" + Utf8(kPortal), "PutVisible 0",
                                             "SetObjectRects pos=0,0,0,0 clip=0,0,0,0"};
    EXPECT_EQ(BrowserCalls(run, kPortalId), portal);
    // The welcome browser is done before the portal navigates, and the navigation goes ahead.
    auto log = ReadStandInLog(run.StandInLog());
    unsigned long long lastWelcome = 0, portalNavigate = 0;
    std::string fired;
    for (const auto& c : log) {
        if (c.pid != run.Pid())
            continue;
        if (c.id == kWelcomeId && c.call == "PutHeight")
            lastWelcome = c.time;
        if (c.id == kPortalId && c.call == "Navigate")
            portalNavigate = c.time;
        if (c.id == kPortalId && c.call == "Fired")
            fired = c.detail;
    }
    EXPECT_LE(lastWelcome, portalNavigate);
    EXPECT_EQ(fired, "BeforeNavigate2 url=" + Utf8(kPortal) + " cancel=0");
    EXPECT_EQ(ChildRect(window, kWelcomeId), kPageArea);
    EXPECT_EQ(ChildRect(window, kPortalId), "0,0,0,0");

    EXPECT_TRUE(CloseAndWait(run, window));
}

// Each DocumentComplete of the portal, of its page or of a frame, shows the portal at the
// page area and the welcome browser at zero size. Reload brings the welcome page back until
// the portal's next download completes; a download before any reload changes nothing.
TEST_F(Pelorama, PortalLayoutAndReload)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);

    size_t from = LogSize(run);
    ASSERT_TRUE(Fire(run, window, kPortalId, L"DownloadComplete"));
    EXPECT_TRUE(BrowserCalls(run, kPortalId, from).empty());
    EXPECT_EQ(ChildRect(window, kPortalId), "0,0,0,0");

    ASSERT_TRUE(Fire(run, window, kPortalId, L"DocumentComplete http://portal.qelplayer.net/"));
    EXPECT_EQ(ChildRect(window, kPortalId), kPageArea);
    EXPECT_EQ(ChildRect(window, kWelcomeId), "0,0,0,0");
    EXPECT_EQ(BrowserCalls(run, kWelcomeId, from), std::vector<std::string>{"SetObjectRects pos=0,0,0,0 clip=0,0,0,0"});

    // A frame's document ends the reload's wait as well (the reload stays noted until a
    // download completes, which then places the portal once more).
    for (const wchar_t* ending : {L"DocumentComplete http://portal.qelplayer.net/frame.html", L"DownloadComplete"}) {
        SCOPED_TRACE(Utf8(ending));
        from = LogSize(run);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
        ASSERT_TRUE(WaitLogged(run, "Refresh", "", from));
        Sleep(100);
        std::vector<std::string> welcome = {"PutVisible -1"};
        for (const auto& c : LaidOut(true))
            welcome.push_back(c);
        welcome.push_back("Refresh ");
        EXPECT_EQ(BrowserCalls(run, kWelcomeId, from), welcome);
        EXPECT_EQ(BrowserCalls(run, kPortalId, from),
                  (std::vector<std::string>{"SetObjectRects pos=0,0,0,0 clip=0,0,0,0", "Refresh "}));
        // The welcome browser is refreshed first.
        auto log = ReadStandInLog(run.StandInLog());
        std::vector<int> refreshed;
        for (size_t i = from; i < log.size(); ++i)
            if (log[i].pid == run.Pid() && log[i].call == "Refresh")
                refreshed.push_back(log[i].id);
        EXPECT_EQ(refreshed, (std::vector<int>{kWelcomeId, kPortalId}));
        EXPECT_EQ(ChildRect(window, kWelcomeId), kPageArea);
        EXPECT_EQ(ChildRect(window, kPortalId), "0,0,0,0");

        ASSERT_TRUE(Fire(run, window, kPortalId, ending));
        EXPECT_EQ(ChildRect(window, kPortalId), kPageArea);
        EXPECT_EQ(ChildRect(window, kWelcomeId), "0,0,0,0");
    }
    // The reload is over: a later download places nothing.
    from = LogSize(run);
    ASSERT_TRUE(Fire(run, window, kPortalId, L"DownloadComplete"));
    EXPECT_TRUE(BrowserCalls(run, kPortalId, from).empty());
    EXPECT_TRUE(BrowserCalls(run, kWelcomeId, from).empty());

    EXPECT_TRUE(CloseAndWait(run, window));
}

// Back and forward go to the portal; when the portal has no history the failure is dropped:
// no box, the window stays. Enter, Escape and their commands leave the window open.
TEST_F(Pelorama, BackForwardAndKeysLeaveTheWindowOpen)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    BoxWatcher boxes;
    ASSERT_TRUE(boxes.Start(run.Pid(), {"ok"}, 2, 20000));

    size_t from = LogSize(run);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    ASSERT_TRUE(WaitLogged(run, "GoForward", "", from));
    ASSERT_TRUE(Fire(run, window, kPortalId, L"HistoryFails"));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), 0);
    ASSERT_TRUE(WaitLogged(run, "GoForward", "E_FAIL", from));
    EXPECT_EQ(BrowserCalls(run, kPortalId, from),
              (std::vector<std::string>{"GoBack ", "GoForward ", "GoBack E_FAIL", "GoForward E_FAIL"}));

    HWND focus = GetDlgItem(window, 1000);
    for (HWND target : {window, focus}) {
        PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(target, WM_KEYUP, VK_RETURN, 0);
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0);
    }
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Sleep(500);
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(IsWindowVisible(window));
    boxes.Wait(500);
    EXPECT_TRUE(boxes.Reports().empty());

    EXPECT_TRUE(CloseAndWait(run, window));
}

// WM_CLOSE from another program and the close button both end the program; the window and
// its property are gone and both browsers were closed.
TEST_F(Pelorama, CloseEndsTheProgram)
{
    for (bool button : {false, true}) {
        SCOPED_TRACE(button ? "close button" : "WM_CLOSE");
        ProcessRun run(ProgramPath(), L"Pelorama");
        HWND window = Start(run);
        ASSERT_NE(window, nullptr);
        if (button) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
            ASSERT_TRUE(run.WaitExit(10000));
        } else {
            ASSERT_TRUE(CloseAndWait(run, window));
        }
        EXPECT_EQ(run.ExitCode(), 0u);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(GetPropW(window, L"Pelorama"), nullptr);
        size_t destroyed = 0;
        for (const auto& c : ReadStandInLog(run.StandInLog()))
            if (c.pid == run.Pid() && c.call == "Destroyed")
                ++destroyed;
        EXPECT_EQ(destroyed, 2u);
    }
}

// The minimize button sends the window away: hidden, only the notification area has it.
TEST_F(Pelorama, MinimizeHidesTheWindow)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(CloseAndWait(run, window));
}

// "DontPopup" in HKCU\Software\QELPlayer\Pelorama\Settings: missing shows the box empty and
// writes nothing; each click writes the box's state at once; a stored 1 shows it ticked.
TEST_F(Pelorama, CheckBoxKeepsTheProfileValue)
{
    bool present = true;
    {
        ProcessRun run(ProgramPath(), L"Pelorama");
        HWND window = Start(run);
        ASSERT_NE(window, nullptr);
        HWND box = GetDlgItem(window, 1006);
        EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        ReadDontPopup(&present);
        EXPECT_FALSE(present);
        for (DWORD expected : {1u, 0u, 1u}) {
            SendMessageW(box, BM_CLICK, 0, 0);
            EXPECT_EQ(ReadDontPopup(&present), expected);
            EXPECT_TRUE(present);
        }
        EXPECT_TRUE(CloseAndWait(run, window));
    }
    for (DWORD stored : {1u, 0u, 7u}) {
        SCOPED_TRACE(stored);
        WriteDontPopup(stored);
        ProcessRun run(ProgramPath(), L"Pelorama");
        HWND window = Start(run);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(SendMessageW(GetDlgItem(window, 1006), BM_GETCHECK, 0, 0), stored ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_TRUE(IsWindowVisible(window));  // the value has no other effect
        EXPECT_EQ(ReadDontPopup(&present), stored);
        EXPECT_TRUE(CloseAndWait(run, window));
    }
}

// A press on the title band drags the window by the cursor's way; a press on a button does not.
TEST_F(Pelorama, DragsByTheFrameOnly)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    const int dx = 30, dy = 40;
    const POINT grab = {250, 10};
    // The messages a real drag gives, in the client coordinates of the window where it is:
    // the press, a move of the cursor by (dx, dy), the release where the grab point now lies,
    // and a move after the release.
    auto drag = [&](HWND pressed) {
        PostMessageW(pressed, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
        PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + dx, grab.y + dy));
        Sleep(200);
        PostMessageW(pressed, WM_LBUTTONUP, 0, MAKELPARAM(grab.x, grab.y));
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(grab.x + dx, grab.y + dy));
        Sleep(300);
    };
    drag(window);
    EXPECT_EQ(WindowRectText(window), Text(RECT{dx, dy, dx + 527, dy + 570}));

    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    drag(GetDlgItem(window, 1003));
    EXPECT_EQ(WindowRectText(window), "0,0,527,570");

    EXPECT_TRUE(CloseAndWait(run, window));
}

// The forum button opens "http://" ForumHost "/bbs/" through the shell: the prefix's handler
// for "http" (a recorder here) receives the address.
TEST_F(Pelorama, ForumOpensThroughTheShell)
{
    const wchar_t kCommandKey[] = L"Software\\Classes\\http\\shell\\open\\command";
    ASSERT_TRUE(folder.AddRecorder(L"http handler.exe"));
    const std::wstring handler = folder.Path() + L"http handler.exe";
    // The prefix's own handler is put back whatever happens.
    struct SavedHandler {
        HKEY root;
        const wchar_t* key;
        bool had = false;
        DWORD type = REG_SZ;
        std::vector<BYTE> data;
        SavedHandler(HKEY r, const wchar_t* k) : root(r), key(k) { had = ReadValue(root, key, nullptr, &type, &data); }
        ~SavedHandler()
        {
            if (had) {
                WriteValue(root, key, nullptr, type, data.data(), static_cast<DWORD>(data.size()));
            } else {
                HKEY h;
                if (RegOpenKeyExW(root, key, 0, KEY_WRITE, &h) == ERROR_SUCCESS) {
                    RegDeleteValueW(h, nullptr);
                    RegCloseKey(h);
                }
            }
        }
    } machine(HKEY_LOCAL_MACHINE, kCommandKey), user(HKEY_CURRENT_USER, kCommandKey);
    const std::wstring command = L"\"" + handler + L"\" \"%1\"";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        ASSERT_TRUE(WriteValue(root, kCommandKey, nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))));

    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    const std::wstring record = folder.RecordOf(L"http handler.exe");
    ASSERT_TRUE(WaitForRecord(record, 1, true));
    const PlayerRecord started = ReadPlayerRecord(record);
    ASSERT_EQ(started.starts.size(), 1u);
    EXPECT_NE(started.starts[0].commandLine.find(L"http://forum.qelplayer.net/bbs/"), std::wstring::npos)
        << Utf8(started.starts[0].commandLine);
    EXPECT_EQ(started.starts[0].showCode, SW_SHOW);
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(CloseAndWait(run, window));
}

// A second start finds the first window by its property, shows it (also when hidden) and
// brings it to the front, and ends without a window of its own.
TEST_F(Pelorama, SecondStartShowsTheFirstWindowAndEnds)
{
    ProcessRun first(ProgramPath(), L"Pelorama");
    HWND window = Start(first);
    ASSERT_NE(window, nullptr);
    HWND mine = CreateWindowExW(0, L"Static", L"in front", WS_POPUP | WS_VISIBLE, 600, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    for (bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "hidden" : "shown");
        if (hidden)
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);  // to the notification area
        SetForegroundWindow(mine);
        ASSERT_EQ(GetForegroundWindow(), mine);
        ProcessRun second(ProgramPath(), L"Pelorama", first.StandInLog());
        ASSERT_TRUE(second.Start(L""));
        ASSERT_TRUE(second.WaitExit(10000));
        EXPECT_EQ(second.ExitCode(), 0u);
        for (const auto& c : ReadStandInLog(first.StandInLog()))
            EXPECT_NE(c.pid, second.Pid()) << c.call;  // no browser, so no window
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(GetForegroundWindow(), window);
    }
    DestroyWindow(mine);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(CloseAndWait(first, window));
}

}  // namespace

namespace {

const UINT kNotifyIcon = RegisterWindowMessageW(L"MYWM_NOTIFYICON");
const UINT kTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

// The icon's callback as the shell sends it; -2 when the window does not answer.
LRESULT Notify(HWND window, WPARAM id, UINT mouse)
{
    DWORD_PTR result = static_cast<DWORD_PTR>(-2);
    if (!SendMessageTimeoutW(window, kNotifyIcon, id, mouse, SMTO_NORMAL, 10000, &result))
        return -2;
    return static_cast<LRESULT>(result);
}

// Keys typed in the portal reach the page: the portal's control is offered each key before
// the dialog's keyboard handling, and a key it takes never reaches the dialog.
TEST_F(Pelorama, KeysInThePortalReachTheControlFirst)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    HWND portal = GetDlgItem(window, kPortalId);
    ASSERT_TRUE(SendStandInCommand(portal, L"ClaimKeys 13"));
    size_t from = LogSize(run);
    PostMessageW(portal, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(portal, WM_KEYDOWN, VK_TAB, 0x000F0001);
    ASSERT_TRUE(WaitLogged(run, "TranslateAccelerator", "msg=0x100 key=9", from));
    wchar_t target[32];
    swprintf(target, 32, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(portal)));
    std::vector<std::string> keys;
    auto log = ReadStandInLog(run.StandInLog());
    for (size_t i = from; i < log.size(); ++i)
        if (log[i].pid == run.Pid() && log[i].call == "TranslateAccelerator")
            keys.push_back(log[i].detail);
    const std::string at = " target=" + Utf8(target);
    EXPECT_EQ(keys, (std::vector<std::string>{"msg=0x100 key=13" + at + " S_OK", "msg=0x100 key=9" + at + " S_FALSE"}));
    Sleep(200);
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(CloseAndWait(run, window));
}

class PeloramaTray : public Pelorama {
protected:
    void SetUp() override
    {
        Pelorama::SetUp();
        ASSERT_TRUE(tray.Start()) << "another Shell_TrayWnd is in the prefix";
    }
    void TearDown() override
    {
        EndRecordedPlayers(ReadPlayerRecord(folder.PlayerRecord()));
        Pelorama::TearDown();
    }

    StandinTray tray;
};

// The icon is added at start with its record's fields; a mouse move gives the window text as
// tip; another icon's id is answered with -1; "TaskbarCreated" adds it once more.
TEST_F(PeloramaTray, IconRecordTipAndTaskbarCreated)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(tray.WaitForRecords(1));
    TrayRecord add = tray.Records()[0];
    EXPECT_EQ(add.command, static_cast<ULONG_PTR>(NIM_ADD));
    EXPECT_EQ(add.window, window);
    EXPECT_EQ(add.id, 128u);
    EXPECT_EQ(add.flags, 7u);
    EXPECT_EQ(add.callbackMessage, kNotifyIcon);
    EXPECT_EQ(add.Tip(), L"pelorama");

    EXPECT_EQ(Notify(window, 129, WM_MOUSEMOVE), -1);
    EXPECT_EQ(Notify(window, 128, WM_LBUTTONUP), 0);
    EXPECT_EQ(tray.Records().size(), 1u);
    EXPECT_EQ(Notify(window, 128, WM_MOUSEMOVE), 0);
    ASSERT_TRUE(tray.WaitForRecords(2));
    TrayRecord modify = tray.Records()[1];
    EXPECT_EQ(modify.command, static_cast<ULONG_PTR>(NIM_MODIFY));
    EXPECT_EQ(modify.id, 128u);
    EXPECT_EQ(modify.flags, static_cast<UINT>(NIF_TIP));
    EXPECT_EQ(modify.Tip(), L"精彩视频");

    EXPECT_EQ(SendMessageW(window, kTaskbarCreated, 0, 0), 0);
    ASSERT_TRUE(tray.WaitForRecords(3));
    TrayRecord again = tray.Records()[2];
    EXPECT_EQ(again.command, static_cast<ULONG_PTR>(NIM_ADD));
    EXPECT_EQ(again.flags, 7u);
    EXPECT_EQ(again.Tip(), L"pelorama");
    EXPECT_TRUE(IsWindowVisible(window));  // shown again after the add

    EXPECT_TRUE(CloseAndWait(run, window));
    auto records = tray.Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[3].command, static_cast<ULONG_PTR>(NIM_DELETE));
    EXPECT_EQ(records[3].id, 128u);
}

// A left press hides the window, the next shows it and brings it forward; a double click on
// the visible window hides it with its press and shows it with the double click.
TEST_F(PeloramaTray, LeftPressesAndDoubleClick)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Notify(window, 128, WM_LBUTTONDOWN), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Notify(window, 128, WM_LBUTTONDOWN), 0);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(GetForegroundWindow(), window);

    EXPECT_EQ(Notify(window, 128, WM_LBUTTONDOWN), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Notify(window, 128, WM_LBUTTONDBLCLK), 0);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(WindowRectText(window), "0,0,527,570");
    EXPECT_TRUE(CloseAndWait(run, window));
}

// The menu's commands: 1 brings a hidden window back; 2 starts the player beside the
// program, quoted, minimised, also while one runs; dismissing does nothing; 3 removes the
// icon and ends the program.
TEST_F(PeloramaTray, MenuCommands)
{
    ProcessRun run(ProgramPath(), L"Pelorama");
    HWND window = Start(run);
    ASSERT_NE(window, nullptr);

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    ASSERT_FALSE(IsWindowVisible(window));
    ASSERT_TRUE(PickFromTrayMenu(run.Pid(), window, 1));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));

    const std::wstring player = folder.Path() + L"qelplayer.exe";
    for (size_t starts : {1u, 2u}) {
        SCOPED_TRACE(starts);
        ASSERT_TRUE(PickFromTrayMenu(run.Pid(), window, 2));
        ASSERT_TRUE(WaitForRecord(folder.PlayerRecord(), starts, true));
        PlayerRecord record = ReadPlayerRecord(folder.PlayerRecord());
        ASSERT_EQ(record.starts.size(), starts);
        EXPECT_EQ(record.starts.back().module, player);
        EXPECT_EQ(record.starts.back().commandLine, L"\"" + player + L"\"");
        EXPECT_EQ(record.starts.back().showCode, 11);
    }
    EXPECT_FALSE(FileExists(folder.DecoyRecord())) << "the decoy ran";

    const size_t before = tray.Records().size();
    ASSERT_TRUE(PickFromTrayMenu(run.Pid(), window, 0));
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(tray.Records().size(), before);
    EXPECT_EQ(ReadPlayerRecord(folder.PlayerRecord()).starts.size(), 2u);

    ASSERT_TRUE(PickFromTrayMenu(run.Pid(), window, 3));
    ASSERT_TRUE(run.WaitExit(10000));
    EXPECT_EQ(run.ExitCode(), 0u);
    auto records = tray.Records();
    ASSERT_EQ(records.size(), before + 1);
    EXPECT_EQ(records.back().command, static_cast<ULONG_PTR>(NIM_DELETE));
}

}  // namespace
