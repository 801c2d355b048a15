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
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "boxwatch_client.h"
#include "link.h"
#include "link_text.h"
#include "perf/site_pages.h"
#include "player_record.h"
#include "vudav_support.h"
#include "win/agent_run.h"

namespace {

// What the player received of one link.
struct Received {
    std::string site, page;
    std::vector<PlayerCopyData> copies;
    std::vector<BoxReport> boxes;
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
    PlayerRecord record = ReadPlayerRecord(playerRecord);
    got.copies.assign(record.copies.begin() + static_cast<long>(before), record.copies.end());
    got.boxes = watcher.Reports();
    std::string boxes;
    for (const BoxReport& b : got.boxes)
        boxes += " box \"" + Utf8(b.text) + "\" / \"" + Utf8(b.caption) + "\" answered " + b.answered + ";";
    Say("  qelagent ended: " + std::to_string(got.copies.size()) + " record(s) to the player;" + boxes);
    return true;
}

// The link road from the browser's context menu to the player.
bool MenuRoad(std::vector<Received>& table)
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

    // One page of each site of the agent's table, then one outside it. The agent takes a page
// address up to its first "&": where the bench's page has one, the job's own page stands in
// (bench/mainjob/routes.json) when the site can do without it.
const Page kAgentPages[] = {
    {"Pomoho", "http://www.pomoho.com/player.swf?flvid=777"},
};

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
        got.site = p.site;
        got.page = p.url;
        ok = PickLink(run.Parent(), standIns, page, p, run.PlayerRecord(), got) && ok;
        table.push_back(got);
    }
    player.Close();
    ProgramRun removed = Regsvr32(run.Path() + L"Vudav.dll", true);
    Say("  regsvr32 /u Vudav.dll: exit " + std::to_string(removed.exitCode));
    return ok && removed.exitCode == 0;
}

void PrintTable(const std::vector<Received>& table)
{
    std::printf("\nWhat the player received:\n%-9s %-48s %-9s %-4s %s\n", "site", "page", "word", "code",
                "stream address / title");
    for (const Received& r : table) {
        if (r.copies.empty()) {
            std::string boxes;
            for (const BoxReport& b : r.boxes)
                boxes += " \"" + Utf8(b.text) + "\"";
            std::printf("%-9s %-48s %-9s %-4s %s\n", r.site.c_str(), r.page.c_str(), "-", "-",
                        boxes.empty() ? "(nothing)" : ("(nothing: the agent said" + boxes + ")").c_str());
        }
        for (const PlayerCopyData& c : r.copies) {
            const char* word = c.dataWord == LINK_PLAY ? "LINK_PLAY" : c.dataWord == LINK_ADD ? "LINK_ADD" : "?";
            std::printf("%-9s %-48s %-9s %-4d %s / %s\n", r.site.c_str(), r.page.c_str(), word, c.siteCode,
                        Utf8(c.address).c_str(), Utf8(c.title).c_str());
        }
    }
    std::fflush(stdout);
}

struct Step {
    const char* name;
    bool (*run)(std::vector<Received>& table);
};
const Step kSteps[] = {
    {"menu", MenuRoad},
};

}  // namespace

int main(int argc, char** argv)
{
    std::vector<Received> table;
    bool ok = true;
    for (const Step& step : kSteps) {
        bool wanted = argc < 2;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || std::strcmp(argv[i], step.name) == 0;
        if (wanted)
            ok = step.run(table) && ok;
    }
    PrintTable(table);
    Say(ok ? "main job done" : "main job ended with a broken road");
    return ok ? 0 : 1;
}
