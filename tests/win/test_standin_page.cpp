// What the stand-in browser draws of a page (the screenshots' page text): the file an address
// stands for, never outside the local pages folder, and the page's visible words.
#include <gtest/gtest.h>

#include "standin_page.h"

namespace {

TEST(StandInPage, FileOfAnAddress)
{
    const std::wstring pages = L"C:\\pages";
    const struct {
        const wchar_t* address;
        const wchar_t* file;
    } cases[] = {
        {L"C:\\run\\qel run\\loading.html", L"C:\\run\\qel run\\loading.html"},
        {L"file:///C:/run/welcome.html", L"C:\\run\\welcome.html"},
        {L"http://service.example/QEL_MESSAGE/welcome.html", L"C:\\pages\\service.example\\QEL_MESSAGE\\welcome.html"},
        {L"http://service.example/a.html?x=1#top", L"C:\\pages\\service.example\\a.html"},
        {L"http://portal.example/", L"C:\\pages\\portal.example\\index.html"},
        {L"http://service.example/../../secret.html", L""},  // never above the pages folder
        {L"http://service.example:8080/a.html", L""},
        {L"https://service.example/a.html", L""},
        {L"zflv://play/src=http://x/", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandInPageFile(c.address, pages), c.file) << c.address;
    EXPECT_EQ(StandInPageFile(L"http://service.example/a.html", L""), L"");  // no pages folder: nothing
}

TEST(StandInPage, VisibleText)
{
    const struct {
        const char* html;
        const wchar_t* text;
    } cases[] = {
        {"<html><head><meta charset=\"utf-8\"><title>正在载入</title></head>"
         "<body style=\"margin:0\">\n<p style=\"text-align:center\">正在获取视频地址，请稍候……</p>\n</body></html>",
         L"正在获取视频地址，请稍候……"},
        {"<body><p>欢迎使用</p><p>第二  行\r\n 续</p>a<br>b</body>", L"欢迎使用\n第二 行 续\na\nb"},
        {"<p>&lt;a&gt; &amp; &quot;x&quot; &#27426;&#x8FCE;&nbsp;!</p>", L"<a> & \"x\" 欢迎 !"},
        {"<p>&bogus; &#xD800; &</p>", L"&bogus; &#xD800; &"},
        {"<script>var s = '<p>no</p>';</script><style>p{}</style><p>yes</p>", L"yes"},
        {"<p>cut <b", L"cut"},          // an unclosed tag ends the text
        {"<title>never closed", L""},  // a skipped element without its end
        {"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandInPageText(c.html), c.text) << c.html;
}

}  // namespace
