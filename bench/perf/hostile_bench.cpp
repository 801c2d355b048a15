// Resolves two hostile replies through the exports over the in-process transport and
// prints the time each takes: a Sina play list of 200,000 empty "durl" blocks and a
// Ku6 interface reply whose "f" field holds 640,000 commas, both gzipped on the wire.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "fake_http.h"
#include "unit/compress.h"
#include "vennix.h"

namespace {

const std::string kGzipHeaders = "Content-Encoding: gzip\r\n";

struct Case {
    const char* what;
    std::string page;
    size_t wireBytes;
};

// The best of a few runs of f, in milliseconds.
template <class F>
double BestMillis(F f, int rounds)
{
    double best = 1e12;
    for (int i = 0; i < rounds; ++i) {
        auto start = std::chrono::steady_clock::now();
        f();
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = ms < best ? ms : best;
    }
    return best;
}

Case ServeSina()
{
    // Each block is as short as the reader allows, so that all of them fit the 2 MiB
    // work buffer once inflated.
    std::string list = "<video><vname><![CDATA[T]]></vname>";
    for (int i = 0; i < 200000; ++i)
        list += "durl>/durl";
    list += "</video>";
    const std::string page = "http://video.sina.com.cn/v/b/12345-1.html";
    fakehttp::ServePage(page, "<html></html>");
    const std::string gz = Compress(list, 15 + 16);
    fakehttp::ServePage(std::string("http://") + cfg::SinaInterfaceHost + "/v_play.php?vid=12345", gz,
                        "HTTP/1.1 200 OK", kGzipHeaders);
    return {"Sina, 200,000 empty durl blocks", page, gz.size()};
}

Case ServeKu6()
{
    const std::string page = "http://v.ku6.com/show/abc.html";
    fakehttp::ServePage(page, "", "HTTP/1.1 302 Found", "Location: http://player.ku6.com/p.swf?vid=abc&a=1\r\n");
    const std::string reply = "{\"data\":{\"t\":\"T\",\"f\":\"" + std::string(640000, ',') + "\"}}";
    const std::string gz = Compress(reply, 15 + 16);
    fakehttp::ServePage(std::string("http://") + cfg::Ku6InterfaceHost + "/fetchVideo4Player/1/abc.html", gz,
                        "HTTP/1.1 200 OK", kGzipHeaders);
    return {"Ku6, 640,000 commas in \"f\"", page, gz.size()};
}

}  // namespace

int main()
{
    fakehttp::Reset();
    const Case cases[] = {ServeSina(), ServeKu6()};
    std::vector<char> list(FLV_LIST_A_SIZE), lines(FLV_URL_A_LINES_SIZE), title(FLV_URL_A_TITLE_SIZE);
    for (const Case& c : cases) {
        double listMs = BestMillis([&] { FLV_GetFlvListDirectlyA(c.page.c_str(), list.data()); }, 3);
        double urlMs = BestMillis([&] { FLV_GetFlvUrlDirectlyA(c.page.c_str(), lines.data(), title.data()); }, 3);
        std::printf("%-34s %5zu bytes on the wire: FLV_GetFlvListDirectlyA %8.1f ms (%zu bytes out), "
                    "FLV_GetFlvUrlDirectlyA %8.1f ms\n",
                    c.what, c.wireBytes, listMs, std::string(list.data()).size(), urlMs);
    }
    return 0;
}
