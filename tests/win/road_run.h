#pragma once
// Runs road_host.exe (the link road under a main dialog, as pelorama runs it) from a run
// folder of its own beside the stand-in player and a resolver, with the stand-in browser
// control: the tests navigate its portal and complete its wait page through the control.
//
//   AgentFolder folder;                       // qelplayer.exe and the stand-in resolver
//   ASSERT_TRUE(folder.Create(AgentFolder::OneStream()));
//   RoadRun road(folder.Run());
//   ASSERT_TRUE(road.Start());
//   road.Navigate(L"zflv://play/src=http://www.ku6.com/show/a.html");
//   HWND wait = road.WaitDialog();
//   road.CompleteWaitPage(wait);
//   EXPECT_EQ(road.WaitCancel(L"zflv://..."), "-1");  // the navigation was cancelled
#include <windows.h>

#include <string>
#include <vector>

#include "boxwatch_client.h"
#include "run_folder.h"
#include "standin_client.h"

class RoadRun {
public:
    // The program (road_host.exe of test-bin when empty) is copied as pelorama.exe into the
    // run folder, or into a subfolder of it when one is given.
    explicit RoadRun(RunFolder& run, const std::wstring& subfolder = L"", const std::wstring& program = L"");
    RoadRun(const RoadRun&) = delete;
    RoadRun& operator=(const RoadRun&) = delete;
    ~RoadRun();  // ends a host still running and removes its log

    // Copies the program and its pages (a small loading page when none lies beside it),
    // starts it and waits for its main window; every box it raises is answered "ok".
    bool Start();
    const std::wstring& Folder() const { return folder_; }
    HANDLE Process() const { return process_; }
    DWORD Pid() const { return pid_; }
    HWND MainWindow() const { return main_; }
    HWND Portal() const { return GetDlgItem(main_, 1010); }
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode);

    // The portal navigates to address (BeforeNavigate2 from the control's own loop).
    bool Navigate(const std::wstring& address);
    // The wait dialog once it is up (null after timeoutMs).
    HWND WaitDialog(DWORD timeoutMs = 10000) const;
    // The number of this host's wait dialogs that are up now.
    int WaitDialogCount() const;
    // DocumentComplete on the wait dialog's browser.
    bool CompleteWaitPage(HWND waitDialog);
    // Waits until the wait dialog is gone; false after timeoutMs.
    bool WaitDialogGone(HWND waitDialog, DWORD timeoutMs = 15000) const;
    // The Cancel value that the portal's BeforeNavigate2 of address ended with ("0", "-1"),
    // "" when it has not ended within timeoutMs.
    std::string WaitCancel(const std::wstring& address, DWORD timeoutMs = 15000) const;
    // The stand-in control's calls of this host with the given control id.
    std::vector<StandInCall> Calls(int id) const;
    // Every call of this host's controls, in order (a control out of place logs id 0).
    std::vector<StandInCall> AllCalls() const;
    std::vector<BoxReport> Boxes() const { return boxes_.Reports(); }

private:
    RunFolder& run_;
    std::wstring folder_;
    std::wstring program_;
    std::wstring log_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
    BoxWatcher boxes_;
};
