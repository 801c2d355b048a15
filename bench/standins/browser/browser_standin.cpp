// Stand-in web browser control for the test prefix: an in-process server registered under
// the browser's class id. It logs every call made on it (standin_log.h), answers the
// dispatch ids a host uses, asks its site to apply a put position the way the system's
// control does (OnPosRectChange, nothing moved until the site calls SetObjectRects), and
// fires events on a test's command (README.md). It loads no page and fires
// BeforeNavigate2 inside Navigate, as the system's control does; it draws the words of a
// local page it navigated to (standin_page.h), for screenshots.
//
// Written against the toolchain's own interface headers, so that it checks the hosts'
// hand-written declarations rather than sharing them.
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "standin_log.h"
#include "standin_page.h"

namespace {

HINSTANCE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

const wchar_t kWindowClass[] = L"BrowserStandIn";
const ULONG_PTR kCommandData = 0x4E495342;  // "BSIN"
const UINT kFireMessage = WM_APP + 1;

// Method and property ids of the browser's dispatch interface, as its type library gives them.
const DISPID kGoBack = 100, kGoForward = 101, kNavigate = 104, kRefresh = -550;
const DISPID kLeft = 206, kTop = 207, kWidth = 208, kHeight = 209, kVisible = 402;

std::wstring IidText(REFIID iid)
{
    wchar_t buf[64];
    StringFromGUID2(iid, buf, 64);
    return buf;
}

std::wstring VariantText(const VARIANT* v)
{
    if (v && v->vt == (VT_BYREF | VT_VARIANT))
        v = v->pvarVal;
    if (!v)
        return L"";
    if (v->vt == VT_BSTR && v->bstrVal)
        return std::wstring(v->bstrVal, SysStringLen(v->bstrVal));
    VARIANT copy;
    VariantInit(&copy);
    std::wstring text;
    if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(v), 0, VT_BSTR)) && copy.bstrVal)
        text.assign(copy.bstrVal, SysStringLen(copy.bstrVal));
    VariantClear(&copy);
    return text;
}

class StandInBrowser;

class EventPoint final : public IConnectionPoint {
public:
    explicit EventPoint(StandInBrowser* owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** e) override
    {
        if (e)
            *e = nullptr;
        return E_NOTIMPL;
    }

    std::vector<IDispatch*> Sinks() const;  // each AddRef'd
    void ReleaseAll();

private:
    StandInBrowser* owner_;
    std::vector<std::pair<DWORD, IDispatch*>> sinks_;
    DWORD next_ = 1;
};

