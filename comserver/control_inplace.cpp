// Windowed in-place activation: the control's child window in its site's window, its place,
// its painting and its messages.
#include <olectl.h>

#include "control.h"
#include "module.h"

namespace comserver {

namespace {

const wchar_t kWindowClass[] = L"ComServerControlWindow";

// The class lives while a control window does: a library that is unloaded and loaded again
// must not find a class that points into its old image.
bool RegisterWindowClass(WNDPROC procedure)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Module().Instance();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

LRESULT CALLBACK ControlBase::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<ControlBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->window_.Reset(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* control = reinterpret_cast<ControlBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    return control->OnMessage(message, wParam, lParam);
}

LRESULT ControlBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
        } else {
            owners::WindowPaint paint(window_.Get());
            Paint(paint.Dc());
        }
        return 0;
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_MOUSEACTIVATE:
        UIActivate();
        break;
    case WM_SETFOCUS:
        UIActivate();
        return 0;
    }
    return DefWindowProcW(window_.Get(), message, wParam, lParam);
}

bool ControlBase::IsReflectedNotification(UINT message)
{
    return message >= OCM__BASE && message < OCM__BASE + WM_USER;
}

LRESULT ControlBase::DefaultReflectedNotification(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window_.Get(), message - OCM__BASE, wParam, lParam);
}

void ControlBase::Paint(HDC dc)
{
    if (!dc)
        return;
    RECT client;
    GetClientRect(window_.Get(), &client);
    OnDraw(dc, client);
}

HRESULT ControlBase::InPlaceActivate(IOleClientSite* site, bool ui)
{
    if (!window_) {
        if (!site)
            return E_UNEXPECTED;
        owners::ComRef<IOleInPlaceSite> inPlaceSite;
        HRESULT result = site->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.ReceiveAny());
        if (FAILED(result))
            return result;
        if (inPlaceSite->CanInPlaceActivate() != S_OK)
            return E_FAIL;
        result = inPlaceSite->OnInPlaceActivate();
        if (FAILED(result))
            return result;
        HWND parent = nullptr;
        RECT position = {}, clip = {};
        OLEINPLACEFRAMEINFO frameInfo = {};
        frameInfo.cb = sizeof frameInfo;
        owners::ComRef<IOleInPlaceFrame> frame;
        owners::ComRef<IOleInPlaceUIWindow> document;
        result = inPlaceSite->GetWindow(&parent);
        if (SUCCEEDED(result))
            result = inPlaceSite->GetWindowContext(frame.Receive(), document.Receive(), &position, &clip, &frameInfo);
        if (SUCCEEDED(result) && !RegisterWindowClass(WindowProcedure))
            result = HRESULT_FROM_WIN32(GetLastError());
        if (SUCCEEDED(result) &&
            !CreateWindowExW(0, kWindowClass, L"", kWindowStyle, position.left, position.top,
                             position.right - position.left, position.bottom - position.top, parent, nullptr,
                             Module().Instance(), this)) {
            DWORD error = GetLastError();
            result = error ? HRESULT_FROM_WIN32(error) : E_FAIL;
        }
        if (FAILED(result)) {
            DestroyControlWindow();  // one whose creation failed after WM_NCCREATE
            frame.Reset();
            document.Reset();
            inPlaceSite->OnInPlaceDeactivate();
            return result;
        }
        inPlaceSite_ = std::move(inPlaceSite);
        frame_ = std::move(frame);
        document_ = std::move(document);
        position_ = position;
        clip_ = clip;
        PlaceWindow();
    } else if (!IsWindowVisible(window_.Get())) {
        ShowWindow(window_.Get(), SW_SHOWNA);
    }
    return ui ? UIActivate() : S_OK;
}

HRESULT ControlBase::UIActivate()
{
    if (!window_ || !inPlaceSite_ || uiActive_)
        return S_OK;
    uiActive_ = true;  // before the focus moves: WM_SETFOCUS comes back here
    inPlaceSite_->OnUIActivate();
    if (GetFocus() != window_.Get())
        SetFocus(window_.Get());
    IOleInPlaceActiveObject* active = this;
    if (frame_) {
        frame_->SetActiveObject(active, nullptr);
        frame_->SetBorderSpace(nullptr);
    }
    if (document_) {
        document_->SetActiveObject(active, nullptr);
        document_->SetBorderSpace(nullptr);
    }
    return S_OK;
}

STDMETHODIMP ControlBase::UIDeactivate()
{
    if (!uiActive_)
        return S_OK;
    uiActive_ = false;
    if (frame_)
        frame_->SetActiveObject(nullptr, nullptr);
    if (document_)
        document_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_)
        inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP ControlBase::InPlaceDeactivate()
{
    if (!inPlaceSite_)
        return S_OK;
    UIDeactivate();
    DestroyControlWindow();
    frame_.Reset();
    document_.Reset();
    owners::ComRef<IOleInPlaceSite> site = std::move(inPlaceSite_);
    site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT position, LPCRECT clip)
{
    if (!position)
        return E_POINTER;
    position_ = *position;
    clip_ = clip ? *clip : *position;
    PlaceWindow();
    return S_OK;
}

void ControlBase::PlaceWindow()
{
    if (!window_)
        return;
    SetWindowPos(window_.Get(), nullptr, position_.left, position_.top, position_.right - position_.left,
                 position_.bottom - position_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Only the part inside the clipping rectangle shows.
    RECT visible;
    if (!IntersectRect(&visible, &position_, &clip_))
        SetRectEmpty(&visible);
    if (EqualRect(&visible, &position_)) {
        SetWindowRgn(window_.Get(), nullptr, TRUE);
        return;
    }
    OffsetRect(&visible, -position_.left, -position_.top);
    owners::OwnedGdi<HRGN> region(CreateRectRgnIndirect(&visible));
    if (region && SetWindowRgn(window_.Get(), region.Get(), TRUE))
        (void)region.Release();  // the system owns it only when it took it
}

void ControlWindowKind::Destroy(HWND window) noexcept
{
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    UnregisterClassW(kWindowClass, Module().Instance());  // fails while another control window lives
}

void ControlBase::DestroyControlWindow()
{
    window_.Reset();
}

STDMETHODIMP ControlBase::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = window_.Get();
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result)
{
    // Messages come to the control's own window; a windowless container has none to forward.
    if (result)
        *result = 0;
    return S_FALSE;
}

STDMETHODIMP ControlBase::GetDropTarget(IDropTarget** target)
{
    if (!target)
        return E_POINTER;
    *target = nullptr;
    return E_NOTIMPL;
}

}  // namespace comserver
