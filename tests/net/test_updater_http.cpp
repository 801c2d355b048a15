// The updater's WinHTTP client on the fixture web: the request as the server saw it, the
// body into a string and into a file, the progress calls, and the failures of each.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_files.h"
#include "fixture_client.h"
#include "http_client.h"
#include "run_folder.h"

namespace {

const wchar_t kBase[] = L"http://service.qelplayer.net/u/";

struct Call {
    uint32_t total, done;
};
std::vector<Call> g_calls;

void Record(uint32_t total, uint32_t done)
{
    g_calls.push_back({total, done});
}

std::wstring Url(const wchar_t* name)
{
    return std::wstring(kBase) + name;
}

class UpdaterHttp : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FixtureReset());
        ASSERT_TRUE(folder_.Create());
        g_calls.clear();
    }
    std::wstring File(const wchar_t* name) const { return folder_.Path() + name; }

    RunFolder folder_;
};

}  // namespace

// First of the file: the client has read no length yet, so a download without one reports 0.
TEST_F(UpdaterHttp, ProgressTotalsAcrossDownloads)
{
    const std::string tenK = [] {
        std::string s;
        for (int i = 0; i < 3000; ++i)
            s += "0123456789";
        return s.substr(0, 3000);
    }();
    ASSERT_EQ(DownloadUrlToFile(Url(L"nolength"), Record, File(L"a.bin")), 0u);
    EXPECT_EQ(ReadWholeFile(File(L"a.bin")), tenK);
    ASSERT_GE(g_calls.size(), 2u);
    for (const Call& c : g_calls)
        EXPECT_EQ(c.total, 0u);
    EXPECT_EQ(g_calls.back().done, 3000u);

    // Several chunks: done grows, the last two calls carry the whole body.
    g_calls.clear();
    ASSERT_EQ(DownloadUrlToFile(Url(L"pieces"), Record, File(L"b.bin")), 0u);
    EXPECT_EQ(ReadWholeFile(File(L"b.bin")), std::string(4000, 'p'));
    ASSERT_GE(g_calls.size(), 3u);
    for (size_t i = 1; i < g_calls.size(); ++i)
        EXPECT_GE(g_calls[i].done, g_calls[i - 1].done);
    EXPECT_EQ(g_calls[g_calls.size() - 1].done, 4000u);
    EXPECT_EQ(g_calls[g_calls.size() - 2].done, 4000u);
    for (const Call& c : g_calls)
        EXPECT_EQ(c.total, 4000u);

    // No length now: the earlier download's total stays.
    g_calls.clear();
    ASSERT_EQ(DownloadUrlToFile(Url(L"nolength"), Record, File(L"c.bin")), 0u);
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ(g_calls.back().total, 4000u);
    EXPECT_EQ(g_calls.back().done, 3000u);

    // A null callback is allowed.
    ASSERT_EQ(DownloadUrlToFile(Url(L"big"), nullptr, File(L"d.bin")), 0u);
    EXPECT_EQ(ReadWholeFile(File(L"d.bin")).size(), 300000u);
}

// Chunks of uneven sizes, gathered before they are written: every byte in its place, the
// reports growing to the whole body; a body cut short keeps in the file the bytes that came.
TEST_F(UpdaterHttp, ChunksReachTheFileWholeAndInOrder)
{
    std::string expected;
    while (expected.size() < 300001)
        expected += "0123456789abcdefg";
    expected.resize(300001);
    ASSERT_EQ(DownloadUrlToFile(Url(L"uneven"), Record, File(L"u.bin")), 0u);
    EXPECT_TRUE(ReadWholeFile(File(L"u.bin")) == expected);  // no 300 KB in the failure message
    ASSERT_GE(g_calls.size(), 3u);
    for (size_t i = 1; i < g_calls.size(); ++i)
        EXPECT_GE(g_calls[i].done, g_calls[i - 1].done);
    EXPECT_EQ(g_calls[g_calls.size() - 1].done, 300001u);
    EXPECT_EQ(g_calls[g_calls.size() - 2].done, 300001u);
    EXPECT_EQ(g_calls.back().total, 300001u);

    EXPECT_NE(DownloadUrlToFile(Url(L"cut"), nullptr, File(L"cut.bin")), 0u);
    const std::string cut = ReadWholeFile(File(L"cut.bin"));
    EXPECT_FALSE(cut.empty());
    EXPECT_LT(cut.size(), 5000u);
    EXPECT_EQ(cut, std::string(cut.size(), 'x'));
}

