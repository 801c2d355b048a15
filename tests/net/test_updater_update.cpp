// The whole update under Wine: the built updater.exe in a run folder beside the stand-in player
// and a pelorama recorder, installers served by the fixture web (program-start recorders), every
// box answered by the box helper and the progress dialog read from this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bench_files.h"
#include "boxwatch_client.h"
#include "fixture_client.h"
#include "player_record.h"
#include "run_folder.h"
#include "updater_support.h"

namespace {

const wchar_t kFirstPrompt[] = L"发现新版本,是否立即下载?";
const wchar_t kSecondPrompt[] = L"立即更新?";
const wchar_t kDone[] = L"更新完成";
const wchar_t kDownloading[] = L"正在下载更新程序";
const wchar_t kDownloaded[] = L"更新程序下载完成";
const wchar_t kFailed[] = L"网络连接超时,下载更新程序失败,请稍候再试";
const wchar_t kPeloramaClass[] = L"QELPLAYERPELORAMA";
const wchar_t kInstallerClass[] = L"QelInstallerStandIn";

// Serves a reply of the given route fields at /setup/<name>.
bool ServeSetupReply(const char* name, const std::string& fields)
{
    return FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"/setup/" + name + "\", " +
                            fields + "}");
}

size_t Requests(const char* path)
{
    size_t n = 0;
    for (const RecordedRequest& r : FixtureRecordFor(kUpdateHost))
        n += r.target == path;
    return n;
}

// A window of a class in this prefix, owned by a recorder started by the test.
class RecorderWindow {
public:
    ~RecorderWindow()
    {
        if (process_) {
            if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_, 9);
            CloseHandle(process_);
        }
    }
    bool Start(const std::wstring& path, const wchar_t* windowClass)
    {
        std::wstring line = L"\"" + path + L"\"";
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        WaitForInputIdle(process_, 15000);
        return FindWindowW(windowClass, nullptr) != nullptr;
    }

private:
    HANDLE process_ = nullptr;
};

struct Outcome {
    std::vector<BoxReport> boxes;
    DialogView dialog;
    DWORD exitCode = 0;
};

class UpdateRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FixtureReset());
        ASSERT_TRUE(appData_.Create());
        ASSERT_TRUE(run_.Create());
        ASSERT_TRUE(run_.AddProgram(SuiteBinFolder() + L"updater.exe", L"updater.exe"));
        ASSERT_TRUE(run_.AddStandinPlayer());
        ASSERT_TRUE(run_.AddRecorder(L"pelorama.exe", kPeloramaClass));
        ASSERT_TRUE(FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"" +
                                     kStatisticsPath + "\", \"body\": \"ok\"}"));
    }
    void TearDown() override
    {
        EndRecordedPlayers(ReadPlayerRecord(run_.PlayerRecord()));
        for (HWND w; (w = FindWindowW(kPeloramaClass, nullptr)) != nullptr;) {
            PostMessageW(w, WM_CLOSE, 0, 0);
            Sleep(50);
        }
        for (HWND w; (w = FindWindowW(kInstallerClass, nullptr)) != nullptr;) {
            PostMessageW(w, WM_CLOSE, 0, 0);
            Sleep(50);
        }
    }

    // Runs updater.exe to its end with the boxes answered in turn.
    Outcome Run(const std::vector<std::string>& answers, int boxCount, int timeoutMs = 60000)
    {
        Outcome o;
        UpdaterRun updater;
        EXPECT_TRUE(updater.Start(run_.Path() + L"updater.exe"));
        BoxWatcher boxes;
        EXPECT_TRUE(boxes.Start(updater.Pid(), answers, boxCount, timeoutMs));
        DialogSampler sampler(updater.Pid());
        EXPECT_TRUE(updater.WaitExit(timeoutMs));
        o.exitCode = updater.ExitCode();
        o.dialog = sampler.Stop();
        boxes.Wait(10000);
        o.boxes = boxes.Reports();
        return o;
    }
    std::wstring Installer(const wchar_t* name) const { return appData_.QelFolder() + name; }
    PlayerRecord InstallerRecord(const wchar_t* name) const
    {
        return ReadPlayerRecord(RecorderRecordPath(Installer(name)));
    }

    AppDataFolder appData_;
    RunFolder run_;
};

}  // namespace

