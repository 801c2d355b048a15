#pragma once
// What each road of the main job must hand the stand-in player, and what the update must
// leave: written from the fixture pages (the site routes of bench/perf/site_routes.txt and
// routes.json) and the resolver's and the link handling's rules for them. One reader: the job.
#include <cstdint>
#include <string>
#include <vector>

#include "net/page_records.h"
#include "net/updater_support.h"

// Two parts of two addresses are drawn from the calendar second in which the agent resolved
// the page; these marks stand for them in a due address.
// "?start=0&key1=..&key4=..": the Site6 key query of a second that the agent's run spanned.
const std::wstring kSite6KeysMark = L"{site6 keys}";
// "vNN.<video host>": the server that the fixture web recorded for the page's info request.
const std::wstring kBaiduServerMark = L"{baidu server}";

struct DuePage {
    const char* road;  // "menu" or "pelorama"
    const char* site;
    const char* page;  // the page address the road picks
    std::vector<ExpectedRecord> records;
    std::vector<std::wstring> boxes;  // every box the pick shows, in order
};

// The agent's site codes (its table; 255 outside it), pelorama's 1 for a host outside the
// same table; a play link's first record is LINK_PLAY, the others LINK_ADD.
const std::vector<DuePage> kDuePages = {
    // The context menu: the first page of each site of the agent's table, then Yahoo.
    {"menu", "Site6", "http://www.6.cn/watch/42.html",
     {{kLinkPlay, L"http://www.6.cn/live.flv" + kSite6KeysMark, L"page clip", 0}}, {}},
    {"menu", "Ku6", "http://www.ku6.com/show/abc.html", kAgentKu6Records, {}},
    // The probe of "/a.flv" fails: the first live alternative.
    {"menu", "Tudou", "http://www.tudou.com/programs/view/abc/",
     {{kLinkPlay, L"http://f.tudou.com/b.flv", L"土豆 clip", 2}}, {}},
    {"menu", "Youku", "http://www.youku.com/v_show/id_XMTIz.html",
     {{kLinkPlay, L"http://f.youku.com/player/getFlvPath/fileid/0300000200AB&K=k26b1e4d72", L"优酷 clip", 3},
      {kLinkAdd, L"http://f.youku.com/player/getFlvPath/fileid/0300000201AB&K=k26b1e4d72", L"优酷 clip", 3}},
     {}},
    {"menu", "Site56", "http://www.56.com/u11/v_third.html",
     {{kLinkPlay, L"http://f2.56.com/f1_K3.h3/flvdownload/p3/s3/u3@56.com_56flv_id3.flv", L"third clip", 4}}, {}},
    {"menu", "YouTube", "http://www.youtube.com/watch?v=abc_12",
     {{kLinkPlay, L"http://www.youtube.com/get_video?video_id=abc_12&t=tok-9", L"YouTube clip", 5}}, {}},
    {"menu", "CCTV", "http://www.cctv.com/video/1.html",
     {{kLinkPlay, L"http://v.cctv.com/flv/1.flv", L"央视 clip", 6}}, {}},
    {"menu", "Sina", "http://www.sina.com.cn/v/b/12345-1.html", kAgentSinaRecords, {}},
    {"menu", "Mofile", "http://www.mofile.com/show/AB12.html",
     {{kLinkPlay, L"http://dl.mofile.com/f?p=10wKw9330wuQ8kwAQK3491hnuj93304931&down=cn1", L"魔否 clip", 8}}, {}},
    {"menu", "Metacafe", "http://www.metacafe.com/watch/1/",
     {{kLinkPlay, L"http://v.mc.com/it/1.flv?__gda__=k_9", L"AC/DC live", 9}}, {}},
    {"menu", "Break", "http://www.break.com/index/clip.html",
     {{kLinkPlay,
       L"http://video1.break.com/dnet/media/2008/12/clip.flv?rs=80&ri=5000&h=f82a6bf23df48ac8a2b93757b9ebcd15&ext=.flv",
       L"Break clip", 10}},
     {}},
    // The Sina player on the page: its two segments.
    {"menu", "Yepig", "http://www.yepig.com/v/1.html",
     {{kLinkPlay, L"http://f.sina.com.cn/y1.flv", L"小猪 clip", 11},
      {kLinkAdd, L"http://f.sina.com.cn/y2.flv", L"小猪 clip", 11}},
     {}},
    // The agent takes the page up to its first "&": "videoID=user_42" is the last
    // parameter, which gives no stream.
    {"menu", "Bokecc", "http://www.bokecc.com/play?videoID=user_42&x=1", {}, {L"URL链接已失效"}},
    // The job's own player address (routes.json): the reply's host and stream name.
    {"menu", "Pomoho", "http://www.pomoho.com/player.swf?flvid=777",
     {{kLinkPlay, L"http://v1.pomoho.com/pomoho_video/abc777.flv", L"pomoho clip", 13}}, {}},
    {"menu", "Baidu", "http://video.baidu.com/watch/1.html",
     {{kLinkPlay,
       L"http://" + kBaiduServerMark +
           L"/video/abcdefghijklmnopqrstuvwxyz01.flv?xcode=2b5a67fbf1b7c585caee9163c11c30945128e739_k2",
       L"百度 clip", 14}},
     {}},
    {"menu", "Yahoo", "http://www.yahoo.com/watch/1", {}, {L"暂不支持此网址"}},

    // pelorama's portal: two sites outside the table.
    {"pelorama", "5show", "http://www.5show.com/show/1.html",
     {{kLinkPlay, L"http://f1.5show.com/h72bd05kwn416tq3m/2008/12/03/A_B_20081203xyz.flv", L"秀 clip", 1}}, {}},
    {"pelorama", "Yahoo", "http://www.yahoo.com/watch/1",
     {{kLinkPlay, L"http://a.yahoo.com/v/1.flv?x=1&y=2", L"Tom & Jerry", 1}}, {}},
};

// Every record the player receives: 1540 bytes, wParam 0.
constexpr uint32_t kDueRecordBytes = 1540;
constexpr uint64_t kDueRecordWParam = 0;

// The update: three newer components (what the updater shows and leaves of them is shared
// with its own tests), and the programs it closes and starts again from its folder.
struct DueUpdate {
    const ThreeComponentUpdate& update;
    int playerCloses;    // the player closed once
    size_t playerStarts;  // the job's own start and the updater's
    int playerShowCode;  // SW_SHOW
    bool peloramaAgain;  // closed, and its window up again in another process
};
const DueUpdate kDueUpdate = {UpdateOfThreeComponents(), 1, 2, 5, true};