TEST_F(UpdaterHttp, TheRequestAsTheServerSawIt)
{
    std::string body;
    ASSERT_EQ(FetchUrlToString(Url(L"hello"), body), 0u);
    EXPECT_EQ(body, "hello updater");
    std::vector<RecordedRequest> rec = FixtureRecordFor("service.qelplayer.net");
    ASSERT_EQ(rec.size(), 1u);
    const RecordedRequest& q = rec[0];
    EXPECT_EQ(q.method, "GET");
    EXPECT_EQ(q.target, "/u/hello");
    EXPECT_EQ(q.port, 80);
    EXPECT_EQ(q.Header("User-Agent"), "QEL WinHTTP");
    EXPECT_EQ(q.body, "");
    const std::vector<std::pair<std::string, std::string>> ours = {
        {"Accept-Language", "zh-cn,zh;q=0.5"},
        {"Connection", "keep-alive"},
        {"Keep-Alive", "300"},
        {"Accept-Charset", "gb2312,utf-8;q=0.7,*;q=0.7"},
        {"Content-Type", "application/x-www-form-urlencoded"},
    };
    // The five headers, each once, with their values, in this order.
    std::vector<std::string> names = q.HeaderNames();
    long last = -1;
    for (const auto& h : ours) {
        SCOPED_TRACE(h.first);
        EXPECT_EQ(std::count(names.begin(), names.end(), h.first), 1);
        long at = std::find(names.begin(), names.end(), h.first) - names.begin();
        EXPECT_GT(at, last);
        last = at;
        EXPECT_EQ(q.Header(h.first), h.second);
    }

    // The download sends the same request.
    FixtureReset();
    ASSERT_EQ(DownloadUrlToFile(Url(L"hello"), nullptr, File(L"h.bin")), 0u);
    rec = FixtureRecordFor("service.qelplayer.net");
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec[0].Header("User-Agent"), "QEL WinHTTP");
    EXPECT_EQ(rec[0].HeaderNames(), names);
}

