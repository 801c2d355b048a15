#pragma once
// The site extractors and the builders of the dispatcher's redirect rules.
//
// An extractor is called once per resolution, after the page fetches, in one of the
// four forms of dispatch.h: the page address as the dispatcher left it or not; the
// page, header and work buffers with their sizes (the page buffer holds the last
// reply, zero-terminated); the result text (empty on entry); the override address and
// its flag or not. It writes a result text: "<title>", title, "</title>", "<flv>",
// items each ended by "<|>" or "<&>", "</flv>". It may fetch into the buffers it was
// given.
#include <cstdint>
#include <string>

// Whether an extractor may still add an item to its result text. Every output a text
// is fitted into is smaller than the work buffer and takes whole items only, so no
// item begun past workSize bytes can reach one: every extractor that adds an item per
// entry of a reply stops there, however many entries or however long a repeated piece
// a hostile reply holds.
inline bool ResultTakesItems(const std::string& result, uint32_t workSize)
{
    return result.size() <= workSize;
}

void ExtractKu6(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                uint32_t workSize, std::string& result, std::string overrideUrl, bool useOverride);
void ExtractTudou(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result, std::string overrideUrl, bool useOverride);
void ExtractYouku(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work, uint32_t workSize,
                  std::string& result, std::string overrideUrl, bool useOverride);
void ExtractSina(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                 uint32_t workSize, std::string& result);
void ExtractSite6(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work, uint32_t workSize,
                  std::string& result, std::string overrideUrl, bool useOverride);
void ExtractSite56(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result);
void ExtractYepig(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result);
void ExtractBokecc(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result);
void ExtractPomoho(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result);
void ExtractYouTube(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                    uint32_t workSize, std::string& result);
void ExtractCctv(char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work, uint32_t workSize,
                 std::string& result);
void Extract5show(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result);
void ExtractMofile(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                   uint32_t workSize, std::string& result);
void ExtractYahoo(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result);
void ExtractMetacafe(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                     uint32_t workSize, std::string& result);
void ExtractBreak(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result);
void ExtractBaidu(const char* url, char* page, uint32_t pageSize, char* headers, uint32_t headerSize, char* work,
                  uint32_t workSize, std::string& result);

// Interface address of a Ku6 video; empty for an empty vid.
std::string MakeKu6ApiUrl(std::string vid);
// Youku's play-list address from the query of its player address (the redirect target
// as received); seeds the thread's generator from the clock for its "ran" value.
std::string MakeYoukuPlayListUrl(std::string target);
// Tudou's interface address from the iid and refurl values of its player address.
std::string MakeTudouApiUrl(std::string target);
// Site6 interface address of a player address: its p and k values, or its vid, or
// the bare interface prefix.
std::string MakeSite6ApiUrl(std::string pageUrl);
