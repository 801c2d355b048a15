#pragma once
// Talks to the fixture web server's control host from a test program: adds routes,
// resets, and reads the record of the requests the server received.
#include <string>
#include <vector>

struct RecordedRequest {
    int seq = 0;
    int port = 0;
    std::string requestLine;           // "GET /path HTTP/1.0"
    std::string method, target, version;
    std::vector<std::string> headers;  // "Name: value", in arrival order
    std::string body;

    // Value of the first header with this name (case-insensitive), or "".
    std::string Header(const std::string& name) const;
    // Names of the headers in order.
    std::vector<std::string> HeaderNames() const;
};

bool FixtureReset();
// A JSON route object or list of them.
bool FixtureAddRoutes(const std::string& json);
std::vector<RecordedRequest> FixtureRecord();
// Requests of the record whose Host header (without port) is host.
std::vector<RecordedRequest> FixtureRecordFor(const std::string& host);

// Escapes a text for a JSON string literal (quotes not included).
std::string JsonEscape(const std::string& s);
// Lower-case hexadecimal of bytes, for "body_hex".
std::string HexOf(const std::string& bytes);
