#pragma once
// FLV_GetFlvUrlDirectlyW of the built vennix.dll, loaded by name as the player's
// programs load it, and a test fixture for the site tests on the fixture web.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "fixture_client.h"
#include "vennix.h"

struct DirectLines {
    std::wstring lines, title;
};

class DirectW {
public:
    DirectW() : dll_(LoadLibraryW(L"vennix.dll"))
    {
        if (dll_)
            call_ = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(dll_, "FLV_GetFlvUrlDirectlyW")));
    }
    ~DirectW()
    {
        if (dll_)
            FreeLibrary(dll_);
    }
    DirectW(const DirectW&) = delete;
    DirectW& operator=(const DirectW&) = delete;

    bool Loaded() const { return call_ != nullptr; }

    // Both outputs start filled with '#', so that an output left unwritten shows.
    DirectLines operator()(const std::string& pageUrl) const
    {
        std::vector<wchar_t> lines(FLV_URL_DW_LINES_UNITS, L'#'), title(FLV_URL_DW_TITLE_UNITS, L'#');
        call_(std::wstring(pageUrl.begin(), pageUrl.end()).c_str(), lines.data(), title.data());
        return {lines.data(), title.data()};
    }

private:
    typedef void(__cdecl* Call)(const wchar_t*, wchar_t*, wchar_t*);
    HMODULE dll_;
    Call call_ = nullptr;
};

// A fresh fixture record and the loaded library for every test.
class SiteWeb : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FixtureReset());
        ASSERT_TRUE(resolve.Loaded());
    }
    DirectW resolve;
};

// An ASCII text as UTF-16.
inline std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

// The request targets the fixture web received for a host, in order.
inline std::vector<std::string> TargetsFor(const std::string& host)
{
    std::vector<std::string> out;
    for (const RecordedRequest& r : FixtureRecordFor(host))
        out.push_back(r.target);
    return out;
}

typedef std::vector<std::string> Targets;
