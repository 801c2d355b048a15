// The library's resolution exports, loaded from vennix.dll, against the fixture web.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class LibraryExports : public LibraryTest {};

size_t CountPath(const std::vector<RecordedRequest>& rec, const std::string& prefix)
{
    size_t n = 0;
    for (const RecordedRequest& r : rec)
        n += r.target.compare(0, prefix.size(), prefix) == 0;
    return n;
}

}  // namespace

TEST_F(LibraryExports, Ku6PageGivesItsFirstLiveAlternativeAndChineseTitle)
{
    std::vector<wchar_t> lines(FLV_URL_DW_LINES_UNITS, L'#'), title(FLV_URL_DW_TITLE_UNITS, L'#');
    urlDirectlyW(L"http://www.ku6.com/show/abc.html", lines.data(), title.data());
    EXPECT_EQ(std::wstring(lines.data()), L"http://f.ku6.com/b.flv\r\n");
    EXPECT_EQ(std::wstring(title.data()), L"中文 clip");
    // The page was probed, then fetched; the first two alternatives were checked.
    std::vector<RecordedRequest> page = FixtureRecordFor("www.ku6.com");
    ASSERT_EQ(page.size(), 2u);
    EXPECT_EQ(page[0].requestLine, "GET /show/abc.html HTTP/1.0");
    EXPECT_EQ(FixtureRecordFor("f.ku6.com").size(), 2u);
    EXPECT_EQ(CountPath(FixtureRecordFor(cfg::ServiceHost), "/"), 0u);

    std::vector<wchar_t> l2(FLV_URL_W_LINES_UNITS), t2(FLV_URL_W_TITLE_UNITS);
    urlW(L"http://www.ku6.com/show/abc.html", l2.data(), t2.data());
    EXPECT_EQ(std::wstring(l2.data()), L"http://f.ku6.com/b.flv\r\n");
    EXPECT_EQ(std::wstring(t2.data()), L"中文 clip");
}

TEST_F(LibraryExports, SinaPageGivesItsSegmentsInOrder)
{
    std::vector<wchar_t> lines(FLV_URL_DW_LINES_UNITS), title(FLV_URL_DW_TITLE_UNITS);
    urlDirectlyW(L"http://www.sina.com.cn/v/b/12345-1.html", lines.data(), title.data());
    EXPECT_EQ(std::wstring(lines.data()),
              L"http://f.sina.com.cn/1.flv\r\nhttp://f.sina.com.cn/2.flv\r\nhttp://f.sina.com.cn/3.flv\r\n");
    EXPECT_EQ(std::wstring(title.data()), L"新浪 clip");
    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::SinaInterfaceHost);
    ASSERT_EQ(api.size(), 1u);
    EXPECT_EQ(api[0].target, "/v_play.php?vid=12345");
}

TEST_F(LibraryExports, StoredResultAndUpload)
{
    std::vector<char> out(FLV_LIST_A_SIZE);
    listA("http://www.ku6.com/show/stored.html", out.data());
    EXPECT_STREQ(out.data(), "<title>stored</title><flv>http://f.ku6.com/stored.flv<|></flv>");
    EXPECT_EQ(CountPath(FixtureRecordFor("www.ku6.com"), "/show/stored.html"), 0u);

    ASSERT_TRUE(FixtureReset());
    listA("http://www.ku6.com/show/abc.html", out.data());
    EXPECT_STREQ(out.data(), "<title>\xd6\xd0\xce\xc4 clip</title><flv>http://f.ku6.com/b.flv<|>http://f.ku6.com/c.flv<|></flv>");
    std::vector<RecordedRequest> store = FixtureRecordFor(cfg::ServiceHost);
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[0].target, "/flvStorage/find.php?url=http%3A%2F%2Fwww%2Eku6%2Ecom%2Fshow%2Fabc%2Ehtml");
    EXPECT_EQ(store[1].target,
              "/flvStorage/cache.php?url=http%3A%2F%2Fwww%2Eku6%2Ecom%2Fshow%2Fabc%2Ehtml"
              "&flv=http%3A%2F%2Ff%2Eku6%2Ecom%2Fb%2Eflv%3C%7C%3Ehttp%3A%2F%2Ff%2Eku6%2Ecom%2Fc%2Eflv%3C%7C%3E"
              "&title=%E4%B8%AD%E6%96%87+clip");

    ASSERT_TRUE(FixtureReset());
    listDirectlyA("http://www.ku6.com/show/abc.html", out.data());
    EXPECT_STREQ(out.data(), "<title>\xd6\xd0\xce\xc4 clip</title><flv>http://f.ku6.com/b.flv<|></flv>");
    EXPECT_EQ(FixtureRecordFor(cfg::ServiceHost).size(), 0u);
}
