// The update check: the built updater.exe, and the check run in-process to read the flags it
// hands to the progress dialog, on the fixture web with the application-data folder of the
// test's own and every box answered by the box helper.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bench_files.h"
#include "boxwatch_client.h"
#include "fixture_client.h"
#include "run_folder.h"
#include "update_check.h"
#include "update_state.h"
#include "updater_support.h"

namespace {

const wchar_t kPrompt[] = L"发现新版本,是否立即下载?";
const wchar_t kCaption[] = L"澜影播放器更新提示";

int g_dialogRuns = 0;
uint32_t g_dialogFlags = 0;

void RecordDialog(HINSTANCE)
{
    ++g_dialogRuns;
    g_dialogFlags = g_updateJob.flags;
}

std::string Block(const char* tag, const char* build, const char* file)
{
    return std::string("<") + tag + "><version>1</version><build>" + build +
           "</build><download>http://service.qelplayer.net/setup/" + file + "</download><description>" + tag +
           "</description></" + tag + ">";
}

// Runs updater.exe to its end with every box answered by answer; gives the boxes.
std::vector<BoxReport> RunUpdater(const char* answer)
{
    UpdaterRun run;
    EXPECT_TRUE(run.Start(SuiteBinFolder() + L"updater.exe"));
    BoxWatcher boxes;
    EXPECT_TRUE(boxes.Start(run.Pid(), {answer}, 1, 60000));
    EXPECT_TRUE(run.WaitExit(30000));
    EXPECT_EQ(run.ExitCode(), 0u);
    boxes.Wait(10000);
    return boxes.Reports();
}

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FixtureReset()); }
    size_t DescriptionRequests() const
    {
        size_t n = 0;
        for (const RecordedRequest& r : FixtureRecordFor(kUpdateHost))
            n += r.target == kDescriptionPath;
        return n;
    }
};

}  // namespace

TEST_F(UpdateCheck, NoApplicationDataFolderEndsBeforeAnyRequest)
{
    AppDataFolder appData;
    ASSERT_TRUE(appData.PointAtMissingFolder());
    ASSERT_TRUE(ServeUpdateDescription("<build>81126</build>"));
    EXPECT_TRUE(RunUpdater("no").empty());
    EXPECT_TRUE(FixtureRecord().empty());
}

TEST_F(UpdateCheck, ProgramEndsSilentlyOrAsksOnce)
{
    AppDataFolder appData;
    ASSERT_TRUE(appData.Create());
    const struct {
        const char* name;
        const char* route;      // extra route for the description, or null
        std::string ini;        // update.ini before, empty: none
        bool prompt;
    } cases[] = {
        // No update.ini: the default 081125 is older than 81126.
        {"single format newer than the default", nullptr, "", true},
        {"recorded build equal", nullptr, "[Settings]\r\nbuild=81126\r\n", false},
        {"recorded build higher", nullptr, "[Settings]\r\nbuild=90000\r\nplayer_build=1\r\n", false},
        {"a recorded empty build reads 0", nullptr, "[Settings]\r\nbuild=\r\n", true},
        // A reply that never comes: no box.
        {"failed fetch", R"({"cut_after": 0})", "", false},
        {"empty description", R"({"body": ""})", "", false},
        // An error page has no tags: nothing is newer.
        {"error page", R"({"status": "HTTP/1.1 404 Not Found", "body": "<html>gone</html>"})", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(FixtureReset());
        ASSERT_TRUE(appData.SetIni(c.ini));
        ASSERT_TRUE(ServeUpdateDescription("<version>2</version><build>81126</build><download>http://"
                                           "service.qelplayer.net/setup/p.exe</download>"));
        if (c.route) {
            std::string route = c.route;
            route.insert(1, std::string("\"host\": \"") + kUpdateHost + "\", \"path\": \"" + kDescriptionPath + "\", ");
            ASSERT_TRUE(FixtureAddRoutes(route));
        }
        const std::vector<BoxReport> boxes = RunUpdater("no");
        EXPECT_EQ(DescriptionRequests(), 1u);
        if (c.prompt) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, kPrompt);
            EXPECT_EQ(boxes[0].caption, kCaption);
            EXPECT_EQ(boxes[0].buttons, "YES,NO");
            EXPECT_FALSE(boxes[0].hasOwner());
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        // "No", or no box: nothing written, and no other request.
        EXPECT_EQ(appData.Ini(), c.ini);
        EXPECT_EQ(FixtureRecord().size(), 1u);
    }
    // The updater never creates the folder of update.ini.
    EXPECT_FALSE(FileExists(appData.IniPath()));
}

