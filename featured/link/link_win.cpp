// Win32 binding of the link handling; compiled once per program, LINK_BUILD_AGENT selecting
// the agent's build.
#include "link_win.h"

#include "progstart.h"
#include "utf16.h"
#include "vennix.h"

namespace {

class Win32LinkPlatform : public LinkPlatform {
public:
    explicit Win32LinkPlatform(const LinkContext& context) : context_(context) {}

    void ResolvePage(const char16_t* pageUrl, char16_t* lines, char16_t* title) override
    {
        FLV_GetFlvUrlDirectlyW(AsWide(pageUrl), AsWide(lines), AsWide(title));
    }

    uintptr_t FindPlayerWindow() override
    {
        return reinterpret_cast<uintptr_t>(FindWindowW(AsWide(kPlayerWindowClass), nullptr));
    }

    void SendRecord(uintptr_t window, uint32_t dataWord, const LinkRecord& record) override
    {
        COPYDATASTRUCT data;
        data.dwData = dataWord;
        data.cbData = sizeof record;
        data.lpData = const_cast<LinkRecord*>(&record);
        SendMessageW(reinterpret_cast<HWND>(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }

    bool StartPlayer() override
    {
        return StartPlayerBesideProgram();
    }

    void ShowBox(const char16_t* text, const char16_t* caption, BoxOwner owner) override
    {
        // The owner is asked at each box: a dialog gone meanwhile owns nothing.
        HWND window = owner == BoxOwner::LinkWindow ? DialogWindow(context_) : nullptr;
        MessageBoxW(window, AsWide(text), AsWide(caption), MB_OK);
    }

private:
    const LinkContext& context_;
};

bool PostToWindow(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

}  // namespace

bool StartPlayerBesideProgram()
{
    return StartProgramBeside(nullptr, AsWide(kPlayerBaseName), nullptr, nullptr, kPlayerShowCode, true);
}

const LinkBuild& ThisLinkBuild()
{
#ifdef LINK_BUILD_AGENT
    return kAgentLink;
#else
    return kPeloramaLink;
#endif
}

std::shared_ptr<LinkContext> MakeLinkContext(const std::wstring& link, HWND dialog)
{
    auto context = std::make_shared<LinkContext>(ToU16(link), PostToWindow);
    if (dialog)
        context->AttachDialog(reinterpret_cast<uintptr_t>(dialog));
    return context;
}

HWND DialogWindow(const LinkContext& context)
{
    return reinterpret_cast<HWND>(context.Dialog());
}

bool HandleLinkRequest(LinkContext& context, winui::Window& dialog, UINT message, WPARAM wParam)
{
    if (message == kLinkRequestMessage) {
        if (wParam == static_cast<WPARAM>(LinkRequest::ArmPageTimer))
            dialog.SetTimer(kPageTimerId, kPageTimeoutMs);
        else if (wParam == static_cast<WPARAM>(LinkRequest::KillPageTimer))
            dialog.KillTimer(kPageTimerId);
        return true;
    }
    if (message == WM_TIMER && wParam == kPageTimerId) {
        dialog.KillTimer(kPageTimerId);
        context.PageTimerFired();
    }
    return false;
}

int HandleZflvLink(LinkContext& context)
{
    Win32LinkPlatform platform(context);
    return HandleZflvLink(platform, ThisLinkBuild(), context);
}

void SendLinkToPlayer(LinkContext& context, bool play, const std::wstring& address, const std::wstring& title)
{
    Win32LinkPlatform platform(context);
    SendLinkToPlayer(platform, ThisLinkBuild(), context.siteCode, play, AsU16(address.c_str()), AsU16(title.c_str()));
}
