// The list and address-line exports end to end over the in-process transport.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "fake_http.h"
#include "store.h"
#include "vennix.h"

namespace {

const std::string kPage = "http://www.ku6.com/show/abc.html";
const std::string kSinaPage = "http://www.sina.com.cn/v/b/12345-1.html";

std::string Ku6Page(const std::string& title, const std::string& list)
{
    return "<script>$ns.ObjectInfo = {\"data\":{\"t\":\"" + title + "\",\"f\":\"" + list + "\"}};</script>";
}

std::string StoreLookup(const std::string& page)
{
    return std::string("http://") + cfg::ServiceHost + "/flvStorage/find.php?url=" + UrlEncode(page);
}

// Guarded caller buffers: the byte after the size must stay untouched.
template <class T>
struct Guarded {
    explicit Guarded(size_t n, T fill = T('#')) : data(n + 64, fill), size(n), fill(fill) {}
    ~Guarded()
    {
        for (size_t i = size; i < data.size(); ++i)
            EXPECT_EQ(data[i], fill) << "written past the buffer";
    }
    T* get() { return data.data(); }
    std::vector<T> data;
    size_t size;
    T fill;
};

std::string Narrow(const char16_t* s)
{
    std::string out;
    for (; *s; ++s)
        out.push_back(*s < 0x80 ? static_cast<char>(*s) : '?');
    return out;
}

class Exports : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakehttp::Reset();
        fakehttp::ServePage(kPage, Ku6Page("Clip, one", "http://f.ku6.com/a.flv,http://f.ku6.com/b.flv,http://f.ku6.com/c.flv"));
        fakehttp::ServePage("http://f.ku6.com/a.flv", "", "HTTP/1.1 404 Not Found");
        fakehttp::ServePage("http://f.ku6.com/b.flv", "");
        fakehttp::ServePage("http://f.ku6.com/c.flv", "");
    }
    size_t PageFetches(const std::string& url) { return fakehttp::RequestsFor(url).size(); }
};

}  // namespace

TEST_F(Exports, FirstDeadAlternativeIsDropped)
{
    // The comma in the title becomes a separator too, as the Ku6 reader writes it.
    const std::string title = "Clip<|> one";
    Guarded<char> all(FLV_LIST_A_SIZE), direct(FLV_LIST_A_SIZE);
    FLV_GetFlvListA(kPage.c_str(), all.get());
    EXPECT_STREQ(all.get(), ("<title>" + title + "</title><flv>http://f.ku6.com/b.flv<|>http://f.ku6.com/c.flv<|></flv>").c_str());
    FLV_GetFlvListDirectlyA(kPage.c_str(), direct.get());
    EXPECT_STREQ(direct.get(), ("<title>" + title + "</title><flv>http://f.ku6.com/b.flv<|></flv>").c_str());
    EXPECT_EQ(PageFetches(kPage), 4u);  // probe and fetch, twice

    Guarded<char> lines(FLV_URL_A_LINES_SIZE), t(FLV_URL_A_TITLE_SIZE);
    FLV_GetFlvUrlA(kPage.c_str(), lines.get(), t.get());
    EXPECT_STREQ(lines.get(), "http://f.ku6.com/b.flv\r\n");
    EXPECT_STREQ(t.get(), title.c_str());
    FLV_GetFlvUrlDirectlyA(kPage.c_str(), lines.get(), t.get());
    EXPECT_STREQ(lines.get(), "http://f.ku6.com/b.flv\r\n");

    std::u16string page16(kPage.begin(), kPage.end());
    Guarded<char16_t> wl(FLV_URL_DW_LINES_UNITS), wt(FLV_URL_DW_TITLE_UNITS);
    FLV_GetFlvUrlDirectlyW(page16.c_str(), wl.get(), wt.get());
    EXPECT_EQ(std::u16string(wl.get()), u"http://f.ku6.com/b.flv\r\n");
    EXPECT_EQ(Narrow(wt.get()), title);
    Guarded<char16_t> sl(FLV_URL_W_LINES_UNITS), st(FLV_URL_W_TITLE_UNITS);
    FLV_GetFlvUrlW(page16.c_str(), sl.get(), st.get());
    EXPECT_EQ(std::u16string(sl.get()), u"http://f.ku6.com/b.flv\r\n");
    Guarded<char16_t> wlist(FLV_LIST_W_UNITS);
    FLV_GetFlvListW(page16.c_str(), wlist.get());
    EXPECT_EQ(Narrow(wlist.get()), "<title>" + title + "</title><flv>http://f.ku6.com/b.flv<|>http://f.ku6.com/c.flv<|></flv>");
}

