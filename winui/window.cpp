// Window objects: binding by window property and subclassing, the message procedure.
#include "window.h"

#include <algorithm>

#include "browser_host.h"

namespace winui {

namespace {
const wchar_t kObjectProperty[] = L"winui.Window";
}

Window::~Window()
{
    Detach();
}

Window* Window::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

bool Window::Attach(HWND hwnd)
{
    if (hwnd_ || !hwnd || FromHandle(hwnd))
        return false;
    if (!SetPropW(hwnd, kObjectProperty, static_cast<HANDLE>(this)))
        return false;
    hwnd_ = hwnd;
    PreSubclassWindow();
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure)));
    return true;
}

void Window::Detach()
{
    if (!hwnd_)
        return;
    // Only undo the subclassing when nobody subclassed the window after us.
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Window::Procedure))
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
    previous_ = nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && lParam) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        Window* control = item->CtlType == ODT_MENU ? nullptr : FromHandle(item->hwndItem);
        if (control && control != this && control->OnDrawItem(*item))
            return TRUE;
    }
    if (previous_)
        return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool Window::PreTranslateMessage(MSG&)
{
    return false;
}

bool Window::OfferKeyToHostedControls(MSG& msg)
{
    for (BrowserHost* host : hosted_)
        if (host->OfferKey(msg))
            return true;
    return false;
}

void Window::OnBrowserEvent(int, DISPID, BrowserEventArgs&) {}

bool Window::OnDrawItem(DRAWITEMSTRUCT&)
{
    return false;
}

bool Window::SetTimer(UINT_PTR id, UINT milliseconds)
{
    return hwnd_ && ::SetTimer(hwnd_, id, milliseconds, nullptr) != 0;
}

bool Window::KillTimer(UINT_PTR id)
{
    return hwnd_ && ::KillTimer(hwnd_, id);
}

void Window::CloseHostedControls()
{
    while (!hosted_.empty())
        hosted_.back()->Destroy();  // removes itself from hosted_
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_DESTROY)
        self->CloseHostedControls();
    if (message != WM_NCDESTROY)
        return self->OnMessage(message, wParam, lParam);

    LRESULT result = self->OnMessage(message, wParam, lParam);
    self->Detach();
    self->OnWindowGone();
    return result;
}

}  // namespace winui
