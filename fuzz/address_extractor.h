#pragma once
// Runs an extractor of the address form on a hostile page address, page and replies.
// Records: the page address on the first line of the first record and the page after
// it; then the replies, answering the requests in turn.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dispatch.h"
#include "records.h"

struct AddressRun {
    std::string result;  // from `before` on entry
    size_t requests;     // how many the extractor made
    size_t workSize;     // of the work buffer it was given
};

inline AddressRun RunAddressExtractor(AddressExtractor extract, const uint8_t* data, size_t size,
                                      const std::string& before)
{
    static fuzzrec::ExtractorBuffers b;
    std::vector<std::string> records = fuzzrec::Split(data, size);
    std::string pageText;
    const std::string url = fuzzrec::FirstLine(records[0], &pageText);
    fuzzrec::Replies replies(records, 1);
    replies.Serve();
    b.Load(pageText);
    std::string result = before;
    extract(url.c_str(), b.page.data(), static_cast<uint32_t>(b.page.size()), b.headers.data(),
            static_cast<uint32_t>(b.headers.size()), b.work.data(), static_cast<uint32_t>(b.work.size()), result);
    return {result, fakehttp::Requests().size(), b.work.size()};
}
