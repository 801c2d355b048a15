// The download benchmark's bare WinHTTP request.
#include "bare_winhttp.h"

#include <winhttp.h>

DWORD BareWinHttpGet(const std::wstring& host, const std::wstring& path, unsigned short port,
                     const std::function<bool(const char*, DWORD)>& sink, char* buffer, DWORD size)
{
    DWORD error = 0;
    HINTERNET session = WinHttpOpen(L"bench", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    HINTERNET connect = session ? WinHttpConnect(session, host.c_str(), port, 0) : nullptr;
    HINTERNET request = connect ? WinHttpOpenRequest(connect, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                     WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                : nullptr;
    if (!request || !WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request, nullptr)) {
        error = GetLastError();
    } else {
        for (DWORD got = 1; got > 0;) {
            if (!WinHttpReadData(request, buffer, size, &got)) {
                error = GetLastError();
                break;
            }
            if (!sink(buffer, got)) {
                error = ERROR_WRITE_FAULT;
                break;
            }
        }
    }
    for (HINTERNET h : {request, connect, session}) {
        if (h)
            WinHttpCloseHandle(h);
    }
    return error;
}
