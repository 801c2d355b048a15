#include "extract_between.h"

#include <cstring>

char* ExtractBetweenA(const char* text, const char* start, const char* end,
                      const char** after, char* buf, size_t size)
{
    if (!text || !buf || size == 0)
        return nullptr;
    const char* from = text;
    if (start) {
        const char* s = std::strstr(text, start);
        if (!s)
            return nullptr;
        from = s + std::strlen(start);
    }
    const char* to;
    const char* next = nullptr;
    if (end) {
        to = std::strstr(from, end);
        if (!to)
            return nullptr;
        next = to + std::strlen(end);
    } else {
        to = from + std::strlen(from);
    }
    size_t n = static_cast<size_t>(to - from);
    if (n > size - 1)
        n = size - 1;
    std::memcpy(buf, from, n);
    buf[n] = '\0';
    if (after && next)
        *after = next;
    return buf;
}
