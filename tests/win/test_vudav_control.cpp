// The control embedded in a container of the test's own (client site, in-place site and frame
// over one window): in-place activation in the site's window, its place, its painting read from a
// memory device context, and the interfaces a container asks a control for.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "Vudav_h.h"
#include "memory_canvas.h"
#include "vudav_loaded.h"
#include "vudav_support.h"

namespace {

constexpr DWORD kChildStyles = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

// The container's side: one top-level window and the three site objects over it. It logs what
// the control tells it and counts the references the control holds.
class Container : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    HWND window = nullptr;
    RECT position = {10, 20, 210, 80};
    RECT clip = {0, 0, 400, 300};
    HRESULT canActivate = S_OK;
    std::vector<std::string> calls;
    IOleInPlaceActiveObject* activeObject = nullptr;  // as the frame last heard of it, not held
    LONG references = 0;

    Container()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VudavTestContainer";
        RegisterClassW(&windowClass);  // once per process; later calls find it there
        window = CreateWindowExW(0, L"VudavTestContainer", L"container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                 0, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Container() { DestroyWindow(window); }

    bool Called(const std::string& name) const
    {
        for (const std::string& call : calls)
            if (call == name)
                return true;
        return false;
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            *object = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
            *object = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame))
            *object = static_cast<IOleInPlaceFrame*>(this);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override
    {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* out) override
    {
        *out = window;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override
    {
        calls.push_back("CanInPlaceActivate");
        return canActivate;
    }
    STDMETHODIMP OnInPlaceActivate() override
    {
        calls.push_back("OnInPlaceActivate");
        return S_OK;
    }
    STDMETHODIMP OnUIActivate() override
    {
        calls.push_back("OnUIActivate");
        return S_OK;
    }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* positionOut,
                                  RECT* clipOut, OLEINPLACEFRAMEINFO* info) override
    {
        calls.push_back("GetWindowContext");
        *frame = this;
        AddRef();
        *document = nullptr;
        *positionOut = position;
        *clipOut = clip;
        info->fMDIApp = FALSE;
        info->hwndFrame = window;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override
    {
        calls.push_back("OnUIDeactivate");
        return S_OK;
    }
    STDMETHODIMP OnInPlaceDeactivate() override
    {
        calls.push_back("OnInPlaceDeactivate");
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override
    {
        calls.push_back(active ? "SetActiveObject" : "SetActiveObject(null)");
        activeObject = active;
        return S_OK;
    }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
};

// A canvas of the given size, red before anything is painted on it.
struct Canvas : MemoryCanvas {
    static constexpr DWORD kRed = 0xff0000;
    Canvas(int w, int h) : MemoryCanvas(w, h, kRed) {}
};

class VudavEmbedded : public VudavLoaded {
protected:
    VudavEmbedded() : VudavLoaded(L"vudav-control") {}

    void SetUp() override
    {
        VudavLoaded::SetUp();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_NE(container_.window, nullptr);
    }
    void TearDown() override
    {
        EXPECT_EQ(container_.references, 0) << "the control still holds its site";
        OleUninitialize();
        VudavLoaded::TearDown();
    }

    template <class T>
    static T* Ask(IUnknown* object, REFIID riid)
    {
        T* asked = nullptr;
        EXPECT_EQ(object->QueryInterface(riid, reinterpret_cast<void**>(&asked)), S_OK);
        return asked;
    }

    // The control sited in the container and in-place active in its window.
    IOleObject* Activated(LONG verb = OLEIVERB_INPLACEACTIVATE)
    {
        IOleObject* control = Create<IOleObject>(IID_IOleObject);
        if (!control)
            return nullptr;
        EXPECT_EQ(control->SetClientSite(&container_), S_OK);
        EXPECT_EQ(control->DoVerb(verb, nullptr, &container_, 0, container_.window, &container_.position), S_OK);
        return control;
    }

    // Closes and drops the control, as a container leaves it.
    static void Drop(IOleObject* control)
    {
        EXPECT_EQ(control->Close(OLECLOSE_NOSAVE), S_OK);
        EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
        control->Release();
    }

    // The children of the container's window.
    std::vector<HWND> Children() const
    {
        std::vector<HWND> children;
        for (HWND child = GetWindow(container_.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        return children;
    }

    // The child's rectangle in its parent's client coordinates.
    static RECT PlaceOf(HWND child)
    {
        RECT place = {};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    static HWND WindowOf(IUnknown* control)
    {
        IOleInPlaceObject* inPlace = Ask<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
        HWND window = nullptr;
        if (inPlace) {
            inPlace->GetWindow(&window);
            inPlace->Release();
        }
        return window;
    }

    Container container_;
};

void ExpectPlace(const RECT& place, const RECT& expected)
{
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    EXPECT_EQ(place.right, expected.right);
    EXPECT_EQ(place.bottom, expected.bottom);
}

}  // namespace

TEST_F(VudavEmbedded, InPlaceActivationMakesAChildWindowThatMovesAndGoes)
{
    IOleObject* control = Activated();
    ASSERT_NE(control, nullptr);
    const std::vector<std::string> opening = {"CanInPlaceActivate", "OnInPlaceActivate", "GetWindowContext"};
    EXPECT_EQ(container_.calls, opening);

    std::vector<HWND> children = Children();
    ASSERT_EQ(children.size(), 1u);
    HWND child = children[0];
    EXPECT_EQ(WindowOf(control), child);
    EXPECT_EQ(GetParent(child), container_.window);
    LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    EXPECT_EQ(style & kChildStyles, static_cast<LONG_PTR>(kChildStyles));
    EXPECT_EQ(style & WS_POPUP, 0);
    ExpectPlace(PlaceOf(child), container_.position);

    IOleInPlaceObject* inPlace = Ask<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
    ASSERT_NE(inPlace, nullptr);
    // Moved; then clipped: only the part inside the clipping rectangle shows.
    const RECT moved = {30, 40, 130, 90};
    const RECT everything = {0, 0, 400, 300};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &everything), S_OK);
    ExpectPlace(PlaceOf(child), moved);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(child, region), ERROR);  // no region: all of it shows
    const RECT leftPart = {0, 0, 100, 300};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &leftPart), S_OK);
    ExpectPlace(PlaceOf(child), moved);
    ASSERT_EQ(GetWindowRgn(child, region), SIMPLEREGION);
    RECT box = {};
    GetRgnBox(region, &box);
    ExpectPlace(box, RECT{0, 0, 70, 50});
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &everything), S_OK);
    EXPECT_EQ(GetWindowRgn(child, region), ERROR);
    DeleteObject(region);
    EXPECT_EQ(inPlace->SetObjectRects(nullptr, &everything), E_POINTER);

    // Activating again keeps the one window.
    EXPECT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &container_, 0, container_.window, &moved), S_OK);
    EXPECT_EQ(Children().size(), 1u);

    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(container_.calls.back(), "OnInPlaceDeactivate");
    HWND none = reinterpret_cast<HWND>(1);
    EXPECT_EQ(inPlace->GetWindow(&none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);  // once is enough
    inPlace->Release();

    // Shown again, and closed: closing takes the window away too.
    EXPECT_EQ(control->DoVerb(OLEIVERB_SHOW, nullptr, &container_, 0, container_.window, &moved), S_OK);
    ASSERT_EQ(Children().size(), 1u);
    Drop(control);
    EXPECT_TRUE(Children().empty());
}

