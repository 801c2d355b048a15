#pragma once
// In-process stand-in for the resolver's HTTP requests on the host: answers from a
// table of (server, port, path), or from a function, and records every request made.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FakeReply {
    std::string headers;  // raw, each line ended by "\r\n", blank line included
    std::string body;
    uint32_t error = 0;   // when not 0 the request fails with this code before any header
};

struct FakeRequest {
    std::string verb, server, path;
    uint16_t port = 0;
    bool followRedirects = false;
    std::vector<std::string> headers;  // as the callback added them
    std::string form;
    uint32_t callbackArg = 0;
};

namespace fakehttp {

void Reset();
// Answer for server:port and path (exact, query included).
void Serve(const std::string& server, const std::string& path, const FakeReply& reply, uint16_t port = 80);
// Answer for every request that no route answers (until Reset).
void ServeFallback(const FakeReply& reply);
// Replies given in turn to successive requests; the last one repeats.
void ServeSequence(const std::string& url, const std::vector<FakeReply>& replies);
// A reply with a status line, extra header lines and a body.
FakeReply Page(const std::string& body, const std::string& status = "HTTP/1.1 200 OK",
               const std::string& extraHeaders = "");
// Short form: a status line, extra header lines, and a body.
void ServePage(const std::string& url, const std::string& body, const std::string& status = "HTTP/1.1 200 OK",
               const std::string& extraHeaders = "");
// Every request, redirects followed included, answered by this function in place of
// the table (fuzz harnesses answer from their input); an empty function ends this.
void AnswerWith(std::function<FakeReply(const FakeRequest&)> answer);
const std::vector<FakeRequest>& Requests();
// Requests for this address ("http://server/path").
std::vector<FakeRequest> RequestsFor(const std::string& url);

}  // namespace fakehttp

// Error codes the platform gives.
const uint32_t kErrNameNotResolved = 12007;
const uint32_t kErrInsufficientBuffer = 122;
