// Site6's file keys from a fixed clock, and the interface address of a player address.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "config/hosts.h"
#include "extractors.h"
#include "rand_clock.h"
#include "site6.h"

TEST(MakeFileKeys, FromTheFixedClock)
{
    const int32_t kMin = std::numeric_limits<int32_t>::min();
    struct Case {
        const char* what;
        int64_t t;
        int32_t key1, key2, key3, key4;
    } cases[] = {
        // The third draw mod 100 is 4: key1 mixes two thirds of t with key3, key2 one third with key4.
        {"draw of 50 or less", 1234567890, 212989528, 1522887845, 1035950804, 1111636707},
        {"draw of exactly 50", 1200000426, 1821012944, 1678673420, 1126529740, 1943601794},
        {"draw of exactly 51", 1200000084, 1456133609, 1185174742, 1092440565, 1762352366},
        {"draw of 51 or more", 1700000000, 1319534066, 2129937144, 1868617816, 1031342509},
        // Draws of 32767 and of 0 give the ends of the key range.
        {"draw of 32767", 1200019225, 1625426184, 1645849761, 2000000000, 1303811761},
        {"draw of 0", 1200017151, 2100565122, 339082922, 1793298135, 1000000000},
        // The XOR gives the most negative value, which keeps its sign.
        {"smallest int as key1", 6163545489LL, kMin, 139285291, 1961546678, 1916287728},
        {"smallest int as key2", 5104934692LL, 922758402, kMin, 1382885219, 1255806146},
        // The thirds are divided toward zero and narrowed to their low 32 bits.
        {"before 1970", -7, 1000457777, 1939481793, 1000457777, 1939481795},
        {"the largest count", std::numeric_limits<int64_t>::max(), 1862157095, 619107861, 1001068147, 1907589953},
        {"the smallest count", std::numeric_limits<int64_t>::min(), 1861822788, 485491648, 1001159703, 1235572374},
    };
    for (const Case& c : cases) {
        FixedCalendarTime fixed(c.t);
        int32_t k[4] = {0, 0, 0, 0};
        MakeFileKeys(k[0], k[1], k[2], k[3]);
        EXPECT_EQ(k[0], c.key1) << c.what;
        EXPECT_EQ(k[1], c.key2) << c.what;
        EXPECT_EQ(k[2], c.key3) << c.what;
        EXPECT_EQ(k[3], c.key4) << c.what;
        // Within one second the keys repeat: each call seeds the generator again.
        int32_t again[4] = {0, 0, 0, 0};
        MakeFileKeys(again[0], again[1], again[2], again[3]);
        EXPECT_EQ(std::vector<int32_t>(again, again + 4), std::vector<int32_t>(k, k + 4)) << c.what;
    }
}

TEST(MakeSite6ApiUrl, ThreeForms)
{
    const std::string prefix = std::string("http://") + cfg::Site6InterfaceHost + "/v72.php?";
    struct Case {
        const char* page;
        const char* query;
    } cases[] = {
        // p up to the next "&", k to the end of the address.
        {"http://6.cn/p/player.swf?p=ABC&k=DEF", "p=ABC&k=DEF"},
        {"http://6.cn/player.swf?p=ABC&k=DEF&x=1", "p=ABC&k=DEF&x=1"},
        {"http://6.cn/player.swf?p=ABC", "p=&k="},
        {"http://6.cn/player.swf?p=ABC&x=1", "p=ABC&k="},
        // The first "p=" and "k=" of the whole address count, in any parameter.
        {"http://6.cn/player.swf?skip=1&p=ABC&k=D", "p=1&k=D"},
        {"http://6.cn/player.swf?vid=V&p=ABC&k=D", "p=ABC&k=D"},
        // vid to the end; "vid" without "vid=" gives an empty value.
        {"http://6.cn/player.swf?vid=XYZ&a=1", "vid=XYZ&a=1"},
        {"http://6.cn/vid/player.swf", "vid="},
        {"http://6.cn/player.swf?VID=XYZ", ""},
        {"http://6.cn/player.swf", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeSite6ApiUrl(c.page), prefix + c.query) << c.page;
    // Each value is read into 511 characters.
    const std::string longVid(600, 'v');
    EXPECT_EQ(MakeSite6ApiUrl("http://6.cn/player.swf?vid=" + longVid), prefix + "vid=" + std::string(511, 'v'));
}
