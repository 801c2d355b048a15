// Page fetcher and live check over the in-process transport.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "alive.h"
#include "fake_http.h"
#include "fetch.h"
#include "platform/msgbox_host.h"
#include "unit/compress.h"
#include "vennix.h"

namespace {

const uint32_t kMiB2 = 2097152;

struct Buffers {
    explicit Buffers(uint32_t size = 65536, uint32_t headerSize = 10240)
        : page(size + 16, '\x7f'), headers(headerSize + 16, '\x7f'), work(size + 16, '\x7f'), size(size),
          headerSize(headerSize)
    {
    }
    ~Buffers()
    {
        for (size_t i = size; i < page.size(); ++i) {
            EXPECT_EQ(page[i], '\x7f') << "page buffer overrun";
            EXPECT_EQ(work[i], '\x7f') << "work buffer overrun";
        }
        for (size_t i = headerSize; i < headers.size(); ++i)
            EXPECT_EQ(headers[i], '\x7f') << "header buffer overrun";
    }
    uint32_t Fetch(const char* url, uint32_t flag = 0)
    {
        return FetchPage(url, page.data(), size, headers.data(), headerSize, work.data(), size, AddDefaultHeaders,
                         flag);
    }
    std::string Page() const { return page.data(); }
    std::vector<char> page, headers, work;
    uint32_t size, headerSize;
};

std::string Gzip(const std::string& data)
{
    return Compress(data, 15 + 16);
}

std::u16string Decode(const std::string& bytes)
{
    std::vector<unsigned char> out(bytes.size() * 2 + 2);
    uint32_t n = Utf8ToUtf16(reinterpret_cast<const unsigned char*>(bytes.data()),
                             static_cast<uint32_t>(bytes.size()), out.data(), out.size());
    std::u16string s;
    for (uint32_t i = 0; i + 1 < n; i += 2)
        s.push_back(static_cast<char16_t>(out[i] | (out[i + 1] << 8)));
    EXPECT_EQ(s.back(), u'\0');
    s.pop_back();
    return s;
}

class Fetch : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakehttp::Reset();
        HostMessageBoxes().clear();
    }
};

}  // namespace

TEST(Utf8ToUtf16, Sequences)
{
    struct Case {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"abc", u"abc"},
        {"\xc3\xa9", u"\u00e9"},
        {"\xe4\xb8\xad", u"\u4e2d"},
        {"a\x80" "b", u"ab"},                 // lone continuation byte
        {"a\xf0\x9f\x98\x80" "b", u"ab"},   // beyond the first plane: nothing
        {"x\xc3", u"x"},                      // two-byte sequence cut off by the end
        {"x\xe4\xb8", u"x"},                  // three-byte sequence cut off by the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.bytes), c.units);
    // Counting only, without the terminator.
    EXPECT_EQ(Utf8ToUtf16(reinterpret_cast<const unsigned char*>("\xe4\xb8\xad" "a"), 4, nullptr, 0), 4u);
    EXPECT_EQ(Utf8ToUtf16(nullptr, 4, nullptr, 0), 0u);
    // A small output holds whole units and the terminator.
    unsigned char out[6] = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(Utf8ToUtf16(reinterpret_cast<const unsigned char*>("abcdef"), 6, out, 5), 4u);
    EXPECT_EQ(out[0], 'a');
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[4], 1);
}

TEST(ResponseHeaders, EncodingAndCharset)
{
    EXPECT_EQ(GetContentEncoding("HTTP/1.1 200 OK\r\nContent-Encoding: GZIP\r\n\r\n"), 1);
    EXPECT_EQ(GetContentEncoding("HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\n\r\n"), 2);
    EXPECT_EQ(GetContentEncoding("HTTP/1.1 200 OK\r\ncontent-encoding: gzip\r\n\r\n"), 0);
    EXPECT_EQ(GetContentEncoding(nullptr), 0);
    EXPECT_TRUE(IsUtf8Response("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=UTF-8\r\n\r\n"));
    EXPECT_FALSE(IsUtf8Response("HTTP/1.1 200 OK\r\ncontent-type: text/html; charset=UTF-8\r\n\r\n"));
    EXPECT_FALSE(IsUtf8Response("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gbk\r\n\r\n"));
    EXPECT_FALSE(IsUtf8Response(nullptr));
}

