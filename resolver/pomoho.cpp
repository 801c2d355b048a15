// Pomoho: the flvid of a player address, and the file address built from the host and
// stream name that the interface gives.
#include <cstring>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "text.h"

void ExtractPomoho(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result)
{
    if (!url || !std::strstr(ToLowerString(url).c_str(), ".swf"))
        return;
    char flvid[1280] = {0};
    ExtractBetweenA(url, "flvid=", nullptr, nullptr, flvid, sizeof flvid);
    const std::string address =
        std::string("http://") + cfg::PomohoInterfaceHost + "/getvideourl.aspx?isdeepvoice=1&flvid=" + flvid;
    FetchPage(address.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);

    // Each field ends at the next "&": the last one of the reply reads as empty.
    char host[1024] = {0};
    char stream[1024] = {0};
    char title[1024] = {0};
    ExtractBetweenA(page, "host=", "&", nullptr, host, sizeof host);
    ExtractBetweenA(page, "stream_name=", "&", nullptr, stream, sizeof stream);
    ExtractBetweenA(page, "title=", "&", nullptr, title, sizeof title);
    if (!host[0])
        return;
    result = std::string("<title>") + title + "</title><flv>http://" + host + "/pomoho_video/" + stream +
             ".flv<|></flv>";
}
