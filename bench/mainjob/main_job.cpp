// The system's main job on the private fixture web, made of the bench's pieces: a line per
// step as it goes, then a table of what the stand-in player received. Each step is one entry
// of kSteps; scripts/main-job.sh runs them in the network namespace:
//   main_job.exe [STEP...]      (no step: every step in order)
//
//   menu   for one page of each site of the agent's site table: the context-menu page's
//          script (resource 203 of the built control) with stand-in menu arguments over a link
//          to the page, the control registered from a run folder, AddLink, the real qelagent,
//          the real vennix.dll on the fixture web, the stand-in player; then the agent refusing
//          a page outside its table with a box that boxwatch answers.
//   pelorama   pelorama.exe with the stand-in browser, vennix.dll and the stand-in player beside
//          it: a zflv://play/src= link of the portal for a 5show and a Yahoo page, each handled
//          behind the wait dialog, whose page the stand-in browser completes.
//   updater    updater.exe beside the stand-in player and pelorama.exe, both running: a newer
//          build of three components in the fixture description, its boxes answered yes, yes
//          and ok, the installers (program-start recorders) downloaded and started, the
//          player and pelorama closed and started again.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "boxwatch_client.h"
#include "link.h"
#include "link_text.h"
#include "perf/site_pages.h"
#include "net/fixture_client.h"
#include "net/updater_support.h"
#include "player_record.h"
#include "vudav_support.h"
#include "win/agent_run.h"
#include "win/road_run.h"

