// The updater's HTTP client on WinHTTP (winhttp.h only: WinINet stays out of this file).
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "decimal.h"
#include "http_client.h"
#include "update_rules.h"

static_assert(kNoDownloadReply == (0x80070000u | ERROR_WINHTTP_INVALID_SERVER_RESPONSE), "status or length");
static_assert(kBodyCutShort == (0x80070000u | ERROR_WINHTTP_CONNECTION_ERROR), "cut body");

namespace {

const wchar_t kAgent[] = L"QEL WinHTTP";
// What a download gathers before it writes.
const DWORD kGatherSize = 64 * 1024;
const wchar_t* const kRequestHeaders[] = {
    L"Accept-Language: zh-cn,zh;q=0.5\r\n",
    L"Connection: keep-alive\r\n",
    L"Keep-Alive: 300\r\n",
    L"Accept-Charset: gb2312,utf-8;q=0.7,*;q=0.7\r\n",
    L"Content-Type: application/x-www-form-urlencoded\r\n",
};

bool WriteAll(HANDLE file, const char* data, DWORD size)
{
    DWORD written = 0;
    return size == 0 || (WriteFile(file, data, size, &written, nullptr) && written == size);
}

// The parts of an address that a request needs.
struct CrackedUrl {
    std::wstring host, path;
    INTERNET_PORT port = 0;
    bool secure = false;
};

class HttpClient {
public:
    HttpClient() = default;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;
    ~HttpClient() { CloseHandles(); }

    uint32_t OpenSession();
    uint32_t GetToString(const std::wstring& url, std::string& result);
    uint32_t GetToFile(const std::wstring& url, HANDLE file, DownloadProgress progress);
    void CloseHandles();

private:
    // A system error code (0 on success).
    static DWORD CrackUrl(const std::wstring& url, CrackedUrl& out);
    // Connects, opens the GET request with the five headers, sends it and receives the
    // reply; false with the last error set on a failure.
    bool SendRequest(const CrackedUrl& url);
    // A system error code (0 when read or absent). replyLength: this reply's length, -1
    // when it has none.
    DWORD QueryContentLength(long long& replyLength);
    bool StatusIsSuccess();

    HINTERNET m_hSession = nullptr;
    HINTERNET m_hConnect = nullptr;
    HINTERNET m_hRequest = nullptr;
    int32_t m_nContentLength = 0;
};

uint32_t HttpClient::OpenSession()
{
    CloseHandles();
    m_hSession = WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    return m_hSession ? 0 : ResultFromError(GetLastError());
}

DWORD HttpClient::CrackUrl(const std::wstring& url, CrackedUrl& out)
{
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts))
        return GetLastError();
    const DWORD hostSize = parts.dwHostNameLength + 1, pathSize = parts.dwUrlPathLength + 1;
    wchar_t* host = static_cast<wchar_t*>(std::malloc(hostSize * sizeof(wchar_t)));
    wchar_t* path = static_cast<wchar_t*>(std::malloc(pathSize * sizeof(wchar_t)));
    if (!host || !path) {
        std::free(host);
        std::free(path);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = hostSize;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = pathSize;
    DWORD error = 0;
    if (WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) {
        out.host.assign(host, parts.dwHostNameLength);
        out.path.assign(path, parts.dwUrlPathLength);
        out.port = parts.nPort;
        out.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    } else {
        error = GetLastError();
    }
    std::free(host);
    std::free(path);
    return error;
}

