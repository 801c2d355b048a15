#pragma once
// A tooltip control of the common controls: created over a parent, its tools known by
// their windows, its text updated, the mouse messages relayed to it by its owner.
#include <windows.h>

#include <string>

namespace winui {

class ToolTip {
public:
    ToolTip() = default;
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;
    ~ToolTip();  // destroys the tooltip window

    // Creates the tooltip window (WS_POPUP | style) owned by parent; false when it exists
    // already or cannot be made.
    bool Create(HWND parent, DWORD style = 0);
    void Destroy();
    HWND Handle() const { return hwnd_; }

    // Adds a tool known by its window (TTF_IDISHWND): the tool's window is tool's parent
    // and it has no rectangle; the tooltip learns of the mouse only through RelayEvent.
    bool AddTool(HWND tool, const std::wstring& text);
    // Changes the text of that tool.
    void UpdateTipText(HWND tool, const std::wstring& text);
    void Activate(bool active);
    // Hands a message the tool's window received to the tooltip (TTM_RELAYEVENT).
    void RelayEvent(const MSG& msg);

    int ToolCount() const;
    // The text of the tool known by window tool ("" when there is none).
    std::wstring ToolText(HWND tool) const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace winui
