// Win32 binding of the link handling; compiled once per program, LINK_BUILD_AGENT selecting
// the agent's build.
#include "link_win.h"

#include <type_traits>

#include "progstart.h"
#include "vennix.h"

static_assert(std::is_same<int, int32_t>::value, "m_nSiteCode is the int32_t site code");

namespace {

const wchar_t* W(const char16_t* s)
{
    return reinterpret_cast<const wchar_t*>(s);
}

const char16_t* U(const wchar_t* s)
{
    return reinterpret_cast<const char16_t*>(s);
}

class Win32LinkPlatform : public LinkPlatform {
public:
    explicit Win32LinkPlatform(LinkDialog& dialog) : dialog_(dialog) {}

    void ResolvePage(const char16_t* pageUrl, char16_t* lines, char16_t* title) override
    {
        FLV_GetFlvUrlDirectlyW(W(pageUrl), reinterpret_cast<wchar_t*>(lines), reinterpret_cast<wchar_t*>(title));
    }

    uintptr_t FindPlayerWindow() override
    {
        return reinterpret_cast<uintptr_t>(FindWindowW(W(kPlayerWindowClass), nullptr));
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
        HWND window = nullptr;
        if (owner == BoxOwner::LinkWindow)
            window = dialog_.owner ? dialog_.owner->Window() : dialog_.window;
        MessageBoxW(window, W(text), W(caption), MB_OK);
    }

    void StartPageTimer() override
    {
        if (dialog_.timeout)
            dialog_.timeout->Start();
    }

    bool PageTimedOut() override { return dialog_.timeout && dialog_.timeout->Expired(); }

    void StopPageTimer() override
    {
        if (dialog_.timeout)
            dialog_.timeout->Stop();
    }

private:
    LinkDialog& dialog_;
};

}  // namespace

bool StartPlayerBesideProgram()
{
    return StartProgramBeside(nullptr, W(kPlayerBaseName), nullptr, nullptr, kPlayerShowCode, true);
}

const LinkBuild& ThisLinkBuild()
{
#ifdef LINK_BUILD_AGENT
    return kAgentLink;
#else
    return kPeloramaLink;
#endif
}

int HandleZflvLink(LinkDialog& dialog, std::wstring link)
{
    Win32LinkPlatform platform(dialog);
    int32_t unused = 0;
    return HandleZflvLink(platform, ThisLinkBuild(), dialog.siteCode ? *dialog.siteCode : unused,
                          std::u16string(U(link.c_str()), link.size()));
}

void SendLinkToPlayer(LinkDialog& dialog, bool play, const std::wstring& address, const std::wstring& title)
{
    Win32LinkPlatform platform(dialog);
    SendLinkToPlayer(platform, ThisLinkBuild(), dialog.siteCode ? *dialog.siteCode : 0, play, U(address.c_str()),
                     U(title.c_str()));
}
