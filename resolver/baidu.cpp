// Baidu extractor: the player call's path and base, the info key deciphered with the
// video identifier, the access code over its fields.
#include "baidu.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "rand_clock.h"
#include "sha1_des.h"
#include "text.h"

namespace {

const char kScheme[] = "http://";
const size_t kIdLength = 24;

// The text of s before its first zero byte.
size_t CLength(const std::string& s)
{
    return std::strlen(s.c_str());
}

// Takes the text before the first comma that w holds ahead of its first zero byte into
// field, and leaves w after it. Gives false, changing nothing, when there is none.
bool TakeField(std::string& w, std::string& field)
{
    const size_t comma = w.find(',');
    if (comma == std::string::npos || comma >= CLength(w))
        return false;
    field = w.substr(0, comma);
    w.erase(0, comma + 1);
    return true;
}

}  // namespace

std::string RandomizeHost(const std::string& base)
{
    SeedRandomFromClock();
    const int n = NextRandom() % 99 + 1;
    char server[4];
    std::snprintf(server, sizeof server, "%02d", n);
    return std::string("http://v") + server + "." + base;
}

std::string FetchKeyTag(const std::string& url)
{
    std::vector<char> page(40960), headers(4096), work(40960);
    FetchPageWith(url, page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                  static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()),
                  AddDefaultHeaders, 0);
    char key[1024] = {0};
    ExtractBetweenA(page.data(), "<key>", "</key>", nullptr, key, sizeof key);
    return key;
}

std::string FetchBaiduInfoKey(const std::string& prefix, const std::string& path)
{
    const int32_t now = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(CalendarTime())));
    return FetchKeyTag(prefix + path + "?type=info" + "&t=" + IntToString(now));
}

std::string MakeBaiduXcode(const std::string& infoKey, const std::string& videoUrl)
{
    // The identifier: 24 characters after the first "/video/", else from index 6; fewer
    // where the address ends sooner.
    const size_t video = videoUrl.find("/video/");
    const size_t from = video != std::string::npos ? video + 7 : 6;
    const std::string id = from < videoUrl.size() ? videoUrl.substr(from, kIdLength) : std::string();

    const std::string plain = DesDecryptHex(id.substr(0, 8), infoKey);

    // The field walk; each comma search sees the text only up to its first zero byte.
    std::string w = plain, field1, field2, field3, rest;
    TakeField(w, field1);
    if (!w.empty()) {
        TakeField(w, field2);
        if (!w.empty()) {
            TakeField(w, field3);
            if (w.empty() || w.find(',') >= CLength(w))
                rest = w;
        }
    }

    std::string input = field1 + "," + field2;
    if (rest.find('\0') == std::string::npos)
        input += "," + rest + "," + id;
    return Sha1Digest(input, 0) + "_" + field2;
}

std::string MakeBaiduVideoUrl(const std::string& path, const std::string& base)
{
    std::string host = base.empty() ? std::string(kScheme) + cfg::BaiduVideoHost + "/video/" : base;
    if (host.compare(0, 7, kScheme) == 0)
        host.erase(0, 7);
    const std::string prefix = RandomizeHost(host);
    const std::string infoKey = FetchBaiduInfoKey(prefix, path);
    if (infoKey.empty())
        return std::string();
    const std::string videoUrl = prefix + path;
    return videoUrl + "?xcode=" + MakeBaiduXcode(infoKey, videoUrl);
}

void ExtractBaidu(const char* url, char* page, uint32_t, char*, uint32_t, char*, uint32_t, std::string& result)
{
    std::string path, base;
    if (ToLowerString(url ? url : "").find(".swf") == std::string::npos) {
        char block[2048] = {0};
        char pathBuf[256] = {0};
        char baseBuf[2560] = {0};
        ExtractBetweenA(page, "BVP.play(", "})", nullptr, block, sizeof block);
        ExtractBetweenA(block, "\"", "\"", nullptr, pathBuf, sizeof pathBuf);
        ExtractBetweenA(block, " videoSource:\"", "\"", nullptr, baseBuf, sizeof baseBuf);
        path = pathBuf;
        base = baseBuf;
    }
    const std::string stream = MakeBaiduVideoUrl(path, base);
    result = GetPageTitle(page);
    result += "<flv>";
    if (!stream.empty())
        result += stream + "<|>";
    result += "</flv>";
}
