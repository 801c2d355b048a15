// Vudav.dll loaded in this process: its class object, creation plain and aggregated, the lock
// count, the interfaces of the control, its type library and its drawing.
#include <gtest/gtest.h>
#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "Vudav_h.h"
#include "memory_canvas.h"
#include "vudav_loaded.h"
#include "vudav_support.h"

namespace {

class VudavModule : public VudavLoaded {
protected:
    VudavModule() : VudavLoaded(L"vudav-module") {}
};

// An outer object that counts the references its inner object hands on to it.
class Outer : public IUnknown {
public:
    LONG references = 1;
    IUnknown* inner = nullptr;
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, object) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
};

}  // namespace

TEST_F(VudavModule, AnotherClassIdHasNoClassObject)
{
    const CLSID other = {0x5a910d6f, 0x10a5, 0x4c18, {0xb0, 0xe1, 0x5e, 0xd5, 0xfe, 0x31, 0xb3, 0x65}};
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(CLSID_qelVudav, IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject_(CLSID_qelVudav, IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(VudavModule, PlainObjectServesTheControlInterfacesButNoSafetyMarks)
{
    IqelVudav* control = Create<IqelVudav>(IID_IqelVudav);
    ASSERT_NE(control, nullptr);
    const IID* served[] = {&IID_IDispatch, &IID_ISupportErrorInfo, &IID_IProvideClassInfo, &IID_IProvideClassInfo2,
                           &IID_IOleObject, &IID_IOleControl, &IID_IViewObject, &IID_IViewObject2,
                           &IID_IViewObjectEx, &IID_IPersist, &IID_IPersistStreamInit};
    IUnknown* identity = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    for (const IID* iid : served) {
        IUnknown* asked = nullptr;
        ASSERT_EQ(control->QueryInterface(*iid, reinterpret_cast<void**>(&asked)), S_OK);
        IUnknown* again = nullptr;
        ASSERT_EQ(asked->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
        EXPECT_EQ(again, identity);  // one object behind every interface
        again->Release();
        asked->Release();
    }
    identity->Release();
    // Not marked safe for scripting or initialisation.
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(control->QueryInterface(IID_IObjectSafety, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    ISupportErrorInfo* errors = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&errors)), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IqelVudav), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    errors->Release();

    IProvideClassInfo2* classInfo = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&classInfo)), S_OK);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(classInfo->GetClassInfo(&info), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, CLSID_qelVudav));
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    info->ReleaseTypeAttr(attributes);
    info->Release();
    GUID source = IID_IUnknown;
    EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), E_FAIL);  // no outgoing interface
    EXPECT_TRUE(IsEqualGUID(source, GUID_NULL));
    classInfo->Release();

    IOleObject* ole = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole)), S_OK);
    DWORD misc = 0;
    EXPECT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 0x20191u);
    CLSID user = {};
    EXPECT_EQ(ole->GetUserClassID(&user), S_OK);
    EXPECT_TRUE(IsEqualCLSID(user, CLSID_qelVudav));
    ole->Release();
    control->Release();
}

