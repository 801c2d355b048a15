// The text and address helpers on hostile text: marker search, address splitting, the
// small conversions, ReplaceAll with the callers' pairs and with any pair, the title,
// the header tests, the dispatcher's host match and the store's encodings.
// fuzz-options: -max_len=8192 -runs=50000
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "dispatch.h"
#include "extractors.h"
#include "fetch.h"
#include "store.h"
#include "text.h"

namespace {

// Replacing the first occurrence again and again; for pairs where that ends.
std::string ReplaceFromTheStart(std::string s, const std::string& pattern, const std::string& replacement)
{
    for (size_t pos = s.find(pattern); pos != std::string::npos; pos = s.find(pattern))
        s.replace(pos, pattern.size(), replacement);
    return s;
}

// An exactly sized copy, so that a read past its terminator is seen.
std::vector<char> Copy(const std::string& s)
{
    return std::vector<char>(s.c_str(), s.c_str() + s.size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int op = in.ConsumeIntegralInRange(0, 9);
    switch (op) {
    case 0: {  // ExtractBetweenA: buffer, markers and position
        const size_t bufSize = in.ConsumeIntegralInRange<size_t>(1, 64);
        std::string start = in.ConsumeRandomLengthString(16), end = in.ConsumeRandomLengthString(16);
        const bool useStart = in.ConsumeBool(), useEnd = in.ConsumeBool();
        std::vector<char> text = Copy(in.ConsumeRemainingBytesAsString());
        std::vector<char> buf(bufSize, 'k');
        const char* after = nullptr;
        char* got = ExtractBetweenA(text.data(), useStart ? start.c_str() : nullptr, useEnd ? end.c_str() : nullptr,
                                    &after, buf.data(), bufSize);
        if (got) {
            Check(std::memchr(buf.data(), 0, bufSize) != nullptr);
            Check(!after || (after >= text.data() && after < text.data() + text.size()));
        } else {
            Check(after == nullptr && buf[0] == 'k');
        }
        if (!start.empty())
            Check(FindMarker(text.data(), start.c_str()) == std::strstr(text.data(), start.c_str()));
        std::string s;
        ExtractBetweenString(text.data(), useStart ? start.c_str() : nullptr, useEnd ? end.c_str() : nullptr, nullptr, s);
        Check(s.size() < 10240);
        break;
    }
    case 1: {  // host and path into buffers of any size
        const size_t n = in.ConsumeIntegralInRange<size_t>(1, 600);
        std::vector<char> url = Copy(in.ConsumeRemainingBytesAsString());
        std::vector<char> host(n), path(n);
        GetUrlHostA(url.data(), host.data(), n);
        GetUrlPath(url.data(), path.data(), n);
        Check(std::memchr(host.data(), 0, n) && std::memchr(path.data(), 0, n));
        std::string u(url.data());
        DispatchRow(u);
        MakeKu6ApiUrl(u);
        break;
    }
    case 2: {  // StripChars, ParseHex, ToLowerString, IntToString
        std::string set = in.ConsumeRandomLengthString(8);
        std::vector<char> text = Copy(in.ConsumeRemainingBytesAsString());
        ParseHex(text.data());
        ToLowerString(text.data());
        IntToString(ParseHex(text.data()));
        StripChars(text.data(), set.c_str());
        for (const char* p = text.data(); *p; ++p)
            Check(!std::strchr(set.c_str(), *p));
        break;
    }
    case 3: {  // escapes
        std::vector<char> text = Copy(in.ConsumeRemainingBytesAsString());
        UnescapeUnicode(text.data());
        break;
    }
    case 4: {  // ReplaceAll with the pairs the extractors pass
        static const char* const kPairs[][2] = {{",", "<|>"}, {"amp;", ""}, {"\\/", "/"},
                                                {"'", ""},    {" ", ""},    {"=", ""}};
        const auto& pair = kPairs[in.ConsumeIntegralInRange<size_t>(0, 5)];
        const std::string text = in.ConsumeRemainingBytesAsString();
        std::string s = text;
        ReplaceAll(s, pair[0], pair[1]);
        Check(s.find(pair[0]) == std::string::npos);
        if (text.size() <= 4096)
            Check(s == ReplaceFromTheStart(text, pair[0], pair[1]));
        break;
    }
    case 5: {  // ReplaceAll with any pair (as this release build runs the ones a debug build
               // refuses): it ends; shorter replacements as from the start
        const std::string pattern = in.ConsumeRandomLengthString(8), replacement = in.ConsumeRandomLengthString(16);
        const std::string text = in.ConsumeRemainingBytesAsString();
        std::string s = text;
        ReplaceAll(s, pattern, replacement);
        if (pattern.empty())
            Check(s == text);
        else if (replacement.size() < pattern.size() && text.size() <= 4096)
            Check(s == ReplaceFromTheStart(text, pattern, replacement));
        break;
    }
    case 6: {  // the title of a page
        std::vector<char> text = Copy(in.ConsumeRemainingBytesAsString());
        std::string t = GetPageTitle(text.data());
        Check(t.size() <= 7 + 1023 + 8);
        break;
    }
    case 7: {  // the header tests
        std::vector<char> text = Copy(in.ConsumeRemainingBytesAsString());
        int e = GetContentEncoding(text.data());
        Check(e >= 0 && e <= 2);
        IsUtf8Response(text.data());
        break;
    }
    case 8: {  // the store's encodings
        const std::string text = in.ConsumeRemainingBytesAsString();
        std::string enc = UrlEncode(text);
        Check(enc.size() >= text.size() && enc.size() <= 3 * text.size());
        std::vector<char> exact(text.begin(), text.end());
        AnsiToUtf8(exact.data(), exact.size());
        break;
    }
    default: {  // ExtractBetweenString on a string
        std::string start = in.ConsumeRandomLengthString(8);
        const std::string text = in.ConsumeRemainingBytesAsString();
        std::string out;
        const char* after = nullptr;
        ExtractBetweenString(text, start.c_str(), "\"", &after, out);
        break;
    }
    }
    return 0;
}
