// The link handling's Win32 binding in a program run from a folder with a blank in its name,
// with the stand-in player and the stand-in resolver.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "link_run.h"
#include "maximum_output.h"
#include "player_record.h"
#include "run_folder.h"

namespace {

const wchar_t kMissingText[] = L"未找到播放器,请先打开播放器";
const wchar_t kMissingCaption[] = L"错误提示";
const uint64_t kPlay = 0xC179F3D9u, kAdd = 0xC179F3DAu;

struct Build {
    const char* name;
    std::wstring program;
    bool agent;
};
const Build kBuilds[] = {{"pelorama", L"pelorama.exe", false}, {"agent", L"qelagent.exe", true}};

void PrintTo(const Build& build, std::ostream* os)
{
    *os << build.name;
}

// The 1540 bytes the player must receive: zero-filled, the address at 0, the title at 1024,
// the site code at 1536.
std::vector<unsigned char> ExpectedRecord(const std::wstring& address, const std::wstring& title, int32_t site)
{
    std::vector<unsigned char> r(1540, 0);
    for (size_t i = 0; i < address.size(); ++i) {
        r[2 * i] = static_cast<unsigned char>(address[i] & 0xFF);
        r[2 * i + 1] = static_cast<unsigned char>(address[i] >> 8);
    }
    for (size_t i = 0; i < title.size(); ++i) {
        r[1024 + 2 * i] = static_cast<unsigned char>(title[i] & 0xFF);
        r[1024 + 2 * i + 1] = static_cast<unsigned char>(title[i] >> 8);
    }
    std::memcpy(&r[1536], &site, 4);
    return r;
}

class LinkHandoff : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run.Create());
        ASSERT_TRUE(AddDriver(run, GetParam().name, GetParam().program));
        ASSERT_TRUE(run.AddStandinResolver(""));
    }
    void TearDown() override { EndRecordedPlayers(ReadPlayerRecord(run.PlayerRecord())); }

    DriverResult Handle(const std::wstring& link) { return RunDriver(run, GetParam().program, link); }
    bool Agent() const { return GetParam().agent; }

    RunFolder run;
};

// Address of 600 characters (not sent), one of 511 (sent whole, with LINK_PLAY), a title of
// 300 (cut to 255), then one more address.
TEST_P(LinkHandoff, RecordBytesAndDataWords)
{
    ASSERT_TRUE(run.AddStandinPlayer());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe"));
    const std::wstring tooLong = L"http://f.ku6.com/" + std::wstring(600 - 17, L'L');
    const std::wstring full = L"http://f.ku6.com/" + std::wstring(511 - 17, L'F');
    const std::wstring title = L"中文标题" + std::wstring(296, L't');
    DriverResult r = Handle(L"zflv://play/flv=" + tooLong + L"<&>" + full + L"<&>http://f.ku6.com/2.flv<&>&name=" + title);
    ASSERT_TRUE(r.ended);
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_TRUE(r.boxes.empty());
    ASSERT_TRUE(player.Close());
    PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
    ASSERT_EQ(record.copies.size(), 2u);
    const std::wstring cut = title.substr(0, 255);
    const struct {
        uint64_t word;
        std::wstring address;
    } expected[] = {{kPlay, full}, {kAdd, L"http://f.ku6.com/2.flv"}};
    for (size_t i = 0; i < 2; ++i) {
        const PlayerCopyData& c = record.copies[i];
        EXPECT_EQ(c.dataWord, expected[i].word) << i;
        EXPECT_EQ(c.byteCount, 1540u);
        EXPECT_EQ(c.wParam, 0u);
        EXPECT_EQ(c.address, expected[i].address);
        EXPECT_EQ(c.title, cut);
        EXPECT_EQ(c.siteCode, 1);
        EXPECT_TRUE(c.raw == ExpectedRecord(expected[i].address, cut, 1)) << "record " << i << " bytes";
    }
}

