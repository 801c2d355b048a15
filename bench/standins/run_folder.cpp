#include "run_folder.h"

#include <windows.h>

#include "player_record.h"

namespace {

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\");
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring TestBinFolder()
{
    return FolderOf(ModulePath(nullptr));
}

std::wstring SuiteBinFolder()
{
    std::wstring testBin = TestBinFolder();
    return FolderOf(testBin.substr(0, testBin.size() - 1)) + L"bin\\";
}

RunFolder::~RunFolder()
{
    if (!parent_.empty())
        RemoveTree(parent_);
}

bool RunFolder::Create(const std::wstring& tail)
{
    static LONG counter = 0;
    wchar_t temp[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH + 1, temp))
        return false;
    parent_ = std::wstring(temp) + L"qelrun-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(InterlockedIncrement(&counter)) + L"\\";
    path_ = parent_ + L"qel run" + tail + L"\\";
    return CreateDirectoryW(parent_.c_str(), nullptr) && CreateDirectoryW(path_.c_str(), nullptr) &&
           CopyFileW((TestBinFolder() + L"standin_recorder.exe").c_str(), (parent_ + L"qel.exe").c_str(), FALSE);
}

bool RunFolder::AddProgram(const std::wstring& source, const std::wstring& name)
{
    return CopyFileW(source.c_str(), (path_ + name).c_str(), FALSE) != 0;
}

bool RunFolder::AddStandinPlayer()
{
    return AddProgram(TestBinFolder() + L"standin_player.exe", L"qelplayer.exe");
}

bool RunFolder::AddRecorder(const std::wstring& name, const std::wstring& windowClass)
{
    if (!AddProgram(TestBinFolder() + L"standin_recorder.exe", name))
        return false;
    return windowClass.empty() || WriteWholeFile(RecorderWindowFile(path_ + name), Utf8(windowClass));
}

std::wstring RunFolder::RecordOf(const std::wstring& name) const
{
    return RecorderRecordPath(path_ + name);
}

bool RunFolder::AddStandinResolver(const std::string& script)
{
    return AddProgram(TestBinFolder() + L"standin_vennix.dll", L"vennix.dll") && SetResolverScript(script);
}

bool RunFolder::SetResolverScript(const std::string& script)
{
    return WriteWholeFile(path_ + L"vennix.script", script);
}

bool RunFolder::AddRealResolver()
{
    return AddProgram(SuiteBinFolder() + L"vennix.dll", L"vennix.dll");
}