TEST_F(UpdateRun, TableOfRuns)
{
    const ThreeComponentUpdate& three = UpdateOfThreeComponents();
    const std::string& player = three.parts[0].description;  // 播放器更新
    const std::string& genal = three.parts[2].description;   // genal 组件
    const struct Case {
        const char* name;
        bool single;
        std::vector<UpdatePart> parts;
        std::string ini;
        bool playerWindow, peloramaWindow;
        const char* secondAnswer;  // at the second prompt
        // Expected:
        std::vector<std::wstring> lines;
        std::vector<const wchar_t*> installersRun;
        bool updated;  // closed, restarted, recorded, statistics sent
        std::vector<std::string> iniAfter;
        std::vector<const wchar_t*> filesLeft = {};  // downloaded files that stay
        const wchar_t* lastCountOf = nullptr;        // the text shows this file's size of 9765K
    } cases[] = {
        {"main road: both windows, three components newer",
         false,
         three.parts,
         "",
         true,
         true,
         "yes",
         three.lines,
         three.installers,
         true,
         three.iniAfter},
        {"only the genal newer; all three keys rewritten",
         false,
         {{"player", "10", SetupAddress("p.exe"), player},
          {"parser", "20", SetupAddress("a.exe"), ""},
          {"genal", "31", SetupAddress("g.exe"), genal}},
         "[Settings]\r\nplayer_build=10\r\nparse_build=20\r\ngenal_build=30\r\nbuild=5\r\n",
         false,
         false,
         "yes",
         {Wide(genal), kDownloaded},
         {L"g.exe"},
         true,
         {"player_build=10", "parse_build=20", "genal_build=31", "build=5"}},
        {"a component without a description after one with; one window",
         false,
         {{"player", "81126", SetupAddress("p.exe"), player}, {"parser", "81127", SetupAddress("a.exe"), ""}},
         "",
         true,
         false,
         "yes",
         {Wide(player), kDownloaded, kDownloading, kDownloaded},
         {L"p.exe", L"a.exe"},
         true,
         {"player_build=81126", "genal_build=", "parse_build=81127"}},
        {"single format's keys; pelorama alone",
         true,
         {{"player", "81126", SetupAddress("p.exe"), ""}},
         "[Settings]\r\nparse_build=7\r\n",
         false,
         true,
         "yes",
         {kDownloading, kDownloaded},
         {L"p.exe"},
         true,
         {"parse_build=7", "player_build=81126", "build=81126"}},
        {"second prompt answered no: the installers stay",
         false,
         {{"player", "81126", SetupAddress("p.exe"), ""}},
         "",
         true,
         true,
         "no",
         {kDownloading, kDownloaded},
         {},
         false,
         {}},
        {"an address without \"/\" is refused",
         false,
         {{"player", "81126", "http:p.exe", ""}},
         "",
         true,
         true,
         "",
         {kDownloading, kFailed},
         {},
         false,
         {}},
        {"an empty name is refused",
         false,
         {{"player", "81126", SetupAddress(""), ""}},
         "",
         false,
         false,
         "",
         {kDownloading, kFailed},
         {},
         false,
         {}},
        {"a traversal name is refused after the first download",
         false,
         {{"player", "81126", SetupAddress("p.exe"), ""}, {"parser", "81127", SetupAddress("..\\..\\x.exe"), ""}},
         "",
         false,
         false,
         "",
         {kDownloading, kDownloaded, kDownloading, kFailed},
         {},
         false,
         {}},
        // A download that fails: its line, the failure line, and the end; nothing run, deleted
        // or recorded, no second prompt, no statistics request.
        {"the installer's reply is a 404",
         false,
         {{"player", "81126", SetupAddress("missing.exe"), ""}},
         "[Settings]\r\nplayer_build=1\r\n",
         true,
         true,
         "",
         {kDownloading, kFailed},
         {},
         false,
         {},
         {L"missing.exe"}},
        {"the second installer's body is cut short of its length",
         false,
         {{"player", "81126", SetupAddress("p.exe"), player}, {"genal", "81128", SetupAddress("cut.exe"), genal}},
         "[Settings]\r\nplayer_build=1\r\n",
         false,
         false,
         "",
         {Wide(player), kDownloaded, Wide(genal), kFailed},
         {},
         false,
         {},
         {L"p.exe", L"cut.exe"}},
        {"the connection is reset: the count of what came shows",
         true,
         {{"player", "81126", SetupAddress("reset.exe"), ""}},
         "[Settings]\r\nbuild=1\r\n",
         false,
         false,
         "",
         {kDownloading, kFailed},
         {},
         false,
         {},
         {L"reset.exe"},
         L"reset.exe"},
        // An installer that does not start installs nothing: its build stays unrecorded.
        {"the player's installer is a page, the genal's a program",
         false,
         {{"player", "11", SetupAddress("page.exe"), player},
          {"parser", "19", SetupAddress("a.exe"), ""},
          {"genal", "31", SetupAddress("g.exe"), genal}},
         "[Settings]\r\nplayer_build=10\r\nparse_build=20\r\ngenal_build=30\r\n",
         false,
         false,
         "yes",
         {Wide(player), kDownloaded, Wide(genal), kDownloaded},
         {L"g.exe"},
         true,
         {"player_build=10", "parse_build=19", "genal_build=31"}},
        {"single format, the installer is a page: update.ini unchanged",
         true,
         {{"player", "81126", SetupAddress("page.exe"), ""}},
         "[Settings]\r\nplayer_build=3\r\nbuild=5\r\n",
         true,
         false,
         "yes",
         {kDownloading, kDownloaded},
         {},
         true,
         {"player_build=3", "build=5"}},
        {"a name that is the profile is refused: update.ini unchanged",
         false,
         {{"player", "81126", SetupAddress("update.ini"), ""}},
         "[Settings]\r\nplayer_build=1\r\nparse_build=2\r\n",
         false,
         false,
         "",
         {kDownloading, kFailed},
         {},
         false,
         {}},
    };
    const wchar_t* const downloadNames[] = {L"p.exe", L"a.exe", L"g.exe", L"page.exe", L"missing.exe", L"cut.exe",
                                            L"reset.exe"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        ASSERT_TRUE(FixtureReset());
        ASSERT_TRUE(FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost + "\", \"path\": \"" +
                                     kStatisticsPath + "\", \"body\": \"ok\"}"));
        for (const char* name : {"p.exe", "a.exe", "g.exe", "..%5C..%5Cx.exe"})
            ASSERT_TRUE(ServeInstaller(name));
        ASSERT_TRUE(ServeSetupReply("page.exe", R"("body": "<html>not a program</html>")"));
        ASSERT_TRUE(ServeSetupReply("missing.exe", R"("status": "HTTP/1.1 404 Not Found", "body": "<html>404</html>")"));
        ASSERT_TRUE(ServeSetupReply("update.ini", R"("status": "HTTP/1.1 404 Not Found", "body": "<html>404</html>")"));
        ASSERT_TRUE(ServeSetupReply("cut.exe", R"("body": "c", "body_repeat": 50000, "cut_after": 20000)"));
        // 10,000,000 bytes announced; 60,000 sent quickly, all at the bar's position 0.
        ASSERT_TRUE(
            ServeSetupReply("reset.exe", R"("body": "r", "body_repeat": 10000000, "cut_after": 60000, "reset": true)"));
        ASSERT_TRUE(ServeUpdateDescription(Describe(c.single, c.parts)));
        ASSERT_TRUE(appData_.SetIni(c.ini));
        for (const wchar_t* name : downloadNames) {
            DeleteFileW(Installer(name).c_str());
            DeleteFileW(RecorderRecordPath(Installer(name)).c_str());
        }
        DeleteFileW(run_.PlayerRecord().c_str());
        DeleteFileW(run_.RecordOf(L"pelorama.exe").c_str());
        StandinPlayer playerWindow;
        if (c.playerWindow) {
            ASSERT_TRUE(playerWindow.Start(run_.Path() + L"qelplayer.exe"));
        }
        RecorderWindow pelorama;
        if (c.peloramaWindow) {
            ASSERT_TRUE(pelorama.Start(run_.Path() + L"pelorama.exe", kPeloramaClass));
        }

        const bool downloads = *c.secondAnswer != 0;
        std::vector<std::string> answers = {"yes"};
        if (downloads)
            answers.push_back(c.secondAnswer);
        if (c.updated)
            answers.push_back("ok");
        const Outcome o = Run(answers, static_cast<int>(answers.size()));
        EXPECT_EQ(o.exitCode, 0u);

        // The boxes: first prompt, second prompt, done.
        ASSERT_EQ(o.boxes.size(), answers.size());
        EXPECT_EQ(o.boxes[0].text, kFirstPrompt);
        if (downloads) {
            EXPECT_EQ(o.boxes[1].text, kSecondPrompt);
            EXPECT_EQ(o.boxes[1].caption, L"澜影播放器更新提示");
            EXPECT_EQ(o.boxes[1].buttons, "YES,NO");
            EXPECT_FALSE(o.boxes[1].hasOwner());
        }
        if (c.updated) {
            EXPECT_EQ(o.boxes[2].text, kDone);
            EXPECT_EQ(o.boxes[2].buttons, "OK");
        }

        // The dialog as read while it lived; it is gone now.
        EXPECT_TRUE(o.dialog.found);
        EXPECT_EQ(o.dialog.caption, L"澜影更新程序");
        EXPECT_EQ(o.dialog.lines, c.lines);

        // The running programs closed (player, then pelorama) only after "Yes".
        const PlayerRecord playerRecord = ReadPlayerRecord(run_.PlayerRecord());
        const PlayerRecord peloramaRecord = ReadPlayerRecord(run_.RecordOf(L"pelorama.exe"));
        EXPECT_EQ(playerRecord.closes, c.updated && c.playerWindow ? 1 : 0);
        EXPECT_EQ(peloramaRecord.closes, c.updated && c.peloramaWindow ? 1 : 0);

        // The installers: started with no show code; after an update every downloaded file is
        // deleted, the started ones and those that did not start.
        for (const wchar_t* name : downloadNames) {
            SCOPED_TRACE(Utf8(name));
            bool run = false, left = false;
            for (const wchar_t* r : c.installersRun)
                run = run || std::wstring(r) == name;
            for (const wchar_t* f : c.filesLeft)
                left = left || std::wstring(f) == name;
            const PlayerRecord rec = InstallerRecord(name);
            ASSERT_EQ(rec.starts.size(), run ? 1u : 0u);
            if (run) {
                EXPECT_EQ(rec.starts[0].showCode, -1);
                EXPECT_EQ(rec.starts[0].module, Installer(name));
            }
            if (c.updated)
                EXPECT_FALSE(FileExists(Installer(name)));
            if (left)
                EXPECT_TRUE(FileExists(Installer(name)));
        }
        // A failed download's last count shows, whatever the throttle held back.
        if (c.lastCountOf) {
            const size_t got = ReadWholeFile(Installer(c.lastCountOf)).size();
            EXPECT_GT(got, 0u);
            EXPECT_EQ(o.dialog.text, std::to_wstring(got / 1024) + L"K / 9765K");
        }
        // Nothing written outside the folder.
        EXPECT_FALSE(FileExists(appData_.Path() + L"x.exe"));

        // The restarts from the updater's own folder: the player with 5, then pelorama with 11.
        const size_t ownPlayerStarts = c.playerWindow ? 1 : 0, ownPeloramaStarts = c.peloramaWindow ? 1 : 0;
        if (c.updated) {
            ASSERT_EQ(playerRecord.starts.size(), ownPlayerStarts + 1);
            ASSERT_EQ(peloramaRecord.starts.size(), ownPeloramaStarts + 1);
            const PlayerStart& p = playerRecord.starts.back();
            const PlayerStart& q = peloramaRecord.starts.back();
            EXPECT_EQ(p.showCode, 5);
            EXPECT_EQ(q.showCode, 11);
            EXPECT_EQ(p.module, run_.Path() + L"qelplayer.exe");
            EXPECT_EQ(q.module, run_.Path() + L"pelorama.exe");
            EXPECT_EQ(p.commandLine, L"\"" + run_.Path() + L"qelplayer.exe\"");
            EXPECT_EQ(IniLines(appData_.Ini()), c.iniAfter);
            EXPECT_EQ(Requests(kStatisticsPath), 1u);
        } else {
            EXPECT_EQ(playerRecord.starts.size(), ownPlayerStarts);
            EXPECT_EQ(peloramaRecord.starts.size(), ownPeloramaStarts);
            EXPECT_EQ(appData_.Ini(), c.ini);
            EXPECT_EQ(Requests(kStatisticsPath), 0u);
        }
        // Installers stay after "No".
        if (downloads && !c.updated) {
            EXPECT_TRUE(FileExists(Installer(L"p.exe")));
        }
        EXPECT_FALSE(FileExists(run_.DecoyRecord()));
    }
}

