#include "profile.h"

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
    HKEY key;
    if (!HasKey() ||
        RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return result;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value)
        result = value;
    RegCloseKey(key);
    return result;
}

bool RegistryProfile::WriteInt(const wchar_t* section, const wchar_t* entry, int value)
{
    HKEY key;
    if (!HasKey() || RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0,
                                     KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD data = static_cast<DWORD>(value);
    bool ok = RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                             sizeof data) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

}  // namespace winui
