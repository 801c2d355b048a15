// Bokecc extractor: the video id of the page address and the status interface's FLV paths.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "extractor_run.h"
#include "extractors.h"
#include "fake_http.h"

namespace {

const std::string kStatus = std::string("http://") + cfg::BokeccInterfaceHost + "/servlet/GetVideoStatus?videoID=";

std::string Status(const std::string& title, const std::string& paths)
{
    return "<?xml version=\"1.0\"?><video title=\"" + title + "\" status=\"1\">" + paths + "</video>";
}

std::string Path(const std::string& p)
{
    return "<file flvPath=\"" + p + "\" size=\"1\"/>";
}

class BokeccTest : public ExtractorTest {};

}  // namespace

TEST_F(BokeccTest, RequestIdIsThePartAfterTheFirstUnderscore)
{
    const std::string page = "http://www.bokecc.com/play.bo?";
    const std::string asked = "<title>T</title><flv>http://f/1.flv<|></flv>";
    const std::string none = "<title></title><flv></flv>";
    const AskCase cases[] = {
        {"id with _", page + "videoID=user_123&a=1", "", kStatus + "123", asked},
        {"only the first _ counts", page + "a=1&videoID=u_1_2&", "", kStatus + "1_2", asked},
        {"id without _: an empty id is asked", page + "videoID=abc&a=1", "", kStatus, asked},
        {"id that ends at _", page + "videoID=abc_&", "", kStatus, asked},
        {"videoID= last, no & after it", page + "videoID=user_123", "", "", none},
        {"empty id", page + "videoID=&a=1", "", "", none},
        {"no videoID=", page + "vid=user_1&", "", "", none},
    };
    for (const AskCase& c : cases)
        CheckAsk(run, ExtractBokecc, c, Status("T", Path("http://f/1.flv")));
}

TEST_F(BokeccTest, EveryFlvPathGetsAListBlockOfItsOwn)
{
    struct Case {
        const char* what;
        std::string reply, result;
    } cases[] = {
        {"one path", Status("One", Path("http://f/1.flv")), "<title>One</title><flv>http://f/1.flv<|></flv>"},
        {"two paths", Status("Two", Path("http://f/1.flv") + Path("http://f/2.flv")),
         "<title>Two</title><flv>http://f/1.flv<|></flv><flv>http://f/2.flv<|></flv>"},
        {"three paths in reply order", Status("", Path("c") + Path("a") + Path("b")),
         "<title></title><flv>c<|></flv><flv>a<|></flv><flv>b<|></flv>"},
        {"an empty path ends the list", Status("T", Path("a") + Path("") + Path("c")),
         "<title>T</title><flv>a<|></flv>"},
        {"a path without its closing quote ends the list", Status("T", Path("a")) + "flvPath=\"b",
         "<title>T</title><flv>a<|></flv>"},
        {"no paths: the title alone", Status("T", ""), "<title>T</title>"},
        {"no title", "<video>" + Path("a") + "</video>", "<title></title><flv>a<|></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kStatus + "9", c.reply);
        EXPECT_EQ(run(ExtractBokecc, "http://www.bokecc.com/p?videoID=u_9&", "", "old"), c.result) << c.what;
    }
}

TEST_F(BokeccTest, FailedRequestLeavesTheTitleAlone)
{
    EXPECT_EQ(run(ExtractBokecc, "http://www.bokecc.com/p?videoID=u_9&", "", "old"), "<title></title>");
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
}

TEST_F(BokeccTest, LongVideoIdIsAskedWhole)
{
    // The id is read into 1279 characters; what follows its "_" goes into the request
    // address, which is built to its full length.
    const std::string id = "u_" + std::string(3000, '7');
    const std::string kept(1279 - 2, '7');
    fakehttp::ServePage(kStatus + kept, Status("Long", Path("a")));
    EXPECT_EQ(run(ExtractBokecc, "http://www.bokecc.com/p?videoID=" + id + "&", ""),
              "<title>Long</title><flv>a<|></flv>");
    ExpectOneInterfaceGet(kStatus + kept, "long id");
}
