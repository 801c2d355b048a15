// The resolver's HTTP requests on WinINet.
#include "http.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>

namespace {

const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)";
const char kAccept[] =
    "text/xml,application/xml,application/xhtml+xml,text/html;q=0.9,text/plain;q=0.8,image/png,*/*;q=0.5";
const DWORD kReadChunk = 5120;

enum class Kind { GetNoRedirect, GetFollow, Post };

struct Handles {
    HINTERNET root = nullptr, connection = nullptr, request = nullptr;
};

void CloseRequestFirst(Handles& h)
{
    if (h.request)
        InternetCloseHandle(h.request);
    if (h.connection)
        InternetCloseHandle(h.connection);
    if (h.root)
        InternetCloseHandle(h.root);
}

void CloseRootFirst(Handles& h)
{
    if (h.root)
        InternetCloseHandle(h.root);
    if (h.connection)
        InternetCloseHandle(h.connection);
    if (h.request)
        InternetCloseHandle(h.request);
}

uint32_t Request(Kind kind, const char* server, uint16_t port, const char* path, const char* form,
                 uint32_t formLen, RequestCallback callback, uint32_t callbackArg, char* body,
                 uint32_t* bodyLen, char* headers, uint32_t* headersLen)
{
    const bool post = kind == Kind::Post;
    const DWORD capacity = bodyLen ? *bodyLen : 0;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (kind == Kind::GetNoRedirect)
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    DWORD timeout = kind == Kind::GetFollow ? 1000 : 2000;
    DWORD result = 0;
    DWORD total = 0;
    bool readEnded = false;
    Handles h;

    h.root = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!h.root) {
        result = GetLastError();
        if (post)
            return result;
        goto done;
    }
    h.connection = InternetConnectA(h.root, server, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (!h.connection) {
        result = GetLastError();
        goto done;
    }
    {
        LPCSTR accept[] = {kAccept, nullptr};
        h.request = HttpOpenRequestA(h.connection, post ? "POST" : "GET", path, "HTTP/1.0", nullptr, accept,
                                     flags, 0);
    }
    if (!h.request) {
        result = GetLastError();
        goto done;
    }
    {
        DWORD retries = 1;
        InternetSetOptionA(h.request, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
        InternetSetOptionA(h.request, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
        // Some WinINet builds only honour the general receive time-out.
        InternetSetOptionA(h.request, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
        InternetSetOptionA(h.request, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
    }
    if (callback)
        callback(h.request, post ? 0 : callbackArg);
    if (!HttpSendRequestA(h.request, nullptr, 0, post ? const_cast<char*>(form) : nullptr,
                          post ? formLen : 0)) {
        result = GetLastError();
        goto done;
    }
    if (headers) {
        DWORD len = headersLen ? *headersLen : 0;
        if (!HttpQueryInfoA(h.request, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &len, nullptr)) {
            result = GetLastError();
            goto done;
        }
        if (headersLen)
            *headersLen = len;
    }
    if (body && (post || capacity != 0)) {
        for (;;) {
            DWORD want = capacity - total < kReadChunk ? capacity - total : kReadChunk;
            DWORD got = 0;
            if (!InternetReadFile(h.request, body + total, want, &got)) {
                result = GetLastError();
                break;
            }
            if (got == 0) {
                readEnded = true;
                break;
            }
            total += got;
        }
    } else if (!post) {
        readEnded = true;
    }

done:
    if (post) {
        if (readEnded && bodyLen)
            *bodyLen = total;
        CloseRootFirst(h);
    } else {
        if (bodyLen)
            *bodyLen = total;
        CloseRequestFirst(h);
    }
    return result;
}

}  // namespace

uint32_t HttpGetNoRedirect(const char* server, uint16_t port, const char* path, RequestCallback callback,
                           char* body, uint32_t* bodyLen, char* headers, uint32_t* headersLen,
                           uint32_t callbackArg)
{
    return Request(Kind::GetNoRedirect, server, port, path, nullptr, 0, callback, callbackArg, body, bodyLen,
                   headers, headersLen);
}

uint32_t HttpGetFollow(const char* server, uint16_t port, const char* path, RequestCallback callback,
                       char* body, uint32_t* bodyLen, char* headers, uint32_t* headersLen,
                       uint32_t callbackArg)
{
    return Request(Kind::GetFollow, server, port, path, nullptr, 0, callback, callbackArg, body, bodyLen,
                   headers, headersLen);
}

uint32_t HttpPost(const char* server, uint16_t port, const char* path, const char* form, uint32_t formLen,
                  RequestCallback callback, char* body, uint32_t* bodyLen, char* headers,
                  uint32_t* headersLen)
{
    return Request(Kind::Post, server, port, path, form, formLen, callback, 0, body, bodyLen, headers,
                   headersLen);
}

bool AddRequestHeader(HttpRequestHandle request, const char* header)
{
    return HttpAddRequestHeadersA(static_cast<HINTERNET>(request), header,
                                  static_cast<DWORD>(std::strlen(header)), HTTP_ADDREQ_FLAG_ADD) != FALSE;
}
