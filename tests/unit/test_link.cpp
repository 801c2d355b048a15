// The link handling of both builds against a recording platform: the resolver, the
// player's window, the records sent, the player's start, the boxes and the page timer.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link.h"
#include "maximum_output.h"
#include "utf16.h"
#include "vennix.h"

namespace {

const uintptr_t kPlayerWindow = 0x5150;
const uintptr_t kDialogWindow = 0x7070;

std::u16string U16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

// A text as the transcript shows it: long ones by their head and length.
std::string Show(const std::u16string& s)
{
    if (s.size() <= 48)
        return Utf8(s);
    return Utf8(s.substr(0, 16)) + "...(" + std::to_string(s.size()) + ")";
}

struct FakePage {
    std::u16string lines, title;
    bool maximum = false;
    bool outlastsTimer = false;  // the page timer fires while this page resolves
};

class RecordingPlatform : public LinkPlatform {
public:
    std::map<std::u16string, FakePage> pages;
    int playerAfterStarts = 0;  // the window exists once the player was started this often; -1: never
    std::vector<std::string> transcript;
    std::vector<LinkRecord> records;

    void ResolvePage(const char16_t* pageUrl, char16_t* lines, char16_t* title) override
    {
        transcript.push_back("resolve " + Show(pageUrl));
        auto it = pages.find(pageUrl);
        FakePage page = it == pages.end() ? FakePage() : it->second;
        if (page.maximum) {
            FillMaximumLines(lines, FLV_URL_DW_LINES_UNITS);
            FillMaximumText(title, FLV_URL_DW_TITLE_UNITS);
        } else {
            std::memcpy(lines, page.lines.c_str(), (page.lines.size() + 1) * sizeof(char16_t));
            std::memcpy(title, page.title.c_str(), (page.title.size() + 1) * sizeof(char16_t));
        }
        if (page.outlastsTimer)
            context->PageTimerFired();
    }
    uintptr_t FindPlayerWindow() override
    {
        return playerAfterStarts >= 0 && starts_ >= playerAfterStarts ? kPlayerWindow : 0;
    }
    void SendRecord(uintptr_t window, uint32_t dataWord, const LinkRecord& record) override
    {
        EXPECT_EQ(window, kPlayerWindow);
        EXPECT_TRUE(dataWord == LINK_PLAY || dataWord == LINK_ADD);
        transcript.push_back(std::string(dataWord == LINK_PLAY ? "PLAY " : "ADD ") + std::to_string(record.siteCode) +
                             " " + Show(record.address) + " [" + Show(record.title) + "]");
        records.push_back(record);
    }
    bool StartPlayer() override
    {
        ++starts_;
        transcript.push_back("start");
        return true;
    }
    void ShowBox(const char16_t* text, const char16_t* caption, BoxOwner owner) override
    {
        transcript.push_back("box " + Utf8(caption) + ": " + Utf8(text) +
                             (owner == BoxOwner::LinkWindow ? " (owned)" : " (none)"));
    }
    // The link's context, whose requests to its dialog land in the transcript.
    LinkContext* context = nullptr;
    std::unique_ptr<LinkContext> NewContext(const std::u16string& link)
    {
        auto made = std::make_unique<LinkContext>(link, [this](uintptr_t, uint32_t message, uintptr_t wParam, intptr_t) {
            EXPECT_EQ(message, kLinkRequestMessage);
            transcript.push_back(wParam == static_cast<uintptr_t>(LinkRequest::ArmPageTimer) ? "timer start"
                                                                                             : "timer stop");
            return true;
        });
        made->AttachDialog(kDialogWindow);
        context = made.get();
        return made;
    }

private:
    int starts_ = 0;
};

const char kSame[] = "=";  // the agent's transcript is pelorama's

struct LinkCase {
    const char* what;
    std::u16string link;
    std::vector<std::pair<std::u16string, FakePage>> pages;
    int playerAfterStarts;
    std::vector<std::string> pelorama, agent;
};

std::vector<std::string> Transcript(const LinkBuild& build, const LinkCase& c)
{
    RecordingPlatform platform;
    for (const auto& p : c.pages)
        platform.pages[p.first] = p.second;
    platform.playerAfterStarts = c.playerAfterStarts;
    auto context = platform.NewContext(c.link);
    EXPECT_EQ(HandleZflvLink(platform, build, *context), 0);
    const int32_t site = context->siteCode;
    if (site != -1)
        platform.transcript.insert(platform.transcript.begin(), "site " + std::to_string(site));
    return platform.transcript;
}

const std::u16string kX = u"http://www.ku6.com/show/x.html";
const std::u16string kY = u"http://www.ku6.com/show/y.html";
const FakePage kPageX = {u"http://f.ku6.com/x1.flv\r\nhttp://f.ku6.com/x2.flv\r\n", u"X"};
const FakePage kPageY = {u"http://f.ku6.com/y1.flv\r\n", u"Y"};
const std::string kMissing = "box 错误提示: 未找到播放器,请先打开播放器 (none)";

std::vector<LinkCase> Cases()
{
    const std::u16string longAddress = u"http://f.ku6.com/" + std::u16string(600, u'L');
    const std::u16string address511 = u"http://f.ku6.com/" + std::u16string(511 - 17, u'F');
    const std::u16string longPage = u"http://www.ku6.com/" + std::u16string(90000, u'p');
    const std::u16string longTitle = std::u16string(300, u'长');
    std::vector<std::string> maximum = {"site 1", "resolve " + Show(kX)};
    for (size_t i = 0; i < MaximumLineCount(FLV_URL_DW_LINES_UNITS); ++i) {
        std::u16string full(FLV_URL_DW_TITLE_UNITS, u'\0');
        FillMaximumText(&full[0], full.size());
        maximum.push_back(std::string(i == 0 ? "PLAY" : "ADD") + " 1 " + Show(U16(MaximumLine(i))) + " [" +
                          Show(full.substr(0, kRecordTitleMax)) + "]");
    }
    return {
        {"play /flv=, two items, &name= after the last <&>",
         u"zflv://play/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv<&>&name=片名", {}, 0,
         {"site 1", "PLAY 1 http://f.ku6.com/1.flv [片名]", "ADD 1 http://f.ku6.com/2.flv [片名]"}, {kSame}},
        {"add /flv=, the second item without <&>",
         u"zflv://add/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv", {}, 0,
         {"site 1", "ADD 1 http://f.ku6.com/1.flv []"}, {kSame}},
        {"/flv= with two <&> in a row: the empty item ends the list",
         u"zflv://play/flv=http://f.ku6.com/1.flv<&><&>http://f.ku6.com/3.flv<&>", {}, 0,
         {"site 1", "PLAY 1 http://f.ku6.com/1.flv []"}, {kSame}},
        {"/flv= without any <&>", u"zflv://play/flv=http://f.ku6.com/1.flv", {}, 0, {"site 1"}, {kSame}},
        {"goto wins over play", u"zflv://goto/zflv://play/flv=http://f.ku6.com/1.flv<&>", {}, 0, {}, {kSame}},
        {"no kind", u"zflv://show/flv=http://f.ku6.com/1.flv<&>", {}, 0, {}, {kSame}},
        {"/flv= address holding /src= is a /src= link",
         u"zflv://play/flv=http://www.ku6.com/a/src=1<&>", {}, 0,
         {"site 1", "resolve 1<", "box 提示: URL链接已失效 (none)"},
         {"site 1", "resolve 1<", "box 提示: URL链接已失效 (owned)"}},
        {"&name= at the end gives an empty name", u"zflv://play/flv=http://f.ku6.com/1.flv<&>&name=", {}, 0,
         {"site 1", "PLAY 1 http://f.ku6.com/1.flv []"}, {kSame}},
        {"&name= followed by & gives the rest from that &",
         u"zflv://play/flv=http://f.ku6.com/1.flv<&>&name=&x=1", {}, 0,
         {"site 1", "PLAY 1 http://f.ku6.com/1.flv [&x=1]"}, {kSame}},
        {"/src= sends the page title, not &name=", u"zflv://play/src=" + kX + u"&name=ignored", {{kX, kPageX}}, 0,
         {"site 1", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x1.flv [X]", "ADD 1 http://f.ku6.com/x2.flv [X]"},
         {kSame}},
        {"/src= up to the end", u"zflv://add/src=" + kY, {{kY, kPageY}}, 0,
         {"site 1", "resolve " + Show(kY), "ADD 1 http://f.ku6.com/y1.flv [Y]"}, {kSame}},
        {"/src= followed by & takes the rest from that &", u"zflv://play/src=&" + kY, {{u"&" + kY, kPageY}}, 0,
         {"site 1", "resolve &" + Show(kY), "PLAY 1 http://f.ku6.com/y1.flv [Y]"}, {kSame}},
        {"/src= page resolving to nothing", u"zflv://play/src=" + kY, {}, 0,
         {"site 1", "resolve " + Show(kY), "box 提示: URL链接已失效 (none)"},
         {"site 1", "resolve " + Show(kY), "box 提示: URL链接已失效 (owned)"}},
        {"resolver lines: the unterminated last line is never sent", u"zflv://play/src=" + kY,
         {{kY, {u"http://f.ku6.com/a.flv\r\nhttp://f.ku6.com/b.flv", u"T"}}}, 0,
         {"site 1", "resolve " + Show(kY), "PLAY 1 http://f.ku6.com/a.flv [T]"}, {kSame}},
        {"/videosrc= pages X (two lines) and Y (one)", u"zflv://play/videosrc=" + kX + u"<&>" + kY + u"<&>&name=n",
         {{kX, kPageX}, {kY, kPageY}}, 0,
         {"site 1", "timer start", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x1.flv [X_1]",
          "ADD 1 http://f.ku6.com/x2.flv [X_2]", "timer stop", "timer start", "resolve " + Show(kY),
          "ADD 1 http://f.ku6.com/y1.flv [Y_1]", "timer stop", "timer start"},
         {"site 1", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x1.flv [X_1]",
          "ADD 1 http://f.ku6.com/x2.flv [X_2]", "resolve " + Show(kY), "ADD 1 http://f.ku6.com/y1.flv [Y_1]"}},
        {"/videosrc= add link, second page without <&>, a page without a title",
         u"zflv://add/videosrc=" + kY + u"<&>" + kX, {{kY, {u"http://f.ku6.com/y1.flv\r\n", u""}}, {kX, kPageX}}, 0,
         {"site 1", "timer start", "resolve " + Show(kY), "ADD 1 http://f.ku6.com/y1.flv []", "timer stop",
          "timer start"},
         {"site 1", "resolve " + Show(kY), "ADD 1 http://f.ku6.com/y1.flv []"}},
        {"/videosrc= page resolving to nothing is passed over", u"zflv://play/videosrc=" + kY + u"<&>" + kX + u"<&>",
         {{kX, kPageX}}, 0,
         {"site 1", "timer start", "resolve " + Show(kY), "timer stop", "timer start", "resolve " + Show(kX),
          "PLAY 1 http://f.ku6.com/x1.flv [X_1]", "ADD 1 http://f.ku6.com/x2.flv [X_2]", "timer stop", "timer start"},
         {"site 1", "resolve " + Show(kY), "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x1.flv [X_1]",
          "ADD 1 http://f.ku6.com/x2.flv [X_2]"}},
        {"/videosrc= without any <&>", u"zflv://play/videosrc=" + kX, {{kX, kPageX}}, 0, {"site 1"}, {kSame}},
        {"/videosrc= first page outlasting the timer stops after its addresses",
         u"zflv://play/videosrc=" + kX + u"<&>" + kY + u"<&>",
         {{kX, {kPageX.lines, kPageX.title, false, true}}, {kY, kPageY}}, 0,
         {"site 1", "timer start", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x1.flv [X_1]",
          "ADD 1 http://f.ku6.com/x2.flv [X_2]"},
         {"site 1", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x1.flv [X_1]",
          "ADD 1 http://f.ku6.com/x2.flv [X_2]", "resolve " + Show(kY), "ADD 1 http://f.ku6.com/y1.flv [Y_1]"}},
        {"a kind but no field", u"zflv://play/name=x http://www.ku6.com/", {}, 0,
         {"site 1", "box 错误: 未知类型 (none)"}, {"site 1", "box 错误: 未知类型 (owned)"}},
        {"host outside the table, /src=", u"zflv://play/src=http://www.example.org/v.html",
         {{u"http://www.example.org/v.html", kPageY}}, 0,
         {"site 1", "resolve http://www.example.org/v.html", "PLAY 1 http://f.ku6.com/y1.flv [Y]"},
         {"site 255", "box 澜影提示: 暂不支持此网址 (owned)"}},
        {"host outside the table, /flv=", u"zflv://play/flv=http://f.example.org/1.flv<&>", {}, 0,
         {"site 1", "PLAY 1 http://f.example.org/1.flv []"}, {"site 255", "box 澜影提示: 暂不支持此网址 (owned)"}},
        {"host outside the table, /videosrc=", u"zflv://add/videosrc=http://www.example.org/v.html<&>", {}, 0,
         {"site 1", "timer start", "resolve http://www.example.org/v.html", "timer stop", "timer start"},
         {"site 255", "box 澜影提示: 暂不支持此网址 (owned)"}},
        {"host outside the table, no field", u"zflv://add/x=http://www.example.org/", {}, 0,
         {"site 1", "box 错误: 未知类型 (none)"}, {"site 255", "box 澜影提示: 暂不支持此网址 (owned)"}},
        {"no / after the host", u"zflv://play/src=http://www.ku6.com", {}, 0,
         {"site 1", "resolve http://www.ku6.com", "box 提示: URL链接已失效 (none)"},
         {"site 255", "box 澜影提示: 暂不支持此网址 (owned)"}},
        {"no http:// at all (the empty /url value of the agent)", u"zflv://play/src=", {}, 0,
         {"site 1", "resolve ", "box 提示: URL链接已失效 (none)"}, {"site 255", "box 澜影提示: 暂不支持此网址 (owned)"}},
        {"a page address longer than the item buffer is cut before it is resolved",
         u"zflv://play/src=" + longPage, {}, 0,
         {"site 1", "resolve " + Show(longPage.substr(0, 81919)), "box 提示: URL链接已失效 (none)"},
         {"site 1", "resolve " + Show(longPage.substr(0, 4095)), "box 提示: URL链接已失效 (owned)"}},
        {"the resolver at its maximum", u"zflv://play/src=" + kX, {{kX, {u"", u"", true}}}, 0, maximum, {kSame}},
        {"an address of 511 fits; a title is cut to 255",
         u"zflv://play/flv=" + address511 + u"<&>&name=" + longTitle, {}, 0,
         {"site 1", "PLAY 1 " + Show(address511) + " [" + Show(longTitle.substr(0, 255)) + "]"}, {kSame}},
        {"an address over 511 is not sent and hands LINK_PLAY on",
         u"zflv://play/flv=" + longAddress + u"<&>http://f.ku6.com/2.flv<&>", {}, 0,
         {"site 1", "PLAY 1 http://f.ku6.com/2.flv []"}, {kSame}},
        {"an empty resolver line is not sent and hands LINK_PLAY on", u"zflv://play/src=" + kY,
         {{kY, {u"\r\nhttp://f.ku6.com/b.flv\r\n\r\n", u"T"}}}, 0,
         {"site 1", "resolve " + Show(kY), "PLAY 1 http://f.ku6.com/b.flv [T]"}, {kSame}},
        {"/videosrc= numbers every line; an empty and an over-long one keep their numbers",
         u"zflv://play/videosrc=" + kX + u"<&>",
         {{kX, {u"\r\n" + longAddress + u"\r\nhttp://f.ku6.com/x2.flv\r\n", u"X"}}}, 0,
         {"site 1", "timer start", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x2.flv [X_3]", "timer stop",
          "timer start"},
         {"site 1", "resolve " + Show(kX), "PLAY 1 http://f.ku6.com/x2.flv [X_3]"}},
        {"no player: started, found at the second look", u"zflv://play/flv=http://f.ku6.com/1.flv<&>", {}, 1,
         {"site 1", kMissing, "start", "PLAY 1 http://f.ku6.com/1.flv []"},
         {"site 1", "start", "PLAY 1 http://f.ku6.com/1.flv []"}},
        {"a first address dropped for want of a player takes LINK_PLAY with it",
         u"zflv://play/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv<&>", {}, 2,
         {"site 1", kMissing, "start", kMissing, kMissing, "start", "ADD 1 http://f.ku6.com/2.flv []"},
         {"site 1", "start", kMissing, "start", "ADD 1 http://f.ku6.com/2.flv []"}},
        {"no player ever: every address tries once", u"zflv://add/flv=http://f.ku6.com/1.flv<&>http://f.ku6.com/2.flv<&>",
         {}, -1, {"site 1", kMissing, "start", kMissing, kMissing, "start", kMissing},
         {"site 1", "start", kMissing, "start", kMissing}},
    };
}

}  // namespace

TEST(HandleZflvLink, TableOfCasesForBothBuilds)
{
    for (const LinkCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Transcript(kPeloramaLink, c), c.pelorama) << "pelorama build";
        EXPECT_EQ(Transcript(kAgentLink, c), c.agent == std::vector<std::string>{kSame} ? c.pelorama : c.agent)
            << "agent build";
    }
}