TEST_F(VudavModule, AggregatedOnlyThroughItsOwnUnknown)
{
    IClassFactory* factory = Factory();
    ASSERT_NE(factory, nullptr);
    Outer outer;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IqelVudav, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)), S_OK);
    factory->Release();
    ASSERT_NE(outer.inner, nullptr);
    EXPECT_EQ(outer.references, 1);  // the inner unknown counts for itself

    IqelVudav* control = nullptr;
    ASSERT_EQ(outer.inner->QueryInterface(IID_IqelVudav, reinterpret_cast<void**>(&control)), S_OK);
    EXPECT_EQ(outer.references, 2);  // the interfaces count on the outer object
    IUnknown* controlling = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&controlling)), S_OK);
    EXPECT_EQ(controlling, static_cast<IUnknown*>(&outer));
    controlling->Release();
    control->Release();
    EXPECT_EQ(outer.references, 1);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    EXPECT_EQ(outer.inner->Release(), 0u);
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(VudavModule, UnloadOnlyWithoutObjectsAndServerLocks)
{
    IClassFactory* factory = Factory();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);  // the class object itself
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);  // the server lock
    factory = Factory();
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(canUnloadNow_(), S_OK);

    IqelVudav* first = Create<IqelVudav>(IID_IqelVudav);
    IDispatch* second = Create<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    first->Release();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    second->Release();
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(VudavModule, LateBoundAddLinkThroughTheTypeLibrary)
{
    IDispatch* control = Create<IDispatch>(IID_IDispatch);
    ASSERT_NE(control, nullptr);
    UINT count = 0;
    EXPECT_EQ(control->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    OLECHAR name[] = L"AddLink";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    ASSERT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, 0x409, &id), S_OK);
    EXPECT_EQ(id, 1);
    // No agent lies beside the loaded copy: AddLink starts nothing and still succeeds; a null from
    // a script is an empty value.
    VARIANT arguments[4];
    for (VARIANT& v : arguments)
        VariantInit(&v);
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) = SysAllocString(L"info");
    V_VT(&arguments[1]) = VT_NULL;
    V_VT(&arguments[2]) = VT_BSTR;
    V_BSTR(&arguments[2]) = SysAllocString(L"http://v/a");
    V_VT(&arguments[3]) = VT_NULL;
    DISPPARAMS params = {arguments, nullptr, 4, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(control->Invoke(1, IID_NULL, 0x409, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(control->Invoke(2, IID_NULL, 0x409, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(control->Invoke(1, IID_IqelVudav, 0x409, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    for (VARIANT& v : arguments)
        VariantClear(&v);
    control->Release();
}

namespace {

class VudavTypeLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(LoadTypeLibEx(VudavDllPath().c_str(), REGKIND_NONE, &library_), S_OK);
        ASSERT_EQ(library_->GetTypeInfoOfGuid(IID_IqelVudav, &dispatch_), S_OK);
        HREFTYPE reference = 0;
        ASSERT_EQ(dispatch_->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference), S_OK);
        ASSERT_EQ(dispatch_->GetRefTypeInfo(reference, &vtable_), S_OK);
    }
    void TearDown() override
    {
        for (IUnknown* held : {static_cast<IUnknown*>(vtable_), static_cast<IUnknown*>(dispatch_),
                               static_cast<IUnknown*>(library_)})
            if (held)
                held->Release();
    }

    // The AddLink description of the interface's table half.
    FUNCDESC* AddLinkOfTable()
    {
        for (UINT i = 0;; ++i) {
            FUNCDESC* function = nullptr;
            if (FAILED(vtable_->GetFuncDesc(i, &function)))
                return nullptr;
            if (function->memid == 1)
                return function;
            vtable_->ReleaseFuncDesc(function);
        }
    }

    ITypeLib* library_ = nullptr;
    ITypeInfo* dispatch_ = nullptr;
    ITypeInfo* vtable_ = nullptr;
};

// The help string of a library's or a type's member (-1 / MEMBERID_NIL: of itself).
template <class Described, class Index>
std::wstring HelpString(Described* described, Index index)
{
    BSTR help = nullptr;
    described->GetDocumentation(index, nullptr, &help, nullptr, nullptr);
    std::wstring text = help ? help : L"";
    SysFreeString(help);
    return text;
}

}  // namespace

TEST_F(VudavTypeLibrary, LibraryClassAndInterface)
{
    TLIBATTR* lib = nullptr;
    ASSERT_EQ(library_->GetLibAttr(&lib), S_OK);
    EXPECT_TRUE(IsEqualGUID(lib->guid, LIBID_VudavLib));
    EXPECT_EQ(lib->wMajorVerNum, 1);
    EXPECT_EQ(lib->wMinorVerNum, 0);
    EXPECT_EQ(lib->lcid, 0x409u);
    library_->ReleaseTLibAttr(lib);
    BSTR libraryName = nullptr;
    ASSERT_EQ(library_->GetDocumentation(-1, &libraryName, nullptr, nullptr, nullptr), S_OK);
    EXPECT_STREQ(libraryName, L"VudavLib");
    SysFreeString(libraryName);
    ASSERT_EQ(GetACP(), 936u);  // the help strings are GBK text
    EXPECT_EQ(HelpString(library_, -1), L"Vudav 1.0 类型库");

    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(library_->GetTypeInfoOfGuid(CLSID_qelVudav, &coclass), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_EQ(attributes->wTypeFlags, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
    EXPECT_EQ(attributes->cImplTypes, 1);
    coclass->ReleaseTypeAttr(attributes);
    EXPECT_EQ(HelpString(coclass, MEMBERID_NIL), L"qelVudav Class");
    INT implFlags = 0;
    EXPECT_EQ(coclass->GetImplTypeFlags(0, &implFlags), S_OK);
    EXPECT_EQ(implFlags, IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    ITypeInfo* implemented = nullptr;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &reference), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, &implemented), S_OK);
    ASSERT_EQ(implemented->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IqelVudav));
    implemented->ReleaseTypeAttr(attributes);
    implemented->Release();
    coclass->Release();

    ASSERT_EQ(dispatch_->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    EXPECT_EQ(attributes->wTypeFlags, TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE);
    dispatch_->ReleaseTypeAttr(attributes);
    EXPECT_EQ(HelpString(dispatch_, MEMBERID_NIL), L"IqelVudav 接口");

    // The table half is the OLE automation interface, derived from IDispatch.
    ASSERT_EQ(vtable_->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attributes->wTypeFlags,
              TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
    EXPECT_EQ(attributes->cFuncs, 1);
    vtable_->ReleaseTypeAttr(attributes);
    ITypeInfo* base = nullptr;
    ASSERT_EQ(vtable_->GetRefTypeOfImplType(0, &reference), S_OK);
    ASSERT_EQ(vtable_->GetRefTypeInfo(reference, &base), S_OK);
    ASSERT_EQ(base->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IDispatch));
    base->ReleaseTypeAttr(attributes);
    base->Release();
}

TEST_F(VudavTypeLibrary, AddLinkIdParametersAndSlot)
{
    FUNCDESC* function = AddLinkOfTable();
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function->memid, 1);
    EXPECT_EQ(function->funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(function->invkind, INVOKE_FUNC);
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
    EXPECT_EQ(function->oVft / static_cast<SHORT>(sizeof(void*)), 7);  // the eighth slot, after IDispatch's seven
    ASSERT_EQ(function->cParams, 4);
    const VARTYPE types[] = {VT_DISPATCH, VT_BSTR, VT_BSTR, VT_BSTR};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(function->lprgelemdescParam[p].tdesc.vt, types[p]) << p;
        EXPECT_EQ(function->lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT), 0) << p;
    }
    vtable_->ReleaseFuncDesc(function);

    BSTR names[6] = {};
    UINT count = 0;
    ASSERT_EQ(vtable_->GetNames(1, names, 6, &count), S_OK);
    ASSERT_EQ(count, 5u);
    const wchar_t* expected[] = {L"AddLink", L"pDispatch", L"url", L"location", L"info"};
    for (UINT i = 0; i < count; ++i) {
        EXPECT_STREQ(names[i], expected[i]);
        SysFreeString(names[i]);
    }
    EXPECT_EQ(HelpString(vtable_, 1), L"方法AddLink");
}

TEST_F(VudavTypeLibrary, Win32OnlySystemKindAndSlotOffset)
{
    TLIBATTR* lib = nullptr;
    ASSERT_EQ(library_->GetLibAttr(&lib), S_OK);
    EXPECT_EQ(lib->syskind, SYS_WIN32);
    library_->ReleaseTLibAttr(lib);
    FUNCDESC* function = AddLinkOfTable();
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function->oVft, 28);
    vtable_->ReleaseFuncDesc(function);
}

