// The whole resolution through the exports, every request answered from the input.
// Records: the page address on the first line of the first record and, on an optional
// second line, one export ("list", "url", "stored" or "wide"); without it the direct
// list, address-line and UTF-16 address-line exports each run on the same replies,
// under one calendar second, and their outputs must agree. Then the replies in turn.
// fuzz-options: -max_len=16384 -runs=600
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "platform/codepage.h"
#include "rand_clock.h"
#include "records.h"
#include "vennix.h"

namespace {

const int64_t kCalendarSecond = 1262304000;
const size_t kUrlListSize = 131072;
const size_t kWideUrlSize = 10240;
const size_t kLineCut = 1023;
const char kOldLines[] = "old lines";
const char kOldTitle[] = "old title";

// The output holds its terminator inside the buffer.
template <class T>
void ExpectTerminated(const std::vector<T>& buf)
{
    Check(std::find(buf.begin(), buf.end(), T(0)) != buf.end());
}

// The address lines and title that a list text gives: the first alternative, or the
// segments up to the first empty one, each cut and ended by "\r\n"; the first title.
struct ModelLines {
    bool hasTitle = false, hasList = false;
    std::string title, lines;
};

ModelLines LinesOf(const std::string& list)
{
    ModelLines m;
    size_t t0 = list.find("<title>");
    size_t t1 = t0 == std::string::npos ? t0 : list.find("</title>", t0 + 7);
    if (t1 != std::string::npos) {
        m.hasTitle = true;
        m.title = list.substr(t0 + 7, std::min(t1 - t0 - 7, kLineCut));
    }
    size_t f = list.find("<flv>");
    if (f == std::string::npos)
        return m;
    m.hasList = true;
    size_t pos = f + 5;
    size_t alt = list.find("<|>", pos);
    if (alt != std::string::npos) {
        m.lines = list.substr(pos, std::min(alt - pos, kLineCut)) + "\r\n";
        return m;
    }
    for (size_t seg = list.find("<&>", pos); seg != std::string::npos && seg > pos; seg = list.find("<&>", pos)) {
        m.lines += list.substr(pos, std::min(seg - pos, kLineCut)) + "\r\n";
        pos = seg + 3;
    }
    return m;
}

std::u16string Wide(const std::string& text)
{
    std::u16string wide(text.size() + 1, u'\0');
    int n = Utf16FromAcp(text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n) - 1 : 0);
    return wide;
}

// The page address as UTF-16 when it converts back to the same bytes and fits the
// UTF-16 export's conversion buffer.
bool WideUrl(const std::string& url, std::u16string& wide)
{
    if (url.size() >= kWideUrlSize)
        return false;
    wide = Wide(url);
    std::string back(url.size() + 1, '\0');
    int n = AcpFromUtf16(wide.c_str(), static_cast<int>(wide.size() + 1), &back[0], static_cast<int>(back.size()));
    return n > 0 && std::strcmp(back.c_str(), url.c_str()) == 0;
}

// The direct exports on the same replies: the address-line exports write what the list
// export's text gives, the 8-bit one leaving a buffer the text gives nothing for, the
// UTF-16 one writing it empty.
void CheckDirectExportsAgree(const std::string& url, fuzzrec::Replies& replies, std::vector<char>& list,
                             std::vector<char>& lines, std::vector<char>& title, std::vector<flv_wchar>& wideLines,
                             std::vector<flv_wchar>& wideTitle)
{
    FixedCalendarTime second(kCalendarSecond);
    replies.Serve();
    list[0] = 'x';
    FLV_GetFlvListDirectlyA(url.c_str(), list.data());
    ExpectTerminated(list);
    const std::string text = list.data();

    replies.Serve();
    std::memcpy(lines.data(), kOldLines, sizeof kOldLines);
    std::memcpy(title.data(), kOldTitle, sizeof kOldTitle);
    FLV_GetFlvUrlDirectlyA(url.c_str(), lines.data(), title.data());
    ExpectTerminated(lines);
    ExpectTerminated(title);

    std::u16string wideUrl;
    const bool wide = WideUrl(url, wideUrl);
    if (wide) {
        replies.Serve();
        wideLines[0] = wideTitle[0] = u'x';
        wideLines[1] = wideTitle[1] = 0;
        FLV_GetFlvUrlDirectlyW(reinterpret_cast<const flv_wchar*>(wideUrl.c_str()), wideLines.data(),
                               wideTitle.data());
        ExpectTerminated(wideLines);
        ExpectTerminated(wideTitle);
    }
    if (text.size() >= kUrlListSize)
        return;  // the address-line export reads a list cut to its own buffer

    const ModelLines m = LinesOf(text);
    const bool empty = text.empty();
    Check(lines.data() == (empty ? std::string() : m.hasList ? m.lines : std::string(kOldLines)));
    Check(title.data() == (empty ? std::string() : m.hasTitle ? m.title : std::string(kOldTitle)));
    if (wide) {
        Check(reinterpret_cast<const char16_t*>(wideLines.data()) == Wide(m.hasList ? m.lines : std::string()));
        Check(reinterpret_cast<const char16_t*>(wideTitle.data()) == Wide(m.hasTitle ? m.title : std::string()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<char> list(FLV_LIST_A_SIZE), lines(FLV_URL_A_LINES_SIZE), title(FLV_URL_A_TITLE_SIZE);
    static std::vector<flv_wchar> wideLines(FLV_URL_DW_LINES_UNITS), wideTitle(FLV_URL_DW_TITLE_UNITS);
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string rest;
    const std::string url = fuzzrec::FirstLine(records[0], &rest).c_str();
    const std::string which = fuzzrec::FirstLine(rest);
    fuzzrec::Replies replies(records, 1);

    if (which == "list") {
        replies.Serve();
        list[0] = 'x';
        FLV_GetFlvListDirectlyA(url.c_str(), list.data());
        ExpectTerminated(list);
    } else if (which == "url") {
        replies.Serve();
        lines[0] = title[0] = 'x';
        FLV_GetFlvUrlDirectlyA(url.c_str(), lines.data(), title.data());
        ExpectTerminated(lines);
        ExpectTerminated(title);
    } else if (which == "stored") {
        replies.Serve();
        list[0] = '\0';
        FLV_GetFlvListA(url.c_str(), list.data());
        ExpectTerminated(list);
    } else if (which == "wide") {
        replies.Serve();
        std::u16string wideUrl(url.begin(), url.end());  // bytes as units: any text will do
        FLV_GetFlvUrlDirectlyW(reinterpret_cast<const flv_wchar*>(wideUrl.c_str()), wideLines.data(),
                               wideTitle.data());
        ExpectTerminated(wideLines);
        ExpectTerminated(wideTitle);
    } else {
        CheckDirectExportsAgree(url, replies, list, lines, title, wideLines, wideTitle);
    }
    return 0;
}
