// The resolver's HTTP requests and page fetcher on the real WinINet, against the
// fixture web in the private network namespace.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "boxwatch_client.h"
#include "fetch.h"
#include "fixture_client.h"
#include "http.h"

namespace {

const uint32_t kMiB2 = 2097152;

struct Reply {
    uint32_t rc = 0;
    std::string headers, body;
    uint32_t bodyLen = 0;
};

Reply Get(bool follow, const char* host, const char* path, uint32_t capacity = 65536, uint32_t headerCap = 10240)
{
    std::vector<char> body(capacity + 1, 0), headers(headerCap + 1, 0);
    Reply r;
    r.bodyLen = capacity;
    uint32_t hl = headerCap;
    r.rc = (follow ? HttpGetFollow : HttpGetNoRedirect)(host, 80, path, AddDefaultHeaders, body.data(), &r.bodyLen,
                                                         headers.data(), &hl, follow ? 0 : 1);
    r.headers = headers.data();
    r.body.assign(body.data(), r.bodyLen);
    return r;
}

class HttpClient : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FixtureReset()); }
};

}  // namespace

TEST_F(HttpClient, GetSendsTheFixedRequestByConfiguredHostName)
{
    Reply r = Get(true, "www.ku6.com", "/exact?x=1");
    EXPECT_EQ(r.rc, 0u);
    EXPECT_EQ(r.body, "hello");
    EXPECT_EQ(r.headers.compare(0, 15, "HTTP/1.1 200 OK"), 0) << r.headers;
    EXPECT_NE(r.headers.find("\r\n\r\n"), std::string::npos);

    std::vector<RecordedRequest> rec = FixtureRecordFor("www.ku6.com");
    ASSERT_EQ(rec.size(), 1u);
    const RecordedRequest& q = rec[0];
    EXPECT_EQ(q.requestLine, "GET /exact?x=1 HTTP/1.0");
    EXPECT_EQ(q.port, 80);
    EXPECT_EQ(q.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
    EXPECT_EQ(q.Header("Accept"),
              "text/xml,application/xml,application/xhtml+xml,text/html;q=0.9,text/plain;q=0.8,image/png,*/*;q=0.5");
    EXPECT_EQ(q.Header("Accept-Language"), "zh-cn,zh;q=0.5");
    EXPECT_EQ(q.Header("Accept-Encoding"), "gzip,deflate");
    EXPECT_EQ(q.Header("Connection"), "keep-alive");
    EXPECT_EQ(q.Header("Keep-Alive"), "300");
    EXPECT_EQ(q.Header("Referer"), "");
    // The four default headers go out in their order.
    std::vector<std::string> names = q.HeaderNames();
    auto at = [&](const char* n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    EXPECT_LT(at("Accept-Language"), at("Accept-Encoding"));
    EXPECT_LT(at("Accept-Encoding"), at("Connection"));
    EXPECT_LT(at("Connection"), at("Keep-Alive"));
    EXPECT_LT(at("Keep-Alive"), static_cast<long>(names.size()));
}

TEST_F(HttpClient, RedirectsWithAndWithoutFollowing)
{
    Reply probe = Get(false, "www.ku6.com", "/moved");
    EXPECT_EQ(probe.rc, 0u);
    EXPECT_EQ(probe.headers.compare(0, 18, "HTTP/1.1 302 Found"), 0) << probe.headers;
    EXPECT_NE(probe.headers.find("Location: http://www.ku6.com/final\r\n"), std::string::npos);
    EXPECT_EQ(probe.body, "moved body");
    Reply follow = Get(true, "www.ku6.com", "/moved");
    EXPECT_EQ(follow.rc, 0u);
    EXPECT_EQ(follow.body, "final page");
    EXPECT_EQ(FixtureRecordFor("www.ku6.com").size(), 3u);
}

TEST_F(HttpClient, SlowServerEndsAtTheTimeOut)
{
    // The server answers after 6 s. Following redirects gives up after 1000 ms, the
    // probe after 2000 ms; the margins keep the two apart.
    for (bool follow : {true, false}) {
        DWORD start = GetTickCount();
        Reply r = Get(follow, "www.ku6.com", "/slow");
        DWORD elapsed = GetTickCount() - start;
        EXPECT_NE(r.rc, 0u) << follow;
        EXPECT_EQ(r.bodyLen, 0u);
        printf("time-out %s: %lu ms\n", follow ? "follow" : "probe", static_cast<unsigned long>(elapsed));
        const DWORD limit = follow ? 1000 : 2000;
        EXPECT_GE(elapsed, limit - 100) << follow;
        EXPECT_LT(elapsed, limit + 700) << follow;
    }
}

TEST_F(HttpClient, FailuresGiveTheErrorAndNoBody)
{
    // A name the hosts file does not know: the header buffer stays as it was.
    std::vector<char> body(100, 'b'), headers(100, 'h');
    uint32_t bl = 100, hl = 100;
    uint32_t rc = HttpGetFollow("nohost.invalid", 80, "/x", AddDefaultHeaders, body.data(), &bl, headers.data(), &hl, 0);
    EXPECT_EQ(rc, static_cast<uint32_t>(ERROR_INTERNET_NAME_NOT_RESOLVED));
    EXPECT_EQ(bl, 0u);
    EXPECT_EQ(std::string(headers.data(), 100), std::string(100, 'h'));
    // Headers larger than the header buffer: the request fails and reads no body.
    Reply fat = Get(true, "www.ku6.com", "/fat", 100, 1024);
    EXPECT_EQ(fat.rc, static_cast<uint32_t>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(fat.bodyLen, 0u);
    Reply roomy = Get(true, "www.ku6.com", "/fat", 100, 10240);
    EXPECT_EQ(roomy.rc, 0u);
    EXPECT_EQ(roomy.body, "fat");
}

TEST_F(HttpClient, BodyCapacity)
{
    Reply exact = Get(true, "www.ku6.com", "/hundred", 100);
    EXPECT_EQ(exact.rc, 0u);
    EXPECT_EQ(exact.bodyLen, 100u);
    Reply cut = Get(true, "www.ku6.com", "/hundred", 37);
    EXPECT_EQ(cut.bodyLen, 37u);
    EXPECT_EQ(cut.body, std::string("0123456789012345678901234567890123456"));
    // No body buffer, or a capacity of 0: headers only.
    uint32_t bl = 0, hl = 10240;
    std::vector<char> headers(10240);
    char body[4] = {'k', 'k', 'k', 'k'};
    EXPECT_EQ(HttpGetFollow("www.ku6.com", 80, "/hundred", AddDefaultHeaders, body, &bl, headers.data(), &hl, 0), 0u);
    EXPECT_EQ(bl, 0u);
    EXPECT_EQ(body[0], 'k');
    bl = 100;
    hl = 10240;
    EXPECT_EQ(HttpGetFollow("www.ku6.com", 80, "/hundred", AddDefaultHeaders, nullptr, &bl, headers.data(), &hl, 0), 0u);
    EXPECT_EQ(bl, 0u);
}

TEST_F(HttpClient, PostSendsTheFormToItsPort)
{
    const std::string form = "a=1&b=%E4%B8%AD";
    std::vector<char> body(1024, 0);
    uint32_t bl = 1024;
    uint32_t rc = HttpPost("api.5show.com", 88, "/flash.ashx", form.c_str(), static_cast<uint32_t>(form.size()),
                           AddDefaultHeaders, body.data(), &bl, nullptr, nullptr);
    EXPECT_EQ(rc, 0u);
    EXPECT_EQ(std::string(body.data(), bl), "server=v1.5show.com");
    std::vector<RecordedRequest> rec = FixtureRecordFor("api.5show.com");
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec[0].requestLine, "POST /flash.ashx HTTP/1.0");
    EXPECT_EQ(rec[0].port, 88);
    EXPECT_EQ(rec[0].body, form);
    EXPECT_EQ(rec[0].Header("Accept-Language"), "zh-cn,zh;q=0.5");
    // A failed POST keeps the caller's body length.
    bl = 777;
    rc = HttpPost("nohost.invalid", 88, "/flash.ashx", form.c_str(), static_cast<uint32_t>(form.size()),
                  AddDefaultHeaders, body.data(), &bl, nullptr, nullptr);
    EXPECT_NE(rc, 0u);
    EXPECT_EQ(bl, 777u);
}

TEST_F(HttpClient, FetchInflatesAndConvertsAtCodePage936)
{
    struct Case {
        const char* url;
        std::string page;
        bool converted;
    } cases[] = {
        {"http://www.sina.com.cn/gzip", "<title>gzip page</title>", false},
        {"http://www.sina.com.cn/deflate", "<title>deflate page</title>", false},
        {"http://www.sina.com.cn/utf8", "<title>\xd6\xd0\xce\xc4</title>", true},
        {"http://www.sina.com.cn/utf8-gzip", "<title>\xd6\xd0\xce\xc4</title>", true},
        {"http://www.sina.com.cn/utf8-lowercase-name", "<title>\xe4\xb8\xad\xe6\x96\x87</title>", false},
        {"http://www.sina.com.cn/utf8-marker", "<meta charset=utf-8><title>\xd6\xd0\xce\xc4</title>", true},
        {"http://www.sina.com.cn/utf8-xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><title>\xd6\xd0\xce\xc4</title>",
         true},
        // C3 A9 and E4 B8 AD decode; a lone 80 and a four-byte character give nothing.
        {"http://www.sina.com.cn/utf8-sequences", "<x>\xa8\xa6|\xd6\xd0|||</x>", true},
    };
    std::vector<char> page(kMiB2), headers(10240), work(kMiB2);
    for (const Case& c : cases) {
        uint32_t n = FetchPageDefault(c.url, page.data(), kMiB2, headers.data(), 10240, work.data(), kMiB2);
        EXPECT_EQ(std::string(page.data()), c.page) << c.url;
        EXPECT_EQ(n, c.page.size() + (c.converted ? 1 : 0)) << c.url;
    }
}

TEST_F(HttpClient, Utf8PageOf2MiBAsksTheUserAndComesBackEmpty)
{
    std::vector<char> page(kMiB2), headers(10240), work(kMiB2);
    BoxWatcher watcher;
    ASSERT_TRUE(watcher.Start(GetCurrentProcessId(), {"ok"}, 1, 60000));
    uint32_t n = FetchPageDefault("http://www.sina.com.cn/big-utf8", page.data(), kMiB2, headers.data(), 10240,
                                  work.data(), kMiB2);
    ASSERT_TRUE(watcher.Wait(30000));
    std::vector<BoxReport> boxes = watcher.Reports();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"提示");
    EXPECT_EQ(boxes[0].text, L"出错");
    EXPECT_FALSE(boxes[0].hasOwner());
    EXPECT_EQ(boxes[0].buttons, "OK");
    EXPECT_EQ(page[0], '\0');
    EXPECT_EQ(n, 2u);
}

TEST_F(HttpClient, LiveCheckExportsOfTheLibrary)
{
    HMODULE dll = LoadLibraryW(L"vennix.dll");
    ASSERT_NE(dll, nullptr);
    typedef unsigned char(__cdecl * IsValidA)(const char*);
    typedef unsigned char(__cdecl * IsValidW)(const wchar_t*);
    auto isValidA = reinterpret_cast<IsValidA>(reinterpret_cast<void*>(GetProcAddress(dll, "FLV_IsValidA")));
    auto isValidW = reinterpret_cast<IsValidW>(reinterpret_cast<void*>(GetProcAddress(dll, "FLV_IsValidW")));
    ASSERT_TRUE(isValidA && isValidW);
    struct Case {
        const char* url;
        unsigned char alive;
    } cases[] = {
        {"http://f.youku.com/ok.flv", 1},      {"http://f.youku.com/moved.flv", 1},
        {"http://f.youku.com/reason.flv", 1},  {"http://f.youku.com/missing.flv", 0},
        {"http://f.youku.com/fat.flv", 0},     {"https://f.youku.com/ok.flv", 0},
        {"f.youku.com/ok.flv", 0},             {"http://nohost.invalid/ok.flv", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidA(c.url), c.alive) << c.url;
        std::wstring wide(c.url, c.url + std::strlen(c.url));
        EXPECT_EQ(isValidW(wide.c_str()), c.alive) << c.url;
    }
    // Probes ask for the headers with the default request headers.
    std::vector<RecordedRequest> rec = FixtureRecordFor("f.youku.com");
    ASSERT_FALSE(rec.empty());
    EXPECT_EQ(rec[0].requestLine, "GET /ok.flv HTTP/1.0");
    EXPECT_EQ(rec[0].Header("Keep-Alive"), "300");
    FreeLibrary(dll);
}
