#pragma once
// What the stand-in player must receive of a link: a record's data word, address, title and
// site code; and the records the agent sends for the fixture web's Ku6 and Sina pages
// (served alike by test_link_net.json and test_exports.json).
#include <cstdint>
#include <string>
#include <vector>

struct ExpectedRecord {
    uint64_t word;  // LINK_PLAY or LINK_ADD
    std::wstring address, title;
    int32_t site;
};

constexpr uint64_t kLinkPlay = 0xC179F3D9u, kLinkAdd = 0xC179F3DAu;

// The page's first live alternative: "/a.flv" fails its probe.
inline const std::vector<ExpectedRecord> kAgentKu6Records = {
    {kLinkPlay, L"http://f.ku6.com/b.flv", L"中文 clip", 1},
};
// The interface's three segments in order, the first to play.
inline const std::vector<ExpectedRecord> kAgentSinaRecords = {
    {kLinkPlay, L"http://f.sina.com.cn/1.flv", L"新浪 clip", 7},
    {kLinkAdd, L"http://f.sina.com.cn/2.flv", L"新浪 clip", 7},
    {kLinkAdd, L"http://f.sina.com.cn/3.flv", L"新浪 clip", 7},
};
