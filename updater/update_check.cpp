// The update check on Win32: the application-data folder, the description's fetch, the
// recorded builds in update.ini and the first prompt.
#include "update_check.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "config/updater.h"
#include "http_client.h"
#include "update_state.h"

UpdateJob g_updateJob;
ComponentBlock g_componentBlocks[kComponentCount];
bool g_bSingleFormat = false;
std::wstring g_strIniPath;
std::wstring g_strDownloadFolder;

std::wstring WideFrom(const char* text, UINT codePage)
{
    const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return std::wstring();
    std::vector<wchar_t> out(n);
    MultiByteToWideChar(codePage, 0, text, -1, out.data(), n);
    return std::wstring(out.data());
}

std::wstring ProgramString(UINT id)
{
    wchar_t text[64] = {};
    const int n = LoadStringW(GetModuleHandleW(nullptr), id, text, 64);
    return std::wstring(text, n > 0 ? n : 0);
}

std::wstring IniKeyText(IniKey key)
{
    return key == kFixedBuildKey ? WideFrom(kFixedBuildKeyText, CP_ACP) : ProgramString(key);
}

namespace {

std::string AnsiFrom(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return std::string();
    std::vector<char> out(n);
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return std::string(out.data());
}

// A recorded build: the key's value in update.ini, at most 255 characters, or the default.
std::string ReadRecordedBuild(IniKey key)
{
    wchar_t value[256] = {};
    GetPrivateProfileStringW(IniKeyText(kSettingsSectionId).c_str(), IniKeyText(key).c_str(),
                             WideFrom(kDefaultRecordedBuild, CP_ACP).c_str(), value, 256, g_strIniPath.c_str());
    return AnsiFrom(value);
}

}  // namespace

std::wstring GetAppDataFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, FALSE) || !path[0])
        return std::wstring();
    return std::wstring(path) + L"\\";
}

int RunUpdateCheck(HINSTANCE instance, ProgressDialogRunner runDialog)
{
    std::memset(g_componentBlocks, 0, sizeof g_componentBlocks);
    g_bSingleFormat = false;
    const std::wstring appData = GetAppDataFolder();
    if (appData.empty())
        return 0;
    g_strDownloadFolder = appData + L"QEL Player\\";
    g_strIniPath = g_strDownloadFolder + L"update.ini";

    std::string description;
    const std::wstring address =
        L"http://" + WideFrom(cfg::UpdateHost, CP_ACP) + L"/qel_webtest/player/flv/update/qel_update.xml";
    if (FetchUrlToString(address, description) != 0 || description.empty())
        return 0;

    UpdateDescription read;
    ReadUpdateDescription(description.c_str(), read);
    std::memcpy(g_componentBlocks, read.blocks, sizeof g_componentBlocks);
    g_bSingleFormat = read.singleFormat;
    g_updateJob.playerAddress = WideFrom(g_componentBlocks[kPlayer].download, CP_THREAD_ACP);
    g_updateJob.parserAddress = WideFrom(g_componentBlocks[kParser].download, CP_THREAD_ACP);
    g_updateJob.genalAddress = WideFrom(g_componentBlocks[kGenal].download, CP_THREAD_ACP);

    const uint32_t newer = NewerComponents(read, ReadRecordedBuild);
    if (newer == 0)
        return 0;
    if (MessageBoxW(nullptr, L"发现新版本,是否立即下载?", L"澜影播放器更新提示", MB_YESNO) != IDYES)
        return 0;
    g_updateJob.flags |= newer;
    runDialog(instance);
    return 0;
}
