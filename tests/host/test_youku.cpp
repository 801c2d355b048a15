// Youku extractor: the play-list address from the page or the player address, the
// seeded alphabet, the identifier walk and the segment addresses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"
#include "extractors.h"
#include "fake_http.h"
#include "rand_clock.h"
#include "result_text.h"
#include "vennix.h"
#include "youku.h"

namespace {

const std::string kPlayList = std::string("http://") + cfg::YoukuPlayListHost + "/player/getPlayList/VideoIDS/";
const std::string kFile = std::string("http://") + cfg::YoukuFileHost + "/player/getFlvPath/fileid/";
const char kPageQuery[] = "?onData=%5Btype%20Function%5D&this2=%5Flevel0&n=3";

// The shuffle as its own double-precision steps state it, valid inside the seed range.
std::string ShuffleInDoubles(double seed)
{
    std::string source = kYoukuSourceAlphabet, out;
    for (int pass = 0; pass < 68; ++pass) {
        seed = static_cast<int32_t>(seed * 211 + 30031) % 65536;
        const double length = static_cast<double>(source.size());
        const size_t pos = static_cast<size_t>(seed / 65536 * length);
        out.push_back(source[pos]);
        source.erase(pos, 1);
    }
    return out;
}

// The indices that decipher to id with the alphabet of seed, each followed by "*".
std::string Encipher(const std::string& id, int64_t seed)
{
    const std::string alphabet = MixAlphabet(seed);
    std::string out;
    for (char c : id)
        out += std::to_string(alphabet.find(c)) + "*";
    return out;
}

std::string Reply(const std::string& seed, const std::string& fileIds, const std::string& title,
                  const std::string& key1, const std::string& key2)
{
    return "{\"data\":[{\"tt\":\"0\",\"seed\":" + seed + ",\"fileid\":\"" + fileIds + "\",\"title\":\"" + title +
           "\",\"key1\":\"" + key1 + "\",\"key2\":\"" + key2 + "\",\"segs\":\"\"}]}";
}

class YoukuTest : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    void TearDown() override { fakehttp::Reset(); }

    std::string Run(const std::string& pageText, const std::string& overrideUrl = "", bool useOverride = false,
                    std::string result = "old")
    {
        page.assign(1 << 16, '\0');
        headers.assign(10240, '\0');
        work.assign(1 << 16, 'w');
        std::copy(pageText.begin(), pageText.end(), page.begin());
        ExtractYouku(page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                     static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result,
                     overrideUrl, useOverride);
        return result;
    }
    // Runs on the reply of a fixed play-list address.
    std::string RunReply(const std::string& reply)
    {
        const std::string api = kPlayList + "X/version/5/source/out/password/?ran=1&n=3";
        fakehttp::ServePage(api, reply);
        return Run("", api, true);
    }

    std::vector<char> page, headers, work;
};

}  // namespace

TEST(MixAlphabet, SeedZeroAndBothEndsOfTheSeedRange)
{
    EXPECT_EQ(MixAlphabet(0), "FjunR-605KWgeYO/oCaU7d\\kHLzXEDT:hSl84VIAqJyfMPZ9i2G1x_pbmw3rtsNBvc.Q");
    for (int64_t seed : {int64_t(-142), int64_t(-1), int64_t(0), int64_t(1), int64_t(65535), int64_t(65536),
                         int64_t(4000000), int64_t(10177504), int64_t(10177505)})
        EXPECT_EQ(MixAlphabet(seed), ShuffleInDoubles(static_cast<double>(seed))) << seed;
}

