#include <cstring>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "text.h"

namespace {

// The text between the markers, read into the work buffer; empty when not found.
std::string ReadField(const char* source, const char* start, const char* end, char* work, uint32_t workSize)
{
    if (!work || workSize == 0)
        return std::string();
    work[0] = '\0';
    ExtractBetweenA(source, start, end, nullptr, work, workSize);
    return work;
}

}  // namespace

std::string MakeKu6ApiUrl(std::string vid)
{
    if (vid.empty())
        return std::string();
    return std::string("http://") + cfg::Ku6InterfaceHost + "/fetchVideo4Player/1/" + vid + ".html";
}

void ExtractKu6(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                uint32_t workSize, std::string& result, std::string overrideUrl, bool useOverride)
{
    char object[4096] = {0};
    char data[4096] = {0};
    const char* source = data;
    if (useOverride) {
        FetchPageWith(overrideUrl, page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
        source = page;
    } else {
        ExtractBetweenA(page, "$ns.ObjectInfo", "</script>", nullptr, object, sizeof object);
        ExtractBetweenA(object, "data", nullptr, nullptr, data, sizeof data);
    }

    std::string title = ReadField(source, "\"t\":\"", "\"", work, workSize);
    result += "<title>";
    result += UnescapeUnicode(title.c_str());
    result += "</title>";
    result += "<flv>";
    // Commas elsewhere in the text (the title) change too.
    ReplaceAll(result, ",", "<|>");

    // The list's alternatives are its comma-separated parts, each ended by "<|>".
    const std::string list = UnescapeUnicode(ReadField(source, "\"f\":\"", "\"", work, workSize).c_str());
    size_t from = 0;
    while (ResultTakesItems(result, workSize)) {
        const size_t comma = list.find(',', from);
        result.append(list, from, comma == std::string::npos ? std::string::npos : comma - from);
        result += "<|>";
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    result += "</flv>";
}
