// Resolution through vennix.dll against the bare requests it makes, in one process:
// a Ku6 page (the probe, the page, a dead and a live alternative) resolved N times
// with FLV_GetFlvUrlDirectlyW, and the same four requests made N times with the
// same WinINet calls. Prints the time of each and their ratio. Not a test; run it in
// the private fixture web:
//   bench/netns-run.sh build/win/bench/wine-env.sh bench/perf/resolve_bench.json
//       -- build/win/test-bin/resolve_bench.exe [N]
// (build/win64 likewise, under 64-bit Wine).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "http.h"
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

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Bare {
    std::vector<char> page = std::vector<char>(2097152), headers = std::vector<char>(10240);

    void Get(bool follow, const char* host, const char* path, uint32_t arg)
    {
        uint32_t bodyLen = static_cast<uint32_t>(page.size()), headerLen = static_cast<uint32_t>(headers.size());
        (follow ? HttpGetFollow : HttpGetNoRedirect)(host, 80, path, AddDefaultHeaders, page.data(), &bodyLen,
                                                     headers.data(), &headerLen, arg);
    }
    void Probe(const char* host, const char* path)
    {
        char h[1024];
        uint32_t headerLen = sizeof h, bodyLen = 0;
        HttpGetFollow(host, 80, path, AddDefaultHeaders, nullptr, &bodyLen, h, &headerLen, 0);
    }
    // The requests of one resolution, in order.
    void Run()
    {
        Get(false, "www.ku6.com", "/show/abc.html", 1);
        Get(true, "www.ku6.com", "/show/abc.html", 0);
        Probe("f.ku6.com", "/a.flv");
        Probe("f.ku6.com", "/b.flv");
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 100;
    HMODULE dll = LoadLibraryW(L"vennix.dll");
    UrlDirectlyW resolve =
        dll ? reinterpret_cast<UrlDirectlyW>(reinterpret_cast<void*>(GetProcAddress(dll, "FLV_GetFlvUrlDirectlyW")))
            : nullptr;
    if (!resolve) {
        std::fprintf(stderr, "vennix.dll not found\n");
        return 1;
    }
    std::vector<wchar_t> lines(FLV_URL_DW_LINES_UNITS), title(FLV_URL_DW_TITLE_UNITS);
    Bare bare;
    auto resolveOnce = [&] { resolve(L"http://www.ku6.com/show/abc.html", lines.data(), title.data()); };

    resolveOnce();
    if (std::wstring(lines.data()) != L"http://f.ku6.com/b.flv\r\n") {
        std::fprintf(stderr, "unexpected resolution: is the fixture web up?\n");
        return 1;
    }
    for (int i = 0; i < 5; ++i) {
        resolveOnce();
        bare.Run();
    }
    // Each resolution is timed next to one run of its bare requests, so that drift of
    // the machine touches both alike; the medians keep outliers out of the ratio.
    std::vector<double> tResolve, tBare;
    for (int i = 0; i < n; ++i) {
        double t0 = Now();
        resolveOnce();
        double t1 = Now();
        bare.Run();
        double t2 = Now();
        tResolve.push_back(t1 - t0);
        tBare.push_back(t2 - t1);
    }
    const double mResolve = Median(tResolve), mBare = Median(tBare);
    std::printf("resolution: %.2f ms, bare requests: %.2f ms, ratio %.2f (medians of %d runs each)\n", mResolve,
                mBare, mResolve / mBare, n);
    FreeLibrary(dll);
    return 0;
}
