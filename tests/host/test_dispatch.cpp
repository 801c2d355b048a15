// The dispatcher's fetches and redirect rules, over the in-process transport.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"
#include "extractors.h"
#include "fake_http.h"
#include "rand_clock.h"

namespace {

const uint32_t kSize = 65536;

std::string Ku6Page(const std::string& title, const std::string& list)
{
    return "<script>$ns.ObjectInfo = {\"id\":\"x\",\"data\":{\"t\":\"" + title + "\",\"f\":\"" + list +
           "\"}};</script>";
}

struct Outcome {
    std::string url, result;
    DispatchPlan plan;
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    Outcome Resolve(const std::string& url)
    {
        std::vector<char> page(kSize), headers(10240), work(kSize);
        Outcome r;
        r.url = url;
        ResolveVideoPage(r.url, page.data(), kSize, headers.data(), 10240, work.data(), kSize, r.result);
        return r;
    }
    Outcome Plan(const std::string& url)
    {
        std::vector<char> page(kSize), headers(10240), work(kSize);
        Outcome r;
        r.url = url;
        r.plan = FetchForDispatch(r.url, page.data(), kSize, headers.data(), 10240, work.data(), kSize);
        return r;
    }
    // The requests for url: 'p' for the probe (no redirects), 'f' for a fetch following them.
    static std::string Fetches(const std::string& url)
    {
        std::string s;
        for (const FakeRequest& r : fakehttp::RequestsFor(url))
            s += r.followRedirects ? 'f' : 'p';
        return s;
    }
};

}  // namespace

TEST_F(Dispatch, OrdinaryPageIsFetchedTwiceAndTheSecondReplyCounts)
{
    const std::string url = "http://www.ku6.com/show/a.html";
    fakehttp::ServeSequence(url, {fakehttp::Page(Ku6Page("first", "http://f/1")),
                                  fakehttp::Page(Ku6Page("second", "http://f/2"))});
    Outcome r = Resolve(url);
    EXPECT_EQ(Fetches(url), "pf");
    EXPECT_EQ(r.result, "<title>second</title><flv>http://f/2<|></flv>");
    EXPECT_FALSE(r.plan.useOverride);
}

TEST_F(Dispatch, RedirectRules)
{
    const std::string ku6Api = MakeKu6ApiUrl("abc");
    struct Case {
        const char* what;
        std::string url, status, location;
        std::string fetches;  // of the page address
        std::string overrideUrl;
        std::string urlAfter;
        const char* site;
    } cases[] = {
        {"302 to a target without .swf: the page again, not the target", "http://www.ku6.com/a.html",
         "HTTP/1.1 302 Found", "http://www.ku6.com/b.html", "pf", "", "http://www.ku6.com/a.html", "Ku6"},
        {"301 without Location: no second fetch", "http://www.ku6.com/a.html", "HTTP/1.1 301 Moved", "", "p", "",
         "http://www.ku6.com/a.html", "Ku6"},
        {"303 is no redirect here", "http://www.ku6.com/a.html", "HTTP/1.1 303 See Other",
         "http://www.ku6.com/p.swf?vid=abc&", "pf", "", "http://www.ku6.com/a.html", "Ku6"},
        {"Ku6 player to .swf: interface override", "http://www.ku6.com/p.swf", "HTTP/1.1 302 Found",
         "http://www.ku6.com/player.swf?vid=abc&auto=1", "p", ku6Api, "http://www.ku6.com/p.swf", "Ku6"},
        {"second Ku6 domain: Site6 row with the Ku6 override", "http://v.ku6.cn/p.swf", "HTTP/1.1 302 Found",
         "http://v.ku6.cn/player.swf?vid=abc&x", "p", ku6Api, "http://v.ku6.cn/p.swf", "Site6"},
        {"a vid at the end with no & reads as empty", "http://www.ku6.com/p.swf", "HTTP/1.1 302 Found",
         "http://www.ku6.com/player.swf?vid=abc", "p", "", "http://www.ku6.com/p.swf", "Ku6"},
        // The target is read as the header gave it, letter case kept.
        {"Youku player to .swf: play-list override", "http://www.youku.com/player.swf", "HTTP/1.1 302 Found",
         "http://www.youku.com/x/PlayER.swf?VideoIDS=XaBc&winType=adshow&", "p",
         std::string("http://") + cfg::YoukuPlayListHost +
             "/player/getPlayList/VideoIDS/XaBc/version/5/source/video/password/?ran=1178&n=3",
         "http://www.youku.com/player.swf", "Youku"},
        {"Tudou player to .swf: interface override", "http://www.tudou.com/v/x.swf", "HTTP/1.1 302 Found",
         "http://www.tudou.com/player/outside/player.swf?iid=77&refurl=http://x/Y&z=1", "p",
         std::string("http://") + cfg::TudouInterfaceHost1 + "/cdn/v2.php?noCatch=4290&id=77&refurl=http://x/Y&z=1",
         "http://www.tudou.com/v/x.swf", "Tudou"},
        {"Tudou target without .swf: the page again", "http://www.tudou.com/programs/view/a/", "HTTP/1.1 302 Found",
         "http://www.tudou.com/programs/view/b/?iid=1&", "pf", "", "http://www.tudou.com/programs/view/a/", "Tudou"},
        {"Site56 player rebuilt and fetched", "http://www.56.com/n.swf", "HTTP/1.1 302 Found",
         "http://www.56.com/player.swf?URLid=2009_x&flvid=1000&", "", "",
         std::string("http://") + cfg::Site56PageHost + "/l43/v_MTAwMA=.html", "Site56"},
        {"Site56 target without flvid", "http://www.56.com/n.swf", "HTTP/1.1 302 Found",
         "http://www.56.com/player.swf?URLid=2009_x&", "", "",
         std::string("http://") + cfg::Site56PageHost + "/l11/v_.html", "Site56"},
        {"other site's .swf target: nothing", "http://www.sina.com.cn/p.swf", "HTTP/1.1 302 Found",
         "http://www.sina.com.cn/x.swf?vid=1&", "p", "", "http://www.sina.com.cn/p.swf", "Sina"},
    };
    // The Youku rule draws its "ran" value: srand(1234567890), then rand() % 9999.
    FixedCalendarTime clock(1234567890);
    for (const Case& c : cases) {
        fakehttp::Reset();
        std::string extra = c.location.empty() ? "" : "Location: " + c.location + "\r\n";
        fakehttp::ServePage(c.url, "redirect body", c.status, extra);
        Outcome r = Plan(c.url);
        std::string fetches = Fetches(c.url);
        if (c.urlAfter != c.url)  // the rebuilt address is what is fetched after the probe
            fetches = Fetches(c.url) + "|" + Fetches(c.urlAfter);
        std::string want = c.urlAfter != c.url ? "p|f" : c.fetches;
        EXPECT_EQ(fetches, want) << c.what;
        EXPECT_EQ(r.plan.overrideUrl, c.overrideUrl) << c.what;
        EXPECT_EQ(r.plan.useOverride, !c.overrideUrl.empty()) << c.what;
        EXPECT_EQ(r.url, c.urlAfter) << c.what;
        EXPECT_STREQ(DispatchSite(DispatchRow(r.url)), c.site) << c.what;
    }
}