TEST_F(VudavEmbedded, ActivationThatTheSiteRefusesOrLacksMakesNoWindow)
{
    IOleObject* control = Create<IOleObject>(IID_IOleObject);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), E_UNEXPECTED);
    container_.canActivate = S_FALSE;
    EXPECT_EQ(control->SetClientSite(&container_), S_OK);
    EXPECT_TRUE(FAILED(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &container_, 0, container_.window,
                                       &container_.position)));
    EXPECT_TRUE(Children().empty());
    EXPECT_FALSE(container_.Called("OnInPlaceActivate"));
    EXPECT_EQ(control->DoVerb(7, nullptr, &container_, 0, container_.window, &container_.position),
              OLEOBJ_S_INVALIDVERB);
    Drop(control);
}

TEST_F(VudavEmbedded, UiActivationMakesItTheFramesActiveObject)
{
    IOleObject* control = Activated(OLEIVERB_UIACTIVATE);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(container_.Called("OnUIActivate"));
    ASSERT_NE(container_.activeObject, nullptr);
    IOleInPlaceActiveObject* active = Ask<IOleInPlaceActiveObject>(control, IID_IOleInPlaceActiveObject);
    EXPECT_EQ(container_.activeObject, active);
    HWND window = nullptr;
    EXPECT_EQ(active->GetWindow(&window), S_OK);
    EXPECT_EQ(window, WindowOf(control));
    MSG key = {window, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE);  // no keys of its own
    active->Release();

    IOleInPlaceObject* inPlace = Ask<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
    EXPECT_EQ(inPlace->UIDeactivate(), S_OK);
    EXPECT_EQ(container_.activeObject, nullptr);
    EXPECT_EQ(container_.calls.back(), "OnUIDeactivate");
    EXPECT_TRUE(IsWindow(window));  // still in-place active
    inPlace->Release();
    Drop(control);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(VudavEmbedded, ItsWindowPaintsWhatItsViewDraws)
{
    IOleObject* control = Activated();
    ASSERT_NE(control, nullptr);
    HWND child = WindowOf(control);
    ASSERT_NE(child, nullptr);
    const int width = container_.position.right - container_.position.left;
    const int height = container_.position.bottom - container_.position.top;

    Canvas painted(width, height);
    SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.dc), PRF_CLIENT);
    GdiFlush();
    // The frame in black over the whole client area, white inside, the text dark in the middle.
    for (POINT p : {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}})
        EXPECT_EQ(painted.At(p.x, p.y), 0u) << p.x << "," << p.y;
    EXPECT_EQ(painted.At(3, 3), 0xffffffu);
    int red = 0, dark = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            red += painted.At(x, y) == Canvas::kRed;
            dark += x > 1 && x < width - 2 && y > 1 && y < height - 2 && painted.At(x, y) != 0xffffffu;
        }
    EXPECT_EQ(red, 0);  // the whole window is painted
    EXPECT_GT(dark, 20);

    // The same picture as the view draws over the window's bounds.
    Canvas drawn(width, height);
    IViewObject* view = Ask<IViewObject>(control, IID_IViewObject);
    RECTL bounds = {0, 0, width, height};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, drawn.dc, &bounds, nullptr, nullptr, 0), S_OK);
    view->Release();
    GdiFlush();
    int differ = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            differ += painted.At(x, y) != drawn.At(x, y);
    EXPECT_EQ(differ, 0);

    // A notification reflected back from a child control gets the default handling of the
    // original message: for a static control's colours, a brush.
    EXPECT_NE(SendMessageW(child, OCM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(painted.dc),
                           reinterpret_cast<LPARAM>(child)),
              0);
    Drop(control);
}

