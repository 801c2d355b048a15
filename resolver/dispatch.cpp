#include "dispatch.h"

#include <cstring>
#include <vector>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "site56.h"
#include "text.h"

namespace {

typedef std::string (*RedirectBuilder)(std::string);

struct Row {
    const char* site;
    const char* key;
    Extractor extract;
};

// In dispatch order; the first key found in the page's host wins. AOL's pages are
// matched and nothing is done.
const Row kDispatch[] = {
    {"Site6", cfg::Site6Key, WithBuffersAndOverride(ExtractSite6)},
    {"Ku6", cfg::Ku6Key, WithAddressAndOverride(ExtractKu6)},
    {"Tudou", cfg::TudouKey, WithAddressAndOverride(ExtractTudou)},
    {"Youku", cfg::YoukuKey, WithBuffersAndOverride(ExtractYouku)},
    {"Site56", cfg::Site56Key, WithAddress(ExtractSite56)},
    {"YouTube", cfg::YouTubeKey, WithBuffers(ExtractYouTube)},
    {"CCTV", cfg::CctvKey, WithBuffers(ExtractCctv)},
    {"Sina", cfg::SinaKey, WithAddress(ExtractSina)},
    {"5show", cfg::FiveShowKey, WithAddress(Extract5show)},
    {"Mofile", cfg::MofileKey, WithAddress(ExtractMofile)},
    {"AOL", cfg::AolKey, NoExtractor()},
    {"Yahoo", cfg::YahooKey, WithAddress(ExtractYahoo)},
    {"Metacafe", cfg::MetacafeKey, WithAddress(ExtractMetacafe)},
    {"Break", cfg::BreakKey, WithAddress(ExtractBreak)},
    {"Yepig", cfg::YepigKey1, WithAddress(ExtractYepig)},
    {"Yepig", cfg::YepigKey2, WithAddress(ExtractYepig)},
    {"Bokecc", cfg::BokeccKey, WithAddress(ExtractBokecc)},
    {"Pomoho", cfg::PomohoKey, WithAddress(ExtractPomoho)},
    {"Baidu", cfg::BaiduKey, WithAddress(ExtractBaidu)},
};

// Interface addresses built from a player address or its redirect target.
const RedirectBuilder kSite6ApiUrl = MakeSite6ApiUrl;
const RedirectBuilder kYoukuPlayListUrl = MakeYoukuPlayListUrl;
const RedirectBuilder kTudouApiUrl = MakeTudouApiUrl;

std::string Build(RedirectBuilder builder, const std::string& from)
{
    return builder ? builder(from) : std::string();
}

bool Has(const char* text, const char* part)
{
    return std::strstr(text, part) != nullptr;
}

std::string Value(const char* text, const char* key, size_t size)
{
    char buf[256] = {0};
    ExtractBetweenA(text, key, "&", nullptr, buf, size < sizeof buf ? size : sizeof buf);
    return buf;
}

void Host(const std::string& url, char* host, size_t size)
{
    GetUrlHostA(ToLowerString(url).c_str(), host, size);
}

}  // namespace

