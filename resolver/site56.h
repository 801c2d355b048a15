#pragma once
#include <string>

// Site56 page address rebuilt from a player redirect's flvid and URLid values; the
// dispatcher appends Base64Encode(flvid) and ".html".
std::string MakeSite56PageUrl(const std::string& flvid, const std::string& urlid);
std::string Base64Encode(const std::string& text);

// Mode 1 (or any but 0): the plain decoding, from the text's second character on;
// characters outside the alphabet are skipped, and an "=" where a group's third or
// fourth character is sought ends it. Mode 0: the first character's code n, then the
// plain decoding of the plain decoding with its first n bytes dropped; a negative n,
// or one past the first decoding's length, gives "".
std::string Base64Decode(int mode, const std::string& text);
