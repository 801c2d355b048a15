// Where a program beside a module lies, and its command line.
#include <gtest/gtest.h>

#include "program_path.h"

TEST(ProgramPathBeside, TableOfModules)
{
    struct Case {
        std::u16string module, base;
        const char16_t* extension;
        std::u16string path;
    } cases[] = {
        {u"C:\\Program Files\\QEL Player\\pelorama.exe", u"qelplayer", nullptr,
         u"C:\\Program Files\\QEL Player\\qelplayer.exe"},
        {u"C:\\QEL\\Vudav.dll", u"qelagent", u"exe", u"C:\\QEL\\qelagent.exe"},
        {u"C:\\QEL\\Vudav.dll", u"qelagent", u".exe", u"C:\\QEL\\qelagent.exe"},
        {u"C:\\a.b\\Linkctl.DLL", u"qelagent", u"exe", u"C:\\a.b\\qelagent.exe"},  // a renamed copy
        {u"C:\\QEL\\PELORAMA.EXE", u"qelplayer", nullptr, u"C:\\QEL\\qelplayer.EXE"},  // its own extension
        {u"C:\\a.b\\prog", u"qelplayer", nullptr, u"C:\\a.b\\qelplayer"},  // a dot in a folder is no extension
        {u"C:\\a\\prog.tar.exe", u"qelplayer", nullptr, u"C:\\a\\qelplayer.exe"},
        {u"Z:/work/bin/qelagent.exe", u"qelplayer", nullptr, u"Z:/work/bin/qelplayer.exe"},
        {u"\\\\server\\share\\视频 播放\\pelorama.exe", u"qelplayer", nullptr,
         u"\\\\server\\share\\视频 播放\\qelplayer.exe"},
        {u"C:prog.exe", u"qelplayer", nullptr, u"C:qelplayer.exe"},
        {u"prog.exe", u"qelplayer", nullptr, u"qelplayer.exe"},
        {u"C:\\QEL\\Vudav.dll", u"qelagent", u"", u"C:\\QEL\\qelagent"},
        {u"", u"qelplayer", nullptr, u""},  // no module name: nothing to start
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramPathBeside(c.module, c.base, c.extension), c.path) << "case " << (&c - cases);
}

TEST(StartCommandLine, PathQuotedArgumentsAsGiven)
{
    EXPECT_EQ(StartCommandLine(u"C:\\qel run\\qelplayer.exe", u""), u"\"C:\\qel run\\qelplayer.exe\"");
    EXPECT_EQ(StartCommandLine(u"C:\\QEL\\qelagent.exe", u" /url http://a/b c /location p /info 文字"),
              u"\"C:\\QEL\\qelagent.exe\" /url http://a/b c /location p /info 文字");
}