bool HttpClient::SendRequest(const CrackedUrl& url)
{
    m_hConnect = WinHttpConnect(m_hSession, url.host.c_str(), url.port, 0);
    if (!m_hConnect)
        return false;
    m_hRequest = WinHttpOpenRequest(m_hConnect, L"GET", url.path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                    WINHTTP_DEFAULT_ACCEPT_TYPES, url.secure ? WINHTTP_FLAG_SECURE : 0);
    if (!m_hRequest)
        return false;
    for (const wchar_t* header : kRequestHeaders)
        WinHttpAddRequestHeaders(m_hRequest, header, static_cast<DWORD>(wcslen(header)), WINHTTP_ADDREQ_FLAG_ADD);
    return WinHttpSendRequest(m_hRequest, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
           WinHttpReceiveResponse(m_hRequest, nullptr);
}

DWORD HttpClient::QueryContentLength(long long& replyLength)
{
    replyLength = -1;
    DWORD size = 0;
    SetLastError(0);
    WinHttpQueryHeaders(m_hRequest, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
    const DWORD error = GetLastError();
    if (error == ERROR_WINHTTP_HEADER_NOT_FOUND)
        return 0;
    if (error != ERROR_INSUFFICIENT_BUFFER && error != 0)
        return error;
    wchar_t* text = static_cast<wchar_t*>(std::calloc(size / sizeof(wchar_t) + 1, sizeof(wchar_t)));
    if (!text)
        return ERROR_NOT_ENOUGH_MEMORY;
    DWORD result = 0;
    if (WinHttpQueryHeaders(m_hRequest, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                            WINHTTP_NO_HEADER_INDEX)) {
        // Digits alone, blanks around them allowed; anything else is a length that cannot be read.
        std::string digits;
        for (const wchar_t* p = text; *p; ++p)
            digits += *p < 0x80 ? static_cast<char>(*p) : '?';
        const size_t first = digits.find_first_not_of(" \t"), last = digits.find_last_not_of(" \t");
        if (first == std::string::npos ||
            digits.find_first_not_of("0123456789", first) <= last) {
            result = ERROR_WINHTTP_INVALID_SERVER_RESPONSE;
        } else {
            const long long value = ParseDecimalPrefix64(digits.c_str());
            replyLength = value;
            if (value > 0 && value <= INT32_MAX)
                m_nContentLength = static_cast<int32_t>(value);
        }
    } else {
        result = GetLastError();
    }
    std::free(text);
    return result;
}

bool HttpClient::StatusIsSuccess()
{
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(m_hRequest, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return false;
    if (status < 200 || status > 299) {
        SetLastError(ERROR_WINHTTP_INVALID_SERVER_RESPONSE);
        return false;
    }
    return true;
}

void HttpClient::CloseHandles()
{
    for (HINTERNET* h : {&m_hRequest, &m_hConnect, &m_hSession}) {
        if (*h)
            WinHttpCloseHandle(*h);
        *h = nullptr;
    }
}

uint32_t HttpClient::GetToString(const std::wstring& url, std::string& result)
{
    std::string body;
    CrackedUrl target;
    if (DWORD error = CrackUrl(url, target)) {
        CloseHandles();
        return ResultFromError(error);
    }
    bool ok = SendRequest(target);
    if (ok) {
        DWORD size = 0;
        WinHttpQueryHeaders(m_hRequest, WINHTTP_QUERY_RAW_HEADERS_CRLF, WINHTTP_HEADER_NAME_BY_INDEX,
                            WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            void* headers = std::malloc(size);
            ok = headers && WinHttpQueryHeaders(m_hRequest, WINHTTP_QUERY_RAW_HEADERS_CRLF,
                                                WINHTTP_HEADER_NAME_BY_INDEX, headers, &size, WINHTTP_NO_HEADER_INDEX);
            if (!headers)
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            std::free(headers);
            // The body, chunk by chunk; a failure here ends it with what came so far.
            for (DWORD n = 1; ok && n > 0;) {
                n = 0;
                if (!WinHttpQueryDataAvailable(m_hRequest, &n))
                    break;
                char* chunk = static_cast<char*>(std::calloc(static_cast<size_t>(n) + 1, 1));
                if (!chunk)
                    break;
                DWORD got = 0;
                const bool read = n == 0 || WinHttpReadData(m_hRequest, chunk, n, &got);
                if (read)
                    body += chunk;
                std::free(chunk);
                if (!read)
                    break;
            }
        }
    }
    const DWORD error = ok ? 0 : GetLastError();
    result = body;
    CloseHandles();
    return ok ? 0 : ResultFromError(error);
}

uint32_t HttpClient::GetToFile(const std::wstring& url, HANDLE file, DownloadProgress progress)
{
    CrackedUrl target;
    if (DWORD error = CrackUrl(url, target)) {
        CloseHandles();
        return ResultFromError(error);
    }
    // failed: the request failed, with error the system's code (which may read 0).
    bool failed = false;
    DWORD error = 0;
    long long replyLength = -1;
    if (!SendRequest(target) || !StatusIsSuccess()) {
        failed = true;
        error = GetLastError();
    } else if ((error = QueryContentLength(replyLength)) != 0) {
        failed = true;
    } else {
        // The chunks are gathered in one buffer and written when the next would not fit, and at
        // the end: the service hands out chunks of a few KiB, and a write per chunk costs more
        // than the copy. done counts the bytes received; the last report follows the last write.
        char* buffer = static_cast<char*>(std::malloc(kGatherSize));
        if (!buffer) {
            failed = true;
            error = ERROR_NOT_ENOUGH_MEMORY;
        }
        DWORD held = 0;
        auto flush = [&] {
            const bool ok = WriteAll(file, buffer, held);
            held = 0;
            return ok;
        };
        bool written = true;
        uint32_t done = 0;
        for (DWORD n = buffer ? 1 : 0; n > 0;) {
            n = 0;
            if (!WinHttpQueryDataAvailable(m_hRequest, &n)) {
                failed = true;
                error = GetLastError();
                break;
            }
            if ((n == 0 || n > kGatherSize - held) && !(written = flush()))
                break;
            DWORD got = 0;
            if (n > 0 && !WinHttpReadData(m_hRequest, buffer + held, std::min(n, kGatherSize - held), &got)) {
                failed = true;
                error = GetLastError();
                break;
            }
            held += got;
            done += got;
            if (progress)
                progress(static_cast<uint32_t>(m_nContentLength), done);
            n = got;
        }
        // After a failed read the file keeps the bytes that came.
        written = written && flush();
        std::free(buffer);
        if (!written) {
            CloseHandles();
            return kResultWriteFailed;
        }
        if (!failed && replyLength >= 0 && static_cast<long long>(done) < replyLength) {
            failed = true;
            error = ERROR_WINHTTP_CONNECTION_ERROR;
        }
    }
    CloseHandles();
    return failed ? ResultFromError(error) : 0;
}

HttpClient& Client()
{
    // Kept to the end of the process: a worker still inside a download when the program ends
    // must never find it destroyed.
    static HttpClient* client = new HttpClient;
    return *client;
}

}  // namespace

uint32_t FetchUrlToString(std::wstring url, std::string& result)
{
    HttpClient& client = Client();
    if (uint32_t rc = client.OpenSession())
        return rc;
    return client.GetToString(url, result);
}

uint32_t DownloadUrlToFile(std::wstring url, DownloadProgress progress, std::wstring path)
{
    HttpClient& client = Client();
    if (uint32_t rc = client.OpenSession())
        return rc;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        client.CloseHandles();
        return ResultFromError(error);
    }
    const uint32_t rc = client.GetToFile(url, file, progress);
    CloseHandle(file);
    return rc;
}
