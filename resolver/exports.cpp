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

void GetFlvListDirectly(const char* pageUrl, char* out, size_t outSize)
{
    std::string url = pageUrl;
    WriteText(KeepFirstLive(Resolve(url), Alive), out, outSize);
}

// The address-line exports over a list buffer of listSize bytes. Outputs stay as
// they were where the list gives nothing, but for the direct form's empty list.
void GetFlvUrl(const char* pageUrl, char* lines, size_t linesSize, char* title, size_t titleSize, size_t listSize,
               bool directly)
{
    ZeroedBuffer list(listSize);
    if (directly)
        GetFlvListDirectly(pageUrl, list.data(), listSize);
    else
        GetFlvList(pageUrl, list.data(), listSize);
    if (!list.data()[0]) {
        if (directly) {
            lines[0] = '\0';
            title[0] = '\0';
        }
        return;
    }
    UrlLines u = MakeUrlLines(list.data(), linesSize);
    if (u.hasTitle)
        CopyBounded(u.title, title, titleSize);
    if (u.hasList)
        CopyBounded(u.lines, lines, linesSize);
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

// Sizes of a UTF-16 address-line export: its ANSI buffers and the caller's limits.
struct WideSizes {
    size_t url, lines, title, lineUnits, titleUnits;
};

// The UTF-16 address-line exports: the 8-bit form through buffers of their own,
// always writing both outputs.
void GetFlvUrlWide(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title, const WideSizes& z, bool directly)
{
    try {
        ZeroedBuffer url(z.url), a(z.lines), t(z.title);
        if (ToAnsi(pageUrl, url))
            GetFlvUrl(url.data(), a.data(), a.size(), t.data(), t.size(), z.lines, directly);
        ToWide(a.data(), lines, z.lineUnits);
        ToWide(t.data(), title, z.titleUnits);
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
