// The update description, the build comparison and the result codes.
#include "update_rules.h"

#include <cstring>

#include "decimal.h"
#include "extract_between.h"

namespace {

struct BlockTags {
    const char* start;
    const char* end;
};
const BlockTags kBlockTags[kComponentCount] = {
    {"<player>", "</player>"}, {"<parser>", "</parser>"}, {"<genal>", "</genal>"}};

// The four fields of one block; each keeps its own bound.
void ReadFields(const char* block, ComponentBlock& c)
{
    ExtractBetweenA(block, "<version>", "</version>", nullptr, c.version, sizeof c.version);
    ExtractBetweenA(block, "<build>", "</build>", nullptr, c.build, sizeof c.build);
    ExtractBetweenA(block, "<download>", "</download>", nullptr, c.download, sizeof c.download);
    ExtractBetweenA(block, "<description>", "</description>", nullptr, c.description, sizeof c.description);
}

}  // namespace

uint32_t ComponentFlag(Component c)
{
    switch (c) {
    case kPlayer: return UPDATE_PLAYER;
    case kParser: return UPDATE_PARSER;
    case kGenal: return UPDATE_GENAL;
    default: return 0;
    }
}

void ReadUpdateDescription(const char* text, UpdateDescription& out)
{
    std::memset(out.blocks, 0, sizeof out.blocks);
    if (!text)
        text = "";
    char root[32] = {};
    ExtractBetweenA(text, "<root>", "</root>", nullptr, root, sizeof root);
    out.singleFormat = root[0] == '\0';
    if (out.singleFormat) {
        ReadFields(text, out.blocks[kPlayer]);
        return;
    }
    for (int c = 0; c < kComponentCount; ++c) {
        const char* start = FindMarker(text, kBlockTags[c].start);
        if (!start)
            continue;
        start += std::strlen(kBlockTags[c].start);
        const char* end = FindMarker(start, kBlockTags[c].end);
        if (!end || end == start)
            continue;
        const std::string block(start, end);
        ReadFields(block.c_str(), out.blocks[c]);
    }
}

int32_t BuildNumber(const char* text)
{
    return ParseDecimalPrefix(text);
}

bool IsNewerBuild(const char* descriptionBuild, const char* recordedBuild)
{
    return BuildNumber(descriptionBuild) > BuildNumber(recordedBuild);
}

const char kFixedBuildKeyText[] = "build";
const char kDefaultRecordedBuild[] = "081125";

IniKey RecordedBuildKey(bool singleFormat, Component c)
{
    if (singleFormat)
        return c == kPlayer ? kFixedBuildKey : kNoKey;
    switch (c) {
    case kPlayer: return IDS_PLAYER_BUILD_KEY;
    case kParser: return IDS_PARSE_BUILD_KEY;
    case kGenal: return IDS_GENAL_BUILD_KEY;
    default: return kNoKey;
    }
}

uint32_t NewerComponents(const UpdateDescription& d, const std::function<std::string(IniKey key)>& readRecorded)
{
    uint32_t flags = 0;
    for (int i = 0; i < kComponentCount; ++i) {
        const Component c = static_cast<Component>(i);
        const IniKey key = RecordedBuildKey(d.singleFormat, c);
        if (key == kNoKey)
            continue;
        const std::string recorded = readRecorded(key);
        if (IsNewerBuild(d.blocks[c].build, recorded.c_str()))
            flags |= ComponentFlag(c);
    }
    return flags;
}

uint32_t ResultFromError(uint32_t error)
{
    if (error == 0)
        return 0x80004005u;
    if (static_cast<int32_t>(error) < 0)
        return error;
    return (error & 0xFFFFu) | 0x80070000u;
}
