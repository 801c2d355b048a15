#pragma once
// Host names of the sites and of the operator's servers: the one place they are set.
// Site keys are lower-case domains; the dispatcher and the site table test them as
// substrings of a lower-cased host.

namespace cfg {

// Operator's servers (plain HTTP, port 80).
constexpr const char* ServiceHost = "service.qelplayer.net";
constexpr const char* PortalHost = "portal.qelplayer.net";
constexpr const char* ForumHost = "forum.qelplayer.net";

// Resolver dispatch keys, in dispatch order.
constexpr const char* Site6Key = "6.cn";
constexpr const char* Ku6Key = "ku6.com";
constexpr const char* TudouKey = "tudou.com";
constexpr const char* YoukuKey = "youku.com";
constexpr const char* Site56Key = "56.com";
constexpr const char* YouTubeKey = "youtube.com";
constexpr const char* CctvKey = "cctv.com";
constexpr const char* SinaKey = "sina.com.cn";
constexpr const char* FiveShowKey = "5show.com";
constexpr const char* MofileKey = "mofile.com";
constexpr const char* AolKey = "aol.com";
constexpr const char* YahooKey = "yahoo.com";
constexpr const char* MetacafeKey = "metacafe.com";
constexpr const char* BreakKey = "break.com";
constexpr const char* YepigKey1 = "yepig.com";
constexpr const char* YepigKey2 = "yepig.net";
constexpr const char* BokeccKey = "bokecc.com";
constexpr const char* PomohoKey = "pomoho.com";
constexpr const char* BaiduKey = "baidu.com";
// Ku6's other domain; it holds the Site6 key, so its pages dispatch as Site6.
constexpr const char* Ku6SecondKey = "ku6.cn";
// Tudou's host of HD pages (site table only); it holds the Tudou key.
constexpr const char* TudouHdKey = "hd.tudou.com";

// Interface and file hosts of the sites, by role.
constexpr const char* YoukuPlayListHost = "v.youku.com";
constexpr const char* YoukuFileHost = "f.youku.com";
constexpr const char* TudouInterfaceHost1 = "v2.tudou.com";
constexpr const char* TudouInterfaceHost2 = "api.tudou.com";
constexpr const char* Ku6InterfaceHost = "v.ku6.com";
constexpr const char* Site6InterfaceHost = "6.cn";  // the site's bare domain
constexpr const char* Site56PageHost = "www.56.com";
constexpr const char* Site56FileHost1 = "f1.56.com";
constexpr const char* Site56FileHost2 = "f2.56.com";
constexpr const char* Site56FileDomain = "56.com";  // inside the file name
constexpr const char* SinaInterfaceHost = "v.iask.sina.com.cn";
constexpr const char* BokeccInterfaceHost = "union.bokecc.com";
constexpr const char* PomohoInterfaceHost = "api.pomoho.com";
constexpr const char* BaiduVideoHost = "video.baidu.com";  // servers are v01. to v99. of it
constexpr const char* BreakMediaHost = "media1.break.com";
constexpr const char* BreakVideoHost = "video1.break.com";
constexpr const char* MofilePlayHost = "tv.mofile.com";
constexpr const char* FiveShowInterfaceHost = "api.5show.com";  // port 88
constexpr const char* FiveShowDomain = "5show.com";
constexpr const char* YouTubePageHost = "www.youtube.com";
constexpr const char* CctvInterfaceHost = "vdd.cctv.com";
constexpr const char* YahooPlayListHost = "cosmos.yahoo.com";

}  // namespace cfg

// Every host name above, for tools that need the whole list.
#define CFG_ALL_HOSTS(X)                                                                      \
    X(ServiceHost) X(PortalHost) X(ForumHost) X(Site6Key) X(Ku6Key) X(TudouKey) X(YoukuKey)   \
    X(Site56Key) X(YouTubeKey) X(CctvKey) X(SinaKey) X(FiveShowKey) X(MofileKey) X(AolKey)    \
    X(YahooKey) X(MetacafeKey) X(BreakKey) X(YepigKey1) X(YepigKey2) X(BokeccKey)             \
    X(PomohoKey) X(BaiduKey) X(Ku6SecondKey) X(TudouHdKey) X(YoukuPlayListHost)               \
    X(YoukuFileHost) X(TudouInterfaceHost1) X(TudouInterfaceHost2) X(Ku6InterfaceHost)        \
    X(Site6InterfaceHost) X(Site56PageHost) X(Site56FileHost1) X(Site56FileHost2)             \
    X(SinaInterfaceHost) X(BokeccInterfaceHost) X(PomohoInterfaceHost) X(BaiduVideoHost)      \
    X(BreakMediaHost) X(BreakVideoHost) X(MofilePlayHost) X(FiveShowInterfaceHost)            \
    X(YouTubePageHost) X(CctvInterfaceHost) X(YahooPlayListHost)
