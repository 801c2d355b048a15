#include "fixture_client.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cctype>
#include <cstdio>
#include <sstream>

namespace {

// One HTTP/1.0 exchange with the control host over a plain socket; gives the body.
bool Control(const std::string& method, const std::string& path, const std::string& body, std::string& reply)
{
    static bool started = [] {
        WSADATA wsa;
        return WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    }();
    if (!started)
        return false;
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* ai = nullptr;
    if (getaddrinfo("fixture.control", "80", &hints, &ai) != 0 || !ai)
        return false;
    SOCKET s = socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol);
    bool ok = s != INVALID_SOCKET && connect(s, ai->ai_addr, static_cast<int>(ai->ai_addrlen)) == 0;
    freeaddrinfo(ai);
    if (ok) {
        std::string req = method + " " + path + " HTTP/1.0\r\nHost: fixture.control\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + body;
        ok = send(s, req.data(), static_cast<int>(req.size()), 0) == static_cast<int>(req.size());
    }
    std::string all;
    if (ok) {
        char buf[8192];
        int n;
        while ((n = recv(s, buf, sizeof buf, 0)) > 0)
            all.append(buf, static_cast<size_t>(n));
    }
    if (s != INVALID_SOCKET)
        closesocket(s);
    size_t split = all.find("\r\n\r\n");
    bool status200 = all.compare(0, 12, "HTTP/1.1 200") == 0 || all.compare(0, 12, "HTTP/1.0 200") == 0;
    if (!ok || split == std::string::npos || !status200)
        return false;
    reply = all.substr(split + 4);
    return true;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Unhex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const
{
    std::string want = Lower(name);
    for (const std::string& h : headers) {
        size_t colon = h.find(':');
        if (colon != std::string::npos && Lower(h.substr(0, colon)) == want) {
            size_t v = h.find_first_not_of(' ', colon + 1);
            return v == std::string::npos ? "" : h.substr(v);
        }
    }
    return "";
}

std::vector<std::string> RecordedRequest::HeaderNames() const
{
    std::vector<std::string> names;
    for (const std::string& h : headers)
        names.push_back(h.substr(0, h.find(':')));
    return names;
}

bool FixtureReset()
{
    std::string reply;
    return Control("POST", "/reset", "", reply);
}

bool FixtureAddRoutes(const std::string& json)
{
    std::string reply;
    return Control("POST", "/routes", json, reply);
}

std::vector<RecordedRequest> FixtureRecord()
{
    std::vector<RecordedRequest> out;
    std::string text;
    if (!Control("GET", "/record", "", text))
        return out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 4, "REQ ") != 0)
            continue;
        RecordedRequest r;
        std::sscanf(line.c_str(), "REQ %d %d", &r.seq, &r.port);
        std::getline(in, r.requestLine);
        std::istringstream parts(r.requestLine);
        parts >> r.method >> r.target >> r.version;
        while (std::getline(in, line) && !line.empty())
            r.headers.push_back(line);
        if (std::getline(in, line) && line.compare(0, 5, "BODY ") == 0)
            r.body = Unhex(line.substr(5));
        out.push_back(r);
    }
    return out;
}

std::vector<RecordedRequest> FixtureRecordFor(const std::string& host)
{
    std::vector<RecordedRequest> out;
    for (const RecordedRequest& r : FixtureRecord()) {
        std::string h = Lower(r.Header("Host"));
        if (h.substr(0, h.find(':')) == Lower(host))
            out.push_back(r);
    }
    return out;
}

std::string JsonEscape(const std::string& s)
{
    std::string out;
    char buf[8];
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string HexOf(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}
