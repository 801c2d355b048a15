// Resolves hostile replies through the exports over the in-process transport and
// prints the time each takes and the peak memory so far: a Sina play list of 200,000
// empty "durl" blocks, a Ku6 interface reply whose "f" field holds 640,000 commas, and
// a Youku play list whose identifier of a million characters makes 255 segments, all
// gzipped on the wire.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "fake_http.h"
#include "unit/compress.h"
#include "vennix.h"
#include "youku.h"

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

Case ServeYouku()
{
    // Kind 02 and count ff: 255 segments, each repeating the whole identifier. Every
    // character past the first ten deciphers from index 0, two bytes each.
    const std::string id = "02abcdff" + std::string(1000000 - 8, 'F');
    const std::string alphabet = MixAlphabet(0);
    std::string fileIds;
    for (char ch : id)
        fileIds += std::to_string(alphabet.find(ch)) + "*";
    const std::string list = "{\"data\":[{\"seed\":0,\"fileid\":\"" + fileIds +
                             "\",\"title\":\"T\",\"key1\":\"0\",\"key2\":\"k\"}]}";
    const std::string page = "http://v.youku.com/v_show/id_X.html";
    fakehttp::ServePage(page, "<html></html>");
    const std::string gz = Compress(list, 15 + 16);
    fakehttp::ServePage(std::string("http://") + cfg::YoukuPlayListHost +
                            "/player/getPlayList/VideoIDS//version/5/source/video/password/undefined/"
                            "?onData=%5Btype%20Function%5D&this2=%5Flevel0&n=3",
                        gz, "HTTP/1.1 200 OK", kGzipHeaders);
    return {"Youku, 255 segments of 1,000,000", page, gz.size()};
}

// The process's peak resident memory so far, in MiB.
double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

}  // namespace

// With an argument, only the cases whose name begins with it run, so that the peak
// memory printed is theirs alone.
int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    fakehttp::Reset();
    const Case cases[] = {ServeSina(), ServeKu6(), ServeYouku()};
    std::vector<char> list(FLV_LIST_A_SIZE), lines(FLV_URL_A_LINES_SIZE), title(FLV_URL_A_TITLE_SIZE);
    for (const Case& c : cases) {
        if (std::string(c.what).compare(0, only.size(), only) != 0)
            continue;
        double listMs = BestMillis([&] { FLV_GetFlvListDirectlyA(c.page.c_str(), list.data()); }, 3);
        double urlMs = BestMillis([&] { FLV_GetFlvUrlDirectlyA(c.page.c_str(), lines.data(), title.data()); }, 3);
        std::printf("%-34s %5zu bytes on the wire: FLV_GetFlvListDirectlyA %8.1f ms (%zu bytes out), "
                    "FLV_GetFlvUrlDirectlyA %8.1f ms, peak so far %6.1f MiB\n",
                    c.what, c.wireBytes, listMs, std::string(list.data()).size(), urlMs, PeakMiB());
    }
    return 0;
}
