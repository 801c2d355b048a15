// Site56: the three page forms, the site's Base64 forms, the page address rebuilt
// from a player redirect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/hosts.h"
#include "extractors.h"
#include "site56.h"

namespace {

// The two-stage text of mode 0: the count character, then the encoding of count
// filler bytes followed by the encoding of the inner text behind a skipped character.
std::string TwoStage(char count, const std::string& filler, const std::string& inner)
{
    return count + Base64Encode(filler + "~" + Base64Encode(inner));
}

std::string RunSite56(const std::string& pageText, std::string result = "")
{
    std::vector<char> page(pageText.begin(), pageText.end());
    page.resize(pageText.size() + 4096, '\0');
    std::vector<char> headers(64, 'h'), work(64, 'w');
    ExtractSite56("http://www.56.com/u11/v_x.html", page.data(), static_cast<uint32_t>(page.size()),
                  headers.data(), static_cast<uint32_t>(headers.size()), work.data(),
                  static_cast<uint32_t>(work.size()), result);
    return result;
}

const std::string kFile1 = std::string("http://") + cfg::Site56FileHost1 + "/f3.";
const std::string kFile2 = std::string("http://") + cfg::Site56FileHost2 + "/f1_";
const std::string kAt = std::string("@") + cfg::Site56FileDomain + "_56flv_";

}  // namespace

TEST(Base64Encode, OneEqualsSignFewerThanUsual)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"1000", "MTAwMA="},  // one-byte tail: two characters and one "="
        {"12345", "MTIzNDU"},  // two-byte tail: three characters, no "="
        {"abc", "YWJj"},
        {"123456", "MTIzNDU2"},
        {"a", "YQ="},
        {"ab", "YWI"},
        {"-1000", "LTEwMDA"},
        {std::string("\xff\xfe\xfd", 3), "//79"},
        {std::string("\0", 1), "AA="},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Base64Encode(c.in), c.out) << c.in;
}

