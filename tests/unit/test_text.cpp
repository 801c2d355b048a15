// Marker search, address splitting and the small text conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "text.h"

TEST(ExtractBetween, MarkersAndPosition)
{
    const char* text = "a[one]b[two]c";
    char buf[32];
    const char* after = nullptr;
    ASSERT_EQ(ExtractBetweenA(text, "[", "]", &after, buf, sizeof buf), buf);
    EXPECT_STREQ(buf, "one");
    EXPECT_STREQ(after, "b[two]c");
    // Walking on from the stored position gives the next item.
    ASSERT_TRUE(ExtractBetweenA(after, "[", "]", &after, buf, sizeof buf));
    EXPECT_STREQ(buf, "two");
    EXPECT_STREQ(after, "c");
    // Start marker only: the rest of the text; no markers: the whole text.
    ASSERT_TRUE(ExtractBetweenA(text, "]b", nullptr, nullptr, buf, sizeof buf));
    EXPECT_STREQ(buf, "[two]c");
    ASSERT_TRUE(ExtractBetweenA(text, nullptr, "[", nullptr, buf, sizeof buf));
    EXPECT_STREQ(buf, "a");
    ASSERT_TRUE(ExtractBetweenA(text, nullptr, nullptr, nullptr, buf, sizeof buf));
    EXPECT_STREQ(buf, text);
}

TEST(ExtractBetween, MissingMarkersTouchNothing)
{
    char buf[16] = "kept";
    const char* after = "unchanged";
    EXPECT_EQ(ExtractBetweenA("abc", "x", nullptr, &after, buf, sizeof buf), nullptr);
    EXPECT_EQ(ExtractBetweenA("a[bc", "[", "]", &after, buf, sizeof buf), nullptr);
    EXPECT_EQ(ExtractBetweenA(nullptr, "[", "]", &after, buf, sizeof buf), nullptr);
    EXPECT_STREQ(buf, "kept");
    EXPECT_STREQ(after, "unchanged");
}

TEST(ExtractBetween, CutToBufferPositionStillAfterEnd)
{
    char buf[4];
    const char* after = nullptr;
    ASSERT_TRUE(ExtractBetweenA("<v>0123456789</v>rest", "<v>", "</v>", &after, buf, sizeof buf));
    EXPECT_STREQ(buf, "012");
    EXPECT_STREQ(after, "rest");
    char one[1] = {'x'};
    ASSERT_TRUE(ExtractBetweenA("<v>abc</v>", "<v>", "</v>", nullptr, one, sizeof one));
    EXPECT_EQ(one[0], '\0');
}

TEST(ExtractBetween, EndMarkerBeforeStartIsIgnored)
{
    char buf[16];
    ASSERT_TRUE(ExtractBetweenA("x\"y start=\"val\" z", "start=\"", "\"", nullptr, buf, sizeof buf));
    EXPECT_STREQ(buf, "val");
}

TEST(ExtractBetween, StringForm)
{
    std::string out = "old";
    EXPECT_EQ(ExtractBetweenString("id=42&x", "id=", "&", nullptr, out), "42");
    EXPECT_EQ(ExtractBetweenString(std::string("no marker"), "id=", "&", nullptr, out), "");
    std::string big = "<" + std::string(20000, 'q') + ">";
    EXPECT_EQ(ExtractBetweenString(big, "<", ">", nullptr, out).size(), 10239u);
}

TEST(ExtractBetween, FindMarkerAsAPlainSearch)
{
    const char* texts[] = {"", "a", "aab", "ab", "xxabab", "<flv>a<|>b<|>", "durldurl/durl", "aaaaab"};
    const char* markers[] = {"a", "ab", "aab", "<|>", "/durl", "b", "aaaab", "zz"};
    for (const char* t : texts) {
        for (const char* m : markers)
            EXPECT_EQ(FindMarker(t, m), std::strstr(t, m)) << t << " / " << m;
    }
    EXPECT_EQ(FindMarker("abc", ""), std::strstr("abc", ""));
}

TEST(UrlSplit, HostAndPath)
{
    struct Case {
        const char* url;
        const char* host;
        const char* path;
    } cases[] = {
        {"http://www.example.com/a/b?c=d#e", "www.example.com", "/a/b?c=d#e"},
        {"http://www.example.com", "www.example.com", ""},
        {"http://user@host:8080/x", "user@host:8080", "/x"},
        {" http://www.example.com/a", "", "/www.example.com/a"},
        {"https://www.example.com/a", "", ""},
        {"www.example.com/a", "", ""},
        {"", "", ""},
        {"http://", "", ""},
    };
    for (const Case& c : cases) {
        char host[512], path[1024];
        std::memset(host, 'x', sizeof host);
        std::memset(path, 'x', sizeof path);
        GetUrlHostA(c.url, host, sizeof host);
        GetUrlPath(c.url, path, sizeof path);
        EXPECT_STREQ(host, c.host) << c.url;
        EXPECT_STREQ(path, c.path) << c.url;
    }
}