TEST_F(Fetch, GzipUtf8PageIsInflatedThenConverted)
{
    const std::string body = "<title>\xe4\xb8\xad\xe6\x96\x87</title>";
    fakehttp::ServePage("http://www.ku6.com/v.html", Gzip(body), "HTTP/1.1 200 OK",
                        "Content-Encoding: gzip\r\nContent-Type: text/html; charset=utf-8\r\n");
    Buffers b;
    uint32_t n = b.Fetch("http://www.ku6.com/v.html");
    const std::string ansi = "<title>\xd6\xd0\xce\xc4</title>";
    EXPECT_EQ(b.Page(), ansi);
    EXPECT_EQ(n, ansi.size() + 1);
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    const FakeRequest& r = fakehttp::Requests()[0];
    EXPECT_EQ(r.server, "www.ku6.com");
    EXPECT_EQ(r.port, 80);
    EXPECT_EQ(r.path, "/v.html");
    EXPECT_TRUE(r.followRedirects);
    std::vector<std::string> defaults = {"Accept-Language: zh-cn,zh;q=0.5\r\n", "Accept-Encoding: gzip,deflate\r\n",
                                         "Connection: keep-alive\r\n", "Keep-Alive: 300\r\n"};
    EXPECT_EQ(r.headers, defaults);
}

