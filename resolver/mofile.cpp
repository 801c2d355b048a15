// Mofile extractor: the player block's video key, the play interface's file record,
// the download address with its shifted value.
#include "mofile.h"

#include <cstring>

#include "config/hosts.h"
#include "extractors.h"
#include "fetch.h"
#include "text.h"

namespace {

const char kKey[] = "Mk5QsAo8ZwWb2SeXy0EgDn9CaRt3FqVd7ThGz1BrYj6HvNm4UxJcIpKlOfLiPu";
const int kKeyLength = 62;
const int kShift = 10;

std::string Field(const char* reply, const char* open, const char* close)
{
    std::string value;
    return ExtractBetweenString(reply, open, close, nullptr, value);
}

}  // namespace

std::string JoinChars(const std::vector<char>& chars, const std::string& separator)
{
    std::string out;
    out.reserve(chars.size() * (1 + separator.size()));
    for (char c : chars) {
        out += c;
        out += separator;
    }
    return out;
}

std::string ShiftAlphabet(const std::string& text)
{
    std::vector<char> shifted;
    shifted.reserve(text.size());
    for (char c : text) {
        const char* at = c ? std::strchr(kKey, c) : nullptr;
        const int p = at ? static_cast<int>(at - kKey) : -1;
        shifted.push_back(kKey[(p + kShift) % kKeyLength]);
    }
    return IntToString(kShift) + JoinChars(shifted, "");
}

void ExtractMofile(const char*, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result)
{
    result = GetPageTitle(page);

    std::string key;
    if (const char* player = std::strstr(page, "\"player\""))
        ExtractBetweenString(player, "v=\"", "\"", nullptr, key);

    FetchPageWith(std::string("http://") + cfg::MofilePlayHost + "/cn/videoplay/play.do?v=" + key, page, pageSize,
                  headers, headerSize, work, workSize, AddDefaultHeaders, 0);
    if (std::strstr(page, "<list>") || !std::strstr(page, "<movie>"))
        return;

    const std::string domain = Field(page, "<domain>", "</domain>");
    const std::string path = Field(page, "<path>", "</path>");
    const std::string down = Field(page, "<downdomainname>", "</downdomainname>");
    const std::string md5 = Field(page, "<md5>", "</md5>");
    const std::string audit = Field(page, "<auditTime>", "</auditTime>");
    result += "<flv>";
    // Without a domain the address names no server: no stream.
    if (!domain.empty())
        result += "http://" + domain + "?p=" + ShiftAlphabet(path + md5 + audit) + "&down=" + down + "<|>";
    result += "</flv>";
}
