// Baidu through the library's UTF-16 export, against the fixture web: the info request
// goes to a drawn vNN server of the video host, which the private hosts file names.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class Baidu : public LibraryTest {};

// The requests whose Host is a vNN server of the video host.
std::vector<RecordedRequest> ServerRequests()
{
    std::vector<RecordedRequest> out;
    const std::regex server("v[0-9][0-9]\\." + std::regex_replace(cfg::BaiduVideoHost, std::regex("\\."), "\\."));
    for (const RecordedRequest& r : FixtureRecord()) {
        if (std::regex_match(r.Header("Host"), server))
            out.push_back(r);
    }
    return out;
}

}  // namespace

TEST(BaiduServers, AllNinetyNineResolveToTheFixtureWeb)
{
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    for (int n = 1; n <= 99; ++n) {
        char name[128];
        std::snprintf(name, sizeof name, "v%02d.%s", n, cfg::BaiduVideoHost);
        addrinfo hints = {};
        hints.ai_family = AF_INET;
        addrinfo* ai = nullptr;
        ASSERT_EQ(getaddrinfo(name, "80", &hints, &ai), 0) << name;
        const sockaddr_in* in = reinterpret_cast<const sockaddr_in*>(ai->ai_addr);
        EXPECT_EQ(in->sin_addr.s_addr, htonl(INADDR_LOOPBACK)) << name;
        freeaddrinfo(ai);
    }
    WSACleanup();
}

TEST_F(Baidu, PageGivesTheStreamOnTheDrawnServerWithItsAccessCode)
{
    const long long before = static_cast<long long>(std::time(nullptr));
    Lines r = UrlDirectlyW(L"http://video.baidu.com/watch/1.html");
    const long long after = static_cast<long long>(std::time(nullptr));
    EXPECT_EQ(r.title, L"百度 clip");

    // One info request, on the server the stream names too.
    std::vector<RecordedRequest> info = ServerRequests();
    ASSERT_EQ(info.size(), 1u);
    const std::string host = info[0].Header("Host");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(info[0].target, m,
                                 std::regex("/video/abcdefghijklmnopqrstuvwxyz01\\.flv\\?type=info&t=([0-9]+)")))
        << info[0].target;
    const long long t = std::stoll(m[1].str());
    EXPECT_GE(t, before);
    EXPECT_LE(t, after);
    EXPECT_EQ(info[0].Header("Accept-Encoding"), "gzip,deflate");

    const std::string stream = "http://" + host +
                               "/video/abcdefghijklmnopqrstuvwxyz01.flv?xcode=2b5a67fbf1b7c585caee9163c11c30945128e739_k2";
    EXPECT_EQ(r.lines, std::wstring(stream.begin(), stream.end()) + L"\r\n");
}

TEST_F(Baidu, PageWithoutAnInfoKeyGivesNoStream)
{
    // The info path has no route: the server's 404 page holds no key.
    Lines r = UrlDirectlyW(L"http://video.baidu.com/watch/2.html");
    EXPECT_EQ(r.lines, L"");
    EXPECT_EQ(r.title, L"百度 clip");
    std::vector<RecordedRequest> info = ServerRequests();
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].target.compare(0, 25, "/video/nokey.flv?type=inf"), 0) << info[0].target;
}
