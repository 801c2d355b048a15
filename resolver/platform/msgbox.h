#pragma once
// An MB_OK message box with no owner window; returns when the user has closed it.
void ShowMessageBox(const char16_t* text, const char16_t* caption);
