// Vudav.dll's entry point and its four COM exports, served by the module below.
#include <windows.h>

#include "Vudav_h.h"
#include "comserver/module.h"
#include "qel_vudav.h"
#include "registration.h"
#include "vudav_ids.h"

namespace {

const comserver::ReplacementText kControlReplacements[] = {
    {u"CLSID", kVudavClassIdText},
    {u"OLEMISC", kVudavMiscStatusText},
};

const comserver::ServerClass kClasses[] = {
    {&CLSID_qelVudav, CqelVudav::Create, &kVudavControlRegistration, kControlReplacements,
     sizeof kControlReplacements / sizeof kControlReplacements[0]},
};

const comserver::ServerDescription kServer = {kVudavAppIdText, &kVudavAppIdRegistration, kClasses,
                                              sizeof kClasses / sizeof kClasses[0]};

// The library's module: the application identifier, the control's class and the type library.
class CVudavModule : public comserver::ServerModule {
public:
    CVudavModule() : ServerModule(kServer) {}
};

CVudavModule g_module;

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        return g_module.Init(instance) ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH)
        g_module.Term(reserved != nullptr);
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return g_module.CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID riid, void** object)
{
    return g_module.GetClassObject(classId, riid, object);
}

STDAPI DllRegisterServer()
{
    return g_module.RegisterServer();
}

STDAPI DllUnregisterServer()
{
    return g_module.UnregisterServer();
}
