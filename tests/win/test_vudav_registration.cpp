// regsvr32 on Vudav.dll: every key and value it writes, read back; what /u removes and what stays.
// CTest runs this program at code page 936 and again at 1252.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "vudav_support.h"

namespace {

const std::wstring kAppIdKey = L"AppID\\{DC5E4736-342D-45FA-9F7C-2FD000BD641A}";
const std::wstring kMenuKey = std::wstring(kMenuExtKey) + L"\\" + kMenuName;

class Registration : public ::testing::Test {
protected:
    static void SetUpTestSuite() { guard_ = new VudavRegistryGuard; }
    static void TearDownTestSuite()
    {
        delete guard_;
        guard_ = nullptr;
    }
    void TearDown() override
    {
        Regsvr32(VudavDllPath(), true);
        DeleteTree(HKEY_CURRENT_USER, std::wstring(kMenuExtKey) + L"\\qel neighbour");
    }

    static VudavRegistryGuard* guard_;
};

VudavRegistryGuard* Registration::guard_ = nullptr;

struct ValueCase {
    HKEY root;
    std::wstring key, name, data;
};

// Every key's values, compared with exactly the ones expected (none for the empty keys).
void ExpectValues(HKEY root, const std::wstring& key, const std::vector<ValueCase>& cases)
{
    std::vector<std::wstring> expectedNames;
    for (const ValueCase& c : cases)
        if (c.root == root && c.key == key)
            expectedNames.push_back(c.name);
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(ValueNames(root, key), expectedNames) << key;
}

std::vector<std::wstring> Traces()
{
    std::vector<std::wstring> all;
    for (const std::wstring& key : {std::wstring(kClassKey), std::wstring(L"Vudav.qelVudav"),
                                    std::wstring(L"Vudav.qelVudav.1"), std::wstring(L"AppID\\Vudav.DLL"), kAppIdKey,
                                    std::wstring(kTypeLibKey), std::wstring(kInterfaceKey)}) {
        std::vector<std::wstring> dump = DumpTree(HKEY_CLASSES_ROOT, key);
        all.insert(all.end(), dump.begin(), dump.end());
    }
    std::vector<std::wstring> menu = DumpTree(HKEY_CURRENT_USER, kMenuKey);
    all.insert(all.end(), menu.begin(), menu.end());
    return all;
}

}  // namespace

TEST(RegistrationCodePage, IsTheOneThisRunIsFor)
{
    const char* expected = std::getenv("SUITE_EXPECT_ACP");
    EXPECT_EQ(GetACP(), expected ? static_cast<UINT>(std::atoi(expected)) : 936u);
}

