#pragma once
// The fixture pages the benchmarks resolve: the site tests' own pages, served from the
// routes files that site_routes.txt names.
// One page a site, two for the sites whose pages take another road (a player address,
// a redirect, an interface override). AOL has no extractor: its row is the fixed cost.
struct Page {
    const char* site;
    const char* url;
};
inline const Page kPages[] = {
    {"Site6", "http://www.6.cn/watch/42.html"},
    {"Site6", "http://www.6.cn/p/player.swf?vid=abc"},
    {"Ku6", "http://www.ku6.com/show/abc.html"},
    {"Tudou", "http://www.tudou.com/programs/view/abc/"},
    {"Tudou", "http://www.tudou.com/v/abc/v.swf"},
    {"Youku", "http://www.youku.com/v_show/id_XMTIz.html"},
    {"Youku", "http://www.youku.com/player.php/sid/XMjQ1/v.swf"},
    {"Site56", "http://www.56.com/u11/v_third.html"},
    {"Site56", "http://www.56.com/n.swf"},
    {"YouTube", "http://www.youtube.com/watch?v=abc_12"},
    {"CCTV", "http://www.cctv.com/video/1.html"},
    {"Sina", "http://www.sina.com.cn/v/b/12345-1.html"},
    {"5show", "http://www.5show.com/show/1.html"},
    {"Mofile", "http://www.mofile.com/show/AB12.html"},
    {"AOL", "http://www.aol.com/video/1.html"},
    {"Yahoo", "http://www.yahoo.com/watch/1"},
    {"Metacafe", "http://www.metacafe.com/watch/1/"},
    {"Break", "http://www.break.com/index/clip.html"},
    {"Yepig", "http://www.yepig.com/v/1.html"},
    {"Bokecc", "http://www.bokecc.com/play?videoID=user_42&x=1"},
    {"Pomoho", "http://www.pomoho.com/player.swf?flvid=777&from=1"},
    {"Baidu", "http://video.baidu.com/watch/1.html"},
};
