// Pomoho extractor: the flvid of a player address, the host and stream name of the reply.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "extractor_run.h"
#include "extractors.h"
#include "fake_http.h"

namespace {

const std::string kApi =
    std::string("http://") + cfg::PomohoInterfaceHost + "/getvideourl.aspx?isdeepvoice=1&flvid=";

class PomohoTest : public ExtractorTest {};

}  // namespace

TEST_F(PomohoTest, PlayerAddressesOnly)
{
    const std::string asked = "<title>T</title><flv>http://v1.pomoho.com/pomoho_video/s1.flv<|></flv>";
    const AskCase cases[] = {
        {"flvid to the end of the address", "http://www.pomoho.com/p.swf?flvid=12&a=b", "", kApi + "12&a=b", asked},
        {"capital extension", "http://www.pomoho.com/P.SWF?flvid=12", "", kApi + "12", asked},
        {"mixed case", "http://www.pomoho.com/p.sWf?x=1&flvid=AbC", "", kApi + "AbC", asked},
        {"first flvid=", "http://www.pomoho.com/p.swf?flvid=1&flvid=2", "", kApi + "1&flvid=2", asked},
        {"no flvid=: asked all the same", "http://www.pomoho.com/p.swf?id=3", "", kApi, asked},
        {"not a player address", "http://www.pomoho.com/v/123.html?flvid=12", "", "", "kept"},
    };
    for (const AskCase& c : cases)
        CheckAsk(run, ExtractPomoho, c, "host=v1.pomoho.com&stream_name=s1&title=T&");
}

TEST_F(PomohoTest, ReplyFields)
{
    struct Case {
        const char* what;
        std::string reply, result;
    } cases[] = {
        {"all fields", "a=1&host=h.pomoho.com&stream_name=abc&title=Clip&x=2",
         "<title>Clip</title><flv>http://h.pomoho.com/pomoho_video/abc.flv<|></flv>"},
        // Every field ends at the next "&": the reply's last field reads as empty.
        {"title last", "host=h&stream_name=abc&title=Clip",
         "<title></title><flv>http://h/pomoho_video/abc.flv<|></flv>"},
        {"stream name missing", "host=h&title=T&", "<title>T</title><flv>http://h/pomoho_video/.flv<|></flv>"},
        {"host last: empty", "stream_name=abc&title=T&host=h", "kept"},
        {"no host", "stream_name=abc&title=T&", "kept"},
        {"empty reply", "", "kept"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        fakehttp::ServePage(kApi + "7", c.reply);
        EXPECT_EQ(run(ExtractPomoho, "http://www.pomoho.com/p.swf?flvid=7", "", "kept"), c.result) << c.what;
    }
}

TEST_F(PomohoTest, FailedRequestLeavesTheResultUntouched)
{
    EXPECT_EQ(run(ExtractPomoho, "http://www.pomoho.com/p.swf?flvid=7", "", "kept"), "kept");
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
}

TEST_F(PomohoTest, LongFlvidIsAskedWhole)
{
    const std::string kept(1279, '5');
    fakehttp::ServePage(kApi + kept, "host=h&stream_name=s&title=T&");
    EXPECT_EQ(run(ExtractPomoho, "http://www.pomoho.com/p.swf?flvid=" + kept + "999", ""),
              "<title>T</title><flv>http://h/pomoho_video/s.flv<|></flv>");
    ExpectOneInterfaceGet(kApi + kept, "long flvid");
}
