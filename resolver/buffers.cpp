#include "buffers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// From this size a buffer keeps its written extent.
const size_t kTrackedFrom = 262144;

// The tracked buffers alive on this thread: plain data, so that the thread keeps nothing
// to destroy; a buffer that finds no free slot is cleared by reading it.
struct Span {
    char* begin;
    size_t size;
    size_t written;  // every byte from here on is zero
};
const int kSlots = 8;
thread_local Span t_spans[kSlots];

Span* SpanHolding(const char* buf, size_t size)
{
    for (Span& s : t_spans) {
        if (s.begin && buf >= s.begin && size <= s.size && static_cast<size_t>(buf - s.begin) <= s.size - size)
            return &s;
    }
    return nullptr;
}

// Reading the zero tail is far cheaper than writing it.
void ClearUsedPart(char* buf, size_t size)
{
    size_t end = size;
    while (end >= sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, buf + end - sizeof word, sizeof word);
        if (word)
            break;
        end -= sizeof word;
    }
    while (end > 0 && buf[end - 1] == 0)
        --end;
    std::memset(buf, 0, end);
}

#ifdef VENNIX_CHECK_BUFFERS
// The test builds hold every writer to its word: past the written extent all is zero.
void CheckUnwrittenTail(const Span& s)
{
    for (size_t i = s.written; i < s.size; ++i) {
        if (s.begin[i]) {
            std::fprintf(stderr, "buffer written at %zu past its noted extent %zu\n", i, s.written);
            std::abort();
        }
    }
}
#endif

}  // namespace

ZeroedBuffer::ZeroedBuffer(size_t size) : data_(static_cast<char*>(std::calloc(size ? size : 1, 1))), size_(size)
{
    if (!data_)
        throw std::bad_alloc();
    if (size < kTrackedFrom)
        return;
    for (Span& s : t_spans) {
        if (!s.begin) {
            s = Span{data_, size, 0};
            break;
        }
    }
}

ZeroedBuffer::~ZeroedBuffer()
{
    for (Span& s : t_spans) {
        if (s.begin == data_)
            s = Span{nullptr, 0, 0};
    }
    std::free(data_);
}

void ClearBuffer(char* buf, size_t size)
{
    if (!buf)
        return;
    Span* s = SpanHolding(buf, size);
    if (!s) {
        ClearUsedPart(buf, size);
        return;
    }
#ifdef VENNIX_CHECK_BUFFERS
    CheckUnwrittenTail(*s);
#endif
    const size_t from = static_cast<size_t>(buf - s->begin);
    if (from >= s->written)
        return;
    const size_t to = from + size < s->written ? from + size : s->written;
    std::memset(buf, 0, to - from);
    if (to == s->written)
        s->written = from;
}

void NoteWritten(const char* buf, size_t end)
{
    if (!buf)
        return;
    Span* s = SpanHolding(buf, 0);
    if (!s)
        return;
    const size_t from = static_cast<size_t>(buf - s->begin);
    const size_t room = s->size - from;
    const size_t reach = from + (end < room ? end : room);
    if (reach > s->written)
        s->written = reach;
}
