// Tudou: the item id and the player script's weights pick an interface endpoint; its
// XML reply gives the title and the alternatives.
#include "tudou.h"

#include <cstring>
#include <string>

#include "config/hosts.h"
#include "decimal.h"
#include "extractors.h"
#include "fetch.h"
#include "platform/codepage.h"
#include "rand_clock.h"
#include "text.h"

namespace {

const size_t kScriptField = 40960;
const size_t kEndpointField = 1024;
const size_t kIidField = 2560;
const size_t kWeightField = 256;
const size_t kPlayerValueField = 512;
// Source characters of a title that the reference decoding reads, and the digits of
// one reference.
const size_t kTitleDecodeEnd = 2048;
const size_t kReferenceDigits = 15;

void CopyCut(const std::string& text, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

std::string Endpoint(const char* host, const char* path)
{
    return std::string("http://") + host + path;
}

std::string FindIid(const char* url, const char* page)
{
    std::string iid = ExtractField(page, "var iid=", ",", kIidField);
    if (iid.find("location.href.replace") != std::string::npos)
        iid.clear();
    if (iid.empty())
        iid = ExtractField(url, "iid=", nullptr, kIidField);
    if (iid.empty())
        iid = ExtractField(page, "iid: \"", "\"", kIidField);
    if (iid.empty())
        iid = ExtractField(page, "iid = ", ",", kIidField);
    // Control characters and bytes from 0x80 on end it.
    for (size_t i = 0; i < iid.size(); ++i) {
        if (static_cast<signed char>(iid[i]) < 32) {
            iid.resize(i);
            break;
        }
    }
    return iid;
}

// "&#" digits ";" becomes the character of the digits' low 16 bits in the ANSI code
// page; 0 gives nothing. A "&#" without ";" within the digits' bound stays as it is.
// Only the first 2049 characters are read.
std::string DecodeReferences(const char* title)
{
    std::string out;
    const size_t len = std::strlen(title);
    size_t i = 0;
    while (i < len && i <= kTitleDecodeEnd) {
        if (title[i] == '&' && title[i + 1] == '#') {
            const size_t room = len - (i + 2) < kReferenceDigits + 1 ? len - (i + 2) : kReferenceDigits + 1;
            const char* semi = static_cast<const char*>(std::memchr(title + i + 2, ';', room));
            if (semi) {
                const std::string digits(title + i + 2, semi);
                const char16_t unit = static_cast<char16_t>(ParseDecimalPrefix64(digits.c_str()) & 0xFFFF);
                if (unit != 0) {
                    char bytes[8];
                    const int n = AcpFromUtf16(&unit, 1, bytes, sizeof bytes);
                    out.append(bytes, static_cast<size_t>(n > 0 ? n : 0));
                }
                i = static_cast<size_t>(semi - title) + 1;
                continue;
            }
        }
        out.push_back(title[i]);
        ++i;
    }
    return out;
}

}  // namespace

void FindTudouPlayerScript(const char* page, char* scriptUrl, size_t size)
{
    const char* from = page;
    std::string element;
    const std::string setting = ExtractField(from, "playerSetting", "</script>", kScriptField, &from);
    if (!setting.empty()) {
        element = ExtractField(from, "<script", "</script>", kScriptField);
    } else {
        const std::string rest = ExtractField(from, "PLAYER_SETTING", nullptr, kScriptField);
        if (rest.empty())
            return;
        element = ExtractField(rest.c_str(), "<script", "</script>", kScriptField);
    }
    if (element.empty())
        return;
    const std::string src = ExtractField(element.c_str(), "src=\"", "\"", kScriptField);
    if (!src.empty())
        CopyCut(src, scriptUrl, size);
}

void ReadTudouPorts(const char* script, char* ports, size_t size)
{
    const char* from = script;
    bool loose = false;
    std::string block =
        ExtractField(from, "function tudouPlayer( p, s, e, i, l ) {", "swfobject.embedSWF", kScriptField, &from);
    if (block.empty())
        block = ExtractField(from, "function kiliPlayer( p, s, e, i, l ) {", "swfobject.embedSWF", kScriptField,
                             &from);
    if (block.empty()) {
        block = ExtractField(from, "function(p,s,e,i,l)", nullptr, kScriptField);
        loose = true;
    }
    if (block.empty())
        return;
    std::string value = ExtractField(block.c_str(), "\"ports\": '", "'", kScriptField);
    if (loose && value.empty())
        value = ExtractField(block.c_str(), "\"ports\":'", "'", kScriptField);
    std::string key = ExtractField(block.c_str(), "\"safekey\": \"", "\"", kScriptField);
    if (loose && key.empty())
        key = ExtractField(block.c_str(), "\"safekey\":\"", "\"", kScriptField);
    CopyCut((value.empty() ? std::string("NULL") : value) + ":" + key, ports, size);
}

void PickTudouEndpoint(const char* ports, char* endpoint, size_t endpointSize, char* safekey, size_t safekeySize)
{
    const std::string cdn = Endpoint(cfg::TudouInterfaceHost2, "/v2/cdn");
    const std::string vphp = Endpoint(cfg::TudouInterfaceHost1, "/cdn/v.php");
    const char* at = ports ? ports : "";
    std::string first;
    if (const char* colon = std::strchr(at, ':')) {
        first.assign(at, colon);
        at = colon + 1;
    }
    first = first.substr(0, kWeightField - 1);
    std::string chosen;
    if (first == "NULL") {
        chosen = vphp;
    } else {
        std::string second;
        if (const char* colon = std::strchr(at, ':')) {
            second.assign(at, colon);
            at = colon + 1;
        }
        second = second.substr(0, kWeightField - 1);
        const int32_t weight1 = ParseDecimalPrefix(first.c_str());
        const int64_t sum = int64_t(weight1) + ParseDecimalPrefix(second.c_str());
        int64_t draw = -1;
        if (sum != 0) {
            SeedRandomFromClock();
            draw = NextRandom() % sum + 1;
        }
        chosen = draw < weight1 ? cdn : vphp;
    }
    CopyCut(chosen, endpoint, endpointSize);
    CopyCut(at, safekey, safekeySize);
}

std::string MakeTudouApiUrl(std::string target)
{
    std::string iid, refurl;
    if (target.find("iid") != std::string::npos)
        iid = ExtractField(target.c_str(), "iid=", "&", kPlayerValueField);
    if (target.find("refurl") != std::string::npos)
        refurl = ExtractField(target.c_str(), "refurl=", nullptr, kPlayerValueField);
    return Endpoint(cfg::TudouInterfaceHost1, "/cdn/v2.php?noCatch=4290&id=") + iid + "&refurl=" + refurl;
}

void ExtractTudou(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result, std::string overrideUrl, bool useOverride)
{
    std::string api = overrideUrl;
    if (!useOverride) {
        const std::string iid = FindIid(url, page);
        std::string script(kScriptField, '\0');
        FindTudouPlayerScript(page, &script[0], script.size());
        std::string ports(kScriptField, '\0');
        if (script[0]) {
            FetchPage(script.c_str(), page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);
            ReadTudouPorts(page, &ports[0], ports.size());
        }
        char endpoint[kEndpointField] = {0};
        char safekey[kEndpointField] = {0};
        PickTudouEndpoint(ports.c_str(), endpoint, sizeof endpoint, safekey, sizeof safekey);
        if (url && std::strstr(url, cfg::TudouHdKey))
            CopyCut(Endpoint(cfg::TudouInterfaceHost2, "/v2/kili"), endpoint, sizeof endpoint);
        api = std::string(endpoint) + "?id=" + iid + "&noCatch=2573&safekey=" + safekey;
    }

    FetchPageWith(api, page, pageSize, headers, headerSize, work, workSize, AddDefaultHeaders, 0);

    std::string title;
    if (work && workSize) {
        work[0] = '\0';
        ExtractBetweenA(page, "q=\"", "\"", nullptr, work, workSize);
        if (!work[0])
            ExtractBetweenA(page, "title=\"", "\"", nullptr, work, workSize);
        if (std::strstr(work, "&#") && std::strchr(work, ';')) {
            const std::string decoded = DecodeReferences(work);
            work[0] = '\0';
            CopyCut(decoded, work, workSize);
        }
        title = work;
    }
    result = "<title>" + title + "</title>";
    result += "<flv>";
    const char* from = page ? std::strstr(page, "<f") : nullptr;
    while (from && work && workSize && ResultTakesItems(result, workSize)) {
        work[0] = '\0';
        if (!ExtractBetweenA(from, ">", "</f>", &from, work, workSize) || !work[0])
            break;
        result += work;
        result += "<|>";
    }
    result += "</flv>";
}