TEST_F(VudavEmbedded, TwoControlsInOneWindowEachKeepTheirOwn)
{
    IOleObject* first = Activated();
    container_.position = {220, 20, 380, 80};
    IOleObject* second = Activated();
    ASSERT_TRUE(first && second);
    HWND secondWindow = WindowOf(second);
    EXPECT_EQ(Children().size(), 2u);
    Drop(first);
    ASSERT_EQ(Children().size(), 1u);
    EXPECT_EQ(Children()[0], secondWindow);
    Canvas painted(160, 60);
    SendMessageW(secondWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.dc), PRF_CLIENT);
    GdiFlush();
    EXPECT_EQ(painted.At(0, 0), 0u);
    EXPECT_EQ(painted.At(3, 3), 0xffffffu);
    Drop(second);
    IOleObject* again = Activated();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Children().size(), 1u);
    Drop(again);
}

TEST_F(VudavEmbedded, AnswersEveryInterfaceOfAFullControl)
{
    IUnknown* control = Create<IUnknown>(IID_IUnknown);
    ASSERT_NE(control, nullptr);
    struct Served {
        const char* name;
        const IID* iid;
    } served[] = {
        {"IUnknown", &IID_IUnknown},
        {"IDispatch", &IID_IDispatch},
        {"IqelVudav", &IID_IqelVudav},
        {"IPersist", &IID_IPersist},
        {"IPersistStreamInit", &IID_IPersistStreamInit},
        {"IOleControl", &IID_IOleControl},
        {"IOleObject", &IID_IOleObject},
        {"IOleWindow", &IID_IOleWindow},
        {"IOleInPlaceActiveObject", &IID_IOleInPlaceActiveObject},
        {"IViewObject", &IID_IViewObject},
        {"IViewObject2", &IID_IViewObject2},
        {"IViewObjectEx", &IID_IViewObjectEx},
        {"IOleInPlaceObject", &IID_IOleInPlaceObject},
        {"IOleInPlaceObjectWindowless", &IID_IOleInPlaceObjectWindowless},
        {"ISupportErrorInfo", &IID_ISupportErrorInfo},
        {"IPersistStorage", &IID_IPersistStorage},
        {"ISpecifyPropertyPages", &IID_ISpecifyPropertyPages},
        {"IQuickActivate", &IID_IQuickActivate},
        {"IDataObject", &IID_IDataObject},
        {"IProvideClassInfo", &IID_IProvideClassInfo},
        {"IProvideClassInfo2", &IID_IProvideClassInfo2},
    };
    for (const Served& s : served) {
        IUnknown* asked = nullptr;
        ASSERT_EQ(control->QueryInterface(*s.iid, reinterpret_cast<void**>(&asked)), S_OK) << s.name;
        IUnknown* identity = nullptr;
        ASSERT_EQ(asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK) << s.name;
        EXPECT_EQ(identity, control) << s.name;
        identity->Release();
        asked->Release();
    }

    ISpecifyPropertyPages* pages = Ask<ISpecifyPropertyPages>(control, IID_ISpecifyPropertyPages);
    CAUUID list = {5, reinterpret_cast<GUID*>(1)};
    EXPECT_EQ(pages->GetPages(&list), S_OK);
    EXPECT_EQ(list.cElems, 0u);
    EXPECT_EQ(list.pElems, nullptr);
    pages->Release();
    control->Release();
}

