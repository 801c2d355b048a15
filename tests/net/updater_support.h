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
