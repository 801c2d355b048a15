#include "codepage.h"

#include <windows.h>

int AcpFromUtf16(const char16_t* src, int srcUnits, char* dst, int dstBytes)
{
    if (!src)
        return 0;
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWCH>(src), srcUnits, dst, dstBytes,
                               nullptr, nullptr);
}

int Utf16FromAcp(const char* src, int srcBytes, char16_t* dst, int dstUnits)
{
    if (!src)
        return 0;
    return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, src, srcBytes, reinterpret_cast<LPWSTR>(dst),
                               dstUnits);
}
