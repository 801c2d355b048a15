// Registration tables: what registering enters, what removing takes away, and how a failing step
// ends the run; over an in-memory registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "comserver/registry_table.h"
#include "registration.h"
#include "vudav_ids.h"

using namespace comserver;

namespace {

// A registry in memory: keys by root and path (ASCII case folded), each with its values.
class MemoryRegistry : public RegistryWriter {
public:
    int failAtCall = -1;  // this call (counted from 0) fails with 5
    int calls = 0;

    int32_t CreateKey(RegRoot root, const std::u16string& key) override
    {
        if (Fails())
            return 5;
        for (size_t at = key.find(u'\\'); at != std::u16string::npos; at = key.find(u'\\', at + 1))
            keys_[Id(root, key.substr(0, at))];
        keys_[Id(root, key)];
        return 0;
    }
    int32_t SetString(RegRoot root, const std::u16string& key, const std::u16string& name,
                      const std::u16string& text) override
    {
        return Set(root, key, name, u"\"" + text + u"\"");
    }
    int32_t SetNumber(RegRoot root, const std::u16string& key, const std::u16string& name, uint32_t number) override
    {
        std::string digits = std::to_string(number);
        return Set(root, key, name, u"dword:" + std::u16string(digits.begin(), digits.end()));
    }
    int32_t DeleteTree(RegRoot root, const std::u16string& key) override
    {
        if (Fails())
            return 5;
        std::u16string id = Id(root, key);
        for (auto it = keys_.begin(); it != keys_.end();)
            it = (it->first == id || it->first.compare(0, id.size() + 1, id + u"\\") == 0) ? keys_.erase(it) : ++it;
        return 0;
    }
    int32_t DeleteValue(RegRoot root, const std::u16string& key, const std::u16string& name) override
    {
        if (Fails())
            return 5;
        auto it = keys_.find(Id(root, key));
        if (it != keys_.end())
            it->second.erase(name);
        return 0;
    }