namespace {

// What the player received of one link.
struct Received {
    std::string road, site, page;
    std::vector<PlayerCopyData> copies;
    std::vector<BoxReport> boxes;
};

// What the steps found: the player's records per link and the updater's list lines.
struct Job {
    std::vector<Received> table;
    std::vector<std::wstring> updaterLines;
};

DWORD g_start = GetTickCount();

// One line of progress, UTF-8, with the seconds since the job began.
void Say(const std::string& line)
{
    std::printf("[%6.1f s] %s\n", (GetTickCount() - g_start) / 1000.0, line.c_str());
    std::fflush(stdout);
}

// The agent's site code of a page, 255 for a host outside its table.
int32_t AgentSiteCode(const char* url)
{
    const std::string u = url;
    return ClassifySite(GetUrlHostW(std::u16string(u.begin(), u.end())), kAgentLink.noMatchCode);
}

// The page script as the browser runs it for the anchor menu over a link to url, with the
// browser's menu arguments stood in; an uncaught error ends it with 3.
std::string MenuScript(const std::string& standIns, const std::string& page, const std::string& url,
                       const std::string& text)
{
    return standIns +
           "\nvar link = new Element('A', {href: '" + url + "', innerText: '" + text + "'}, []);\n"
           "external.menuArguments = new MenuWindow({type: 'MenuExtAnchor', clientX: 10, clientY: 20}, 10, 20,"
           " link, {}, '" + url.substr(0, url.find('/', 7) + 1) + "');\n"
           "try {\n" + page + "\n} catch (e) {\n"
           "    WScript.Echo('script error ' + e.number + ' ' + e.message);\n"
           "    WScript.Quit(3);\n"
           "}\n";
}

// The records of the player's record file past the first before.
std::vector<PlayerCopyData> RecordsSince(const std::wstring& record, size_t before)
{
    const PlayerRecord all = ReadPlayerRecord(record);
    if (all.copies.size() <= before)
        return {};
    return {all.copies.begin() + static_cast<long>(before), all.copies.end()};
}

// One pick of the menu entry over a link to a page: the page's script under cscript, then the
// agent it starts, watched for boxes, until it ends. False when the road broke.
bool PickLink(const std::wstring& folder, const std::string& standIns, const std::string& page, const Page& p,
              const std::wstring& playerRecord, Received& got)
{
    const size_t before = ReadPlayerRecord(playerRecord).copies.size();
    const std::wstring script = folder + L"menu.js";
    if (!WriteWholeFile(script, MenuScript(standIns, page, p.url, std::string(p.site) + " clip"))) {
        Say("  cannot write the page script");
        return false;
    }
    ProgramRun run = Cscript(script, folder);
    std::string echoed;  // the page's echoed calls on one line
    for (char c : run.output) {
        if (c != '\r' && c != '\n')
            echoed += c;
        else if (!echoed.empty() && echoed.back() != ' ')
            echoed += "; ";
    }
    Say("  page script: " + (echoed.empty() ? std::string("(nothing echoed)") : echoed) +
        (run.finished && run.exitCode == 0 ? "" : " exit " + std::to_string(run.exitCode)));
    if (!run.finished || run.exitCode != 0)
        return false;

    // The control started the agent; its boxes are answered as a user would.
    HWND agent = nullptr;
    for (DWORD waited = 0; !agent && waited < 10000; waited += 20) {
        agent = AgentWindowOf(0);
        if (!agent)
            Sleep(20);
    }
    BoxWatcher watcher;
    if (agent) {
        DWORD pid = 0;
        GetWindowThreadProcessId(agent, &pid);
        watcher.Start(pid, {"ok"}, 1, 30000);
        Say("  qelagent is running (process " + std::to_string(pid) + ")");
    }
    if (!WaitNoAgentWindow(30000)) {
        Say("  qelagent did not end");
        return false;
    }
    got.copies = RecordsSince(playerRecord, before);
    got.boxes = watcher.Reports();
    std::string boxes;
    for (const BoxReport& b : got.boxes)
        boxes += " box \"" + Utf8(b.text) + "\" / \"" + Utf8(b.caption) + "\" answered " + b.answered + ";";
    Say("  qelagent ended: " + std::to_string(got.copies.size()) + " record(s) to the player;" + boxes);
    return true;
}

// The agent takes a page address up to its first "&": where the bench's page has one, the job's
// own page stands in (bench/mainjob/routes.json) when the site can do without it.
const Page kAgentPages[] = {
    {"Pomoho", "http://www.pomoho.com/player.swf?flvid=777"},
};

// The link road from the browser's context menu to the player.
bool MenuRoad(Job& job)
{
    Say("menu road: the control registered from a run folder, qelagent and vennix.dll beside it");
    VudavRegistryGuard guard;
    AgentFolder folder;
    if (!folder.CreateWithRealResolver() || !folder.Run().AddProgram(VudavDllPath(), L"Vudav.dll")) {
        Say("  cannot make the run folder");
        return false;
    }
    RunFolder& run = folder.Run();
    ProgramRun registered = Regsvr32(run.Path() + L"Vudav.dll");
    Say("  regsvr32 Vudav.dll: exit " + std::to_string(registered.exitCode));
    if (registered.exitCode != 0)
        return false;
    StandinPlayer player;
    if (!player.Start(run.Path() + L"qelplayer.exe")) {
        Say("  the stand-in player did not start");
        return false;
    }
    Say("  the stand-in player is running");
    const std::string page = MenuPageScript();
    const std::string standIns = ReadWholeFile(MenuStandInPath(L"menu_window.js"));
    if (page.empty() || standIns.empty()) {
        Say("  cannot read the context-menu page or the menu stand-ins");
        return false;
    }

    // One page of each site of the agent's table, then one outside it.
    std::vector<const Page*> picks;
    const Page* outside = nullptr;
    for (const Page& p : kPages) {
        const bool firstOfSite = &p == kPages || std::strcmp(p.site, (&p - 1)->site) != 0;
        if (!firstOfSite)
            continue;
        const Page* pick = &p;
        for (const Page& own : kAgentPages) {
            if (std::strcmp(own.site, p.site) == 0)
                pick = &own;
        }
        if (AgentSiteCode(p.url) != kAgentLink.noMatchCode)
            picks.push_back(pick);
        else if (std::strcmp(p.site, "Yahoo") == 0)
            outside = &p;
    }
    if (outside)
        picks.push_back(outside);
    bool ok = true;
    for (size_t i = 0; i < picks.size(); ++i) {
        const Page& p = *picks[i];
        Say("[" + std::to_string(i + 1) + "/" + std::to_string(picks.size()) + "] " + p.site + ": the menu over a link to " +
            p.url + (picks[i] == outside ? " (outside the agent's site table)" : ""));
        if (std::strchr(p.url, '&'))
            Say("  the agent takes the page address only up to its first \"&\"");
        Received got;
        got.road = "menu";
        got.site = p.site;
        got.page = p.url;
        ok = PickLink(run.Parent(), standIns, page, p, run.PlayerRecord(), got) && ok;
        job.table.push_back(got);
    }
    player.Close();
    ProgramRun removed = Regsvr32(run.Path() + L"Vudav.dll", true);
    Say("  regsvr32 /u Vudav.dll: exit " + std::to_string(removed.exitCode));
    return ok && removed.exitCode == 0;
}

// Posts WM_CLOSE to every top-level window of a class and waits until none is left.
bool CloseAll(const wchar_t* windowClass)
{
    for (DWORD waited = 0; waited < 15000; waited += 50) {
        HWND w = FindWindowW(windowClass, nullptr);
        if (!w)
            return true;
        PostMessageW(w, WM_CLOSE, 0, 0);
        Sleep(50);
    }
    return false;
}

const wchar_t kPeloramaClass[] = L"QELPLAYERPELORAMA";
const wchar_t kPlayerClass[] = L"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2";

// The link road of pelorama's portal to the player, for the pages of the two sites outside
// the agent's table.
bool PeloramaRoad(Job& job)
{
    Say("pelorama road: pelorama.exe with the stand-in browser, vennix.dll and the stand-in player beside it");
    AgentFolder folder;
    if (!folder.CreateWithRealResolver()) {
        Say("  cannot make the run folder");
        return false;
    }
    StandinPlayer player;
    if (!player.Start(folder.Run().Path() + L"qelplayer.exe")) {
        Say("  the stand-in player did not start");
        return false;
    }
    RoadRun road(folder.Run(), L"", SuiteBinFolder() + L"pelorama.exe");
    if (!road.Start()) {
        Say("  pelorama's window did not come up");
        return false;
    }
    Say("  pelorama is running (process " + std::to_string(road.Pid()) + "), its portal in place");
    bool ok = true;
    const char* const sites[] = {"5show", "Yahoo"};
    for (size_t i = 0; i < 2; ++i) {
        const Page* page = nullptr;
        for (const Page& p : kPages) {
            if (!page && std::strcmp(p.site, sites[i]) == 0)
                page = &p;
        }
        if (!page)
            return false;
        const std::string link = std::string("zflv://play/src=") + page->url;
        Say("[" + std::to_string(i + 1) + "/2] " + page->site + ": the portal navigates to " + link);
        Received got;
        got.road = "pelorama";
        got.site = page->site;
        got.page = page->url;
        const size_t before = ReadPlayerRecord(folder.Run().PlayerRecord()).copies.size();
        const std::wstring wide = Wide(link);
        HWND wait = road.Navigate(wide) ? road.WaitDialog() : nullptr;
        if (!wait) {
            Say("  no wait dialog came up");
            ok = false;
            job.table.push_back(got);
            continue;
        }
        Say("  the wait dialog is up; the stand-in browser completes its page");
        road.CompleteWaitPage(wait);
        const std::string cancel = road.WaitCancel(wide, 30000);
        const bool gone = road.WaitDialogGone(wait);
        got.copies = RecordsSince(folder.Run().PlayerRecord(), before);
        Say("  the portal's navigation " + std::string(cancel == "-1" ? "was cancelled" : "ended with " + cancel) +
            (gone ? ", the wait dialog is gone: " : ", the wait dialog is still up: ") +
            std::to_string(got.copies.size()) + " record(s) to the player");
        ok = ok && cancel == "-1" && gone && !got.copies.empty();
        job.table.push_back(got);
    }
    for (const BoxReport& b : road.Boxes())
        Say("  box \"" + Utf8(b.text) + "\" answered " + b.answered);
    PostMessageW(road.MainWindow(), WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    const bool ended = road.WaitExit(15000, &exitCode);
    Say(ended ? "  pelorama closed" : "  pelorama did not end");
    player.Close();
    return ok && ended;
}

// The update: a newer build found, downloaded, installed, and both programs started again.
bool UpdaterRoad(Job& job)
{
    Say("updater: updater.exe beside the stand-in player and pelorama.exe, both running");
    AppDataFolder appData;
    RunFolder run;
    if (!appData.Create() || !run.Create() || !run.AddProgram(SuiteBinFolder() + L"updater.exe", L"updater.exe") ||
        !run.AddStandinPlayer()) {
        Say("  cannot make the run folder");
        return false;
    }
    const std::string player = "\xe6\x92\xad\xe6\x94\xbe\xe5\x99\xa8\xe6\x9b\xb4\xe6\x96\xb0";  // 播放器更新
    const std::string genal = "genal \xe7\xbb\x84\xe4\xbb\xb6";                                 // genal 组件
    bool served = FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"" +
                                   kStatisticsPath + "\", \"body\": \"ok\"}");
    for (const char* name : {"p.exe", "a.exe", "g.exe"})
        served = served && ServeInstaller(name);
    served = served && ServeUpdateDescription(Describe(false, {{"player", "81126", SetupAddress("p.exe"), player},
                                                               {"parser", "81127", SetupAddress("a.exe"), "parser"},
                                                               {"genal", "81128", SetupAddress("g.exe"), genal}}));
    if (!served) {
        Say("  the fixture web does not take the update's routes");
        return false;
    }
    Say("  the fixture description offers player 81126, parser 81127, genal 81128; update.ini has none");

    StandinPlayer playerWindow;
    if (!playerWindow.Start(run.Path() + L"qelplayer.exe")) {
        Say("  the stand-in player did not start");
        return false;
    }
    RoadRun pelorama(run, L"", SuiteBinFolder() + L"pelorama.exe");
    if (!pelorama.Start()) {
        Say("  pelorama's window did not come up");
        return false;
    }
    Say("  the stand-in player (process " + std::to_string(playerWindow.Pid()) + ") and pelorama (process " +
        std::to_string(pelorama.Pid()) + ") are running");

    UpdaterRun updater;
    if (!updater.Start(run.Path() + L"updater.exe")) {
        Say("  updater.exe did not start");
        return false;
    }
    Say("  updater.exe is running (process " + std::to_string(updater.Pid()) + ")");
    BoxWatcher boxes;
    boxes.Start(updater.Pid(), {"yes", "yes", "ok"}, 3, 120000);
    DialogSampler sampler(updater.Pid());
    const bool ended = updater.WaitExit(120000);
    job.updaterLines = sampler.Stop().lines;
    boxes.Wait(10000);
    for (const BoxReport& b : boxes.Reports())
        Say("  box \"" + Utf8(b.text) + "\" / \"" + Utf8(b.caption) + "\" answered " + b.answered);
    if (!ended) {
        Say("  updater.exe did not end");
        return false;
    }
    Say("  updater.exe ended with " + std::to_string(updater.ExitCode()));

    // The installers ran from the application-data folder and are gone.
    int installed = 0;
    for (const wchar_t* name : {L"p.exe", L"a.exe", L"g.exe"}) {
        const std::wstring path = appData.QelFolder() + name;
        const bool started = !ReadPlayerRecord(RecorderRecordPath(path)).starts.empty();
        installed += started;
        Say("  installer " + Utf8(name) + (started ? " started" : " not started") +
            (FileExists(path) ? ", still there" : ", deleted"));
    }
    const PlayerRecord playerRecord = ReadPlayerRecord(run.PlayerRecord());
    Say("  the stand-in player was closed " + std::to_string(playerRecord.closes) + " time(s) and started " +
        std::to_string(playerRecord.starts.size()) + " time(s) in all");
    HWND playerAgain = nullptr, peloramaAgain = nullptr;
    for (DWORD waited = 0; waited < 15000 && (!playerAgain || !peloramaAgain); waited += 50) {
        playerAgain = FindWindowW(kPlayerClass, nullptr);
        peloramaAgain = FindWindowW(kPeloramaClass, nullptr);
        if (!playerAgain || !peloramaAgain)
            Sleep(50);
    }
    DWORD oldPeloramaExit = 0;
    const bool peloramaClosed = pelorama.WaitExit(0, &oldPeloramaExit);
    DWORD newPid = 0;
    if (peloramaAgain)
        GetWindowThreadProcessId(peloramaAgain, &newPid);
    Say(std::string("  pelorama ") + (peloramaClosed ? "was closed" : "was not closed") + "; its window is " +
        (peloramaAgain ? "up again (process " + std::to_string(newPid) + ")" : "not up again"));
    Say(std::string("  the player's window is ") + (playerAgain ? "up again" : "not up again"));
    Say("  update.ini now: " + [&] {
        std::string ini = appData.Ini(), flat;
        for (char c : ini)
            flat += c == '\r' ? std::string() : c == '\n' ? std::string(" ") : std::string(1, c);
        return flat;
    }());

    EndRecordedPlayers(playerRecord);  // both of its starts
    CloseAll(kPeloramaClass);
    return updater.ExitCode() == 0 && installed == 3 && peloramaClosed && playerAgain && peloramaAgain &&
           playerRecord.closes == 1;
}

void PrintTable(const Job& job)
{
    std::printf("\nWhat the player received:\n%-8s %-9s %-48s %-9s %-4s %s\n", "road", "site", "page", "word", "code",
                "stream address / title");
    for (const Received& r : job.table) {
        if (r.copies.empty()) {
            std::string boxes;
            for (const BoxReport& b : r.boxes)
                boxes += " \"" + Utf8(b.text) + "\"";
            std::printf("%-8s %-9s %-48s %-9s %-4s %s\n", r.road.c_str(), r.site.c_str(), r.page.c_str(), "-", "-",
                        boxes.empty() ? "(nothing)" : ("(nothing: the agent said" + boxes + ")").c_str());
        }
        for (const PlayerCopyData& c : r.copies) {
            const char* word = c.dataWord == LINK_PLAY ? "LINK_PLAY" : c.dataWord == LINK_ADD ? "LINK_ADD" : "?";
            std::printf("%-8s %-9s %-48s %-9s %-4d %s / %s\n", r.road.c_str(), r.site.c_str(), r.page.c_str(), word,
                        c.siteCode, Utf8(c.address).c_str(), Utf8(c.title).c_str());
        }
    }
    if (!job.updaterLines.empty()) {
        std::printf("\nThe updater's list:\n");
        for (const std::wstring& line : job.updaterLines)
            std::printf("  %s\n", Utf8(line).c_str());
    }
    std::fflush(stdout);
}

struct Step {
    const char* name;
    bool (*run)(Job& job);
};
const Step kSteps[] = {
    {"menu", MenuRoad},
    {"pelorama", PeloramaRoad},
    {"updater", UpdaterRoad},
};

}  // namespace

int main(int argc, char** argv)
{
    Job job;
    bool ok = true;
    for (const Step& step : kSteps) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], step.name) == 0;
        if (wanted)
            ok = step.run(job) && ok;
    }
    PrintTable(job);
    Say(ok ? "main job done" : "main job ended with a broken road");
    return ok ? 0 : 1;
}
