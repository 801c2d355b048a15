// The link agent's command line, welcome page and window placement.
#include <gtest/gtest.h>

#include <string>

#include "agent_rules.h"
#include "config/hosts.h"

namespace {

std::string Narrow(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

TEST(AgentCommandLine, TakesTheUrlValueUpToTheNextBlank)
{
    struct Case {
        const char16_t* line;  // after the program path
        bool accepted;
        const char16_t* link;
    };
    const Case cases[] = {
        {u"", false, u""},
        {u"/location http://p/ /info T", false, u""},
        {u"/URL http://a/ x", false, u""},  // the switch is case-sensitive
        // as AddLink writes it
        {u"/url http://v.ku6.com/show/a.html /location http://p/x.html /info 片名",
         true, u"zflv://play/src=http://v.ku6.com/show/a.html"},
        // an empty address: the value ends at the blank right after the switch
        {u"/url  /location http://p/ /info T", true, u"zflv://play/src="},
        {u"/url http://v.ku6.com/show/a.html", true, u"zflv://play/src="},  // no blank after it
        {u"/urlX /location P", true, u"zflv://play/src="},                   // no "/url "
        {u"/url", true, u"zflv://play/src="},
        {u"/url http://a/b c.html /location P", true, u"zflv://play/src=http://a/b"},
        {u"/url http://a/s.html?x=1&y=2 /location P", true, u"zflv://play/src=http://a/s.html?x=1&y=2"},
        {u"/info x/url y /url http://a/ /location P", true, u"zflv://play/src=y"},  // the first "/url "
        {u"/url http://a/\t /info T", true, u"zflv://play/src=http://a/"},  // trimmed at the end
        {u"/url \u3000http://a/ ", true, u"zflv://play/src=\u3000http://a/"},  // inner space stays
    };
    for (const auto& c : cases) {
        std::u16string link = u"unchanged";
        EXPECT_EQ(VudavLinkFromCommandLine(c.line, link), c.accepted) << Narrow(c.line);
        EXPECT_EQ(link, c.accepted ? std::u16string(c.link) : u"unchanged") << Narrow(c.line);
    }
}

TEST(AgentCommandLine, ValueIsCutAtTheBufferCapacity)
{
    std::u16string value(50000, u'a');
    std::u16string link;
    ASSERT_TRUE(VudavLinkFromCommandLine(u"/url " + value + u" /location P", link));
    EXPECT_EQ(link, u"zflv://play/src=" + value.substr(0, 40959));
}

TEST(AgentWelcomePage, IsOnTheServiceHost)
{
    std::u16string host;
    for (const char* p = cfg::ServiceHost; *p; ++p)
        host += static_cast<char16_t>(*p);
    EXPECT_EQ(WelcomePageUrl(), u"http://" + host + u"/QEL_MESSAGE/welcome.html");
}

TEST(AgentWelcomePage, WindowIsCentredWithHalvesRoundedTowardZero)
{
    struct Case {
        int width, height, x, y;
    };
    const Case cases[] = {
        {1024, 768, 294, 226}, {1025, 769, 294, 226}, {436, 316, 0, 0}, {435, 315, 0, 0},
        {400, 300, -18, -8},   {1920, 1080, 742, 382},
    };
    for (const auto& c : cases) {
        WindowPlacement p = WelcomeWindowPlacement(c.width, c.height);
        EXPECT_EQ(p.x, c.x) << c.width;
        EXPECT_EQ(p.y, c.y) << c.height;
        EXPECT_EQ(p.width, 436);
        EXPECT_EQ(p.height, 316);
    }
}
