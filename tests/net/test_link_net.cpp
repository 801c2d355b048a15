// The link handling with the real vennix.dll on the fixture web: a Ku6 and a Sina page
// reach the stand-in player as records.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "expected_records.h"
#include "fixture_client.h"
#include "link_run.h"
#include "player_record.h"
#include "run_folder.h"

namespace {

const uint64_t kPlay = kLinkPlay, kAdd = kLinkAdd;
const wchar_t kKu6Page[] = L"http://www.ku6.com/show/abc.html";
const wchar_t kSinaPage[] = L"http://www.sina.com.cn/v/b/12345-1.html";

struct NetCase {
    std::wstring link;
    std::vector<ExpectedRecord> records;
};

const wchar_t* const kBuilds[] = {L"pelorama", L"agent"};

}  // namespace

TEST(LinkOnTheFixtureWeb, Ku6AndSinaPagesReachThePlayer)
{
    const std::wstring ku6 = L"http://f.ku6.com/b.flv", sina = L"http://f.sina.com.cn/";
    const NetCase cases[] = {
        {std::wstring(L"zflv://play/src=") + kKu6Page + L"&name=不用", {{kPlay, ku6, L"中文 clip", 1}}},
        {std::wstring(L"zflv://add/src=") + kSinaPage,
         {{kAdd, sina + L"1.flv", L"新浪 clip", 7}, {kAdd, sina + L"2.flv", L"新浪 clip", 7},
          {kAdd, sina + L"3.flv", L"新浪 clip", 7}}},
        // One link, two sites: the link's site code is that of its first address.
        {std::wstring(L"zflv://play/videosrc=") + kSinaPage + L"<&>" + kKu6Page + L"<&>",
         {{kPlay, sina + L"1.flv", L"新浪 clip_1", 7}, {kAdd, sina + L"2.flv", L"新浪 clip_2", 7},
          {kAdd, sina + L"3.flv", L"新浪 clip_3", 7}, {kAdd, ku6, L"中文 clip_1", 7}}},
    };
    for (const wchar_t* build : kBuilds) {
        RunFolder run;
        ASSERT_TRUE(run.Create());
        ASSERT_TRUE(AddDriver(run, Utf8(build).c_str(), L"program.exe"));
        ASSERT_TRUE(run.AddRealResolver());
        ASSERT_TRUE(run.AddStandinPlayer());
        for (const NetCase& c : cases) {
            SCOPED_TRACE(Utf8(std::wstring(build) + L" " + c.link));
            ASSERT_TRUE(FixtureReset());
            DeleteFileW(run.PlayerRecord().c_str());
            StandinPlayer player;
            ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe"));
            DriverResult r = RunDriver(run, L"program.exe", c.link);
            ASSERT_TRUE(r.ended);
            EXPECT_TRUE(r.boxes.empty());
            EXPECT_EQ(r.exitCode, static_cast<DWORD>(c.records[0].site));
            ASSERT_TRUE(player.Close());
            // The "/src=" page address ends at its first "&".
            for (const RecordedRequest& request : FixtureRecordFor("www.ku6.com"))
                EXPECT_EQ(request.target, "/show/abc.html");
            ExpectRecords(ReadPlayerRecord(run.PlayerRecord()), c.records);
        }
    }
}
