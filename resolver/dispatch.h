#pragma once
#include <cstdint>
#include <string>

// Fetches the page (first without following redirects), applies the redirect rules,
// and calls the extractor of the page's site. pageUrl is the caller's own copy: the
// Site56 rule rewrites it, and everything after sees the new address.
void ResolveVideoPage(std::string& pageUrl, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                      char* work, uint32_t workSize, std::string& result);

// The four argument forms an extractor may take: the page address or not, the
// override address and its flag or not. The page, header and work buffers with
// their sizes and the result text are always passed.
typedef void (*AddressExtractor)(const char* url, char* page, uint32_t pageSize, char* headers,
                                 uint32_t headerSize, char* work, uint32_t workSize, std::string& result);
typedef void (*AddressOverrideExtractor)(const char* url, char* page, uint32_t pageSize, char* headers,
                                         uint32_t headerSize, char* work, uint32_t workSize,
                                         std::string& result, std::string overrideUrl, bool useOverride);
typedef void (*BuffersExtractor)(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                                 uint32_t workSize, std::string& result);
typedef void (*BuffersOverrideExtractor)(char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                                         char* work, uint32_t workSize, std::string& result,
                                         std::string overrideUrl, bool useOverride);

// A dispatch row's extractor in its form; at most one is set, none for a row that
// is matched and does nothing.
struct Extractor {
    AddressExtractor address;
    AddressOverrideExtractor addressOverride;
    BuffersExtractor buffers;
    BuffersOverrideExtractor buffersOverride;
};
constexpr Extractor WithAddress(AddressExtractor f) { return {f, nullptr, nullptr, nullptr}; }
constexpr Extractor WithAddressAndOverride(AddressOverrideExtractor f) { return {nullptr, f, nullptr, nullptr}; }
constexpr Extractor WithBuffers(BuffersExtractor f) { return {nullptr, nullptr, f, nullptr}; }
constexpr Extractor WithBuffersAndOverride(BuffersOverrideExtractor f) { return {nullptr, nullptr, nullptr, f}; }
constexpr Extractor NoExtractor() { return {nullptr, nullptr, nullptr, nullptr}; }

// Calls the extractor with the arguments of its form; nothing when none is set.
void CallExtractor(const Extractor& e, const char* url, char* page, uint32_t pageSize, char* headers,
                   uint32_t headerSize, char* work, uint32_t workSize, std::string& result,
                   const std::string& overrideUrl, bool useOverride);

// The steps of ResolveVideoPage, for its tests.
struct DispatchPlan {
    std::string overrideUrl;
    bool useOverride = false;
};
// The probe, the redirect rules and the second fetch.
DispatchPlan FetchForDispatch(std::string& pageUrl, char* page, uint32_t pageSize, char* headers,
                              uint32_t headerSize, char* work, uint32_t workSize);
// Index of the dispatch row whose key the page's host holds, or -1.
int DispatchRow(const std::string& pageUrl);
// Name of the site of a dispatch row.
const char* DispatchSite(int row);
// Host key of a dispatch row ("" past the table), and the number of rows.
const char* DispatchKey(int row);
int DispatchRowCount();
