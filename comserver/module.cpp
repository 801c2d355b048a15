// The module's exports: class objects, unloading, registration of the classes and the type library.
#include "module.h"

#include <oleauto.h>

#include <vector>

#include "class_factory.h"
#include "com_ref.h"
#include "owned_handle.h"
#include "registry_win.h"
#include "progstart.h"
#include "utf16.h"

namespace comserver {

namespace {

// Registration runs in the system default locale and gives the caller's locale back after.
class SystemLocaleScope {
public:
    SystemLocaleScope() : saved_(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~SystemLocaleScope() { SetThreadLocale(saved_); }
    SystemLocaleScope(const SystemLocaleScope&) = delete;
    SystemLocaleScope& operator=(const SystemLocaleScope&) = delete;

private:
    LCID saved_;
};

// Holds a critical section while it lives.
class SectionLock {
public:
    explicit SectionLock(CRITICAL_SECTION* section) : section_(section) { EnterCriticalSection(section_); }
    ~SectionLock() { LeaveCriticalSection(section_); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

private:
    CRITICAL_SECTION* section_;
};

struct SysStringKind : owners::NullIsEmpty<BSTR> {
    static void Destroy(BSTR text) noexcept { SysFreeString(text); }
};

// A library's attributes, given back to the library.
struct LibAttrKind : owners::NullIsEmpty<TLIBATTR*> {
    ITypeLib* library = nullptr;
    void Destroy(TLIBATTR* attributes) const noexcept { library->ReleaseTLibAttr(attributes); }
};

ServerModule* g_module = nullptr;

}  // namespace

ServerModule& Module()
{
    return *g_module;
}

ServerModule::ServerModule(const ServerDescription& description) : description_(description)
{
    g_module = this;
}

ServerModule::~ServerModule()
{
    (void)typeLibrary_.LetGo();  // given back in Term, never as the image goes
    if (g_module == this)
        g_module = nullptr;
}

bool ServerModule::Init(HINSTANCE instance)
{
    instance_ = instance;
    return guard_.Open();
}

void ServerModule::Term(bool processEnding)
{
    if (processEnding)
        (void)typeLibrary_.LetGo();  // COM may be gone already
    else
        typeLibrary_.Reset();
    guard_.Close();
}

HRESULT ServerModule::GetClassObject(REFCLSID classId, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (size_t i = 0; i < description_.classCount; ++i) {
        const ServerClass& entry = description_.classes[i];
        if (IsEqualCLSID(classId, *entry.classId))
            return CreateObject<ClassFactory>(nullptr, riid, object, entry.create);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerModule::RunRegistration(const RegTable& table, const ServerClass* forClass, RegMode mode)
{
    std::wstring path = ModuleFilePath(instance_);
    if (path.empty())
        return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_INVALID_NAME);
    Replacements replacements = {{u"APPID", description_.appId}, {u"MODULE", ToU16(path)}};
    if (forClass)
        for (size_t i = 0; i < forClass->replacementCount; ++i)
            replacements.push_back({forClass->replacements[i].name, forClass->replacements[i].text});
    std::vector<RegStep> steps;
    if (!PlanRegistration(table, replacements, mode, &steps))
        return E_UNEXPECTED;
    Win32RegistryWriter writer;
    int32_t result = RunRegistrationSteps(steps, writer);
    return result == 0 ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(result));
}

HRESULT ServerModule::RunClassRegistrations(RegMode mode)
{
    HRESULT result = S_OK;
    for (size_t i = 0; SUCCEEDED(result) && i < description_.classCount; ++i)
        result = RunRegistration(*description_.classes[i].registration, &description_.classes[i], mode);
    return result;
}

HRESULT ServerModule::RegisterTypeLibrary()
{
    owners::ComRef<ITypeLib> library;
    HRESULT result = LoadTypeLibrary(library);
    if (FAILED(result))
        return result;
    std::wstring path = ModuleFilePath(instance_);
    return RegisterTypeLib(library.Get(), const_cast<OLECHAR*>(path.c_str()), nullptr);
}

HRESULT ServerModule::UnregisterTypeLibrary()
{
    owners::ComRef<ITypeLib> library;
    HRESULT result = LoadTypeLibrary(library);
    if (FAILED(result))
        return result;
    owners::Owned<LibAttrKind> held(nullptr, LibAttrKind{{}, library.Get()});
    result = library->GetLibAttr(held.Receive());
    if (SUCCEEDED(result)) {
        const TLIBATTR* attributes = held.Get();
        // A library that is not registered counts as removed.
        owners::Owned<SysStringKind> registeredPath;
        if (SUCCEEDED(QueryPathOfRegTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                            attributes->lcid, registeredPath.Receive()))) {
            registeredPath.Reset();
            result = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                       attributes->lcid, attributes->syskind);
        }
    }
    return result;
}

HRESULT ServerModule::RegisterServer()
{
    SystemLocaleScope locale;
    HRESULT result = RunRegistration(*description_.appIdRegistration, nullptr, RegMode::Register);
    if (SUCCEEDED(result))
        result = RunClassRegistrations(RegMode::Register);
    if (SUCCEEDED(result))
        result = RegisterTypeLibrary();
    return result;
}

HRESULT ServerModule::UnregisterServer()
{
    SystemLocaleScope locale;
    HRESULT result = RunClassRegistrations(RegMode::Remove);
    if (SUCCEEDED(result))
        result = UnregisterTypeLibrary();
    if (SUCCEEDED(result))
        result = RunRegistration(*description_.appIdRegistration, nullptr, RegMode::Remove);
    return result;
}

HRESULT ServerModule::LoadTypeLibrary(owners::ComRef<ITypeLib>& library)
{
    library.Reset();
    if (!guard_.IsOpen())
        return E_UNEXPECTED;
    HRESULT result = S_OK;
    SectionLock lock(guard_.Section());
    if (!typeLibrary_) {
        std::wstring path = ModuleFilePath(instance_);
        result = path.empty() ? E_FAIL : LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLibrary_.Receive());
    }
    if (SUCCEEDED(result))
        library = typeLibrary_;
    return result;
}

HRESULT ServerModule::TypeInfo(REFGUID guid, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    owners::ComRef<ITypeLib> library;
    HRESULT result = LoadTypeLibrary(library);
    if (FAILED(result))
        return result;
    return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace comserver
