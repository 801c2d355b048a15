// Break extractor: the player script's file moved from the media host onto the video
// host, signed, as one alternative.
#include <cstdio>

#include "config/hosts.h"
#include "extractors.h"
#include "md5.h"
#include "text.h"

namespace {

const char kMediaPath[] = "/dnet/media/";
const size_t kMaxTail = 10239;

}  // namespace

void ExtractBreak(const char*, char* page, uint32_t, char*, uint32_t, char*, uint32_t, std::string& result)
{
    std::string videoPath, contentPath, fileName;
    ExtractBetweenString(page, "'videoPath', '", "'", nullptr, videoPath);
    ExtractBetweenString(page, "sGlobalContentFilePath='", "'", nullptr, contentPath);
    ExtractBetweenString(page, "sGlobalFileName='", "'", nullptr, fileName);
    const std::string candidate = videoPath + contentPath + "/" + fileName + ".flv";

    result = GetPageTitle(page);

    // Only files on the media host (tested by the scheme and its first label).
    const std::string mediaHost = cfg::BreakMediaHost;
    const std::string mediaTest = "http://" + mediaHost.substr(0, mediaHost.find('.'));
    if (candidate.compare(0, mediaTest.size(), mediaTest) != 0) {
        std::fputs("not support!!\n", stdout);
        std::fflush(stdout);
        return;
    }

    const std::string mediaPrefix = "http://" + mediaHost + kMediaPath;
    const size_t at = candidate.find(mediaPrefix);
    const std::string tail =
        at == std::string::npos ? std::string() : candidate.substr(at + mediaPrefix.size(), kMaxTail);
    result += "<flv>";
    // A candidate off the media path names no file: no stream.
    if (!tail.empty())
        result += SignMediaUrl(std::string("http://") + cfg::BreakVideoHost + kMediaPath + tail) + "&ext=.flv<|>";
    result += "</flv>";
}
