#pragma once
// The one fixture for a site's extractor over the in-process transport: fresh buffers
// holding the page text, the dispatcher's call form, the requests it made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dispatch.h"
#include "fake_http.h"

// Runs an extractor on a page text in fresh buffers, as the dispatcher would after its
// fetches. The header and work buffers start with other bytes than zero.
struct ExtractorRun {
    std::vector<char> page, headers, work;

    void Load(const std::string& pageText, size_t pageSize = 1 << 16)
    {
        page.assign(std::max(pageSize, pageText.size() + 1), '\0');
        headers.assign(10240, 'h');
        work.assign(1 << 16, 'w');
        std::copy(pageText.begin(), pageText.end(), page.begin());
    }

    // An extractor of the address form; result holds what it held before.
    std::string operator()(AddressExtractor extract, const std::string& url, const std::string& pageText,
                           std::string result = "")
    {
        Load(pageText);
        extract(url.c_str(), page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()), result);
        return result;
    }

    // An extractor of any form, called as the dispatcher calls it without an override.
    std::string operator()(const Extractor& e, const std::string& url, const std::string& pageText,
                           std::string result, size_t pageSize)
    {
        Load(pageText, pageSize);
        CallExtractor(e, url.c_str(), page.data(), static_cast<uint32_t>(page.size()), headers.data(),
                      static_cast<uint32_t>(headers.size()), work.data(), static_cast<uint32_t>(work.size()),
                      result, "", false);
        return result;
    }
};

class ExtractorTest : public ::testing::Test {
protected:
    void SetUp() override { fakehttp::Reset(); }
    void TearDown() override { fakehttp::Reset(); }

    // Runs the extractor on a page text; result holds what it held before.
    std::string Run(const Extractor& e, const std::string& url, const std::string& pageText,
                    std::string result = "old", size_t pageSize = 1 << 16)
    {
        return run(e, url, pageText, result, pageSize);
    }

    // The one request made: a GET on port 80 with the default headers, redirects followed.
    void ExpectOneGet(const std::string& server, const std::string& path, const std::string& name)
    {
        ASSERT_EQ(fakehttp::Requests().size(), 1u) << name;
        const FakeRequest& r = fakehttp::Requests()[0];
        EXPECT_EQ(r.verb, "GET") << name;
        EXPECT_EQ(r.server, server) << name;
        EXPECT_EQ(r.port, 80) << name;
        EXPECT_EQ(r.path, path) << name;
        EXPECT_TRUE(r.followRedirects) << name;
        EXPECT_EQ(r.headers.size(), 4u) << name;
    }

    ExtractorRun run;
};