DispatchPlan FetchForDispatch(std::string& pageUrl, char* page, uint32_t pageSize, char* headers,
                              uint32_t headerSize, char* work, uint32_t workSize)
{
    std::string overrideUrl;
    bool useOverride = false;
    char pageHost[512] = {0};
    if (headerSize == 0)
        headers = nullptr;  // no header buffer: the replies' headers are not known

    // The probe: no automatic redirects.
    FetchPage(pageUrl.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 1);
    char status[128] = {0};
    ExtractBetweenA(headers, "HTTP", "\r", nullptr, status, sizeof status);
    const bool redirect = Has(status, "301") || Has(status, "302");

    auto fetchAgain = [&] {
        FetchPage(pageUrl.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    };

    if (!redirect) {
        std::string lower = ToLowerString(pageUrl);
        GetUrlHostA(lower.c_str(), pageHost, sizeof pageHost);
        if (Has(lower.c_str(), ".swf") && Has(pageHost, cfg::Site6Key)) {
            overrideUrl = Build(kSite6ApiUrl, pageUrl);
            useOverride = !overrideUrl.empty();
        } else {
            fetchAgain();
        }
    } else {
        std::vector<char> target(10240, '\0');
        ExtractBetweenA(headers, "Location: ", "\r", nullptr, target.data(), target.size());
        if (!target[0]) {
            // An empty target: the extractor gets the redirect reply itself.
        } else if (!Has(target.data(), ".swf")) {
            fetchAgain();
        } else {
            char targetHost[512] = {0};
            Host(pageUrl, pageHost, sizeof pageHost);
            Host(target.data(), targetHost, sizeof targetHost);
            if (Has(pageHost, cfg::YoukuKey)) {
                overrideUrl = Build(kYoukuPlayListUrl, target.data());
                useOverride = !overrideUrl.empty();
            } else if (Has(pageHost, cfg::TudouKey)) {
                overrideUrl = Build(kTudouApiUrl, target.data());
                useOverride = !overrideUrl.empty();
            } else if (Has(pageHost, cfg::Site56Key)) {
                std::string urlid = Value(target.data(), "URLid=", 16);
                std::string flvid = Value(target.data(), "flvid=", 16);
                pageUrl = MakeSite56PageUrl(flvid, urlid) + Base64Encode(flvid) + ".html";
                fetchAgain();
            } else if (Has(pageHost, cfg::Ku6Key) || Has(targetHost, cfg::Ku6SecondKey)) {
                overrideUrl = MakeKu6ApiUrl(Value(target.data(), "vid=", 256));
                useOverride = !overrideUrl.empty();
            }
        }
    }

    return DispatchPlan{overrideUrl, useOverride};
}

void CallExtractor(const Extractor& e, const char* url, char* page, uint32_t pageSize, char* headers,
                   uint32_t headerSize, char* work, uint32_t workSize, std::string& result,
                   const std::string& overrideUrl, bool useOverride)
{
    if (e.address)
        e.address(url, page, pageSize, headers, headerSize, work, workSize, result);
    else if (e.addressOverride)
        e.addressOverride(url, page, pageSize, headers, headerSize, work, workSize, result, overrideUrl, useOverride);
    else if (e.buffers)
        e.buffers(page, pageSize, headers, headerSize, work, workSize, result);
    else if (e.buffersOverride)
        e.buffersOverride(page, pageSize, headers, headerSize, work, workSize, result, overrideUrl, useOverride);
}

int DispatchRow(const std::string& pageUrl)
{
    char host[512] = {0};
    Host(pageUrl, host, sizeof host);
    for (size_t i = 0; i < sizeof kDispatch / sizeof kDispatch[0]; ++i) {
        if (Has(host, kDispatch[i].key))
            return static_cast<int>(i);
    }
    return -1;
}

int DispatchRowCount()
{
    return static_cast<int>(sizeof kDispatch / sizeof kDispatch[0]);
}

const char* DispatchSite(int row)
{
    return row >= 0 && row < DispatchRowCount() ? kDispatch[row].site : "";
}

const char* DispatchKey(int row)
{
    return row >= 0 && row < DispatchRowCount() ? kDispatch[row].key : "";
}

void ResolveVideoPage(std::string& pageUrl, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                      char* work, uint32_t workSize, std::string& result)
{
    DispatchPlan plan = FetchForDispatch(pageUrl, page, pageSize, headers, headerSize, work, workSize);
    int row = DispatchRow(pageUrl);
    if (row >= 0)
        CallExtractor(kDispatch[row].extract, pageUrl.c_str(), page, pageSize, headers, headerSize, work, workSize,
                      result, plan.overrideUrl, plan.useOverride);
}