TEST_F(Fetch, Utf8ByHeaderOrPageMarkerOnly)
{
    const std::string utf8 = "\xe4\xb8\xad";
    struct Case {
        const char* extraHeaders;
        std::string body;
        std::string page;
    } cases[] = {
        {"Content-Type: text/html; charset=utf-8\r\n", utf8, "\xd6\xd0"},
        {"content-type: text/html; charset=utf-8\r\n", utf8, utf8},            // header name in another case
        {"content-type: text/html\r\n", "charset=utf-8 " + utf8, "charset=utf-8 \xd6\xd0"},
        {"", "<?xml encoding=\"UTF-8\"?>" + utf8, "<?xml encoding=\"UTF-8\"?>\xd6\xd0"},
        {"", "charset=UTF-8 " + utf8, "charset=UTF-8 " + utf8},                 // page markers are exact
        {"Content-Type: text/html; charset=gbk\r\n", "\xd6\xd0", "\xd6\xd0"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage("http://www.sina.com.cn/p", c.body, "HTTP/1.1 200 OK", c.extraHeaders);
        Buffers b;
        uint32_t n = b.Fetch("http://www.sina.com.cn/p");
        EXPECT_EQ(b.Page(), c.page) << c.body;
        bool converted = c.page != c.body;
        EXPECT_EQ(n, converted ? c.page.size() + 1 : c.body.size()) << c.body;
    }
}

TEST_F(Fetch, RedirectWithFlagOneComesBackUnchanged)
{
    fakehttp::ServePage("http://www.youku.com/player.swf", "moved",
                        "HTTP/1.1 302 Found", "Location: http://www.youku.com/x.swf?id=1\r\n");
    fakehttp::ServePage("http://www.youku.com/x.swf?id=1", "target");
    Buffers b;
    EXPECT_EQ(b.Fetch("http://www.youku.com/player.swf", 1), 5u);
    EXPECT_EQ(b.Page(), "moved");
    EXPECT_NE(std::string(b.headers.data()).find("Location: http://www.youku.com/x.swf?id=1\r\n"),
              std::string::npos);
    EXPECT_FALSE(fakehttp::Requests()[0].followRedirects);
    EXPECT_EQ(fakehttp::Requests()[0].callbackArg, 1u);
    b.Fetch("http://www.youku.com/player.swf", 0);
    EXPECT_EQ(b.Page(), "target");
}

TEST_F(Fetch, FailedRequestLeavesZeroFilledBuffers)
{
    Buffers b;
    EXPECT_EQ(b.Fetch("http://unknown.example.org/x"), 0u);
    EXPECT_EQ(b.page[0], 0);
    EXPECT_EQ(b.page[b.size - 1], 0);
    EXPECT_EQ(b.headers[0], 0);
    EXPECT_EQ(b.Fetch("no scheme"), 0u);
}

TEST_F(Fetch, HeaderBufferOfSizeZeroCountsAsNone)
{
    // A gzipped UTF-8 reply: without its headers it is neither inflated nor converted.
    const std::string gz = Gzip("\xe4\xb8\xad");
    fakehttp::ServePage("http://www.ku6.com/v.html", gz, "HTTP/1.1 200 OK",
                        "Content-Encoding: gzip\r\nContent-Type: text/html; charset=utf-8\r\n");
    Buffers none;
    const uint32_t n = FetchPage("http://www.ku6.com/v.html", none.page.data(), none.size, nullptr, 0,
                                 none.work.data(), none.size, AddDefaultHeaders, 0);
    // One unterminated byte that the fetcher must neither read as text nor write.
    std::vector<char> oneByte(1, 'H');
    Buffers b;
    EXPECT_EQ(FetchPage("http://www.ku6.com/v.html", b.page.data(), b.size, oneByte.data(), 0, b.work.data(), b.size,
                        AddDefaultHeaders, 0),
              n);
    EXPECT_EQ(std::string(b.page.data(), n), std::string(none.page.data(), n));
    EXPECT_EQ(std::string(b.page.data(), gz.size()), gz);
    EXPECT_EQ(oneByte[0], 'H');
}

TEST_F(Fetch, PageIsZeroPastItsTextWhateverTheBuffersHeldBefore)
{
    // One set of buffers through fetches of every kind, long before short, so that
    // each fetch must clear what the one before it left.
    const std::string utf8Long = "charset=utf-8 " + std::string(30000, 'u') + "\xe4\xb8\xad";
    fakehttp::ServePage("http://www.ku6.com/long", std::string(40000, 'p'));
    fakehttp::ServePage("http://www.ku6.com/short", "short");
    fakehttp::Serve("www.ku6.com", "/gzip", fakehttp::Page(Gzip(std::string(20000, 'z')), "HTTP/1.1 200 OK",
                                                           "Content-Encoding: gzip\r\n"));
    fakehttp::ServePage("http://www.ku6.com/utf8", utf8Long);
    // Fills the page buffer; its UTF-16 form is cut to the work buffer's 32767 units.
    fakehttp::ServePage("http://www.ku6.com/full", "charset=utf-8" + std::string(70000, 'a'));
    struct Step {
        const char* path;
        size_t length;  // of the page text
    } steps[] = {{"/long", 40000}, {"/short", 5}, {"/gzip", 20000}, {"/short", 5},
                 {"/utf8", utf8Long.size() - 1}, {"/short", 5}, {"/full", 32767}, {"/missing", 0}};
    Buffers b(65536);
    for (const Step& s : steps) {
        b.Fetch((std::string("http://www.ku6.com") + s.path).c_str());
        EXPECT_EQ(b.Page().size(), s.length) << s.path;
        for (size_t i = s.length; i < b.size; ++i)
            ASSERT_EQ(b.page[i], 0) << s.path << " at " << i;
        for (size_t i = 0; i < b.headerSize; ++i)
            ASSERT_EQ(b.headers[i] == 0, std::strlen(b.headers.data()) <= i) << s.path << " at " << i;
    }
}

TEST_F(Fetch, FullPageKeepsItsTerminator)
{
    Buffers b(4096);
    fakehttp::ServePage("http://www.ku6.com/full", std::string(4096, 'x'));
    EXPECT_EQ(b.Fetch("http://www.ku6.com/full"), 4095u);
    EXPECT_EQ(b.Page(), std::string(4095, 'x'));
}

TEST_F(Fetch, AddressMayLieInTheWorkBuffer)
{
    fakehttp::ServePage("http://v.ku6.com/api?vid=7", "reply");
    Buffers b;
    std::strcpy(b.work.data(), "http://v.ku6.com/api?vid=7");
    EXPECT_EQ(FetchPage(b.work.data(), b.page.data(), b.size, b.headers.data(), b.headerSize, b.work.data(), b.size,
                        AddDefaultHeaders, 0),
              5u);
    EXPECT_EQ(b.Page(), "reply");
}

TEST_F(Fetch, Utf8PageOf2MiBShowsTheBoxAndComesBackEmpty)
{
    Buffers b(kMiB2);
    fakehttp::ServePage("http://www.ku6.com/big", "charset=utf-8" + std::string(kMiB2, 'a'));
    uint32_t n = b.Fetch("http://www.ku6.com/big");
    ASSERT_EQ(HostMessageBoxes().size(), 1u);
    EXPECT_EQ(HostMessageBoxes()[0].text, u"出错");
    EXPECT_EQ(HostMessageBoxes()[0].caption, u"提示");
    EXPECT_EQ(b.Page(), "");
    // The emptied page converts as one zero unit and its terminator.
    EXPECT_EQ(n, 2u);
}

TEST_F(Fetch, LargeUtf8PageIsCutToTheWorkBuffer)
{
    // Under 2 MiB but more characters than the UTF-16 form can hold in the work buffer.
    Buffers b(kMiB2);
    const uint32_t size = kMiB2 - 1000;
    fakehttp::ServePage("http://www.ku6.com/long", "charset=utf-8" + std::string(size - 13, 'a'));
    uint32_t n = b.Fetch("http://www.ku6.com/long");
    EXPECT_TRUE(HostMessageBoxes().empty());
    const size_t units = kMiB2 / 2 - 1;
    EXPECT_EQ(n, units + 1);
    EXPECT_EQ(std::strlen(b.page.data()), units);
}

TEST(AnsiFromUtf16Bounded, CutsAtAWholeCharacter)
{
    struct Case {
        uint32_t size;
        std::string text;
    } cases[] = {{7, "\xd6\xd0\xd6\xd0\xd6\xd0"}, {6, "\xd6\xd0\xd6\xd0"}, {5, "\xd6\xd0\xd6\xd0"},
                 {4, "\xd6\xd0"},                 {2, ""},                  {1, ""}};
    for (const Case& c : cases) {
        char buf[16];
        std::memset(buf, 'x', sizeof buf);
        uint32_t n = AnsiFromUtf16Bounded(u"中中中", 3, buf, c.size);
        EXPECT_EQ(std::string(buf), c.text) << c.size;
        EXPECT_EQ(n, c.text.size() + 1) << c.size;
        EXPECT_EQ(buf[c.size], 'x') << c.size;
    }
}

TEST(AnsiFromUtf16Bounded, EndsAtEveryCutAroundASurrogate)
{
    // A high surrogate whose pair does not fit, a lone one, and one at the end: every
    // size ends, keeps its terminator inside the buffer and gives a prefix of the
    // whole conversion (a lone half converts to '?').
    const std::u16string texts[] = {u"a\xd800" u"b", u"a\U0001F600b", u"\xd800\xd800", u"ab\xdbff"};
    for (const std::u16string& t : texts) {
        char whole[32];
        uint32_t all = AnsiFromUtf16Bounded(t.data(), t.size(), whole, sizeof whole);
        for (uint32_t size = 1; size <= all + 1; ++size) {
            char buf[32];
            std::memset(buf, 'x', sizeof buf);
            uint32_t n = AnsiFromUtf16Bounded(t.data(), t.size(), buf, size);
            ASSERT_GE(n, 1u);
            EXPECT_LE(n, size);
            EXPECT_EQ(buf[n - 1], '\0');
            EXPECT_EQ(buf[size], 'x');
            EXPECT_EQ(std::string(whole).compare(0, n - 1, buf), 0) << size;
        }
    }
    char buf[3];
    EXPECT_EQ(AnsiFromUtf16Bounded(u"a\xd800" u"b", 3, buf, 3), 3u);
    EXPECT_STREQ(buf, "a?");
}

TEST(WideToAnsi, SizesAndAbsentText)
{
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(WideToAnsi(u"abc", 4, buf, 0), 0);  // no room at all: nothing written
    EXPECT_EQ(buf[0], 'x');
    EXPECT_EQ(WideToAnsi(u"abc", 4, buf, 3), 0);  // does not fit: zero-filled
    EXPECT_EQ(std::string(buf, 3), std::string(3, '\0'));
    EXPECT_EQ(WideToAnsi(u"abc", 4, buf, 4), 4);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(WideToAnsi(nullptr, 4, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "abc");
}

TEST_F(Fetch, AliveCheck)
{
    fakehttp::ServePage("http://f.youku.com/ok.flv", "", "HTTP/1.1 200 OK");
    fakehttp::ServePage("http://f.youku.com/reason", "", "HTTP/1.1 404 200 not here");
    fakehttp::ServePage("http://f.youku.com/missing", "", "HTTP/1.1 404 Not Found");
    fakehttp::ServePage("http://f.youku.com/moved", "", "HTTP/1.1 302 Found", "Location: http://f.youku.com/ok.flv\r\n");
    fakehttp::ServePage("http://f.youku.com/fat", "", "HTTP/1.1 200 OK", "X-Pad: " + std::string(1000, 'a') + "\r\n");
    fakehttp::ServePage("http://f.youku.com", "", "HTTP/1.1 200 OK");
    struct Case {
        const char* url;
        bool alive;
    } cases[] = {
        {"http://f.youku.com/ok.flv", true},   {"http://f.youku.com/reason", true},
        {"http://f.youku.com/missing", false}, {"http://f.youku.com/moved", true},
        {"http://f.youku.com/fat", false},     {"https://f.youku.com/ok.flv", false},
        {"f.youku.com/ok.flv", false},         {"http://nowhere.example.org/", false},
        {"http://f.youku.com", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FLV_IsValidA(c.url), c.alive ? 1 : 0) << c.url;
    // Probes read headers only, with the default headers, redirects followed.
    const FakeRequest r = fakehttp::RequestsFor("http://f.youku.com/ok.flv").at(0);
    EXPECT_TRUE(r.followRedirects);
    EXPECT_EQ(r.headers.size(), 4u);
    std::u16string wide = u"http://f.youku.com/ok.flv";
    EXPECT_EQ(FLV_IsValidW(wide.c_str()), 1);
}

TEST_F(Fetch, AliveCheckRefusesWhatDoesNotFit)
{
    const std::string host511(511, 'h'), host512(512, 'h');
    const std::string path1023 = "/" + std::string(1022, 'p'), path1024 = "/" + std::string(1023, 'p');
    fakehttp::ServePage("http://" + host511 + "/x", "");
    fakehttp::ServePage("http://f.youku.com" + path1023, "");
    EXPECT_EQ(FLV_IsValidA(("http://" + host511 + "/x").c_str()), 1);
    EXPECT_EQ(FLV_IsValidA(("http://f.youku.com" + path1023).c_str()), 1);
    size_t before = fakehttp::Requests().size();
    EXPECT_EQ(FLV_IsValidA(("http://" + host512 + "/x").c_str()), 0);
    EXPECT_EQ(FLV_IsValidA(("http://f.youku.com" + path1024).c_str()), 0);
    EXPECT_EQ(fakehttp::Requests().size(), before) << "refused addresses are not requested";
    // A UTF-16 address must fit 1024 bytes in the ANSI code page, terminator included.
    std::u16string fits = u"http://f.youku.com/" + std::u16string(1023 - 19, u'p');
    std::u16string over = fits + u"p";
    fakehttp::ServePage("http://f.youku.com/" + std::string(1023 - 19, 'p'), "");
    EXPECT_EQ(FLV_IsValidW(fits.c_str()), 1);
    EXPECT_EQ(FLV_IsValidW(over.c_str()), 0);
    std::u16string chinese = u"http://f.youku.com/" + std::u16string(510, u'中');  // 19 + 1020 bytes
    EXPECT_EQ(FLV_IsValidW(chinese.c_str()), 0);
}
