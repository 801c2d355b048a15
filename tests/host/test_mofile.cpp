// Mofile extractor: the video key after the player marker, the play interface's file
// record, and the shifted value of the download address.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "extractor_test.h"
#include "extractors.h"
#include "mofile.h"

namespace {

const std::string kPlay = std::string("http://") + cfg::MofilePlayHost + "/cn/videoplay/play.do?v=";

std::string PlayerPage(const std::string& key)
{
    return "<html><head><title>Mofile clip</title></head><body><div id=\"player\" v=\"" + key +
           "\"></div></body></html>";
}

std::string Record(const std::string& domain, const std::string& path, const std::string& down,
                   const std::string& md5, const std::string& audit)
{
    return "<?xml version=\"1.0\"?><movie><domain>" + domain + "</domain><path>" + path + "</path><downdomainname>" +
           down + "</downdomainname><md5>" + md5 + "</md5><auditTime>" + audit + "</auditTime></movie>";
}

class MofileTest : public ExtractorTest {
protected:
    std::string Run(const std::string& pageText)
    {
        return ExtractorTest::Run(WithAddress(ExtractMofile), "http://tv.mofile.com/AB12/", pageText);
    }
};

}  // namespace

TEST(MofileShift, SubstitutionKeyTenPlacesOn)
{
    struct Case {
        const char* name;
        std::string text, shifted;
    } cases[] = {
        {"empty", "", "10"},
        {"first and last place", "Mu", "10Ww"},
        // Places 52 to 61 wrap to 0 to 9.
        {"wrap", "IpKlOfLiPu", "10Mk5QsAo8Zw"},
        {"letter case differs", "mM", "10OW"},
        // Everything outside the key becomes the key's character at place 9.
        {"outside the key", std::string("/._ \x80\xff-", 7), "10wwwwwww"},
        {"address value", "/v/2008/clip.flv0123abcd20081203", "10wKw9330wuQ8kwAQK3491hnuj93304931"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftAlphabet(c.text), c.shifted) << c.name;
}

TEST(MofileShift, JoinCharsEndsEachWithTheSeparator)
{
    EXPECT_EQ(JoinChars({'a', 'b', 'c'}, ""), "abc");
    EXPECT_EQ(JoinChars({'a', 'b'}, "-"), "a-b-");
    EXPECT_EQ(JoinChars({}, "-"), "");
}

TEST_F(MofileTest, FileRecordToDownloadAddress)
{
    struct Case {
        const char* name;
        std::string reply;
        std::string flv;  // the list part; empty: the title part only
    } cases[] = {
        {"record", Record("dl.mofile.com/f", "/v/2008/clip.flv", "cn1", "0123abcd", "20081203"),
         "<flv>http://dl.mofile.com/f?p=10wKw9330wuQ8kwAQK3491hnuj93304931&down=cn1<|></flv>"},
        {"empty path, md5 and audit time", Record("d", "", "cn1", "", ""), "<flv>http://d?p=10&down=cn1<|></flv>"},
        {"fields missing but the domain", "<movie><domain>d</domain></movie>", "<flv>http://d?p=10&down=<|></flv>"},
        // No domain, no server to download from: an empty list.
        {"empty domain", Record("", "/v/a.flv", "cn1", "ab", "1"), "<flv></flv>"},
        {"no fields", "<movie></movie>", "<flv></flv>"},
        {"list", "<list><movie>" + Record("d", "p", "c", "m", "a") + "</movie></list>", ""},
        {"list after the movie", Record("d", "p", "c", "m", "a") + "<list>", ""},
        {"no movie", "<result>none</result>", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kPlay + "AB12", c.reply);
        EXPECT_EQ(Run(PlayerPage("AB12")), "<title>Mofile clip</title>" + c.flv) << c.name;
        ExpectOneGet(cfg::MofilePlayHost, "/cn/videoplay/play.do?v=AB12", c.name);
    }
}

TEST_F(MofileTest, VideoKeyAfterThePlayerMarker)
{
    struct Case {
        const char* name;
        std::string page, key;
    } cases[] = {
        {"in the player block", PlayerPage("AB12"), "AB12"},
        {"only before the marker", "<title>T</title><a v=\"XX\"></a><div id=\"player\"></div>", ""},
        {"before and after", "<a v=\"XX\"></a><div id=\"player\" class=\"p\" v=\"YY\">", "YY"},
        {"no marker", "<title>T</title><div id=player v=\"AB12\"></div>", ""},
        {"empty page", "", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        Run(c.page);
        // The request is made also without a key.
        ASSERT_EQ(fakehttp::Requests().size(), 1u) << c.name;
        EXPECT_EQ(fakehttp::Requests()[0].path, "/cn/videoplay/play.do?v=" + c.key) << c.name;
    }
}

TEST_F(MofileTest, FailedRequestGivesTheTitlePartOnly)
{
    EXPECT_EQ(Run(PlayerPage("AB12")), "<title>Mofile clip</title>");
}