// No player running: it is started from the run folder (not the decoy an unquoted start
// would run), minimised, and the link goes to it at the second look. pelorama says so first.
TEST_P(LinkHandoff, PlayerStartedFromTheRunFolderAndSentAtTheSecondLook)
{
    ASSERT_TRUE(run.AddStandinPlayer());
    DriverResult r = Handle(L"zflv://play/flv=http://f.ku6.com/1.flv<&>&name=片");
    ASSERT_TRUE(r.ended);
    if (Agent()) {
        EXPECT_TRUE(r.boxes.empty());
    } else {
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0].text, kMissingText);
        EXPECT_EQ(r.boxes[0].caption, kMissingCaption);
        EXPECT_FALSE(r.boxes[0].hasOwner());
    }
    PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
    ASSERT_EQ(record.starts.size(), 1u);
    const std::wstring path = run.Path() + L"qelplayer.exe";
    EXPECT_EQ(record.starts[0].module, path);
    EXPECT_EQ(record.starts[0].commandLine, L"\"" + path + L"\"");
    EXPECT_EQ(record.starts[0].showCode, 11);
    ASSERT_EQ(record.copies.size(), 1u);
    EXPECT_EQ(record.copies[0].dataWord, kPlay);
    EXPECT_EQ(record.copies[0].address, L"http://f.ku6.com/1.flv");
    EXPECT_EQ(record.copies[0].title, L"片");
    EXPECT_FALSE(FileExists(run.DecoyRecord())) << "the decoy ran";
}

// Still no player window after the start: the box, answered; the address is dropped, and
// so is the next one, each after its own start.
TEST_P(LinkHandoff, StillMissingAfterTheStartBoxesAndDrops)
{
    struct Case {
        const char* what;
        bool decoyAsPlayer;  // a program that starts but opens no window; else no file at all
    } cases[] = {{"started, no window", true}, {"no program file", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW((run.Path() + L"qelplayer.exe").c_str());
        DeleteFileW(run.PlayerRecord().c_str());
        if (c.decoyAsPlayer) {
            ASSERT_TRUE(run.AddRecorder(L"qelplayer.exe"));
        }
        DriverResult r = Handle(L"zflv://play/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv<&>");
        ASSERT_TRUE(r.ended);
        ASSERT_EQ(r.boxes.size(), Agent() ? 2u : 4u);
        for (const BoxReport& box : r.boxes) {
            EXPECT_EQ(box.text, kMissingText);
            EXPECT_EQ(box.caption, kMissingCaption);
            EXPECT_FALSE(box.hasOwner());
            EXPECT_EQ(box.answered, "OK");
        }
        PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
        EXPECT_EQ(record.starts.size(), c.decoyAsPlayer ? 2u : 0u);
        for (const PlayerStart& s : record.starts)
            EXPECT_EQ(s.showCode, 11);
        EXPECT_FALSE(FileExists(run.DecoyRecord()));
    }
}

// The module's own boxes: owned by the dialog's window in the agent, by nobody in pelorama.
TEST_P(LinkHandoff, ModuleBoxesAndTheirOwner)
{
    struct Case {
        std::wstring link;
        const wchar_t *text, *caption;  // the agent's box
        const wchar_t *peloramaText, *peloramaCaption;
        DWORD agentSite, peloramaSite;
    } cases[] = {
        {L"zflv://play/name=x http://www.ku6.com/", L"未知类型", L"错误", L"未知类型", L"错误", 1, 1},
        {L"zflv://play/src=http://www.ku6.com/show/gone.html", L"URL链接已失效", L"提示", L"URL链接已失效", L"提示", 1,
         1},
        {L"zflv://play/src=http://www.example.org/v.html", L"暂不支持此网址", L"澜影提示", L"URL链接已失效", L"提示",
         255, 1},
        {L"zflv://play/flv=http://www.example.org/1.flv<&>", L"暂不支持此网址", L"澜影提示", nullptr, nullptr, 255,
         1},
    };
    ASSERT_TRUE(run.AddStandinPlayer());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe"));
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.link));
        DriverResult r = Handle(c.link);
        ASSERT_TRUE(r.ended);
        EXPECT_EQ(r.exitCode, Agent() ? c.agentSite : c.peloramaSite);
        const wchar_t* text = Agent() ? c.text : c.peloramaText;
        if (!text) {
            EXPECT_TRUE(r.boxes.empty());
            continue;
        }
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0].text, text);
        EXPECT_EQ(r.boxes[0].caption, Agent() ? c.caption : c.peloramaCaption);
        EXPECT_EQ(r.boxes[0].hasOwner(), Agent());
        EXPECT_EQ(r.boxes[0].ownerSameProcess, Agent());
    }
    ASSERT_TRUE(player.Close());
    EXPECT_EQ(ReadPlayerRecord(run.PlayerRecord()).copies.size(), Agent() ? 0u : 1u);
}

