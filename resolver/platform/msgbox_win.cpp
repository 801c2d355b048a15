#include "msgbox.h"

#include <windows.h>

void ShowMessageBox(const char16_t* text, const char16_t* caption)
{
    MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(text), reinterpret_cast<LPCWSTR>(caption), MB_OK);
}
