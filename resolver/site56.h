#pragma once
#include <string>

// Site56 page address rebuilt from a player redirect's flvid and URLid values; the
// dispatcher appends Base64Encode(flvid) and ".html".
std::string MakeSite56PageUrl(const std::string& flvid, const std::string& urlid);
std::string Base64Encode(const std::string& text);
