// The list and address-line exports.
#include <cstring>
#include <string>
#include <vector>

#include "alive.h"
#include "buffers.h"
#include "dispatch.h"
#include "platform/codepage.h"
#include "result_text.h"
#include "store.h"
#include "vennix.h"

namespace {

const uint32_t kPageSize = 2097152;
const uint32_t kHeaderSize = 10240;
const uint32_t kWorkSize = 2097152;
const size_t kStoreReplySize = 524288;
const size_t kTitleSize = 1024;

bool Alive(const std::string& url)
{
    return IsUrlAlive(url.c_str());
}

void CopyBounded(const std::string& s, char* out, size_t size)
{
    size_t n = s.size() < size ? s.size() : size - 1;
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
}

void WriteText(const std::string& text, char* out, size_t outSize)
{
    std::string fitted = FitResultText(text, outSize);
    std::memcpy(out, fitted.c_str(), fitted.size() + 1);
}

// Resolves the page in fresh buffers; pageUrl is the call's own copy.
std::string Resolve(std::string& pageUrl)
{
    ZeroedBuffer page(kPageSize), headers(kHeaderSize), work(kWorkSize);
    std::string result;
    ResolveVideoPage(pageUrl, page.data(), kPageSize, headers.data(), kHeaderSize, work.data(), kWorkSize, result);
    return result;
}

void GetFlvList(const char* pageUrl, char* out, size_t outSize)
{
    ZeroedBuffer stored(kStoreReplySize);
    bool hit = LookupStoredList(pageUrl, stored.data(), stored.size());
    if (hit) {
        WriteText(stored.data(), out, outSize);
        return;
    }
    if (stored.data()[0])  // a miss with a reply: the output holds it until the result replaces it
        CopyBounded(stored.data(), out, outSize);
    std::string url = pageUrl;
    std::string result = KeepLiveAlternatives(Resolve(url), Alive);
    ListParts parts = TakeFirstParts(result);
    if (!parts.items.empty())
        StoreResolvedList(url.c_str(), parts.title, parts.items);
    WriteText(result, out, outSize);
}

// The direct list text as it is written into outSize bytes.
std::string ListDirectly(const char* pageUrl, size_t outSize)
{
    std::string url = pageUrl;
    return FitResultText(KeepFirstLive(Resolve(url), Alive), outSize);
}

void GetFlvListDirectly(const char* pageUrl, char* out, size_t outSize)
{
    const std::string text = ListDirectly(pageUrl, outSize);
    std::memcpy(out, text.c_str(), text.size() + 1);
}

// What an address-line export writes: each output only where its flag is set.
struct UrlOutputs {
    bool hasLines = false, hasTitle = false;
    std::string lines, title;
};

// The outputs over a list of listSize bytes, each cut to its size with the terminator.
// Outputs stay as they were where the list gives nothing, but for the direct form's
// empty list, which empties both.
UrlOutputs UrlOf(const char* pageUrl, size_t linesSize, size_t titleSize, size_t listSize, bool directly)
{
    std::string list;
    if (directly) {
        list = ListDirectly(pageUrl, listSize);
    } else {
        ZeroedBuffer buf(listSize);
        GetFlvList(pageUrl, buf.data(), listSize);
        list = buf.data();
    }
    UrlOutputs out;
    if (list.empty()) {
        out.hasLines = out.hasTitle = directly;
        return out;
    }
    UrlLines u = MakeUrlLines(list.c_str(), linesSize);
    out.hasTitle = u.hasTitle;
    out.title = u.title.substr(0, titleSize - 1);
    out.hasLines = u.hasList;
    out.lines = u.lines.substr(0, linesSize - 1);
    return out;
}

// The 8-bit address-line exports.
void GetFlvUrl(const char* pageUrl, char* lines, size_t linesSize, char* title, size_t titleSize, size_t listSize,
               bool directly)
{
    const UrlOutputs out = UrlOf(pageUrl, linesSize, titleSize, listSize, directly);
    if (out.hasTitle)
        std::memcpy(title, out.title.c_str(), out.title.size() + 1);
    if (out.hasLines)
        std::memcpy(lines, out.lines.c_str(), out.lines.size() + 1);
}

// UTF-16 to ANSI into a zero-filled buffer; false when it does not fit.
bool ToAnsi(const flv_wchar* text, const ZeroedBuffer& buf)
{
    if (!text)
        return false;
    const char16_t* t = reinterpret_cast<const char16_t*>(text);
    return WideToAnsi(t, static_cast<int>(std::char_traits<char16_t>::length(t) + 1), buf.data(), buf.size()) > 0;
}

// ANSI to UTF-16 into units, cut at a whole character, always terminated.
void ToWide(const char* text, flv_wchar* out, size_t units)
{
    std::u16string wide(std::strlen(text) + 1, u'\0');
    int n = Utf16FromAcp(text, -1, &wide[0], static_cast<int>(wide.size()));
    size_t len = n > 0 ? static_cast<size_t>(n) - 1 : 0;
    if (len > units - 1) {
        len = units - 1;
        if (wide[len - 1] >= 0xD800 && wide[len - 1] <= 0xDBFF)
            --len;
    }
    std::memcpy(out, wide.data(), len * sizeof(char16_t));
    out[len] = 0;
}

// Sizes of a UTF-16 address-line export: its ANSI limits and the caller's.
struct WideSizes {
    size_t url, lines, title, lineUnits, titleUnits;
};

// The UTF-16 address-line exports: the 8-bit form within ANSI limits of their own,
// always writing both outputs (empty where the 8-bit form writes nothing).
void GetFlvUrlWide(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title, const WideSizes& z, bool directly)
{
    try {
        ZeroedBuffer url(z.url);
        UrlOutputs out;
        if (ToAnsi(pageUrl, url))
            out = UrlOf(url.data(), z.lines, z.title, z.lines, directly);
        ToWide(out.hasLines ? out.lines.c_str() : "", lines, z.lineUnits);
        ToWide(out.hasTitle ? out.title.c_str() : "", title, z.titleUnits);
    } catch (...) {
        lines[0] = 0;
        title[0] = 0;
    }
}

}  // namespace

