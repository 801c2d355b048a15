// Host stand-in for the ANSI code page: code page 936 through iconv's GBK tables,
// character by character as the system converter does, '?' for what it cannot map.
#include "codepage.h"

#include <iconv.h>

#include <cstring>
#include <string>

namespace {

// One open converter per direction and thread: opening one costs far more than a
// character's conversion.
class Converter {
public:
    Converter(const char* from, const char* to) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get()
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

Converter& ToGbk()
{
    thread_local Converter c("UTF-16LE", "GBK");
    return c;
}

Converter& FromGbk()
{
    thread_local Converter c("GBK", "UTF-16LE");
    return c;
}

bool Convert(Converter& c, const char* in, size_t inLen, std::string& out)
{
    if (!c.ok())
        return false;
    char buf[16];
    char* ip = const_cast<char*>(in);
    char* op = buf;
    size_t il = inLen, ol = sizeof buf;
    size_t r = iconv(c.get(), &ip, &il, &op, &ol);
    if (r == static_cast<size_t>(-1) || il != 0)
        return false;
    out.assign(buf, sizeof buf - ol);
    return true;
}

}  // namespace

int AcpFromUtf16(const char16_t* src, int srcUnits, char* dst, int dstBytes)
{
    if (!src)
        return 0;
    size_t n = srcUnits < 0 ? std::char_traits<char16_t>::length(src) + 1 : size_t(srcUnits);
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        char16_t u = src[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        unsigned char le[4] = {static_cast<unsigned char>(u & 0xFF), static_cast<unsigned char>(u >> 8)};
        size_t inLen = 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
            le[2] = static_cast<unsigned char>(src[i + 1] & 0xFF);
            le[3] = static_cast<unsigned char>(src[i + 1] >> 8);
            inLen = 4;
        }
        std::string bytes;
        if (Convert(ToGbk(), reinterpret_cast<const char*>(le), inLen, bytes)) {
            out += bytes;
            if (inLen == 4)
                ++i;
        } else {
            out.push_back('?');
        }
    }
    if (dstBytes == 0)
        return static_cast<int>(out.size());
    if (!dst || out.size() > size_t(dstBytes))
        return 0;
    std::memcpy(dst, out.data(), out.size());
    return static_cast<int>(out.size());
}

int Utf16FromAcp(const char* src, int srcBytes, char16_t* dst, int dstUnits)
{
    if (!src)
        return 0;
    size_t n = srcBytes < 0 ? std::strlen(src) + 1 : size_t(srcBytes);
    std::u16string out;
    for (size_t i = 0; i < n; ++i) {
        unsigned char b = static_cast<unsigned char>(src[i]);
        if (b < 0x80) {
            out.push_back(b);
            continue;
        }
        std::string u;
        if (b >= 0x81 && b <= 0xFE && i + 1 < n && Convert(FromGbk(), src + i, 2, u) && u.size() >= 2) {
            for (size_t k = 0; k + 1 < u.size(); k += 2)
                out.push_back(static_cast<char16_t>(static_cast<unsigned char>(u[k]) |
                                                    (static_cast<unsigned char>(u[k + 1]) << 8)));
            ++i;
        } else {
            out.push_back(u'?');
        }
    }
    if (dstUnits == 0)
        return static_cast<int>(out.size());
    if (!dst || out.size() > size_t(dstUnits))
        return 0;
    std::memcpy(dst, out.data(), out.size() * sizeof(char16_t));
    return static_cast<int>(out.size());
}