TEST_F(VudavEmbedded, PersistsNothingAndSavesNothing)
{
    IPersistStreamInit* stream = Create<IPersistStreamInit>(IID_IPersistStreamInit);
    ASSERT_NE(stream, nullptr);
    CLSID classId = {};
    EXPECT_EQ(stream->GetClassID(&classId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(classId, CLSID_qelVudav));
    EXPECT_EQ(stream->InitNew(), S_OK);
    EXPECT_EQ(stream->IsDirty(), S_FALSE);
    IStream* memory = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &memory), S_OK);
    EXPECT_EQ(stream->Save(memory, TRUE), S_OK);
    STATSTG stat = {};
    EXPECT_EQ(memory->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 0u);
    EXPECT_EQ(stream->Load(memory), S_OK);
    ULARGE_INTEGER size;
    size.QuadPart = 99;
    EXPECT_EQ(stream->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 0u);
    memory->Release();

    IPersistStorage* storage = Ask<IPersistStorage>(stream, IID_IPersistStorage);
    ILockBytes* bytes = nullptr;
    IStorage* root = nullptr;
    ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes), S_OK);
    ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &root),
              S_OK);
    EXPECT_EQ(storage->InitNew(root), S_OK);
    EXPECT_EQ(storage->Save(root, TRUE), S_OK);
    EXPECT_EQ(storage->SaveCompleted(nullptr), S_OK);
    IEnumSTATSTG* elements = nullptr;
    ASSERT_EQ(root->EnumElements(0, nullptr, 0, &elements), S_OK);
    STATSTG element = {};
    EXPECT_EQ(elements->Next(1, &element, nullptr), S_FALSE);  // nothing written
    elements->Release();
    EXPECT_EQ(storage->Load(root), S_OK);
    EXPECT_EQ(storage->IsDirty(), S_FALSE);
    EXPECT_EQ(storage->HandsOffStorage(), S_OK);
    root->Release();
    bytes->Release();
    storage->Release();
    stream->Release();
}

TEST_F(VudavEmbedded, QuickActivationSitesItAndItsPictureComesAsData)
{
    IQuickActivate* quick = Create<IQuickActivate>(IID_IQuickActivate);
    ASSERT_NE(quick, nullptr);
    QACONTAINER site = {};
    site.cbSize = sizeof site;
    site.pClientSite = &container_;
    QACONTROL answer = {};
    answer.cbSize = sizeof answer;
    EXPECT_EQ(quick->QuickActivate(&site, &answer), S_OK);
    EXPECT_EQ(answer.dwMiscStatus, 0x20191u);
    EXPECT_EQ(answer.dwEventCookie, 0u);
    EXPECT_EQ(answer.dwPropNotifyCookie, 0u);
    SIZEL extent = {5080, 1270};
    EXPECT_EQ(quick->SetContentExtent(&extent), S_OK);
    SIZEL read = {};
    EXPECT_EQ(quick->GetContentExtent(&read), S_OK);
    EXPECT_EQ(read.cx, 5080);
    EXPECT_EQ(read.cy, 1270);

    // Sited by the quick activation alone: the verb needs no site of its own.
    IOleObject* control = Ask<IOleObject>(quick, IID_IOleObject);
    IOleClientSite* held = nullptr;
    EXPECT_EQ(control->GetClientSite(&held), S_OK);
    EXPECT_EQ(held, static_cast<IOleClientSite*>(&container_));
    if (held)
        held->Release();
    EXPECT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(Children().size(), 1u);

    IDataObject* data = Ask<IDataObject>(quick, IID_IDataObject);
    FORMATETC picture = {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
    FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&picture), S_OK);
    EXPECT_EQ(data->QueryGetData(&text), DV_E_FORMATETC);
    STGMEDIUM medium = {};
    EXPECT_EQ(data->GetData(&text, &medium), DV_E_FORMATETC);
    ASSERT_EQ(data->GetData(&picture, &medium), S_OK);
    ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_MFPICT));
    auto* metafile = static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(metafile->mm, MM_ANISOTROPIC);
    EXPECT_EQ(metafile->xExt, 5080);
    EXPECT_EQ(metafile->yExt, 1270);
    EXPECT_GT(GetMetaFileBitsEx(metafile->hMF, 0, nullptr), 0u);
    GlobalUnlock(medium.hMetaFilePict);
    ReleaseStgMedium(&medium);
    data->Release();

    quick->Release();
    Drop(control);
}