TEST(MixAlphabet, SeedsOutsideTheRangeTakeTheirNonNegativeRemainder)
{
    std::string sorted = kYoukuSourceAlphabet;
    std::sort(sorted.begin(), sorted.end());
    struct Case {
        int64_t seed, same;  // same: a seed inside the range with the same remainder mod 65536
    } cases[] = {
        {-143, 65393},
        {-65536, 0},
        {10177506, 10177506 - 155 * 65536},
        {int64_t(1) << 32, 0},
        {INT64_MAX, 65535},
        {INT64_MIN, 0},
        {INT64_MIN + 1, 1},
    };
    for (const Case& c : cases) {
        std::string mixed = MixAlphabet(c.seed);
        EXPECT_EQ(mixed, MixAlphabet(c.same)) << c.seed;
        std::sort(mixed.begin(), mixed.end());
        EXPECT_EQ(mixed, sorted) << c.seed;
    }
}

TEST(DecodeFileId, OnlyIndicesFollowedByAStarCount)
{
    const std::string a = MixAlphabet(0);
    struct Case {
        const char* what;
        std::string ids, out;
    } cases[] = {
        {"two indices", "1*0*", {a[1], a[0]}},
        {"last index without *", "1*0", {a[1]}},
        {"empty token ends the walk", "1**2*", {a[1]}},
        {"leading empty token", "*1*", ""},
        {"no star", "12", ""},
        {"empty", "", ""},
        {"highest index", "67*", {a[67]}},
        {"atoi prefix", " 5x*+6*", {a[5], a[6]}},
        {"letters read as 0", "x*", {a[0]}},
        // Out of the alphabet: nothing added, the walk goes on.
        {"68", "68*2*", {a[2]}},
        {"negative", "-1*3*", {a[3]}},
        {"beyond 32 bits", "4294967296*4*", {a[4]}},
        {"beyond 64 bits", "99999999999999999999999*-99999999999999999999999*7*", {a[7]}},
        // A token is read from its first 499 characters.
        {"long token", std::string(498, '0') + "12*1*", {a[1], a[1]}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeFileId(c.ids, a), c.out) << c.what;
}

TEST(MakeYoukuPlayListUrl, DefaultsTypeFolderAndWinType)
{
    FixedCalendarTime clock(1234567890);  // srand(1234567890): the first rand() % 9999 is 1178
    const std::string ran = "?ran=1178&n=3";
    const std::string def = kPlayList + "XMjc5MDM1NzY=/version/5/source/out/password/";
    const std::string swf = "http://static.youku.com/v/swf/qplayer.swf?";
    struct Case {
        const char* what;
        std::string query, url;
    } cases[] = {
        {"no values", "", def + ran},
        {"VideoIDS as the last value", "VideoIDS=XAB", def + ran},
        {"empty VideoIDS", "VideoIDS=&x=1", def + ran},
        {"VideoIDS", "VideoIDS=XAB&x=1", kPlayList + "XAB/version/5/source/out/password/" + ran},
        {"Type=Folder alone", "Type=Folder&", def + "/Type/Folder/Fid//Pt/0" + ran},
        {"Type=Folder with Ob", "Type=Folder&Ob=7&", def + "/Type/Folder/Fid//Pt/0/Ob/7" + ran},
        {"Folder with every value", "VideoIDS=XAB&Type=Folder&Fid=12&Pt=3&Ob=4&",
         kPlayList + "XAB/version/5/source/out/password//Type/Folder/Fid/12/Pt/3/Ob/4" + ran},
        {"Ob undefined", "Type=Folder&Ob=undefined&", def + "/Type/Folder/Fid//Pt/0" + ran},
        {"Ob without Folder", "Ob=7&Pt=3&Fid=1&", def + ran},
        {"other Type", "Type=List&Fid=1&", def + ran},
        // winType's own "Type=" stands first and is taken as the Type value.
        {"winType before Type", "winType=index&Type=Folder&", kPlayList +
                                                                   "XMjc5MDM1NzY=/version/5/source/index/password/" +
                                                                   ran},
        {"winType=Folder before Type", "winType=Folder&Type=x&",
         def + "/Type/Folder/Fid//Pt/0" + ran},
        {"Type before winType", "Type=Folder&winType=index&",
         kPlayList + "XMjc5MDM1NzY=/version/5/source/index/password//Type/Folder/Fid//Pt/0" + ran},
        {"winType=interior", "winType=interior&", kPlayList + "XMjc5MDM1NzY=/version/5/source/video/password/" + ran},
        {"winType=adshow", "winType=adshow&", kPlayList + "XMjc5MDM1NzY=/version/5/source/video/password/" + ran},
        {"winType other", "winType=popup&", def + ran},
        {"winType last", "winType=adshow", kPlayList + "XMjc5MDM1NzY=/version/5/source//password/" + ran},
        {"winType empty", "winType=&", kPlayList + "XMjc5MDM1NzY=/version/5/source//password/" + ran},
        {"bare winType", "winType", kPlayList + "XMjc5MDM1NzY=/version/5/source//password/" + ran},
        {"keys are case-sensitive", "videoids=XAB&type=Folder&", def + ran},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeYoukuPlayListUrl(swf + c.query), c.url) << c.what;
    // The host and path are searched too; the first occurrence wins.
    EXPECT_EQ(MakeYoukuPlayListUrl("http://x/Pt=9&/p.swf?Pt=1&"), def + ran);
    EXPECT_EQ(MakeYoukuPlayListUrl("http://x/Pt=9&/p.swf?Type=Folder&Pt=1&"), def + "/Type/Folder/Fid//Pt/9" + ran);
}

TEST(MakeYoukuPlayListUrl, RanIsTheFirstDrawAfterSeedingWithTheLow32BitsOfTheClock)
{
    struct Case {
        int64_t time;
        const char* ran;
    } cases[] = {
        {0, "38"},                                 // srand(0): 38
        {1, "41"},                                 // srand(1): 41
        {(int64_t(1) << 32) + 1, "41"},            // only the low 32 bits seed
        {1234567890, "1178"},
    };
    for (const Case& c : cases) {
        FixedCalendarTime clock(c.time);
        std::string url = MakeYoukuPlayListUrl("");
        EXPECT_EQ(url.substr(url.find('?')), std::string("?ran=") + c.ran + "&n=3") << c.time;
    }
    // Every value stays below 9999.
    for (int64_t t = 0; t < 3000; ++t) {
        FixedCalendarTime clock(t * 7919);
        std::string url = MakeYoukuPlayListUrl("");
        int ran = std::stoi(url.substr(url.find("ran=") + 4));
        ASSERT_GE(ran, 0);
        ASSERT_LE(ran, 9998);
    }
}

TEST_F(YoukuTest, PlayListAddressFromThePage)
{
    const std::string head = kPlayList;
    const std::string mid = "/version/5/source/video/password/undefined/";
    const std::string v319(319, 'v');
    struct Case {
        const char* what;
        std::string page, path;  // path after the play-list prefix
    } cases[] = {
        // The VideoIDS value keeps the page's quotes.
        {"all four", "so.addVariable(\"VideoIDS\",\"XMT\");so.addVariable(\"Fid\",\"12\");"
                     "so.addVariable(\"Pt\",\"3\");so.addVariable(\"Ob\",\"4\");",
         "\"XMT\"" + mid + "Type/Folder/Fid/12/Pt/3/Ob/4"},
        {"VideoIDS unquoted", "v.add(\"VideoIDS\",XMT)", "XMT" + mid},
        {"Pt without Fid", "(\"VideoIDS\",\"X\")(\"Pt\",\"3\")", "\"X\"" + mid + "/Pt/3"},
        {"Ob alone", "(\"Ob\",\"4\")", mid + "/Ob/4"},
        {"nothing", "<html></html>", mid},
        {"VideoIDS without )", "(\"VideoIDS\",\"X\"", mid},
        // Each value is cut at 319 characters.
        {"VideoIDS at its bound", "(\"VideoIDS\"," + v319 + ")", v319 + mid},
        {"VideoIDS past it", "(\"VideoIDS\"," + v319 + "V)", v319 + mid},
        {"Fid at its bound", "(\"Fid\",\"" + v319 + "\")", mid + "Type/Folder/Fid/" + v319},
        {"Fid past it", "(\"Fid\",\"" + v319 + "V\")", mid + "Type/Folder/Fid/" + v319},
        {"Pt past it", "(\"Pt\",\"" + v319 + "V\")", mid + "/Pt/" + v319},
        {"Ob past it", "(\"Ob\",\"" + v319 + "V\")", mid + "/Ob/" + v319},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        Run(c.page);
        ASSERT_EQ(fakehttp::Requests().size(), 1u) << c.what;
        const FakeRequest& r = fakehttp::Requests()[0];
        EXPECT_EQ("http://" + r.server + r.path, head + c.path + kPageQuery) << c.what;
        EXPECT_TRUE(r.followRedirects) << c.what;
        EXPECT_EQ(r.headers.size(), 4u) << c.what;
    }
}

TEST_F(YoukuTest, OverrideIsFetchedExactlyAsPassedAndThePageIsNotRead)
{
    const std::string other = "http://elsewhere.example/p?VideoIDS=1&";
    fakehttp::ServePage(other, Reply("0", Encipher("01xxxxxxxxxx", 0), "T", "", ""));
    std::string result = Run("(\"VideoIDS\",\"PAGE\")", other, true);
    ASSERT_EQ(fakehttp::Requests().size(), 1u);
    EXPECT_EQ(fakehttp::Requests()[0].server, "elsewhere.example");
    EXPECT_EQ(fakehttp::Requests()[0].path, "/p?VideoIDS=1&");
    EXPECT_EQ(result, "<title>T</title><flv>" + kFile + "01xxxxxxxxxx&K=6b1e4d72<|></flv>");
}

TEST_F(YoukuTest, SegmentsAndSingleAddresses)
{
    const std::string key = "&K=k2" + std::string("94e1b28d");  // key1 ffffffff
    auto seg = [&](const std::string& id) { return kFile + id + key + "<&>"; };
    struct Case {
        const char* what;
        std::string id;
        std::string flv;  // "" for the title block alone
    } cases[] = {
        {"ten segments", "030000" "0A" "zz" "QQ",
         seg("0300000A00QQ") + seg("0300000A01QQ") + seg("0300000A02QQ") + seg("0300000A03QQ") +
             seg("0300000A04QQ") + seg("0300000A05QQ") + seg("0300000A06QQ") + seg("0300000A07QQ") +
             seg("0300000A08QQ") + seg("0300000A09QQ")},
        {"kind 2, two segments", "02abcd02zz", seg("02abcd0200") + seg("02abcd0201")},
        {"kind 2, one segment", "02abcd01zz", kFile + "02abcd01zz" + key + "<|>"},
        {"kind 1", "01abcd0Azz", kFile + "01abcd0Azz" + key + "<|>"},
        {"kind 4", "04abcd0Azz", kFile + "04abcd0Azz" + key + "<|>"},
        {"kind 0", "00abcd0Azz", kFile + "00abcd0Azz" + key + "<|>"},
        {"kind not hex", "x3abcd0Azz", kFile + "x3abcd0Azz" + key + "<|>"},
        {"count not hex", "03abcdxAzz", kFile + "03abcdxAzz" + key + "<|>"},
        {"ten characters", "0123456789", kFile + "0123456789" + key + "<|>"},
        {"nine characters", "012345678", ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        std::string result = RunReply(Reply("4711", Encipher(c.id, 4711), "T", "ffffffff", "k2"));
        EXPECT_EQ(result, "<title>T</title>" + (c.id.size() >= 10 ? "<flv>" + c.flv + "</flv>" : std::string()))
            << c.what;
    }
}

TEST_F(YoukuTest, SixteenSegmentsAreNumbered00To0F)
{
    std::string result = RunReply(Reply("1", Encipher("03abcd10zzEND", 1), "T", "0", ""));
    std::string want = "<title>T</title><flv>";
    const char* numbers[] = {"00", "01", "02", "03", "04", "05", "06", "07",
                             "08", "09", "0A", "0B", "0C", "0D", "0E", "0F"};
    for (const char* n : numbers)
        want += kFile + "03abcd10" + n + "END&K=6b1e4d72<&>";
    EXPECT_EQ(result, want + "</flv>");
}

TEST_F(YoukuTest, LongSegmentedIdentifierIsBuiltWhole)
{
    // Longer than the 255 characters of the copy the segment number is placed in.
    const std::string tail(400, 'Q');
    std::string result = RunReply(Reply("0", Encipher("03abcd02zz" + tail, 0), "T", "", "k"));
    EXPECT_EQ(result, "<title>T</title><flv>" + kFile + "03abcd0200" + tail + "&K=k6b1e4d72<&>" + kFile + "03abcd0201" +
                          tail + "&K=k6b1e4d72<&></flv>");
}

TEST_F(YoukuTest, SeedAndKeyFields)
{
    const std::string id = "01abcdefgh";
    const std::string k639(639, 'k');
    struct Case {
        const char* what;
        std::string seedText;
        int64_t cipherSeed;  // the seed the identifier is enciphered with
        std::string key1, key2, key;
    } cases[] = {
        {"seed", "4711", 4711, "0", "k2", "k26b1e4d72"},
        {"seed with blanks and sign", " -142", -142, "0", "", "6b1e4d72"},
        {"highest seed of the range", "10177505", 10177505, "0", "", "6b1e4d72"},
        // Beyond 32 bits the seed is read whole: 2^32 shuffles as 0 does.
        {"seed of 2^32", "4294967296", 0, "0", "", "6b1e4d72"},
        {"seed beyond the range", "10177506", 10177506, "0", "", "6b1e4d72"},
        {"seed without digits", "null", 0, "0", "", "6b1e4d72"},
        {"key1 all ones", "0", 0, "ffffffff", "", "94e1b28d"},
        {"key1 mixed case", "0", 0, "6B1E4D72", "", "0"},
        {"key1 of nine digits", "0", 0, "123456789", "", "6b1e4d72"},
        {"key1 not hex", "0", 0, "12g4", "", "6b1e4d72"},
        {"key1 leading zeros dropped", "0", 0, "6b1e4d73", "x", "x1"},
        // key2 is cut at 639 characters.
        {"key2 at its bound", "0", 0, "0", k639, k639 + "6b1e4d72"},
        {"key2 past it", "0", 0, "0", k639 + "K", k639 + "6b1e4d72"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        std::string result = RunReply(Reply(c.seedText, Encipher(id, c.cipherSeed), "T", c.key1, c.key2));
        EXPECT_EQ(result, "<title>T</title><flv>" + kFile + id + "&K=" + c.key + "<|></flv>") << c.what;
    }
}

TEST_F(YoukuTest, FieldsAreReadInTheirOrder)
{
    const std::string ids = Encipher("01abcdefgh", 5);
    struct Case {
        const char* what;
        std::string reply, result;
    } cases[] = {
        // Escapes in the title become the characters of code page 936.
        {"title escapes", Reply("5", ids, "\\u4e2d\\u6587 A", "0", "k"),
         "<title>\xd6\xd0\xce\xc4 A</title><flv>" + kFile + "01abcdefgh&K=k6b1e4d72<|></flv>"},
        // The title is searched after the file identifier and is not found before it.
        {"title first", "{\"title\":\"T\",\"seed\":5,\"fileid\":\"" + ids + "\",\"key1\":\"0\",\"key2\":\"k\"}",
         "<title></title><flv>" + kFile + "01abcdefgh&K=k6b1e4d72<|></flv>"},
        // A missing seed leaves the search where it was, so the fields after it are found.
        {"no seed", "{\"fileid\":\"" + Encipher("01abcdefgh", 0) + "\",\"title\":\"T\",\"key1\":\"0\",\"key2\":\"k\"}",
         "<title>T</title><flv>" + kFile + "01abcdefgh&K=k6b1e4d72<|></flv>"},
        {"no fileid", "{\"seed\":5,\"title\":\"T\",\"key1\":\"0\",\"key2\":\"k\"}", "<title>T</title>"},
        {"escaped quote ends the title", Reply("5", ids, "a\\\"b", "0", "k"),
         "<title>a\\</title><flv>" + kFile + "01abcdefgh&K=k6b1e4d72<|></flv>"},
    };
    for (const Case& c : cases) {
        fakehttp::Reset();
        EXPECT_EQ(RunReply(c.reply), c.result) << c.what;
    }
}

TEST_F(YoukuTest, FailedPlayListRequestGivesTheEmptyTitleBlock)
{
    EXPECT_EQ(Run("(\"VideoIDS\",\"X\")"), "<title></title>");
    EXPECT_EQ(fakehttp::Requests().size(), 1u);
}

TEST_F(YoukuTest, PlayerAddressResolvesThroughTheDispatcher)
{
    FixedCalendarTime clock(0);
    const std::string url = "http://player.youku.com/player.php/sid/XAB/v.swf";
    fakehttp::ServePage(url, "", "HTTP/1.1 302 Found",
                        "Location: http://static.youku.com/v1/qplayer.swf?VideoIDS=XAB&winType=interior&\r\n");
    fakehttp::ServePage(kPlayList + "XAB/version/5/source/video/password/?ran=38&n=3",
                        Reply("7", Encipher("02abcd02zzzz", 7), "T", "0", "k"));
    std::vector<char> page(65536), headers(10240), work(65536);
    std::string pageUrl = url, result;
    ResolveVideoPage(pageUrl, page.data(), 65536, headers.data(), 10240, work.data(), 65536, result);
    EXPECT_EQ(result, "<title>T</title><flv>" + kFile + "02abcd0200zz&K=k6b1e4d72<&>" + kFile +
                          "02abcd0201zz&K=k6b1e4d72<&></flv>");
    // The player address is only probed.
    EXPECT_EQ(fakehttp::RequestsFor(url).size(), 1u);
}

TEST_F(YoukuTest, MillionCharacterIdentifierIn255SegmentsStopsAtTheWorkBuffer)
{
    // The deciphered identifier has a million characters, kind 02 and count ff: every
    // segment would repeat it. The library's 2 MiB buffers; the reply just fits them.
    const uint32_t kBuffer = 2097152;
    const std::string id = "02abcdff" + std::string(1000000 - 8, 'F');
    const std::string reply = Reply("0", Encipher(id, 0), "T", "0", "k");
    ASSERT_LT(reply.size(), kBuffer);
    const std::string api = kPlayList + "X/version/5/source/out/password/?ran=1&n=3";
    fakehttp::ServePage(api, reply);
    std::vector<char> page(kBuffer), headers(10240), work(kBuffer);
    std::string result;
    ExtractYouku(page.data(), kBuffer, headers.data(), 10240, work.data(), kBuffer, result, api, true);
    // Three segments pass the work buffer, not 255.
    const size_t item = kFile.size() + id.size() + std::string("&K=k6b1e4d72<&>").size();
    EXPECT_EQ(result.size(), std::string("<title>T</title><flv>").size() + 3 * item + 6);
    EXPECT_EQ(result.compare(result.size() - item - 6, item, kFile + "02abcdff02" + id.substr(10) + "&K=k6b1e4d72<&>"),
              0);
    // No segment fits an output: the list comes out empty, as it did from the whole text.
    EXPECT_EQ(FitResultText(result, FLV_LIST_A_SIZE), "<title>T</title><flv></flv>");
}
