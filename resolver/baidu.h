#pragma once
// Baidu's stream address: a drawn "vNN." server of the video base, the video path and
// an access code computed from the video host's info key.
#include <string>

// The stream address of a video path on a base ("" for the default base): the address
// prefix, the path, "?xcode=" and the code. Empty when the info request gives no key:
// there is no stream then.
std::string MakeBaiduVideoUrl(const std::string& path, const std::string& base);
// "http://v", a server number 01 to 99 drawn from the clock-seeded generator, ".", base.
std::string RandomizeHost(const std::string& base);
// The "<key>" text of the info reply for the video path on the prefix's server.
std::string FetchBaiduInfoKey(const std::string& prefix, const std::string& path);
// The text between the first "<key>" and the next "</key>" of the reply (1023 at most).
std::string FetchKeyTag(const std::string& url);
// SHA-1 of fields of the deciphered info key and the video identifier, "_", field 2.
std::string MakeBaiduXcode(const std::string& infoKey, const std::string& videoUrl);
