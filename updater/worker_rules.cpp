// Installer paths, progress and the recorded builds.
#include "worker_rules.h"

#include <cstdio>

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
    if (show) {
        position_ = position;
        shownAt_ = nowMs;
    }
    return show;
}

std::vector<BuildRecord> BuildRecords(bool singleFormat)
{
    if (singleFormat)
        return {{"player_build", kPlayer}, {"build", kPlayer}};
    return {{"player_build", kPlayer}, {"genal_build", kGenal}, {"parse_build", kParser}};
}
