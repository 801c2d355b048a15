#pragma once
// The updater's HTTP client over WinHTTP: synchronous GET requests on the calling thread,
// one process-wide client, one request at a time.
//
//   std::string body;
//   if (FetchUrlToString(L"http://host/path", body) == 0) ...
//   uint32_t rc = DownloadUrlToFile(L"http://host/setup.exe", OnProgress, L"C:\\dir\\setup.exe");
//
// Results are COM-style codes: 0 success, a system error e as ResultFromError(e)
// (update_rules.h), 1 when writing the file failed.
#include <cstdint>
#include <string>

// total: the last positive Content-Length the client read (0 when none yet); done: the
// bytes of the current download received so far, all of them in the file by the last call.
using DownloadProgress = void (*)(uint32_t total, uint32_t done);

// The body of the reply to a GET, each received chunk up to its first zero byte. Every
// status counts as a reply. On a failure before the request, result is left as it was.
uint32_t FetchUrlToString(std::wstring url, std::string& result);

// Creates or empties the file at path (write access, shared for reading) and writes the body
// into it, calling progress (when not null) after every chunk and once after the last. A
// reply that is not 2xx, a body shorter than its Content-Length, an unreadable length and a
// failed read are failures: no error page or cut body counts as a download.
uint32_t DownloadUrlToFile(std::wstring url, DownloadProgress progress, std::wstring path);
