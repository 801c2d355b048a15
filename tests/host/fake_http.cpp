#include "fake_http.h"

#include <cstring>
#include <map>
#include <tuple>
#include <utility>

#include "http.h"

namespace {

struct Route {
    std::vector<FakeReply> replies;
    size_t next = 0;
};

std::map<std::tuple<std::string, uint16_t, std::string>, Route>& Table()
{
    static std::map<std::tuple<std::string, uint16_t, std::string>, Route> table;
    return table;
}

std::vector<FakeReply>& Fallback()
{
    static std::vector<FakeReply> fallback;
    return fallback;
}

std::vector<FakeRequest>& Log()
{
    static std::vector<FakeRequest> log;
    return log;
}


void SplitUrl(const std::string& url, std::string& server, std::string& path)
{
    std::string rest = url.compare(0, 7, "http://") == 0 ? url.substr(7) : url;
    size_t slash = rest.find('/');
    server = rest.substr(0, slash);
    path = slash == std::string::npos ? "" : rest.substr(slash);
}

std::function<FakeReply(const FakeRequest&)>& Answerer()
{
    static std::function<FakeReply(const FakeRequest&)> answer;
    return answer;
}

// The reply to a request, from the answering function or the table; false when none.
bool Answer(const FakeRequest& req, FakeReply& reply)
{
    if (Answerer()) {
        reply = Answerer()(req);
        return true;
    }
    auto it = Table().find({req.server, req.port, req.path});
    if (it == Table().end())
    {
        if (Fallback().empty())
            return false;
        reply = Fallback()[0];
        return true;
    }
    Route& r = it->second;
    reply = r.replies[r.next];
    if (r.next + 1 < r.replies.size())
        ++r.next;
    return true;
}

std::string Location(const std::string& headers)
{
    size_t p = headers.find("\r\nLocation: ");
    if (p == std::string::npos)
        return "";
    p += 12;
    return headers.substr(p, headers.find("\r\n", p) - p);
}

bool IsRedirect(const std::string& headers)
{
    std::string status = headers.substr(0, headers.find("\r\n"));
    return status.find(" 301") != std::string::npos || status.find(" 302") != std::string::npos ||
           status.find(" 303") != std::string::npos || status.find(" 307") != std::string::npos;
}

uint32_t Request(const char* verb, bool follow, const char* server, uint16_t port, const char* path,
                 const char* form, uint32_t formLen, RequestCallback callback, uint32_t callbackArg, char* body,
                 uint32_t* bodyLen, char* headers, uint32_t* headersLen, bool post)
{
    FakeRequest req;
    req.verb = verb;
    req.server = server ? server : "";
    req.port = port;
    req.path = path ? path : "";
    req.followRedirects = follow;
    req.callbackArg = callbackArg;
    if (form)
        req.form.assign(form, formLen);
    if (callback)
        callback(&req, callbackArg);
    Log().push_back(req);

    const uint32_t capacity = bodyLen ? *bodyLen : 0;
    auto fail = [&](uint32_t code) {
        if (!post && bodyLen)
            *bodyLen = 0;
        return code;
    };
    FakeReply answer;
    FakeReply* reply = Answer(req, answer) ? &answer : nullptr;
    for (int hops = 0; reply && follow && IsRedirect(reply->headers) && hops < 10; ++hops) {
        std::string next = Location(reply->headers);
        if (next.empty())
            break;
        FakeRequest hop = req;
        SplitUrl(next, hop.server, hop.path);
        hop.port = 80;
        if (hop.path.empty())
            hop.path = "/";
        reply = Answer(hop, answer) ? &answer : nullptr;
    }
    if (!reply)
        return fail(kErrNameNotResolved);
    if (reply->error)
        return fail(reply->error);
    if (headers) {
        uint32_t cap = headersLen ? *headersLen : 0;
        if (reply->headers.size() + 1 > cap)
            return fail(kErrInsufficientBuffer);
        std::memcpy(headers, reply->headers.c_str(), reply->headers.size() + 1);
        *headersLen = static_cast<uint32_t>(reply->headers.size());
    }
    uint32_t n = 0;
    if (body && (post || capacity)) {
        n = reply->body.size() < capacity ? static_cast<uint32_t>(reply->body.size()) : capacity;
        std::memcpy(body, reply->body.data(), n);
    }
    if (bodyLen)
        *bodyLen = n;
    return 0;
}

}  // namespace

namespace fakehttp {

void Reset()
{
    Table().clear();
    Log().clear();
    Fallback().clear();
    Answerer() = nullptr;
}

void ServeFallback(const FakeReply& reply)
{
    Fallback().assign(1, reply);
}

void AnswerWith(std::function<FakeReply(const FakeRequest&)> answer)
{
    Answerer() = std::move(answer);
}

void Serve(const std::string& server, const std::string& path, const FakeReply& reply, uint16_t port)
{
    Table()[{server, port, path}] = Route{{reply}, 0};
}

void ServeSequence(const std::string& url, const std::vector<FakeReply>& replies)
{
    std::string server, path;
    SplitUrl(url, server, path);
    Table()[{server, 80, path}] = Route{replies, 0};
}

FakeReply Page(const std::string& body, const std::string& status, const std::string& extraHeaders)
{
    FakeReply r;
    r.headers = status + "\r\n" + extraHeaders + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    r.body = body;
    return r;
}

void ServePage(const std::string& url, const std::string& body, const std::string& status,
               const std::string& extraHeaders)
{
    std::string server, path;
    SplitUrl(url, server, path);
    Serve(server, path, Page(body, status, extraHeaders));
}

const std::vector<FakeRequest>& Requests()
{
    return Log();
}

std::vector<FakeRequest> RequestsFor(const std::string& url)
{
    std::string server, path;
    SplitUrl(url, server, path);
    std::vector<FakeRequest> out;
    for (const FakeRequest& r : Log()) {
        if (r.server == server && r.path == path)
            out.push_back(r);
    }
    return out;
}

}  // namespace fakehttp

uint32_t HttpGetNoRedirect(const char* server, uint16_t port, const char* path, RequestCallback callback,
                           char* body, uint32_t* bodyLen, char* headers, uint32_t* headersLen,
                           uint32_t callbackArg)
{
    return Request("GET", false, server, port, path, nullptr, 0, callback, callbackArg, body, bodyLen, headers,
                   headersLen, false);
}

uint32_t HttpGetFollow(const char* server, uint16_t port, const char* path, RequestCallback callback,
                       char* body, uint32_t* bodyLen, char* headers, uint32_t* headersLen,
                       uint32_t callbackArg)
{
    return Request("GET", true, server, port, path, nullptr, 0, callback, callbackArg, body, bodyLen, headers,
                   headersLen, false);
}

uint32_t HttpPost(const char* server, uint16_t port, const char* path, const char* form, uint32_t formLen,
                  RequestCallback callback, char* body, uint32_t* bodyLen, char* headers,
                  uint32_t* headersLen)
{
    return Request("POST", true, server, port, path, form, formLen, callback, 0, body, bodyLen, headers,
                   headersLen, true);
}

bool AddRequestHeader(HttpRequestHandle request, const char* header)
{
    if (!request || !header)
        return false;
    static_cast<FakeRequest*>(request)->headers.push_back(header);
    return true;
}
