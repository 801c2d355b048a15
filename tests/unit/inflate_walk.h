#pragma once
// The reference for InflateBody's bounds: zlib given one byte of input and one byte of
// output per call, while fewer bytes are produced than the capacity and fewer consumed
// than the input length. Slow; for tests and fuzz harnesses only.
#include <zlib.h>

#include <cstdint>
#include <cstring>

inline int InflateByteWalk(const unsigned char* in, uint32_t inLen, unsigned char* out, uint32_t* count, int kind)
{
    if (kind != 1 && kind != 2) {
        *count = 0;
        return 0;
    }
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    int rc = kind == 1 ? inflateInit2(&zs, 47) : inflateInit(&zs);
    if (rc != Z_OK) {
        *count = 0;
        return rc;
    }
    const uint32_t capacity = *count;
    zs.next_in = const_cast<Bytef*>(in);
    zs.next_out = out;
    int result = 8;
    while (zs.total_out < capacity && zs.total_in < inLen) {
        zs.avail_in = 1;
        zs.avail_out = 1;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            result = 0;
            break;
        }
        if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR) {
            result = rc == Z_MEM_ERROR ? rc : Z_DATA_ERROR;
            break;
        }
    }
    *count = static_cast<uint32_t>(zs.total_out);
    inflateEnd(&zs);
    return result;
}
