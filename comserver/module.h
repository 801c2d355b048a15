#pragma once
// The server module: its lock count, its classes, and what the four COM exports do.
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "com_ref.h"
#include "registry_table.h"

namespace comserver {

using CreateInstanceFunction = HRESULT (*)(IUnknown* outer, REFIID riid, void** object);

struct ReplacementText {
    const char16_t* name;
    const char16_t* text;
};

// One creatable class and its registration, run with the module's APPID and MODULE replacements
// and the class's own ones.
struct ServerClass {
    const CLSID* classId;
    CreateInstanceFunction create;
    const RegTable* registration;
    const ReplacementText* replacements;
    size_t replacementCount;
};

// Everything a server module serves. Its type library is resource 1 (TYPELIB) of the module's
// own file.
struct ServerDescription {
    const char16_t* appId;  // the application identifier in braces
    const RegTable* appIdRegistration;
    const ServerClass* classes;
    size_t classCount;
};

// A binary's one module object derives from this; built with the binary's static data, it becomes
// what Module() gives.
class ServerModule {
public:
    ServerModule(const ServerModule&) = delete;
    ServerModule& operator=(const ServerModule&) = delete;
    virtual ~ServerModule();

    // From DllMain's process attach; false when the module cannot work (the load is refused).
    [[nodiscard]] bool Init(HINSTANCE instance);
    // From DllMain's process detach; processEnding: the process is going away, leave COM alone.
    void Term(bool processEnding);

    HINSTANCE Instance() const { return instance_; }

    LONG Lock() { return InterlockedIncrement(&locks_); }
    LONG Unlock() { return InterlockedDecrement(&locks_); }
    LONG LockCount() const { return locks_; }

    // The exports.
    HRESULT CanUnloadNow() const { return locks_ == 0 ? S_OK : S_FALSE; }
    [[nodiscard]] HRESULT GetClassObject(REFCLSID classId, REFIID riid, void** object);
    [[nodiscard]] HRESULT RegisterServer();
    [[nodiscard]] HRESULT UnregisterServer();

    // Type information for guid from the module's own type library, loaded once; the caller
    // releases it.
    [[nodiscard]] HRESULT TypeInfo(REFGUID guid, ITypeInfo** info);

protected:
    explicit ServerModule(const ServerDescription& description);

private:
    // A critical section that lives from Init to Term.
    class Guard {
    public:
        Guard() = default;
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        ~Guard() { Close(); }

        bool Open()
        {
            ready_ = InitializeCriticalSectionAndSpinCount(&section_, 0) != FALSE;
            return ready_;
        }
        void Close()
        {
            if (ready_)
                DeleteCriticalSection(&section_);
            ready_ = false;
        }
        bool IsOpen() const { return ready_; }
        CRITICAL_SECTION* Section() { return &section_; }

    private:
        CRITICAL_SECTION section_;
        bool ready_ = false;
    };

    [[nodiscard]] HRESULT LoadTypeLibrary(owners::ComRef<ITypeLib>& library);
    [[nodiscard]] HRESULT RunRegistration(const RegTable& table, const ServerClass* forClass, RegMode mode);
    [[nodiscard]] HRESULT RunClassRegistrations(RegMode mode);
    [[nodiscard]] HRESULT RegisterTypeLibrary();
    [[nodiscard]] HRESULT UnregisterTypeLibrary();

    HINSTANCE instance_ = nullptr;
    const ServerDescription& description_;
    LONG locks_ = 0;
    Guard guard_;  // the one-time load of the type library
    owners::ComRef<ITypeLib> typeLibrary_;
};

// The module object of this binary.
ServerModule& Module();

}  // namespace comserver
