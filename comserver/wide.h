#pragma once
// UTF-16 text between the Windows calls (wchar_t) and the platform-free code (char16_t).
#include <string>

namespace comserver {

inline std::u16string ToU16(const std::wstring& s)
{
    return std::u16string(s.begin(), s.end());
}

inline std::wstring ToWide(const std::u16string& s)
{
    return std::wstring(s.begin(), s.end());
}

}  // namespace comserver
