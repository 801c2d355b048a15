// Bokecc: the video id from the page address, the FLV paths of the status interface.
#include "bokecc.h"

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "text.h"

void AskBokeccStatus(const std::string& videoId, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                     char* work, uint32_t workSize, std::string& result)
{
    const std::string address =
        std::string("http://") + cfg::BokeccInterfaceHost + "/servlet/GetVideoStatus?videoID=" + videoId;
    FetchPage(address.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);

    std::string title;
    if (headers && headerSize) {
        headers[0] = '\0';
        ExtractBetweenA(page, "title=\"", "\"", nullptr, headers, headerSize);
        title = headers;
    }
    result = "<title>" + title + "</title>";

    const char* rest = page;
    while (rest && work && workSize && ResultTakesItems(result, workSize)) {
        work[0] = '\0';
        ExtractBetweenA(rest, "flvPath=\"", "\"", &rest, work, workSize);
        if (!work[0])
            break;
        result += std::string("<flv>") + work + "<|></flv>";
    }
}

void ExtractBokecc(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result)
{
    char videoId[1280] = {0};
    ExtractBetweenA(url, "videoID=", "&", nullptr, videoId, sizeof videoId);
    if (!videoId[0]) {
        result = "<title></title><flv></flv>";
        return;
    }
    char requestId[2048] = {0};
    ExtractBetweenA(videoId, "_", nullptr, nullptr, requestId, sizeof requestId);
    AskBokeccStatus(requestId, page, pageSize, headers, headerSize, work, workSize, result);
}
