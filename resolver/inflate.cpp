// Inflation of reply bodies, with the bounds of a walk that gives zlib one byte of input
// and one byte of output per call, at the speed of one bulk call.
#include "http.h"

#include <zlib.h>

#include <cstring>

namespace {

const int kGoOn = 1;
// Bytes of input and output left to the byte walk at the end of the bulk part.
const uint32_t kWalkMargin = 16;

int Init(z_stream& zs, int kind)
{
    std::memset(&zs, 0, sizeof zs);
    return kind == kInflateGzip ? inflateInit2(&zs, 15 + 32) : inflateInit(&zs);
}

// InflateBody's result for a zlib result: 0 at the stream's end, an error, or kGoOn.
int Outcome(int rc)
{
    switch (rc) {
    case Z_STREAM_END:
        return 0;
    case Z_NEED_DICT:
    case Z_DATA_ERROR:
        return Z_DATA_ERROR;
    case Z_MEM_ERROR:
        return Z_MEM_ERROR;
    default:
        return kGoOn;
    }
}

// One byte of input and one of output per call while fewer than inLen bytes have been
// consumed and fewer than capacity produced.
//
// Within a call zlib takes input only when it needs more bits and stops at the second
// byte it would take or give, so where the calls of a walk fall depends on all that
// came before. A call that took a byte and gave none (or gave one and took none)
// stopped because the next step needs a second one of the same kind: every walk has
// a call boundary there. Once such a call has been seen, aligned is set: from there
// this walk makes the same calls as one that started at the stream's beginning.
int WalkBytes(z_stream& zs, uint32_t inLen, uint32_t capacity, bool& aligned)
{
    while (zs.total_out < capacity && zs.total_in < inLen) {
        const uLong inBefore = zs.total_in, outBefore = zs.total_out;
        zs.avail_in = 1;
        zs.avail_out = 1;
        int result = Outcome(inflate(&zs, Z_NO_FLUSH));
        if (result != kGoOn)
            return result;
        const uLong took = zs.total_in - inBefore, gave = zs.total_out - outBefore;
        if (took + gave == 0)
            break;  // no progress is possible; zlib always takes or gives a byte
        if (took + gave == 1)
            aligned = true;
    }
    return 8;
}

}  // namespace

int InflateBody(const unsigned char* in, uint32_t inLen, unsigned char* out, uint32_t* outCount, int kind)
{
    if (kind != kInflateGzip && kind != kInflateDeflate) {
        if (outCount)
            *outCount = 0;
        return 0;
    }
    const uint32_t capacity = out && outCount ? *outCount : 0;
    if (!in)
        inLen = 0;
    z_stream zs;
    int rc = Init(zs, kind);
    if (rc != Z_OK) {
        if (outCount)
            *outCount = 0;
        return rc;
    }
    zs.next_in = const_cast<Bytef*>(in);
    zs.next_out = out;

    // Far from both ends, one bulk call: up to there the walk would give the same bytes,
    // and an end or an error met there is one that the walk meets too.
    int result = kGoOn;
    if (inLen > kWalkMargin && capacity > kWalkMargin) {
        zs.avail_in = inLen - kWalkMargin;
        zs.avail_out = capacity - kWalkMargin;
        do {
            rc = inflate(&zs, Z_NO_FLUSH);
            result = Outcome(rc);
        } while (result == kGoOn && rc == Z_OK && zs.avail_in > 0 && zs.avail_out > 0);
    }
    // Near the ends, byte by byte. The bulk call ends where a call of the walk need not
    // begin; until the walk's calls have fallen into place again its stop may differ,
    // and then the whole stream is walked from its beginning.
    if (result == kGoOn) {
        bool aligned = zs.total_in == 0 && zs.total_out == 0;
        result = WalkBytes(zs, inLen, capacity, aligned);
        if (!aligned) {
            inflateEnd(&zs);
            if (Init(zs, kind) == Z_OK) {
                zs.next_in = const_cast<Bytef*>(in);
                zs.next_out = out;
                result = WalkBytes(zs, inLen, capacity, aligned);
            } else {
                result = Z_MEM_ERROR;
            }
        }
    }
    if (outCount)
        *outCount = static_cast<uint32_t>(zs.total_out);
    inflateEnd(&zs);
    return result;
}
