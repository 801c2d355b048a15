#include "standin_client.h"

#include "bench_files.h"
#include "wait_for.h"

#include <cstdlib>

namespace {

const ULONG_PTR kCommandData = 0x4E495342;  // "BSIN", as the stand-in expects

// "key=value " at pos; returns the value and moves pos past it.
std::string Field(const std::string& line, size_t& pos, const char* key)
{
    std::string k = std::string(key) + "=";
    if (line.compare(pos, k.size(), k) != 0)
        return "";
    size_t end = line.find(' ', pos);
    if (end == std::string::npos)
        end = line.size();
    std::string value = line.substr(pos + k.size(), end - pos - k.size());
    pos = end < line.size() ? end + 1 : end;
    return value;
}

}  // namespace

std::vector<StandInCall> ReadStandInLog(const std::wstring& path)
{
    std::vector<StandInCall> calls;
    std::string data = ReadWholeFile(path);
    size_t start = 0, end;
    while ((end = data.find('\n', start)) != std::string::npos) {
        std::string line = data.substr(start, end - start);
        start = end + 1;
        size_t pos = 0;
        StandInCall c;
        c.time = std::strtoull(Field(line, pos, "t").c_str(), nullptr, 10);
        c.pid = static_cast<DWORD>(std::strtoul(Field(line, pos, "pid").c_str(), nullptr, 10));
        c.hwnd = reinterpret_cast<HWND>(
            static_cast<ULONG_PTR>(std::strtoull(Field(line, pos, "hwnd").c_str(), nullptr, 16)));
        c.id = std::atoi(Field(line, pos, "id").c_str());
        size_t blank = line.find(' ', pos);
        c.call = line.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
        c.detail = blank == std::string::npos ? "" : line.substr(blank + 1);
        calls.push_back(c);
    }
    return calls;
}

StandInCall WaitForStandInCall(const std::wstring& path,
                               const std::function<bool(const StandInCall&)>& match, int timeoutMs)
{
    StandInCall found;
    WaitFor("the awaited call in the stand-in browser's log", static_cast<DWORD>(timeoutMs), 10, [&] {
        for (const auto& c : ReadStandInLog(path))
            if (match(c)) {
                found = c;
                return true;
            }
        return false;
    });
    return found;
}

bool SendStandInCommand(HWND control, const std::wstring& command)
{
    COPYDATASTRUCT data;
    data.dwData = kCommandData;
    data.cbData = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(command.c_str());
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                               5000, &result) &&
           result == TRUE;
}
