#include "command_tail.h"

namespace winui {

std::u16string CommandTail(const std::u16string& commandLine)
{
    size_t i = 0;
    const size_t n = commandLine.size();
    if (n && commandLine[0] == u'"') {
        i = commandLine.find(u'"', 1);
        i = i == std::u16string::npos ? n : i + 1;
    } else {
        while (i < n && commandLine[i] > u' ')
            ++i;
    }
    while (i < n && commandLine[i] <= u' ')
        ++i;
    return commandLine.substr(i);
}

}  // namespace winui
