// Modal dialogs: creation under a CBT hook, so that the object sees WM_CREATE, and the loop.
#include "dialog.h"

#include "application.h"

namespace winui {

namespace {

// The dialog whose window is being created on this thread. Its window procedure is bound
// at the first top-level window the hook sees: the system installs a dialog's own
// procedure only after the window exists, too late for WM_CREATE.
thread_local Dialog* t_creating = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating) {
        const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (!(create->lpcs->style & WS_CHILD)) {
            Dialog* dialog = t_creating;
            t_creating = nullptr;
            dialog->Attach(reinterpret_cast<HWND>(wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Every message reaches the object through the bound window procedure first.
INT_PTR CALLBACK NoDialogProcedure(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

Dialog::Dialog(UINT templateId, Window* parent) : templateId_(templateId), parent_(parent) {}

HWND Dialog::OwnerWindow() const
{
    Window* owner = parent_;
    if (!owner && Application::Current())
        owner = Application::Current()->MainWindow();
    if (!owner || owner == this || !owner->Handle())
        return nullptr;
    return GetAncestor(owner->Handle(), GA_ROOT);
}

bool Dialog::Create(HWND owner)
{
    HHOOK hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    Dialog* outer = t_creating;
    t_creating = this;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                   NoDialogProcedure, 0);
    t_creating = outer;
    if (hook)
        UnhookWindowsHookEx(hook);
    if (hwnd && Handle() != hwnd) {  // the hook did not bind it: no handler saw its start
        DestroyWindow(hwnd);
        return false;
    }
    return hwnd != nullptr;
}

INT_PTR Dialog::DoModal()
{
    ended_ = false;
    result_ = -1;
    HWND owner = OwnerWindow();
    bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    if (Create(owner)) {
        if (!ended_ && Handle() && !IsWindowVisible(Handle()))
            ShowWindow(Handle(), SW_SHOWNORMAL);
        MSG msg;
        while (!ended_ && Handle()) {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == -1)
                break;
            if (got == 0) {  // leave WM_QUIT to the loop outside
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!PreTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (HWND hwnd = Handle()) {
        if (owner && GetActiveWindow() == hwnd)
            SetActiveWindow(owner);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow(hwnd);
    }
    return result_;
}

void Dialog::EndDialog(INT_PTR result)
{
    result_ = result;
    if (!ended_ && Handle())
        PostMessageW(Handle(), WM_NULL, 0, 0);
    ended_ = true;
}

bool Dialog::PreTranslate(MSG& msg)
{
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = GetParent(hwnd)) {
        if (Window* window = FromHandle(hwnd))
            if (window->PreTranslateMessage(msg))
                return true;
        if (hwnd == Handle() || !Handle())
            break;
    }
    // A hosted control in place sees its keys (Tab, Enter, a page's shortcuts) before the
    // dialog's keyboard handling does.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        for (HWND hwnd = msg.hwnd; hwnd && Handle(); hwnd = GetParent(hwnd)) {
            if (Window* window = FromHandle(hwnd))
                if (window->OfferKeyToHostedControls(msg))
                    return true;
            if (hwnd == Handle())
                break;
        }
    }
    return Handle() && IsDialogMessageW(Handle(), &msg);
}

LRESULT Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK) {
            OnOK();
            return 0;
        }
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return 0;
        }
        if (HIWORD(wParam) <= 1) {  // a menu's, a button's click, or an accelerator's
            Application* app = Application::Current();
            if (app && app->OnCommand(LOWORD(wParam)))
                return 0;
        }
        break;
    case WM_HELP:
        OnHelpRequest();
        return TRUE;
    }
    return Window::OnMessage(message, wParam, lParam);
}

void Dialog::OnHelpRequest()
{
    Application* app = Application::Current();
    Window* main = app ? app->MainWindow() : nullptr;
    HWND target = main && main->Handle() ? main->Handle() : Handle();
    SendMessageW(target, WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
}

BOOL Dialog::OnInitDialog()
{
    return TRUE;
}

void Dialog::OnOK()
{
    EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool PaintIconicDialog(HWND hwnd, HICON icon)
{
    if (!IsIconic(hwnd))
        return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rect;
    GetClientRect(hwnd, &rect);
    int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon);
    EndPaint(hwnd, &ps);
    return true;
}

}  // namespace winui
