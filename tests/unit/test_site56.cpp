// Site56 page address rebuilt from a player redirect, and its Base64 form.
#include <gtest/gtest.h>

#include <string>

#include "config/hosts.h"
#include "site56.h"

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
