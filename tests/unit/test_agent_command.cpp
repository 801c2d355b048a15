// The agent's command line as the control builds it.
#include <gtest/gtest.h>

#include <string>

#include "agent_command.h"

TEST(AgentCommand, RoomLeftBehindTheQuotedPath)
{
    EXPECT_EQ(ArgumentsRoom(u"C:\\q.exe"), kCommandLineLimit - 8 - 3);
    EXPECT_EQ(ArgumentsRoom(std::u16string(kCommandLineLimit - 3, u'x')), 0u);
    EXPECT_EQ(ArgumentsRoom(std::u16string(kCommandLineLimit, u'x')), 0u);
}

TEST(AgentCommand, ValuesFollowTheirSwitchesAsTheyStand)
{
    struct Case {
        const char16_t *url, *location, *info, *expected;
    } cases[] = {
        {u"http://v.ku6.com/show/a.html", u"http://www.ku6.com/", u"clip one",
         u" /url http://v.ku6.com/show/a.html /location http://www.ku6.com/ /info clip one"},
        {u"", u"", u"", u" /url  /location  /info "},
        {u"a b", u"\"q\"", u"中文\U0001F3AC", u" /url a b /location \"q\" /info 中文\U0001F3AC"},
    };
    for (const Case& c : cases) {
        std::u16string line;
        ASSERT_TRUE(BuildVudavCommandLine(c.url, c.location, c.info, 1000, &line));
        EXPECT_EQ(line, c.expected);
    }
}

TEST(AgentCommand, LongValuesShortenInfoThenLocation)
{
    const std::u16string switches = u" /url  /location  /info ";
    const std::u16string url = u"http://v/a";
    struct Case {
        size_t room;
        const char16_t *location, *info, *expected;
    } cases[] = {
        // Exactly full: nothing cut.
        {switches.size() + 10 + 3 + 4, u"loc", u"info", u" /url http://v/a /location loc /info info"},
        {switches.size() + 10 + 3 + 2, u"loc", u"info", u" /url http://v/a /location loc /info in"},
        {switches.size() + 10 + 3, u"loc", u"info", u" /url http://v/a /location loc /info "},
        {switches.size() + 10 + 1, u"loc", u"info", u" /url http://v/a /location l /info "},
        {switches.size() + 10, u"loc", u"info", u" /url http://v/a /location  /info "},
        // A cut never leaves half of a surrogate pair.
        {switches.size() + 10 + 3 + 2, u"loc", u"a\U0001F3AC", u" /url http://v/a /location loc /info a"},
        {switches.size() + 10 + 1, u"\U0001F3ACb", u"", u" /url http://v/a /location  /info "},
    };
    for (const Case& c : cases) {
        std::u16string line;
        ASSERT_TRUE(BuildVudavCommandLine(url, c.location, c.info, c.room, &line)) << c.room;
        EXPECT_EQ(line, c.expected) << c.room;
        EXPECT_LE(line.size(), c.room);
    }
}

TEST(AgentCommand, NothingWhenTheAddressAloneDoesNotFit)
{
    std::u16string line = u"left over";
    const size_t fixed = std::u16string(u" /url  /location  /info ").size();
    EXPECT_FALSE(BuildVudavCommandLine(u"http://v/a", u"", u"", fixed + 9, &line));
    EXPECT_TRUE(line.empty());
    // At the real limit: an address that fills the line by itself still goes, one more unit does not.
    size_t room = ArgumentsRoom(u"C:\\QEL\\qelagent.exe");
    std::u16string url(room - fixed, u'u');
    ASSERT_TRUE(BuildVudavCommandLine(url, u"page", u"text", room, &line));
    EXPECT_EQ(line, u" /url " + url + u" /location  /info ");
    url.push_back(u'u');
    EXPECT_FALSE(BuildVudavCommandLine(url, u"", u"", room, &line));
}
