// Break through the library's UTF-16 export, against the fixture web: a signed stream
// address, and the line a file elsewhere writes to the test program's standard output.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "library.h"

namespace {

class Break : public LibraryTest {
protected:
    // Resolves a page while the program's standard output goes to a file; gives what
    // arrived there.
    std::string ResolveKeepingOutput(const wchar_t* pageUrl, Lines& r)
    {
        wchar_t dir[MAX_PATH], path[MAX_PATH];
        EXPECT_NE(GetTempPathW(MAX_PATH, dir), 0u);
        EXPECT_NE(GetTempFileNameW(dir, L"out", 0, path), 0u);
        std::fflush(stdout);
        const int saved = _dup(1);
        const int file = _wopen(path, _O_WRONLY | _O_TRUNC | _O_TEXT, _S_IREAD | _S_IWRITE);
        EXPECT_GE(saved, 0);
        EXPECT_GE(file, 0);
        _dup2(file, 1);
        _close(file);
        r = UrlDirectlyW(pageUrl);
        std::fflush(stdout);
        _dup2(saved, 1);
        _close(saved);

        std::string out;
        if (FILE* f = _wfopen(path, L"rb")) {
            char buf[256];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
                out.append(buf, n);
            std::fclose(f);
        }
        DeleteFileW(path);
        return out;
    }
};

}  // namespace

TEST_F(Break, PageGivesItsFileOnTheVideoHostSigned)
{
    Lines r;
    EXPECT_EQ(ResolveKeepingOutput(L"http://www.break.com/index/clip.html", r), "");
    EXPECT_EQ(r.lines, L"http://video1.break.com/dnet/media/2008/12/clip.flv?rs=80&ri=5000"
                       L"&h=f82a6bf23df48ac8a2b93757b9ebcd15&ext=.flv\r\n");
    EXPECT_EQ(r.title, L"Break clip");
    // The page alone was asked; a single alternative is not probed.
    EXPECT_EQ(FixtureRecord().size(), 2u);
}

TEST_F(Break, FileOffTheMediaHostWritesItsLineToTheStandardOutput)
{
    Lines r;
    EXPECT_EQ(ResolveKeepingOutput(L"http://www.break.com/index/elsewhere.html", r), "not support!!\r\n");
    EXPECT_EQ(r.lines, L"");
    EXPECT_EQ(r.title, L"Break clip");
}
