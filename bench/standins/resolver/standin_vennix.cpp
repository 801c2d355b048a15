// Stand-in vennix.dll: the exports of include/vennix.h answering from a script by page
// address, so that the programs' tests choose what a page resolves to.
//
// The script (UTF-8) is read at every call: QEL_RESOLVER_SCRIPT names it, else
// "vennix.script" beside this DLL. One setting per line; "#" starts a comment.
//   log=FILE        every call appends "<export> <page address>" to FILE
//   timelog=FILE    every call appends "t=<system time, 100 ns units> <export> <page address>"
//   page=ADDRESS    starts the block of that page address ("*": any other page)
//   title=TEXT      the page's title
//   line=ADDRESS    one stream address (written with "\r\n" after it)
//   text=TEXT       appended to the lines as it stands; "\r", "\n" and "\\" escaped
//   delay=MS        the call takes MS milliseconds longer
//   hold=FILE       the call returns only once FILE exists (at most 120 s)
//   maximum         every output is filled to the export's whole size (maximum_output.h)
// A page with no block resolves to nothing: empty lines, empty title.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench_files.h"
#include "maximum_output.h"
#include "vennix.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

struct Page {
    std::wstring title, lines;
    std::vector<std::wstring> items;
    DWORD delayMs = 0;
    std::wstring hold;
    bool maximum = false;
};

std::wstring ScriptPath()
{
    std::wstring script = EnvironmentValue(L"QEL_RESOLVER_SCRIPT");
    if (!script.empty())
        return script;
    std::wstring p = ModulePath(reinterpret_cast<HMODULE>(&__ImageBase));
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"vennix.script";
}

// Reads the script, logs the call and gives the page's block (an empty one when none).
Page Answer(const char* exportName, const std::wstring& pageUrl)
{
    std::wstring script = Wide(ReadWholeFile(ScriptPath()));
    std::wstring log, timeLog;
    Page found, any, current;
    enum { None, ThisPage, AnyPage, OtherPage } block = None;
    bool haveFound = false, haveAny = false;
    auto finish = [&]() {
        if (block == ThisPage && !haveFound) {
            found = current;
            haveFound = true;
        } else if (block == AnyPage && !haveAny) {
            any = current;
            haveAny = true;
        }
    };
    size_t pos = 0;
    while (pos <= script.size()) {
        size_t end = script.find(L'\n', pos);
        if (end == std::wstring::npos)
            end = script.size();
        std::wstring line = script.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (line.empty() || line[0] == L'#')
            continue;
        size_t eq = line.find(L'=');
        std::wstring key = line.substr(0, eq), value = eq == std::wstring::npos ? L"" : line.substr(eq + 1);
        if (key == L"log") {
            log = value;
        } else if (key == L"timelog") {
            timeLog = value;
        } else if (key == L"page") {
            finish();
            current = Page();
            block = value == pageUrl ? ThisPage : value == L"*" ? AnyPage : OtherPage;
        } else if (key == L"title") {
            current.title = value;
        } else if (key == L"line") {
            current.lines += value + L"\r\n";
            current.items.push_back(value);
        } else if (key == L"text") {
            current.lines += Wide(UnescapeLine(Utf8(value)));
        } else if (key == L"delay") {
            current.delayMs = static_cast<DWORD>(_wtoi(value.c_str()));
        } else if (key == L"hold") {
            current.hold = value;
        } else if (key == L"maximum") {
            current.maximum = true;
        }
    }
    finish();
    const std::string call = std::string(exportName) + " " + Utf8(pageUrl);
    if (!log.empty())
        AppendLine(log, call);
    if (!timeLog.empty()) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        const unsigned long long t = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
        AppendLine(timeLog, "t=" + std::to_string(t) + " " + call);
    }
    Page page = haveFound ? found : haveAny ? any : Page();
    if (page.delayMs)
        Sleep(page.delayMs);
    if (!page.hold.empty())
        WaitForFile(page.hold, 120000);
    return page;
}

template <class Char>
void Write(const std::basic_string<Char>& text, Char* out, size_t units)
{
    size_t n = text.size() < units ? text.size() : units - 1;
    std::memcpy(out, text.data(), n * sizeof(Char));
    out[n] = 0;
}

