// The agent's reading of its command line and the control's writing of it, on hostile
// text: the input is UTF-16LE, cut at zero units into the agent's line, then the
// control's address, page and text.
// fuzz-options: -max_len=8192 -runs=20000
#include <string>
#include <vector>

#include "agent_command.h"
#include "agent_rules.h"
#include "check.h"
#include "records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::u16string> parts = fuzzrec::SplitUtf16(data, size, 4);

    std::u16string link;
    if (VudavLinkFromCommandLine(parts[0], link))
        Check(link.compare(0, 16, u"zflv://play/src=") == 0 && link.size() - 16 <= parts[0].size());
    else
        Check(link.empty());

    // What the control writes within a room, and what the agent reads back from it: the
    // address, when it holds no blank.
    const size_t room = size % 300;
    std::u16string arguments;
    if (BuildVudavCommandLine(parts[1], parts[2], parts[3], room, &arguments)) {
        Check(arguments.size() <= room && arguments.compare(0, 6, u" /url ") == 0 &&
              arguments.find(u" /location ") != std::u16string::npos &&
              arguments.find(u" /info ") != std::u16string::npos);
        bool plain = !parts[1].empty();
        for (char16_t c : parts[1])
            plain = plain && c > u' ' && c < 0x7F;
        if (plain) {
            std::u16string read;
            Check(VudavLinkFromCommandLine(arguments, read) && read == u"zflv://play/src=" + parts[1]);
        }
    }
    return 0;
}
