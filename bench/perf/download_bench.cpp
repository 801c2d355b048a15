// Measurement only, not a test: one download through the updater's DownloadUrlToFile beside
// the same request made with bare platform calls, in one process, to show what Wine itself
// allows: WinHTTP (open, connect, request, send, receive, read until 0 into a fixed buffer,
// write), WinINet (open, connect, request, send, read until 0 into a fixed buffer, write) and
// a Winsock recv loop (one HTTP/1.1 GET, the body after the head written) with 64 KiB and
// with 8 KiB reads, the size WinHTTP reads its socket in under Wine. The updater runs
// first, so the process's peak memory read after it is the updater's own.
// bench/perf/download_bench.sh runs it against the fixture web beside curl on the same file.
//
//   download_bench.exe URL FOLDER [ROAD...]   (roads: updater winhttp wininet winsock winsock8k;
//                                              all by default)
//   -> one line a road: "<road>: bytes=<n> seconds=<s> first=<s> reads=<n> rc=0x<rc>" (first: the
//      time to the first body bytes, most of it the server's), the updater's line also with
//      "working_set_before=<bytes> peak_working_set=<bytes> peak_private=<bytes>" (before: the
//      process's working set as the download began); FOLDER\<road>.bin is its copy.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bare_winhttp.h"
#include "http_client.h"

namespace {

// What a road did: the bytes it wrote, its read calls (progress calls for the updater), when
// the first body bytes came (the Seconds() clock), 0 or the error that ended it.
struct Outcome {
    unsigned long long bytes = 0, reads = 0;
    double first = 0;
    DWORD error = 0;
};

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The first sight of a body's bytes.
void NoteFirst(Outcome& out, unsigned long long got)
{
    if (got > 0 && out.first == 0)
        out.first = Seconds();
}

// Counts a read and writes what it gave; false when the write failed.
bool Keep(Outcome& out, HANDLE file, const char* data, DWORD size)
{
    ++out.reads;
    NoteFirst(out, size);
    out.bytes += size;
    DWORD written = 0;
    if (size == 0 || (WriteFile(file, data, size, &written, nullptr) && written == size))
        return true;
    out.error = GetLastError();
    return false;
}

// What a bare request needs of its address (the fixture's are ASCII).
struct Target {
    std::wstring host, path;
    INTERNET_PORT port = 0;
};

Outcome* g_updater = nullptr;

void CountProgress(uint32_t, uint32_t done)
{
    ++g_updater->reads;
    NoteFirst(*g_updater, done);
}

void BareWinHttp(const Target& target, HANDLE file, DWORD size, Outcome& out)
{
    std::vector<char> buffer(size);
    const DWORD error = BareWinHttpGet(target.host, target.path, target.port, [&](const char* data, DWORD size) {
        return Keep(out, file, data, size);
    }, buffer.data(), size);
    if (!out.error)
        out.error = error;
}

void BareWinInet(const Target& target, HANDLE file, DWORD size, Outcome& out)
{
    HINTERNET session = InternetOpenW(L"bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connect = session ? InternetConnectW(session, target.host.c_str(), target.port, nullptr, nullptr,
                                                   INTERNET_SERVICE_HTTP, 0, 0) : nullptr;
    HINTERNET request = connect ? HttpOpenRequestW(connect, L"GET", target.path.c_str(), nullptr, nullptr, nullptr,
                                                   INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, 0) : nullptr;
    if (!request || !HttpSendRequestW(request, nullptr, 0, nullptr, 0)) {
        out.error = GetLastError();
    } else {
        std::vector<char> buffer(size);
        for (DWORD got = 1; got > 0;) {
            if (!InternetReadFile(request, buffer.data(), size, &got)) {
                out.error = GetLastError();
                break;
            }
            if (!Keep(out, file, buffer.data(), got))
                break;
        }
    }
    for (HINTERNET h : {request, connect, session}) {
        if (h)
            InternetCloseHandle(h);
    }
}

// One HTTP/1.1 GET on a socket; the body is what follows the head, to the server's close.
void BareWinsock(const Target& target, HANDLE file, DWORD readSize, Outcome& out)
{
    const std::string host(target.host.begin(), target.host.end());
    const std::string request =
        "GET " + std::string(target.path.begin(), target.path.end()) + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n";
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    addrinfo hints = {}, *found = nullptr;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(host.c_str(), std::to_string(target.port).c_str(), &hints, &found) != 0) {
        out.error = WSAGetLastError();
        return;
    }
    SOCKET s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (s == INVALID_SOCKET || connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 ||
        send(s, request.data(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size())) {
        out.error = WSAGetLastError();
    } else {
        std::vector<char> buffer(readSize);
        std::string head;
        bool inBody = false;
        for (;;) {
            const int got = recv(s, buffer.data(), static_cast<int>(readSize), 0);
            if (got < 0)
                out.error = WSAGetLastError();
            if (got <= 0)
                break;
            const char* body = buffer.data();
            DWORD size = static_cast<DWORD>(got);
            if (!inBody) {
                NoteFirst(out, size);
                const size_t before = head.size();
                head.append(body, size);
                const size_t end = head.find("\r\n\r\n");
                if (end == std::string::npos)
                    continue;
                inBody = true;
                body += end + 4 - before;
                size -= static_cast<DWORD>(end + 4 - before);
            }
            if (!Keep(out, file, body, size))
                break;
        }
    }
    if (s != INVALID_SOCKET)
        closesocket(s);
    freeaddrinfo(found);
}

// A bare road: cracks the address and creates the copy as DownloadUrlToFile does.
using BareRoad = void (*)(const Target&, HANDLE, DWORD, Outcome&);

Outcome Bare(BareRoad run, DWORD size, const std::wstring& url, const std::wstring& path)
{
    Outcome out;
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) {
        out.error = GetLastError();
        return out;
    }
    Target target;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.port = parts.nPort;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        out.error = GetLastError();
        return out;
    }
    run(target, file, size, out);
    CloseHandle(file);
    return out;
}

