// Files, programs and registry for the control's tests.
#include "vudav_support.h"

#include <algorithm>
#include <cstdio>

const wchar_t kClassKey[] = L"CLSID\\{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}";
const wchar_t kTypeLibKey[] = L"TypeLib\\{7DC0C1AF-BDDC-4B2B-AE96-7ADCA07EB9D1}";
const wchar_t kInterfaceKey[] = L"Interface\\{1687EE02-3AC8-4E02-B203-24AF395AA9BF}";
const wchar_t kMenuExtKey[] = L"Software\\Microsoft\\Internet Explorer\\MenuExt";
const wchar_t kMenuName[] = L"使用澜影播放器播放";

namespace {

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(path);
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring Quoted(const std::wstring& s)
{
    return L"\"" + s + L"\"";
}

}  // namespace

std::wstring VudavDllPath()
{
    return SuiteBinFolder() + L"Vudav.dll";
}

std::wstring FreshFolder(const std::wstring& name)
{
    std::wstring run = TestBinFolder() + L"run";
    CreateDirectoryW(run.c_str(), nullptr);
    std::wstring folder = run + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    EmptyFolder(folder);
    return folder;
}

bool CopyTo(const std::wstring& from, const std::wstring& to)
{
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

ProgramRun RunProgram(const std::wstring& commandLine, const std::wstring& folder, DWORD timeoutMs)
{
    ProgramRun run;
    wchar_t temp[MAX_PATH], outputPath[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    GetTempFileNameW(temp, L"run", 0, outputPath);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(outputPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    CloseHandle(output);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    if (started) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            run.finished = true;
            GetExitCodeProcess(process.hProcess, &run.exitCode);
        } else {
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    FILE* read = _wfopen(outputPath, L"rb");
    if (read) {
        char chunk[4096];
        size_t n;
        while ((n = fread(chunk, 1, sizeof chunk, read)) > 0)
            run.output.append(chunk, n);
        fclose(read);
    }
    DeleteFileW(outputPath);
    return run;
}

ProgramRun Regsvr32(const std::wstring& dll, bool unregister)
{
    return RunProgram(std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + Quoted(dll));
}

ProgramRun Cscript(const std::wstring& script, const std::wstring& folder)
{
    return RunProgram(L"cscript.exe //nologo " + Quoted(script), folder);
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool ReadValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* type, std::vector<BYTE>* data)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG result = RegQueryValueExW(opened, name.c_str(), nullptr, type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data->resize(size);
        result = RegQueryValueExW(opened, name.c_str(), nullptr, type, data->data(), &size);
        data->resize(size);
    }
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

bool ReadString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring* text)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ReadValue(root, key, name, &type, &data) || type != REG_SZ)
        return false;
    text->assign(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!text->empty() && text->back() == L'\0')
        text->pop_back();
    return true;
}

namespace {

std::vector<std::wstring> Names(HKEY root, const std::wstring& key, bool values)
{
    std::vector<std::wstring> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD length = 16384;
        LONG result = values ? RegEnumValueW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                             : RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(opened);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& key)
{
    return Names(root, key, false);
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& key)
{
    return Names(root, key, true);
}

std::vector<std::wstring> DumpTree(HKEY root, const std::wstring& key)
{
    std::vector<std::wstring> lines;
    if (!KeyExists(root, key))
        return lines;
    lines.push_back(key);
    for (const std::wstring& name : ValueNames(root, key)) {
        DWORD type = 0;
        std::vector<BYTE> data;
        ReadValue(root, key, name, &type, &data);
        std::wstring line = key + L" [" + name + L"] " + std::to_wstring(type) + L":";
        for (BYTE b : data)
            line += L"0123456789abcdef"[b >> 4], line += L"0123456789abcdef"[b & 15];
        lines.push_back(line);
    }
    for (const std::wstring& child : SubkeyNames(root, key)) {
        std::vector<std::wstring> below = DumpTree(root, key + L"\\" + child);
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

void DeleteTree(HKEY root, const std::wstring& key)
{
    for (const std::wstring& child : SubkeyNames(root, key))
        DeleteTree(root, key + L"\\" + child);
    RegDeleteKeyW(root, key.c_str());
}

VudavRegistryGuard::VudavRegistryGuard()
    : menuExtExisted_(KeyExists(HKEY_CURRENT_USER, kMenuExtKey)),
      internetExplorerExisted_(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer"))
{
}

VudavRegistryGuard::~VudavRegistryGuard()
{
    for (const wchar_t* key : {kClassKey, kTypeLibKey, kInterfaceKey, L"Vudav.qelVudav", L"Vudav.qelVudav.1",
                               L"AppID\\Vudav.DLL", L"AppID\\{DC5E4736-342D-45FA-9F7C-2FD000BD641A}"})
        DeleteTree(HKEY_CLASSES_ROOT, key);
    DeleteTree(HKEY_CURRENT_USER, std::wstring(kMenuExtKey) + L"\\" + kMenuName);
    if (!menuExtExisted_ && SubkeyNames(HKEY_CURRENT_USER, kMenuExtKey).empty())
        RegDeleteKeyW(HKEY_CURRENT_USER, kMenuExtKey);
    if (!internetExplorerExisted_ && SubkeyNames(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer").empty())
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer");
}
