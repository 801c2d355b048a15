#pragma once
// Helpers for the control's tests under Wine: its files, programs run to their end, the registry.
#include <windows.h>

#include <string>
#include <vector>

#include "run_folder.h"

// The built control (TestBinFolder and SuiteBinFolder come from run_folder.h).
std::wstring VudavDllPath();

// test-bin\run\<name>, made empty.
std::wstring FreshFolder(const std::wstring& name);
bool CopyTo(const std::wstring& from, const std::wstring& to);

struct ProgramRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output;  // standard output and error, as written
};
// Runs a command line to its end (killed after timeoutMs) with no standard input.
ProgramRun RunProgram(const std::wstring& commandLine, const std::wstring& folder = L"", DWORD timeoutMs = 60000);
// regsvr32 /s (and /u): its exit code, or a run that did not finish.
ProgramRun Regsvr32(const std::wstring& dll, bool unregister = false);
// cscript //nologo on a script file.
ProgramRun Cscript(const std::wstring& script, const std::wstring& folder = L"");

// Registry reading.
bool KeyExists(HKEY root, const std::wstring& key);
bool ReadValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* type, std::vector<BYTE>* data);
bool ReadString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring* text);
std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& key);
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& key);
// The key and everything below it, one line a key and a value, in order.
std::vector<std::wstring> DumpTree(HKEY root, const std::wstring& key);
void DeleteTree(HKEY root, const std::wstring& key);

// What the control's registration writes, as keys to look at.
extern const wchar_t kClassKey[];     // below HKEY_CLASSES_ROOT
extern const wchar_t kTypeLibKey[];   // below HKEY_CLASSES_ROOT
extern const wchar_t kInterfaceKey[]; // below HKEY_CLASSES_ROOT
extern const wchar_t kMenuExtKey[];   // below HKEY_CURRENT_USER
extern const wchar_t kMenuName[];

// Leaves the prefix's registry as it was found: removes every trace of the control and the menu
// folder when it made it.
class VudavRegistryGuard {
public:
    VudavRegistryGuard();
    ~VudavRegistryGuard();
    VudavRegistryGuard(const VudavRegistryGuard&) = delete;
    VudavRegistryGuard& operator=(const VudavRegistryGuard&) = delete;

private:
    bool menuExtExisted_;
    bool internetExplorerExisted_;
};