TEST_F(UpdateRun, SecondInstallerStartsWhileTheFirstRuns)
{
    ASSERT_TRUE(ServeInstaller("p.exe"));
    ASSERT_TRUE(ServeInstaller("g.exe"));
    ASSERT_TRUE(ServeUpdateDescription(Describe(
        false, {{"player", "81126", SetupAddress("p.exe"), ""}, {"genal", "81126", SetupAddress("g.exe"), ""}})));
    // The first installer keeps running with a window until closed.
    ASSERT_TRUE(WriteWholeFile(RecorderWindowFile(Installer(L"p.exe")), Utf8(kInstallerClass)));
    const Outcome o = Run({"yes", "yes", "ok"}, 3);
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_EQ(InstallerRecord(L"p.exe").starts.size(), 1u);
    EXPECT_EQ(InstallerRecord(L"g.exe").starts.size(), 1u);
    // The first still runs: it keeps its file, the second's is deleted.
    EXPECT_NE(FindWindowW(kInstallerClass, nullptr), nullptr);
    EXPECT_TRUE(FileExists(Installer(L"p.exe")));
    EXPECT_FALSE(FileExists(Installer(L"g.exe")));
}

TEST_F(UpdateRun, ProgressOfLargeAndLengthlessDownloads)
{
    // No Content-Length on the first download of the run: no crash, a total of 0K, the bar stays.
    ASSERT_TRUE(FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost +
                                 "\", \"path\": \"/setup/n.exe\", \"content_length\": false, \"body\": \"n\", "
                                 "\"body_repeat\": 300000}"));
    ASSERT_TRUE(ServeUpdateDescription(Describe(true, {{"player", "81126", SetupAddress("n.exe"), ""}})));
    Outcome o = Run({"yes", "no"}, 2);
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_EQ(o.dialog.lines, (std::vector<std::wstring>{kDownloading, kDownloaded}));
    EXPECT_EQ(o.dialog.text, L"292K / 0K");
    EXPECT_EQ(o.dialog.position, 0);
    EXPECT_EQ(ReadWholeFile(Installer(L"n.exe")).size(), 300000u);

    // Past 43 MB the bar still ends at 100.
    ASSERT_TRUE(FixtureAddRoutes(std::string("{\"host\": \"") + kUpdateHost +
                                 "\", \"path\": \"/setup/big.exe\", \"body\": \"b\", \"body_repeat\": 45000000}"));
    ASSERT_TRUE(ServeUpdateDescription(Describe(true, {{"player", "81126", SetupAddress("big.exe"), ""}})));
    o = Run({"yes", "no"}, 2, 120000);
    EXPECT_EQ(o.exitCode, 0u);
    EXPECT_EQ(o.dialog.lines, (std::vector<std::wstring>{kDownloading, kDownloaded}));
    EXPECT_EQ(o.dialog.text, L"43945K / 43945K");
    EXPECT_EQ(o.dialog.position, 100);
}

