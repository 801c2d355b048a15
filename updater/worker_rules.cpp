// Installer paths, progress and the recorded builds.
#include "worker_rules.h"

#include <cstdio>

namespace {

char16_t AsciiUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool EqualsIgnoringAsciiCase(const std::u16string& text, const char16_t* upper)
{
    size_t i = 0;
    for (; i < text.size() && upper[i]; ++i) {
        if (AsciiUpper(text[i]) != upper[i])
            return false;
    }
    return i == text.size() && !upper[i];
}

// A name Windows opens as a device, whatever follows its first ".".
bool IsDeviceName(const std::u16string& name)
{
    std::u16string stem = name.substr(0, name.find(u'.'));
    while (!stem.empty() && stem.back() == u' ')
        stem.pop_back();
    for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
        if (EqualsIgnoringAsciiCase(stem, device))
            return true;
    }
    if (stem.size() != 4 || !(EqualsIgnoringAsciiCase(stem.substr(0, 3), u"COM") ||
                              EqualsIgnoringAsciiCase(stem.substr(0, 3), u"LPT")))
        return false;
    const char16_t n = stem[3];
    return (n >= u'0' && n <= u'9') || n == u'\u00B9' || n == u'\u00B2' || n == u'\u00B3';
}

}  // namespace

bool InstallerPath(const std::u16string& folder, const std::u16string& address, std::u16string& path)
{
    const size_t slash = address.find_last_of(u'/');
    const std::u16string name = slash == std::u16string::npos ? address : address.substr(slash + 1);
    if (name.empty() || name == u"." || name == u"..")
        return false;
    for (char16_t c : name) {
        if (c == u'\\' || c == u'/' || c == u':' || c < 0x20 || c == 0x7F)
            return false;
    }
    if (name.back() == u'.' || name.back() == u' ' || EqualsIgnoringAsciiCase(name, u"UPDATE.INI") ||
        IsDeviceName(name))
        return false;
    if (folder.size() + name.size() > kMaxInstallerPath)
        return false;
    path = folder + name;
    return true;
}

bool ProgressPosition(uint32_t total, uint32_t done, uint32_t& position)
{
    if (total == 0)
        return false;
    const uint64_t percent = static_cast<uint64_t>(done) * 100 / total;
    position = percent > 100 ? 100 : static_cast<uint32_t>(percent);
    return true;
}

std::string ProgressText(uint32_t total, uint32_t done)
{
    char text[32];
    std::snprintf(text, sizeof text, "%uK / %uK", done / 1024, total / 1024);
    return text;
}

bool ProgressThrottle::Show(uint32_t done, uint32_t position, uint32_t nowMs)
{
    const bool show = !started_ || done == done_ || done < done_ || position != position_ ||
                      nowMs - shownAt_ >= kProgressQuietMs;
    started_ = true;
    done_ = done;
    lastPosition_ = position;
    heldBack_ = !show;
    if (show) {
        position_ = position;
        shownAt_ = nowMs;
    }
    return show;
}

bool ProgressThrottle::TakeHeldBack(uint32_t nowMs)
{
    if (!heldBack_)
        return false;
    heldBack_ = false;
    position_ = lastPosition_;
    shownAt_ = nowMs;
    return true;
}

std::vector<BuildRecord> BuildRecords(bool singleFormat, uint32_t notStarted)
{
    const std::vector<BuildRecord> all =
        singleFormat ? std::vector<BuildRecord>{{IDS_PLAYER_BUILD_KEY, kPlayer}, {kFixedBuildKey, kPlayer}}
                     : std::vector<BuildRecord>{
                           {IDS_PLAYER_BUILD_KEY, kPlayer}, {IDS_GENAL_BUILD_KEY, kGenal}, {IDS_PARSE_BUILD_KEY, kParser}};
    std::vector<BuildRecord> kept;
    for (const BuildRecord& r : all) {
        if (!(ComponentFlag(r.component) & notStarted))
            kept.push_back(r);
    }
    return kept;
}
