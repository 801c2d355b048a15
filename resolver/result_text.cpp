#include "result_text.h"

#include <algorithm>
#include <cstring>

#include "extract_between.h"

namespace {

const size_t kPartSize = 4096;
const size_t kItemSize = 1204;
const size_t kLineSize = 1024;

std::string Rebuild(const std::string& title, const std::vector<std::string>& items, const char* sep)
{
    std::string out = "<title>" + title + "</title><flv>";
    for (const std::string& item : items)
        out += item + sep;
    return out + "</flv>";
}

std::vector<std::string> Probe(const std::vector<std::string>& candidates, const AliveFn& alive, bool firstOnly)
{
    std::vector<std::string> kept;
    for (const std::string& c : candidates) {
        if (alive(c)) {
            kept.push_back(c);
            if (firstOnly)
                break;
        }
    }
    return kept;
}

}  // namespace

void SplitList(const char* text, const char* sep, std::vector<std::string>& list)
{
    if (!text || !sep)
        return;
    std::vector<char> item(kItemSize);
    if (!*sep) {
        // No separator to end an item: the whole text is the one item.
        if (*ExtractBetweenA(text, nullptr, nullptr, nullptr, item.data(), item.size()))
            list.push_back(item.data());
        return;
    }
    const char* pos = text;
    while (ExtractBetweenA(pos, nullptr, sep, &pos, item.data(), item.size())) {
        if (item[0])
            list.push_back(item.data());
    }
}

int CountOccurrences(const char* text, const char* marker)
{
    if (!text || !marker || !*marker)
        return 0;
    int n = 0;
    size_t len = std::strlen(marker);
    for (const char* p = FindMarker(text, marker); p; p = FindMarker(p + len, marker))
        ++n;
    return n;
}

ListParts TakeFirstParts(const std::string& text)
{
    std::vector<char> buf(kPartSize, '\0');
    ListParts parts;
    if (ExtractBetweenA(text.c_str(), "<title>", "</title>", nullptr, buf.data(), buf.size()))
        parts.title = buf.data();
    if (ExtractBetweenA(text.c_str(), "<flv>", "</flv>", nullptr, buf.data(), buf.size()))
        parts.items = buf.data();
    return parts;
}

std::string KeepLiveAlternatives(const std::string& text, const AliveFn& alive)
{
    ListParts parts = TakeFirstParts(text);
    std::vector<std::string> alternatives;
    SplitList(parts.items.c_str(), "<|>", alternatives);
    if (alternatives.size() < 2)
        return text;
    std::vector<std::string> kept = Probe(alternatives, alive, false);
    return kept.empty() ? text : Rebuild(parts.title, kept, "<|>");
}

std::string KeepFirstLive(const std::string& text, const AliveFn& alive)
{
    ListParts parts = TakeFirstParts(text);
    std::vector<std::string> candidates;
    SplitList(parts.items.c_str(), "<|>", candidates);
    if (candidates.size() >= 2) {
        std::vector<std::string> kept = Probe(candidates, alive, true);
        return kept.empty() ? text : Rebuild(parts.title, kept, "<|>");
    }
    SplitList(parts.items.c_str(), "<&>", candidates);
    if (candidates.size() < 2)
        return text;
    std::vector<std::string> kept = Probe(candidates, alive, false);
    return kept.empty() ? text : Rebuild(parts.title, kept, "<&>");
}

std::string FitResultText(const std::string& text, size_t size)
{
    if (size == 0)
        return std::string();
    if (text.size() < size)
        return text;
    const size_t room = size - 1;
    // The first title pair and the first list part (to the text's end when unclosed).
    size_t t0 = text.find("<title>"), t1 = std::string::npos;
    if (t0 != std::string::npos)
        t1 = text.find("</title>", t0 + 7);
    const bool hasTitle = t1 != std::string::npos;
    size_t f0 = text.find("<flv>");
    const bool hasList = f0 != std::string::npos;
    std::string items;
    if (hasList) {
        size_t f1 = text.find("</flv>", f0 + 5);
        items = text.substr(f0 + 5, f1 == std::string::npos ? std::string::npos : f1 - f0 - 5);
    }
    const size_t frame = (hasTitle ? 15 : 0) + (hasList ? 11 : 0);
    if (frame > room)
        return std::string();
    std::string out;
    if (hasTitle)
        out = "<title>" + text.substr(t0 + 7, std::min(t1 - t0 - 7, room - frame)) + "</title>";
    if (!hasList)
        return out;
    out += "<flv>";
    // Whole items, each with its terminator, while they fit before "</flv>".
    // Each separator is sought again only once the walk has passed its last place, so
    // a separator that does not occur is sought once, not once per item.
    size_t pos = 0;
    size_t alt = items.find("<|>"), seg = items.find("<&>");
    while (pos < items.size()) {
        if (alt != std::string::npos && alt < pos)
            alt = items.find("<|>", pos);
        if (seg != std::string::npos && seg < pos)
            seg = items.find("<&>", pos);
        size_t end = alt < seg ? alt : seg;
        if (end == std::string::npos || out.size() + (end + 3 - pos) + 6 > room)
            break;
        out.append(items, pos, end + 3 - pos);
        pos = end + 3;
    }
    return out + "</flv>";
}

UrlLines MakeUrlLines(const char* listText, size_t linesSize)
{
    UrlLines r;
    if (!listText || !*listText)
        return r;
    std::vector<char> buf(kLineSize, '\0');
    if (ExtractBetweenA(listText, "<title>", "</title>", nullptr, buf.data(), buf.size())) {
        r.hasTitle = true;
        r.title = buf.data();
    }
    const char* flv = std::strstr(listText, "<flv>");
    if (!flv)
        return r;
    r.hasList = true;
    const char* pos = flv + 5;
    auto add = [&](const std::string& line) {
        if (r.lines.size() + line.size() + 2 + 1 > linesSize)
            return false;
        r.lines += line + "\r\n";
        return true;
    };
    if (CountOccurrences(pos, "<|>") > 0) {
        buf[0] = '\0';
        ExtractBetweenA(pos, nullptr, "<|>", nullptr, buf.data(), buf.size());
        add(buf.data());
        return r;
    }
    while (true) {
        buf[0] = '\0';
        if (!ExtractBetweenA(pos, nullptr, "<&>", &pos, buf.data(), buf.size()) || !buf[0])
            break;
        if (!add(buf.data()))
            break;
    }
    return r;
}