class StandInBrowser final : public IOleObject,
                             public IOleInPlaceObject,
                             public IOleInPlaceActiveObject,
                             public IDispatch,
                             public IConnectionPointContainer {
public:
    StandInBrowser() : point_(this) { ++g_objects; }

    HWND Window() const { return hwnd_; }
    void Log(const std::wstring& call) const { StandInLog(hwnd_, call); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
            *out = static_cast<IOleInPlaceActiveObject*>(this);
        else if (IsEqualIID(iid, IID_IDispatch))
            *out = static_cast<IDispatch*>(this);
        else if (IsEqualIID(iid, IID_IConnectionPointContainer))
            *out = static_cast<IConnectionPointContainer*>(this);
        Log(L"QueryInterface " + IidText(iid) + (*out ? L" S_OK" : L" E_NOINTERFACE"));
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --refs_;
        if (n == 0) {
            Log(L"Destroyed");
            Deactivate();
            point_.ReleaseAll();
            if (site_)
                site_->Release();
            --g_objects;
            delete this;
        }
        return n;
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override
    {
        Log(std::wstring(L"SetClientSite ") + (site ? L"site" : L"null"));
        if (site)
            site->AddRef();
        if (site_)
            site_->Release();
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        Log(L"GetClientSite");
        if (!site)
            return E_POINTER;
        *site = site_;
        if (site_)
            site_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override
    {
        Log(L"SetHostNames");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close(DWORD option) override
    {
        Log(L"Close option=" + std::to_wstring(option));
        Deactivate();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return NotImpl(L"SetMoniker"); }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override
    {
        if (m)
            *m = nullptr;
        return NotImpl(L"GetMoniker");
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return NotImpl(L"InitFromData"); }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** d) override
    {
        if (d)
            *d = nullptr;
        return NotImpl(L"GetClipboardData");
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT rect) override
    {
        Log(L"DoVerb verb=" + std::to_wstring(verb) + L" parent=" +
            Hex(reinterpret_cast<ULONG_PTR>(parent)) + L" rect=" + (rect ? RectText(*rect) : L"null"));
        if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE &&
            verb != OLEIVERB_PRIMARY)
            return OLEOBJ_S_INVALIDVERB;
        if (!hwnd_) {
            HRESULT hr = Activate(site ? site : site_);
            if (FAILED(hr))
                return hr;
        }
        if (verb != OLEIVERB_INPLACEACTIVATE)
            ShowWindow(hwnd_, SW_SHOW);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** e) override
    {
        if (e)
            *e = nullptr;
        return NotImpl(L"EnumVerbs");
    }
    HRESULT STDMETHODCALLTYPE Update() override { return NotImpl(L"Update"); }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return NotImpl(L"IsUpToDate"); }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return NotImpl(L"GetUserClassID"); }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return NotImpl(L"GetUserType"); }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL* size) override
    {
        Log(L"SetExtent " + (size ? std::to_wstring(size->cx) + L"," + std::to_wstring(size->cy) : L"null"));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return NotImpl(L"GetExtent"); }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return NotImpl(L"Advise"); }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return NotImpl(L"Unadvise"); }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return NotImpl(L"EnumAdvise"); }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        Log(L"GetMiscStatus");
        if (status)
            *status = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return NotImpl(L"SetColorScheme"); }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        Log(L"GetWindow");
        if (!window)
            return E_POINTER;
        *window = hwnd_;
        return hwnd_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return NotImpl(L"ContextSensitiveHelp"); }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override
    {
        Log(L"InPlaceDeactivate");
        Deactivate();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override
    {
        Log(L"UIDeactivate");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override
    {
        Log(L"SetObjectRects pos=" + (position ? RectText(*position) : L"null") + L" clip=" +
            (clip ? RectText(*clip) : L"null"));
        if (!position)
            return E_INVALIDARG;
        pos_ = *position;
        if (hwnd_)
            SetWindowPos(hwnd_, nullptr, pos_.left, pos_.top, pos_.right - pos_.left,
                         pos_.bottom - pos_.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return NotImpl(L"ReactivateAndUndo"); }

    // IOleInPlaceActiveObject: every key offered is logged; the keys a test claimed are taken.
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override
    {
        if (!msg)
            return E_INVALIDARG;
        bool claimed = false;
        for (WPARAM key : claimedKeys_)
            claimed = claimed || key == msg->wParam;
        Log(L"TranslateAccelerator msg=" + Hex(msg->message) + L" key=" + std::to_wstring(msg->wParam) +
            L" target=" + Hex(reinterpret_cast<ULONG_PTR>(msg->hwnd)) + (claimed ? L" S_OK" : L" S_FALSE"));
        return claimed ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IDispatch: the browser's calls by dispatch id
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return NotImpl(L"GetTypeInfo"); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return NotImpl(L"GetIDsOfNames");
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** e) override
    {
        if (e)
            *e = nullptr;
        return NotImpl(L"EnumConnectionPoints");
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        Log(L"FindConnectionPoint " + IidText(iid));
        if (!point)
            return E_POINTER;
        *point = nullptr;
        if (!IsEqualIID(iid, DIID_DWebBrowserEvents2))
            return CONNECT_E_NOCONNECTION;
        *point = &point_;
        point_.AddRef();
        return S_OK;
    }

    // Draws the page's words, centred, in the page font of the pages (12 px, 宋体).
    void Paint();

    // A test's command: "<event> [address]".
    bool Command(const std::wstring& command);
    // "ClaimKeys [key ...]": the virtual keys (decimal) TranslateAccelerator takes from now on.
    void ClaimKeys(const std::wstring& keys);

private:
    HRESULT NotImpl(const wchar_t* call)
    {
        Log(std::wstring(call) + L" E_NOTIMPL");
        return E_NOTIMPL;
    }
    HRESULT Activate(IOleClientSite* site);
    void Deactivate();
    HRESULT PutPosition(DISPID dispid, LONG value);
    LONG Position(DISPID dispid) const;
    // Fires an event to every sink; args last to first.
    void Fire(const wchar_t* name, DISPID dispid, VARIANT* args, UINT count);
    VARIANT_BOOL FireBeforeNavigate2(const std::wstring& url);
    void FireWithAddress(const wchar_t* name, DISPID dispid, const std::wstring& url);

    std::atomic<ULONG> refs_{1};
    IOleClientSite* site_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    HWND hwnd_ = nullptr;
    RECT pos_ = {};
    VARIANT_BOOL visible_ = VARIANT_TRUE;
    bool historyFails_ = false;
    std::vector<WPARAM> claimedKeys_;
    std::wstring pageText_;  // what the window draws
    EventPoint point_;
    friend LRESULT CALLBACK StandInWindowProc(HWND, UINT, WPARAM, LPARAM);
};

HRESULT EventPoint::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint))
        return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

