// Replies that repeat a piece in every item: each extractor stops adding items once its
// result text is longer than the work buffer, and every output fitted from the text is
// the one the whole text would give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"
#include "extractors.h"
#include "fake_http.h"
#include "rand_clock.h"
#include "result_text.h"
#include "youku.h"

namespace {

const uint32_t kWork = 1 << 16;
// A work buffer so large that no case reaches it: the text as it was before the bound.
const uint32_t kWholeWork = 1 << 22;

struct Case {
    const char* what;
    Extractor extract;
    std::string url, overrideUrl, asked, reply;
    size_t itemMax;  // the longest item the reply gives, its separator included
};

std::string Extract(const Case& c, uint32_t workSize)
{
    FixedCalendarTime clock(1234567890);
    fakehttp::Reset();
    fakehttp::ServePage(c.asked, c.reply);
    std::vector<char> page(1 << 20, '\0'), headers(10240, '\0'), work(workSize, 'w');
    std::string result;
    CallExtractor(c.extract, c.url.c_str(), page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                  static_cast<uint32_t>(headers.size()), work.data(), workSize, result, c.overrideUrl,
                  !c.overrideUrl.empty());
    EXPECT_EQ(fakehttp::RequestsFor(c.asked).size(), 1u) << c.what;
    fakehttp::Reset();
    return result;
}

std::string Repeat(const std::string& piece, size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += piece;
    return s;
}

// A Youku play list whose identifier has 5000 characters more than the ten the kind
// and the count need; kind 02 and count ff make 255 segments of it.
Case Youku()
{
    const std::string id = "02abcdff" + std::string(5000, 'Q') + "zz";
    const std::string alphabet = MixAlphabet(0);
    std::string fileIds;
    for (char ch : id)
        fileIds += std::to_string(alphabet.find(ch)) + "*";
    const std::string api = std::string("http://") + cfg::YoukuPlayListHost + "/list";
    const std::string item = std::string("http://") + cfg::YoukuFileHost + "/player/getFlvPath/fileid/" + id +
                             "&K=k6b1e4d72<&>";
    return {"Youku, 255 segments of a long identifier", WithBuffersAndOverride(ExtractYouku), "", api, api,
            "{\"data\":[{\"seed\":0,\"fileid\":\"" + fileIds + "\",\"title\":\"T\",\"key1\":\"0\",\"key2\":\"k\"}]}",
            item.size()};
}

}  // namespace

TEST(ItemBound, ResultStopsAtTheWorkBufferWithTheSameFittedOutputs)
{
    const std::string site6 = std::string("http://") + cfg::Site6InterfaceHost + "/v72.php?vid=E1";
    const std::string ku6 = std::string("http://") + cfg::Ku6InterfaceHost + "/fetchVideo4Player/1/K.html";
    const std::string bokecc =
        std::string("http://") + cfg::BokeccInterfaceHost + "/servlet/GetVideoStatus?videoID=9";
    const std::string keys = "?start=0&key1=212989528&key2=1522887845&key3=1035950804&key4=1111636707";
    const Case cases[] = {
        Youku(),
        // The key query goes after every file.
        {"Site6, the key query after 4000 one-letter files", WithBuffersAndOverride(ExtractSite6), "", site6, site6,
         "<root><VIDEO><title>T</title></VIDEO>" + Repeat("<file>a</file>", 4000) + "</root>",
         1 + keys.size() + 3},
        // Every comma becomes a separator of its own.
        {"Ku6, 60000 commas", WithAddressAndOverride(ExtractKu6), "http://v.ku6.com/show/K.html", ku6, ku6,
         "{\"data\":{\"t\":\"T\",\"f\":\"" + std::string(60000, ',') + "\"}}", 3},
        // Every path is a list part of its own.
        {"Bokecc, 20000 one-letter paths", WithAddress(ExtractBokecc),
         "http://www.bokecc.com/play.bo?videoID=u_9&", "", bokecc,
         "<video title=\"T\">" + Repeat("flvPath=\"a\"", 20000) + "</video>", 15},
    };
    for (const Case& c : cases) {
        const std::string bounded = Extract(c, kWork);
        const std::string whole = Extract(c, kWholeWork);
        // The case is hostile: the whole text is far longer than the work buffer.
        ASSERT_GT(whole.size(), 2u * kWork) << c.what;
        // At most one item is added past the work buffer, then the list is closed.
        EXPECT_GT(bounded.size(), kWork) << c.what;
        EXPECT_LE(bounded.size(), kWork + c.itemMax + 6) << c.what;
        ASSERT_EQ(bounded.compare(bounded.size() - 6, 6, "</flv>"), 0) << c.what;
        EXPECT_EQ(whole.compare(0, bounded.size() - 6, bounded, 0, bounded.size() - 6), 0) << c.what;
        // Every output no larger than the work buffer comes out the same.
        for (size_t size : {size_t(1024), size_t(4096), size_t(kWork / 2), size_t(kWork)})
            EXPECT_EQ(FitResultText(bounded, size), FitResultText(whole, size)) << c.what << ", " << size;
        EXPECT_EQ(TakeFirstParts(bounded).items, TakeFirstParts(whole).items) << c.what;
    }
}
