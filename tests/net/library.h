#pragma once
// The resolver's exports, loaded from vennix.dll, for tests against the fixture web.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "fixture_client.h"
#include "vennix.h"

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FixtureReset());
        dll = LoadLibraryW(L"vennix.dll");
        ASSERT_NE(dll, nullptr);
        urlDirectlyW = Export<decltype(urlDirectlyW)>("FLV_GetFlvUrlDirectlyW");
        urlW = Export<decltype(urlW)>("FLV_GetFlvUrlW");
        listA = Export<decltype(listA)>("FLV_GetFlvListA");
        listDirectlyA = Export<decltype(listDirectlyA)>("FLV_GetFlvListDirectlyA");
        ASSERT_TRUE(urlDirectlyW && urlW && listA && listDirectlyA);
    }
    void TearDown() override { FreeLibrary(dll); }

    struct Lines {
        std::wstring lines, title;
    };
    // FLV_GetFlvUrlDirectlyW into buffers of the sizes it needs, prefilled with '#'.
    Lines UrlDirectlyW(const wchar_t* pageUrl)
    {
        std::vector<wchar_t> lines(FLV_URL_DW_LINES_UNITS, L'#'), title(FLV_URL_DW_TITLE_UNITS, L'#');
        urlDirectlyW(pageUrl, lines.data(), title.data());
        return Lines{lines.data(), title.data()};
    }

    HMODULE dll = nullptr;
    void(__cdecl* urlDirectlyW)(const wchar_t*, wchar_t*, wchar_t*) = nullptr;
    void(__cdecl* urlW)(const wchar_t*, wchar_t*, wchar_t*) = nullptr;
    void(__cdecl* listA)(const char*, char*) = nullptr;
    void(__cdecl* listDirectlyA)(const char*, char*) = nullptr;

private:
    template <class F>
    F Export(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    }
};