// Pages resolved by the stand-in resolver: the page address up to its first "&", the
// resolver's title, "/videosrc=" lines numbered within their page.
TEST_P(LinkHandoff, ResolvedPagesReachThePlayer)
{
    const std::wstring log = run.Parent() + L"resolver.log";
    ASSERT_TRUE(run.SetResolverScript("log=" + Utf8(log) +
                                      "\npage=http://www.ku6.com/show/x.html\ntitle=甲\n"
                                      "line=http://f.ku6.com/x1.flv\nline=http://f.ku6.com/x2.flv\n"
                                      "page=http://www.ku6.com/show/y.html\ntitle=乙\nline=http://f.ku6.com/y1.flv\n"));
    ASSERT_TRUE(run.AddStandinPlayer());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe"));
    DriverResult src = Handle(L"zflv://play/src=http://www.ku6.com/show/y.html&name=不用");
    DriverResult list = Handle(L"zflv://add/videosrc=http://www.ku6.com/show/x.html<&>"
                               L"http://www.ku6.com/show/y.html<&>");
    ASSERT_TRUE(src.ended && list.ended);
    EXPECT_TRUE(src.boxes.empty() && list.boxes.empty());
    ASSERT_TRUE(player.Close());
    PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
    const struct {
        uint64_t word;
        const wchar_t *address, *title;
    } expected[] = {
        {kPlay, L"http://f.ku6.com/y1.flv", L"乙"},
        {kAdd, L"http://f.ku6.com/x1.flv", L"甲_1"},
        {kAdd, L"http://f.ku6.com/x2.flv", L"甲_2"},
        {kAdd, L"http://f.ku6.com/y1.flv", L"乙_1"},
    };
    ASSERT_EQ(record.copies.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(record.copies[i].dataWord, expected[i].word) << i;
        EXPECT_EQ(record.copies[i].address, expected[i].address) << i;
        EXPECT_EQ(record.copies[i].title, expected[i].title) << i;
    }
    EXPECT_EQ(ReadWholeFile(log),
              "FLV_GetFlvUrlDirectlyW http://www.ku6.com/show/y.html\n"
              "FLV_GetFlvUrlDirectlyW http://www.ku6.com/show/x.html\n"
              "FLV_GetFlvUrlDirectlyW http://www.ku6.com/show/y.html\n");
}

// The resolver writing its whole maximum of lines and title: every whole line reaches the
// player, the unterminated rest does not, nothing is overrun.
TEST_P(LinkHandoff, ResolverAtItsMaximum)
{
    ASSERT_TRUE(run.SetResolverScript("page=*\nmaximum\n"));
    ASSERT_TRUE(run.AddStandinPlayer());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe"));
    DriverResult r = Handle(L"zflv://play/src=http://www.ku6.com/show/max.html");
    ASSERT_TRUE(r.ended);
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_TRUE(r.boxes.empty());
    ASSERT_TRUE(player.Close());
    PlayerRecord record = ReadPlayerRecord(run.PlayerRecord());
    const size_t lines = MaximumLineCount(131072);
    ASSERT_EQ(record.copies.size(), lines);
    std::wstring title(256, L'\0');
    FillMaximumText(&title[0], title.size());
    title.resize(255);
    for (size_t i = 0; i < lines; ++i) {
        ASSERT_EQ(record.copies[i].address, Wide(MaximumLine(i))) << i;
        ASSERT_EQ(record.copies[i].title, title) << i;
        ASSERT_EQ(record.copies[i].dataWord, i == 0 ? kPlay : kAdd) << i;
    }
}

// A player that does not answer holds the link's worker in its send until it does.
TEST_P(LinkHandoff, HungPlayerHoldsTheWorker)
{
    const std::wstring release = run.Parent() + L"release";
    ASSERT_TRUE(run.AddStandinPlayer());
    StandinPlayer player;
    ASSERT_TRUE(player.Start(run.Path() + L"qelplayer.exe", L"--hold \"" + release + L"\""));
    HANDLE driver = StartDriver(run, GetParam().program, L"zflv://play/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv<&>");
    ASSERT_NE(driver, nullptr);
    ASSERT_TRUE(WaitForRecord(run.PlayerRecord(), 1, false));
    EXPECT_EQ(WaitForSingleObject(driver, 500), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(ReadPlayerRecord(run.PlayerRecord()).copies.size(), 1u);
    ASSERT_TRUE(WriteWholeFile(release, ""));
    EXPECT_EQ(WaitForSingleObject(driver, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(driver);
    ASSERT_TRUE(player.Close());
    EXPECT_EQ(ReadPlayerRecord(run.PlayerRecord()).copies.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Builds, LinkHandoff, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& info) { return std::string(info.param.name); });

}  // namespace
