// The test prefix runs at the Chinese ANSI code page, as the target systems do.
#include <gtest/gtest.h>
#include <windows.h>

#include "text.h"

TEST(CodePage, SystemAnsiCodePageIs936)
{
    EXPECT_EQ(GetACP(), 936u);
}

TEST(CodePage, UnescapeUnicodeUsesTheAnsiCodePage)
{
    EXPECT_EQ(UnescapeUnicode("\\u4e2d\\u6587"), "\xd6\xd0\xce\xc4");          // zhong wen
    EXPECT_EQ(UnescapeUnicode("a\\u4E2Db"), "a\xd6\xd0" "b");
    EXPECT_EQ(UnescapeUnicode("\\u0e01"), "?");                               // not in the code page
}
