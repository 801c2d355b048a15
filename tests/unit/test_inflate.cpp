// Inflation of gzip and deflate reply bodies.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "http.h"
#include "unit/compress.h"
#include "unit/inflate_walk.h"

namespace {

struct Result {
    int rc;
    std::string out;
};

Result Inflate(const std::string& in, uint32_t capacity, int kind)
{
    std::vector<unsigned char> buf(capacity + 1, 0xEE);
    uint32_t count = capacity;
    int rc = InflateBody(reinterpret_cast<const unsigned char*>(in.data()), static_cast<uint32_t>(in.size()),
                         buf.data(), &count, kind);
    EXPECT_EQ(buf[capacity], 0xEE) << "wrote past the output";
    return {rc, std::string(reinterpret_cast<char*>(buf.data()), count)};
}

std::string Text(size_t n)
{
    std::string s;
    for (size_t i = 0; s.size() < n; ++i)
        s += "line " + std::to_string(i * 7919 % 1000) + " of the page\n";
    s.resize(n);
    return s;
}

// Compresses with a level and a strategy, flushing every flushEvery bytes (0: never).
std::string Pack(const std::string& data, int windowBits, int level, int strategy, size_t flushEvery = 0)
{
    z_stream zs = {};
    deflateInit2(&zs, level, Z_DEFLATED, windowBits, 8, strategy);
    std::string out(deflateBound(&zs, data.size()) * 2 + 1024, '\0');
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    size_t step = flushEvery ? flushEvery : data.size();
    for (size_t pos = 0; pos < data.size() || pos == 0; pos += step) {
        size_t n = std::min(step, data.size() - pos);
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + pos));
        zs.avail_in = static_cast<uInt>(n);
        deflate(&zs, pos + n >= data.size() ? Z_FINISH : Z_SYNC_FLUSH);
        if (pos + n >= data.size())
            break;
    }
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// InflateBody and the byte walk on the same input and capacity: same result, count and bytes.
void ExpectAsTheWalk(const std::string& in, uint32_t inLen, uint32_t capacity, int kind, const std::string& what)
{
    std::vector<unsigned char> a(capacity + 1, 0xEE), b(capacity + 1, 0xEE);
    uint32_t na = capacity, nb = capacity;
    const unsigned char* data = reinterpret_cast<const unsigned char*>(in.data());
    int ra = InflateBody(data, inLen, a.data(), &na, kind);
    int rb = InflateByteWalk(data, inLen, b.data(), &nb, kind);
    ASSERT_EQ(ra, rb) << what << ": input " << inLen << ", capacity " << capacity;
    ASSERT_EQ(na, nb) << what << ": input " << inLen << ", capacity " << capacity;
    ASSERT_TRUE(std::equal(a.begin(), a.begin() + na, b.begin())) << what;
    ASSERT_EQ(a[capacity], 0xEE) << what;
}

struct Body {
    const char* what;
    std::string page, packed;
    int kind;
};

std::vector<Body> Bodies()
{
    const std::string text = Text(6000);
    std::string commas(2000, ',');
    std::string mixed;
    for (int i = 0; i < 300; ++i)
        mixed += (i % 7 ? "<durl></durl>" : "\x01\x7f\xfe") + std::to_string(i * 2654435761u);
    return {
        {"gzip", text, Pack(text, 31, 6, Z_DEFAULT_STRATEGY), kInflateGzip},
        {"zlib", text, Pack(text, 15, 9, Z_DEFAULT_STRATEGY), kInflateDeflate},
        {"fixed codes", text, Pack(text, 31, 6, Z_FIXED), kInflateGzip},
        {"literals only", text, Pack(text, 31, 6, Z_HUFFMAN_ONLY), kInflateGzip},
        {"stored", text.substr(0, 1500), Pack(text.substr(0, 1500), 31, 0, Z_DEFAULT_STRATEGY), kInflateGzip},
        {"flushed blocks", mixed, Pack(mixed, 31, 6, Z_DEFAULT_STRATEGY, 97), kInflateGzip},
        {"long matches", commas, Pack(commas, 31, 9, Z_DEFAULT_STRATEGY), kInflateGzip},
    };
}

}  // namespace

TEST(InflateBody, WholeStreams)
{
    const std::string page = Text(50000);
    struct Case {
        int windowBits, kind;
    } cases[] = {{15 + 16, kInflateGzip}, {15, kInflateGzip}, {15, kInflateDeflate}};
    for (const Case& c : cases) {
        Result r = Inflate(Compress(page, c.windowBits), 100000, c.kind);
        EXPECT_EQ(r.rc, 0) << c.windowBits;
        EXPECT_TRUE(r.out == page) << c.windowBits;
    }
}