TEST(UrlSplit, TooLongForTheBufferGivesEmpty)
{
    // 511 characters fit a 512-byte host buffer, 512 do not; the same for the path.
    std::string h511(511, 'h'), h512(512, 'h');
    char host[512];
    GetUrlHostA(("http://" + h511 + "/p").c_str(), host, sizeof host);
    EXPECT_EQ(std::string(host), h511);
    GetUrlHostA(("http://" + h512 + "/p").c_str(), host, sizeof host);
    EXPECT_STREQ(host, "");
    char path[16];
    GetUrlPath("http://h/123456789abcde", path, sizeof path);
    EXPECT_STREQ(path, "/123456789abcde");
    GetUrlPath("http://h/123456789abcdef", path, sizeof path);
    EXPECT_STREQ(path, "");
}

TEST(StripChars, RemovesEverySetCharacter)
{
    char t[] = "\"12, 34\",\"x\"";
    StripChars(t, ", \"");
    EXPECT_STREQ(t, "1234x");
    char e[] = "";
    StripChars(e, "a");
    EXPECT_STREQ(e, "");
}

TEST(ParseHex, Values)
{
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"7fffffff", 2147483647}, {"ffffffff", -1}, {"FFFFFFFF", -1}, {"123456789", 0},
        {"4e2d", 0x4e2d},         {"0", 0},         {"", 0},          {"12g4", 0},
        {"aBc", 0xabc},           {" 1", 0},        {"-1", 0},        {"00000010", 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHex(c.text), c.value) << c.text;
}

TEST(ReplaceAll, RescansFromTheStart)
{
    std::string s = "amamp;p;";
    ReplaceAll(s, "amp;", "");
    EXPECT_EQ(s, "");
    std::string list = "a,b,,c";
    ReplaceAll(list, ",", "<|>");
    EXPECT_EQ(list, "a<|>b<|><|>c");
    std::string slashes = "http:\\/\\/x\\/y";
    ReplaceAll(slashes, "\\/", "/");
    EXPECT_EQ(slashes, "http://x/y");
    std::string same = "unchanged";
    ReplaceAll(same, "", "x");
    EXPECT_EQ(same, "unchanged");
}

namespace {

// The search from the start after every replacement; only for pairs where it ends.
std::string ReplaceFromTheStart(std::string s, const std::string& pattern, const std::string& replacement)
{
    for (size_t pos = s.find(pattern); pos != std::string::npos; pos = s.find(pattern))
        s.replace(pos, pattern.size(), replacement);
    return s;
}

// Every text over the letters a and b of at most maxLen characters.
std::vector<std::string> Texts(size_t maxLen)
{
    std::vector<std::string> all{""};
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].size() < maxLen) {
            all.push_back(all[i] + "a");
            all.push_back(all[i] + "b");
        }
    }
    return all;
}

// A text, a pair and what the text becomes.
struct ReplaceCase {
    const char* text;
    const char* pattern;
    const char* replacement;
    const char* result;
};

}  // namespace

TEST(ReplaceAll, SameResultAsSearchingFromTheStart)
{
    // Every pair whose replacement is shorter than its pattern, and every one-letter
    // pattern, over every short text: the occurrences formed with neighbours go too.
    const std::vector<std::string> texts = Texts(8);
    size_t pairs = 0;
    for (const std::string& pattern : Texts(3)) {
        for (const std::string& replacement : Texts(3)) {
            if (pattern.empty() || replacement.find(pattern) != std::string::npos ||
                (replacement.size() >= pattern.size() && pattern.size() > 1))
                continue;
            ++pairs;
            for (const std::string& t : texts) {
                std::string s = t;
                ReplaceAll(s, pattern, replacement);
                ASSERT_EQ(s, ReplaceFromTheStart(t, pattern, replacement))
                    << t << " / " << pattern << " -> " << replacement;
            }
        }
    }
    EXPECT_EQ(pairs, 2u * 4 + 4u * 3 + 8u * 7);
}

