// The tooltip wrapper: window creation and the tool messages.
#include "tooltip.h"

#include <commctrl.h>

#include <vector>

#include "common_controls.h"

namespace winui {

namespace {

// The size both the old and the version 6 common controls accept for these calls.
TOOLINFOW ToolByWindow(HWND tool)
{
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    return info;
}

}  // namespace

void ToolTip::WindowKind::Destroy(HWND window) noexcept
{
    if (IsWindow(window))
        DestroyWindow(window);
}

bool ToolTip::Create(HWND parent, DWORD style)
{
    if (window_)
        return false;
    InitCommonControlClasses();
    window_.Reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    return static_cast<bool>(window_);
}

bool ToolTip::AddTool(HWND tool, const std::wstring& text)
{
    if (!window_ || !tool)
        return false;
    TOOLINFOW info = ToolByWindow(tool);
    std::wstring copy = text;
    info.lpszText = &copy[0];
    return SendMessageW(window_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void ToolTip::UpdateTipText(HWND tool, const std::wstring& text)
{
    if (!window_)
        return;
    TOOLINFOW info = ToolByWindow(tool);
    std::wstring copy = text;
    info.lpszText = &copy[0];
    SendMessageW(window_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTip::Activate(bool active)
{
    if (window_)
        SendMessageW(window_.Get(), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void ToolTip::RelayEvent(const MSG& msg)
{
    if (window_)
        SendMessageW(window_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

int ToolTip::ToolCount() const
{
    return window_ ? static_cast<int>(SendMessageW(window_.Get(), TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

std::wstring ToolTip::ToolText(HWND tool) const
{
    if (!window_)
        return L"";
    // The message gives no length: the largest text a tooltip keeps is 1024 characters.
    std::vector<wchar_t> text(1025, L'\0');
    TOOLINFOW info = ToolByWindow(tool);
    info.lpszText = text.data();
    SendMessageW(window_.Get(), TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&info));
    text.back() = L'\0';
    return text.data();
}

}  // namespace winui