TEST(HandleZflvLink, SiteCodeOfTheLinkStaysForTheNext)
{
    RecordingPlatform platform;
    auto gotoLink = platform.NewContext(u"zflv://goto/http://www.ku6.com/");
    gotoLink->siteCode = 7;
    HandleZflvLink(platform, kPeloramaLink, *gotoLink);
    EXPECT_EQ(gotoLink->siteCode, 7);  // a goto link leaves it
    auto addLink = platform.NewContext(u"zflv://add/flv=http://v.youku.com/1.flv<&>");
    addLink->siteCode = 7;
    HandleZflvLink(platform, kAgentLink, *addLink);
    EXPECT_EQ(addLink->siteCode, 3);
}

TEST(LinkRecord, ZeroFilledFixedLayout)
{
    LinkRecord record;
    std::memset(&record, 0xAB, sizeof record);
    ASSERT_TRUE(FillLinkRecord(record, u"http://a/b.flv", u"片", -2));
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&record);
    EXPECT_EQ(bytes[0], 'h');
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[1024], 0x47);  // 片 U+7247, little-endian
    EXPECT_EQ(bytes[1025], 0x72);
    EXPECT_EQ(bytes[1536], 0xFE);
    EXPECT_EQ(bytes[1539], 0xFF);
    for (size_t i = 14 * 2; i < 1024; ++i)
        ASSERT_EQ(bytes[i], 0) << "address field byte " << i;
    for (size_t i = 1026; i < 1536; ++i)
        ASSERT_EQ(bytes[i], 0) << "title field byte " << i;
    EXPECT_EQ(LINK_PLAY, 0xC179F3D9u);
    EXPECT_EQ(LINK_ADD, 0xC179F3DAu);
}