TEST(MakeSite56PageUrl, NumberAndLetter)
{
    const std::string host = std::string("http://") + cfg::Site56PageHost;
    struct Case {
        const char* flvid;
        const char* urlid;
        const char* path;
    } cases[] = {
        {"1000", "2009_x", "/l43/v_"},
        {"0", "1901_", "/l11/v_"},
        {"87", "3002_a", "/l98/v_"},
        {"88", "2009_x", "/l11/v_"},
        {"1000", "1900_x", "/u43/v_"},
        {"1000", "3003_x", "/u43/v_"},
        {"1000", "200_x", "/u43/v_"},     // first "_" at index 3
        {"1000", "20091_x", "/u43/v_"},   // at index 5
        {"1000", "2009x_1", "/u43/v_"},
        {"1000", "2009", "/u43/v_"},      // no "_"
        {"1000", "", "/u43/v_"},
        {"1000", "2a09_x", "/u43/v_"},    // the prefix reads as 2
        {"1000", "2009_2009_", "/l43/v_"},
        // A negative flvid keeps its sign in the remainder.
        {"-1000", "2009_x", "/l-21/v_"},
        {"-1", "2009_x", "/l10/v_"},
        {"-88", "2009_x", "/l11/v_"},
        // The flvid is read as a decimal prefix.
        {"", "2009_x", "/l11/v_"},
        {"abc", "2009_x", "/l11/v_"},
        {"12abc", "2009_x", "/l23/v_"},
        {"+1000", "2009_x", "/l43/v_"},
        // Beyond the 32-bit range the value stops at its ends.
        {"99999999999", "2009_x", "/l34/v_"},
        {"-99999999999", "2009_x", "/l-13/v_"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeSite56PageUrl(c.flvid, c.urlid), host + c.path) << c.flvid << " " << c.urlid;
}

TEST(MakeSite56PageUrl, CompletedWithTheEncodedFlvid)
{
    EXPECT_EQ(MakeSite56PageUrl("1000", "2009_x") + Base64Encode("1000") + ".html",
              std::string("http://") + cfg::Site56PageHost + "/l43/v_MTAwMA=.html");
}

TEST(Base64Decode, PlainDecoding)
{
    struct Case {
        const char* what;
        std::string in, out;
    } cases[] = {
        {"the first character is skipped", "xTWFu", "Man"},
        {"the first character is skipped even when it has a value", "TTWFu", "Man"},
        {"\"=\" in the fourth place ends it", "xTWE=TWFu", "Ma"},
        {"\"=\" in the third place ends it", "xTQ==TWFu", "M"},
        {"\"=\" where a first or second character is sought is skipped", "x=T=WFu", "Man"},
        {"characters outside the alphabet are skipped", "x T\nW*F-u", "Man"},
        {"bytes of 0x80 and above have no value", "x\x80T\xffW\xc3" "F\xe4u", "Man"},
        {"the text ends after a first character", "xTWFuT", "Man"},
        {"the text ends after a second character", "xTWFuTW", "ManM"},
        {"the text ends after a third character", "xTWFuTWF", "ManMa"},
        {"the whole alphabet", "x+/+/", "\xfb\xff\xbf"},
        {"one character", "T", ""},
        {"no character", "", ""},
        {"nothing with a value", "x!!==", ""},
        // The site's own encoding with one "=" fewer reads back.
        {"one-byte tail of the site's encoding", "x" + Base64Encode("1000"), "1000"},
        {"two-byte tail of the site's encoding", "x" + Base64Encode("12345"), "12345"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Decode(1, c.in), c.out) << c.what;
        EXPECT_EQ(Base64Decode(7, c.in), c.out) << c.what << " (any mode but 0)";
    }
}

TEST(Base64Decode, TwoStageDecodingDropsTheCountedBytes)
{
    // "\x03" + the encoding of "abc?TWFu": drop "abc", then "?" is skipped and TWFu read.
    EXPECT_EQ(Base64Decode(0, "\x03YWJjP1RXRnU="), "Man");
    struct Case {
        const char* what;
        std::string in, out;
    } cases[] = {
        {"count 0", TwoStage('\0', "", "inner"), "inner"},
        {"a printable count", TwoStage('C', std::string(67, 'f'), "inner text"), "inner text"},
        // The count reaches the end of the first decoding: nothing is left to decode.
        {"count of the whole first decoding", std::string("\x04") + Base64Encode("abcd"), ""},
        // Counts past the first decoding, and negative ones, give the empty decoding.
        {"count past the first decoding", std::string("\x05") + Base64Encode("abcd"), ""},
        {"count far past it", std::string("\x7f") + Base64Encode("abcd"), ""},
        {"negative count", std::string("\x80") + Base64Encode(std::string(200, 'a')), ""},
        {"negative count -1", std::string("\xff") + Base64Encode(std::string(200, 'a')), ""},
        {"one character", std::string(1, '\0'), ""},
        {"no character", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Base64Decode(0, c.in), c.out) << c.what;
}

TEST(ExtractSite56, ThreePageForms)
{
    const std::string flvObject =
        "{'URL_host' : 'h2', 'URL_pURL' : 'p2', 'URL_sURL' : 's2', 'user_id' : 'u2', 'URL_URLid' : 'id2'}";
    const std::string flvPage = "<title>Flv page</title><script>var _oFlv_o = '" + TwoStage('\x02', "zz", flvObject) +
                                "';</script>";
    const std::string clickBlock = "(){ go('x&host=h1&pURL=p1&sURL=s1&user=u1&URLid=id1&t=1'); }";
    const std::string playObject =
        "f_js_playObject('v=1&key=K3&host=h3&pURL=p3&sURL=s3&user=u3&URLid=id3&tit=Tit, & more')";
    struct Case {
        const char* what;
        std::string page, result;
    } cases[] = {
        {"first form", "<title>Click page</title><script>function clickO" + clickBlock + "</script>",
         "<title>Click page</title><flv>" + kFile1 + "h1/flvdownload/p1/s1/u1" + kAt + "id1.flv<|></flv>"},
        {"first form takes document.title", "<title>T</title><script>document.title = \"Doc\"; function clickO" +
                                                 clickBlock + "</script>",
         "<title>Doc</title><flv>" + kFile1 + "h1/flvdownload/p1/s1/u1" + kAt + "id1.flv<|></flv>"},
        {"first form before the second", "<title>A</title>" + flvPage + "<script>function clickO" + clickBlock +
                                             "</script>",
         "<title>A</title><flv>" + kFile1 + "h1/flvdownload/p1/s1/u1" + kAt + "id1.flv<|></flv>"},
        {"first form without a later </script> counts as absent", flvPage + "<script>function clickO" + clickBlock,
         "<title>Flv page</title><flv>" + kFile1 + "h2/flvdownload/p2/s2/u2" + kAt + "id2.flv<|></flv>"},
        // The first form's markers without "&" match inside longer names; a value last in the block is empty.
        {"first form, loose markers", "<script>function clickO x&host=h&xpURL=p&sURL=s&user=u&URLid=i</script>",
         "<title></title><flv>" + kFile1 + "h/flvdownload/p/s/u" + kAt + ".flv<|></flv>"},
        {"first form, no values", "<title>E</title><script>function clickO(){}</script>",
         "<title>E</title><flv>" + kFile1 + "/flvdownload///" + kAt + ".flv<|></flv>"},
        {"second form", flvPage,
         "<title>Flv page</title><flv>" + kFile1 + "h2/flvdownload/p2/s2/u2" + kAt + "id2.flv<|></flv>"},
        {"second form decoding to nothing", "<title>N</title><script>var _oFlv_o = '\x7fYWJj';</script>",
         "<title>N</title><flv>" + kFile1 + "/flvdownload///" + kAt + ".flv<|></flv>"},
        {"second form with a negative count", "<title>N</title><script>var _oFlv_o = '\xb0YWJj';</script>",
         "<title>N</title><flv>" + kFile1 + "/flvdownload///" + kAt + ".flv<|></flv>"},
        {"second form before the third", flvPage + playObject,
         "<title>Flv page</title><flv>" + kFile1 + "h2/flvdownload/p2/s2/u2" + kAt + "id2.flv<|></flv>"},
        // The title is the tit value as it stands, not the page's.
        {"third form", "<title>Page</title>" + playObject,
         "<title>Tit, & more</title><flv>" + kFile2 + "K3.h3/flvdownload/p3/s3/u3" + kAt + "id3.flv<|></flv>"},
        {"third form, last value empty", "f_js_playObject('&key=K&host=h&pURL=p&sURL=s&user=u&URLid=i')",
         "<title></title><flv>" + kFile2 + "K.h/flvdownload/p/s/u" + kAt + ".flv<|></flv>"},
        {"third form, markers need their &", "f_js_playObject('key=K&host=h&pURL=p')",
         "<title></title><flv>" + kFile2 + ".h/flvdownload///" + kAt + ".flv<|></flv>"},
        {"empty blocks count as absent", "function clickO</script> var _oFlv_o = '' f_js_playObject('')", "kept"},
        {"no form", "<title>Plain</title><p>no player</p>", "kept"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunSite56(c.page, "kept"), c.result) << c.what;
}

TEST(ExtractSite56, ValuesAreTakenUpTo10239Characters)
{
    // The block is cut at 10239 characters: a value beyond it is not found.
    const std::string far = "<script>function clickO " + std::string(10239 - 1, ' ') + "&host=h&</script>";
    EXPECT_EQ(RunSite56(far), "<title></title><flv>" + kFile1 + "/flvdownload///" + kAt + ".flv<|></flv>");
    const std::string near = "<script>function clickO " + std::string(10239 - 9, ' ') + "&host=h&</script>";
    EXPECT_EQ(RunSite56(near), "<title></title><flv>" + kFile1 + "h/flvdownload///" + kAt + ".flv<|></flv>");
}
