// Break extractor: the player script's file re-based onto the video host and signed;
// files elsewhere are refused with a line on the standard output.
#include <string>

#include "config/hosts.h"
#include "extractor_test.h"
#include "extractors.h"

namespace {

const std::string kVideo = std::string("http://") + cfg::BreakVideoHost + "/dnet/media/";
const std::string kMedia = std::string("http://") + cfg::BreakMediaHost + "/dnet/media/";

std::string PlayerPage(const std::string& videoPath, const std::string& contentPath, const std::string& fileName)
{
    return "<html><head><title>Break clip</title></head><body><script>so.addVariable('videoPath', '" + videoPath +
           "');var sGlobalContentFilePath='" + contentPath + "';var sGlobalFileName='" + fileName +
           "';</script></body></html>";
}

struct Outcome {
    std::string result, out;
};

// Runs the extractor and keeps what it wrote to the standard output.
class Break : public ExtractorTest {
protected:
    Outcome RunBreak(const std::string& pageText)
    {
        Outcome o;
        testing::internal::CaptureStdout();
        o.result = Run(WithAddress(ExtractBreak), "http://www.break.com/index/clip.html", pageText);
        o.out = testing::internal::GetCapturedStdout();
        return o;
    }
};

}  // namespace

TEST_F(Break, SignedAddressOnTheVideoHost)
{
    // The digests were worked out apart from this code: MD5 of "k47m2Qx8Tn5", the
    // re-based address and "?rs=80&ri=5000".
    struct Case {
        const char* name;
        std::string page;
        std::string stream, digest;
    } cases[] = {
        {"file on the media host", PlayerPage(kMedia, "2008/12", "clip"), kVideo + "2008/12/clip.flv",
         "f82a6bf23df48ac8a2b93757b9ebcd15"},
        {"no content path and no file name", PlayerPage(kMedia, "", ""), kVideo + "/.flv",
         "0ac9dad19ae1b5dd2e56e5e758ee4f43"},
        {"the tail after the first media prefix", PlayerPage("http://media1.break.com/x?u=" + kMedia + "a", "", "b"),
         kVideo + "a/b.flv", "f764f46982ed34052a9d543a9192ba3b"},
    };
    for (const Case& c : cases) {
        Outcome o = RunBreak(c.page);
        EXPECT_EQ(o.result, "<title>Break clip</title><flv>" + c.stream + "?rs=80&ri=5000&h=" + c.digest +
                                "&ext=.flv<|></flv>")
            << c.name;
        EXPECT_EQ(o.out, "") << c.name;
    }
    EXPECT_TRUE(fakehttp::Requests().empty());
}

TEST_F(Break, FilesOffTheMediaHostAreNotSupported)
{
    struct Case {
        const char* name;
        std::string page;
    } cases[] = {
        {"no video path", "<title>Break clip</title>sGlobalContentFilePath='2008';sGlobalFileName='clip';"},
        {"other host", PlayerPage("http://www.example.com/dnet/media/", "2008", "clip")},
        {"media host's label after the scheme only", PlayerPage("http://cdn.example/media1/dnet/media/", "a", "b")},
        {"no scheme", PlayerPage(std::string(cfg::BreakMediaHost) + "/dnet/media/", "a", "b")},
        {"upper-case scheme", PlayerPage("HTTP://media1.break.com/dnet/media/", "a", "b")},
    };
    for (const Case& c : cases) {
        Outcome o = RunBreak(c.page);
        EXPECT_EQ(o.result, "<title>Break clip</title>") << c.name;
        EXPECT_EQ(o.out, "not support!!\n") << c.name;
    }
}

TEST_F(Break, CandidateOffTheMediaPathGivesNoStream)
{
    // It begins like the media host but holds no whole media prefix: the tail is empty,
    // so there is no file to sign.
    for (const std::string videoPath :
         {"http://media1x.break.com/dnet/media/", "http://media1.break.com/other/", "http://media1"}) {
        Outcome o = RunBreak(PlayerPage(videoPath, "2008", "clip"));
        EXPECT_EQ(o.result, "<title>Break clip</title><flv></flv>") << videoPath;
        EXPECT_EQ(o.out, "") << videoPath;
    }
}

TEST_F(Break, LongTailIsCutAndSignedWhole)
{
    // A tail longer than the signer's fixed block once held; it is cut at 10239.
    const std::string file(12000, 'f');
    Outcome o = RunBreak(PlayerPage(kMedia, "d", file));
    const std::string tail = ("d/" + file + ".flv").substr(0, 10239);
    EXPECT_EQ(o.result, "<title>Break clip</title><flv>" + kVideo + tail +
                            "?rs=80&ri=5000&h=223640d5ebbdc3b2b0284dcf2ae28fd2&ext=.flv<|></flv>");
}
