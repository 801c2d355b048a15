// The updater's description reader on hostile text: every field stays within its bound and
// zero-terminated, the format follows the root element, the comparison reads only the keys
// of the format, and an installer path taken from an address stays inside its folder.
// fuzz-options: -max_len=8192 -runs=20000
#include <cstring>
#include <string>

#include "check.h"
#include "update_rules.h"
#include "worker_rules.h"

namespace {

void CheckBlock(const ComponentBlock& b)
{
    Check(std::memchr(b.version, 0, sizeof b.version) != nullptr);
    Check(std::memchr(b.build, 0, sizeof b.build) != nullptr);
    Check(std::memchr(b.download, 0, sizeof b.download) != nullptr);
    Check(std::memchr(b.description, 0, sizeof b.description) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    UpdateDescription d;
    ReadUpdateDescription(text.c_str(), d);
    for (const ComponentBlock& b : d.blocks)
        CheckBlock(b);
    const bool rootFound = text.find("<root>") != std::string::npos;
    if (!rootFound)
        Check(d.singleFormat);
    if (d.singleFormat) {
        Check(d.blocks[kParser].build[0] == 0 && d.blocks[kGenal].download[0] == 0);
    }
    const std::u16string folder = u"C:\\QEL Player\\";
    for (const ComponentBlock& b : d.blocks) {
        const std::string download = b.download;
        std::u16string path;
        if (InstallerPath(folder, std::u16string(download.begin(), download.end()), path)) {
            const std::u16string name = path.substr(folder.size());
            Check(path.size() <= kMaxInstallerPath && path.compare(0, folder.size(), folder) == 0);
            Check(name != u"." && name != u".." && name.find_first_of(u"\\/:") == std::u16string::npos);
            Check(name.back() != u'.' && name.back() != u' ');
        }
    }
    const uint32_t flags = NewerComponents(d, [&](IniKey key) {
        Check(key != kNoKey && (d.singleFormat ? key == kFixedBuildKey : key != kFixedBuildKey));
        return std::string(text.c_str(), text.size() < 40 ? text.size() : 40);
    });
    Check((flags & ~(UPDATE_PLAYER | UPDATE_PARSER | UPDATE_GENAL)) == 0);
    if (d.singleFormat)
        Check((flags & ~UPDATE_PLAYER) == 0);
    return 0;
}
