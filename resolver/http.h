#pragma once
// HTTP requests of the resolver: one GET or POST per call, each on its own handles.
#include <cstdint>

typedef void* HttpRequestHandle;
// Called on the open request before it is sent; adds request headers.
typedef void (*RequestCallback)(HttpRequestHandle request, uint32_t arg);

// GET without and with automatic redirects. bodyLen and headersLen carry the
// capacity in and the count stored out. Give 0, or the platform's error code.
uint32_t HttpGetNoRedirect(const char* server, uint16_t port, const char* path, RequestCallback callback,
                           char* body, uint32_t* bodyLen, char* headers, uint32_t* headersLen,
                           uint32_t callbackArg);
uint32_t HttpGetFollow(const char* server, uint16_t port, const char* path, RequestCallback callback,
                       char* body, uint32_t* bodyLen, char* headers, uint32_t* headersLen,
                       uint32_t callbackArg);
// Form POST; the callback gets 0. bodyLen keeps the caller's value after a failure.
uint32_t HttpPost(const char* server, uint16_t port, const char* path, const char* form, uint32_t formLen,
                  RequestCallback callback, char* body, uint32_t* bodyLen, char* headers,
                  uint32_t* headersLen);

// Adds one "Name: value\r\n" header to an open request.
bool AddRequestHeader(HttpRequestHandle request, const char* header);
// Accept-Language, Accept-Encoding, Connection and Keep-Alive, in this order.
void AddDefaultHeaders(HttpRequestHandle request, uint32_t arg);

enum { kInflateGzip = 1, kInflateDeflate = 2 };
// Inflates a gzip (kind 1) or zlib-wrapped deflate (kind 2) body. outCount: capacity
// in, bytes produced out. Gives 0 at the stream's end, 8 when input or output ran out
// first, or zlib's error; any other kind gives 0.
int InflateBody(const unsigned char* in, uint32_t inLen, unsigned char* out, uint32_t* outCount, int kind);
