#pragma once
// The application object: one per program, it runs the program's start routine on the
// user-interface thread.
#include <windows.h>

#include <atomic>
#include <string>

#include "profile.h"

namespace winui {

class Window;

class Application {
public:
    // name: the application name; null takes the application-title string (57344) of the
    // program's module, else the base name of the program file.
    explicit Application(const wchar_t* name = nullptr);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    virtual ~Application();

    // The application object of this program, or null.
    static Application* Current();

    // Initialises OLE on this thread, runs InitInstance and ExitInstance; returns the
    // latter's exit code. Call it from the program's entry point.
    int Run(HINSTANCE instance);
    // The start routine. The program ends when it returns; its result only says whether
    // the program got as far as its main window.
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    HINSTANCE Instance() const { return instance_; }
    const std::wstring& Name() const { return name_; }
    // The command line after the program path, by the run-time library's rule.
    const std::wstring& CommandLine() const { return commandLine_; }

    // The main window; worker threads may read it.
    Window* MainWindow() const { return mainWindow_.load(); }
    void SetMainWindow(Window* window) { mainWindow_.store(window); }

    // Points the profile at HKEY_CURRENT_USER\Software\<key>\<application name>.
    void SetRegistryKey(const wchar_t* key);
    RegistryProfile& Profile() { return profile_; }

private:
    HINSTANCE instance_ = nullptr;
    std::wstring name_;
    std::wstring commandLine_;
    std::atomic<Window*> mainWindow_{nullptr};
    RegistryProfile profile_;
};

}  // namespace winui