TEST_F(Dispatch, HeaderBufferOfSizeZeroIsNeitherReadNorWritten)
{
    // Without the reply's headers no redirect is seen: the page is fetched again.
    const std::string url = "http://www.ku6.com/p.swf";
    const std::string stale = "HTTP/1.1 302 Found\r\nLocation: http://www.ku6.com/player.swf?vid=abc&a=1\r\n";
    struct Case {
        const char* what;
        std::vector<char> block;
    } cases[] = {
        {"a redirect's text left in it", std::vector<char>(stale.c_str(), stale.c_str() + stale.size() + 1)},
        {"one byte without a terminator", std::vector<char>(1, 'H')},
        {"no block", {}},
    };
    for (Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(url, "", "HTTP/1.1 302 Found", "Location: http://www.ku6.com/player.swf?vid=abc&a=1\r\n");
        const std::vector<char> before = c.block;
        std::vector<char> page(kSize), work(kSize);
        std::string pageUrl = url;
        DispatchPlan plan = FetchForDispatch(pageUrl, page.data(), kSize, c.block.empty() ? nullptr : c.block.data(),
                                             0, work.data(), kSize);
        EXPECT_EQ(Fetches(url), "pf") << c.what;
        EXPECT_FALSE(plan.useOverride) << c.what;
        EXPECT_EQ(plan.overrideUrl, "") << c.what;
        EXPECT_EQ(c.block, before) << c.what;
    }
}

TEST_F(Dispatch, Ku6ExtractorReadsTheInterfaceGivenByTheRedirect)
{
    const std::string url = "http://www.ku6.com/p.swf";
    fakehttp::ServePage(url, "", "HTTP/1.1 302 Found", "Location: http://www.ku6.com/player.swf?vid=abc&a=1\r\n");
    fakehttp::ServePage(MakeKu6ApiUrl("abc"), "{\"data\":{\"t\":\"api title\",\"f\":\"http://f/1,http://f/2\"}}");
    Outcome r = Resolve(url);
    EXPECT_EQ(Fetches(url), "p");
    EXPECT_EQ(r.result, "<title>api title</title><flv>http://f/1<|>http://f/2<|></flv>");
}

TEST_F(Dispatch, PlayerAddressOfSite6IsNotFetchedAgain)
{
    const std::string url = "http://www.6.cn/Player.SWF?flag=1";
    fakehttp::ServePage(url, "player");
    Outcome r = Plan(url);
    EXPECT_EQ(Fetches(url), "p");
    EXPECT_STREQ(DispatchSite(DispatchRow(url)), "Site6");
}