TEST_F(UpdaterHttp, StatusZeroBytesAndLengths)
{
    // An error page: the string gets it, the download fails and keeps nothing of it.
    std::string body = "before";
    EXPECT_EQ(FetchUrlToString(Url(L"missing"), body), 0u);
    EXPECT_EQ(body, "<html>404 page</html>");
    EXPECT_EQ(DownloadUrlToFile(Url(L"missing"), nullptr, File(L"m.bin")), kNoDownloadReply);
    EXPECT_TRUE(FileExists(File(L"m.bin")));
    EXPECT_EQ(ReadWholeFile(File(L"m.bin")), "");
    ASSERT_TRUE(WriteWholeFile(File(L"e.bin"), "an earlier installer"));
    EXPECT_EQ(DownloadUrlToFile(Url(L"error"), nullptr, File(L"e.bin")), kNoDownloadReply);
    EXPECT_TRUE(FileExists(File(L"e.bin")));
    EXPECT_EQ(ReadWholeFile(File(L"e.bin")), "");

    // A zero byte ends the string within its chunk; the file keeps every byte.
    EXPECT_EQ(FetchUrlToString(Url(L"zero"), body), 0u);
    EXPECT_EQ(body, "abc");
    EXPECT_EQ(DownloadUrlToFile(Url(L"zero"), nullptr, File(L"z.bin")), 0u);
    EXPECT_EQ(ReadWholeFile(File(L"z.bin")), std::string("abc\0def\0", 8));

    // No Content-Length: the body to its end.
    EXPECT_EQ(FetchUrlToString(Url(L"nolength"), body), 0u);
    EXPECT_EQ(body.size(), 3000u);

    // A body shorter than its length: the string keeps what came, the download fails.
    EXPECT_EQ(FetchUrlToString(Url(L"cut"), body), 0u);
    EXPECT_LT(body.size(), 5000u);
    EXPECT_EQ(DownloadUrlToFile(Url(L"cut"), nullptr, File(L"cut.bin")), kBodyCutShort);
    // A connection reset within the body, with a length and without: the download fails, and
    // the file holds only bytes that came.
    for (const wchar_t* name : {L"reset", L"resetnolength"}) {
        SCOPED_TRACE(Utf8(name));
        const uint32_t rc = DownloadUrlToFile(Url(name), nullptr, File(L"r.bin"));
        // The read's own error in result-code form (under Wine the socket's reset,
        // 0x80072746), never success and never the write failure's 1.
        EXPECT_EQ(rc & 0xFFFF0000u, 0x80070000u) << std::hex << rc;
        EXPECT_NE(rc & 0xFFFFu, 0u) << std::hex << rc;
        const std::string got = ReadWholeFile(File(L"r.bin"));
        EXPECT_LT(got.size(), 5000u);
        EXPECT_EQ(got, std::string(got.size(), 'x'));
    }

    // A length that cannot be read is no download.
    EXPECT_EQ(DownloadUrlToFile(Url(L"badlength"), nullptr, File(L"bl.bin")), kNoDownloadReply);
    EXPECT_EQ(ReadWholeFile(File(L"bl.bin")), "");
}

TEST_F(UpdaterHttp, AddressesThatFail)
{
    // An unrecognised scheme: refused before any request, the string untouched.
    std::string body = "untouched";
    EXPECT_EQ(FetchUrlToString(L"ftp://h/x", body), 0x80072EE6u);
    EXPECT_EQ(body, "untouched");
    EXPECT_EQ(DownloadUrlToFile(L"ftp://h/x", nullptr, File(L"f.bin")), 0x80072EE6u);
    EXPECT_EQ(FetchUrlToString(L"", body), DownloadUrlToFile(L"", nullptr, File(L"f.bin")));
    EXPECT_EQ(body, "untouched");

    // A host the hosts file does not know: the string emptied, the existing file emptied.
    const uint32_t unknown = FetchUrlToString(L"http://nohost.invalid/x", body);
    EXPECT_EQ(unknown, 0x80072EE7u);  // the name is not resolved
    EXPECT_EQ(body, "");
    ASSERT_TRUE(WriteWholeFile(File(L"old.exe"), "an earlier installer"));
    EXPECT_EQ(DownloadUrlToFile(L"http://nohost.invalid/x", Record, File(L"old.exe")), 0x80072EE7u);
    EXPECT_TRUE(FileExists(File(L"old.exe")));
    EXPECT_EQ(ReadWholeFile(File(L"old.exe")), "");
    EXPECT_TRUE(g_calls.empty());

    // A file that cannot be created: the result of its error, no request.
    FixtureReset();
    EXPECT_EQ(DownloadUrlToFile(Url(L"hello"), nullptr, folder_.Path() + L"no such folder\\a.exe"),
              0x80070003u);  // the path is not found
    EXPECT_TRUE(FixtureRecordFor("service.qelplayer.net").empty());

    // Nothing listens on the https port: a failure, not a reply.
    EXPECT_NE(FetchUrlToString(L"https://service.qelplayer.net/u/hello", body), 0u);
    EXPECT_TRUE(FixtureRecordFor("service.qelplayer.net").empty());
}
