// The update worker's rules: installer names refused or taken, progress past 42,949,672
// bytes and with an unknown total, and the order of the recorded builds.
#include <gtest/gtest.h>

#include <string>

#include "worker_rules.h"

TEST(InstallerPath, NameAfterTheLastSlashOrRefused)
{
    const std::u16string folder = u"C:\\Users\\u\\AppData\\QEL Player\\";
    const struct {
        std::u16string address;
        const char16_t* name;  // null: refused
    } cases[] = {
        {u"http://service.qelplayer.net/setup/player_setup.exe", u"player_setup.exe"},
        {u"http://h/a/b/c.exe?x=1", u"c.exe?x=1"},
        {u"http://h/中文安装.exe", u"中文安装.exe"},
        {u"setup.exe", u"setup.exe"},  // no "/": the whole address
        {u"http:setup.exe", nullptr},  // no "/", and its name holds ":"
        {u"", nullptr},
        {u"http://h/", nullptr},
        {u"http://h/.", nullptr},
        {u"http://h/..", nullptr},
        {u"http://h/..\\..\\Startup\\a.exe", nullptr},
        {u"http://h/a\\b.exe", nullptr},
        {u"http://h/C:a.exe", nullptr},
        {u"http://h/a\tb.exe", nullptr},
        {u"http://h/a\nb.exe", nullptr},
        {u"http://h/a\x7F" u"b.exe", nullptr},  // DEL
        // Names Windows sends elsewhere: the profile beside the installers, names it trims,
        // devices.
        {u"http://h/update.ini", nullptr},
        {u"http://h/UpDaTe.InI", nullptr},
        {u"update.ini", nullptr},
        {u"http://h/update.ini.", nullptr},
        {u"http://h/update.ini ", nullptr},
        {u"http://h/...", nullptr},
        {u"http://h/setup.exe.", nullptr},
        {u"http://h/update.ini.exe", u"update.ini.exe"},
        {u"http://h/xupdate.ini", u"xupdate.ini"},
        {u"http://h/con", nullptr},
        {u"http://h/CON.exe", nullptr},
        {u"http://h/Con  .tar.gz", nullptr},
        {u"http://h/prn.exe", nullptr},
        {u"http://h/aux", nullptr},
        {u"http://h/nul.txt", nullptr},
        {u"http://h/com0.exe", nullptr},
        {u"http://h/COM9", nullptr},
        {u"http://h/lpt0.exe", nullptr},
        {u"http://h/Lpt9.exe", nullptr},
        {u"http://h/com\u00B9.exe", nullptr},
        {u"http://h/COM\u00B2", nullptr},
        {u"http://h/lpt\u00B3.exe", nullptr},
        {u"http://h/LPT\u00B9", nullptr},
        {u"http://h/conin$.exe", nullptr},
        {u"http://h/CONOUT$", nullptr},
        {u"http://h/console.exe", u"console.exe"},
        {u"http://h/com10.exe", u"com10.exe"},
        {u"http://h/lpt.exe", u"lpt.exe"},
        {u"http://h/com\u2074.exe", u"com\u2074.exe"},  // superscript 4
        {u"http://h/ con.exe", u" con.exe"},
        {u"http://h/a.con", u"a.con"},
        {u"http://h/nulls.exe", u"nulls.exe"},
    };
    for (const auto& c : cases) {
        std::u16string path = u"untouched";
        const bool ok = InstallerPath(folder, c.address, path);
        EXPECT_EQ(ok, c.name != nullptr) << std::string(c.address.begin(), c.address.end());
        EXPECT_EQ(path, c.name ? folder + c.name : u"untouched");
    }
    // The longest path is 511 units.
    const std::u16string fits(511 - folder.size(), u'a'), over(512 - folder.size(), u'a');
    std::u16string path;
    EXPECT_TRUE(InstallerPath(folder, u"http://h/" + fits, path));
    EXPECT_EQ(path.size(), 511u);
    EXPECT_FALSE(InstallerPath(folder, u"http://h/" + over, path));
}

