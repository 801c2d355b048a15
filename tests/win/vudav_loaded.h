#pragma once
// A test fixture with a copy of the built control loaded in this process, in a run folder of
// the test's own: the built library has the real agent beside it, which AddLink would start.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Vudav_h.h"
#include "vudav_support.h"

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

class VudavLoaded : public ::testing::Test {
protected:
    explicit VudavLoaded(const wchar_t* folder) : folder_(folder) {}

    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        const std::wstring copy = FreshFolder(folder_) + L"\\Vudav.dll";
        ASSERT_TRUE(CopyTo(VudavDllPath(), copy));
        dll_ = LoadLibraryW(copy.c_str());
        ASSERT_NE(dll_, nullptr);
        getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
            reinterpret_cast<void*>(GetProcAddress(dll_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNowFunction>(
            reinterpret_cast<void*>(GetProcAddress(dll_, "DllCanUnloadNow")));
        ASSERT_TRUE(getClassObject_ && canUnloadNow_);
        ASSERT_EQ(canUnloadNow_(), S_OK);
    }
    void TearDown() override
    {
        EXPECT_EQ(canUnloadNow_ ? canUnloadNow_() : S_OK, S_OK);  // every test releases what it made
        if (dll_)
            FreeLibrary(dll_);
        CoUninitialize();
    }

    IClassFactory* Factory()
    {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(getClassObject_(CLSID_qelVudav, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        return factory;
    }

    template <class T>
    T* Create(REFIID riid)
    {
        IClassFactory* factory = Factory();
        T* object = nullptr;
        if (factory) {
            EXPECT_EQ(factory->CreateInstance(nullptr, riid, reinterpret_cast<void**>(&object)), S_OK);
            factory->Release();
        }
        return object;
    }

    HMODULE dll_ = nullptr;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;

private:
    const wchar_t* folder_;
};
