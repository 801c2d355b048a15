#pragma once
// Feeds one fuzz input to a site's extractor over the host build's in-process transport.
// The bytes up to the first zero byte are the page; the bytes after it answer every
// request the extractor makes: "HTTP/1.1 200 OK", then, when they hold a blank line,
// the header lines before it, and the body after it (all of them otherwise). An input
// without a zero byte makes every request fail. A harness traps on a broken promise of
// the extractor, not only on a crash.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "dispatch.h"
#include "fake_http.h"

namespace fuzzsite {

inline void Require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

inline bool EndsWith(const std::string& s, const std::string& end)
{
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

struct Outcome {
    std::string result;  // the result text, empty on entry
    size_t requests = 0;
};

inline Outcome Run(const Extractor& extractor, const char* url, const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t zero = input.find('\0');
    const std::string pageText = input.substr(0, zero);

    fakehttp::Reset();
    size_t replySize = 0;
    if (zero != std::string::npos) {
        const std::string rest = input.substr(zero + 1);
        const size_t blank = rest.find("\r\n\r\n");
        FakeReply reply;
        reply.headers = "HTTP/1.1 200 OK\r\n" + (blank == std::string::npos ? "\r\n" : rest.substr(0, blank + 4));
        reply.body = blank == std::string::npos ? rest : rest.substr(blank + 4);
        replySize = reply.body.size();
        fakehttp::ServeFallback(reply);
    }

    // Buffers no larger than the page or the reply needs, so that a read past one shows.
    const size_t size1 = (pageText.size() > replySize ? pageText.size() : replySize) + 1;
    std::vector<char> page(size1, '\0'), headers(10240, '\0'), work(size1, '\0');
    std::memcpy(page.data(), pageText.data(), pageText.size());
    Outcome o;
    CallExtractor(extractor, url, page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                  static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), o.result,
                  std::string(), false);
    o.requests = fakehttp::Requests().size();
    fakehttp::Reset();
    return o;
}

}  // namespace fuzzsite
