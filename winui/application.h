#pragma once
// The application object: one per program, it runs the program's start routine on the
// user-interface thread.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "profile.h"

namespace winui {

class Window;
class Dialog;

// The help command (a program's F1 and its help buttons), answered by the application.
constexpr UINT ID_HELP = 57670;
// A window's or dialog's help context: this base plus its template's resource id.
constexpr ULONG_PTR kHelpResourceBase = 0x20000;

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

    // A command that no window answered (a menu's, an accelerator's, ID_HELP): the
    // application's own entries. True when answered.
    virtual bool OnCommand(UINT id);
    // The help handler: asks the help engine for the program's help file with the context
    // of the active dialog (kHelpResourceBase plus its template id), on behalf of the main
    // window. Shows nothing of its own when the engine cannot start.
    void OnHelp();
    // The help file: the program's own path with the extension "hlp".
    std::wstring HelpFilePath() const;
    // The dialog whose help F1 asks for: the one holding the focus, else the active window,
    // else the main window; null when none is one of ours.
    Dialog* ActiveDialog() const;

    // The help engine's call: WinHelpW, unless a test records the request in its place.
    using HelpEngine = std::function<BOOL(HWND window, const wchar_t* file, UINT command, ULONG_PTR data)>;
    void SetHelpEngine(HelpEngine engine) { helpEngine_ = std::move(engine); }

private:
    HINSTANCE instance_ = nullptr;
    std::wstring name_;
    std::wstring commandLine_;
    std::atomic<Window*> mainWindow_{nullptr};
    RegistryProfile profile_;
    HelpEngine helpEngine_ = WinHelpW;
};

}  // namespace winui
