#include "link.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "vennix.h"

namespace {

const char16_t kPlayerMissing[] = u"未找到播放器,请先打开播放器";
const char16_t kPlayerMissingCaption[] = u"错误提示";
const char16_t kUnsupported[] = u"暂不支持此网址";
const char16_t kUnsupportedCaption[] = u"澜影提示";
const char16_t kLinkGone[] = u"URL链接已失效";
const char16_t kLinkGoneCaption[] = u"提示";
const char16_t kUnknownType[] = u"未知类型";
const char16_t kUnknownTypeCaption[] = u"错误";

const char16_t kItemEnd[] = u"<&>";
const char16_t kLineEnd[] = u"\r\n";

bool Holds(const std::u16string& link, const char16_t* marker)
{
    return link.find(marker) != std::u16string::npos;
}

// Copies at most max units, never ending on the first half of a surrogate pair.
void CopyCut(char16_t* out, const char16_t* text, size_t max)
{
    size_t n = U16Length(text);
    if (n > max) {
        n = max;
        if (text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
            --n;
    }
    std::memcpy(out, text, n * sizeof(char16_t));
    out[n] = 0;
}

// The value after marker up to the next "&"; when that is empty, the whole rest.
void TakeAmpersandValue(const char16_t* link, const char16_t* marker, std::vector<char16_t>& buf)
{
    buf[0] = 0;
    ExtractBetweenW(link, marker, u"&", nullptr, buf.data(), buf.size());
    if (!buf[0])
        ExtractBetweenW(link, marker, nullptr, nullptr, buf.data(), buf.size());
}

// The resolver's outputs, each one unit larger than the export writes, so that they stay
// terminated whatever it wrote.
struct ResolverOutput {
    std::vector<char16_t> lines = std::vector<char16_t>(FLV_URL_DW_LINES_UNITS + 1, 0);
    std::vector<char16_t> title = std::vector<char16_t>(FLV_URL_DW_TITLE_UNITS + 1, 0);

    void Resolve(LinkPlatform& platform, const char16_t* page)
    {
        lines[0] = 0;
        title[0] = 0;
        platform.ResolvePage(page, lines.data(), title.data());
        lines.back() = 0;
        title.back() = 0;
    }
};

class LinkRun {
public:
    LinkRun(LinkPlatform& platform, const LinkBuild& build, LinkContext& context, bool play)
        : platform_(platform), build_(build), context_(context), siteCode_(context.siteCode), play_(play),
          item_(build.itemUnits, 0), name_(build.nameUnits, 0)
    {
    }

    void Run(const std::u16string& link);

private:
    void Box(const char16_t* text, const char16_t* caption)
    {
        platform_.ShowBox(text, caption, build_.ownLinkBoxes ? BoxOwner::LinkWindow : BoxOwner::None);
    }

    // The play flag goes with the first address handed on and is then cleared.
    void Send(const char16_t* address, const char16_t* title)
    {
        if (SendLinkToPlayer(platform_, build_, siteCode_, play_, address, title))
            play_ = false;
    }

    // Takes the next "<&>"-ended item at pos into the item buffer; false when it is empty
    // or has no "<&>" after it.
    bool NextItem(const char16_t*& pos)
    {
        item_[0] = 0;
        ExtractBetweenW(pos, nullptr, kItemEnd, &pos, item_.data(), item_.size());
        return item_[0] != 0;
    }

    void SendPage(const char16_t* link);
    void SendStreams(const char16_t* pos);
    void SendPageList(const std::u16string& link, const char16_t* pos);
    template <class TitleOf>
    void SendLines(TitleOf titleOf);

    LinkPlatform& platform_;
    const LinkBuild& build_;
    LinkContext& context_;
    int32_t siteCode_;
    bool play_;
    std::vector<char16_t> item_, name_;
    ResolverOutput out_;
};

// Sends every "\r\n"-ended line of the resolver's output; an unterminated last line and
// empty lines are never sent. titleOf(n) gives the title of line n, counted from 1 over
// every line, sent or not.
template <class TitleOf>
void LinkRun::SendLines(TitleOf titleOf)
{
    const char16_t* pos = out_.lines.data();
    int n = 0;
    for (;;) {
        item_[0] = 0;
        if (!ExtractBetweenW(pos, nullptr, kLineEnd, &pos, item_.data(), item_.size()))
            return;
        ++n;
        if (!item_[0])
            continue;
        Send(item_.data(), titleOf(n));
    }
}

void LinkRun::SendPage(const char16_t* link)
{
    TakeAmpersandValue(link, u"/src=", item_);
    out_.Resolve(platform_, item_.data());
    if (!out_.lines[0]) {
        Box(kLinkGone, kLinkGoneCaption);
        return;
    }
    const char16_t* title = out_.title.data();
    SendLines([title](int) { return title; });
}

void LinkRun::SendStreams(const char16_t* pos)
{
    while (NextItem(pos))
        Send(item_.data(), name_.data());
}

void LinkRun::SendPageList(const std::u16string& link, const char16_t* pos)
{
    if (!Holds(link, kItemEnd))
        return;
    const bool timed = build_.pageTimeout;
    std::u16string numbered;
    for (;;) {
        if (timed)
            context_.StartPageTimer();
        if (!NextItem(pos))
            return;
        out_.Resolve(platform_, item_.data());
        const char16_t* title = out_.title.data();
        SendLines([&](int n) {
            numbered.clear();
            if (title[0]) {
                char number[32];
                std::snprintf(number, sizeof number, "_%d", n);
                numbered = title;
                numbered.append(number, number + std::strlen(number));
                if (numbered.size() > kNumberedTitleUnits - 1)
                    numbered.resize(kNumberedTitleUnits - 1);
            }
            return numbered.c_str();
        });
        if (timed) {
            if (context_.PageTimedOut())
                return;
            context_.StopPageTimer();
        }
    }
}

void LinkRun::Run(const std::u16string& link)
{
    const char16_t* s = link.c_str();
    if (Holds(link, u"&name="))
        TakeAmpersandValue(s, u"&name=", name_);
    if (build_.refuseNoMatch && siteCode_ == build_.noMatchCode) {
        Box(kUnsupported, kUnsupportedCaption);
        return;
    }
    if (Holds(link, u"/src=")) {
        SendPage(s);
    } else if (const char16_t* flv = U16Find(s, u"/flv=")) {
        SendStreams(flv + U16Length(u"/flv="));
    } else if (const char16_t* list = U16Find(s, u"/videosrc=")) {
        SendPageList(link, list + U16Length(u"/videosrc="));
    } else {
        Box(kUnknownType, kUnknownTypeCaption);
    }
}

}  // namespace

bool FillLinkRecord(LinkRecord& record, const char16_t* address, const char16_t* title, int32_t siteCode)
{
    std::memset(&record, 0, sizeof record);
    size_t n = U16Length(address);
    if (n == 0 || n > kRecordAddressMax)
        return false;
    std::memcpy(record.address, address, n * sizeof(char16_t));
    CopyCut(record.title, title ? title : u"", kRecordTitleMax);
    record.siteCode = siteCode;
    return true;
}

bool SendLinkToPlayer(LinkPlatform& platform, const LinkBuild& build, int32_t siteCode, bool play,
                      const char16_t* address, const char16_t* title)
{
    LinkRecord record;
    if (!FillLinkRecord(record, address, title, siteCode))
        return false;
    const uint32_t word = play ? LINK_ADD - 1 : LINK_ADD;
    uintptr_t window = platform.FindPlayerWindow();
    if (!window) {
        if (build.boxBeforePlayerStart)
            platform.ShowBox(kPlayerMissing, kPlayerMissingCaption, BoxOwner::None);
        platform.StartPlayer();
        window = platform.FindPlayerWindow();
    }
    if (window)
        platform.SendRecord(window, word, record);
    else
        platform.ShowBox(kPlayerMissing, kPlayerMissingCaption, BoxOwner::None);
    return true;
}

bool IsZflvAddress(const std::u16string& address)
{
    return Holds(address, u"zflv://");
}

int HandleZflvLink(LinkPlatform& platform, const LinkBuild& build, LinkContext& context)
{
    const std::u16string& link = context.Link();
    bool play;
    if (Holds(link, u"zflv://goto/"))
        return 0;
    if (Holds(link, u"zflv://play/"))
        play = true;
    else if (Holds(link, u"zflv://add/"))
        play = false;
    else
        return 0;
    context.siteCode = ClassifySite(GetUrlHostW(link), build.noMatchCode);
    LinkRun(platform, build, context, play).Run(link);
    return 0;
}
