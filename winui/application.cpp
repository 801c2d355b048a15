#include "application.h"

#include <objbase.h>

#include "command_tail.h"
#include "dialog.h"
#include "progstart.h"
#include "utf16.h"

namespace winui {

namespace {

Application* g_current = nullptr;
const UINT kAppTitleString = 57344;

std::wstring ModuleBaseName(HINSTANCE instance)
{
    std::wstring path = ModuleFilePath(instance);
    size_t slash = path.find_last_of(L"\\/");
    std::wstring base = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    size_t dot = base.rfind(L'.');
    return dot == std::wstring::npos ? base : base.substr(0, dot);
}

std::wstring ResourceString(HINSTANCE instance, UINT id)
{
    wchar_t buffer[256];
    int n = LoadStringW(instance, id, buffer, 256);
    return std::wstring(buffer, n > 0 ? n : 0);
}

}  // namespace

Application::Application(const wchar_t* name)
{
    if (name)
        name_ = name;
    g_current = this;
}

Application::~Application()
{
    if (g_current == this)
        g_current = nullptr;
}

Application* Application::Current()
{
    return g_current;
}

void Application::SetRegistryKey(const wchar_t* key)
{
    profile_.SetKey(key, name_);
}

bool Application::OnCommand(UINT)
{
    return false;
}

std::wstring Application::HelpFilePath() const
{
    return ProgramPathBesideModule(nullptr, ModuleBaseName(nullptr).c_str(), L"hlp");
}

Dialog* Application::ActiveDialog() const
{
    for (HWND start : {GetFocus(), GetActiveWindow()})
        for (HWND hwnd = start; hwnd; hwnd = GetParent(hwnd))  // parent, or a pop-up's owner
            if (auto* dialog = dynamic_cast<Dialog*>(Window::FromHandle(hwnd)))
                return dialog;
    return dynamic_cast<Dialog*>(MainWindow());
}

void Application::OnHelp()
{
    Dialog* dialog = ActiveDialog();
    if (!dialog)
        return;
    HWND owner = MainWindow() && MainWindow()->Handle() ? MainWindow()->Handle() : dialog->Handle();
    // A failed start (no engine, no file) is the engine's to report.
    helpEngine_(owner, HelpFilePath().c_str(), HELP_CONTEXT, kHelpResourceBase + dialog->TemplateId());
}

int Application::Run(HINSTANCE instance)
{
    instance_ = instance;
    if (name_.empty())
        name_ = ResourceString(instance, kAppTitleString);
    if (name_.empty())
        name_ = ModuleBaseName(instance);
    commandLine_ = ToWide(CommandTail(AsU16(GetCommandLineW())));

    HRESULT ole = OleInitialize(nullptr);
    InitInstance();
    int code = ExitInstance();
    if (SUCCEEDED(ole))
        OleUninitialize();
    return code;
}

}  // namespace winui
