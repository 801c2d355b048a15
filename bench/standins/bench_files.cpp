#include "bench_files.h"

#include <vector>

#include "progstart.h"
#include "wait_for.h"

std::wstring WideFrom(const std::string& bytes, UINT codePage)
{
    if (bytes.empty())
        return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring r(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &r[0], n);
    return r;
}

std::string NarrowTo(const std::wstring& text, UINT codePage)
{
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string r(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &r[0], n, nullptr, nullptr);
    return r;
}

std::string EscapeLine(const std::string& text)
{
    std::string r;
    for (char c : text) {
        if (c == '\\')
            r += "\\\\";
        else if (c == '\n')
            r += "\\n";
        else if (c == '\r')
            r += "\\r";
        else
            r += c;
    }
    return r;
}

std::string UnescapeLine(const std::string& text)
{
    std::string r;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            char c = text[++i];
            r += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        } else {
            r += text[i];
        }
    }
    return r;
}

std::wstring EnvironmentValue(const wchar_t* name)
{
    std::vector<wchar_t> value(32768);  // the longest value there can be
    DWORD n = GetEnvironmentVariableW(name, value.data(), 32768);
    return n > 0 && n < 32768 ? std::wstring(value.data(), n) : std::wstring();
}

std::wstring ModulePath(HMODULE module)
{
    return ModuleFilePath(module);
}

std::string ReadWholeFile(const std::wstring& path)
{
    std::string data;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return data;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n)
        data.append(buf, n);
    CloseHandle(f);
    return data;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(f);
    return ok;
}

void AppendLine(const std::wstring& path, const std::string& line)
{
    HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    std::string data = line + "\n";
    DWORD written = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(f);
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    return WaitFor(("the file " + Utf8(path)).c_str(), timeoutMs, 20, [&] { return FileExists(path); });
}
