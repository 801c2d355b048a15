#include "extract_between.h"

#include <cstring>

const char* FindMarker(const char* text, const char* marker)
{
    const size_t len = std::strlen(marker);
    if (len == 0)
        return text;
    for (const char* p = std::strchr(text, marker[0]); p; p = std::strchr(p + 1, marker[0])) {
        if (std::strncmp(p, marker, len) == 0)
            return p;
    }
    return nullptr;
}

char* ExtractBetweenA(const char* text, const char* start, const char* end,
                      const char** after, char* buf, size_t size)
{
    if (!text || !buf || size == 0)
        return nullptr;
    const char* from = text;
    if (start) {
        const char* s = FindMarker(text, start);
        if (!s)
            return nullptr;
        from = s + std::strlen(start);
    }
    const char* to;
    const char* next = nullptr;
    if (end) {
        to = FindMarker(from, end);
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
