#pragma once
// The command line as a program's start routine receives it (platform-free).
#include <string>

namespace winui {

// The text after the program path: a path in double quotes ends at the closing quote,
// any other at the first blank or control character; the blanks and control characters
// after it are skipped. The rest stands as it is.
std::u16string CommandTail(const std::u16string& commandLine);

}  // namespace winui
