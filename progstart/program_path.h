#pragma once
// Where a program beside a module lies, and the command line that starts it.
#include <string>

// The path of the program baseName in the folder of modulePath: the module's drive and
// folder, baseName, and the module's own extension when extension is null, else extension
// ("exe" or ".exe"). Empty when modulePath is empty. "/" and "\" both end a folder; the
// extension is what follows the last "." of the file name.
std::u16string ProgramPathBeside(const std::u16string& modulePath, const std::u16string& baseName,
                                 const char16_t* extension);

// The path in double quotes, so that a folder with blanks cannot name another program,
// followed by arguments exactly as given (a leading blank is the caller's).
std::u16string StartCommandLine(const std::u16string& programPath, const std::u16string& arguments);
