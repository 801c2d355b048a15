#pragma once
// One GET made with bare WinHTTP calls, for the download benchmark (in a file of its own:
// winhttp.h and wininet.h do not build in one translation unit).
#include <windows.h>

#include <functional>
#include <string>

// Opens a session, connects, opens and sends the request, receives the reply and reads its
// body until a read gives 0 bytes, each read into buffer (size bytes) and handed to sink
// (the last with 0 bytes); a false from sink ends it. 0, or the error that ended it.
DWORD BareWinHttpGet(const std::wstring& host, const std::wstring& path, unsigned short port,
                     const std::function<bool(const char*, DWORD)>& sink, char* buffer, DWORD size);
