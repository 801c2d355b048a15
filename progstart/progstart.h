#pragma once
// Starting a program that lies beside a module: the running program (pelorama, qelagent
// start the player) or a DLL's own file (Vudav starts qelagent).
//
//   // the player beside the running program, its extension kept, minimised, ready at return:
//   StartProgramBeside(nullptr, L"qelplayer", nullptr, nullptr, 11, true);
//   // qelagent beside the DLL this code is linked into, arguments after the quoted path:
//   StartProgramBeside(ThisModule(), L"qelagent", L"exe", L" /url a /location b /info c", SW_SHOW, false);
//
// Everything goes through UTF-16 calls (any folder name works, not only those of the ANSI
// code page), and the path is quoted, so a folder such as "C:\Program Files\QEL Player"
// can never start "C:\Program.exe" instead.
#include <windows.h>

#include <string>

#include "program_path.h"

// The longest wait for a started program to be ready.
constexpr DWORD kProgramReadyWaitMs = 30000;
// A show code that gives the program none: its STARTUPINFO holds only its size, and it
// shows its window as it would when started by hand.
constexpr int kNoShowCode = -1;

// The module that holds this code: the DLL it is linked into, else the program.
[[nodiscard]] HMODULE ThisModule();

// The full path of a module's file (null: the running program), of any length; empty when
// it cannot be read.
[[nodiscard]] std::wstring ModuleFilePath(HMODULE module);

// ProgramPathBeside (program_path.h) for a loaded module (null: the running program);
// extension null keeps the module's own. Empty when the module's file name cannot be read.
[[nodiscard]] std::wstring ProgramPathBesideModule(HMODULE module, const wchar_t* baseName, const wchar_t* extension);

// Starts the program at path with CreateProcessW and the command line StartCommandLine
// (path, arguments); arguments may be null. showCode reaches the program as its show code
// (STARTF_USESHOWWINDOW), kNoShowCode none. When waitUntilReady, waits up to
// kProgramReadyWaitMs until the program waits for input, as a start by WinExec does: one
// that creates its window before its first message loop can then be found at once. True
// when the process was created; an empty path starts nothing.
[[nodiscard]] bool StartProgram(const std::wstring& path, const wchar_t* arguments, int showCode, bool waitUntilReady);

// StartProgram (ProgramPathBesideModule (module, baseName, extension), ...).
[[nodiscard]] bool StartProgramBeside(HMODULE module, const wchar_t* baseName, const wchar_t* extension,
                                      const wchar_t* arguments, int showCode, bool waitUntilReady);
