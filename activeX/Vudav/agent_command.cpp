// Building and fitting the agent's command line.
#include "agent_command.h"

namespace {

constexpr std::u16string_view kUrlSwitch = u" /url ";
constexpr std::u16string_view kLocationSwitch = u" /location ";
constexpr std::u16string_view kInfoSwitch = u" /info ";

// The first units of text, at most `units`, without the first half of a split surrogate pair.
std::u16string_view Head(std::u16string_view text, size_t units)
{
    if (units >= text.size())
        return text;
    if (units > 0 && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF)
        --units;
    return text.substr(0, units);
}

}  // namespace

size_t ArgumentsRoom(std::u16string_view programPath)
{
    size_t used = programPath.size() + 2 + 1;  // the quotes and the terminating zero
    return used >= kCommandLineLimit ? 0 : kCommandLineLimit - used;
}

bool BuildVudavCommandLine(std::u16string_view url, std::u16string_view location, std::u16string_view info,
                           size_t room, std::u16string* arguments)
{
    arguments->clear();
    size_t fixed = kUrlSwitch.size() + url.size() + kLocationSwitch.size() + kInfoSwitch.size();
    if (fixed > room)
        return false;
    size_t left = room - fixed;
    location = Head(location, left);
    info = Head(info, left - location.size());
    arguments->reserve(fixed + location.size() + info.size());
    arguments->append(kUrlSwitch).append(url);
    arguments->append(kLocationSwitch).append(location);
    arguments->append(kInfoSwitch).append(info);
    return true;
}
