// The whole resolution through the exports, every request answered from the input.
// Records: the page address on the first line of the first record and, on an optional
// second line, one export ("list", "url", "stored" or "wide"; without it "list" and
// then "url", each answered by the same replies); then the replies in turn.
// fuzz-options: -max_len=16384 -runs=600
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "records.h"
#include "vennix.h"

namespace {

// The output holds its terminator inside the buffer.
template <class T>
void ExpectTerminated(const std::vector<T>& buf)
{
    Check(std::find(buf.begin(), buf.end(), T(0)) != buf.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<char> list(FLV_LIST_A_SIZE), lines(FLV_URL_A_LINES_SIZE), title(FLV_URL_A_TITLE_SIZE);
    static std::vector<flv_wchar> wideLines(FLV_URL_DW_LINES_UNITS), wideTitle(FLV_URL_DW_TITLE_UNITS);
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string rest;
    std::string url = fuzzrec::FirstLine(records[0], &rest);
    const std::string which = fuzzrec::FirstLine(rest);
    fuzzrec::Replies replies(records, 1);
    const bool all = which != "url" && which != "stored" && which != "wide";

    if (all || which == "list") {
        replies.Serve();
        list[0] = 'x';
        FLV_GetFlvListDirectlyA(url.c_str(), list.data());
        ExpectTerminated(list);
    }
    if (all || which == "url") {
        replies.Serve();
        lines[0] = title[0] = 'x';
        FLV_GetFlvUrlDirectlyA(url.c_str(), lines.data(), title.data());
        ExpectTerminated(lines);
        ExpectTerminated(title);
    }
    if (which == "stored") {
        replies.Serve();
        list[0] = '\0';
        FLV_GetFlvListA(url.c_str(), list.data());
        ExpectTerminated(list);
    }
    if (which == "wide") {
        replies.Serve();
        std::u16string wideUrl(url.begin(), url.end());  // bytes as units: any text will do
        FLV_GetFlvUrlDirectlyW(reinterpret_cast<const flv_wchar*>(wideUrl.c_str()), wideLines.data(),
                               wideTitle.data());
        ExpectTerminated(wideLines);
        ExpectTerminated(wideTitle);
    }
    return 0;
}
