#pragma once
// Fuzz inputs made of records, parts separated by the line "--next--". A harness takes
// what it needs from the first records and answers every request with the next record
// in turn, as a raw reply: the status line and header lines, a blank line, the body.
//   - A record "!" followed by a number fails its request with that error code.
//   - A header line "Fuzz-Pack: gzip" (or deflate), optionally followed by a length,
//     stands for "Content-Encoding: gzip": the body is compressed here and cut to the
//     length, so that mutations of plain text reach the readers behind the inflation.
//   - Requests beyond the last record fail as an unknown host does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fake_http.h"
#include "platform/msgbox_host.h"
#include "unit/compress.h"

namespace fuzzrec {

inline std::vector<std::string> Split(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string sep = "\n--next--\n";
    std::vector<std::string> parts;
    size_t pos = 0;
    for (size_t at = text.find(sep); at != std::string::npos; at = text.find(sep, pos)) {
        parts.push_back(text.substr(pos, at - pos));
        pos = at + sep.size();
    }
    parts.push_back(text.substr(pos));
    return parts;
}

// The first line of a record (without its line end) and the rest after it.
inline std::string FirstLine(const std::string& record, std::string* rest = nullptr)
{
    size_t nl = record.find('\n');
    std::string line = record.substr(0, nl);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (rest)
        *rest = nl == std::string::npos ? std::string() : record.substr(nl + 1);
    return line;
}

inline FakeReply Reply(const std::string& record)
{
    FakeReply r;
    if (!record.empty() && record[0] == '!') {
        r.error = static_cast<uint32_t>(std::strtoul(record.c_str() + 1, nullptr, 10));
        if (r.error == 0)
            r.error = kErrNameNotResolved;
        return r;
    }
    size_t blank = record.find("\r\n\r\n");
    r.headers = blank == std::string::npos ? record : record.substr(0, blank + 4);
    r.body = blank == std::string::npos ? std::string() : record.substr(blank + 4);
    const std::string directive = "Fuzz-Pack: ";
    size_t d = r.headers.find(directive);
    if (d != std::string::npos && (d == 0 || r.headers[d - 1] == '\n')) {
        size_t end = r.headers.find("\r\n", d);
        std::string value = r.headers.substr(d + directive.size(), end == std::string::npos ? end : end - d - directive.size());
        const bool gzip = value.compare(0, 4, "gzip") == 0;
        r.headers.replace(d, end == std::string::npos ? end : end - d,
                          std::string("Content-Encoding: ") + (gzip ? "gzip" : "deflate"));
        r.body = Compress(r.body, gzip ? 15 + 16 : 15);
        size_t space = value.find(' ');
        if (space != std::string::npos) {
            size_t cut = std::strtoul(value.c_str() + space + 1, nullptr, 10);
            if (cut < r.body.size())
                r.body.resize(cut);
        }
    }
    return r;
}

// Answers the requests with the records from index first on, in turn.
class Replies {
public:
    Replies(const std::vector<std::string>& records, size_t first)
    {
        for (size_t i = first; i < records.size(); ++i)
            replies_->push_back(Reply(records[i]));
    }
    // Starts again at the first reply; also forgets the requests and message boxes.
    void Serve()
    {
        fakehttp::Reset();
        HostMessageBoxes().clear();
        auto replies = replies_;
        auto next = std::make_shared<size_t>(0);
        fakehttp::AnswerWith([replies, next](const FakeRequest&) {
            if (*next >= replies->size()) {
                FakeReply none;
                none.error = kErrNameNotResolved;
                return none;
            }
            return (*replies)[(*next)++];
        });
    }
    ~Replies() { fakehttp::Reset(); }

private:
    std::shared_ptr<std::vector<FakeReply>> replies_ = std::make_shared<std::vector<FakeReply>>();
};

// The page, header and work buffers of an extractor, the page filled from a record.
struct ExtractorBuffers {
    std::vector<char> page = std::vector<char>(1 << 16), headers = std::vector<char>(10240),
                      work = std::vector<char>(1 << 16);
    void Load(const std::string& text)
    {
        std::fill(page.begin(), page.end(), '\0');
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), page.size() - 1)),
                  page.begin());
    }
};

// Buffers of exactly the sizes that a sizes line asks for ("page header work flag";
// the defaults where it gives none), each cut below 2^17 (headers below 2^15), so that
// the sanitizer sees every access past them. A buffer of size 0 is one byte that must
// be neither read nor written, or, when the flag has its bit of value 2 set, none.
struct SizedBuffers {
    unsigned pageSize, headerSize, workSize, flag = 0;
    std::vector<char> page, headers, work;
    char *p, *h, *w;

    SizedBuffers(const std::string& sizesLine, unsigned pageDefault, unsigned headerDefault, unsigned workDefault)
        : pageSize(pageDefault), headerSize(headerDefault), workSize(workDefault)
    {
        std::sscanf(sizesLine.c_str(), "%u %u %u %u", &pageSize, &headerSize, &workSize, &flag);
        pageSize %= 1u << 17;
        headerSize %= 1u << 15;
        workSize %= 1u << 17;
        page.assign(pageSize ? pageSize : 1, 'P');
        headers.assign(headerSize ? headerSize : 1, 'H');
        work.assign(workSize ? workSize : 1, 'W');
        const bool none = (flag & 2) != 0;
        p = pageSize || !none ? page.data() : nullptr;
        h = headerSize || !none ? headers.data() : nullptr;
        w = workSize || !none ? work.data() : nullptr;
    }
    // The buffers of size 0 are as they were, and the page keeps its terminator.
    bool Kept() const
    {
        return (pageSize ? std::memchr(page.data(), 0, pageSize) != nullptr : page[0] == 'P') &&
               (headerSize || headers[0] == 'H') && (workSize || work[0] == 'W');
    }
};

// An input of the override form: the override address on the first line of the first
// record (empty: the page is read), the page after it, then the replies, served from
// construction on; the page is loaded into the buffers.
struct OverrideInput {
    OverrideInput(const uint8_t* data, size_t size, ExtractorBuffers& buffers)
        : records(Split(data, size)), replies(records, 1)
    {
        std::string pageText;
        overrideUrl = FirstLine(records[0], &pageText);
        replies.Serve();
        buffers.Load(pageText);
    }
    std::vector<std::string> records;
    Replies replies;
    std::string overrideUrl;
};

// UTF-16LE text cut at its zero units into count parts (missing ones empty).
inline std::vector<std::u16string> SplitUtf16(const uint8_t* data, size_t size, size_t count)
{
    std::vector<std::u16string> parts(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            parts.emplace_back();
        else
            parts.back().push_back(unit);
    }
    parts.resize(count);
    return parts;
}

}  // namespace fuzzrec
