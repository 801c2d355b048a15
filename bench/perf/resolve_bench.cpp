// Resolution through vennix.dll against the bare requests it makes, site by site, in one
// process. For each page: FLV_GetFlvUrlDirectlyW once, the fixture web's record of that
// resolution's requests, and from it the same requests made with plain WinINet calls
// (open, connect, request with the same flags, options and headers, send, read into a
// small buffer, close), checked to reach the server exactly as the resolution's did.
// Then rounds of both, interleaved; one row a site (its pages together) with the medians
// and their ratio, and the worst row named.
// Not a test; run it in the private fixture web with every site's fixture pages:
//   bench/netns-run.sh build/win64/bench/wine-env.sh ROUTES -- build/win64/test-bin/resolve_bench.exe [ROUNDS [DLL]]
// (scripts/bench.sh gives ROUTES; build/win likewise under 32-bit Wine).
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fixture_client.h"
#include "site_pages.h"
#include "vennix.h"

namespace {

typedef void(__cdecl* UrlDirectlyW)(const wchar_t*, wchar_t*, wchar_t*);

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// This process's processor time (user and kernel), in milliseconds.
double CpuNow()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The processor clock ticks coarsely: its times are summed over the rounds.
double Mean(const std::vector<double>& v)
{
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One request as the resolver's client makes it: the first of a resolution is the probe
// (no automatic redirects, 2 s time-outs), a POST has 2 s, every other GET follows
// redirects with 1 s.
struct BareRequest {
    enum Kind { Probe, Follow, Post } kind = Follow;
    std::string host, target, version;
    INTERNET_PORT port = 80;
    std::vector<std::string> headers;  // those the caller adds, "Name: value"
    std::string body;
};

const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)";
const char kAccept[] =
    "text/xml,application/xml,application/xhtml+xml,text/html;q=0.9,text/plain;q=0.8,image/png,*/*;q=0.5";

// Headers WinINet writes itself; the rest came from the caller.
bool OwnHeader(const std::string& line)
{
    static const char* const kOwn[] = {"accept", "user-agent", "host", "pragma", "cache-control", "content-length"};
    const std::string name = Lower(line.substr(0, line.find(':')));
    for (const char* own : kOwn) {
        if (name == own)
            return true;
    }
    return false;
}

BareRequest FromRecord(const RecordedRequest& r, bool first)
{
    BareRequest b;
    b.kind = r.method == "POST" ? BareRequest::Post : first ? BareRequest::Probe : BareRequest::Follow;
    std::string host = r.Header("Host");
    size_t colon = host.find(':');
    if (colon != std::string::npos) {
        b.port = static_cast<INTERNET_PORT>(std::atoi(host.c_str() + colon + 1));
        host.resize(colon);
    }
    b.host = host;
    b.target = r.target;
    b.version = r.version;
    for (const std::string& h : r.headers) {
        if (!OwnHeader(h))
            b.headers.push_back(h + "\r\n");
    }
    b.body = r.body;
    return b;
}

// The plain calls, reading the body into a small buffer.
void Send(const BareRequest& b)
{
    static char buffer[4096];
    const bool post = b.kind == BareRequest::Post;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (b.kind == BareRequest::Probe)
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    DWORD timeout = b.kind == BareRequest::Follow ? 1000 : 2000, retries = 1;
    HINTERNET root = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET connection = InternetConnectA(root, b.host.c_str(), b.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    LPCSTR accept[] = {kAccept, nullptr};
    HINTERNET request = HttpOpenRequestA(connection, post ? "POST" : "GET", b.target.c_str(), b.version.c_str(),
                                         nullptr, accept, flags, 0);
    InternetSetOptionA(request, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(request, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(request, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
    for (const std::string& h : b.headers)
        HttpAddRequestHeadersA(request, h.c_str(), static_cast<DWORD>(h.size()), HTTP_ADDREQ_FLAG_ADD);
    if (HttpSendRequestA(request, nullptr, 0, post ? const_cast<char*>(b.body.data()) : nullptr,
                         post ? static_cast<DWORD>(b.body.size()) : 0)) {
        DWORD got = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &got) && got)
            ;
    }
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(root);
}

// What the server saw of a request, for comparing two runs.
std::string Seen(const RecordedRequest& r)
{
    std::string s = r.requestLine + "\n";
    for (const std::string& h : r.headers)
        s += h + "\n";
    return s + "BODY " + r.body;
}

// One page: its resolution's requests on the wire and the bare calls that make them.
struct PagePlan {
    const Page* page;
    size_t requests = 0;
    std::vector<BareRequest> bare;
};

// One row: the pages of a site, timed together.
struct SiteRow {
    const char* site;
    std::vector<PagePlan> pages;
    std::vector<double> tResolve, tBare, cResolve, cBare;
};

class Resolver {
public:
    explicit Resolver(UrlDirectlyW call) : call_(call), lines_(FLV_URL_DW_LINES_UNITS), title_(FLV_URL_DW_TITLE_UNITS) {}
    // Gives the address lines.
    std::wstring operator()(const char* url)
    {
        std::wstring wide(url, url + std::strlen(url));
        call_(wide.c_str(), lines_.data(), title_.data());
        return lines_.data();
    }

private:
    UrlDirectlyW call_;
    std::vector<wchar_t> lines_, title_;
};

// Learns a page's bare requests from the record of one resolution and checks that they
// reach the server as that resolution's did. Empty with a message on failure.
bool Plan(Resolver& resolve, PagePlan& row)
{
    if (!FixtureReset())
        return false;
    std::wstring lines = resolve(row.page->url);
    std::vector<RecordedRequest> seen = FixtureRecord();
    if (seen.empty() || (lines.empty() && std::strcmp(row.page->site, "AOL") != 0)) {
        std::fprintf(stderr, "%s: %s resolves to nothing (%u requests): are its fixtures served?\n",
                     row.page->site, row.page->url, static_cast<unsigned>(seen.size()));
        return false;
    }
    row.requests = seen.size();
    // A request that follows a redirect by itself stands for the requests it made.
    for (size_t i = 0; i < seen.size();) {
        BareRequest b = FromRecord(seen[i], i == 0);
        FixtureReset();
        Send(b);
        size_t made = FixtureRecord().size();
        row.bare.push_back(b);
        i += made ? made : 1;
    }
    FixtureReset();
    for (const BareRequest& b : row.bare)
        Send(b);
    std::vector<RecordedRequest> again = FixtureRecord();
    bool same = again.size() == seen.size();
    for (size_t i = 0; same && i < seen.size(); ++i)
        same = Seen(seen[i]) == Seen(again[i]);
    if (!same) {
        std::fprintf(stderr, "%s: the bare requests differ from the resolution's:\n", row.page->url);
        for (const RecordedRequest& r : seen)
            std::fprintf(stderr, "  resolution: %s\n", Seen(r).c_str());
        for (const RecordedRequest& r : again)
            std::fprintf(stderr, "  bare:       %s\n", Seen(r).c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 21;
    HMODULE dll = LoadLibraryA(argc > 2 ? argv[2] : "vennix.dll");
    UrlDirectlyW call =
        dll ? reinterpret_cast<UrlDirectlyW>(reinterpret_cast<void*>(GetProcAddress(dll, "FLV_GetFlvUrlDirectlyW")))
            : nullptr;
    if (!call) {
        std::fprintf(stderr, "%s not found\n", argc > 2 ? argv[2] : "vennix.dll");
        return 1;
    }
    Resolver resolve(call);
    std::vector<SiteRow> rows;
    for (const Page& page : kPages) {
        if (rows.empty() || std::strcmp(rows.back().site, page.site) != 0)
            rows.push_back(SiteRow{page.site, {}, {}, {}, {}, {}});
        rows.back().pages.push_back(PagePlan{&page, 0, {}});
        if (!Plan(resolve, rows.back().pages.back()))
            return 1;
    }
    FixtureReset();

    // Rounds over every site; within a round each side goes first on every other site, so
    // that neither is always the warmer one. The medians keep outliers out of the ratio.
    for (int round = -2; round < rounds; ++round) {
        for (size_t i = 0; i < rows.size(); ++i) {
            SiteRow& row = rows[i];
            double tr = 0, tb = 0, cr = 0, cb = 0;
            auto timeResolve = [&] {
                double c0 = CpuNow(), t0 = Now();
                for (const PagePlan& p : row.pages)
                    resolve(p.page->url);
                tr = Now() - t0;
                cr = CpuNow() - c0;
            };
            auto timeBare = [&] {
                double c0 = CpuNow(), t0 = Now();
                for (const PagePlan& p : row.pages) {
                    for (const BareRequest& b : p.bare)
                        Send(b);
                }
                tb = Now() - t0;
                cb = CpuNow() - c0;
            };
            if ((i + static_cast<size_t>(round + 2)) % 2) {
                timeResolve();
                timeBare();
            } else {
                timeBare();
                timeResolve();
            }
            if (round >= 0) {  // the first two rounds warm up
                row.tResolve.push_back(tr);
                row.tBare.push_back(tb);
                row.cResolve.push_back(cr);
                row.cBare.push_back(cb);
            }
        }
        FixtureReset();  // keeps the server's record short
    }

    // Processor time of this process (means) beside the time on the clock: the resolver's
    // own work shows there apart from the server's.
    std::printf("%-9s %5s %4s %10s %10s %6s %12s %12s\n", "site", "pages", "req", "resolve_ms", "bare_ms", "ratio",
                "resolve_cpu", "bare_cpu");
    const SiteRow* worst = nullptr;
    double worstRatio = 0;
    for (const SiteRow& row : rows) {
        size_t requests = 0;
        for (const PagePlan& p : row.pages)
            requests += p.requests;
        const double r = Median(row.tResolve), b = Median(row.tBare), ratio = b > 0 ? r / b : 0;
        std::printf("%-9s %5u %4u %10.2f %10.2f %6.2f %12.2f %12.2f\n", row.site,
                    static_cast<unsigned>(row.pages.size()), static_cast<unsigned>(requests), r, b, ratio,
                    Mean(row.cResolve), Mean(row.cBare));
        if (ratio > worstRatio) {
            worstRatio = ratio;
            worst = &row;
        }
    }
    if (worst)
        std::printf("worst: %s at %.2f (medians of %d rounds, %u pages of %u sites)\n", worst->site, worstRatio, rounds,
                    static_cast<unsigned>(sizeof kPages / sizeof kPages[0]), static_cast<unsigned>(rows.size()));
    FreeLibrary(dll);
    return 0;
}