// The point lives inside its control and shares its reference count.
ULONG EventPoint::AddRef()
{
    return owner_->AddRef();
}

ULONG EventPoint::Release()
{
    return static_cast<IOleObject*>(owner_)->Release();
}

HRESULT EventPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** c)
{
    if (!c)
        return E_POINTER;
    *c = owner_;
    owner_->AddRef();
    return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    IDispatch* dispatch = nullptr;
    if (!sink || !cookie)
        return E_POINTER;
    if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        owner_->Log(L"Advise CONNECT_E_CANNOTCONNECT");
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = next_++;
    sinks_.emplace_back(*cookie, dispatch);
    owner_->Log(L"Advise cookie=" + std::to_wstring(*cookie));
    return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie)
{
    owner_->Log(L"Unadvise cookie=" + std::to_wstring(cookie));
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->first == cookie) {
            it->second->Release();
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

std::vector<IDispatch*> EventPoint::Sinks() const
{
    std::vector<IDispatch*> out;
    for (const auto& s : sinks_) {
        s.second->AddRef();
        out.push_back(s.second);
    }
    return out;
}

void EventPoint::ReleaseAll()
{
    for (auto& s : sinks_)
        s.second->Release();
    sinks_.clear();
}

LRESULT CALLBACK StandInWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* control = reinterpret_cast<StandInBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_COPYDATA: {
        // The command is fired later from the message loop, so the sender never waits
        // for what the event's handler does.
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!control || !data || data->dwData != kCommandData)
            return FALSE;
        auto* text = new std::wstring(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        while (!text->empty() && text->back() == L'\0')
            text->pop_back();
        control->Log(L"Command " + *text);
        if (text->compare(0, 9, L"ClaimKeys") == 0) {  // takes effect before the call returns
            control->ClaimKeys(text->substr(9));
            delete text;
            return TRUE;
        }
        PostMessageW(hwnd, kFireMessage, 0, reinterpret_cast<LPARAM>(text));
        return TRUE;
    }
    case kFireMessage: {
        auto* text = reinterpret_cast<std::wstring*>(lParam);
        if (control) {
            control->AddRef();
            if (!control->Command(*text))
                control->Log(L"CommandUnknown " + *text);
            static_cast<IOleObject*>(control)->Release();
        }
        delete text;
        return 0;
    }
    case WM_PAINT:
        if (control) {
            control->Paint();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (control)
            control->hwnd_ = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterWindowClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = StandInWindowProc;
    wc.hInstance = g_module;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassExW(&wc) != 0;
}

HRESULT StandInBrowser::Activate(IOleClientSite* site)
{
    RegisterWindowClass();
    if (!site)
        return E_UNEXPECTED;
    if (!inPlaceSite_ &&
        FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite_))))
        return E_NOINTERFACE;
    if (inPlaceSite_->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    inPlaceSite_->OnInPlaceActivate();
    HWND parent = nullptr;
    inPlaceSite_->GetWindow(&parent);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof info;
    HRESULT hr = inPlaceSite_->GetWindowContext(&frame, &document, &pos_, &clip, &info);
    if (frame)
        frame->Release();
    if (document)
        document->Release();
    hwnd_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, pos_.left,
                            pos_.top, pos_.right - pos_.left, pos_.bottom - pos_.top, parent, nullptr,
                            g_module, nullptr);
    if (hwnd_)
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Log(L"Activated parent=" + Hex(reinterpret_cast<ULONG_PTR>(parent)) + L" rect=" + RectText(pos_) +
        L" clip=" + RectText(clip) + L" context=" + Hex(static_cast<ULONG>(hr)) +
        L" frameinfo=" + Hex(reinterpret_cast<ULONG_PTR>(info.hwndFrame)));
    return hwnd_ ? S_OK : E_FAIL;
}