TEST(ReplaceAll, AlwaysEnds)
{
    const ReplaceCase cases[] = {
        // The replacement holds the pattern: the inserted text is not searched again.
        {"a", "a", "aa", "aa"},
        {"aXa", "a", "aa", "aaXaa"},
        {"x,y,", ",", ",,", "x,,y,,"},
        {"aab", "ab", "xab", "axab"},
        {"abb", "ab", "aab", "aabb"},
    };
    for (const ReplaceCase& c : cases) {
        std::string s = c.text;
        ReplaceAll(s, c.pattern, c.replacement);
        EXPECT_EQ(s, c.result) << c.text << " / " << c.pattern << " -> " << c.replacement;
    }
}

TEST(ReplaceAll, LongerReplacementOfATwoCharacterPatternIsRefusedInADebugBuild)
{
    // Replacing again and again may never end for such a pair ("aab", "ab" by "bbaa"
    // does not), so no caller may pass one. A release build ends: neighbours still
    // count, inserted text alone does not, which is where it parts from the search
    // from the start ("bbaa", "ba" by "ab" would give "aabb").
    const ReplaceCase cases[] = {
        {"aab", "ab", "bb", "bbb"},
        {"aab", "ab", "bbaa", "bbaabaa"},
        {"bbaa", "ba", "ab", "abab"},
        {"no occurrence", "ab", "xyz", "no occurrence"},
    };
    for (const ReplaceCase& c : cases) {
        std::string s = c.text;
        EXPECT_DEBUG_DEATH(ReplaceAll(s, c.pattern, c.replacement), "never end")
            << c.text << " / " << c.pattern << " -> " << c.replacement;
#ifdef NDEBUG
        EXPECT_EQ(s, c.result) << c.text << " / " << c.pattern << " -> " << c.replacement;
#endif
    }
}

TEST(ReplaceAll, LongLists)
{
    // A list field of nothing but commas, as a hostile interface reply gives it.
    std::string commas(640000, ',');
    ReplaceAll(commas, ",", "<|>");
    ASSERT_EQ(commas.size(), 3u * 640000);
    EXPECT_EQ(commas.find_first_not_of("<|>"), std::string::npos);
    EXPECT_EQ(commas.compare(0, 6, "<|><|>"), 0);
    // Nested escapes all the way down.
    std::string nested = std::string(1000, 'a') + std::string(1000, 'b');
    std::string amp;
    for (int i = 0; i < 1000; ++i)
        amp = "am" + amp + "p;";
    ReplaceAll(amp, "amp;", "");
    EXPECT_EQ(amp, "");
    ReplaceAll(nested, "ab", "");
    EXPECT_EQ(nested, "");
}

TEST(IntAndCase, Conversions)
{
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToString(2147483647), "2147483647");
    EXPECT_EQ(ToLowerString("HTTP://WWW.Ex-AMPLE.com/Z"), "http://www.ex-ample.com/z");
    // Every byte A..Z is lowered, also the second byte of a double-byte character.
    EXPECT_EQ(ToLowerString("\xb0\x41\xc0Z"), "\xb0\x61\xc0z");
    EXPECT_EQ(ToLowerString(std::string("AB\0CD", 5)), "ab");
}

TEST(GetPageTitle, Sources)
{
    EXPECT_EQ(GetPageTitle("<html><title>Plain</title>"), "<title>Plain</title>");
    EXPECT_EQ(GetPageTitle("document.title = \"Scripted\"; <title>Element</title>"),
              "<title>Scripted</title>");
    // From a variable: the next quoted text after it, whatever it is.
    EXPECT_EQ(GetPageTitle("document.title = name; var s = \"other\";"), "<title>other</title>");
    // An empty quoted text falls back to the element.
    EXPECT_EQ(GetPageTitle("document.title=\"\"<title>E</title>"), "<title>E</title>");
    EXPECT_EQ(GetPageTitle("<TITLE>caps</TITLE>"), "<title></title>");
    EXPECT_EQ(GetPageTitle(""), "<title></title>");
    std::string long_title = "<title>" + std::string(3000, 't') + "</title>";
    EXPECT_EQ(GetPageTitle(long_title.c_str()), "<title>" + std::string(1023, 't') + "</title>");
}

TEST(UnescapeUnicode, AsciiAndShortEscapes)
{
    EXPECT_EQ(UnescapeUnicode("a\\u0041b"), "aAb");
    EXPECT_EQ(UnescapeUnicode("x\\u0000y\\uzzzzz"), "xyz");  // 0 and bad digits add nothing
    EXPECT_EQ(UnescapeUnicode("no escapes \\n"), "no escapes \\n");
    // An escape near the end uses the digits that are there and stops at the end.
    EXPECT_EQ(UnescapeUnicode("end\\u41"), "endA");
    EXPECT_EQ(UnescapeUnicode("end\\u"), "end");
    EXPECT_EQ(UnescapeUnicode("\\"), "\\");
}