TEST(LinkRecord, AddressAndTitleLimits)
{
    struct Case {
        std::u16string address, title;
        bool filled;
        size_t titleUnits;
    } cases[] = {
        {std::u16string(511, u'a'), std::u16string(255, u't'), true, 255},
        {std::u16string(512, u'a'), u"t", false, 0},
        {u"", u"t", false, 0},
        {u"a", std::u16string(256, u't'), true, 255},
        // A pair of surrogates is never cut in half.
        {u"a", std::u16string(254, u't') + u"\U0001F3AC", true, 254},
        {u"a", std::u16string(253, u't') + u"\U0001F3AC", true, 255},
        {u"a", std::u16string(253, u't') + u"\U0001F3AC" + u"x", true, 255},
    };
    for (const Case& c : cases) {
        LinkRecord record;
        EXPECT_EQ(FillLinkRecord(record, c.address.c_str(), c.title.c_str(), 1), c.filled);
        if (!c.filled)
            continue;
        EXPECT_EQ(std::u16string(record.address), c.address);
        EXPECT_EQ(std::u16string(record.title), c.title.substr(0, c.titleUnits));
        EXPECT_EQ(record.address[511], 0);
        EXPECT_EQ(record.title[255], 0);
    }
}

TEST(IsZflvAddress, CaseSensitiveAnywhere)
{
    const struct {
        std::u16string address;
        bool zflv;
    } cases[] = {
        {u"zflv://play/src=http://a/", true},
        {u"http://portal/redirect?to=zflv://add/flv=x<&>", true},
        {u"ZFLV://play/src=http://a/", false},
        {u"zflv:/play", false},
        {u"http://www.ku6.com/", false},
        {u"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsZflvAddress(c.address), c.zflv) << Utf8(c.address);
}
