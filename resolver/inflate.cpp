#include "http.h"

#include <zlib.h>

#include <cstring>

int InflateBody(const unsigned char* in, uint32_t inLen, unsigned char* out, uint32_t* outCount, int kind)
{
    if (kind != kInflateGzip && kind != kInflateDeflate) {
        if (outCount)
            *outCount = 0;
        return 0;
    }
    const uint32_t capacity = outCount ? *outCount : 0;
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    int rc = kind == kInflateGzip ? inflateInit2(&zs, 15 + 32) : inflateInit(&zs);
    if (rc != Z_OK) {
        if (outCount)
            *outCount = 0;
        return rc;
    }
    zs.next_in = const_cast<Bytef*>(in);
    zs.avail_in = in ? inLen : 0;
    zs.next_out = out;
    zs.avail_out = out ? capacity : 0;
    int result = 8;
    // All input and all free output at once; stop at the end, an error, or when
    // zlib can make no more progress with what it has.
    while (zs.avail_in > 0 || zs.avail_out > 0) {
        uLong inBefore = zs.total_in, outBefore = zs.total_out;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            // Taken one byte at a time, a full output ends the walk before the
            // stream's end is seen.
            result = zs.total_out < capacity ? 0 : 8;
            break;
        }
        if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR) {
            result = Z_DATA_ERROR;
            break;
        }
        if (rc == Z_MEM_ERROR) {
            result = Z_MEM_ERROR;
            break;
        }
        if (zs.total_in == inBefore && zs.total_out == outBefore)
            break;
    }
    if (outCount)
        *outCount = static_cast<uint32_t>(zs.total_out);
    inflateEnd(&zs);
    return result;
}
