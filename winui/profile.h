#pragma once
// The application's registry profile: numbers by section and entry.
#include <windows.h>

#include <string>

namespace winui {

class RegistryProfile {
public:
    // Values then live under HKEY_CURRENT_USER\Software\<key>\<application>\<section>.
    void SetKey(const std::wstring& key, const std::wstring& application);
    bool HasKey() const { return !path_.empty(); }

    // A 32-bit value of the profile, or defaultValue when it is missing or has no key.
    [[nodiscard]] UINT GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    // Writes a 32-bit value, making the section's key when needed.
    bool WriteInt(const wchar_t* section, const wchar_t* entry, int value);

private:
    std::wstring SectionPath(const wchar_t* section) const;

    std::wstring path_;  // below HKEY_CURRENT_USER
};

}  // namespace winui