struct Road {
    const wchar_t* name;
    BareRoad bare;  // null: the updater
    DWORD size;     // of each read
};

// winsock8k reads as WinHTTP reads its socket under Wine, 8 KiB at a time.
const Road kRoads[] = {
    {L"updater", nullptr, 0},
    {L"winhttp", BareWinHttp, 64 * 1024},
    {L"wininet", BareWinInet, 64 * 1024},
    {L"winsock", BareWinsock, 64 * 1024},
    {L"winsock8k", BareWinsock, 8 * 1024},
};

Outcome Run(const Road& road, const std::wstring& url, const std::wstring& path)
{
    if (road.bare)
        return Bare(road.bare, road.size, url, path);
    Outcome out;
    g_updater = &out;
    out.error = DownloadUrlToFile(url, CountProgress, path);
    g_updater = nullptr;
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: download_bench URL FOLDER [ROAD...]\n");
        return 2;
    }
    const std::wstring url = argv[1], folder = argv[2];
    int failures = 0;
    for (const Road& road : kRoads) {
        bool wanted = argc == 3;
        for (int i = 3; i < argc; ++i)
            wanted = wanted || wcscmp(argv[i], road.name) == 0;
        if (!wanted)
            continue;
        const std::wstring path = folder + L"\\" + road.name + L".bin";
        PROCESS_MEMORY_COUNTERS before = {};
        before.cb = sizeof before;
        GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
        const double start = Seconds();
        const Outcome out = Run(road, url, path);
        const double seconds = Seconds() - start;
        WIN32_FILE_ATTRIBUTE_DATA file = {};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file);
        const unsigned long long bytes =
            (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
        std::printf("%ls: bytes=%llu seconds=%.3f first=%.3f reads=%llu", road.name, bytes, seconds,
                    out.first > 0 ? out.first - start : seconds, out.reads);
        if (!road.bare) {
            PROCESS_MEMORY_COUNTERS memory = {};
            memory.cb = sizeof memory;
            GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
            std::printf(" working_set_before=%llu peak_working_set=%llu peak_private=%llu",
                        static_cast<unsigned long long>(before.WorkingSetSize),
                        static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                        static_cast<unsigned long long>(memory.PeakPagefileUsage));
        }
        std::printf(" rc=0x%08lx\n", static_cast<unsigned long>(out.error));
        std::fflush(stdout);
        failures += out.error != 0;
    }
    return failures == 0 ? 0 : 1;
}