TEST_F(Exports, FreshResultIsUploadedWithItsTitleInUtf8)
{
    fakehttp::ServePage(kPage, Ku6Page("\xd6\xd0 x", "http://f.ku6.com/b.flv"));
    fakehttp::ServePage(StoreLookup(kPage), "<title></title><flv></flv>");
    Guarded<char> out(FLV_LIST_A_SIZE);
    FLV_GetFlvListA(kPage.c_str(), out.get());
    EXPECT_STREQ(out.get(), "<title>\xd6\xd0 x</title><flv>http://f.ku6.com/b.flv<|></flv>");
    std::vector<FakeRequest> uploads;
    for (const FakeRequest& r : fakehttp::Requests())
        if (r.server == cfg::ServiceHost && r.path.compare(0, 22, "/flvStorage/cache.php?") == 0)
            uploads.push_back(r);
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].path, "/flvStorage/cache.php?url=http%3A%2F%2Fwww%2Eku6%2Ecom%2Fshow%2Fabc%2Ehtml"
                               "&flv=http%3A%2F%2Ff%2Eku6%2Ecom%2Fb%2Eflv%3C%7C%3E&title=%E4%B8%AD+x");
    // The direct form never asks the store.
    fakehttp::Reset();
    fakehttp::ServePage(kPage, Ku6Page("t", "http://f.ku6.com/b.flv"));
    FLV_GetFlvListDirectlyA(kPage.c_str(), out.get());
    for (const FakeRequest& r : fakehttp::Requests())
        EXPECT_NE(r.server, cfg::ServiceHost);
}

TEST_F(Exports, StoredResultComesBackWithoutFetchingThePage)
{
    const std::string stored = "<title>kept</title><flv>http://f.ku6.com/s.flv<|></flv>";
    fakehttp::ServePage(StoreLookup(kPage), stored);
    Guarded<char> out(FLV_LIST_A_SIZE);
    FLV_GetFlvListA(kPage.c_str(), out.get());
    EXPECT_STREQ(out.get(), stored.c_str());
    EXPECT_EQ(PageFetches(kPage), 0u);
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
    // A stored text without a title leaves the title buffer as it was.
    fakehttp::ServePage(StoreLookup(kPage), "<flv>http://f.ku6.com/s.flv<|></flv>");
    char lines[FLV_URL_A_LINES_SIZE] = "old lines", title[FLV_URL_A_TITLE_SIZE] = "old title";
    FLV_GetFlvUrlA(kPage.c_str(), lines, title);
    EXPECT_STREQ(lines, "http://f.ku6.com/s.flv\r\n");
    EXPECT_STREQ(title, "old title");
}

TEST_F(Exports, LargeStoredResultsStayInsideTheBuffers)
{
    std::string items;
    for (int i = 0; items.size() < 520000; ++i)
        items += "http://f.ku6.com/" + std::to_string(i) + ".flv<&>";
    std::string stored = "<title>big</title><flv>" + items + "</flv>";
    fakehttp::ServePage(StoreLookup(kPage), stored);
    Guarded<char> out(FLV_LIST_A_SIZE);
    FLV_GetFlvListA(kPage.c_str(), out.get());
    std::string got = out.get();
    EXPECT_TRUE(got == stored);
    // Through the 4096-byte list buffer of the address-line export: whole lines only.
    Guarded<char> lines(FLV_URL_A_LINES_SIZE), title(FLV_URL_A_TITLE_SIZE);
    FLV_GetFlvUrlA(kPage.c_str(), lines.get(), title.get());
    std::string l = lines.get();
    EXPECT_GT(l.size(), 3000u);
    EXPECT_LT(l.size(), 4096u);
    EXPECT_EQ(l.compare(0, 24, "http://f.ku6.com/0.flv\r\n"), 0);
    EXPECT_EQ(l.compare(l.size() - 6, 6, ".flv\r\n"), 0);
    // Cut without a title pair: the caller's title stays as it was.
    fakehttp::ServePage(StoreLookup(kPage), "<flv>" + items + "</flv>");
    char keep[FLV_URL_A_TITLE_SIZE] = "old title";
    FLV_GetFlvUrlA(kPage.c_str(), lines.get(), keep);
    EXPECT_STREQ(keep, "old title");
    EXPECT_EQ(std::string(lines.get()).compare(0, 24, "http://f.ku6.com/0.flv\r\n"), 0);
}

