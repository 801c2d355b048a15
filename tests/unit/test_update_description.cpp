// The update description: both formats, the blocks read whole, the field bounds, the
// build comparison by the run-time's atoi rule, and the keys each format reads.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "update_rules.h"

namespace {

struct Fields {
    std::string version, build, download, description;
};

Fields Of(const ComponentBlock& b)
{
    return {b.version, b.build, b.download, b.description};
}

std::string Block(const char* tag, const Fields& f)
{
    return std::string("<") + tag + ">" + "<version>" + f.version + "</version><build>" + f.build + "</build><download>" +
           f.download + "</download><description>" + f.description + "</description></" + tag + ">";
}

void ExpectFields(const ComponentBlock& b, const Fields& f, const char* what)
{
    SCOPED_TRACE(what);
    const Fields got = Of(b);
    EXPECT_EQ(got.version, f.version);
    EXPECT_EQ(got.build, f.build);
    EXPECT_EQ(got.download, f.download);
    EXPECT_EQ(got.description, f.description);
}

// The text the program's string table gives a key.
std::string KeyName(IniKey key)
{
    switch (key) {
    case kFixedBuildKey: return kFixedBuildKeyText;
    case IDS_PLAYER_BUILD_KEY: return "player_build";
    case IDS_PARSE_BUILD_KEY: return "parse_build";
    case IDS_GENAL_BUILD_KEY: return "genal_build";
    default: return "?";
    }
}

}  // namespace

