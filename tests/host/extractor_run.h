#pragma once
// Checks of an extractor of the address form that asks at most one interface, on the
// extractor fixture.
#include "extractor_test.h"

// Exactly one request was made: a GET of url on port 80 that follows redirects and
// carries the four default headers.
inline void ExpectOneInterfaceGet(const std::string& url, const char* what)
{
    ASSERT_EQ(fakehttp::Requests().size(), 1u) << what;
    const FakeRequest& r = fakehttp::Requests()[0];
    EXPECT_EQ(r.verb, "GET") << what;
    EXPECT_EQ("http://" + r.server + r.path, url) << what;
    EXPECT_EQ(r.port, 80) << what;
    EXPECT_TRUE(r.followRedirects) << what;
    EXPECT_EQ(r.headers.size(), 4u) << what;
}

// One run of an extractor that asks at most one interface: the address it must ask
// ("" for none) and the result it must give from "kept" on entry.
struct AskCase {
    const char* what;
    std::string url, page;
    std::string asked;
    std::string result;
};

// Serves reply at the asked address, runs the extractor and checks the result and
// the request.
inline void CheckAsk(ExtractorRun& run, AddressExtractor extract, const AskCase& c, const std::string& reply)
{
    fakehttp::Reset();
    if (!c.asked.empty())
        fakehttp::ServePage(c.asked, reply);
    EXPECT_EQ(run(extract, c.url, c.page, "kept"), c.result) << c.what;
    if (c.asked.empty())
        EXPECT_TRUE(fakehttp::Requests().empty()) << c.what;
    else
        ExpectOneInterfaceGet(c.asked, c.what);
}
