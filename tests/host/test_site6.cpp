// Site6 extractor: the interface address from the page or the player address, the
// video block, the file list and the key query on every file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"
#include "extractors.h"
#include "extractor_run.h"
#include "fake_http.h"
#include "rand_clock.h"

namespace {

const std::string kApi = std::string("http://") + cfg::Site6InterfaceHost;
// The keys of every file at the fixed clock 1234567890.
const int64_t kClock = 1234567890;
const std::string kKeys = "?start=0&key1=212989528&key2=1522887845&key3=1035950804&key4=1111636707";

std::string Reply(const std::string& video, const std::string& rest = "")
{
    return "<?xml version=\"1.0\"?><root><VIDEO>" + video + "</VIDEO>" + rest + "</root>";
}

class Site6Test : public ExtractorTest {
protected:
    std::string Run(const std::string& pageText, std::string result = "", const std::string& overrideUrl = "",
                    bool useOverride = false)
    {
        FixedCalendarTime fixed(kClock);
        page.assign(1 << 16, '\0');
        headers.assign(10240, '\0');
        work.assign(1 << 16, 'w');
        std::copy(pageText.begin(), pageText.end(), page.begin());
        ExtractSite6(page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                     static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result,
                     overrideUrl, useOverride);
        return result;
    }

    std::vector<char> page, headers, work;
};

}  // namespace

TEST_F(Site6Test, InterfaceAddressFromThePage)
{
    struct Case {
        const char* what;
        std::string page;
        std::string path;  // empty: no request, the result untouched
    } cases[] = {
        {"pid and evid: the p/k form",
         "pageMessage.evid = 'E1'; pageMessage.pid = 'P1'; pageMessage.pidKey = 'K1';", "/v72.php?p=P1&k=K1"},
        {"pid without pidKey", "pageMessage.pid = 'P1';", "/v72.php?p=P1&k="},
        {"evid alone", "pageMessage.evid = 'E1'; pageMessage.pidKey = 'K1';", "/v72.php?vid=E1"},
        {"pageMessage before var evid", "var evid = '9'; pageMessage.evid = 'E1';", "/v72.php?vid=E1"},
        {"var evid cleaned of quotes, blanks and =", "<script>var evid = '123';</script>", "/v72.php?vid=123"},
        {"var evid before vid=", "var evid='12'; x=\"a.swf?vid=34\"", "/v72.php?vid=12"},
        {"var evid with nothing left", "var evid = '';  flash=\"p.swf?vid=34\"", "/v72.php?vid=34"},
        {"vid= up to a double quote", "<embed src=\"http://6.cn/p.swf?vid=XY&a=1\">", "/v72.php?vid=XY&a=1"},
        {"empty pageMessage values", "pageMessage.pid = ''; pageMessage.evid = '';", ""},
        {"nothing", "<html>no video</html>", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kApi + c.path, Reply("<title>T</title>", "<file>http://f/1.flv</file>"));
        std::string result = Run(c.page, "before:");
        if (c.path.empty()) {
            EXPECT_EQ(result, "before:") << c.what;
            EXPECT_TRUE(fakehttp::Requests().empty()) << c.what;
            continue;
        }
        EXPECT_EQ(result, "before:<title>T</title><flv>http://f/1.flv" + kKeys + "<|></flv>") << c.what;
        ExpectOneInterfaceGet(kApi + c.path, c.what);
    }
}

