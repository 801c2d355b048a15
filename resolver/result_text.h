#pragma once
// Reading, probing and rebuilding result texts, and writing them as address lines.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

using AliveFn = std::function<bool(const std::string& url)>;

// Appends every item that sep ends, skipping empty ones, each cut to 1203 characters.
// An empty sep gives the whole text as one item.
void SplitList(const char* text, const char* sep, std::vector<std::string>& list);
// Non-overlapping occurrences of marker in text.
int CountOccurrences(const char* text, const char* marker);

// The first title part and the first list part, each at most 4095 characters.
struct ListParts {
    std::string title, items;
};
ListParts TakeFirstParts(const std::string& text);

// Keeps every live alternative (of two or more); segments and a lone alternative are
// not probed. Gives the rebuilt text, or the text unchanged when none answers.
std::string KeepLiveAlternatives(const std::string& text, const AliveFn& alive);
// Keeps the first live alternative (of two or more), else every live segment (of two
// or more candidates); the text unchanged when none answers.
std::string KeepFirstLive(const std::string& text, const AliveFn& alive);

// The result text cut to fit size bytes with its terminator: as it is when it fits,
// else its first title part and first list part with whole items only.
std::string FitResultText(const std::string& text, size_t size);

// Address lines of a list text: the first alternative, or every segment, each cut to
// 1023 characters and ended by "\r\n"; the lines are bounded by linesSize with the
// terminator (whole lines only). hasTitle and hasList tell whether the text held a
// title pair and a "<flv>"; the caller leaves its buffers as they were otherwise.
struct UrlLines {
    bool hasTitle = false, hasList = false;
    std::string title, lines;
};
UrlLines MakeUrlLines(const char* listText, size_t linesSize);
