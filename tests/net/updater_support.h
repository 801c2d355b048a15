#pragma once
// Helpers of the updater's tests under Wine: the per-user application-data folder pointed at a
// folder of the test's own (the prefix's registry put back afterwards), the update description
// served by the fixture web, and the built updater.exe run to its end.
//
//   AppDataFolder appData;                      // <temp>\qelappdata-<unique>\, "QEL Player" in it
//   ASSERT_TRUE(appData.Create());
//   ASSERT_TRUE(ServeUpdateDescription("<build>81126</build>"));
//   UpdaterRun run;
//   ASSERT_TRUE(run.Start(SuiteBinFolder() + L"updater.exe"));
//   BoxWatcher boxes; boxes.Start(run.Pid(), {"no"});
//   ASSERT_TRUE(run.WaitExit(20000));
#include <windows.h>

#include <string>
#include <vector>

class AppDataFolder {
public:
    AppDataFolder() = default;
    AppDataFolder(const AppDataFolder&) = delete;
    AppDataFolder& operator=(const AppDataFolder&) = delete;
    ~AppDataFolder();  // puts the registry back and removes the folder with all it holds

    // Makes the folder (with "QEL Player" in it when withQelFolder) and points the user's
    // application-data shell folder at it.
    bool Create(bool withQelFolder = true);
    // Points the shell folder at a folder that does not exist.
    bool PointAtMissingFolder();
    // The folder, ending in "\".
    const std::wstring& Path() const { return path_; }
    std::wstring QelFolder() const { return path_ + L"QEL Player\\"; }
    std::wstring IniPath() const { return QelFolder() + L"update.ini"; }

    // update.ini's bytes; empty when there is none.
    std::string Ini() const;
    // Replaces update.ini with text; empty: no update.ini.
    bool SetIni(const std::string& text) const;

private:
    bool Point(const std::wstring& folder);

    std::wstring path_;
    bool saved_ = false;
};

// The fixture web's address and route of the update description.
extern const char kUpdateHost[];
extern const char kDescriptionPath[];
extern const char kStatisticsPath[];
bool ServeUpdateDescription(const std::string& text);

// One component of a description: its tag, build, address and description (UTF-8).
struct UpdatePart {
    const char* tag;
    std::string build, address, description;
};
// The description's text: the single format (the first part's fields alone) or the list format.
std::string Describe(bool single, const std::vector<UpdatePart>& parts);
// "http://<update host>/setup/<name>".
std::string SetupAddress(const char* name);
// Serves the program-start recorder as the installer at /setup/<name>; extra: more route fields.
bool ServeInstaller(const char* name, const std::string& extra = "");

// Three components, each newer than an update.ini that names none, and what the updater
// shows and leaves of them once both prompts are answered yes.
struct ThreeComponentUpdate {
    std::vector<UpdatePart> parts;           // installers p.exe, a.exe and g.exe
    std::vector<std::wstring> lines;         // the progress dialog's list
    std::vector<const wchar_t*> installers;  // each started once from the application-data folder
    std::vector<std::string> iniAfter;       // update.ini's keys, as IniLines gives them
};
const ThreeComponentUpdate& UpdateOfThreeComponents();

// The keys of update.ini in the order they stand, as "key=value".
std::vector<std::string> IniLines(const std::string& text);

// The built updater.exe (or a copy of it) started as the user starts it.
class UpdaterRun {
public:
    UpdaterRun() = default;
    UpdaterRun(const UpdaterRun&) = delete;
    UpdaterRun& operator=(const UpdaterRun&) = delete;
    ~UpdaterRun();  // ends an updater still running

    bool Start(const std::wstring& path);
    DWORD Pid() const { return pid_; }
    HANDLE Process() const { return process_; }
    bool WaitExit(int timeoutMs);
    bool Running() const;
    DWORD ExitCode() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// The updater's progress dialog as another process reads it.
struct DialogView {
    bool found = false;
    std::wstring caption, text;  // text: static 1001
    std::vector<std::wstring> lines;
    int position = -1;
};
// The visible-or-hidden progress dialog of process pid (caption "澜影更新程序"), or null.
HWND FindProgressDialog(DWORD pid);
DialogView ReadProgressDialog(HWND dialog);

// Reads the progress dialog of a process every 20 milliseconds on a thread of its own and
// keeps the last view that had the most list lines, until Stop().
class DialogSampler {
public:
    explicit DialogSampler(DWORD pid);
    ~DialogSampler();
    DialogSampler(const DialogSampler&) = delete;
    DialogSampler& operator=(const DialogSampler&) = delete;
    // The latest view so far (found false when the dialog was never seen).
    DialogView Latest() const;
    DialogView Stop();

private:
    static DWORD WINAPI Run(LPVOID self);
    DWORD pid_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    mutable CRITICAL_SECTION lock_;
    DialogView view_;
};

// The Linux path of a file in the Z: drive, for the fixture web's body_file.
std::string UnixPathOf(const std::wstring& windowsPath);
