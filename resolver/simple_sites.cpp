// YouTube, CCTV, Yahoo and Metacafe extractors: one or two values of the page, at most
// one interface request, one alternative.
#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "text.h"

namespace {

// The text between the markers into buf (emptied first); nothing without a buffer.
const char* ReadInto(const char* text, const char* start, const char* end, char* buf, uint32_t size)
{
    if (!buf || size == 0)
        return "";
    buf[0] = '\0';
    ExtractBetweenA(text, start, end, nullptr, buf, size);
    return buf;
}

// "<flv>", the address and "<|>" unless it is empty, "</flv>".
std::string OneAlternative(const std::string& address)
{
    return address.empty() ? "<flv></flv>" : "<flv>" + address + "<|></flv>";
}

}  // namespace

void ExtractYouTube(char* page, uint32_t, char*, uint32_t, char* work, uint32_t workSize, std::string& result)
{
    result = GetPageTitle(page);
    const char* args = ReadInto(page, "swfArgs =", "}", work, workSize);
    char videoId[1280] = {0};
    char t[128] = {0};
    ExtractBetweenA(args, "\"video_id\": \"", "\"", nullptr, videoId, sizeof videoId);
    ExtractBetweenA(args, "\"t\": \"", "\"", nullptr, t, sizeof t);
    // Without a video id the address names no video.
    result += OneAlternative(videoId[0] ? std::string("http://") + cfg::YouTubePageHost +
                                              "/get_video?video_id=" + videoId + "&t=" + t
                                        : std::string());
}

void ExtractCctv(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work, uint32_t workSize,
                 std::string& result)
{
    char videoId[1280] = {0};
    ExtractBetweenA(page, "addVariable(\"VideoID\"", ";", nullptr, videoId, sizeof videoId);
    StripChars(videoId, ", )\";");
    if (!videoId[0])
        return;

    FetchPageWith(std::string("http://") + cfg::CctvInterfaceHost + "/videodetail?id=" + videoId, page, pageSize,
                  headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    const std::string stream = ReadInto(page, "url=\"", "\"", work, workSize);
    const std::string title = ReadInto(page, "name=\"", "\"", headers, headerSize);
    result = "<title>" + title + "</title>" + OneAlternative(stream);
}

void ExtractYahoo(const char*, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result)
{
    result = GetPageTitle(page);
    std::string clipId;
    if (ExtractBetweenString(page, "\"clipID\":\"", "\"", nullptr, clipId).empty())
        ExtractBetweenString(page, "\"id\", \"", "\"", nullptr, clipId);

    FetchPageWith(std::string("http://") + cfg::YahooPlayListHost +
                      "/up/yep/process/getPlaylistFOP.php?node_id=" + clipId,
                  page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    std::string app, fullPath;
    ExtractBetweenString(page, "APP=\"", "\"", nullptr, app);
    ExtractBetweenString(page, "FULLPATH=\"", "\"", nullptr, fullPath);

    // The reply's escaped ampersands become plain, in the title too. No marker around
    // the address holds a part of "amp;", so the address can be told empty (no stream)
    // on its own.
    std::string address = app + fullPath;
    ReplaceAll(address, "amp;", "");
    result += OneAlternative(address);
    ReplaceAll(result, "amp;", "");
}

void ExtractMetacafe(const char*, char* page, uint32_t, char*, uint32_t, char*, uint32_t, std::string& result)
{
    result = GetPageTitle(page);
    std::string media, key;
    ExtractBetweenString(page, "\"mediaURL\":\"", "\"", nullptr, media);
    ExtractBetweenString(page, "\"gdaKey\":\"", "\"", nullptr, key);
    if (media.find(".flv") == std::string::npos)
        return;
    result += "<flv>" + media + "?__gda__=" + key + "<|></flv>";
    // The page's script data escapes its slashes, in the title too.
    ReplaceAll(result, "\\/", "/");
}
