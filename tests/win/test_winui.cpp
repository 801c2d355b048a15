// The window layer under Wine: dialogs and their loop, window objects, timers, the worker,
// the application object, the profile and the single-instance rule.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "application.h"
#include "command_tail.h"
#include "dialog.h"
#include "single_instance.h"
#include "test_dialogs.h"
#include "worker.h"

using winui::Dialog;
using winui::Window;

namespace {

const UINT kStep = WM_APP + 1;  // a test's own message

// Records what reaches it, in order, into a shared list.
struct Trace {
    std::vector<std::string> events;
    void Add(const std::string& e) { events.push_back(e); }
};

// A dialog that reports the start of its window and ends itself in OnInitDialog.
class StartDialog : public Dialog {
public:
    StartDialog() : Dialog(IDD_TEST_PLAIN) {}
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCCREATE)
            trace.Add("WM_NCCREATE");
        if (message == WM_CREATE) {
            trace.Add("WM_CREATE");
            handleInCreate = Handle();
            LRESULT r = Dialog::OnMessage(message, wParam, lParam);
            trace.Add("WM_CREATE done " + std::to_string(r));
            return r;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    BOOL OnInitDialog() override
    {
        trace.Add("OnInitDialog");
        handleInInit = Handle();
        EndDialog(IDOK);
        return TRUE;
    }
    Trace trace;
    HWND handleInCreate = nullptr, handleInInit = nullptr;
};

TEST(Dialog, CreateReachesTheObjectBeforeInitDialog)
{
    StartDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const std::vector<std::string> expected = {"WM_NCCREATE", "WM_CREATE", "WM_CREATE done 0",
                                               "OnInitDialog"};
    EXPECT_EQ(dialog.trace.events, expected);
    EXPECT_NE(dialog.handleInCreate, nullptr);
    EXPECT_EQ(dialog.handleInCreate, dialog.handleInInit);
    EXPECT_EQ(dialog.Handle(), nullptr);  // DoModal destroyed it
    EXPECT_FALSE(IsWindow(dialog.handleInInit));
}

// A window object that records the messages offered to it and may claim one.
class TraceWindow : public Window {
public:
    TraceWindow(const char* name, Trace& trace) : name_(name), trace_(trace) {}
    bool PreTranslateMessage(MSG& msg) override
    {
        if (msg.message != kStep)
            return false;
        trace_.Add(std::string("pre ") + name_);
        return claims;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStep)
            trace_.Add(std::string("dispatched ") + name_);
        return Window::OnMessage(message, wParam, lParam);
    }
    bool claims = false;

private:
    const char* name_;
    Trace& trace_;
};

// dialog > panel (a control of the template) > inner (a window made inside the panel).
class ChainDialog : public Dialog {
public:
    ChainDialog() : Dialog(IDD_TEST_PLAIN), panel("panel", trace), inner("inner", trace) {}
    bool PreTranslateMessage(MSG& msg) override
    {
        if (msg.message != kStep)
            return false;
        trace.Add("pre dialog");
        return claims;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStep + 1) {
            EndDialog(IDOK);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    BOOL OnInitDialog() override
    {
        HWND panelWindow = GetDlgItem(Handle(), IDC_TEST_PANEL);
        HWND innerWindow = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                           panelWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (bindPanel)
            panel.Attach(panelWindow);
        inner.Attach(innerWindow);
        PostMessageW(innerWindow, kStep, 0, 0);
        PostMessageW(Handle(), kStep + 1, 0, 0);
        return TRUE;
    }
    Trace trace;
    TraceWindow panel, inner;
    bool claims = false, bindPanel = true;
};

TEST(Dialog, LoopOffersEachMessageFromItsTargetUpToTheDialog)
{
    struct Case {
        const char* claimant;  // "", "inner", "panel", "dialog"
        bool bindPanel;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"", true, {"pre inner", "pre panel", "pre dialog", "dispatched inner"}},
        {"inner", true, {"pre inner"}},
        {"panel", true, {"pre inner", "pre panel"}},
        {"dialog", true, {"pre inner", "pre panel", "pre dialog"}},
        {"", false, {"pre inner", "pre dialog", "dispatched inner"}},  // unbound windows are passed over
    };
    for (const auto& c : cases) {
        ChainDialog dialog;
        dialog.bindPanel = c.bindPanel;
        std::string claimant = c.claimant;
        dialog.inner.claims = claimant == "inner";
        dialog.panel.claims = claimant == "panel";
        dialog.claims = claimant == "dialog";
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.trace.events, c.events) << "claimant '" << claimant << "' panel bound " << c.bindPanel;
        EXPECT_EQ(dialog.inner.Handle(), nullptr);  // the objects let go of their windows
        EXPECT_EQ(dialog.panel.Handle(), nullptr);
    }
}

