// The one UTF-16 header: UTF-8 both ways, and wchar_t <-> char16_t on Windows.
#include <gtest/gtest.h>

#include <string>

#include "utf16.h"

TEST(Utf16, Utf8OfEveryLengthAndBrokenPairs)
{
    const struct {
        std::u16string in;
        std::string out;
    } cases[] = {
        {u"", ""},
        {u"a/b", "a/b"},
        {u"\u00e9", "\xc3\xa9"},
        {u"中文", "\xe4\xb8\xad\xe6\x96\x87"},
        {u"\U0001F3AC", "\xf0\x9f\x8e\xac"},
        {std::u16string(1, u'\xD83C') + u"x", "\xef\xbf\xbdx"},  // a high half alone
        {std::u16string(1, u'\xDFAC'), "\xef\xbf\xbd"},          // a low half alone
        {std::u16string(1, u'\0') + u"a", std::string("\0a", 2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8(c.in), c.out);
        EXPECT_EQ(Utf8(c.in.data(), c.in.size()), c.out);
    }
}

TEST(Utf16, FromUtf8AndBack)
{
    for (const std::u16string text : {u"", u"plain", u"片名 \U0001F3AC \u00e9", u"\uFFFD"})
        EXPECT_EQ(U16FromUtf8(Utf8(text)), text);
}

TEST(Utf16, IllFormedUtf8ReadsAsReplacementPerByte)
{
    const struct {
        std::string in;
        std::u16string out;
    } cases[] = {
        {"\xc3", u"\uFFFD"},                              // cut short
        {"\xe4\xb8", u"\uFFFD\uFFFD"},                    // cut short: each byte
        {"\xc0\xaf", u"\uFFFD\uFFFD"},                    // overlong "/"
        {"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},          // a surrogate
        {"\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\x80" "a", u"\uFFFDa"},                         // a lone continuation byte
        {"a\xff" "b", u"a\uFFFDb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U16FromUtf8(c.in), c.out) << c.in;
}

#ifdef _WIN32
TEST(Utf16, WideAndU16AreTheSameUnits)
{
    const std::u16string u = u"C:\\影片\\\U0001F3AC.exe";
    const std::wstring w = L"C:\\影片\\\U0001F3AC.exe";
    EXPECT_EQ(ToWide(u), w);
    EXPECT_EQ(ToU16(w), u);
    EXPECT_EQ(static_cast<const void*>(AsWide(u.c_str())), static_cast<const void*>(u.c_str()));
    EXPECT_EQ(std::wstring(AsWide(u.c_str())), w);
    EXPECT_EQ(std::u16string(AsU16(w.c_str())), u);
    EXPECT_EQ(ToWide(std::u16string(3, u'\0')).size(), 3u);  // embedded zeros stay
}
#endif
