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

// What a download's failures give (each also leaves the file closed):
//   no session, an address that cannot be split, no connection, a failed send or receive:
//     the system's error, e.g. 0x80072EE6 (unrecognised scheme), 0x80072EE7 (unknown host);
//   the file cannot be created: its error, e.g. 0x80070003 (no such folder), no request;
//   a reply that is not 2xx, or a Content-Length that is not a number: kNoDownloadReply,
//     the file empty;
//   a body shorter than its Content-Length (the connection closed early): kBodyCutShort,
//     the file holding the bytes that came;
//   a failed read (a reset: 0x80072746 under Wine): the read's error, the same file;
//   a failed write: kResultWriteFailed (1).
// A failure that left no system error reads E_FAIL (0x80004005), never 0.
constexpr uint32_t kNoDownloadReply = 0x80072F78;  // ERROR_WINHTTP_INVALID_SERVER_RESPONSE
constexpr uint32_t kBodyCutShort = 0x80072EFE;     // ERROR_WINHTTP_CONNECTION_ERROR

// Creates or empties the file at path (write access, shared for reading) and writes the body
// into it, calling progress (when not null) after every chunk and once after the last. A
// reply that is not 2xx, a body shorter than its Content-Length, an unreadable length and a
// failed read are failures: no error page or cut body counts as a download.
uint32_t DownloadUrlToFile(std::wstring url, DownloadProgress progress, std::wstring path);
