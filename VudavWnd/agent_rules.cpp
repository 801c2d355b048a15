#include "agent_rules.h"

#include <vector>

#include "config/agent.h"
#include "link_text.h"

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
    // A failed search leaves the zero-filled buffer empty.
    std::vector<char16_t> value(kValueCapacity, 0);
    ExtractBetweenW(commandLine.c_str(), u"/url ", u" ", nullptr, value.data(), value.size());
    link = Trim(u"zflv://play/src=" + std::u16string(value.data()));
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