// An owner-drawn button draws itself: its parent's WM_DRAWITEM reaches the button's object.
class DrawnButton : public Window {
public:
    bool OnDrawItem(DRAWITEMSTRUCT& item) override
    {
        drawnId = static_cast<int>(item.CtlID);
        drawnWindow = item.hwndItem;
        return true;
    }
    int drawnId = 0;
    HWND drawnWindow = nullptr;
};

class DrawDialog : public Dialog {
public:
    DrawDialog() : Dialog(IDD_TEST_PLAIN) {}
    BOOL OnInitDialog() override
    {
        HWND hwnd = GetDlgItem(Handle(), IDC_TEST_BUTTON);
        button.Attach(hwnd);
        SetWindowLongPtrW(hwnd, GWL_STYLE, (GetWindowLongPtrW(hwnd, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
        ShowWindow(Handle(), SW_SHOW);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        buttonWindow = hwnd;
        EndDialog(IDOK);
        return TRUE;
    }
    DrawnButton button;
    HWND buttonWindow = nullptr;
};

TEST(Window, OwnerDrawnControlDrawsItself)
{
    DrawDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.button.drawnId, IDC_TEST_BUTTON);
    EXPECT_EQ(dialog.button.drawnWindow, dialog.buttonWindow);
}

class TimerDialog : public Dialog {
public:
    TimerDialog() : Dialog(IDD_TEST_PLAIN) {}
    BOOL OnInitDialog() override
    {
        SetTimer(7, 20);
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER) {
            fired.push_back(static_cast<UINT_PTR>(wParam));
            if (wParam == 7 && ++sevens == 3) {
                KillTimer(7);
                SetTimer(8, 150);  // time for a killed timer to show up if it still ran
            } else if (wParam == 8) {
                EndDialog(IDOK);
            }
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    std::vector<UINT_PTR> fired;
    int sevens = 0;
};

TEST(Dialog, TimersFireUntilKilled)
{
    TimerDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.fired, (std::vector<UINT_PTR>{7, 7, 7, 8}));
}

// Destroys or ends itself on a posted message, as a handler inside the loop would.
class EndingDialog : public Dialog {
public:
    EndingDialog() : Dialog(IDD_TEST_PLAIN) {}
    BOOL OnInitDialog() override
    {
        PostMessageW(Handle(), kStep, 0, 0);
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStep) {
            if (endWith)
                EndDialog(endWith);
            if (destroy)
                DestroyWindow(Handle());
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    void OnWindowGone() override { ++gone; }
    INT_PTR endWith = 0;
    bool destroy = false;
    int gone = 0;
};

TEST(Dialog, DestroyWindowInsideTheLoopEndsIt)
{
    struct Case {
        INT_PTR endWith;
        bool destroy;
        INT_PTR result;
    };
    const Case cases[] = {
        {0, true, -1},               // destroyed without a result
        {IDCANCEL, true, IDCANCEL},  // ended, then destroyed at once
        {IDOK, false, IDOK},         // ended: DoModal destroys it
    };
    for (const auto& c : cases) {
        EndingDialog dialog;
        dialog.endWith = c.endWith;
        dialog.destroy = c.destroy;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.endWith << " " << c.destroy;
        EXPECT_EQ(dialog.Handle(), nullptr);
        EXPECT_EQ(dialog.gone, 1);
    }
}

// EndDialog asked from a message another thread sends: the loop wakes at once and ends with
// that result; a message posted later would end it with 42 otherwise.
class SentEndDialog : public Dialog {
public:
    SentEndDialog() : Dialog(IDD_TEST_PLAIN) {}
    BOOL OnInitDialog() override
    {
        HWND hwnd = Handle();
        sender = std::thread([hwnd] {
            Sleep(200);  // the loop is waiting in GetMessage by now
            SendMessageW(hwnd, kStep, 0, 0);
            Sleep(1500);
            PostMessageW(hwnd, kStep, 1, 0);
        });
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStep) {
            EndDialog(wParam ? 42 : IDOK);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    std::thread sender;
};

TEST(Dialog, EndFromASentMessageWakesTheLoop)
{
    SentEndDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    dialog.sender.join();
}

// Enter and Escape, as the keyboard sends them to the dialog.
class KeyDialog : public Dialog {
public:
    explicit KeyDialog(UINT key, bool ignore) : Dialog(IDD_TEST_KEYS), key_(key), ignore_(ignore) {}
    BOOL OnInitDialog() override
    {
        PostMessageW(Handle(), WM_KEYDOWN, key_, 0);
        SetTimer(1, 200);  // ends a dialog that ignored the key
        return TRUE;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER) {
            EndDialog(42);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }
    void OnOK() override
    {
        seen = "OnOK";
        if (!ignore_)
            Dialog::OnOK();
    }
    void OnCancel() override
    {
        seen = "OnCancel";
        if (!ignore_)
            Dialog::OnCancel();
    }
    std::string seen;

private:
    UINT key_;
    bool ignore_;
};

TEST(Dialog, EnterAndEscapeReachOnOKAndOnCancel)
{
    struct Case {
        UINT key;
        bool ignore;
        const char* seen;
        INT_PTR result;
    };
    const Case cases[] = {
        {VK_RETURN, false, "OnOK", IDOK},
        {VK_ESCAPE, false, "OnCancel", IDCANCEL},
        {VK_RETURN, true, "OnOK", 42},  // an empty OnOK leaves the dialog open
        {VK_ESCAPE, true, "OnCancel", 42},
    };
    for (const auto& c : cases) {
        KeyDialog dialog(c.key, c.ignore);
        EXPECT_EQ(dialog.DoModal(), c.result) << c.key << " " << c.ignore;
        EXPECT_EQ(dialog.seen, c.seen);
    }
}

TEST(Worker, RunsOnAThreadOfItsOwn)
{
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD workerThread = 0;
    ASSERT_TRUE(winui::StartWorker([&] {
        workerThread = GetCurrentThreadId();
        SetEvent(done);
    }));
    ASSERT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
    EXPECT_NE(workerThread, 0u);
    EXPECT_NE(workerThread, GetCurrentThreadId());
    CloseHandle(done);
}

// The application: name, command line, OLE on its thread, main window as default owner.
class OwnedDialog : public Dialog {
public:
    OwnedDialog() : Dialog(IDD_TEST_KEYS) {}
    BOOL OnInitDialog() override
    {
        owner = GetWindow(Handle(), GW_OWNER);
        ownerEnabled = owner && IsWindowEnabled(owner);
        EndDialog(IDOK);
        return TRUE;
    }
    HWND owner = nullptr;
    bool ownerEnabled = true;
};

class MainDialog : public Dialog {
public:
    MainDialog() : Dialog(IDD_TEST_PLAIN) {}
    BOOL OnInitDialog() override
    {
        ownOwner = GetWindow(Handle(), GW_OWNER);
        inner.DoModal();  // built with no parent
        enabledAfter = IsWindowEnabled(Handle()) != 0;
        EndDialog(IDOK);
        return TRUE;
    }
    OwnedDialog inner;
    HWND ownOwner = reinterpret_cast<HWND>(1);
    bool enabledAfter = false;
};

class TestApp : public winui::Application {
public:
    explicit TestApp(const wchar_t* name) : Application(name) {}
    bool InitInstance() override
    {
        name = Name();
        commandLine = CommandLine();
        oleAgain = OleInitialize(nullptr);  // S_FALSE: already initialised on this thread
        if (SUCCEEDED(oleAgain))
            OleUninitialize();
        SetMainWindow(&main);
        main.DoModal();
        mainWindow = MainWindow();
        SetMainWindow(nullptr);
        return false;
    }
    int ExitInstance() override { return 7; }
    std::wstring name, commandLine;
    HRESULT oleAgain = E_FAIL;
    MainDialog main;
    Window* mainWindow = nullptr;
};

TEST(Application, RunsTheStartRoutineWithOleAndItsMainWindow)
{
    TestApp app(nullptr);
    EXPECT_EQ(winui::Application::Current(), &app);
    EXPECT_EQ(app.Run(GetModuleHandleW(nullptr)), 7);
    EXPECT_EQ(app.name, L"窗口测试");  // the application-title string of the module
    std::u16string tail = winui::CommandTail(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    EXPECT_EQ(app.commandLine, std::wstring(tail.begin(), tail.end()));
    EXPECT_EQ(app.oleAgain, S_FALSE);
    EXPECT_EQ(app.mainWindow, &app.main);
    EXPECT_EQ(app.main.ownOwner, nullptr);  // the main window owns no dialog of its own
    EXPECT_NE(app.main.inner.owner, nullptr);
    EXPECT_FALSE(app.main.inner.ownerEnabled);  // disabled while the inner dialog runs
    EXPECT_TRUE(app.main.enabledAfter);
}

TEST(Application, NameGivenToTheConstructorWins)
{
    class NamedApp : public winui::Application {
    public:
        NamedApp() : Application(L"named") {}
        bool InitInstance() override { return false; }
    } app;
    app.Run(GetModuleHandleW(nullptr));
    EXPECT_EQ(app.Name(), L"named");
}

TEST(Profile, WritesAndReadsNumbersUnderTheApplicationsKey)
{
    const std::wstring key = L"WinuiTestProfile" + std::to_wstring(GetCurrentProcessId());
    class ProfileApp : public winui::Application {
    public:
        ProfileApp() : Application(L"Pelorama") {}
        bool InitInstance() override { return false; }
    } app;
    app.Run(GetModuleHandleW(nullptr));
    EXPECT_EQ(app.Profile().GetInt(L"Settings", L"DontPopup", 5), 5u);  // no key yet
    app.SetRegistryKey(key.c_str());
    EXPECT_EQ(app.Profile().GetInt(L"Settings", L"DontPopup", 0), 0u);
    EXPECT_TRUE(app.Profile().WriteInt(L"Settings", L"DontPopup", 1));
    EXPECT_EQ(app.Profile().GetInt(L"Settings", L"DontPopup", 0), 1u);

    HKEY section;
    const std::wstring path = L"Software\\" + key + L"\\Pelorama\\Settings";
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &section), ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(section, L"DontPopup", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 1u);
    RegCloseKey(section);
    for (const std::wstring& sub : {path, L"Software\\" + key + L"\\Pelorama", L"Software\\" + key})
        RegDeleteKeyW(HKEY_CURRENT_USER, sub.c_str());
}

TEST(SingleInstance, SecondClaimBringsTheMarkedWindowForward)
{
    const std::wstring name = L"winui-instance-" + std::to_wstring(GetCurrentProcessId());
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND first = CreateWindowExW(0, L"Static", L"first", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);

    EXPECT_TRUE(winui::ClaimFirstInstance((name + L"-none").c_str()));  // the first claim
    // The semaphore exists but no window carries the property: nothing comes forward.
    // (Other tests' windows in the prefix may take the foreground meanwhile.)
    EXPECT_FALSE(winui::ClaimFirstInstance((name + L"-none").c_str()));
    EXPECT_FALSE(IsWindowVisible(first));
    EXPECT_NE(GetForegroundWindow(), first);

    EXPECT_TRUE(winui::ClaimFirstInstance(name.c_str()));
    SetPropW(first, name.c_str(), reinterpret_cast<HANDLE>(1));
    EXPECT_FALSE(winui::ClaimFirstInstance(name.c_str()));
    EXPECT_TRUE(IsWindowVisible(first));  // shown (SW_SHOWNORMAL)
    EXPECT_EQ(GetForegroundWindow(), first);

    RemovePropW(first, name.c_str());
    DestroyWindow(first);
    DestroyWindow(other);
}

// The second step: after the marked window, its last active pop-up is brought to the front.
// The foreground targets are recorded: the system would make the owner its own last active
// window on the first step, and refuses the foreground to a pop-up of a disabled owner.
TEST(SingleInstance, SecondClaimThenBringsTheLastActivePopupForward)
{
    const std::wstring name = L"winui-popup-" + std::to_wstring(GetCurrentProcessId());
    HINSTANCE module = GetModuleHandleW(nullptr);
    HWND first = CreateWindowExW(0, L"Static", L"first", WS_POPUP | WS_VISIBLE, 0, 0, 80, 80, nullptr, nullptr,
                                 module, nullptr);
    HWND popup = CreateWindowExW(0, L"Static", L"popup", WS_POPUP | WS_VISIBLE, 10, 10, 40, 40, first, nullptr,
                                 module, nullptr);
    SetForegroundWindow(popup);
    ASSERT_EQ(GetLastActivePopup(first), popup);

    std::vector<HWND> forward;
    auto record = [&forward](HWND hwnd) { forward.push_back(hwnd); };
    EXPECT_TRUE(winui::ClaimFirstInstance(name.c_str(), record));
    EXPECT_TRUE(forward.empty());
    winui::MarkInstanceWindow(first, name.c_str());
    EXPECT_EQ(winui::FindInstanceWindow(name.c_str()), first);
    EXPECT_FALSE(winui::ClaimFirstInstance(name.c_str(), record));
    EXPECT_EQ(forward, (std::vector<HWND>{first, popup}));

    winui::UnmarkInstanceWindow(first, name.c_str());
    EXPECT_EQ(winui::FindInstanceWindow(name.c_str()), nullptr);
    DestroyWindow(popup);
    DestroyWindow(first);
}

TEST(RegisteredMessage, IsTheSystemsMessageOfThatName)
{
    winui::RegisteredMessage taskbar(L"TaskbarCreated");
    EXPECT_EQ(static_cast<UINT>(taskbar), RegisterWindowMessageW(L"TaskbarCreated"));
    EXPECT_GE(static_cast<UINT>(taskbar), 0xC000u);
}

}  // namespace
