#pragma once
// The link handling on Win32: FLV_GetFlvUrlDirectlyW of vennix.dll, FindWindowW, WM_COPYDATA,
// the player's start beside the program, MessageBoxW, and the per-link context's requests
// carried out on the dialog's thread. The library link_pelorama holds pelorama's build of
// the module, link_agent the agent's.
//
//   // the dialog (its own thread): takes the link, passes the context's messages on
//   auto context = MakeLinkContext(link, Handle());
//   if (HandleLinkRequest(*context, *this, message, wParam)) return 0;     // in OnMessage
//   context->DialogGone();                                                 // on WM_DESTROY
//   // the worker:
//   HandleZflvLink(*context);
//   context->PostToDialog(WM_CLOSE);
#include <windows.h>

#include <memory>
#include <string>

#include "link.h"
#include "link_context.h"
#include "utf16.h"
#include "window.h"

// The build this library was compiled as (kPeloramaLink or kAgentLink).
const LinkBuild& ThisLinkBuild();

// A context of link whose posts go to windows with PostMessageW; dialog, when given, is
// attached at once.
std::shared_ptr<LinkContext> MakeLinkContext(const std::wstring& link, HWND dialog = nullptr);

// The context's dialog window while it lives, else null.
HWND DialogWindow(const LinkContext& context);

// For the dialog's message handler, on its own thread: arms or kills the dialog's timer
// kPageTimerId of kPageTimeoutMs (through its SetTimer and KillTimer) as the context asks
// (true: the message was such a request, answer 0), and when that timer fires, kills it and
// sets the context's time-out (false: the dialog's own handling of WM_TIMER follows).
bool HandleLinkRequest(LinkContext& context, winui::Window& dialog, UINT message, WPARAM wParam);

// Handles the context's link on the calling thread; returns 0 when it is done. The agent
// build's own boxes are owned by the context's dialog while it lives.
int HandleZflvLink(LinkContext& context);

// Hands one address to the player with the context's site code.
void SendLinkToPlayer(LinkContext& context, bool play, const std::wstring& address, const std::wstring& title);

// Starts the player beside the running program, minimised, and waits until it is ready
// (the rule the link handling uses; pelorama's tray menu starts it the same way).
bool StartPlayerBesideProgram();

// ExtractBetweenW over wchar_t text, for Win32 code (the platform-free rules call the char16_t one).
inline wchar_t* ExtractBetweenW(const wchar_t* text, const wchar_t* start, const wchar_t* end,
                                const wchar_t** next, wchar_t* buf, size_t capacity)
{
    return AsWide(ExtractBetweenW(AsU16(text), AsU16(start), AsU16(end), reinterpret_cast<const char16_t**>(next),
                                  AsU16(buf), capacity));
}
