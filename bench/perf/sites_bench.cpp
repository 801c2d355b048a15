// The resolver's own work without the network: every benchmark page resolved through
// FLV_GetFlvUrlDirectlyW of the host build over the in-process transport, which answers
// with the fixture web's own responses. Prints resolutions per second, one row a site
// (its pages in turn).
// Not a test; scripts/bench.sh runs it:
//   python3 bench/perf/flat_routes.py FLAT $(cat bench/perf/site_routes.txt)
//   build/hostperf/bench/perf/sites_bench FLAT [SECONDS_PER_PAGE]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "fake_http.h"
#include "site_pages.h"
#include "vennix.h"

namespace {

struct FlatRoute {
    std::string host, path;
    uint16_t port = 0;  // 0: any
    FakeReply reply;

    bool Matches(const FakeRequest& r) const
    {
        if (port && port != r.port)
            return false;
        if (host != "*" && host != r.server)
            return false;
        if (!path.empty() && path.back() == '*')
            return r.path.compare(0, path.size() - 1, path, 0, path.size() - 1) == 0;
        return r.path == path;
    }
};

// The routes file that flat_routes.py writes; empty when it cannot be read.
std::vector<FlatRoute> ReadRoutes(const char* file)
{
    std::ifstream in(file, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<FlatRoute> routes;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t eol = all.find('\n', pos);
        if (eol == std::string::npos || all.compare(pos, 6, "ROUTE ") != 0)
            return {};
        std::string head = all.substr(pos + 6, eol - pos - 6);
        size_t s1 = head.find(' '), s2 = head.find(' ', s1 + 1), last = head.rfind(' ');
        FlatRoute r;
        r.host = head.substr(0, s1);
        r.port = static_cast<uint16_t>(std::atoi(head.c_str() + s1 + 1));
        r.path = head.substr(s2 + 1, last - s2 - 1);
        size_t bytes = std::strtoul(head.c_str() + last + 1, nullptr, 10);
        std::string response = all.substr(eol + 1, bytes);
        size_t split = response.find("\r\n\r\n");
        r.reply.headers = response.substr(0, split + 4);
        r.reply.body = response.substr(split + 4);
        routes.push_back(r);
        pos = eol + 1 + bytes + 1;
    }
    return routes;
}

// The fixture server's choice: the last route that matches, else its 404.
FakeReply Answer(const std::vector<FlatRoute>& routes, const FakeRequest& request)
{
    for (auto it = routes.rbegin(); it != routes.rend(); ++it) {
        if (it->Matches(request))
            return it->reply;
    }
    return fakehttp::Page("no route\n", "HTTP/1.1 404 Not Found", "Content-Type: text/plain; charset=utf-8\r\n");
}

std::u16string Wide(const char* s)
{
    return std::u16string(s, s + std::strlen(s));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: sites_bench ROUTES_FLAT [SECONDS_PER_PAGE]\n");
        return 2;
    }
    const std::vector<FlatRoute> routes = ReadRoutes(argv[1]);
    const double seconds = argc > 2 ? std::atof(argv[2]) : 0.5;
    if (routes.empty()) {
        std::fprintf(stderr, "%s: no routes\n", argv[1]);
        return 1;
    }
    fakehttp::Reset();
    fakehttp::AnswerWith([&](const FakeRequest& r) { return Answer(routes, r); });
    std::vector<char16_t> lines(FLV_URL_DW_LINES_UNITS), title(FLV_URL_DW_TITLE_UNITS);

    std::printf("%-9s %5s %4s %14s\n", "site", "pages", "req", "resolutions/s");
    for (size_t first = 0; first < sizeof kPages / sizeof kPages[0];) {
        size_t last = first;
        while (last < sizeof kPages / sizeof kPages[0] && std::strcmp(kPages[last].site, kPages[first].site) == 0)
            ++last;
        std::vector<std::u16string> urls;
        size_t requests = 0;
        for (size_t i = first; i < last; ++i) {
            urls.push_back(Wide(kPages[i].url));
            const size_t before = fakehttp::Requests().size();
            FLV_GetFlvUrlDirectlyW(urls.back().c_str(), lines.data(), title.data());
            requests += fakehttp::Requests().size() - before;
            if (!lines[0] && std::strcmp(kPages[i].site, "AOL") != 0) {
                std::fprintf(stderr, "%s: %s resolves to nothing\n", kPages[i].site, kPages[i].url);
                return 1;
            }
        }
        // As many resolutions as fit a window, counted in batches over the site's pages; the
        // best of five windows, so that a busy machine's pauses stay out.
        double best = 0;
        for (int window = 0; window < 5; ++window) {
            long count = 0;
            const auto start = std::chrono::steady_clock::now();
            double elapsed = 0;
            while (elapsed < seconds / 5) {
                for (int i = 0; i < 8; ++i) {
                    for (const std::u16string& url : urls)
                        FLV_GetFlvUrlDirectlyW(url.c_str(), lines.data(), title.data());
                }
                count += 8 * static_cast<long>(urls.size());
                elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                fakehttp::Reset();  // the request log stays short
                fakehttp::AnswerWith([&](const FakeRequest& r) { return Answer(routes, r); });
            }
            best = std::max(best, count / elapsed);
        }
        std::printf("%-9s %5zu %4zu %14.0f\n", kPages[first].site, urls.size(), requests, best);
        first = last;
    }
    return 0;
}
