#include "profile.h"

#include "owned_handle.h"

namespace winui {

void RegistryProfile::SetKey(const std::wstring& key, const std::wstring& application)
{
    path_ = L"Software\\" + key + L"\\" + application;
}

std::wstring RegistryProfile::SectionPath(const wchar_t* section) const
{
    return path_ + L"\\" + section;
}

UINT RegistryProfile::GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const
{
    UINT result = static_cast<UINT>(defaultValue);
    owners::OwnedKey key;
    if (!HasKey() || RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ,
                                   key.Receive()) != ERROR_SUCCESS)
        return result;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value)
        result = value;
    return result;
}

bool RegistryProfile::WriteInt(const wchar_t* section, const wchar_t* entry, int value)
{
    owners::OwnedKey key;
    if (!HasKey() || RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0,
                                     KEY_WRITE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(key.Get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

}  // namespace winui