TEST(Progress, PositionAndTextWithoutWrapOrDivisionByZero)
{
    const struct {
        uint32_t total, done;
        bool moves;
        uint32_t position;
        const char* text;
    } cases[] = {
        {2000000, 123456, true, 6, "120K / 1953K"},
        {2000000, 2000000, true, 100, "1953K / 1953K"},
        {100, 0, true, 0, "0K / 0K"},
        {1024, 1023, true, 99, "0K / 1K"},
        // Past 42,949,672 bytes the 32-bit product would wrap.
        {50000000, 49999999, true, 99, "48828K / 48828K"},
        {50000000, 50000000, true, 100, "48828K / 48828K"},
        {4294967295u, 4294967295u, true, 100, "4194303K / 4194303K"},
        // More than the total (an earlier download's length): clamped.
        {1000, 5000, true, 100, "4K / 0K"},
        // Unknown total: the bar stays.
        {0, 70000, false, 77, "68K / 0K"},
    };
    for (const auto& c : cases) {
        uint32_t position = 77;
        EXPECT_EQ(ProgressPosition(c.total, c.done, position), c.moves) << c.total << " " << c.done;
        EXPECT_EQ(position, c.position) << c.total << " " << c.done;
        EXPECT_EQ(ProgressText(c.total, c.done), c.text);
    }
}

TEST(BuildRecords, KeysInTheirOrderPerFormatWithoutTheInstallersNotStarted)
{
    auto keys = [](bool single, uint32_t notStarted) {
        std::string out;
        for (const BuildRecord& r : BuildRecords(single, notStarted))
            out += std::to_string(r.key) + ":" + std::to_string(r.component) + " ";
        return out;
    };
    const struct {
        bool single;
        uint32_t notStarted;
        const char* records;  // key id:component, in order
    } cases[] = {
        {true, 0, "2005:0 1:0 "},  // "player_build", "build"
        {false, 0, "2005:0 2008:2 2002:1 "},  // "player_build", "genal_build", "parse_build"
        {true, UPDATE_PLAYER, ""},
        {true, UPDATE_GENAL, "2005:0 1:0 "},
        {false, UPDATE_PLAYER, "2008:2 2002:1 "},
        {false, UPDATE_PARSER, "2005:0 2008:2 "},
        {false, UPDATE_GENAL | UPDATE_PLAYER, "2002:1 "},
        {false, UPDATE_PLAYER | UPDATE_PARSER | UPDATE_GENAL, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keys(c.single, c.notStarted), c.records) << c.single << " " << c.notStarted;
    EXPECT_EQ(kFixedBuildKey, 1u);
    EXPECT_EQ(std::string(kFixedBuildKeyText), "build");
}

TEST(Progress, ThrottleShowsNewPositionsPausesAndTheLastCall)
{
    ProgressThrottle t;
    EXPECT_TRUE(t.Show(100, 0, 1000));    // the first call
    EXPECT_FALSE(t.Show(200, 0, 1010));   // same position, within the quiet spell
    EXPECT_FALSE(t.Show(300, 0, 1049));
    EXPECT_TRUE(t.Show(400, 0, 1050));    // the spell is over
    EXPECT_TRUE(t.Show(500, 1, 1051));    // a new position
    EXPECT_FALSE(t.Show(600, 1, 1052));
    EXPECT_TRUE(t.Show(600, 1, 1053));    // the last call repeats done
    EXPECT_FALSE(t.TakeHeldBack(1053));   // nothing held back after it
    EXPECT_TRUE(t.Show(10, 0, 1054));     // the next download starts lower
    EXPECT_TRUE(t.Show(20, 0, 0x10));     // the tick count wrapped
}

TEST(Progress, ThrottleShowsANewDownloadThatStartsLowerAtTheSamePosition)
{
    ProgressThrottle t;
    EXPECT_TRUE(t.Show(5000, 3, 1000));
    EXPECT_TRUE(t.Show(5000, 3, 1001));   // its last call
    EXPECT_TRUE(t.Show(4000, 3, 1002));   // the next download, lower, same position, no pause
    EXPECT_FALSE(t.Show(4100, 3, 1003));
}

TEST(Progress, ThrottleGivesBackTheLastCallOfAFailedDownloadOnce)
{
    ProgressThrottle t;
    EXPECT_TRUE(t.Show(8192, 0, 1000));
    EXPECT_FALSE(t.Show(16384, 0, 1001));
    EXPECT_FALSE(t.Show(60000, 0, 1002));  // the download fails here, with no repeated call
    EXPECT_TRUE(t.TakeHeldBack(1003));
    EXPECT_FALSE(t.TakeHeldBack(1004));
    // Shown now: the same position within the quiet spell is held back again.
    EXPECT_FALSE(t.Show(61000, 0, 1005));
    // A new position after a held-back one counts from the position last shown.
    EXPECT_TRUE(t.TakeHeldBack(1006));
    EXPECT_TRUE(t.Show(70000, 1, 1007));
    EXPECT_FALSE(t.TakeHeldBack(1008));
}
