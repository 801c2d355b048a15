// Yepig: pages that embed a Sina player (named in the page's Flash object) or a
// Bokecc player; the video id goes to that site's interface.
#include <cstring>

#include "bokecc.h"
#include "config/hosts.h"
#include "extractors.h"
#include "sina.h"
#include "text.h"

void ExtractYepig(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result)
{
    const char* const kEmpty = "<title></title><flv></flv>";
    char flash[512] = {0};
    ExtractBetweenA(page, "SWFObject(\"", "\"", nullptr, flash, sizeof flash);
    char videoId[1280] = {0};

    // An empty SWFObject("") names no player: the page goes the Bokecc way.
    if (flash[0]) {
        char host[512] = {0};
        GetUrlHostA(ToLowerString(flash).c_str(), host, sizeof host);
        if (!std::strstr(host, cfg::SinaKey))
            return;
        ExtractBetweenA(flash, "vid=", nullptr, nullptr, videoId, sizeof videoId);
        if (!videoId[0]) {
            result = kEmpty;
            return;
        }
        ReadSinaPlayList(videoId, page, pageSize, headers, headerSize, work, workSize, result);
        return;
    }

    ExtractBetweenA(url, "vid=", "&", nullptr, videoId, sizeof videoId);
    if (!videoId[0]) {
        char viewplay[2048] = {0};
        ExtractBetweenA(page, "viewplay(\"", "\"", nullptr, viewplay, sizeof viewplay);
        if (viewplay[0])
            ExtractBetweenA(viewplay, "vid=", "&", nullptr, videoId, sizeof videoId);
    }
    if (!videoId[0]) {
        result = kEmpty;
        return;
    }
    AskBokeccStatus(videoId, page, pageSize, headers, headerSize, work, workSize, result);
}
