#pragma once
// Sina's play-list interface, shared by the Sina extractor and the Yepig pages that
// embed a Sina player.
#include <cstdint>
#include <string>

// Asks "/v_play.php?vid=" and the video id (taken as it stands) on the Sina interface
// host, and sets the result to "<title>", the vname text, "</title>", "<flv>", the
// address of every durl element each followed by "<&>", "</flv>". The request address
// is written into the work buffer and fetched from there; the reply replaces the page,
// the title is kept in the header buffer. A failed request gives
// "<title></title><flv></flv>".
void ReadSinaPlayList(const char* vid, char* page, uint32_t pageSize, char* headers, uint32_t headerSize,
                      char* work, uint32_t workSize, std::string& result);
