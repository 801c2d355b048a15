// The command line after the program path, by the run-time library's rule.
#include <gtest/gtest.h>

#include "command_tail.h"

TEST(CommandTail, SkipsTheProgramPathAndTheBlanksAfterIt)
{
    struct Case {
        const char16_t* line;
        const char16_t* tail;
    };
    const Case cases[] = {
        {u"", u""},
        {u"qelagent.exe", u""},
        {u"C:\\a\\qelagent.exe /url x", u"/url x"},
        {u"C:\\a\\qelagent.exe  \t /url x ", u"/url x "},     // blanks and tabs after the path
        {u"\"C:\\Program Files\\q.exe\" /url x", u"/url x"},   // a quoted path keeps its blanks
        {u"\"C:\\a b\\q.exe\"/url x", u"/url x"},              // the closing quote ends it
        {u"\"C:\\a b\\q.exe /url x", u""},                    // no closing quote: all path
        {u"C:\\Program Files\\q.exe /url x", u"Files\\q.exe /url x"},  // unquoted: first blank
        {u"q.exe\x01/url", u"/url"},                           // control characters count as blanks
        {u"q.exe 片名 /url", u"片名 /url"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(winui::CommandTail(c.line), c.tail) << std::u16string(c.line).size();
}
