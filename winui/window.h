#pragma once
// Window objects: a C++ object bound to a window handle, whose messages arrive at one
// handler, OnMessage.
#include <windows.h>
#include <oleauto.h>

#include <vector>

namespace winui {

class BrowserHost;
class BrowserEventArgs;

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();  // detaches from a window still bound

    HWND Handle() const { return hwnd_; }
    // The object bound to a window, or null.
    static Window* FromHandle(HWND hwnd);

    // Binds an existing window (a dialog's control, say) to this object by subclassing it;
    // PreSubclassWindow runs first, with Handle() set.
    bool Attach(HWND hwnd);
    // Gives the window back its previous procedure.
    void Detach();

    // Every message of the window; a handler passes what it does not answer to its base,
    // which ends in the window's previous procedure.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Offered every message bound for this window or a window inside it before the modal
    // loop dispatches it; true when the message is handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& msg);
    // A key message bound for a browser control hosted on this window, or a window inside
    // it, goes to that control's in-place active object; true when the control took it.
    bool OfferKeyToHostedControls(MSG& msg);
    // An event of a web browser control hosted on this window (see BrowserHost).
    virtual void OnBrowserEvent(int controlId, DISPID dispid, BrowserEventArgs& args);
    // The drawing of this owner-drawn control, which its parent received as WM_DRAWITEM;
    // true when drawn. The parent's base handler passes it on.
    virtual bool OnDrawItem(DRAWITEMSTRUCT& item);

    // The window's timers; a test's window may record the calls.
    virtual bool SetTimer(UINT_PTR id, UINT milliseconds);
    virtual bool KillTimer(UINT_PTR id);

protected:
    // Attach's hook before the window's procedure is replaced: a control class changes its
    // window's style here (a push button made owner-drawn, say).
    virtual void PreSubclassWindow() {}
    // Called once the window is gone (after WM_NCDESTROY); Handle() is null by then.
    virtual void OnWindowGone() {}

private:
    friend class BrowserHost;
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CloseHostedControls();

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    std::vector<BrowserHost*> hosted_;  // browser controls on this window, closed on WM_DESTROY
};

// A message registered by name (RegisterWindowMessageW); compare it with the message in
// hand, since it has no constant value.
class RegisteredMessage {
public:
    explicit RegisteredMessage(const wchar_t* name) : id_(RegisterWindowMessageW(name)) {}
    operator UINT() const { return id_; }

private:
    UINT id_;
};

}  // namespace winui
