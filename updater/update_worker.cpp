// The update worker: downloads the installers behind the progress dialog, asks once more,
// closes and restarts the programs, records the builds and sends the statistics request.
#include <windows.h>

#include <string>

#include "config/updater.h"
#include "http_client.h"
#include "link.h"
#include "progress_dialog.h"
#include "progstart.h"
#include "resource.h"
#include "update_state.h"
#include "utf16.h"
#include "worker_rules.h"

namespace {

const wchar_t kCaption[] = L"澜影播放器更新提示";
const wchar_t kDownloading[] = L"正在下载更新程序";
const wchar_t kDownloaded[] = L"更新程序下载完成";
const wchar_t kDownloadFailed[] = L"网络连接超时,下载更新程序失败,请稍候再试";
const wchar_t kPeloramaWindowClass[] = L"QELPLAYERPELORAMA";
const Component kOrder[] = {kPlayer, kParser, kGenal};

void AddLine(HWND dialog, const std::wstring& line)
{
    SendDlgItemMessageW(dialog, IDC_PROGRESS_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

DWORD End(HWND dialog)
{
    PostMessageW(dialog, kEndProgressDialog, 0, 0);
    return 0;
}

}  // namespace

DWORD WINAPI UpdateWorker(LPVOID parameter)
{
    const UpdateJob& job = *static_cast<const UpdateJob*>(parameter);
    const HWND dialog = job.dialog;
    const std::wstring& folder = g_strDownloadFolder;

    std::wstring installers[kComponentCount];
    for (Component c : kOrder) {
        if (!(job.flags & ComponentFlag(c)))
            continue;
        std::u16string path;
        const bool named = InstallerPath(ToU16(folder), ToU16(job.Address(c)), path);
        const char* description = g_componentBlocks[c].description;
        AddLine(dialog, description[0] ? WideFrom(description, CP_UTF8) : kDownloading);
        const bool downloaded = named && DownloadUrlToFile(job.Address(c), OnDownloadProgress, ToWide(path)) == 0;
        ShowHeldBackProgress();
        if (!downloaded) {
            AddLine(dialog, kDownloadFailed);
            Sleep(1000);
            return End(dialog);
        }
        installers[c] = ToWide(path);
        AddLine(dialog, kDownloaded);
    }
    Sleep(1000);
    SendMessageW(dialog, kHideProgressDialog, 0, 0);

    if (MessageBoxW(nullptr, L"立即更新?", kCaption, MB_YESNO) != IDYES)
        return End(dialog);
    // Looked up now: either window may have closed or been replaced while the box was up.
    const HWND player = FindWindowW(AsWide(kPlayerWindowClass), nullptr);
    const HWND pelorama = FindWindowW(kPeloramaWindowClass, nullptr);
    if (player)
        PostMessageW(player, WM_CLOSE, 0, 0);
    if (pelorama)
        PostMessageW(pelorama, WM_CLOSE, 0, 0);
    if (player || pelorama)
        Sleep(500);

    // An installer that cannot be started (a page, a cut file) keeps its build unrecorded.
    uint32_t notStarted = 0;
    for (Component c : kOrder) {
        if ((job.flags & ComponentFlag(c)) && !StartProgram(installers[c], nullptr, kNoShowCode, false))
            notStarted |= ComponentFlag(c);
    }
    MessageBoxW(nullptr, L"更新完成", kCaption, MB_OK);
    StartProgramBeside(nullptr, L"qelplayer", nullptr, nullptr, SW_SHOW, true);
    StartProgramBeside(nullptr, L"pelorama", nullptr, nullptr, SW_FORCEMINIMIZE, true);
    for (Component c : kOrder) {
        if (job.flags & ComponentFlag(c))
            DeleteFileW(installers[c].c_str());
    }
    const std::wstring section = IniKeyText(kSettingsSectionId);
    for (const BuildRecord& r : BuildRecords(g_bSingleFormat, notStarted)) {
        WritePrivateProfileStringW(section.c_str(), IniKeyText(r.key).c_str(),
                                   WideFrom(g_componentBlocks[r.component].build, CP_UTF8).c_str(),
                                   g_strIniPath.c_str());
    }
    std::string ignored;
    FetchUrlToString(L"http://" + WideFrom(cfg::UpdateHost, CP_ACP) + L"/qel_webtest/player/flv/ip/ip_statistic.php",
                     ignored);
    return End(dialog);
}
