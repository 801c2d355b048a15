// 5show through the library's UTF-16 export, against the fixture web: the form POST on
// port 88 and the file's address from its reply.
#include <string>
#include <vector>

#include "config/hosts.h"
#include "library.h"

namespace {

class FiveShow : public LibraryTest {};

}  // namespace

TEST_F(FiveShow, PageGivesTheFileOnTheHostThatTheInterfaceNames)
{
    Lines r = UrlDirectlyW(L"http://www.5show.com/show/1.html");
    EXPECT_EQ(r.lines, L"http://f1.5show.com/h72bd05kwn416tq3m/2008/12/03/A_B_20081203xyz.flv\r\n");
    EXPECT_EQ(r.title, L"秀 clip");

    std::vector<RecordedRequest> api = FixtureRecordFor(cfg::FiveShowInterfaceHost);
    ASSERT_EQ(api.size(), 1u);
    const RecordedRequest& post = api[0];
    EXPECT_EQ(post.port, 88);
    EXPECT_EQ(post.requestLine, "POST /flash.ashx HTTP/1.0");
    const std::string form =
        "net=1&p1=A%5FB%5F20081203xyz&domain=5show%2Ecom&show%5Fid=f%2F9%2Ex&user%5Fid=u+1&key=5show%2Ecom";
    EXPECT_EQ(post.body, form);
    EXPECT_EQ(post.Header("Content-Length"), std::to_string(form.size()));
    EXPECT_EQ(post.Header("Content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(post.Header("Accept-Encoding"), "gzip,deflate");
    EXPECT_EQ(post.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
}
