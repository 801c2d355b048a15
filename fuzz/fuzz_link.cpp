// The link handling of both builds on a hostile zflv:// link and hostile resolver output.
// The input is UTF-16LE text cut at zero units into: the link, the address lines every
// page resolves to, and the page title. Also the module's text routines on the link.
// fuzz-options: -max_len=8192 -runs=20000
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "link.h"
#include "records.h"
#include "vennix.h"

namespace {

// Answers every page with the same output and checks what the module hands on.
class Platform : public LinkPlatform {
public:
    Platform(const std::u16string& lines, const std::u16string& title) : lines_(lines), title_(title) {}

    void ResolvePage(const char16_t* pageUrl, char16_t* lines, char16_t* title) override
    {
        Check(pageUrl != nullptr);
        ++resolved;
        Copy(lines_, lines, FLV_URL_DW_LINES_UNITS);
        Copy(title_, title, FLV_URL_DW_TITLE_UNITS);
    }
    uintptr_t FindPlayerWindow() override { return 1; }
    void SendRecord(uintptr_t, uint32_t dataWord, const LinkRecord& record) override
    {
        // Only the first record of a link may play; both strings end inside their fields.
        Check(dataWord == LINK_ADD || (dataWord == LINK_PLAY && sent == 0));
        Check(record.address[0] != 0 && record.address[kRecordAddressMax] == 0 &&
              record.title[kRecordTitleMax] == 0);
        ++sent;
    }
    bool StartPlayer() override { return true; }
    void ShowBox(const char16_t* text, const char16_t* caption, BoxOwner) override
    {
        Check(text && caption && text[0] && caption[0]);
        ++boxes;
    }

    int resolved = 0, sent = 0, boxes = 0;

private:
    static void Copy(const std::u16string& from, char16_t* to, size_t units)
    {
        size_t n = from.size() < units - 1 ? from.size() : units - 1;
        std::memcpy(to, from.data(), n * sizeof(char16_t));
        to[n] = 0;
    }
    std::u16string lines_, title_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::u16string> parts = fuzzrec::SplitUtf16(data, size, 3);
    const std::u16string& link = parts[0];

    std::u16string host = GetUrlHostW(link);
    const int32_t code = ClassifySite(host, 255);
    Check(code == 255 || (code >= 0 && code <= 14));
    char16_t buf[16];
    const char16_t* next = nullptr;
    if (ExtractBetweenW(link.c_str(), u"/", u"<&>", &next, buf, sizeof buf / sizeof buf[0]))
        Check(next >= link.c_str() + 3 && next <= link.c_str() + link.size() &&
              std::char_traits<char16_t>::length(buf) < sizeof buf / sizeof buf[0]);

    for (const LinkBuild* build : {&kPeloramaLink, &kAgentLink}) {
        Platform platform(parts[1], parts[2]);
        LinkContext context(link, nullptr);
        Check(HandleZflvLink(platform, *build, context) == 0);
        const int32_t siteCode = context.siteCode;
        // The player is always there, so a box is one of the module's own: it ends the link
        // before anything is sent. A host outside the agent's table resolves nothing.
        Check(platform.boxes <= 1 && (platform.boxes == 0 || platform.sent == 0));
        if (build->refuseNoMatch && siteCode == build->noMatchCode)
            Check(platform.resolved == 0 && platform.sent == 0 && platform.boxes == 1);
    }
    return 0;
}
