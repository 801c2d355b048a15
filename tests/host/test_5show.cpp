// 5show extractor: the page's identifiers posted as a form to the interface on port 88,
// the file's host from the reply, the date from p1.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "extractor_test.h"
#include "extractors.h"
#include "fiveshow.h"

namespace {

const std::string kP1 = "A_B_20081203xyz";

std::string PlayerPage(const std::string& query)
{
    return "<html><head><title>5show clip</title></head><body><embed src=\"http://www.5show.com/p.swf" + query +
           "\"></body></html>";
}

std::string Query(const std::string& p1, const std::string& uid, const std::string& flvId)
{
    return "?p1=" + p1 + "&uid=" + uid + "&flv_id=" + flvId;
}

class FiveShowTest : public ExtractorTest {
protected:
    void Serve(const std::string& body, const std::string& extraHeaders = "")
    {
        fakehttp::Serve(cfg::FiveShowInterfaceHost, "/flash.ashx",
                        fakehttp::Page(body, "HTTP/1.1 200 OK", extraHeaders), 88);
    }

    std::string Run(const std::string& pageText, std::string result = "old", size_t pageSize = 1 << 16)
    {
        return ExtractorTest::Run(WithAddress(Extract5show), "http://www.5show.com/show/1.html", pageText, result,
                                  pageSize);
    }
};

}  // namespace

TEST(FiveShowForm, SixFieldsInOrderEveryValueEncoded)
{
    EXPECT_EQ(MakeFiveShowForm(kP1, "u 1", "f/9.x"),
              "net=1&p1=A%5FB%5F20081203xyz&domain=5show%2Ecom&show%5Fid=f%2F9%2Ex&user%5Fid=u+1&key=5show%2Ecom");
    EXPECT_EQ(MakeFiveShowForm("\x80\xff~-", "a=b&c", "\""),
              "net=1&p1=%80%FF%7E%2D&domain=5show%2Ecom&show%5Fid=%22&user%5Fid=a%3Db%26c&key=5show%2Ecom");
}

TEST_F(FiveShowTest, PostsTheFormToPort88)
{
    Serve("host=f1.5show.com");
    EXPECT_EQ(Run(PlayerPage(Query(kP1, "u 1", "f/9.x"))),
              "<title>5show clip</title><flv>http://f1.5show.com/h72bd05kwn416tq3m/2008/12/03/A_B_20081203xyz.flv"
              "<|></flv>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    const FakeRequest& r = fakehttp::Requests()[0];
    EXPECT_EQ(r.verb, "POST");
    EXPECT_EQ(r.server, cfg::FiveShowInterfaceHost);
    EXPECT_EQ(r.port, 88);
    EXPECT_EQ(r.path, "/flash.ashx");
    EXPECT_EQ(r.form, MakeFiveShowForm(kP1, "u 1", "f/9.x"));
    EXPECT_EQ(r.callbackArg, 0u);
    const std::vector<std::string> headers = {
        "Accept-Language: zh-cn,zh;q=0.5\r\n", "Accept-Encoding: gzip,deflate\r\n", "Connection: keep-alive\r\n",
        "Keep-Alive: 300\r\n", "Content-type: application/x-www-form-urlencoded"};
    EXPECT_EQ(r.headers, headers);
}

TEST_F(FiveShowTest, Replies)
{
    const std::string page = PlayerPage(Query(kP1, "7", "9"));
    const std::string file = "/h72bd05kwn416tq3m/2008/12/03/A_B_20081203xyz.flv";
    struct Case {
        const char* name;
        bool served;
        std::string reply, extraHeaders;
        std::string result;
    } cases[] = {
        {"text before host=", true, "ok=1&host=f2.5show.com", "",
         "<title>5show clip</title><flv>http://f2.5show.com" + file + "<|></flv>"},
        // Everything after host= is the host, a line end too.
        {"host with a line end", true, "host=f1.5show.com\r\n", "",
         "<title>5show clip</title><flv>http://f1.5show.com\r\n" + file + "<|></flv>"},
        {"first host=", true, "host=a&host=b", "", "<title>5show clip</title><flv>http://a&host=b" + file + "<|></flv>"},
        // The reply is used as it came, whatever its headers or markers say.
        {"not inflated", true, "host=a.example", "Content-Encoding: gzip\r\n",
         "<title>5show clip</title><flv>http://a.example" + file + "<|></flv>"},
        {"not converted", true, "charset=utf-8&host=\xe4\xb8\xad", "Content-Type: text/plain; charset=utf-8\r\n",
         "<title>5show clip</title><flv>http://\xe4\xb8\xad" + file + "<|></flv>"},
        // No host: the title part goes too.
        {"no host=", true, "error=1", "", ""},
        {"empty host", true, "host=", "", ""},
        {"failed request", false, "", "", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        if (c.served)
            Serve(c.reply, c.extraHeaders);
        EXPECT_EQ(Run(page), c.result) << c.name;
        EXPECT_EQ(fakehttp::Requests().size(), 1u) << c.name;
    }
}

TEST_F(FiveShowTest, MissingIdentifierMakesNoRequest)
{
    Serve("host=f1.5show.com");
    const std::vector<std::string> queries = {Query("", "7", "9"),         Query(kP1, "", "9"),
                                              Query(kP1, "7", ""),         "?p1=" + kP1 + "&flv_id=9",
                                              "?p1=" + kP1 + "&uid=7",     "&uid=7&flv_id=9"};
    for (const std::string& query : queries) {
        // The result text stays as it was passed.
        EXPECT_EQ(Run(PlayerPage(query), "kept"), "kept") << query;
        EXPECT_TRUE(fakehttp::Requests().empty()) << query;
    }
}

TEST_F(FiveShowTest, P1WithoutAWholeDateGivesNoStream)
{
    Serve("host=f1.5show.com");
    struct Case {
        std::string p1, flv;
    } cases[] = {
        {"A_B_20081203", "<flv>http://f1.5show.com/h72bd05kwn416tq3m/2008/12/03/A_B_20081203.flv<|></flv>"},
        {"A__20081203", "<flv>http://f1.5show.com/h72bd05kwn416tq3m/2008/12/03/A__20081203.flv<|></flv>"},
        {"A_B_C_20081203", "<flv>http://f1.5show.com/h72bd05kwn416tq3m/C_20/08/12/A_B_C_20081203.flv<|></flv>"},
        // Fewer than two underscores, or fewer than eight characters after the second.
        {"A_B_2008120", "<flv></flv>"},
        {"A_B_", "<flv></flv>"},
        {"A_20081203", "<flv></flv>"},
        {"20081203", "<flv></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        Serve("host=f1.5show.com");
        EXPECT_EQ(Run(PlayerPage(Query(c.p1, "7", "9"))), "<title>5show clip</title>" + c.flv) << c.p1;
    }
}

TEST_F(FiveShowTest, FullReplyKeepsItsTerminator)
{
    // The reply is longer than the page buffer: it is cut one byte short of the buffer,
    // whose last byte stays the terminator.
    const size_t size = 256;
    Serve("host=" + std::string(1000, 'h'));
    std::string result = Run(PlayerPage(Query(kP1, "7", "9")), "old", size);
    EXPECT_EQ(run.page.size(), size);
    EXPECT_EQ(run.page[size - 1], '\0');
    EXPECT_EQ(result, "<title>5show clip</title><flv>http://" + std::string(size - 1 - 5, 'h') +
                          "/h72bd05kwn416tq3m/2008/12/03/A_B_20081203xyz.flv<|></flv>");
}