TEST_F(Exports, EmptyResults)
{
    const std::string none = "http://www.example.org/v/1";
    char lines[64] = "old lines", title[64] = "old title";
    FLV_GetFlvUrlA(none.c_str(), lines, title);
    EXPECT_STREQ(lines, "old lines");
    EXPECT_STREQ(title, "old title");
    FLV_GetFlvUrlDirectlyA(none.c_str(), lines, title);
    EXPECT_STREQ(lines, "");
    EXPECT_STREQ(title, "");
    char16_t wl[64] = u"old", wt[64] = u"old";
    std::u16string w(none.begin(), none.end());
    FLV_GetFlvUrlDirectlyW(w.c_str(), wl, wt);
    EXPECT_EQ(wl[0], 0);
    EXPECT_EQ(wt[0], 0);
    char list[64] = "old";
    FLV_GetFlvListDirectlyA(none.c_str(), list);
    EXPECT_STREQ(list, "");
}

TEST_F(Exports, SegmentsComeBackInOrder)
{
    std::string reply = "<vname><![CDATA[Sina clip]]></vname>";
    for (int i = 1; i <= 3; ++i) {
        reply += "<durl><url><![CDATA[http://f.sina.com.cn/" + std::to_string(i) + ".flv]]></url></durl>";
        fakehttp::ServePage("http://f.sina.com.cn/" + std::to_string(i) + ".flv", "");
    }
    fakehttp::ServePage(kSinaPage, "<script>play(\"12345\")</script>");
    fakehttp::ServePage(std::string("http://") + cfg::SinaInterfaceHost + "/v_play.php?vid=12345", reply);
    std::u16string w(kSinaPage.begin(), kSinaPage.end());
    std::vector<char16_t> lines(FLV_URL_DW_LINES_UNITS), title(FLV_URL_DW_TITLE_UNITS);
    FLV_GetFlvUrlDirectlyW(w.c_str(), lines.data(), title.data());
    EXPECT_EQ(std::u16string(lines.data()),
              u"http://f.sina.com.cn/1.flv\r\nhttp://f.sina.com.cn/2.flv\r\nhttp://f.sina.com.cn/3.flv\r\n");
    EXPECT_EQ(std::u16string(title.data()), u"Sina clip");
}

TEST_F(Exports, WideConversionsStayInsideTheirBuffers)
{
    // A page address that does not fit the 1024-byte conversion buffer is refused.
    std::u16string longUrl = u"http://www.ku6.com/" + std::u16string(1100, u'a');
    char16_t lines[FLV_URL_W_LINES_UNITS] = u"x", title[FLV_URL_W_TITLE_UNITS] = u"x";
    FLV_GetFlvUrlW(longUrl.c_str(), lines, title);
    EXPECT_EQ(lines[0], 0);
    EXPECT_EQ(title[0], 0);
    EXPECT_TRUE(fakehttp::Requests().empty());
    // A title longer than 255 characters is cut to fit 256 units; Chinese text converts.
    std::string longTitle;
    for (int i = 0; i < 300; ++i)
        longTitle += "\xd6\xd0";
    fakehttp::ServePage(kPage, Ku6Page(longTitle, "http://f.ku6.com/b.flv"));
    std::u16string page16(kPage.begin(), kPage.end());
    Guarded<char16_t> l(FLV_URL_W_LINES_UNITS), t(FLV_URL_W_TITLE_UNITS);
    FLV_GetFlvUrlW(page16.c_str(), l.get(), t.get());
    EXPECT_EQ(std::u16string(t.get()), std::u16string(255, u'中'));
    Guarded<char16_t> dl(FLV_URL_DW_LINES_UNITS), dt(FLV_URL_DW_TITLE_UNITS);
    FLV_GetFlvUrlDirectlyW(page16.c_str(), dl.get(), dt.get());
    EXPECT_EQ(std::u16string(dt.get()), std::u16string(300, u'中'));
}
