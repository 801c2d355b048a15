#pragma once
// Dispatch identifiers of the web browser control: the calls a host makes and the events
// it receives.
#include <windows.h>
#include <oleauto.h>

namespace winui {

namespace browser_call {
constexpr DISPID GoBack = 100;
constexpr DISPID GoForward = 101;
constexpr DISPID Navigate = 104;
constexpr DISPID Left = 206;
constexpr DISPID Top = 207;
constexpr DISPID Width = 208;
constexpr DISPID Height = 209;
constexpr DISPID Visible = 402;
constexpr DISPID Refresh = -550;
}  // namespace browser_call

namespace browser_event {
constexpr DISPID DownloadComplete = 104;
constexpr DISPID DownloadBegin = 106;
constexpr DISPID ProgressChange = 108;
constexpr DISPID BeforeNavigate2 = 250;
constexpr DISPID NavigateComplete2 = 252;
constexpr DISPID DocumentComplete = 259;
}  // namespace browser_event

}  // namespace winui