template <class Char>
std::basic_string<Char> ListText(const Page& page, std::basic_string<Char> (*convert)(const std::wstring&))
{
    std::wstring list = L"<title>" + page.title + L"</title><flv>";
    for (const std::wstring& item : page.items)
        list += item + L"<&>";
    return convert(list + L"</flv>");
}

std::wstring AsWide(const std::wstring& s)
{
    return s;
}

std::string AsAnsi(const std::wstring& s)
{
    return NarrowTo(s, CP_ACP);
}

template <class Char>
void UrlLines(const Page& page, std::basic_string<Char> (*convert)(const std::wstring&), Char* lines,
              size_t lineUnits, Char* title, size_t titleUnits)
{
    if (page.maximum) {
        FillMaximumLines(lines, lineUnits);
        FillMaximumText(title, titleUnits);
        return;
    }
    Write(convert(page.lines), lines, lineUnits);
    Write(convert(page.title), title, titleUnits);
}

template <class Char>
void List(const Page& page, std::basic_string<Char> (*convert)(const std::wstring&), Char* list, size_t units)
{
    if (page.maximum)
        FillMaximumText(list, units);
    else
        Write(ListText(page, convert), list, units);
}

std::wstring FromAnsi(const char* s)
{
    return s ? WideFrom(s, CP_ACP) : std::wstring();
}

std::wstring FromWide(const flv_wchar* s)
{
    return s ? std::wstring(s) : std::wstring();
}

}  // namespace

extern "C" {

unsigned char FLV_CALL FLV_IsValidA(const char* url)
{
    Answer("FLV_IsValidA", FromAnsi(url));
    return 1;
}

unsigned char FLV_CALL FLV_IsValidW(const flv_wchar* url)
{
    Answer("FLV_IsValidW", FromWide(url));
    return 1;
}

void FLV_CALL FLV_GetFlvListA(const char* pageUrl, char* list)
{
    List(Answer("FLV_GetFlvListA", FromAnsi(pageUrl)), AsAnsi, list, FLV_LIST_A_SIZE);
}

void FLV_CALL FLV_GetFlvListDirectlyA(const char* pageUrl, char* list)
{
    List(Answer("FLV_GetFlvListDirectlyA", FromAnsi(pageUrl)), AsAnsi, list, FLV_LIST_A_SIZE);
}

void FLV_CALL FLV_GetFlvListW(const flv_wchar* pageUrl, flv_wchar* list)
{
    List(Answer("FLV_GetFlvListW", FromWide(pageUrl)), AsWide, list, FLV_LIST_W_UNITS);
}

void FLV_CALL FLV_GetFlvUrlA(const char* pageUrl, char* lines, char* title)
{
    UrlLines(Answer("FLV_GetFlvUrlA", FromAnsi(pageUrl)), AsAnsi, lines, FLV_URL_A_LINES_SIZE, title,
             FLV_URL_A_TITLE_SIZE);
}

void FLV_CALL FLV_GetFlvUrlDirectlyA(const char* pageUrl, char* lines, char* title)
{
    UrlLines(Answer("FLV_GetFlvUrlDirectlyA", FromAnsi(pageUrl)), AsAnsi, lines, FLV_URL_A_LINES_SIZE, title,
             FLV_URL_A_TITLE_SIZE);
}

void FLV_CALL FLV_GetFlvUrlW(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title)
{
    UrlLines(Answer("FLV_GetFlvUrlW", FromWide(pageUrl)), AsWide, lines, FLV_URL_W_LINES_UNITS, title,
             FLV_URL_W_TITLE_UNITS);
}

void FLV_CALL FLV_GetFlvUrlDirectlyW(const flv_wchar* pageUrl, flv_wchar* lines, flv_wchar* title)
{
    UrlLines(Answer("FLV_GetFlvUrlDirectlyW", FromWide(pageUrl)), AsWide, lines, FLV_URL_DW_LINES_UNITS, title,
             FLV_URL_DW_TITLE_UNITS);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
