// The configured site keys overlap where the dispatch and the site table rely on it,
// and nowhere else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/hosts.h"
#include "dispatch.h"

namespace {

bool Contains(const std::string& s, const char* key)
{
    return s.find(key) != std::string::npos;
}

bool IsLowerDomain(const std::string& s)
{
    if (s.empty() || s.find('.') == std::string::npos)
        return false;
    for (char c : s) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-'))
            return false;
    }
    return true;
}

// The dispatcher's own keys, in its order.
std::vector<const char*> DispatcherKeys()
{
    std::vector<const char*> keys;
    for (int row = 0; row < DispatchRowCount(); ++row)
        keys.push_back(DispatchKey(row));
    return keys;
}

const std::vector<const char*> kDispatch = DispatcherKeys();

// Site table keys in their order.
const std::vector<const char*> kSiteTable = {
    cfg::Site6Key,    cfg::Ku6Key,      cfg::TudouHdKey,  cfg::TudouKey,  cfg::YoukuKey,
    cfg::Site56Key,   cfg::YouTubeKey,  cfg::CctvKey,     cfg::SinaKey,   cfg::MofileKey,
    cfg::MetacafeKey, cfg::BreakKey,    cfg::YepigKey1,   cfg::YepigKey2, cfg::BokeccKey,
    cfg::PomohoKey,   cfg::BaiduKey,
};

size_t FirstMatch(const std::vector<const char*>& table, const std::string& host)
{
    for (size_t i = 0; i < table.size(); ++i) {
        if (Contains(host, table[i]))
            return i;
    }
    return table.size();
}

}  // namespace

TEST(Config, DispatchTableHoldsEverySiteInItsOrder)
{
    const std::vector<std::string> order = {"Site6", "Ku6",   "Tudou", "Youku",    "Site56", "YouTube", "CCTV",
                                            "Sina",  "5show", "Mofile", "AOL",     "Yahoo",  "Metacafe", "Break",
                                            "Yepig", "Yepig", "Bokecc", "Pomoho", "Baidu"};
    ASSERT_EQ(DispatchRowCount(), static_cast<int>(order.size()));
    for (int row = 0; row < DispatchRowCount(); ++row)
        EXPECT_EQ(DispatchSite(row), order[row]) << row;
    EXPECT_STREQ(DispatchKey(0), cfg::Site6Key);
    EXPECT_STREQ(DispatchKey(1), cfg::Ku6Key);
    EXPECT_STREQ(DispatchKey(14), cfg::YepigKey1);
    EXPECT_STREQ(DispatchKey(15), cfg::YepigKey2);
}

TEST(Config, RequiredOverlaps)
{
    EXPECT_TRUE(Contains(cfg::Ku6SecondKey, cfg::Site6Key));
    EXPECT_FALSE(Contains(cfg::Ku6SecondKey, cfg::Ku6Key));
    EXPECT_TRUE(Contains(cfg::TudouHdKey, cfg::TudouKey));
    EXPECT_STREQ(cfg::Site6InterfaceHost, cfg::Site6Key);
    EXPECT_STREQ(cfg::FiveShowDomain, cfg::FiveShowKey);
    EXPECT_STRNE(cfg::YepigKey1, cfg::YepigKey2);
}

TEST(Config, KeysAreLowerCaseDomains)
{
    for (const char* k : kDispatch)
        EXPECT_TRUE(IsLowerDomain(k)) << k;
    EXPECT_TRUE(IsLowerDomain(cfg::Ku6SecondKey));
    EXPECT_TRUE(IsLowerDomain(cfg::TudouHdKey));
    for (const char* h : {cfg::ServiceHost, cfg::PortalHost, cfg::ForumHost})
        EXPECT_TRUE(IsLowerDomain(h)) << h;
}

TEST(Config, EachSitesPagesReachItsOwnRow)
{
    // A page host of each site dispatches to its own row; only Ku6's other domain
    // goes to the Site6 row, as intended.
    for (size_t i = 0; i < kDispatch.size(); ++i) {
        std::string host = std::string("www.") + kDispatch[i];
        EXPECT_EQ(FirstMatch(kDispatch, host), i) << host;
        EXPECT_EQ(DispatchRow("http://" + host + "/v/1.html"), static_cast<int>(i)) << host;
    }
    EXPECT_EQ(FirstMatch(kDispatch, std::string("v.") + cfg::Ku6SecondKey), 0u);
    EXPECT_EQ(DispatchRow(std::string("http://v.") + cfg::Ku6SecondKey + "/p.swf"), 0);
    for (size_t i = 0; i < kSiteTable.size(); ++i) {
        std::string host = std::string("www.") + kSiteTable[i];
        EXPECT_EQ(FirstMatch(kSiteTable, host), i) << host;
    }
    EXPECT_EQ(FirstMatch(kSiteTable, std::string("v.") + cfg::Ku6SecondKey), 0u);
    // The operator's servers are no site.
    for (const char* h : {cfg::ServiceHost, cfg::PortalHost, cfg::ForumHost}) {
        EXPECT_EQ(FirstMatch(kDispatch, h), kDispatch.size()) << h;
        EXPECT_EQ(FirstMatch(kSiteTable, h), kSiteTable.size()) << h;
    }
}