TEST_F(Registration, EveryKeyAndValueReadsBack)
{
    const std::wstring dll = VudavDllPath();
    ProgramRun run = Regsvr32(dll);
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0u) << run.output;

    const std::wstring clsid = L"{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}";
    const std::wstring appId = L"{DC5E4736-342D-45FA-9F7C-2FD000BD641A}";
    const std::wstring cls = kClassKey;
    HKEY cr = HKEY_CLASSES_ROOT;
    const std::vector<ValueCase> strings = {
        {cr, kAppIdKey, L"", L"Vudav"},
        {cr, L"AppID\\Vudav.DLL", L"AppID", appId},
        {cr, L"Vudav.qelVudav.1", L"", L"qelVudav Class"},
        {cr, L"Vudav.qelVudav.1\\CLSID", L"", clsid},
        {cr, L"Vudav.qelVudav", L"", L"qelVudav Class"},
        {cr, L"Vudav.qelVudav\\CLSID", L"", clsid},
        {cr, L"Vudav.qelVudav\\CurVer", L"", L"Vudav.qelVudav.1"},
        {cr, cls, L"", L"qelVudav Class"},
        {cr, cls, L"AppID", appId},
        {cr, cls + L"\\ProgID", L"", L"Vudav.qelVudav"},
        {cr, cls + L"\\VersionIndependentProgID", L"", L"Vudav.qelVudav"},
        {cr, cls + L"\\InprocServer32", L"", dll},
        {cr, cls + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {cr, cls + L"\\ToolboxBitmap32", L"", dll + L", 102"},
        {cr, cls + L"\\MiscStatus", L"", L"0"},
        {cr, cls + L"\\MiscStatus\\1", L"", L"131473"},
        {cr, cls + L"\\TypeLib", L"", L"{7DC0C1AF-BDDC-4B2B-AE96-7ADCA07EB9D1}"},
        {cr, cls + L"\\Version", L"", L"1.0"},
        {HKEY_CURRENT_USER, kMenuKey, L"", L"res://" + dll + L"/203"},
        {cr, std::wstring(kTypeLibKey) + L"\\1.0\\409\\" + (sizeof(void*) == 8 ? L"win64" : L"win32"), L"", dll},
    };
    for (const ValueCase& c : strings) {
        std::wstring text;
        EXPECT_TRUE(ReadString(c.root, c.key, c.name, &text)) << c.key << L" [" << c.name << L"]";
        EXPECT_EQ(text, c.data) << c.key << L" [" << c.name << L"]";
    }
    std::vector<ValueCase> all = strings;
    all.push_back({HKEY_CURRENT_USER, kMenuKey, L"Contexts", L""});
    for (const std::wstring& key : {cls, cls + L"\\ProgID", cls + L"\\InprocServer32", cls + L"\\MiscStatus\\1",
                                    cls + L"\\Programmable", cls + L"\\Control", std::wstring(L"Vudav.qelVudav")})
        ExpectValues(cr, key, all);
    ExpectValues(HKEY_CURRENT_USER, kMenuKey, all);

    // The class key holds exactly its subkeys, the empty ones included.
    EXPECT_EQ(SubkeyNames(cr, cls),
              (std::vector<std::wstring>{L"Control", L"InprocServer32", L"MiscStatus", L"ProgID", L"Programmable",
                                         L"ToolboxBitmap32", L"TypeLib", L"Version", L"VersionIndependentProgID"}));
    EXPECT_TRUE(SubkeyNames(cr, cls + L"\\Programmable").empty());
    EXPECT_TRUE(SubkeyNames(cr, cls + L"\\Control").empty());

    // Contexts is a 32-bit number, and the menu's name is the Chinese text at any code page.
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadValue(HKEY_CURRENT_USER, kMenuKey, L"Contexts", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), 35u);
    std::vector<std::wstring> menus = SubkeyNames(HKEY_CURRENT_USER, kMenuExtKey);
    EXPECT_NE(std::find(menus.begin(), menus.end(), std::wstring(L"\x4f7f\x7528\x6f9c\x5f71\x64ad\x653e\x5668\x64ad\x653e")),
              menus.end());

    // The type library and its dual interface are registered.
    EXPECT_TRUE(KeyExists(cr, std::wstring(kInterfaceKey) + L"\\TypeLib"));
    if (GetACP() == 936) {  // help strings are GBK text, read through the ANSI code page
        std::wstring help;
        EXPECT_TRUE(ReadString(cr, std::wstring(kTypeLibKey) + L"\\1.0", L"", &help));
        EXPECT_EQ(help, L"Vudav 1.0 类型库");
    }
}

TEST_F(Registration, TwiceRegisteredEqualsOnceAndForceRemoveKeysAreFresh)
{
    const std::wstring dll = VudavDllPath();
    ASSERT_EQ(Regsvr32(dll).exitCode, 0u);
    std::vector<std::wstring> once = Traces();
    ASSERT_FALSE(once.empty());
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kClassKey) + L"\\Stale").c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &stale, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(stale);
    ASSERT_EQ(Regsvr32(dll).exitCode, 0u);
    EXPECT_EQ(Traces(), once);
}

TEST_F(Registration, UnregisterRemovesTheControlAndLeavesTheRest)
{
    HKEY neighbour = nullptr;
    const std::wstring neighbourKey = std::wstring(kMenuExtKey) + L"\\qel neighbour";
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, neighbourKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &neighbour,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(neighbour, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
    RegCloseKey(neighbour);
    std::vector<std::wstring> appIdsBefore = SubkeyNames(HKEY_CLASSES_ROOT, L"AppID");

    const std::wstring dll = VudavDllPath();
    ASSERT_EQ(Regsvr32(dll).exitCode, 0u);
    ProgramRun run = Regsvr32(dll, true);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u) << run.output;

    EXPECT_TRUE(Traces().empty());
    for (const wchar_t* kept : {L"AppID", L"CLSID"})
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kept)) << kept;
    EXPECT_EQ(SubkeyNames(HKEY_CLASSES_ROOT, L"AppID"), appIdsBefore);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, neighbourKey));

    // Removing again, with nothing there, succeeds and changes nothing.
    run = Regsvr32(dll, true);
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(Traces().empty());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, neighbourKey));
}
