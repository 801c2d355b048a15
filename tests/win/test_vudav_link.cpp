// AddLink starts the agent beside the library: a script creates the control by its programmatic
// identifier and calls AddLink; the program-start recorder, as the agent, records the command
// line it was started with.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Vudav_h.h"
#include "player_record.h"
#include "vudav_support.h"

namespace {

// The library and the agent stand-in in a run folder with a blank in its name, whose unquoted
// start would run the decoy above it; a renamed copy in another; the script host runs in the
// folder above the first, where another agent stand-in lies.
class AddLinkRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        guard_ = new VudavRegistryGuard;
        run_ = new RunFolder;
        renamed_ = new RunFolder;
        const std::wstring recorder = TestBinFolder() + L"standin_recorder.exe";
        ASSERT_TRUE(run_->Create() && renamed_->Create());
        ASSERT_TRUE(run_->AddProgram(VudavDllPath(), L"Vudav.dll"));
        ASSERT_TRUE(renamed_->AddProgram(VudavDllPath(), L"Linkctl.dll"));
        for (const std::wstring& folder : {run_->Path(), renamed_->Path(), run_->Parent()})
            ASSERT_TRUE(CopyTo(recorder, folder + L"qelagent.exe"));
    }
    static void TearDownTestSuite()
    {
        Regsvr32(run_->Path() + L"Vudav.dll", true);
        Regsvr32(renamed_->Path() + L"Linkctl.dll", true);
        delete guard_;
        delete run_;
        delete renamed_;
        guard_ = nullptr;
        run_ = renamed_ = nullptr;
    }
    void SetUp() override
    {
        for (const std::wstring& folder : {run_->Path(), renamed_->Path(), run_->Parent()})
            DeleteFileW(RecorderRecordPath(folder + L"qelagent.exe").c_str());
    }
    void TearDown() override
    {
        EXPECT_EQ(Record(run_->Parent(), 0), L"(not started)");  // the host's current folder
        EXPECT_FALSE(FileExists(run_->DecoyRecord())) << "an unquoted start ran the decoy";
        EXPECT_FALSE(FileExists(renamed_->DecoyRecord())) << "an unquoted start ran the decoy";
    }

    // Registers dll, then runs a script that calls AddLink with the given JScript expressions.
    static void CallFromScript(const std::wstring& dll, const std::string& arguments)
    {
        ProgramRun registered = Regsvr32(dll);
        ASSERT_EQ(registered.exitCode, 0u) << registered.output;
        std::wstring script = run_->Parent() + L"call.js";
        ASSERT_TRUE(WriteWholeFile(script, "try {\n"
                                           "    var control = new ActiveXObject(\"Vudav.qelVudav\");\n"
                                           "    control.AddLink(" + arguments + ");\n"
                                           "    WScript.Quit(0);\n"
                                           "} catch (e) {\n"
                                           "    WScript.Echo(\"script error \" + e.number + \" \" + e.message);\n"
                                           "    WScript.Quit(3);\n"
                                           "}\n"));
        ProgramRun run = Cscript(script, run_->Parent());
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0u) << run.output;
    }

    // The record of the agent in folder: show code and command line.
    static std::wstring Record(const std::wstring& folder, DWORD waitMs = 15000)
    {
        const std::wstring path = RecorderRecordPath(folder + L"qelagent.exe");
        if (!WaitForRecord(path, 1, true, waitMs))
            return L"(not started)";
        const PlayerStart start = ReadPlayerRecord(path).starts.at(0);
        return std::to_wstring(start.showCode) + L"\n" + start.commandLine;
    }

    static std::wstring Started(const std::wstring& folder, const std::wstring& arguments)
    {
        return L"5\n\"" + folder + L"qelagent.exe\"" + arguments;
    }

    static VudavRegistryGuard* guard_;
    static RunFolder *run_, *renamed_;
};

VudavRegistryGuard* AddLinkRoad::guard_ = nullptr;
RunFolder *AddLinkRoad::run_ = nullptr, *AddLinkRoad::renamed_ = nullptr;

}  // namespace

TEST_F(AddLinkRoad, ScriptStartsTheAgentBesideTheLibraryWithTheExactLine)
{
    struct Case {
        const char* arguments;
        const wchar_t* expected;
    } cases[] = {
        {"null, \"http://v.ku6.com/show/a.html\", \"http://www.ku6.com/\", \"clip one\"",
         L" /url http://v.ku6.com/show/a.html /location http://www.ku6.com/ /info clip one"},
        // Characters outside the Chinese code page (Thai, a pair of surrogates) and Chinese ones.
        {"null, \"http://v/\\u4e2d\", \"http://p/\\u0e01\", \"\\u6f9c\\u5f71 \\ud83c\\udfac\"",
         L" /url http://v/\u4e2d /location http://p/\u0e01 /info \u6f9c\u5f71 \U0001F3AC"},
        {"null, null, \"\", null", L" /url  /location  /info "},
    };
    for (const Case& c : cases) {
        SetUp();
        CallFromScript(run_->Path() + L"Vudav.dll", c.arguments);
        EXPECT_EQ(Record(run_->Path()), Started(run_->Path(), c.expected)) << c.arguments;
    }
}

TEST_F(AddLinkRoad, RenamedCopyStartsTheAgentOfItsOwnFolder)
{
    CallFromScript(renamed_->Path() + L"Linkctl.dll", "null, \"http://v/r\", \"p\", \"t\"");
    EXPECT_EQ(Record(renamed_->Path()), Started(renamed_->Path(), L" /url http://v/r /location p /info t"));
    EXPECT_EQ(Record(run_->Path(), 0), L"(not started)");
}

TEST_F(AddLinkRoad, LongValuesAreShortenedToTheSystemLimit)
{
    // /info is cut so that the line fills the limit exactly (32767 units with the terminating zero).
    CallFromScript(run_->Path() + L"Vudav.dll", "null, \"http://v/a\", \"http://p/\", new Array(40001).join(\"i\")");
    std::wstring record = Record(run_->Path());
    std::wstring head = Started(run_->Path(), L" /url http://v/a /location http://p/ /info ");
    ASSERT_EQ(record.compare(0, head.size(), head), 0);
    EXPECT_EQ(record.size() - 2, 32766u);  // less the show code's line
    EXPECT_EQ(record.find_first_not_of(L'i', head.size()), std::wstring::npos);

    // An address that cannot fit by itself starts nothing; the call still succeeds.
    SetUp();
    CallFromScript(run_->Path() + L"Vudav.dll", "null, new Array(40001).join(\"u\"), \"p\", \"t\"");
    EXPECT_EQ(Record(run_->Path(), 2000), L"(not started)");
}

TEST_F(AddLinkRoad, InProcessNullStringsAreEmptyValues)
{
    HMODULE dll = LoadLibraryW((run_->Path() + L"Vudav.dll").c_str());
    ASSERT_NE(dll, nullptr);
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    ASSERT_NE(getClassObject, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(CLSID_qelVudav, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IqelVudav* control = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IqelVudav, reinterpret_cast<void**>(&control)), S_OK);
    factory->Release();
    EXPECT_EQ(control->AddLink(nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Record(run_->Path()), Started(run_->Path(), L" /url  /location  /info "));
    control->Release();
    FreeLibrary(dll);
}