namespace {

struct Canvas : MemoryCanvas {
    static constexpr int kWidth = 160, kHeight = 60;
    static constexpr DWORD kBackground = 0x00ff0000;  // red

    Canvas() : MemoryCanvas(kWidth, kHeight, kBackground) {}
};

}  // namespace

TEST_F(VudavModule, DrawsItsRectangleAndTextInsideTheBoundsOnly)
{
    IViewObjectEx* view = Create<IViewObjectEx>(IID_IViewObjectEx);
    ASSERT_NE(view, nullptr);
    struct Case {
        RECTL bounds;
        bool priorClip;
    } cases[] = {
        {{10, 10, 150, 50}, false},
        {{60, 15, 100, 45}, true},  // narrower than the text: the text is clipped to the bounds
    };
    for (const Case& c : cases) {
        Canvas canvas;
        GdiFlush();
        HRGN prior = CreateRectRgn(0, 0, Canvas::kWidth - 5, Canvas::kHeight);
        if (c.priorClip)
            SelectClipRgn(canvas.dc, prior);
        EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc, &c.bounds, nullptr, nullptr, 0),
                  S_OK);
        GdiFlush();
        const RECTL& b = c.bounds;
        // The frame in the default black pen (the text's opaque band crosses its sides), the inside in
        // the default white brush.
        const int middle = (b.left + b.right) / 2;
        for (POINT p : {POINT{b.left, b.top + 1}, POINT{b.right - 1, b.bottom - 2}, POINT{middle, b.top},
                        POINT{middle, b.bottom - 1}})
            EXPECT_EQ(canvas.At(p.x, p.y), 0u) << p.x << "," << p.y;
        EXPECT_EQ(canvas.At(b.left + 2, b.top + 2), 0xffffffu);
        int outside = 0, dark = 0;
        for (int y = 0; y < Canvas::kHeight; ++y)
            for (int x = 0; x < Canvas::kWidth; ++x) {
                bool inBounds = x >= b.left && x < b.right && y >= b.top && y < b.bottom;
                if (!inBounds && canvas.At(x, y) != (Canvas::kBackground & 0xffffff))
                    ++outside;
                if (inBounds && x > b.left + 1 && x < b.right - 2 && y > b.top + 1 && y < b.bottom - 2 &&
                    canvas.At(x, y) != 0xffffffu)
                    ++dark;
            }
        EXPECT_EQ(outside, 0);   // nothing drawn past the bounds
        EXPECT_GT(dark, 20);     // the text
        // The clipping and the text alignment are given back.
        HRGN after = CreateRectRgn(0, 0, 0, 0);
        if (c.priorClip) {
            ASSERT_EQ(GetClipRgn(canvas.dc, after), 1);
            EXPECT_TRUE(EqualRgn(after, prior));
        } else {
            EXPECT_EQ(GetClipRgn(canvas.dc, after), 0);
        }
        EXPECT_EQ(GetTextAlign(canvas.dc), static_cast<UINT>(TA_LEFT | TA_TOP | TA_NOUPDATECP));
        DeleteObject(after);
        DeleteObject(prior);
    }
    Canvas canvas;
    RECTL bounds = {0, 0, 10, 10};
    EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, canvas.dc, &bounds, nullptr, nullptr, 0),
              DV_E_DVASPECT);
    view->Release();
}
