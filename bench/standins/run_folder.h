#pragma once
// A run folder for a program under test, with a blank in its name and a decoy beside it:
//
//   <temp>\qelrun-<unique>\qel run\      the folder: the program, qelplayer.exe, vennix.dll
//   <temp>\qelrun-<unique>\qel.exe       the decoy: the program-start recorder
//
// An unquoted start of "<temp>\qelrun-<unique>\qel run\qelplayer.exe" runs the decoy, which
// records its start in qel.record beside it (DecoyRecord()); a quoted one runs the player.
//
//   RunFolder run;
//   ASSERT_TRUE(run.Create());
//   ASSERT_TRUE(run.AddProgram(TestBinFolder() + L"link_driver_agent.exe", L"qelagent.exe"));
//   ASSERT_TRUE(run.AddStandinPlayer());                 // as qelplayer.exe
//   ASSERT_TRUE(run.AddStandinResolver("page=*\ntitle=T\nline=http://x/1.flv\n"));
//   ... start run.Path() + L"qelagent.exe", read ReadPlayerRecord(run.PlayerRecord()) ...
#include <string>

#include "bench_files.h"

// The folder of the running test program (test-bin), ending in "\".
std::wstring TestBinFolder();
// The deliverables' folder (bin, beside test-bin), ending in "\".
std::wstring SuiteBinFolder();
// Removes a folder (ending in "\") with all it holds.
void RemoveTree(const std::wstring& folder);

class RunFolder {
public:
    RunFolder() = default;
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    ~RunFolder();  // removes both folders and all they hold

    // Makes the folders and puts the decoy in place. tail follows "qel run" in the folder's
    // name (a test may add characters outside the code page).
    bool Create(const std::wstring& tail = L"");
    // The run folder, ending in "\".
    const std::wstring& Path() const { return path_; }
    // The folder above it, where the decoy lies, ending in "\".
    const std::wstring& Parent() const { return parent_; }
    std::wstring DecoyRecord() const { return parent_ + L"qel.record"; }
    // Where the stand-in player beside the program records (unless QEL_PLAYER_RECORD is set).
    std::wstring PlayerRecord() const { return path_ + L"qelplayer.record"; }

    // Copies source into the run folder under name.
    bool AddProgram(const std::wstring& source, const std::wstring& name);
    // The stand-in player as qelplayer.exe.
    bool AddStandinPlayer();
    // The program-start recorder as name (e.g. L"pelorama.exe"); with a window class, it
    // owns a top-level window of that class until WM_CLOSE.
    bool AddRecorder(const std::wstring& name, const std::wstring& windowClass = L"");
    // Where the program name of the run folder records its start (player_record.h).
    std::wstring RecordOf(const std::wstring& name) const;
    // The stand-in resolver as vennix.dll, with its script (UTF-8) as vennix.script.
    bool AddStandinResolver(const std::string& script);
    // Replaces the stand-in resolver's script.
    bool SetResolverScript(const std::string& script);
    // The real vennix.dll from the deliverables' folder.
    bool AddRealResolver();

private:
    std::wstring parent_, path_;
};
