#pragma once
// Mofile's substitution of the download address's scrambled value.
#include <string>
#include <vector>

// "10", then each character moved 10 places on in the substitution key (wrapping at
// 62); a character outside the key counts as standing before its first place.
std::string ShiftAlphabet(const std::string& text);
// The characters, each followed by the separator (the last one too).
std::string JoinChars(const std::vector<char>& chars, const std::string& separator);
