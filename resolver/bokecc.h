#pragma once
// Bokecc's status interface, shared by the Bokecc extractor and the Yepig pages that
// embed a Bokecc player.
#include <cstdint>
#include <string>

// Asks "/servlet/GetVideoStatus?videoID=" and the id (as it stands) on the Bokecc
// interface host, and sets the result to "<title>", the title="..." text, "</title>",
// then "<flv>", path, "<|>", "</flv>" for every flvPath="..." of the reply up to the
// first empty one. The reply replaces the page; the title is kept in the header buffer
// and each path in the work buffer.
void AskBokeccStatus(const std::string& videoId, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                     char* work, uint32_t workSize, std::string& result);