void StandInBrowser::Deactivate()
{
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (inPlaceSite_) {
        inPlaceSite_->OnInPlaceDeactivate();
        inPlaceSite_->Release();
        inPlaceSite_ = nullptr;
    }
}

LONG StandInBrowser::Position(DISPID dispid) const
{
    switch (dispid) {
    case kLeft: return pos_.left;
    case kTop: return pos_.top;
    case kWidth: return pos_.right - pos_.left;
    default: return pos_.bottom - pos_.top;
    }
}

HRESULT StandInBrowser::PutPosition(DISPID dispid, LONG value)
{
    // Like the system's control: change one edge of the last applied rectangle and ask the
    // site to apply it; the window moves only when the site calls SetObjectRects.
    if (!inPlaceSite_)
        return E_UNEXPECTED;
    RECT rect = pos_;
    switch (dispid) {
    case kLeft: rect.left = value; break;
    case kTop: rect.top = value; break;
    case kWidth: rect.right = rect.left + value; break;
    default: rect.bottom = rect.top + value; break;
    }
    HRESULT hr = inPlaceSite_->OnPosRectChange(&rect);
    Log(L"OnPosRectChange rect=" + RectText(rect) + L" hr=" + Hex(static_cast<ULONG>(hr)));
    return hr;
}

HRESULT StandInBrowser::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO*, UINT*)
{
    const UINT count = params ? params->cArgs : 0;
    const VARIANT* first = count ? &params->rgvarg[count - 1] : nullptr;  // declared first
    static const struct {
        DISPID id;
        const wchar_t* name;
    } kNames[] = {{kGoBack, L"GoBack"}, {kGoForward, L"GoForward"}, {kNavigate, L"Navigate"},
                  {kRefresh, L"Refresh"}, {kLeft, L"Left"},         {kTop, L"Top"},
                  {kWidth, L"Width"},   {kHeight, L"Height"},       {kVisible, L"Visible"}};
    const wchar_t* name = nullptr;
    for (const auto& n : kNames)
        if (n.id == dispid)
            name = n.name;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const bool get = !put && (flags & DISPATCH_PROPERTYGET) && !(flags & DISPATCH_METHOD);
    if (result)
        VariantInit(result);
    if (!name) {
        Log(L"Invoke dispid=" + std::to_wstring(dispid) + L" DISP_E_MEMBERNOTFOUND");
        return DISP_E_MEMBERNOTFOUND;
    }

    switch (dispid) {
    case kNavigate: {
        std::wstring url = VariantText(first);
        Log(L"Navigate args=" + std::to_wstring(count) + L" url=" + url);
        pageText_ = StandInPageTextOf(url);
        if (hwnd_)
            InvalidateRect(hwnd_, nullptr, TRUE);
        AddRef();
        FireBeforeNavigate2(url);
        static_cast<IOleObject*>(this)->Release();
        return S_OK;
    }
    case kGoBack:
    case kGoForward:
        // A page without history: the system's control fails the call.
        Log(std::wstring(name) + (historyFails_ ? L" E_FAIL" : L""));
        return historyFails_ ? E_FAIL : S_OK;
    case kRefresh:
        Log(name);
        return S_OK;
    case kVisible:
        if (put) {
            VARIANT v;
            VariantInit(&v);
            if (!first || FAILED(VariantChangeType(&v, const_cast<VARIANT*>(first), 0, VT_BOOL)))
                return DISP_E_TYPEMISMATCH;
            visible_ = v.boolVal;
            Log(L"PutVisible " + std::to_wstring(visible_));
            return S_OK;
        }
        Log(L"GetVisible");
        if (result) {
            result->vt = VT_BOOL;
            result->boolVal = visible_;
        }
        return S_OK;
    default:
        if (put) {
            VARIANT v;
            VariantInit(&v);
            if (!first || FAILED(VariantChangeType(&v, const_cast<VARIANT*>(first), 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            Log(std::wstring(L"Put") + name + L" " + std::to_wstring(v.lVal));
            return PutPosition(dispid, v.lVal);
        }
        Log(std::wstring(L"Get") + name + (get ? L"" : L" (as method)"));
        if (result) {
            result->vt = VT_I4;
            result->lVal = Position(dispid);
        }
        return S_OK;
    }
}

void StandInBrowser::Fire(const wchar_t* name, DISPID dispid, VARIANT* args, UINT count)
{
    DISPPARAMS params = {args, nullptr, count, 0};
    auto sinks = point_.Sinks();
    Log(std::wstring(L"Fire ") + name + L" sinks=" + std::to_wstring(sinks.size()));
    for (IDispatch* sink : sinks) {
        sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
        sink->Release();
    }
}

VARIANT_BOOL StandInBrowser::FireBeforeNavigate2(const std::wstring& address)
{
    VARIANT url, flags, frame, postData, headers;
    for (VARIANT* v : {&url, &flags, &frame, &postData, &headers})
        VariantInit(v);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    flags.vt = VT_I4;
    frame.vt = VT_BSTR;
    frame.bstrVal = SysAllocString(L"");
    headers.vt = VT_BSTR;
    headers.bstrVal = SysAllocString(L"");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7];
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancel;
    VARIANT* byRef[] = {&headers, &postData, &frame, &flags, &url};
    for (int i = 0; i < 5; ++i) {
        args[1 + i].vt = VT_BYREF | VT_VARIANT;
        args[1 + i].pvarVal = byRef[i];
    }
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = static_cast<IDispatch*>(this);
    Fire(L"BeforeNavigate2", DISPID_BEFORENAVIGATE2, args, 7);
    Log(L"Fired BeforeNavigate2 url=" + address + L" cancel=" + std::to_wstring(cancel));
    for (VARIANT* v : {&url, &flags, &frame, &postData, &headers})
        VariantClear(v);
    return cancel;
}

void StandInBrowser::FireWithAddress(const wchar_t* name, DISPID dispid, const std::wstring& address)
{
    VARIANT url;
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    VARIANT args[2];
    args[0].vt = VT_BYREF | VT_VARIANT;
    args[0].pvarVal = &url;
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = static_cast<IDispatch*>(this);
    Fire(name, dispid, args, 2);
    Log(std::wstring(L"Fired ") + name + L" url=" + address);
    VariantClear(&url);
}

void StandInBrowser::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (!pageText_.empty()) {
        HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"\u5B8B\u4F53");
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0x33, 0x33, 0x33));
        RECT client;
        GetClientRect(hwnd_, &client);
        InflateRect(&client, -8, -8);
        // The lines' block, centred in the window.
        RECT block = client;
        const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
        DrawTextW(dc, pageText_.c_str(), static_cast<int>(pageText_.size()), &block, format | DT_CALCRECT);
        const int height = block.bottom - block.top;
        RECT place = client;
        if (height < client.bottom - client.top)
            place.top += (client.bottom - client.top - height) / 2;
        DrawTextW(dc, pageText_.c_str(), static_cast<int>(pageText_.size()), &place, format);
        SelectObject(dc, old);
        DeleteObject(font);
    }
    EndPaint(hwnd_, &ps);
}

