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
// Then what came is compared with due_table.h: each difference is a line, and the job
// ends with 1.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "boxwatch_client.h"
#include "config/hosts.h"
#include "due_table.h"
#include "link.h"
#include "link_text.h"
#include "perf/site_pages.h"
#include "net/fixture_client.h"
#include "net/site6_keys.h"
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
    int64_t firstSecond = 0, lastSecond = 0;  // calendar seconds from the pick to the agent's end
    std::vector<std::string> infoServers;     // Baidu servers asked for a page's info meanwhile
};

// What the update left.
struct UpdateCame {
    std::wstring runFolder, qelFolder;  // the updater's folder, the application-data "QEL Player"
    std::vector<PlayerRecord> installers;  // of each installer due, in the table's order
    std::vector<bool> installersLeft;      // still there after the update
    PlayerRecord player;
    bool peloramaClosed = false, peloramaAgain = false;
    std::string ini;
};

// What the steps found: the player's records per link and the updater's list lines.
struct Job {
    std::vector<std::string> roads;  // the steps run
    std::vector<Received> table;
    std::vector<std::wstring> updaterLines;
    bool updated = false;  // the updater ran to its end
    UpdateCame update;
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

// The Host of each request the fixture web recorded for a Baidu page's info: a vNN server
// of the video host.
std::vector<std::string> BaiduInfoServers()
{
    const std::string suffix = std::string(".") + cfg::BaiduVideoHost;
    std::vector<std::string> out;
    for (const RecordedRequest& r : FixtureRecord()) {
        const std::string host = r.Header("Host");
        const bool server = host.size() == 3 + suffix.size() && host[0] == 'v' &&
                            std::isdigit(static_cast<unsigned char>(host[1])) &&
                            std::isdigit(static_cast<unsigned char>(host[2])) &&
                            host.compare(3, std::string::npos, suffix) == 0;
        if (server && r.target.find("type=info") != std::string::npos)
            out.push_back(host);
    }
    return out;
}

// One pick of the menu entry over a link to a page: the page's script under cscript, then the
// agent it starts, watched for boxes, until it ends. False when the road broke.
bool PickLink(const std::wstring& folder, const std::string& standIns, const std::string& page, const Page& p,
              const std::wstring& playerRecord, Received& got)
{
    const size_t before = ReadPlayerRecord(playerRecord).copies.size();
    if (!FixtureReset()) {
        Say("  the fixture web does not reset its record");
        return false;
    }
    got.firstSecond = CalendarTime();
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
    got.lastSecond = CalendarTime();
    got.copies = RecordsSince(playerRecord, before);
    got.boxes = watcher.Reports();
    got.infoServers = BaiduInfoServers();
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
        const size_t boxesBefore = road.Boxes().size();
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
        const std::vector<BoxReport> boxes = road.Boxes();
        got.boxes.assign(boxes.begin() + static_cast<long>(std::min(boxesBefore, boxes.size())), boxes.end());
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
    bool served = FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"" +
                                   kStatisticsPath + "\", \"body\": \"ok\"}");
    for (const char* name : {"p.exe", "a.exe", "g.exe"})
        served = served && ServeInstaller(name);
    served = served && ServeUpdateDescription(Describe(false, kDueUpdate.update.parts));
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
    job.updated = true;
    UpdateCame& came = job.update;
    came.runFolder = run.Path();
    came.qelFolder = appData.QelFolder();

