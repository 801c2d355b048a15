#pragma once
// The link handling on Win32: FLV_GetFlvUrlDirectlyW of vennix.dll, FindWindowW, WM_COPYDATA,
// the player's start beside the program and MessageBoxW. The library link_pelorama holds
// pelorama's build of the module, link_agent the agent's.
//
//   // in the agent's worker (the owner asked at each box: null once the window is gone):
//   LinkDialog dialog{&context.siteCode, nullptr, nullptr, &windowWhileItLives};
//   HandleZflvLink(dialog, context.Link());
//   // in pelorama's link worker (the time-out is the wait dialog's timer and m_bTimeout):
//   LinkDialog dialog{&m_nSiteCode, nullptr, &waitDialogTimeout};
//   HandleZflvLink(dialog, link);
#include <windows.h>

#include <string>

#include "link.h"

// The 45-second time-out of a "/videosrc=" page, which pelorama's wait dialog carries.
class PageTimeout {
public:
    virtual ~PageTimeout() = default;
    // Before each page: clear the time-out flag, arm timer kPageTimerId of kPageTimeoutMs
    // on the wait dialog's window.
    virtual void Start() = 0;
    // After the page: whether the timer has fired (the flag is set).
    virtual bool Expired() = 0;
    // After a page in time: kill the timer.
    virtual void Stop() = 0;
};

// The window that owns the agent build's boxes, asked at each box, so that a worker
// outliving its dialog raises them with no owner rather than a window that is gone.
class LinkOwner {
public:
    virtual ~LinkOwner() = default;
    // The dialog's window while it lives, else null.
    virtual HWND Window() = 0;
};

// What the dialog that runs the link handling lends it.
struct LinkDialog {
    int* siteCode = nullptr;          // m_nSiteCode: written per link, read by every send
    HWND window = nullptr;            // agent build: owner of the module's own boxes
    PageTimeout* timeout = nullptr;   // pelorama build: the page time-out; null: never
    LinkOwner* owner = nullptr;       // agent build: when set, the owner in place of window
};

// The build this library was compiled as (kPeloramaLink or kAgentLink).
const LinkBuild& ThisLinkBuild();

// Handles one zflv:// link on the calling thread; returns 0 when it is done.
int HandleZflvLink(LinkDialog& dialog, std::wstring link);

// Hands one address to the player with the dialog's site code.
void SendLinkToPlayer(LinkDialog& dialog, bool play, const std::wstring& address, const std::wstring& title);

// Starts the player beside the running program, minimised, and waits until it is ready
// (the rule the link handling uses; pelorama's tray menu starts it the same way).
bool StartPlayerBesideProgram();

// ExtractBetweenW over wchar_t text, for Win32 code (the platform-free rules call the char16_t one).
inline wchar_t* ExtractBetweenW(const wchar_t* text, const wchar_t* start, const wchar_t* end,
                                const wchar_t** next, wchar_t* buf, size_t capacity)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
    return reinterpret_cast<wchar_t*>(ExtractBetweenW(
        reinterpret_cast<const char16_t*>(text), reinterpret_cast<const char16_t*>(start),
        reinterpret_cast<const char16_t*>(end), reinterpret_cast<const char16_t**>(next),
        reinterpret_cast<char16_t*>(buf), capacity));
}
