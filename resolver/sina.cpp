#include <cstring>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "sina.h"
#include "text.h"

namespace {

bool IsAllDigits(const char* s)
{
    if (!*s)
        return false;
    for (; *s; ++s) {
        if (*s < '0' || *s > '9')
            return false;
    }
    return true;
}

// The vid from the page, then from the page address; a source that does not match
// leaves the value before it.
void FindVid(const char* url, const char* page, char* vid, size_t vidSize)
{
    if (page) {
        ExtractBetweenA(page, "addVariable(\"vid\"", "-", nullptr, vid, vidSize);
        StripChars(vid, ", \"");
        if (!IsAllDigits(vid))
            ExtractBetweenA(page, "video=\"", "-", nullptr, vid, vidSize);
        if (!IsAllDigits(vid))
            ExtractBetweenA(page, "play(\"", "\"", nullptr, vid, vidSize);
    }
    if (!url)
        return;
    if (!IsAllDigits(vid))
        ExtractBetweenA(url, "#", nullptr, nullptr, vid, vidSize);
    if (!IsAllDigits(vid)) {
        if (const char* slash = std::strrchr(url, '/'))
            ExtractBetweenA(slash + 1, nullptr, "-", nullptr, vid, vidSize);
    }
    if (!IsAllDigits(vid))
        ExtractBetweenA(url, "vid=", "&", nullptr, vid, vidSize);
}

}  // namespace

void ReadSinaPlayList(const char* vid, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                      char* work, uint32_t workSize, std::string& result)
{
    // The fetch takes the address out of the work buffer before it works there.
    std::string address = std::string("http://") + cfg::SinaInterfaceHost + "/v_play.php?vid=" + (vid ? vid : "");
    if (work && address.size() < workSize) {
        std::memcpy(work, address.c_str(), address.size() + 1);
        FetchPage(work, page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    } else {
        FetchPage(address.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    }

    std::string title;
    if (headers && headerSize) {
        headers[0] = '\0';
        ExtractBetweenA(page, "<vname><![CDATA[", "]]>", nullptr, headers, headerSize);
        title = headers;
    } else {
        ExtractBetweenString(page, "<vname><![CDATA[", "]]>", nullptr, title);
    }
    result = "<title>" + title + "</title>";
    result += "<flv>";

    const char* rest = page;
    char block[4096];
    while (rest && ResultTakesItems(result, workSize)) {
        block[0] = '\0';
        const char* after = nullptr;
        if (!ExtractBetweenA(rest, "durl", "/durl", &after, block, sizeof block) || !block[0])
            break;
        if (work && workSize) {
            work[0] = '\0';
            ExtractBetweenA(block, "<url><![CDATA[", "]]>", nullptr, work, workSize);
            result += work;
        }
        result += "<&>";
        rest = after;
    }
    result += "</flv>";
}

void ExtractSina(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                 uint32_t workSize, std::string& result)
{
    char vid[1280] = {0};
    FindVid(url, page, vid, sizeof vid);
    if (!IsAllDigits(vid))
        return;

    ReadSinaPlayList(vid, page, pageSize, headers, headerSize, work, workSize, result);
}
