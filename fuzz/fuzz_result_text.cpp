// Reading, probing, fitting and line-writing of hostile result texts.
// fuzz-options: -max_len=16384 -runs=20000
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "result_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const size_t fitSize = in.ConsumeIntegralInRange<size_t>(0, 20000);
    const size_t linesSize = in.ConsumeIntegralInRange<size_t>(1, 20000);
    const uint64_t liveBits = in.ConsumeIntegral<uint64_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();
    const std::vector<char> exact(text.c_str(), text.c_str() + text.size() + 1);

    std::vector<std::string> list;
    SplitList(exact.data(), "<|>", list);
    SplitList(exact.data(), "<&>", list);
    // No separator: the whole text is the one item (cut as any item), none when empty.
    const size_t split = list.size();
    SplitList(exact.data(), "", list);
    Check(list.size() == split + (exact[0] ? 1 : 0));
    for (const std::string& item : list)
        Check(!item.empty() && item.size() <= 1203);
    Check(CountOccurrences(exact.data(), "<|>") >= 0);

    ListParts parts = TakeFirstParts(text);
    Check(parts.title.size() <= 4095 && parts.items.size() <= 4095);

    // Candidates answer by the bits of a number, in the order they are asked.
    size_t asked = 0;
    AliveFn alive = [&](const std::string&) { return (liveBits >> (asked++ % 64)) & 1; };
    KeepLiveAlternatives(text, alive);
    KeepFirstLive(text, alive);

    // The fitted text and its terminator fit; a text that fits stays as it is.
    std::string fitted = FitResultText(text, fitSize);
    Check(fitSize == 0 ? fitted.empty() : fitted.size() < fitSize);
    Check(text.size() >= fitSize || fitted == text);

    UrlLines u = MakeUrlLines(exact.data(), linesSize);
    Check(u.lines.size() < linesSize && u.title.size() <= 1023);
    return 0;
}
