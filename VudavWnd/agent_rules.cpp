#include "agent_rules.h"

#include <algorithm>

#include "config/agent.h"

namespace {

// The value buffer of 40960 units with its terminator holds any command line.
const size_t kValueCapacity = 40960;
const char16_t kWhiteSpace[] = u" \t\n\v\f\r\u3000";

std::u16string Trim(const std::u16string& s)
{
    size_t first = s.find_first_not_of(kWhiteSpace);
    if (first == std::u16string::npos)
        return u"";
    size_t last = s.find_last_not_of(kWhiteSpace);
    return s.substr(first, last - first + 1);
}

}  // namespace

bool VudavLinkFromCommandLine(const std::u16string& commandLine, std::u16string& link)
{
    if (commandLine.empty() || commandLine.find(u"/url") == std::u16string::npos)
        return false;
    std::u16string value;
    const std::u16string marker = u"/url ";
    size_t start = commandLine.find(marker);
    if (start != std::u16string::npos) {
        start += marker.size();
        size_t end = commandLine.find(u' ', start);
        if (end != std::u16string::npos)
            value = commandLine.substr(start, std::min(end - start, kValueCapacity - 1));
    }
    link = Trim(u"zflv://play/src=" + value);
    return true;
}

std::u16string WelcomePageUrl()
{
    std::u16string url = u"http://";
    for (const char* p = cfg::AgentWelcomeHost; *p; ++p)
        url += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return url + u"/QEL_MESSAGE/welcome.html";
}

WindowPlacement WelcomeWindowPlacement(int desktopWidth, int desktopHeight)
{
    const int width = 436, height = 316;
    return {(desktopWidth - width) / 2, (desktopHeight - height) / 2, width, height};
}
