#include "http.h"

void AddDefaultHeaders(HttpRequestHandle request, uint32_t)
{
    AddRequestHeader(request, "Accept-Language: zh-cn,zh;q=0.5\r\n");
    AddRequestHeader(request, "Accept-Encoding: gzip,deflate\r\n");
    AddRequestHeader(request, "Connection: keep-alive\r\n");
    AddRequestHeader(request, "Keep-Alive: 300\r\n");
}
