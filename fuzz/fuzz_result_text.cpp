// Reading, probing, fitting and line-writing of hostile result texts.
// fuzz-options: -max_len=16384 -runs=20000
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "result_text.h"

namespace {

// Candidates answer by the bits of a number, in the order they are asked; every
// question and its answer is recorded.
struct Prober {
    uint64_t bits;
    std::vector<std::string> asked;
    std::vector<bool> answers;
    AliveFn Fn()
    {
        asked.clear();
        answers.clear();
        return [this](const std::string& url) {
            const bool live = (bits >> (asked.size() % 64)) & 1;
            asked.push_back(url);
            answers.push_back(live);
            return live;
        };
    }
    std::vector<std::string> Accepted() const
    {
        std::vector<std::string> kept;
        for (size_t i = 0; i < asked.size(); ++i)
            if (answers[i])
                kept.push_back(asked[i]);
        return kept;
    }
};

std::string Rebuilt(const std::string& title, const std::vector<std::string>& items, const char* sep)
{
    std::string out = "<title>";
    out += title;
    out += "</title><flv>";
    for (const std::string& item : items) {
        out += item;
        out += sep;
    }
    out += "</flv>";
    return out;
}

// The result of a probe over candidates: the text unchanged when none was accepted,
// else the rebuilt text of the kept ones.
void CheckProbed(const std::string& text, const std::string& result, const std::string& title,
                 const std::vector<std::string>& kept, const char* sep)
{
    Check(result == (kept.empty() ? text : Rebuilt(title, kept, sep)));
}

// Every alternative of two or more is asked, in order, and every accepted one kept;
// anything else comes back unchanged, unasked.
void CheckKeepLiveAlternatives(const std::string& text, const ListParts& parts,
                               const std::vector<std::string>& alternatives, Prober& prober)
{
    const std::string result = KeepLiveAlternatives(text, prober.Fn());
    if (alternatives.size() < 2) {
        Check(prober.asked.empty() && result == text);
        return;
    }
    Check(prober.asked == alternatives);
    CheckProbed(text, result, parts.title, prober.Accepted(), "<|>");
}

// Alternatives are asked in order up to the first accepted, which alone is kept; else
// the alternatives and segments together, every one asked and every accepted kept.
void CheckKeepFirstLive(const std::string& text, const ListParts& parts,
                        const std::vector<std::string>& alternatives, Prober& prober)
{
    const std::string result = KeepFirstLive(text, prober.Fn());
    if (alternatives.size() >= 2) {
        const std::vector<std::string> kept = prober.Accepted();
        Check(kept.size() <= 1 && !prober.asked.empty() && prober.asked.size() <= alternatives.size());
        Check(std::equal(prober.asked.begin(), prober.asked.end(), alternatives.begin()));
        // Asking stops at the first accepted one, and only there.
        Check(kept.empty() ? prober.asked.size() == alternatives.size() : prober.answers.back());
        CheckProbed(text, result, parts.title, kept, "<|>");
        return;
    }
    std::vector<std::string> candidates = alternatives;
    SplitList(parts.items.c_str(), "<&>", candidates);
    if (candidates.size() < 2) {
        Check(prober.asked.empty() && result == text);
        return;
    }
    Check(prober.asked == candidates);
    CheckProbed(text, result, parts.title, prober.Accepted(), "<&>");
}

}  // namespace

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
    // Occurrences are counted on from the end of each, up to the text's terminator.
    const std::string cText(exact.data());
    for (const char* marker : {"<|>", "<&>", "aa"}) {
        int n = 0;
        for (size_t at = cText.find(marker); at != std::string::npos; at = cText.find(marker, at + std::strlen(marker)))
            ++n;
        Check(CountOccurrences(exact.data(), marker) == n);
    }

    ListParts parts = TakeFirstParts(text);
    Check(parts.title.size() <= 4095 && parts.items.size() <= 4095);

    std::vector<std::string> alternatives;
    SplitList(parts.items.c_str(), "<|>", alternatives);
    Prober prober{liveBits, {}, {}};
    CheckKeepLiveAlternatives(text, parts, alternatives, prober);
    CheckKeepFirstLive(text, parts, alternatives, prober);

    // The fitted text and its terminator fit; a text that fits stays as it is.
    std::string fitted = FitResultText(text, fitSize);
    Check(fitSize == 0 ? fitted.empty() : fitted.size() < fitSize);
    Check(text.size() >= fitSize || fitted == text);

    UrlLines u = MakeUrlLines(exact.data(), linesSize);
    Check(u.lines.size() < linesSize && u.title.size() <= 1023);
    return 0;
}
