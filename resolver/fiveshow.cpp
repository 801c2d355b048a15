// 5show extractor: the page's three identifiers posted to the interface, which names
// the file's host; the file's address is dated by the p1 identifier.
#include "fiveshow.h"

#include <cstring>

#include "buffers.h"
#include "config/hosts.h"
#include "extractors.h"
#include "store.h"
#include "text.h"

namespace {

const uint16_t kInterfacePort = 88;
const char kDirectory[] = "h72bd05kwn416tq3m/";

// The date part of p1: after its second "_", at least eight characters; empty otherwise.
std::string DatePart(const std::string& p1)
{
    const size_t first = p1.find('_');
    const size_t second = first == std::string::npos ? first : p1.find('_', first + 1);
    if (second == std::string::npos || p1.size() - (second + 1) < 8)
        return std::string();
    return p1.substr(second + 1);
}

}  // namespace

void AddFormContentType(HttpRequestHandle request, uint32_t)
{
    AddDefaultHeaders(request, 0);
    AddRequestHeader(request, "Content-type: application/x-www-form-urlencoded");
}

std::string MakeFiveShowForm(const std::string& p1, const std::string& uid, const std::string& flvId)
{
    const std::string domain = UrlEncode(cfg::FiveShowDomain);
    return "net=1&p1=" + UrlEncode(p1) + "&domain=" + domain + "&" + UrlEncode("show_id") + "=" + UrlEncode(flvId) +
           "&" + UrlEncode("user_id") + "=" + UrlEncode(uid) + "&key=" + domain;
}

void Extract5show(const char*, char* page, uint32_t pageSize, char*, uint32_t, char*, uint32_t, std::string& result)
{
    std::string p1, uid, flvId;
    if (ExtractBetweenString(page, "?p1=", "&", nullptr, p1).empty() ||
        ExtractBetweenString(page, "&uid=", "&", nullptr, uid).empty() ||
        ExtractBetweenString(page, "&flv_id=", "\"", nullptr, flvId).empty())
        return;

    result = GetPageTitle(page);

    // The reply is used as it comes, neither inflated nor converted; the last byte of
    // the page stays free for the terminator.
    const std::string form = MakeFiveShowForm(p1, uid, flvId);
    ClearBuffer(page, pageSize);
    uint32_t replyLen = pageSize ? pageSize - 1 : 0;
    HttpPost(cfg::FiveShowInterfaceHost, kInterfacePort, "/flash.ashx", form.c_str(),
             static_cast<uint32_t>(form.size()), AddFormContentType, page, &replyLen, nullptr, nullptr);
    NoteWritten(page, replyLen);  // after a failure, the whole capacity

    std::string host;
    if (ExtractBetweenString(page, "host=", nullptr, nullptr, host).empty()) {
        result.clear();
        return;
    }

    const std::string date = DatePart(p1);
    result += "<flv>";
    // A p1 without a whole date names no file.
    if (!date.empty())
        result += "http://" + host + "/" + kDirectory + date.substr(0, 4) + "/" + date.substr(4, 2) + "/" +
                  date.substr(6, 2) + "/" + p1 + ".flv<|>";
    result += "</flv>";
}