TEST(UpdateDescription, FormatsBlocksAndMissingTags)
{
    const Fields player{"1.2", "81126", "http://h/p/player_setup.exe", "\xe6\x92\xad\xe6\x94\xbe\xe5\x99\xa8"};
    const Fields parser{"2.0", "90000", "http://h/parser.exe", "parser"};
    const Fields genal{"3.0", "7", "http://h/genal.exe", ""};
    const Fields none{};
    const std::string three = Block("player", player) + Block("parser", parser) + Block("genal", genal);
    const std::string longDescription(3000, 'd');
    const Fields longPlayer{"1", "81127", "http://h/" + std::string(600, 'a') + "/x.exe", longDescription.substr(0, 2047)};
    const Fields bigPlayer{std::string(255, 'v'), std::string(255, '9'), std::string(1023, 'w'),
                           longDescription.substr(0, 2047)};
    const struct Case {
        const char* name;
        std::string text;
        bool single;
        Fields player, parser, genal;
    } cases[] = {
        {"three components inside root", "<root>" + three + "</root>", false, player, parser, genal},
        // The blocks are searched in the whole text, inside or outside "<root>", in any order.
        {"blocks outside root", Block("genal", genal) + "<root>x</root>" + Block("player", player), false, player, none,
         genal},
        {"root with text and no blocks", "<root>x</root>", false, none, none, none},
        {"empty root is the single format", "<root></root>" + Block("player", parser), true, parser, none, none},
        {"no root: the whole text is the player's", "<version>1.2</version><build>81126</build><download>"
                                                    "http://h/p/player_setup.exe</download><description>"
                                                    "\xe6\x92\xad\xe6\x94\xbe\xe5\x99\xa8</description>",
         true, player, none, none},
        {"nothing at all", "", true, none, none, none},
        {"plain text", "no tags here", true, none, none, none},
        // A missing end tag: the element is absent.
        {"missing end tags", "<root>1</root><player><build>5</build><download>http://h/a.exe", false, none, none, none},
        {"missing field end tag", "<root>1</root><player><build>5</build><download>http://h/a.exe</player>", false,
         {"", "5", "", ""}, none, none},
        // A block read whole: fields far past 255 bytes of it are kept.
        {"long block read whole",
         "<root>1</root><player><description>" + longDescription + "</description><version>1</version><build>81127"
                                                                    "</build><download>http://h/" +
             std::string(600, 'a') + "/x.exe</download></player>",
         false, longPlayer, none, none},
        // Each field at its bound, and past it (cut).
        {"single fields at their bounds",
         "<version>" + bigPlayer.version + "</version><build>" + bigPlayer.build + "</build><download>" +
             bigPlayer.download + "</download><description>" + bigPlayer.description + "</description>",
         true, bigPlayer, none, none},
        {"single fields past their bounds",
         "<version>" + bigPlayer.version + "v</version><build>" + bigPlayer.build + "9</build><download>" +
             bigPlayer.download + "w</download><description>" + longDescription + "</description>",
         true, bigPlayer, none, none},
        // White space is part of the text.
        {"blanks kept", "<build> 81126 </build>", true, {"", " 81126 ", "", ""}, none, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateDescription d;
        d.singleFormat = !c.single;
        std::memset(d.blocks, 0x55, sizeof d.blocks);
        ReadUpdateDescription(c.text.c_str(), d);
        EXPECT_EQ(d.singleFormat, c.single);
        ExpectFields(d.blocks[kPlayer], c.player, "player");
        ExpectFields(d.blocks[kParser], c.parser, "parser");
        ExpectFields(d.blocks[kGenal], c.genal, "genal");
    }
}

TEST(UpdateDescription, BuildNumbersReadAsAtoi)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {" +12", 12}, {"-3", -3}, {"081125", 81125}, {"", 0}, {"abc", 0}, {"99999999999", INT32_MAX},
        {"-99999999999", INT32_MIN}, {"\t81126x", 81126}, {"0x10", 0}, {"+-1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(IsNewerBuild("81126", "081125"));
    EXPECT_FALSE(IsNewerBuild("81125", "081125"));  // equal builds are not newer
    EXPECT_FALSE(IsNewerBuild("81124", "081125"));
    EXPECT_TRUE(IsNewerBuild("1", ""));             // a recorded "" reads 0
    EXPECT_FALSE(IsNewerBuild("", ""));
    EXPECT_FALSE(IsNewerBuild("abc", "0"));
    EXPECT_TRUE(IsNewerBuild("99999999999", "2147483646"));
    EXPECT_FALSE(IsNewerBuild("99999999999", "2147483647"));  // both clamp
}

TEST(UpdateDescription, EachFormatReadsItsOwnKeys)
{
    const struct {
        const char* name;
        std::string text;
        std::map<std::string, std::string> recorded;  // missing keys read as the default
        std::vector<std::string> keysRead;
        uint32_t flags;
    } cases[] = {
        {"single, newer than the default", "<build>81126</build>", {}, {"build"}, UPDATE_PLAYER},
        {"single, equal", "<build>81125</build>", {}, {"build"}, 0},
        {"single reads build, not player_build", "<build>5</build>", {{"player_build", "1"}, {"build", "4"}},
         {"build"}, UPDATE_PLAYER},
        {"three, all newer",
         "<root>1</root><player><build>81126</build></player><parser><build>81127</build></parser>"
         "<genal><build>81128</build></genal>",
         {},
         {"player_build", "parse_build", "genal_build"},
         UPDATE_PLAYER | UPDATE_PARSER | UPDATE_GENAL},
        {"three, genal alone newer",
         "<root>1</root><player><build>10</build></player><parser><build>20</build></parser>"
         "<genal><build>31</build></genal>",
         {{"player_build", "10"}, {"parse_build", "20"}, {"genal_build", "30"}, {"build", "0"}},
         {"player_build", "parse_build", "genal_build"},
         UPDATE_GENAL},
        {"three, a recorded empty value reads 0",
         "<root>1</root><parser><build>1</build></parser>",
         {{"player_build", ""}, {"parse_build", ""}, {"genal_build", ""}},
         {"player_build", "parse_build", "genal_build"},
         UPDATE_PARSER},
        {"three, no blocks: nothing newer", "<root>x</root>", {}, {"player_build", "parse_build", "genal_build"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateDescription d;
        ReadUpdateDescription(c.text.c_str(), d);
        std::vector<std::string> read;
        const uint32_t flags = NewerComponents(d, [&](IniKey key) {
            read.push_back(KeyName(key));
            auto it = c.recorded.find(read.back());
            return it == c.recorded.end() ? std::string(kDefaultRecordedBuild) : it->second;
        });
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(read, c.keysRead);
    }
}

TEST(UpdateDescription, ResultCodesFromSystemErrors)
{
    EXPECT_EQ(ResultFromError(8), 0x80070008u);
    EXPECT_EQ(ResultFromError(12006), 0x80072EE6u);
    EXPECT_EQ(ResultFromError(12007), 0x80072EE7u);
    EXPECT_EQ(ResultFromError(0x80004005u), 0x80004005u);
    EXPECT_NE(ResultFromError(0), 0u);  // a failure without an error code still fails
}
