#include "buffers.h"

#include <cstdint>
#include <cstring>

void ClearBuffer(char* buf, size_t size)
{
    if (!buf)
        return;
    // Reading the zero tail is far cheaper than writing it: untouched pages stay so.
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
