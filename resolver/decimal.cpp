#include "decimal.h"

#include <limits>

namespace {

// The magnitude stops at limit, which the caller picks one above its largest value so
// that the most negative value is reached.
bool ReadPrefix(const char* s, uint64_t limit, uint64_t& magnitude)
{
    magnitude = 0;
    if (!s)
        return false;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r'))
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-')
        negative = *s++ == '-';
    for (; *s >= '0' && *s <= '9'; ++s) {
        const uint64_t digit = static_cast<uint64_t>(*s - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    return negative;
}

template <typename T>
T Clamp(const char* text)
{
    const uint64_t max = static_cast<uint64_t>(std::numeric_limits<T>::max());
    uint64_t m;
    if (ReadPrefix(text, max + 1, m))
        return m > max ? std::numeric_limits<T>::min() : static_cast<T>(-static_cast<T>(m));
    return m > max ? std::numeric_limits<T>::max() : static_cast<T>(m);
}

}  // namespace

int32_t ParseDecimalPrefix(const char* text)
{
    return Clamp<int32_t>(text);
}

int64_t ParseDecimalPrefix64(const char* text)
{
    return Clamp<int64_t>(text);
}
