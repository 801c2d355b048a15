// The dispatcher's fetches and redirect rules with buffers of any size. Records: the
// page address on the first line of the first record and, on an optional second line,
// the page, header and work sizes and a flag ("65536 10240 65536 0" when absent); then
// the replies.
// fuzz-options: -max_len=16384 -runs=5000
#include <string>
#include <vector>

#include "check.h"
#include "dispatch.h"
#include "rand_clock.h"
#include "records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string rest;
    std::string url = fuzzrec::FirstLine(records[0], &rest).c_str();
    fuzzrec::SizedBuffers b(fuzzrec::FirstLine(rest), 65536, 10240, 65536);
    fuzzrec::Replies replies(records, 1);
    replies.Serve();
    FixedCalendarTime second(1262304000);

    DispatchPlan plan = FetchForDispatch(url, b.p, b.pageSize, b.h, b.headerSize, b.w, b.workSize);
    // An override is used exactly when one was built.
    Check(plan.useOverride == !plan.overrideUrl.empty() && b.Kept());
    const int row = DispatchRow(url);
    Check(row >= -1 && row < DispatchRowCount());
    return 0;
}
