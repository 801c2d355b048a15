// Sets up one window of the system for its screenshot and holds it there (shoot.sh):
//   shot_hold.exe wait    the built pelorama from a run folder, a zflv://play/src= link of its
//                         portal behind the wait dialog, its page completed, the link held
//                         in the stand-in resolver
//   shot_hold.exe agent   the built qelagent as the control starts it, its welcome page
//                         completed (the window at its size), the link held likewise
// With the stand-in browser control registered. Once the window is up and painted, it writes
// the window's screen rectangle ("WxH+X+Y") to the file SUITE_SHOT_READY names (after the
// browser's area, where its page text shows, to SUITE_SHOT_REPORT's file), and ends
// when that file is removed again (or after ten minutes): the program is ended with the link
// still held, and the run folder removed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "agent_rules.h"
#include "agent_run.h"
#include "road_run.h"
#include "shot_report.h"
#include "standin_client.h"
#include "standin_page.h"
#include "wait_for.h"

namespace {

const wchar_t kLink[] = L"zflv://play/src=http://www.ku6.com/show/a.html";
const wchar_t kAgentLine[] = L"/url http://v.ku6.com/show/a.html /location http://p/ /info T";
// The stand-in browser's page text colour.
const COLORREF kPageInk = RGB(0x33, 0x33, 0x33);
// The operator's welcome page as the stand-in browser shows it from its local pages.
const char kWelcomePage[] =
    "<html><head><meta charset=\"utf-8\"><title>欢迎</title></head><body>"
    "<p>欢迎使用澜影播放器</p><p>正在获取视频地址，请稍候……</p></body></html>";

int Fail(const char* what)
{
    std::fprintf(stderr, "shot_hold: %s\n", what);
    return 1;
}

// Makes every folder of a file's path.
void MakeFoldersOf(const std::wstring& file)
{
    for (size_t slash = file.find(L'\\', 3); slash != std::wstring::npos; slash = file.find(L'\\', slash + 1))
        CreateDirectoryW(file.substr(0, slash).c_str(), nullptr);
}

// The browser control's window with the given id, once it has taken its placeholder's place.
HWND BrowserInPlace(HWND window, int id)
{
    HWND control = nullptr;
    WaitFor("the browser control in its place", 10000, 20, [&] {
        wchar_t name[32] = L"";
        control = GetDlgItem(window, id);
        if (control && GetClassNameW(control, name, 32) && lstrcmpW(name, L"Static") != 0)
            return true;
        control = nullptr;
        return !IsWindow(window);
    });
    return control;
}

// Writes the window's rectangle to the ready file and waits until the file is gone.
int Hold(HWND window, HWND browser)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);  // painted
    RECT r;
    GetWindowRect(window, &r);
    char crop[64];
    std::snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::printf("%s\n", crop);
    std::fflush(stdout);
    if (!WriteShotReport(ShotTextArea(window, ShotClientArea(browser), kPageInk)))
        return Fail("cannot write the report");
    const std::wstring ready = EnvironmentValue(L"SUITE_SHOT_READY");
    if (ready.empty())
        return 0;
    if (!WriteWholeFile(ready, crop))
        return Fail("cannot write the ready file");
    WaitFor("the ready file's removal", 600000, 100, [&] { return !FileExists(ready); });
    return 0;
}

int WaitDialogShot()
{
    AgentFolder folder;
    if (!folder.Create(folder.HoldBlocks()))
        return Fail("no run folder");
    RoadRun road(folder.Run(), L"", SuiteBinFolder() + L"pelorama.exe");
    if (!road.Start())
        return Fail("pelorama did not start");
    if (!road.Navigate(kLink))
        return Fail("the portal took no link");
    HWND wait = road.WaitDialog();
    if (!wait || !road.CompleteWaitPage(wait) || !folder.WaitResolverCalls(1))
        return Fail("no wait dialog holding the link");
    return Hold(wait, GetDlgItem(wait, 1014));
}

int AgentShot()
{
    AgentFolder folder;
    if (!folder.Create(folder.HoldBlocks()))
        return Fail("no run folder");
    const std::wstring pages = folder.Run().Parent() + L"pages\\";
    const std::u16string welcome16 = WelcomePageUrl();
    const std::wstring welcome(welcome16.begin(), welcome16.end());
    const std::wstring page = StandInPageFile(welcome, pages);
    MakeFoldersOf(page);
    if (page.empty() || !WriteWholeFile(page, kWelcomePage))
        return Fail("cannot write the welcome page");
    SetEnvironmentVariableW(L"BROWSER_STANDIN_PAGES", pages.c_str());

    AgentRun run(folder);
    if (!run.Start(kAgentLine))
        return Fail("qelagent did not start");
    HWND agent = run.WaitWindow();
    HWND browser = agent ? BrowserInPlace(agent, 1000) : nullptr;
    if (!browser || !SendStandInCommand(browser, L"DocumentComplete " + welcome))
        return Fail("no agent window with its browser");
    if (!WaitFor("the agent's window at its size", 10000, 20, [&] {
            RECT r;
            GetWindowRect(agent, &r);
            return r.right - r.left == 436 && r.bottom - r.top == 316;
        }))
        return Fail("the agent's window did not take its size");
    if (!folder.WaitResolverCalls(1))
        return Fail("the agent did not reach the resolver");
    return Hold(agent, browser);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"wait")
        return WaitDialogShot();
    if (mode == L"agent")
        return AgentShot();
    std::fprintf(stderr, "usage: shot_hold.exe wait|agent\n");
    return 2;
}