TEST_F(Site6Test, InterfaceReply)
{
    const std::string page = "pageMessage.evid = 'E1';";
    struct Case {
        const char* what;
        std::string reply;
        std::string result;
    } cases[] = {
        {"files as alternatives, keys after each",
         Reply("<title>Clip</title><file>http://f/1.flv</file><file>http://f/2.flv</file>"),
         "<title>Clip</title><flv>http://f/1.flv" + kKeys + "<|>http://f/2.flv" + kKeys + "<|></flv>"},
        // The query goes after the item unchanged, also after a query of its own.
        {"item with a query", Reply("<title>T</title><file>http://f/1.flv?a=1</file>"),
         "<title>T</title><flv>http://f/1.flv?a=1" + kKeys + "<|></flv>"},
        {"vdn43 items left out, later items read",
         Reply("<title>T</title><file>http://vdn43.6.cn/1.flv</file><file>http://f/x-vdn43</file>"
               "<file>http://f/2.flv</file>"),
         "<title>T</title><flv>http://f/2.flv" + kKeys + "<|></flv>"},
        {"an empty item ends the list",
         Reply("<title>T</title><file>http://f/1.flv</file><file></file><file>http://f/3.flv</file>"),
         "<title>T</title><flv>http://f/1.flv" + kKeys + "<|></flv>"},
        {"items outside the video block", Reply("<title>T</title>", "<files><file>http://f/9.flv</file></files>"),
         "<title>T</title><flv>http://f/9.flv" + kKeys + "<|></flv>"},
        {"lower-case block when the upper-case one is empty",
         "<VIDEO></VIDEO><video><title>low</title></video><file>u</file>",
         "<title>low</title><flv>u" + kKeys + "<|></flv>"},
        {"upper-case block first", "<video><title>low</title></video><VIDEO><title>UP</title></VIDEO>",
         "<title>UP</title><flv></flv>"},
        {"no video block", "<file>u</file><title>outside</title>", "<title></title><flv>u" + kKeys + "<|></flv>"},
        // The block is cut at 2047 characters; a title beyond them is not found.
        {"title within the block's 2047 characters",
         Reply(std::string(2047 - 16, ' ') + "<title>T</title>"), "<title>T</title><flv></flv>"},
        {"title beyond the block's 2047 characters",
         Reply(std::string(2047 - 15, ' ') + "<title>T</title>"), "<title></title><flv></flv>"},
        {"empty reply", "", "<title></title><flv></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kApi + "/v72.php?vid=E1", c.reply);
        EXPECT_EQ(Run(page, "held,"), "held," + c.result) << c.what;
    }
}

TEST_F(Site6Test, FileListReplacesTheInterfaceReply)
{
    const std::string list = "http://list.6.cn/files/E1.xml";
    fakehttp::ServePage(kApi + "/v72.php?vid=E1",
                        Reply("<title>Clip</title><file_xml>" + list + "</file_xml><file>http://f/api.flv</file>"));
    fakehttp::ServePage(list, "<list><file>http://f/1.flv</file><file>http://f/2.flv</file></list>");
    EXPECT_EQ(Run("pageMessage.evid = 'E1';"),
              "<title>Clip</title><flv>http://f/1.flv" + kKeys + "<|>http://f/2.flv" + kKeys + "<|></flv>");
    ASSERT_EQ(fakehttp::Requests().size(), 2u);
    EXPECT_EQ(fakehttp::Requests()[1].server, "list.6.cn");
    EXPECT_EQ(fakehttp::Requests()[1].path, "/files/E1.xml");
    EXPECT_TRUE(fakehttp::Requests()[1].followRedirects);
    EXPECT_EQ(fakehttp::Requests()[1].headers.size(), 4u);

    // A file list that does not answer leaves the title and no files.
    fakehttp::Reset();
    fakehttp::ServePage(kApi + "/v72.php?vid=E1",
                        Reply("<title>Clip</title><file_xml>" + list + "</file_xml><file>http://f/api.flv</file>"));
    EXPECT_EQ(Run("pageMessage.evid = 'E1';"), "<title>Clip</title><flv></flv>");
    EXPECT_EQ(fakehttp::Requests().size(), 2u);
}

TEST_F(Site6Test, FailedInterfaceRequestGivesTheEmptyBlock)
{
    EXPECT_EQ(Run("pageMessage.evid = 'gone';", "x"), "x<title></title><flv></flv>");
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
}

TEST_F(Site6Test, OverrideIsFetchedExactlyAsPassedAndThePageIgnored)
{
    const std::string other = "http://elsewhere.example/any/thing?q=1&r";
    fakehttp::ServePage(other, Reply("<title>O</title><file>http://f/o.flv</file>"));
    EXPECT_EQ(Run("pageMessage.evid = 'E1';", "", other, true),
              "<title>O</title><flv>http://f/o.flv" + kKeys + "<|></flv>");
    ExpectOneInterfaceGet(other, "override");

    // Without the flag the override address is not used.
    fakehttp::Reset();
    fakehttp::ServePage(kApi + "/v72.php?vid=E1", Reply("<title>P</title>"));
    EXPECT_EQ(Run("pageMessage.evid = 'E1';", "", other, false), "<title>P</title><flv></flv>");
}

namespace {

std::string ResolveFixed(const std::string& url)
{
    FixedCalendarTime fixed(kClock);
    std::vector<char> page(1 << 16), headers(10240), work(1 << 16);
    std::string address = url, result;
    ResolveVideoPage(address, page.data(), static_cast<uint32_t>(page.size()), headers.data(), 10240, work.data(),
                     static_cast<uint32_t>(work.size()), result);
    return result;
}

}  // namespace

TEST_F(Site6Test, PlayerAddressGivesItsInterfaceThroughTheDispatcher)
{
    const std::string player = "http://www.6.cn/p/Player.SWF?p=ABC&k=DEF&x=1";
    fakehttp::ServePage(player, "player bytes");
    fakehttp::ServePage(kApi + "/v72.php?p=ABC&k=DEF&x=1", Reply("<title>P</title><file>http://f/p.flv</file>"));
    EXPECT_EQ(ResolveFixed(player), "<title>P</title><flv>http://f/p.flv" + kKeys + "<|></flv>");
    EXPECT_EQ(fakehttp::RequestsFor(player).size(), 1u);

    // Without an identifier the bare interface is still asked.
    fakehttp::Reset();
    fakehttp::ServePage("http://www.6.cn/player.swf", "player bytes");
    fakehttp::ServePage(kApi + "/v72.php?", Reply("<title>bare</title>"));
    EXPECT_EQ(ResolveFixed("http://www.6.cn/player.swf"), "<title>bare</title><flv></flv>");
}

TEST_F(Site6Test, SecondKu6DomainPlayerGetsTheKu6InterfaceAndTheEmptyBlock)
{
    // The Ku6 rule builds the override; the Site6 row reads the Ku6 reply, which has no
    // video block and no files.
    const std::string player = std::string("http://v.") + cfg::Ku6SecondKey + "/p.swf";
    fakehttp::ServePage(player, "", "HTTP/1.1 302 Found",
                        std::string("Location: http://v.") + cfg::Ku6SecondKey + "/player.swf?vid=abc&x=1\r\n");
    fakehttp::ServePage(MakeKu6ApiUrl("abc"), "{\"data\":{\"t\":\"ku6 title\",\"f\":\"http://f/1.flv\"}}");
    EXPECT_EQ(ResolveFixed(player), "<title></title><flv></flv>");
    ASSERT_EQ(fakehttp::RequestsFor(MakeKu6ApiUrl("abc")).size(), 1u);
    EXPECT_EQ(fakehttp::RequestsFor(player).size(), 1u);
}
