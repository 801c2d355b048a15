// Ku6 extractor: the page's script object or the interface reply, commas to alternatives.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "extractors.h"
#include "fake_http.h"

namespace {

const char* kPageUrl = "http://v.ku6.com/show/abc.html";

class Ku6Test : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    void TearDown() override { fakehttp::Reset(); }

    // Runs the extractor on a page text; result holds what it held before.
    std::string Run(const std::string& pageText, std::string result = "", const std::string& overrideUrl = "",
                    bool useOverride = false)
    {
        page.assign(1 << 16, '\0');
        headers.assign(10240, '\0');
        work.assign(1 << 16, 'w');
        std::copy(pageText.begin(), pageText.end(), page.begin());
        ExtractKu6(kPageUrl, page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                   static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result,
                   overrideUrl, useOverride);
        return result;
    }

    std::vector<char> page, headers, work;
};

std::string ObjectPage(const std::string& data)
{
    return "<html><script>var $ns.ObjectInfo = {\"id\":\"x1\",\"data\":{" + data + "}};</script></html>";
}

}  // namespace

TEST(MakeKu6ApiUrl, PathFromVid)
{
    EXPECT_EQ(MakeKu6ApiUrl("abc"), std::string("http://") + cfg::Ku6InterfaceHost + "/fetchVideo4Player/1/abc.html");
    EXPECT_EQ(MakeKu6ApiUrl(""), "");
}

TEST_F(Ku6Test, PageScriptObject)
{
    struct Case {
        const char* name;
        std::string page;
        std::string before;  // the result text on entry
        std::string result;
    } cases[] = {
        {"three addresses", ObjectPage("\"t\":\"Clip\",\"f\":\"http://a/1.flv,http://a/2.flv,http://a/3.flv\""), "",
         "<title>Clip</title><flv>http://a/1.flv<|>http://a/2.flv<|>http://a/3.flv<|></flv>"},
        {"one address", ObjectPage("\"t\":\"Clip\",\"f\":\"http://a/1.flv\""), "",
         "<title>Clip</title><flv>http://a/1.flv<|></flv>"},
        {"trailing comma", ObjectPage("\"t\":\"Clip\",\"f\":\"http://a/1.flv,\""), "",
         "<title>Clip</title><flv>http://a/1.flv<|><|></flv>"},
        // Every comma of the whole text changes, the title's and what stood before.
        {"comma in title", ObjectPage("\"t\":\"One, two\",\"f\":\"u\""), "old,text",
         "old<|>text<title>One<|> two</title><flv>u<|></flv>"},
        // U+4E2D U+6587 in code page 936; an escaped comma splits like any other.
        {"escapes", ObjectPage("\"t\":\"\\u4e2d\\u6587 A\",\"f\":\"http:\\/\\/a\\u002fb\\u002cc\""), "",
         "<title>\xd6\xd0\xce\xc4 A</title><flv>http:\\/\\/a/b<|>c<|></flv>"},
        {"fields only after data", "<script>$ns.ObjectInfo = {\"t\":\"outer\",\"data\":{\"f\":\"u\"}}</script>", "",
         "<title></title><flv>u<|></flv>"},
        {"no script object", "<script>var info = {\"data\":{\"t\":\"T\",\"f\":\"u\"}}</script>", "",
         "<title></title><flv><|></flv>"},
        {"object without end", "$ns.ObjectInfo = {\"data\":{\"t\":\"T\",\"f\":\"u\"}}", "",
         "<title></title><flv><|></flv>"},
        {"no data part", "<script>$ns.ObjectInfo = {\"t\":\"T\",\"f\":\"u\"}</script>", "",
         "<title></title><flv><|></flv>"},
        {"empty page", "", "", "<title></title><flv><|></flv>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.page, c.before), c.result) << c.name;
        EXPECT_TRUE(fakehttp::Requests().empty()) << c.name;
    }
}

TEST_F(Ku6Test, FieldsOnlyWithinTheFirst4095CharactersOfTheObject)
{
    // The object text begins right after "$ns.ObjectInfo"; its title's closing quote at
    // index 4094 is inside the 4095 characters kept, at 4095 it is not.
    const std::string head = "{\"data\":{\"f\":\"F\",";
    const std::string field = "\"t\":\"T";
    for (size_t quoteAt : {4094u, 4095u}) {
        std::string object = head + std::string(quoteAt - head.size() - field.size(), ' ') + field + "\"}}";
        ASSERT_EQ(object.find("T\"}}"), quoteAt - 1);
        std::string page = "<script>$ns.ObjectInfo" + object + "</script>";
        EXPECT_EQ(Run(page), quoteAt == 4094 ? "<title>T</title><flv>F<|></flv>" : "<title></title><flv>F<|></flv>")
            << quoteAt;
    }
}

TEST_F(Ku6Test, OverrideFetchesTheInterfaceInPlaceOfThePage)
{
    const std::string api = MakeKu6ApiUrl("XMTIz");
    fakehttp::ServePage(api, "{\"data\":{\"t\":\"Api, title\",\"f\":\"http://k/1.flv,http://k/2.flv\"}}");
    // The page's own object is not read.
    std::string result = Run(ObjectPage("\"t\":\"Page\",\"f\":\"http://p/1.flv\""), "", api, true);
    EXPECT_EQ(result, "<title>Api<|> title</title><flv>http://k/1.flv<|>http://k/2.flv<|></flv>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    const FakeRequest& r = fakehttp::Requests()[0];
    EXPECT_EQ(r.verb, "GET");
    EXPECT_EQ(r.server, cfg::Ku6InterfaceHost);
    EXPECT_EQ(r.port, 80);
    EXPECT_EQ(r.path, "/fetchVideo4Player/1/XMTIz.html");
    EXPECT_TRUE(r.followRedirects);
    EXPECT_EQ(r.headers.size(), 4u);
}

TEST_F(Ku6Test, OverrideAddressIsFetchedExactlyAsGiven)
{
    // The whole reply is the source, without a script object or a data part.
    const std::string other = "http://elsewhere.example/x/?vid=7&a=b";
    fakehttp::ServePage(other, "\"f\":\"u1,u2\" \"t\":\"T\"");
    EXPECT_EQ(Run("", "", other, true), "<title>T</title><flv>u1<|>u2<|></flv>");
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    EXPECT_EQ(fakehttp::Requests()[0].server, "elsewhere.example");
    EXPECT_EQ(fakehttp::Requests()[0].path, "/x/?vid=7&a=b");
}

TEST_F(Ku6Test, FailedInterfaceRequestGivesTheEmptyBlock)
{
    // Nothing served: the page buffer comes back empty, the page's fields are gone.
    EXPECT_EQ(Run(ObjectPage("\"t\":\"Page\",\"f\":\"u\""), "", MakeKu6ApiUrl("gone"), true),
              "<title></title><flv><|></flv>");
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
}

TEST_F(Ku6Test, OverrideAddressWithoutTheFlagIsIgnored)
{
    EXPECT_EQ(Run(ObjectPage("\"t\":\"Page\",\"f\":\"u\""), "", MakeKu6ApiUrl("abc"), false),
              "<title>Page</title><flv>u<|></flv>");
    EXPECT_TRUE(fakehttp::Requests().empty());
}
