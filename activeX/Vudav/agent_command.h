#pragma once
// The agent's command line as the control writes it: the quoted program path, then
// " /url " A " /location " P " /info " T, kept within the system's limit. Where the agent
// lies is the program start's rule (progstart/program_path.h).
#include <cstddef>
#include <string>
#include <string_view>

// The longest command line the system starts, in UTF-16 units with its terminating zero.
inline constexpr size_t kCommandLineLimit = 32767;

// Units left for the arguments behind the quoted programPath.
[[nodiscard]] size_t ArgumentsRoom(std::u16string_view programPath);

// " /url " url " /location " location " /info " info within room units. When that is too long,
// info and then location are shortened (to empty if need be, never through a surrogate pair), both
// switches kept, since the agent reads a value with no blank after it as empty. False when the
// /url part alone does not fit: then nothing is to be started.
[[nodiscard]] bool BuildVudavCommandLine(std::u16string_view url, std::u16string_view location,
                                         std::u16string_view info, size_t room, std::u16string* arguments);
