// Inflation of gzip and deflate reply bodies.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "http.h"
#include "unit/compress.h"

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
