#pragma once
#include <cstdint>
#include <string>

// Fetches the page (first without following redirects), applies the redirect rules,
// and calls the extractor of the page's site. pageUrl is the caller's own copy: the
// Site56 rule rewrites it, and everything after sees the new address.
void ResolveVideoPage(std::string& pageUrl, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                      char* work, uint32_t workSize, std::string& result);

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
