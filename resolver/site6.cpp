// Site6: the XML interface named by the page's script variables or by the player
// address, its file list, and the key query on every file address.
#include "site6.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "rand_clock.h"
#include "text.h"

namespace {

const char* const kKeyQuery = "?start=0&key1=%d&key2=%d&key3=%d&key4=%d";

// The low 32 bits of a count, read as a signed integer.
int32_t LowSigned32(int64_t value)
{
    const uint32_t low = static_cast<uint32_t>(value);
    return low <= 0x7FFFFFFFu ? static_cast<int32_t>(low) : -static_cast<int32_t>(~low) - 1;
}

// The most negative value has no positive counterpart and stays as it is.
int32_t Magnitude(int32_t value)
{
    if (value == std::numeric_limits<int32_t>::min() || value >= 0)
        return value;
    return -value;
}

// 1000000000 to 2000000000 from a 15-bit draw; the product needs 64 bits.
int32_t KeyFromDraw(int draw)
{
    return static_cast<int32_t>(1000000000 + static_cast<int64_t>(draw) * 1000000000 / 32767);
}

// (2 * t) div 3, truncated toward zero, without forming 2 * t.
int64_t TwoThirds(int64_t t)
{
    return t / 3 * 2 + t % 3 * 2 / 3;
}

std::string Between(const char* text, const char* start, const char* end, size_t size)
{
    std::string buf(size, '\0');
    ExtractBetweenA(text, start, end, nullptr, &buf[0], size);
    return buf.c_str();
}

// The interface path the page's script names, or "".
std::string InterfacePath(const char* page)
{
    const std::string evid = Between(page, "pageMessage.evid = '", "'", 560);
    const std::string pid = Between(page, "pageMessage.pid = '", "'", 560);
    const std::string pidKey = Between(page, "pageMessage.pidKey = '", "'", 560);
    if (!pid.empty())
        return "/v72.php?p=" + pid + "&k=" + pidKey;
    if (!evid.empty())
        return "/v72.php?vid=" + evid;
    std::string declared = Between(page, "var evid", ";", 560);
    ReplaceAll(declared, "'", "");
    ReplaceAll(declared, " ", "");
    ReplaceAll(declared, "=", "");
    if (!declared.empty())
        return "/v72.php?vid=" + declared;
    const std::string vid = Between(page, "vid=", "\"", 560);
    if (!vid.empty())
        return "/v72.php?vid=" + vid;
    return std::string();
}

std::string KeyQuery()
{
    int32_t key1, key2, key3, key4;
    MakeFileKeys(key1, key2, key3, key4);
    char query[96];
    std::snprintf(query, sizeof query, kKeyQuery, static_cast<int>(key1), static_cast<int>(key2),
                  static_cast<int>(key3), static_cast<int>(key4));
    return query;
}

}  // namespace

void MakeFileKeys(int32_t& key1, int32_t& key2, int32_t& key3, int32_t& key4)
{
    const int64_t t = CalendarTime();
    SeedRandomFromClock();
    key3 = KeyFromDraw(NextRandom());
    key4 = KeyFromDraw(NextRandom());
    const int choice = NextRandom() % 100;
    const int32_t third = LowSigned32(t / 3);
    const int32_t twoThirds = LowSigned32(TwoThirds(t));
    if (choice <= 50) {
        key1 = Magnitude(twoThirds ^ key3);
        key2 = Magnitude(third ^ key4);
    } else {
        key1 = Magnitude(third ^ key3);
        key2 = Magnitude(twoThirds ^ key4);
    }
}

std::string MakeSite6ApiUrl(std::string pageUrl)
{
    std::string url = std::string("http://") + cfg::Site6InterfaceHost + "/v72.php?";
    const char* address = pageUrl.c_str();
    if (std::strstr(address, "p=")) {
        url += "p=" + Between(address, "p=", "&", 512);
        url += "&k=" + Between(address, "k=", nullptr, 512);
    } else if (std::strstr(address, "vid")) {
        url += "vid=" + Between(address, "vid=", nullptr, 512);
    }
    return url;
}

void ExtractSite6(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work, uint32_t workSize,
                  std::string& result, std::string overrideUrl, bool useOverride)
{
    std::string api = overrideUrl;
    if (!useOverride) {
        const std::string path = InterfacePath(page);
        if (path.empty())
            return;
        api = std::string("http://") + cfg::Site6InterfaceHost + path;
    }
    FetchPageWith(api, page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);

    std::string video = Between(page, "<VIDEO>", "</VIDEO>", 2048);
    if (video.empty())
        video = Between(page, "<video>", "</video>", 2048);

    std::string title;
    if (work && workSize) {
        work[0] = '\0';
        ExtractBetweenA(video.c_str(), "<title>", "</title>", nullptr, work, workSize);
        title = work;
    }
    result += "<title>" + title + "</title>";

    const std::string fileList = Between(video.c_str(), "<file_xml>", "</file_xml>", 1024);
    if (!fileList.empty())
        FetchPage(fileList.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);

    result += "<flv>";
    std::string query = KeyQuery();
    const char* rest = page;
    while (rest && work && workSize && ResultTakesItems(result, workSize)) {
        work[0] = '\0';
        ExtractBetweenA(rest, "<file>", "</file>", &rest, work, workSize);
        if (!work[0])
            break;
        // Files on the "vdn43" servers are left out; the keys change for every file.
        if (!std::strstr(work, "vdn43"))
            result += work + query + "<|>";
        query = KeyQuery();
    }
    result += "</flv>";
}