    // Every key and value, one line each, in order: `HKCR\key` and `HKCR\key [name]=data`.
    std::vector<std::u16string> Dump() const
    {
        std::vector<std::u16string> lines;
        for (const auto& [key, values] : keys_) {
            lines.push_back(shown_.at(key));
            for (const auto& [name, data] : values)
                lines.push_back(shown_.at(key) + u" [" + name + u"]=" + data);
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }

private:
    bool Fails() { return calls++ == failAtCall; }
    std::u16string Id(RegRoot root, const std::u16string& key)
    {
        std::u16string shown = (root == RegRoot::CurrentUser ? u"HKCU\\" : u"HKCR\\") + key;
        std::u16string id = shown;
        for (char16_t& c : id)
            if (c >= u'A' && c <= u'Z')
                c = static_cast<char16_t>(c - u'A' + u'a');
        shown_.emplace(id, shown);
        return id;
    }
    int32_t Set(RegRoot root, const std::u16string& key, const std::u16string& name, const std::u16string& data)
    {
        if (Fails())
            return 5;
        auto it = keys_.find(Id(root, key));
        if (it == keys_.end())
            return 2;
        it->second[name] = data;
        return 0;
    }

    std::map<std::u16string, std::map<std::u16string, std::u16string>> keys_;
    std::map<std::u16string, std::u16string> shown_;
};

const Replacements kReplacements = {
    {u"APPID", kVudavAppIdText},
    {u"MODULE", u"C:\\Program Files\\QEL Player\\Vudav.dll"},
    {u"CLSID", kVudavClassIdText},
    {u"OLEMISC", kVudavMiscStatusText},
};

int32_t Run(const RegTable& table, RegMode mode, MemoryRegistry& registry)
{
    std::vector<RegStep> steps;
    EXPECT_TRUE(PlanRegistration(table, kReplacements, mode, &steps));
    return RunRegistrationSteps(steps, registry);
}

// The library's registration, in the order the module runs it.
int32_t Register(MemoryRegistry& registry)
{
    int32_t result = Run(kVudavAppIdRegistration, RegMode::Register, registry);
    return result ? result : Run(kVudavControlRegistration, RegMode::Register, registry);
}

int32_t Unregister(MemoryRegistry& registry)
{
    int32_t result = Run(kVudavControlRegistration, RegMode::Remove, registry);
    return result ? result : Run(kVudavAppIdRegistration, RegMode::Remove, registry);
}

std::vector<std::u16string> Sorted(std::vector<std::u16string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Neighbours that registering and removing must leave as they are.
void SeedNeighbours(MemoryRegistry& registry)
{
    registry.CreateKey(RegRoot::ClassesRoot, u"AppID\\{00000000-0000-0000-0000-0000000000AA}");
    registry.CreateKey(RegRoot::ClassesRoot, u"CLSID\\{00000000-0000-0000-0000-0000000000BB}\\InprocServer32");
    registry.SetString(RegRoot::ClassesRoot, u"CLSID\\{00000000-0000-0000-0000-0000000000BB}\\InprocServer32", u"",
                       u"other.dll");
    registry.CreateKey(RegRoot::CurrentUser, u"Software\\Microsoft\\Internet Explorer\\MenuExt\\Other");
}

}  // namespace

TEST(VudavRegistration, RegisterEntersExactlyTheTables)
{
    MemoryRegistry registry;
    ASSERT_EQ(Register(registry), 0);
    const std::u16string clsid = u"HKCR\\CLSID\\{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}";
    const std::u16string menu = u"HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\\使用澜影播放器播放";
    const std::u16string module = u"C:\\Program Files\\QEL Player\\Vudav.dll";
    std::vector<std::u16string> expected = {
        u"HKCR\\AppID",
        u"HKCR\\AppID\\{DC5E4736-342D-45FA-9F7C-2FD000BD641A}",
        u"HKCR\\AppID\\{DC5E4736-342D-45FA-9F7C-2FD000BD641A} []=\"Vudav\"",
        u"HKCR\\AppID\\Vudav.DLL",
        u"HKCR\\AppID\\Vudav.DLL [AppID]=\"{DC5E4736-342D-45FA-9F7C-2FD000BD641A}\"",
        u"HKCR\\Vudav.qelVudav.1",
        u"HKCR\\Vudav.qelVudav.1 []=\"qelVudav Class\"",
        u"HKCR\\Vudav.qelVudav.1\\CLSID",
        u"HKCR\\Vudav.qelVudav.1\\CLSID []=\"{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}\"",
        u"HKCR\\Vudav.qelVudav",
        u"HKCR\\Vudav.qelVudav []=\"qelVudav Class\"",
        u"HKCR\\Vudav.qelVudav\\CLSID",
        u"HKCR\\Vudav.qelVudav\\CLSID []=\"{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}\"",
        u"HKCR\\Vudav.qelVudav\\CurVer",
        u"HKCR\\Vudav.qelVudav\\CurVer []=\"Vudav.qelVudav.1\"",
        u"HKCR\\CLSID",
        clsid,
        clsid + u" []=\"qelVudav Class\"",
        clsid + u" [AppID]=\"{DC5E4736-342D-45FA-9F7C-2FD000BD641A}\"",
        clsid + u"\\ProgID",
        clsid + u"\\ProgID []=\"Vudav.qelVudav\"",
        clsid + u"\\VersionIndependentProgID",
        clsid + u"\\VersionIndependentProgID []=\"Vudav.qelVudav\"",
        clsid + u"\\Programmable",
        clsid + u"\\InprocServer32",
        clsid + u"\\InprocServer32 []=\"" + module + u"\"",
        clsid + u"\\InprocServer32 [ThreadingModel]=\"Apartment\"",
        clsid + u"\\Control",
        clsid + u"\\ToolboxBitmap32",
        clsid + u"\\ToolboxBitmap32 []=\"" + module + u", 102\"",
        clsid + u"\\MiscStatus",
        clsid + u"\\MiscStatus []=\"0\"",
        clsid + u"\\MiscStatus\\1",
        clsid + u"\\MiscStatus\\1 []=\"131473\"",
        clsid + u"\\TypeLib",
        clsid + u"\\TypeLib []=\"{7DC0C1AF-BDDC-4B2B-AE96-7ADCA07EB9D1}\"",
        clsid + u"\\Version",
        clsid + u"\\Version []=\"1.0\"",
        u"HKCU\\Software",
        u"HKCU\\Software\\Microsoft",
        u"HKCU\\Software\\Microsoft\\Internet Explorer",
        u"HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt",
        menu,
        menu + u" []=\"res://" + module + u"/203\"",
        menu + u" [Contexts]=dword:35",
    };
    EXPECT_EQ(registry.Dump(), Sorted(expected));
    EXPECT_EQ(menu.substr(menu.size() - 9), kVudavMenuName);

    // Twice registered equals once.
    ASSERT_EQ(Register(registry), 0);
    EXPECT_EQ(registry.Dump(), Sorted(expected));
}

TEST(VudavRegistration, ForceRemoveKeysAreWrittenAfresh)
{
    MemoryRegistry registry;
    ASSERT_EQ(Register(registry), 0);
    const std::u16string clsid = u"CLSID\\{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}";
    const std::u16string menu = kVudavMenuKey;
    registry.CreateKey(RegRoot::ClassesRoot, clsid + u"\\Stale");
    registry.SetString(RegRoot::ClassesRoot, clsid + u"\\ToolboxBitmap32", u"Old", u"x");
    registry.SetString(RegRoot::CurrentUser, menu, u"Old", u"x");
    registry.CreateKey(RegRoot::ClassesRoot, u"Vudav.qelVudav\\Kept");  // a plain key is only written over
    ASSERT_EQ(Register(registry), 0);

    std::vector<std::u16string> dump = registry.Dump();
    auto has = [&](const std::u16string& line) { return std::find(dump.begin(), dump.end(), line) != dump.end(); };
    EXPECT_FALSE(has(u"HKCR\\" + clsid + u"\\Stale"));
    EXPECT_FALSE(has(u"HKCR\\" + clsid + u"\\ToolboxBitmap32 [Old]=\"x\""));
    EXPECT_FALSE(has(u"HKCU\\" + menu + u" [Old]=\"x\""));
    EXPECT_TRUE(has(u"HKCR\\Vudav.qelVudav\\Kept"));
    EXPECT_TRUE(has(u"HKCR\\" + clsid + u"\\InprocServer32 [ThreadingModel]=\"Apartment\""));
}

TEST(VudavRegistration, RemovingLeavesTheKeptKeysAndTheNeighbours)
{
    MemoryRegistry registry;
    SeedNeighbours(registry);
    registry.CreateKey(RegRoot::ClassesRoot, u"AppID");
    registry.CreateKey(RegRoot::ClassesRoot, u"CLSID");
    std::vector<std::u16string> before = registry.Dump();
    ASSERT_EQ(Register(registry), 0);
    ASSERT_EQ(Unregister(registry), 0);
    EXPECT_EQ(registry.Dump(), before);
    // Removing what is not there succeeds and changes nothing.
    ASSERT_EQ(Unregister(registry), 0);
    EXPECT_EQ(registry.Dump(), before);
}

TEST(VudavRegistration, FirstFailingStepEndsTheRun)
{
    // Register: the AppID table has 6 steps; steps after a failure never run.
    for (int failAt : {0, 3, 6, 15}) {
        MemoryRegistry registry;
        registry.failAtCall = failAt;
        EXPECT_EQ(Register(registry), 5) << failAt;
        EXPECT_EQ(registry.calls, failAt + 1) << failAt;
        MemoryRegistry reference;  // what the steps before the failing one wrote stays
        std::vector<RegStep> app, control;
        ASSERT_TRUE(PlanRegistration(kVudavAppIdRegistration, kReplacements, RegMode::Register, &app));
        ASSERT_TRUE(PlanRegistration(kVudavControlRegistration, kReplacements, RegMode::Register, &control));
        app.insert(app.end(), control.begin(), control.end());
        app.resize(failAt);
        ASSERT_EQ(RunRegistrationSteps(app, reference), 0);
        EXPECT_EQ(registry.Dump(), reference.Dump()) << failAt;
    }
    // Remove: a failure in the control's table leaves the application identifier in place.
    MemoryRegistry registry;
    ASSERT_EQ(Register(registry), 0);
    registry.failAtCall = registry.calls;
    EXPECT_EQ(Unregister(registry), 5);
    std::vector<std::u16string> dump = registry.Dump();
    EXPECT_NE(std::find(dump.begin(), dump.end(), u"HKCR\\AppID\\Vudav.DLL"), dump.end());
}

TEST(RegistrationPlan, TablesThatCannotRun)
{
    const RegRow unknownReplacement[] = {StringRow(RegRoot::ClassesRoot, u"K", u"", u"%NOPE%")};
    const RegRow lonePercent[] = {KeyRow(RegRoot::ClassesRoot, u"K\\100%")};
    const RegRow twoMarkers[] = {KeyRow(RegRoot::ClassesRoot, u"K", RegMark::NoRemove),
                                 StringRow(RegRoot::ClassesRoot, u"k", u"v", u"x", RegMark::ForceRemove)};
    const RegRow forceAfterSubkey[] = {KeyRow(RegRoot::ClassesRoot, u"K\\Sub"),
                                       KeyRow(RegRoot::ClassesRoot, u"K", RegMark::ForceRemove)};
    const RegRow emptyKey[] = {KeyRow(RegRoot::ClassesRoot, u"%APPID%")};
    const RegTable tables[] = {{unknownReplacement, 1}, {lonePercent, 1}, {twoMarkers, 2}, {forceAfterSubkey, 2},
                               {emptyKey, 1}};
    Replacements replacements = {{u"APPID", u""}};
    for (const RegTable& table : tables) {
        std::vector<RegStep> steps;
        EXPECT_FALSE(PlanRegistration(table, replacements, RegMode::Register, &steps)) << table.rows[0].key;
        EXPECT_FALSE(PlanRegistration(table, replacements, RegMode::Remove, &steps)) << table.rows[0].key;
    }
}

TEST(RegistrationPlan, RemovalDeletesOnceUnderTheTopmostKeyAndValuesOfKeptKeys)
{
    const RegRow rows[] = {
        KeyRow(RegRoot::ClassesRoot, u"Kept", RegMark::NoRemove),
        StringRow(RegRoot::ClassesRoot, u"Kept", u"Mine", u"x"),
        StringRow(RegRoot::ClassesRoot, u"Kept\\Owned", u"", u"x"),
        StringRow(RegRoot::ClassesRoot, u"Kept\\Owned\\Sub", u"", u"x"),
        KeyRow(RegRoot::ClassesRoot, u"Kept\\Owned\\Sub\\Deeper", RegMark::NoRemove),
        KeyRow(RegRoot::CurrentUser, u"Kept\\Owned"),  // another root: its own step
    };
    std::vector<RegStep> steps;
    ASSERT_TRUE(PlanRegistration({rows, 6}, {}, RegMode::Remove, &steps));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].op, RegOp::DeleteTree);
    EXPECT_EQ(steps[0].key, u"Kept\\Owned");
    EXPECT_EQ(steps[0].root, RegRoot::ClassesRoot);
    EXPECT_EQ(steps[1].op, RegOp::DeleteTree);
    EXPECT_EQ(steps[1].root, RegRoot::CurrentUser);
    EXPECT_EQ(steps[2].op, RegOp::DeleteValue);
    EXPECT_EQ(steps[2].key, u"Kept");
    EXPECT_EQ(steps[2].name, u"Mine");
}