TEST_F(UpdateRun, CancelDuringASlowDownload)
{
    // 200 kB at 4 kB every 50 ms: about two and a half seconds.
    ASSERT_TRUE(ServeInstaller("p.exe", ", \"trickle\": [4000, 50]"));
    ASSERT_TRUE(ServeUpdateDescription(Describe(false, {{"player", "81126", SetupAddress("p.exe"), "slow"}})));
    ASSERT_TRUE(appData_.SetIni("[Settings]\r\nplayer_build=1\r\n"));
    UpdaterRun updater;
    ASSERT_TRUE(updater.Start(run_.Path() + L"updater.exe"));
    BoxWatcher boxes;
    ASSERT_TRUE(boxes.Start(updater.Pid(), {"yes"}, 1, 30000));
    // Mid-download: the dialog read across processes.
    HWND dialog = nullptr;
    DialogView v;
    for (int i = 0; i < 1000 && updater.Running(); ++i) {
        dialog = FindProgressDialog(updater.Pid());
        v = ReadProgressDialog(dialog);
        if (v.position > 0 && v.position < 100)
            break;
        Sleep(10);
    }
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(v.caption, L"澜影更新程序");
    EXPECT_EQ(v.lines, std::vector<std::wstring>{L"slow"});
    EXPECT_GT(v.position, 0);
    EXPECT_LT(v.position, 100);
    EXPECT_NE(v.text.find(L"K / "), std::wstring::npos);
    EXPECT_NE(v.text, L"正在下载...");

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(updater.WaitExit(5000));
    EXPECT_EQ(updater.ExitCode(), 0u);
    EXPECT_TRUE(InstallerRecord(L"p.exe").starts.empty());
    EXPECT_EQ(appData_.Ini(), "[Settings]\r\nplayer_build=1\r\n");
    EXPECT_EQ(Requests(kStatisticsPath), 0u);
    EXPECT_EQ(ReadPlayerRecord(run_.PlayerRecord()).starts.size(), 0u);
}
