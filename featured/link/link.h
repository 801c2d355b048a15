#pragma once
// The link handling shared by pelorama and qelagent: zflv:// links, the record sent to the
// player and the player-missing rule, over a small platform interface so that the same
// flow runs on the host.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link_context.h"
#include "link_text.h"

// Data words of the WM_COPYDATA message to the player.
constexpr uint32_t LINK_ADD = 0xC179F3DAu;
constexpr uint32_t LINK_PLAY = LINK_ADD - 1;  // 0xC179F3D9

// The player: its window class, its program file beside ours and the show code it starts with.
constexpr const char16_t* kPlayerWindowClass = u"QELPlayerW_C179F3D9-F8B6-42bb-AC0C-D4A4BDAB8BB2";
constexpr const char16_t* kPlayerBaseName = u"qelplayer";
constexpr int kPlayerShowCode = 11;  // SW_FORCEMINIMIZE

// One stream address for the player, little-endian, 1540 bytes. The record is zero-filled
// before use, so both strings are terminated within their fields.
struct LinkRecord {
    char16_t address[512];  // at most 511 characters
    char16_t title[256];    // at most 255 characters
    int32_t siteCode;
};
static_assert(sizeof(LinkRecord) == 1540, "the player reads 1540 bytes");
static_assert(offsetof(LinkRecord, title) == 1024, "title at byte 1024");
static_assert(offsetof(LinkRecord, siteCode) == 1536, "site code at byte 1536");

constexpr size_t kRecordAddressMax = 511;
constexpr size_t kRecordTitleMax = 255;

// Fills a zeroed record; false (and nothing sent) when the address is empty or longer than
// the field holds, since a cut address would name another stream. A longer title is cut.
bool FillLinkRecord(LinkRecord& record, const char16_t* address, const char16_t* title, int32_t siteCode);

// What tells the two builds of the module apart.
struct LinkBuild {
    size_t itemUnits;         // page address, list item, resolver line
    size_t nameUnits;         // the "&name=" value
    int32_t noMatchCode;      // site code of a host outside the site table
    bool refuseNoMatch;       // that code stops the link with "暂不支持此网址"
    bool ownLinkBoxes;        // the module's own boxes are owned by the dialog's window
    bool boxBeforePlayerStart;  // "未找到播放器,请先打开播放器" also before the player is started
    bool pageTimeout;         // each "/videosrc=" page is timed (the link context's page timer)
};

constexpr LinkBuild kPeloramaLink = {81920, 20480, 1, false, false, true, true};
constexpr LinkBuild kAgentLink = {4096, 1024, 255, true, true, false, false};

constexpr size_t kNumberedTitleUnits = 2048;
constexpr unsigned kPageTimerId = 1;
constexpr unsigned kPageTimeoutMs = 45000;

enum class BoxOwner { None, LinkWindow };

// What the module needs of the platform.
class LinkPlatform {
public:
    virtual ~LinkPlatform() = default;
    // FLV_GetFlvUrlDirectlyW: lines holds FLV_URL_DW_LINES_UNITS units, title
    // FLV_URL_DW_TITLE_UNITS, the export's whole maximum.
    virtual void ResolvePage(const char16_t* pageUrl, char16_t* lines, char16_t* title) = 0;
    // The player's window, 0 when there is none.
    virtual uintptr_t FindPlayerWindow() = 0;
    // One synchronous WM_COPYDATA: wParam 0, the data word, 1540 bytes.
    virtual void SendRecord(uintptr_t window, uint32_t dataWord, const LinkRecord& record) = 0;
    // Starts the player from beside the program and waits until it is ready; false when
    // nothing could be started.
    virtual bool StartPlayer() = 0;
    // An MB_OK box; returns when the user has closed it.
    virtual void ShowBox(const char16_t* text, const char16_t* caption, BoxOwner owner) = 0;
};

// Hands one address to the player: finds its window, else starts the player and looks
// again at once; the address is dropped with a box when the window is still missing.
// Returns false when the address was not handed on at all (empty, or too long for the
// record); true when it was sent or dropped for want of a player.
bool SendLinkToPlayer(LinkPlatform& platform, const LinkBuild& build, int32_t siteCode, bool play,
                      const char16_t* address, const char16_t* title);

// Whether a navigation's address is a link of the player: "zflv://", case-sensitive, anywhere.
bool IsZflvAddress(const std::u16string& address);

// Handles the link of a context from start to end; the context's siteCode receives the
// link's site code before any address is sent, and a build with timed pages times each
// "/videosrc=" page on the context. Returns 0.
int HandleZflvLink(LinkPlatform& platform, const LinkBuild& build, LinkContext& context);
