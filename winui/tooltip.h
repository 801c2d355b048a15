#pragma once
// A tooltip control of the common controls: created over a parent, its tools known by
// their windows, its text updated, the mouse messages relayed to it by its owner.
#include <windows.h>

#include <string>

#include "owned_handle.h"

namespace winui {

class ToolTip {
public:
    ToolTip() = default;
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

    // Creates the tooltip window (WS_POPUP | style) owned by parent; false when it exists
    // already or cannot be made.
    [[nodiscard]] bool Create(HWND parent, DWORD style = 0);
    void Destroy() { window_.Reset(); }
    HWND Handle() const { return window_.Get(); }

    // Adds a tool known by its window (TTF_IDISHWND): the tool's window is tool's parent
    // and it has no rectangle; the tooltip learns of the mouse only through RelayEvent.
    [[nodiscard]] bool AddTool(HWND tool, const std::wstring& text);
    // Changes the text of that tool.
    void UpdateTipText(HWND tool, const std::wstring& text);
    void Activate(bool active);
    // Hands a message the tool's window received to the tooltip (TTM_RELAYEVENT).
    void RelayEvent(const MSG& msg);

    [[nodiscard]] int ToolCount() const;
    // The text of the tool known by window tool ("" when there is none).
    [[nodiscard]] std::wstring ToolText(HWND tool) const;

private:
    // The tooltip window, destroyed with the tooltip unless its parent took it along.
    struct WindowKind : owners::NullIsEmpty<HWND> {
        static void Destroy(HWND window) noexcept;
    };

    owners::Owned<WindowKind> window_;
};

}  // namespace winui
