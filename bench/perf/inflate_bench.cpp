// Inflates a 2 MiB gzip page three ways and prints the times: one byte of input and
// output per zlib call, InflateBody (whole and cut at half), and zlib's own bulk inflate.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "http.h"
#include "unit/inflate_walk.h"

namespace {

template <class F>
double Millis(F f, int rounds)
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / rounds;
}

}  // namespace

int main()
{
    const uint32_t kSize = 2097152;
    std::string page;
    for (int i = 0; page.size() < kSize; ++i)
        page += "<a href=\"http://www.example.com/v/" + std::to_string(i * 2654435761u % 100000) + ".html\">clip " +
                std::to_string(i) + "</a>\n";
    page.resize(kSize);
    z_stream zs = {};
    deflateInit2(&zs, 6, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> gz(deflateBound(&zs, kSize) + 64);
    zs.next_in = reinterpret_cast<Bytef*>(&page[0]);
    zs.avail_in = kSize;
    zs.next_out = gz.data();
    zs.avail_out = static_cast<uInt>(gz.size());
    deflate(&zs, Z_FINISH);
    const uint32_t gzLen = static_cast<uint32_t>(zs.total_out);
    deflateEnd(&zs);

    std::vector<unsigned char> out(kSize);
    uint32_t n1 = kSize, n2 = kSize;
    double byteWise = Millis([&] { n1 = kSize; InflateByteWalk(gz.data(), gzLen, out.data(), &n1, kInflateGzip); }, 1);
    double bulk = Millis([&] { n2 = kSize; InflateBody(gz.data(), gzLen, out.data(), &n2, kInflateGzip); }, 10);
    uint32_t n3 = kSize;
    double cut = Millis([&] { n3 = kSize; InflateBody(gz.data(), gzLen / 2, out.data(), &n3, kInflateGzip); }, 10);
    double zlibOwn = Millis([&] {
        z_stream s = {};
        inflateInit2(&s, 47);
        s.next_in = gz.data();
        s.avail_in = gzLen;
        s.next_out = out.data();
        s.avail_out = kSize;
        inflate(&s, Z_FINISH);
        inflateEnd(&s);
    }, 10);
    std::printf("gzip page: %u bytes compressed, %u inflated (byte-wise %u)\n", gzLen, n2, n1);
    std::printf("one byte per call: %8.2f ms  (%.1f x zlib bulk)\n", byteWise, byteWise / zlibOwn);
    std::printf("InflateBody:       %8.2f ms  (%.2f x zlib bulk)\n", bulk, bulk / zlibOwn);
    std::printf("InflateBody, cut:  %8.2f ms  (half the body, %u bytes)\n", cut, n3);
    std::printf("zlib bulk inflate: %8.2f ms\n", zlibOwn);
    return 0;
}