bool StandInBrowser::Command(const std::wstring& command)
{
    size_t blank = command.find(L' ');
    std::wstring event = command.substr(0, blank);
    std::wstring address = blank == std::wstring::npos ? L"" : command.substr(blank + 1);
    if (event == L"BeforeNavigate2") {
        FireBeforeNavigate2(address);
    } else if (event == L"DocumentComplete") {
        FireWithAddress(L"DocumentComplete", DISPID_DOCUMENTCOMPLETE, address);
    } else if (event == L"NavigateComplete2") {
        FireWithAddress(L"NavigateComplete2", DISPID_NAVIGATECOMPLETE2, address);
    } else if (event == L"HistoryFails") {
        historyFails_ = true;
        Log(L"HistoryFails");
    } else if (event == L"DownloadBegin" || event == L"DownloadComplete") {
        Fire(event.c_str(), event == L"DownloadBegin" ? DISPID_DOWNLOADBEGIN : DISPID_DOWNLOADCOMPLETE,
             nullptr, 0);
        Log(L"Fired " + event);
    } else {
        return false;
    }
    return true;
}

void StandInBrowser::ClaimKeys(const std::wstring& keys)
{
    claimedKeys_.clear();
    const wchar_t* p = keys.c_str();
    while (*p) {
        wchar_t* end = nullptr;
        unsigned long key = wcstoul(p, &end, 10);
        if (end == p) {
            ++p;
            continue;
        }
        claimedKeys_.push_back(key);
        p = end;
    }
}

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* control = new StandInBrowser();
        control->Log(L"Created");
        HRESULT hr = control->QueryInterface(iid, out);
        static_cast<IOleObject*>(control)->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        g_locks += lock ? 1 : -1;
        return S_OK;
    }
};

Factory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_WebBrowser))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
