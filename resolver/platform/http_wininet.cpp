// The resolver's HTTP requests on WinINet.
#include "http.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>

#include "owned_handle.h"

namespace {

const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)";
const char kAccept[] =
    "text/xml,application/xml,application/xhtml+xml,text/html;q=0.9,text/plain;q=0.8,image/png,*/*;q=0.5";
const DWORD kReadChunk = 5120;

enum class Kind { GetNoRedirect, GetFollow, Post };

struct InternetHandleKind : owners::NullIsEmpty<HINTERNET> {
    static void Destroy(HINTERNET handle) noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = owners::Owned<InternetHandleKind>;

struct Handles {
    InternetHandle root, connection, request;

    // A GET closes its request first, a POST its root.
    void Close(bool rootFirst)
    {
        if (rootFirst) {
            root.Reset();
            connection.Reset();
            request.Reset();
        } else {
            request.Reset();
            connection.Reset();
            root.Reset();
        }
    }
};

// Connects, sends and reads on h.root; the error of the step that failed, else 0. total counts
// the body's bytes read, readEnded says the body was read to its end.
DWORD Exchange(Kind kind, Handles& h, const char* server, uint16_t port, const char* path, const char* form,
               uint32_t formLen, RequestCallback callback, uint32_t callbackArg, char* body, DWORD capacity,
               char* headers, uint32_t* headersLen, DWORD& total, bool& readEnded)
{
    const bool post = kind == Kind::Post;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (kind == Kind::GetNoRedirect)
        flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
    DWORD timeout = kind == Kind::GetFollow ? 1000 : 2000;

    h.connection.Reset(InternetConnectA(h.root.Get(), server, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!h.connection)
        return GetLastError();
    LPCSTR accept[] = {kAccept, nullptr};
    h.request.Reset(HttpOpenRequestA(h.connection.Get(), post ? "POST" : "GET", path, "HTTP/1.0", nullptr, accept,
                                     flags, 0));
    if (!h.request)
        return GetLastError();
    HINTERNET request = h.request.Get();
    DWORD retries = 1;
    InternetSetOptionA(request, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(request, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    // Some WinINet builds only honour the general receive time-out.
    InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionA(request, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
    if (callback)
        callback(request, post ? 0 : callbackArg);
    if (!HttpSendRequestA(request, nullptr, 0, post ? const_cast<char*>(form) : nullptr, post ? formLen : 0))
        return GetLastError();
    if (headers) {
        DWORD len = headersLen ? *headersLen : 0;
        if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &len, nullptr))
            return GetLastError();
        if (headersLen)
            *headersLen = len;
    }
    if (!body || (!post && capacity == 0)) {
        readEnded = !post;
        return 0;
    }
    for (;;) {
        DWORD want = capacity - total < kReadChunk ? capacity - total : kReadChunk;
        DWORD got = 0;
        if (!InternetReadFile(request, body + total, want, &got))
            return GetLastError();
        if (got == 0) {
            readEnded = true;
            return 0;
        }
        total += got;
    }
}

uint32_t Request(Kind kind, const char* server, uint16_t port, const char* path, const char* form,
                 uint32_t formLen, RequestCallback callback, uint32_t callbackArg, char* body,
                 uint32_t* bodyLen, char* headers, uint32_t* headersLen)
{
    const bool post = kind == Kind::Post;
    DWORD total = 0;
    bool readEnded = false;
    Handles h;
    h.root.Reset(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    DWORD result = 0;
    if (!h.root) {
        result = GetLastError();
        if (post)
            return result;
    } else {
        result = Exchange(kind, h, server, port, path, form, formLen, callback, callbackArg, body,
                          bodyLen ? *bodyLen : 0, headers, headersLen, total, readEnded);
    }
    if (post) {
        if (readEnded && bodyLen)
            *bodyLen = total;
    } else if (bodyLen) {
        *bodyLen = total;
    }
    h.Close(post);
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