extern "C" void FLV_CALL FLV_GetFlvListA(const char* pageUrl, char* list)
{
    try {
        GetFlvList(pageUrl ? pageUrl : "", list, FLV_LIST_A_SIZE);
    } catch (...) {
        list[0] = '\0';
    }
}

extern "C" void FLV_CALL FLV_GetFlvListDirectlyA(const char* pageUrl, char* list)
{
    try {
        GetFlvListDirectly(pageUrl ? pageUrl : "", list, FLV_LIST_A_SIZE);
    } catch (...) {
        list[0] = '\0';
    }
}

extern "C" void FLV_CALL FLV_GetFlvListW(const flv_wchar* pageUrl, flv_wchar* list)
{
    try {
        ZeroedBuffer url(1024), text(4096);
        if (ToAnsi(pageUrl, url))
            GetFlvList(url.data(), text.data(), text.size());
        ToWide(text.data(), list, FLV_LIST_W_UNITS);
    } catch (...) {
        list[0] = 0;
    }
}

extern "C" void FLV_CALL FLV_GetFlvUrlA(const char* pageUrl, char* lines, char* title)
{
    try {
        GetFlvUrl(pageUrl ? pageUrl : "", lines, FLV_URL_A_LINES_SIZE, title, FLV_URL_A_TITLE_SIZE, 4096, false);
    } catch (...) {
    }
}

extern "C" void FLV_CALL FLV_GetFlvUrlDirectlyA(const char* pageUrl, char* lines, char* title)
{
    try {
        GetFlvUrl(pageUrl ? pageUrl : "", lines, FLV_URL_A_LINES_SIZE, title, FLV_URL_A_TITLE_SIZE, 131072, true);
    } catch (...) {
        lines[0] = '\0';
        title[0] = '\0';
    }
}

extern "C" void FLV_CALL FLV_GetFlvUrlW(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title)
{
    GetFlvUrlWide(pageUrl, lines, title, {1024, 4096, kTitleSize, FLV_URL_W_LINES_UNITS, FLV_URL_W_TITLE_UNITS}, false);
}

extern "C" void FLV_CALL FLV_GetFlvUrlDirectlyW(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title)
{
    GetFlvUrlWide(pageUrl, lines, title, {10240, 131072, 10240, FLV_URL_DW_LINES_UNITS, FLV_URL_DW_TITLE_UNITS},
                  true);
}
