// The whole road of one link: a script creates the registered control by its programmatic
// identifier and calls AddLink with a Ku6 page address; the control starts the real qelagent
// beside it, which resolves the page with the real vennix.dll on the fixture web and hands the
// stream to the stand-in player. Runs in the network prefix; the registry is put back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "expected_records.h"
#include "fixture_client.h"
#include "player_record.h"
#include "vudav_support.h"
#include "win/agent_run.h"

TEST(VudavRoad, ScriptToControlToAgentToPlayer)
{
    ASSERT_TRUE(FixtureReset());
    VudavRegistryGuard guard;
    AgentFolder folder;
    ASSERT_TRUE(folder.CreateWithRealResolver());
    RunFolder& run = folder.Run();
    ASSERT_TRUE(run.AddProgram(VudavDllPath(), L"Vudav.dll"));
    ProgramRun registered = Regsvr32(run.Path() + L"Vudav.dll");
    ASSERT_EQ(registered.exitCode, 0u) << registered.output;

    StandinPlayer player;
    ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe"));
    const std::wstring script = run.Parent() + L"menu.js";
    ASSERT_TRUE(WriteWholeFile(script, "try {\n"
                                       "    var control = new ActiveXObject(\"Vudav.qelVudav\");\n"
                                       "    control.AddLink(null, \"http://www.ku6.com/show/abc.html\",\n"
                                       "                    \"http://www.ku6.com/\", \"\\u7247\\u540d\");\n"
                                       "    WScript.Quit(0);\n"
                                       "} catch (e) {\n"
                                       "    WScript.Echo(\"script error \" + e.number + \" \" + e.message);\n"
                                       "    WScript.Quit(3);\n"
                                       "}\n"));
    ProgramRun called = Cscript(script, run.Parent());
    ASSERT_TRUE(called.finished);
    ASSERT_EQ(called.exitCode, 0u) << called.output;

    EXPECT_TRUE(WaitForRecord(run.PlayerRecord(), 1, false, 30000));
    EXPECT_TRUE(WaitNoAgentWindow(15000));  // the agent ends once the link is handed over
    ASSERT_TRUE(player.Close());
    ExpectRecords(ReadPlayerRecord(run.PlayerRecord()), {{kLinkPlay, L"http://f.ku6.com/b.flv", L"中文 clip", 1}});
    auto requests = FixtureRecordFor("www.ku6.com");
    ASSERT_FALSE(requests.empty());
    for (const RecordedRequest& request : requests)
        EXPECT_EQ(request.target, "/show/abc.html");
    EXPECT_FALSE(FileExists(run.DecoyRecord())) << "an unquoted start ran the decoy";

    ProgramRun removed = Regsvr32(run.Path() + L"Vudav.dll", true);
    EXPECT_EQ(removed.exitCode, 0u) << removed.output;
}