TEST_F(Dispatch, PagesWithoutAnExtractorGiveNothing)
{
    for (const std::string url : {"http://www.aol.com/video/1", "http://www.example.org/v/1", "www.ku6.com/a.html"}) {
        fakehttp::Reset();
        fakehttp::ServePage(url, Ku6Page("t", "http://f/1"));
        Outcome r = Resolve(url);
        EXPECT_EQ(r.result, "") << url;
    }
    EXPECT_STREQ(DispatchSite(DispatchRow("http://www.aol.com/video/1")), "AOL");
    EXPECT_EQ(DispatchRow("http://www.example.org/v/1"), -1);
    EXPECT_EQ(DispatchRow("www.ku6.com/a.html"), -1);
    // Host keys are matched in a lower-cased address.
    EXPECT_STREQ(DispatchSite(DispatchRow("http://WWW.KU6.COM/A.html")), "Ku6");
}

namespace {

// What an extractor of each form received.
struct Received {
    std::string form, url, overrideUrl;
    char* page = nullptr;
    char* headers = nullptr;
    char* work = nullptr;
    uint32_t sizes[3] = {0, 0, 0};
    bool useOverride = false;
};
Received g_received;

void Keep(const char* form, const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
          char* work, uint32_t workSize, std::string& result)
{
    g_received = Received();
    g_received.form = form;
    g_received.url = url ? url : "(none)";
    g_received.page = page;
    g_received.headers = headers;
    g_received.work = work;
    g_received.sizes[0] = pageSize;
    g_received.sizes[1] = headerSize;
    g_received.sizes[2] = workSize;
    result += form;
}
void ByAddress(const char* url, char* p, uint32_t ps, char* h, uint32_t hs, char* w, uint32_t ws, std::string& r)
{
    Keep("address", url, p, ps, h, hs, w, ws, r);
}
void ByAddressAndOverride(const char* url, char* p, uint32_t ps, char* h, uint32_t hs, char* w, uint32_t ws,
                          std::string& r, std::string o, bool use)
{
    Keep("address+override", url, p, ps, h, hs, w, ws, r);
    g_received.overrideUrl = o;
    g_received.useOverride = use;
}
void ByBuffers(char* p, uint32_t ps, char* h, uint32_t hs, char* w, uint32_t ws, std::string& r)
{
    Keep("buffers", nullptr, p, ps, h, hs, w, ws, r);
}
void ByBuffersAndOverride(char* p, uint32_t ps, char* h, uint32_t hs, char* w, uint32_t ws, std::string& r,
                          std::string o, bool use)
{
    Keep("buffers+override", nullptr, p, ps, h, hs, w, ws, r);
    g_received.overrideUrl = o;
    g_received.useOverride = use;
}

}  // namespace

TEST(DispatchForms, EachFormGetsItsArgumentsInOrder)
{
    struct Case {
        Extractor e;
        const char* form;
        const char* url;
        bool override;
    } cases[] = {
        {WithAddress(ByAddress), "address", "http://a/b", false},
        {WithAddressAndOverride(ByAddressAndOverride), "address+override", "http://a/b", true},
        {WithBuffers(ByBuffers), "buffers", "(none)", false},
        {WithBuffersAndOverride(ByBuffersAndOverride), "buffers+override", "(none)", true},
    };
    char page[8], headers[4], work[16];
    for (const Case& c : cases) {
        std::string result = "r:";
        CallExtractor(c.e, "http://a/b", page, 8, headers, 4, work, 16, result, "http://o/p", true);
        EXPECT_EQ(result, std::string("r:") + c.form);
        EXPECT_EQ(g_received.form, c.form);
        EXPECT_EQ(g_received.url, c.url) << c.form;
        EXPECT_EQ(g_received.page, page) << c.form;
        EXPECT_EQ(g_received.headers, headers) << c.form;
        EXPECT_EQ(g_received.work, work) << c.form;
        EXPECT_EQ(g_received.sizes[0], 8u) << c.form;
        EXPECT_EQ(g_received.sizes[1], 4u) << c.form;
        EXPECT_EQ(g_received.sizes[2], 16u) << c.form;
        EXPECT_EQ(g_received.overrideUrl, c.override ? "http://o/p" : "") << c.form;
        EXPECT_EQ(g_received.useOverride, c.override) << c.form;
    }
    // A row without an extractor, or with its form only, does nothing.
    for (const Extractor& e : {NoExtractor(), WithBuffers(nullptr), WithBuffersAndOverride(nullptr)}) {
        std::string result = "kept";
        g_received = Received();
        CallExtractor(e, "http://a/b", page, 8, headers, 4, work, 16, result, "http://o/p", true);
        EXPECT_EQ(result, "kept");
        EXPECT_EQ(g_received.form, "");
    }
}