TEST_F(UpdateCheck, TheFlagsOfTheNewerComponentsReachTheDialog)
{
    AppDataFolder appData;
    ASSERT_TRUE(appData.Create());
    const std::string three = "<root>1</root>";
    const struct {
        const char* name;
        std::string description;
        std::string ini;
        const char* answer;
        int dialogRuns;
        uint32_t flags;
    } cases[] = {
        {"single format", "<build>81126</build><download>http://h/p.exe</download>", "", "yes", 1, UPDATE_PLAYER},
        {"three, all newer than the defaults",
         three + Block("player", "81126", "p.exe") + Block("parser", "81127", "a.exe") +
             Block("genal", "81128", "g.exe"),
         "", "yes", 1, UPDATE_PLAYER | UPDATE_PARSER | UPDATE_GENAL},
        {"three, genal alone newer",
         three + Block("player", "5", "p.exe") + Block("parser", "6", "a.exe") + Block("genal", "8", "g.exe"),
         "[Settings]\r\nplayer_build=5\r\nparse_build=6\r\ngenal_build=7\r\nbuild=1\r\n", "yes", 1, UPDATE_GENAL},
        {"three, parser newer, answered no",
         three + Block("parser", "81126", "a.exe"), "", "no", 0, 0},
        {"three, only a lower build", three + Block("player", "3", "p.exe"), "[Settings]\r\nplayer_build=4\r\n", "yes",
         0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(FixtureReset());
        ASSERT_TRUE(appData.SetIni(c.ini));
        ASSERT_TRUE(ServeUpdateDescription(c.description));
        g_updateJob.flags = 0;
        g_dialogRuns = 0;
        g_dialogFlags = 0;
        BoxWatcher boxes;
        ASSERT_TRUE(boxes.Start(GetCurrentProcessId(), {c.answer}, 1, 20000));
        EXPECT_EQ(RunUpdateCheck(GetModuleHandleW(nullptr), RecordDialog), 0);
        if (c.dialogRuns || std::string(c.answer) == "no") {
            EXPECT_TRUE(boxes.Wait(10000));
            ASSERT_EQ(boxes.Reports().size(), 1u);
            EXPECT_EQ(boxes.Reports()[0].text, kPrompt);
        }
        EXPECT_EQ(g_dialogRuns, c.dialogRuns);
        EXPECT_EQ(g_dialogFlags, c.flags);
        EXPECT_EQ(appData.Ini(), c.ini);
        EXPECT_EQ(g_strIniPath, appData.IniPath());
    }
    // The job holds the addresses of the last description.
    EXPECT_EQ(g_updateJob.playerAddress, L"http://service.qelplayer.net/setup/p.exe");
    EXPECT_EQ(g_updateJob.parserAddress, L"");
}

// The section and keys of update.ini, as the built program's string table gives them.
TEST(UpdaterStrings, TheKeysOfUpdateIniStandInTheStringTable)
{
    HMODULE exe = LoadLibraryExW((SuiteBinFolder() + L"updater.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    const struct {
        UINT id;
        const wchar_t* text;
    } cases[] = {{2000, L"Settings"}, {2002, L"parse_build"}, {2005, L"player_build"}, {2008, L"genal_build"}};
    for (const auto& c : cases) {
        wchar_t text[64] = {};
        const int n = LoadStringW(exe, c.id, text, 64);
        EXPECT_EQ(std::wstring(text, n > 0 ? n : 0), c.text) << c.id;
    }
    FreeLibrary(exe);
}
