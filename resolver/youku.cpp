// Youku: the play list named by the page or by the player address, the file
// identifier deciphered with the seed's alphabet, one address or the segments.
#include "youku.h"

#include <cstdio>
#include <cstring>

#include "config/hosts.h"
#include "decimal.h"
#include "extractors.h"
#include "fetch.h"
#include "rand_clock.h"
#include "text.h"

const char kYoukuSourceAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ/\\:._-1234567890";

namespace {

const char kPlayListPath[] = "/player/getPlayList/VideoIDS/";
const uint32_t kKeyMask = 0x6B1E4D72u;

// A play-list field searched from *from; a field found moves *from past its end marker.
std::string NextField(const char** from, const char* start, char* out, size_t size)
{
    if (!out || size == 0)
        return std::string();
    out[0] = '\0';
    ExtractBetweenA(*from, start, "\"", from, out, size);
    return out;
}

std::string PlayListUrlFromPage(const char* page)
{
    const std::string videoIds = ExtractField(page, "(\"VideoIDS\",", ")", 320);
    const std::string fid = ExtractField(page, "(\"Fid\",\"", "\"", 320);
    const std::string pt = ExtractField(page, "(\"Pt\",\"", "\"", 320);
    const std::string ob = ExtractField(page, "(\"Ob\",\"", "\"", 320);
    std::string url = std::string("http://") + cfg::YoukuPlayListHost + kPlayListPath + videoIds +
                      "/version/5/source/video/password/undefined/";
    if (!fid.empty())
        url += "Type/Folder/Fid/" + fid;
    if (!pt.empty())
        url += "/Pt/" + pt;
    if (!ob.empty())
        url += "/Ob/" + ob;
    return url + "?onData=%5Btype%20Function%5D&this2=%5Flevel0&n=3";
}

std::string KeySuffix(const char* key1)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(static_cast<uint32_t>(ParseHex(key1)) ^ kKeyMask));
    return hex;
}

// A player-address value: given only when "key=" is followed by a non-empty text and "&".
std::string Given(const std::string& address, const char* key)
{
    if (address.find(key) == std::string::npos)
        return std::string();
    return ExtractField(address.c_str(), (std::string(key) + "=").c_str(), "&", 512);
}

std::string Source(const std::string& address)
{
    if (address.find("winType") == std::string::npos)
        return "out";
    const std::string win = Given(address, "winType");
    if (win.empty())
        return "";
    if (win == "index")
        return "index";
    if (win == "interior" || win == "adshow")
        return "video";
    return "out";
}

}  // namespace

std::string MixAlphabet(int64_t seed)
{
    std::string source = kYoukuSourceAlphabet;
    std::string out;
    int64_t s = seed % 65536;
    if (s < 0)
        s += 65536;
    const size_t passes = source.size();
    for (size_t i = 0; i < passes; ++i) {
        s = (s * 211 + 30031) % 65536;
        const size_t pos = static_cast<size_t>(s) * source.size() / 65536;
        out.push_back(source[pos]);
        source.erase(pos, 1);
    }
    return out;
}

std::string DecodeFileId(std::string fileIds, std::string alphabet)
{
    std::string out;
    size_t at = 0;
    for (;;) {
        const size_t star = fileIds.find('*', at);
        if (star == std::string::npos)
            break;
        const std::string token = fileIds.substr(at, star - at < 499 ? star - at : 499);
        at = star + 1;
        if (token.empty())
            break;
        const int64_t index = ParseDecimalPrefix64(token.c_str());
        if (index >= 0 && static_cast<uint64_t>(index) < alphabet.size())
            out.push_back(alphabet[static_cast<size_t>(index)]);
    }
    return out;
}

std::string MakeYoukuPlayListUrl(std::string target)
{
    std::string videoIds = Given(target, "VideoIDS");
    if (videoIds.empty())
        videoIds = "XMjc5MDM1NzY=";
    std::string pt = Given(target, "Pt");
    if (pt.empty())
        pt = "0";
    const std::string type = Given(target, "Type");
    const std::string fid = Given(target, "Fid");
    std::string ob = Given(target, "Ob");
    if (ob.empty())
        ob = "undefined";
    const std::string source = Source(target);

    SeedRandomFromClock();
    const int ran = NextRandom() % 9999;

    std::string url = std::string("http://") + cfg::YoukuPlayListHost + kPlayListPath + videoIds + "/version/5" +
                      "/source/" + source + "/password/";
    if (type == "Folder") {
        url += "/Type/" + type + "/Fid/" + fid + "/Pt/" + pt;
        if (ob != "undefined")
            url += "/Ob/" + ob;
    }
    return url + "?ran=" + std::to_string(ran) + "&n=3";
}

void ExtractYouku(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work, uint32_t workSize,
                  std::string& result, std::string overrideUrl, bool useOverride)
{
    const std::string playList = useOverride ? overrideUrl : PlayListUrlFromPage(page);
    FetchPageWith(playList, page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    if (work && workSize)
        work[0] = '\0';
    if (headers && headerSize)
        headers[0] = '\0';

    // Each field is searched after the last one found.
    const char* from = page;
    const std::string seed = ExtractField(from, "\"seed\":", ",", 320, &from);
    const std::string fileIds = NextField(&from, "\"fileid\":\"", work, workSize);
    const std::string title = NextField(&from, "\"title\":\"", headers, headerSize);
    char key1[64] = {0};
    NextField(&from, "\"key1\":\"", key1, sizeof key1);
    const std::string key2 = ExtractField(from, "\"key2\":\"", "\"", 640);
    const std::string key = key2 + KeySuffix(key1);

    result = "<title>" + UnescapeUnicode(title.c_str()) + "</title>";
    const std::string id = DecodeFileId(fileIds, MixAlphabet(ParseDecimalPrefix64(seed.c_str())));
    if (id.size() < 10)
        return;
    const int32_t kind = ParseHex(id.substr(0, 2).c_str());
    const int32_t count = ParseHex(id.substr(6, 2).c_str());

    const std::string prefix = std::string("http://") + cfg::YoukuFileHost + "/player/getFlvPath/fileid/";
    result += "<flv>";
    if ((kind == 2 || kind == 3) && count >= 2) {
        // Every segment repeats the whole identifier.
        for (int32_t i = 0; i < count && ResultTakesItems(result, workSize); ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "%02X", static_cast<unsigned>(i));
            std::string segment = id;
            segment.replace(8, 2, number);
            result += prefix + segment + "&K=" + key + "<&>";
        }
    } else {
        result += prefix + id + "&K=" + key + "<|>";
    }
    result += "</flv>";
}
