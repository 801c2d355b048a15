#pragma once
// Starting a program that lies beside this library.
#include <windows.h>

#include <string>

// Starts baseName.extension from the folder of module's own file, its path quoted and followed by
// arguments, with the show code; false when it did not start.
bool StartProgramBesideModule(HMODULE module, const wchar_t* baseName, const wchar_t* extension,
                              const std::u16string& arguments, int showCode);