TEST(InflateBody, RefusesAndStopsAsTheStreamDemands)
{
    const std::string page = Text(20000);
    // Deflate without its zlib header is damaged data, nothing produced.
    Result raw = Inflate(Compress(page, -15), 100000, kInflateDeflate);
    EXPECT_EQ(raw.rc, Z_DATA_ERROR);
    EXPECT_EQ(raw.out.size(), 0u);
    // A gzip body cut short: the bytes inflated so far, and 8.
    std::string gz = Compress(page, 15 + 16);
    Result cut = Inflate(gz.substr(0, gz.size() / 2), 100000, kInflateGzip);
    EXPECT_EQ(cut.rc, 8);
    EXPECT_GT(cut.out.size(), 0u);
    EXPECT_TRUE(cut.out == page.substr(0, cut.out.size()));
    // Output exactly the page's size: full before the stream's end is seen, so 8.
    Result exact = Inflate(gz, static_cast<uint32_t>(page.size()), kInflateGzip);
    EXPECT_EQ(exact.rc, 8);
    EXPECT_TRUE(exact.out == page);
    EXPECT_EQ(Inflate(gz, static_cast<uint32_t>(page.size()) + 1, kInflateGzip).rc, 0);
    // Output smaller than the page: filled to its capacity, and 8.
    Result small = Inflate(gz, 1000, kInflateGzip);
    EXPECT_EQ(small.rc, 8);
    EXPECT_EQ(small.out, page.substr(0, 1000));
    // A damaged stream keeps what came before the damage.
    std::string bad = gz;
    bad[bad.size() / 2] ^= 0x55;
    bad[bad.size() / 2 + 1] ^= 0x55;
    Result damaged = Inflate(bad, 100000, kInflateGzip);
    EXPECT_EQ(damaged.rc, Z_DATA_ERROR);
    EXPECT_LT(damaged.out.size(), page.size());
    // Any other kind inflates nothing.
    Result other = Inflate(gz, 100000, 3);
    EXPECT_EQ(other.rc, 0);
    EXPECT_EQ(other.out.size(), 0u);
    // No input.
    EXPECT_EQ(Inflate("", 100, kInflateGzip).rc, 8);
}

TEST(InflateBody, StopsAsTheByteWalkAtEveryCut)
{
    // Cut at every point of the body, with room to spare and with exactly the page's size.
    for (const Body& b : Bodies()) {
        const uint32_t size = static_cast<uint32_t>(b.page.size());
        for (uint32_t cut = 0; cut <= b.packed.size(); ++cut) {
            ExpectAsTheWalk(b.packed, cut, size + 100, b.kind, b.what);
            ExpectAsTheWalk(b.packed, cut, size, b.kind, b.what);
        }
    }
}

TEST(InflateBody, StopsAsTheByteWalkAtTheOutputsEdges)
{
    for (const Body& b : Bodies()) {
        const uint32_t size = static_cast<uint32_t>(b.page.size());
        const uint32_t len = static_cast<uint32_t>(b.packed.size());
        for (uint32_t capacity : {0u, 1u, 2u, 15u, 16u, 17u, 18u, size / 2, size - 17, size - 16, size - 1, size,
                                  size + 1, size + 16, size + 17})
            ExpectAsTheWalk(b.packed, len, capacity, b.kind, b.what);
    }
    // Every capacity of a small body.
    const Body small = Bodies().back();
    for (uint32_t capacity = 0; capacity <= small.page.size() + 1; ++capacity)
        ExpectAsTheWalk(small.packed, static_cast<uint32_t>(small.packed.size()), capacity, small.kind, small.what);
}

TEST(InflateBody, FullOutputBeforeABadTrailer)
{
    // The walk stops at the full output before it reads the damaged check value: 8.
    // With one byte more room it reads it: damaged data.
    for (const Body& b : Bodies()) {
        std::string bad = b.packed;
        const size_t check = b.kind == kInflateGzip ? bad.size() - 8 : bad.size() - 4;
        bad[check] ^= 0x01;
        const uint32_t size = static_cast<uint32_t>(b.page.size());
        Result full = Inflate(bad, size, b.kind);
        EXPECT_EQ(full.rc, 8) << b.what;
        EXPECT_TRUE(full.out == b.page) << b.what;
        EXPECT_EQ(Inflate(bad, size + 1, b.kind).rc, Z_DATA_ERROR) << b.what;
        for (uint32_t capacity : {size - 1, size, size + 1})
            ExpectAsTheWalk(bad, static_cast<uint32_t>(bad.size()), capacity, b.kind, b.what);
    }
}

TEST(InflateBody, DamagedStreamsAsTheByteWalk)
{
    // Damage at every eleventh byte of each body, read whole.
    for (const Body& b : Bodies()) {
        for (size_t at = 0; at < b.packed.size(); at += 11) {
            std::string bad = b.packed;
            bad[at] = static_cast<char>(bad[at] ^ 0xA5);
            ExpectAsTheWalk(bad, static_cast<uint32_t>(bad.size()), static_cast<uint32_t>(b.page.size()) + 64, b.kind,
                            b.what);
        }
    }
}