    // The installers ran from the application-data folder and are gone.
    int installed = 0;
    for (const wchar_t* name : kDueUpdate.update.installers) {
        const std::wstring path = appData.QelFolder() + name;
        came.installers.push_back(ReadPlayerRecord(RecorderRecordPath(path)));
        came.installersLeft.push_back(FileExists(path));
        const bool started = !came.installers.back().starts.empty();
        installed += started;
        Say("  installer " + Utf8(name) + (started ? " started" : " not started") +
            (FileExists(path) ? ", still there" : ", deleted"));
    }
    came.player = ReadPlayerRecord(run.PlayerRecord());
    const PlayerRecord& playerRecord = came.player;
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
    came.peloramaClosed = peloramaClosed;
    came.peloramaAgain = peloramaAgain && newPid != pelorama.Pid();
    Say(std::string("  pelorama ") + (peloramaClosed ? "was closed" : "was not closed") + "; its window is " +
        (peloramaAgain ? "up again (process " + std::to_string(newPid) + ")" : "not up again"));
    Say(std::string("  the player's window is ") + (playerAgain ? "up again" : "not up again"));
    Say("  update.ini now: " + [&] {
        came.ini = appData.Ini();
        std::string flat;
        for (char c : came.ini)
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

// A text as a difference line shows it.
std::string Quoted(const std::wstring& text)
{
    return "\"" + Utf8(text) + "\"";
}

std::string WordName(uint64_t word)
{
    if (word == LINK_PLAY)
        return "LINK_PLAY";
    if (word == LINK_ADD)
        return "LINK_ADD";
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(word));
    return hex;
}

// The addresses a due address stands for: a mark replaced by the Site6 key query of each
// second of the pick, or by each Baidu server asked for the page's info.
std::vector<std::wstring> DueAddresses(const std::wstring& due, const Received& r)
{
    std::vector<std::wstring> out;
    size_t at = due.find(kSite6KeysMark);
    if (at != std::wstring::npos) {
        for (int64_t t = r.firstSecond; t <= r.lastSecond; ++t)
            out.push_back(std::wstring(due).replace(at, kSite6KeysMark.size(), Site6KeyQuery(t)));
        return out;
    }
    at = due.find(kBaiduServerMark);
    if (at != std::wstring::npos) {
        for (const std::string& server : r.infoServers)
            out.push_back(std::wstring(due).replace(at, kBaiduServerMark.size(), Wide(server)));
        return out;
    }
    return {due};
}

std::string Alternatives(const std::vector<std::wstring>& texts, const std::wstring& written)
{
    if (texts.empty())
        return Quoted(written) + " (nothing recorded to stand for its mark)";
    std::string out;
    for (const std::wstring& t : texts)
        out += (out.empty() ? "" : " or ") + Quoted(t);
    return out;
}

std::string RecordText(uint64_t word, int32_t site, const std::wstring& address, const std::wstring& title)
{
    return WordName(word) + " " + std::to_string(site) + " " + Quoted(address) + " / " + Quoted(title);
}

std::string BoxTexts(const std::vector<std::wstring>& texts)
{
    std::string out;
    for (const std::wstring& t : texts)
        out += (out.empty() ? "" : ", ") + Quoted(t);
    return out.empty() ? "no box" : out;
}

// One line per field of a record, or record, or box list that is not what was due.
void ComparePage(const DuePage& due, const Received& r, std::vector<std::string>& out)
{
    const std::string at = r.road + " " + r.site + " ";
    for (size_t i = 0; i < std::max(r.copies.size(), due.records.size()); ++i) {
        const std::string rec = at + "record " + std::to_string(i + 1) + " ";
        if (i >= r.copies.size()) {
            const ExpectedRecord& e = due.records[i];
            out.push_back(rec + "came nothing, due " + RecordText(e.word, e.site, e.address, e.title));
            continue;
        }
        const PlayerCopyData& c = r.copies[i];
        if (i >= due.records.size()) {
            out.push_back(rec + "came " + RecordText(c.dataWord, c.siteCode, c.address, c.title) + ", due nothing");
            continue;
        }
        const ExpectedRecord& e = due.records[i];
        if (c.dataWord != e.word)
            out.push_back(rec + "data word came " + WordName(c.dataWord) + ", due " + WordName(e.word));
        if (c.byteCount != kDueRecordBytes || c.wParam != kDueRecordWParam)
            out.push_back(rec + "came " + std::to_string(c.byteCount) + " bytes with wParam " +
                          std::to_string(c.wParam) + ", due " + std::to_string(kDueRecordBytes) + " with " +
                          std::to_string(kDueRecordWParam));
        if (c.siteCode != e.site)
            out.push_back(rec + "site code came " + std::to_string(c.siteCode) + ", due " + std::to_string(e.site));
        const std::vector<std::wstring> addresses = DueAddresses(e.address, r);
        if (std::find(addresses.begin(), addresses.end(), c.address) == addresses.end())
            out.push_back(rec + "address came " + Quoted(c.address) + ", due " + Alternatives(addresses, e.address));
        if (c.title != e.title)
            out.push_back(rec + "title came " + Quoted(c.title) + ", due " + Quoted(e.title));
    }
    std::vector<std::wstring> boxes;
    for (const BoxReport& b : r.boxes)
        boxes.push_back(b.text);
    if (boxes != due.boxes)
        out.push_back(at + "boxes came " + BoxTexts(boxes) + ", due " + BoxTexts(due.boxes));
}

// What the update left against what was due.
void CompareUpdate(const Job& job, std::vector<std::string>& out)
{
    if (!job.updated) {
        out.push_back("updater: came no end of updater.exe, due the whole update");
        return;
    }
    const UpdateCame& came = job.update;
    const ThreeComponentUpdate& due = kDueUpdate.update;
    for (size_t i = 0; i < std::max(job.updaterLines.size(), due.lines.size()); ++i) {
        const std::string c = i < job.updaterLines.size() ? Quoted(job.updaterLines[i]) : "nothing";
        const std::string d = i < due.lines.size() ? Quoted(due.lines[i]) : "nothing";
        if (c != d)
            out.push_back("updater list line " + std::to_string(i + 1) + ": came " + c + ", due " + d);
    }
    for (size_t i = 0; i < due.installers.size(); ++i) {
        const std::string at = "updater installer " + Utf8(due.installers[i]) + ": ";
        const std::vector<PlayerStart>& starts = came.installers[i].starts;
        const std::wstring from = came.qelFolder + due.installers[i];
        if (starts.size() != 1)
            out.push_back(at + "came " + std::to_string(starts.size()) + " start(s), due 1");
        else if (starts[0].module != from)
            out.push_back(at + "came a start of " + Quoted(starts[0].module) + ", due " + Quoted(from));
        if (came.installersLeft[i])
            out.push_back(at + "came still there after its start, due deleted");
    }
    const PlayerRecord& player = came.player;
    if (player.closes != kDueUpdate.playerCloses)
        out.push_back("updater player: came " + std::to_string(player.closes) + " close(s), due " +
                      std::to_string(kDueUpdate.playerCloses));
    if (player.starts.size() != kDueUpdate.playerStarts) {
        out.push_back("updater player: came " + std::to_string(player.starts.size()) + " start(s), due " +
                      std::to_string(kDueUpdate.playerStarts));
    } else {
        const PlayerStart& again = player.starts.back();
        const std::wstring from = came.runFolder + L"qelplayer.exe";
        if (again.module != from || again.showCode != kDueUpdate.playerShowCode)
            out.push_back("updater player: came a start of " + Quoted(again.module) + " with show code " +
                          std::to_string(again.showCode) + ", due " + Quoted(from) + " with " +
                          std::to_string(kDueUpdate.playerShowCode));
    }
    const bool peloramaAgain = came.peloramaClosed && came.peloramaAgain;
    if (peloramaAgain != kDueUpdate.peloramaAgain)
        out.push_back(std::string("updater pelorama: came ") +
                      (came.peloramaClosed ? "closed" : "not closed") + " and " +
                      (came.peloramaAgain ? "up again in another process" : "not up again") +
                      ", due closed and up again in another process");
    std::string ini, dueIni;
    for (const std::string& line : IniLines(came.ini))
        ini += (ini.empty() ? "" : " ") + line;
    for (const std::string& line : due.iniAfter)
        dueIni += (dueIni.empty() ? "" : " ") + line;
    if (ini != dueIni)
        out.push_back("updater update.ini: came \"" + ini + "\", due \"" + dueIni + "\"");
}

// Every difference between what the roads run received and the table of what was due.
std::vector<std::string> Differences(const Job& job)
{
    std::vector<std::string> out;
    auto ran = [&](const std::string& road) {
        return std::find(job.roads.begin(), job.roads.end(), road) != job.roads.end();
    };
    for (const DuePage& due : kDuePages) {
        if (!ran(due.road))
            continue;
        const Received* got = nullptr;
        for (const Received& r : job.table) {
            if (!got && r.road == due.road && r.page == due.page)
                got = &r;
        }
        if (got)
            ComparePage(due, *got, out);
        else
            out.push_back(std::string(due.road) + " " + due.site + ": came no pick of " + due.page + ", due " +
                          std::to_string(due.records.size()) + " record(s)");
    }
    for (const Received& r : job.table) {
        bool due = false;
        for (const DuePage& d : kDuePages)
            due = due || (r.road == d.road && r.page == d.page);
        if (!due)
            out.push_back(r.road + " " + r.site + ": came a pick of " + r.page + ", due none");
    }
    if (ran("updater"))
        CompareUpdate(job, out);
    return out;
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
        if (wanted) {
            job.roads.push_back(step.name);
            ok = step.run(job) && ok;
        }
    }
    PrintTable(job);
    const std::vector<std::string> differences = Differences(job);
    if (!differences.empty()) {
        std::printf("\nDifferences from the table of what was due (bench/mainjob/due_table.h):\n");
        for (const std::string& line : differences)
            std::printf("  %s\n", line.c_str());
        std::fflush(stdout);
    }
    if (!ok)
        Say("main job ended with a broken road");
    else if (!differences.empty())
        Say("main job ended with " + std::to_string(differences.size()) + " difference(s) from what was due");
    else
        Say("main job done");
    return ok && differences.empty() ? 0 : 1;
}
