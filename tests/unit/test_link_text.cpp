// The link module's text routines: ExtractBetweenW, GetUrlHostW and ClassifySite.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "link_text.h"

namespace {

std::u16string Str(const char16_t* s)
{
    return s ? std::u16string(s) : std::u16string(u"(null)");
}

}  // namespace

TEST(ExtractBetweenW, TableOfMarkers)
{
    struct Case {
        const char16_t* text;
        const char16_t* start;
        const char16_t* end;
        size_t capacity;
        const char16_t* result;  // null: not found
        const char16_t* next;    // rest after the end marker; null: next untouched
    } cases[] = {
        {u"a<&>b<&>", nullptr, u"<&>", 16, u"a", u"b<&>"},
        {u"x/src=http://p&name=n", u"/src=", u"&", 64, u"http://p", u"name=n"},
        {u"x/src=http://p", u"/src=", u"&", 64, nullptr, nullptr},  // no "&" after the start
        {u"x/src=http://p", u"/src=", nullptr, 64, u"http://p", nullptr},
        {u"&name=&rest", u"&name=", u"&", 64, u"", u"rest"},         // found, empty
        {u"abc", u"q", nullptr, 64, nullptr, nullptr},
        {u"abc", nullptr, nullptr, 64, u"abc", nullptr},
        {u"", nullptr, u"\r\n", 64, nullptr, nullptr},
        {u"line\r\n", nullptr, u"\r\n", 64, u"line", u""},
        {u"\u4e2d\u6587\r\nnext", nullptr, u"\r\n", 64, u"\u4e2d\u6587", u"next"},
        {u"0123456789<&>r", nullptr, u"<&>", 4, u"012", u"r"},  // cut to capacity - 1, next after the end
        {u"e]s[", u"[", u"]", 64, nullptr, nullptr},            // end only before the start
        {u"abc", u"", u"", 64, u"", u"abc"},                     // empty markers match at once
        {u"abc", nullptr, nullptr, 0, nullptr, nullptr},         // no room at all
    };
    for (const Case& c : cases) {
        char16_t buf[64] = u"kept";
        const char16_t* next = u"untouched";
        const char16_t* got = ExtractBetweenW(c.text, c.start, c.end, &next, buf, c.capacity);
        SCOPED_TRACE(std::string("case ") + std::to_string(&c - cases));
        if (!c.result) {
            EXPECT_EQ(got, nullptr);
            EXPECT_EQ(Str(buf), u"kept");
            EXPECT_EQ(Str(next), u"untouched");
            continue;
        }
        ASSERT_EQ(got, buf);
        EXPECT_EQ(Str(buf), c.result);
        EXPECT_EQ(Str(next), c.next ? c.next : u"untouched");
    }
    char16_t buf[4] = u"k";
    EXPECT_EQ(ExtractBetweenW(nullptr, nullptr, nullptr, nullptr, buf, 4), nullptr);
    EXPECT_EQ(ExtractBetweenW(u"abc", nullptr, nullptr, nullptr, buf, 1), buf);
    EXPECT_EQ(buf[0], 0);
}

TEST(ExtractBetweenW, WalksAListWithItsNextPosition)
{
    const char16_t* pos = u"a<&>bb<&>ccc";
    char16_t item[8];
    std::u16string seen;
    while (ExtractBetweenW(pos, nullptr, u"<&>", &pos, item, 8))
        seen += std::u16string(item) + u"|";
    EXPECT_EQ(seen, u"a|bb|");
    EXPECT_EQ(Str(pos), u"ccc");
}

TEST(GetUrlHostW, TableOfTexts)
{
    struct Case {
        const char16_t* text;
        const char16_t* host;
    } cases[] = {
        {u"zflv://play/src=http://www.ku6.com/show/a.html&name=x", u"www.ku6.com"},
        {u"zflv://play/flv=http://f.sina.com.cn/1.flv<&>http://www.ku6.com/2.flv<&>", u"f.sina.com.cn"},
        {u"http://user@host:8080/x", u"user@host:8080"},
        {u"zflv://play/src=http://www.ku6.com", u""},  // no "/" after the host
        {u"zflv://play/src=https://www.ku6.com/a", u"0"},
        {u"zflv://play/src=HTTP://www.ku6.com/a", u"0"},
        {u"", u"0"},
        {u"http:///path", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetUrlHostW(c.text), c.host) << "case " << (&c - cases);
}

TEST(ClassifySite, TableOfHosts)
{
    struct Case {
        std::string host;
        int32_t pelorama, agent;
    } cases[] = {
        {std::string("www.") + cfg::Site6Key, 0, 0},
        {std::string("v.") + cfg::Ku6SecondKey, 0, 0},  // Ku6's second domain holds the Site6 key
        {std::string("www.") + cfg::Ku6Key, 1, 1},
        {std::string("WWW.KU6.COM"), 1, 1},                 // capitals read as lower case
        {cfg::TudouHdKey, 14, 14},                          // HD pages before Tudou's own key
        {std::string("www.") + cfg::TudouKey, 2, 2},
        {std::string("v.") + cfg::YoukuKey, 3, 3},
        {std::string("www.") + cfg::Site56Key, 4, 4},
        {std::string("www.") + cfg::YouTubeKey, 5, 5},
        {std::string("Space.") + cfg::CctvKey, 6, 6},
        {std::string("video.") + cfg::SinaKey, 7, 7},
        {std::string("tv.") + cfg::MofileKey, 8, 8},
        {std::string("www.") + cfg::MetacafeKey, 9, 9},
        {std::string("www.") + cfg::BreakKey, 10, 10},
        {std::string("www.") + cfg::YepigKey1, 11, 11},
        {std::string("www.") + cfg::YepigKey2, 11, 11},
        {std::string("www.") + cfg::BokeccKey, 12, 12},
        {std::string("www.") + cfg::PomohoKey, 13, 13},
        {std::string("video.") + cfg::BaiduKey, 14, 14},
        {std::string("www.") + cfg::FiveShowKey, 1, 255},  // resolved, but not in the site table
        {"www.example.org", 1, 255},
        {"0", 1, 255},                                     // no "http://"
        {"", 1, 255},                                      // no "/" after the host
    };
    for (const Case& c : cases) {
        std::u16string host(c.host.begin(), c.host.end());
        std::u16string before = host;
        EXPECT_EQ(ClassifySite(host, 1), c.pelorama) << c.host;
        EXPECT_EQ(ClassifySite(host, 255), c.agent) << c.host;
        EXPECT_EQ(host, before);
    }
}
