#pragma once
// Small Win32 helpers that the stand-ins and their tests share: text conversion, whole
// files, appended record lines.
#include <windows.h>

#include <string>

std::wstring WideFrom(const std::string& bytes, UINT codePage);
std::string NarrowTo(const std::wstring& text, UINT codePage);
inline std::wstring Wide(const std::string& utf8) { return WideFrom(utf8, CP_UTF8); }
inline std::string Utf8(const std::wstring& text) { return NarrowTo(text, CP_UTF8); }

// "\\", "\n" and "\r" as two characters each, and back.
std::string EscapeLine(const std::string& text);
std::string UnescapeLine(const std::string& text);

// An environment variable's value; empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name);
// A module's file path (null: the running program).
std::wstring ModulePath(HMODULE module);

// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
// Writes bytes to a file, replacing it.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
// Appends line and "\n", the file opened and closed again (readers see it at once).
void AppendLine(const std::wstring& path, const std::string& line);
bool FileExists(const std::wstring& path);
// Waits until the file exists; false after timeoutMs.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);
