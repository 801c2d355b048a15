#pragma once
// IDispatch of a dual interface, answered from the module's own type library.
#include <windows.h>
#include <oaidl.h>

namespace comserver {

[[nodiscard]] HRESULT DispatchTypeInfoCount(UINT* count);
[[nodiscard]] HRESULT DispatchTypeInfo(REFIID interfaceId, UINT index, ITypeInfo** info);
[[nodiscard]] HRESULT DispatchIdsOfNames(REFIID interfaceId, REFIID riid, LPOLESTR* names, UINT count,
                                         DISPID* ids);
// Calls the method through the interface's own table; a script's null for a string parameter
// arrives as an empty string.
[[nodiscard]] HRESULT DispatchInvoke(void* object, REFIID interfaceId, DISPID id, REFIID riid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* argumentError);

template <class Interface, const IID* InterfaceId>
class TypeLibDispatch : public Interface {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return DispatchTypeInfoCount(count); }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        return DispatchTypeInfo(*InterfaceId, index, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return DispatchIdsOfNames(*InterfaceId, riid, names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override
    {
        return DispatchInvoke(static_cast<Interface*>(this), *InterfaceId, id, riid, flags, params, result,
                              exception, argumentError);
    }
};

}  // namespace comserver
