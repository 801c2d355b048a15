#include "standin_page.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>

namespace {

bool StartsWith(const std::wstring& s, const wchar_t* head)
{
    return _wcsnicmp(s.c_str(), head, wcslen(head)) == 0;
}

std::wstring Lower(std::wstring s)
{
    for (wchar_t& c : s)
        c = static_cast<wchar_t>(towlower(c));
    return s;
}

// Tags whose start or end breaks the line.
bool IsBlock(const std::wstring& name)
{
    static const wchar_t* const kBlocks[] = {L"p",  L"br", L"div", L"h1", L"h2", L"h3", L"h4", L"h5",
                                             L"h6", L"li", L"tr",  L"table", L"ul", L"ol", L"body"};
    for (const wchar_t* b : kBlocks)
        if (name == b)
            return true;
    return false;
}

// The character of an entity at text[i] ('&'), and its length; 0 when it is none.
wchar_t Entity(const std::wstring& text, size_t i, size_t* length)
{
    size_t end = text.find(L';', i);
    if (end == std::wstring::npos || end - i > 10)
        return 0;
    std::wstring name = text.substr(i + 1, end - i - 1);
    *length = end - i + 1;
    static const struct {
        const wchar_t* name;
        wchar_t c;
    } kNames[] = {{L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}, {L"nbsp", L' '}};
    for (const auto& n : kNames)
        if (name == n.name)
            return n.c;
    if (name.size() > 1 && name[0] == L'#') {
        const bool hex = name[1] == L'x' || name[1] == L'X';
        const wchar_t* digits = name.c_str() + (hex ? 2 : 1);
        wchar_t* stop = nullptr;
        unsigned long code = wcstoul(digits, &stop, hex ? 16 : 10);
        if (stop != digits && *stop == 0 && code > 0 && code < 0xD800)
            return static_cast<wchar_t>(code);
    }
    return 0;
}

}  // namespace

std::wstring StandInPageFile(const std::wstring& address, const std::wstring& pagesFolder)
{
    std::wstring path;
    if (StartsWith(address, L"file:///")) {
        path = address.substr(8);
    } else if (address.size() > 2 && address[1] == L':' && (address[2] == L'\\' || address[2] == L'/')) {
        path = address;
    } else if (StartsWith(address, L"http://") && !pagesFolder.empty()) {
        std::wstring rest = address.substr(7);
        rest = rest.substr(0, rest.find_first_of(L"?#"));
        if (rest.empty() || rest.find(L"..") != std::wstring::npos || rest.find(L':') != std::wstring::npos)
            return L"";
        if (rest.back() == L'/')
            rest += L"index.html";
        path = pagesFolder;
        if (path.back() != L'\\')
            path += L'\\';
        path += rest;
    } else {
        return L"";
    }
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::wstring StandInPageText(const std::string& html)
{
    std::wstring text;
    if (!html.empty()) {
        int n = MultiByteToWideChar(CP_UTF8, 0, html.data(), static_cast<int>(html.size()), nullptr, 0);
        text.resize(n > 0 ? n : 0);
        if (n > 0)
            MultiByteToWideChar(CP_UTF8, 0, html.data(), static_cast<int>(html.size()), &text[0], n);
    }
    std::wstring out;
    bool space = false;
    auto newLine = [&] {
        while (!out.empty() && out.back() == L' ')
            out.pop_back();
        if (!out.empty() && out.back() != L'\n')
            out += L'\n';
        space = false;
    };
    size_t i = 0;
    while (i < text.size()) {
        wchar_t c = text[i];
        if (c == L'<') {
            size_t close = text.find(L'>', i);
            if (close == std::wstring::npos)
                break;
            std::wstring tag = Lower(text.substr(i + 1, close - i - 1));
            const bool end = !tag.empty() && tag[0] == L'/';
            size_t from = end ? 1 : 0, to = from;
            while (to < tag.size() && iswalnum(tag[to]))
                ++to;
            std::wstring name = tag.substr(from, to - from);
            i = close + 1;
            if (!end && (name == L"head" || name == L"script" || name == L"style" || name == L"title")) {
                size_t skip = Lower(text).find(L"</" + name, i);
                if (skip == std::wstring::npos)
                    break;
                i = skip;
            } else if (IsBlock(name)) {
                newLine();
            }
            continue;
        }
        size_t length = 1;
        if (c == L'&') {
            wchar_t e = Entity(text, i, &length);
            if (e)
                c = e;
            else
                length = 1;
        }
        i += length;
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
            space = !out.empty() && out.back() != L'\n';
            continue;
        }
        if (space)
            out += L' ';
        space = false;
        out += c;
    }
    newLine();
    if (!out.empty() && out.back() == L'\n')
        out.pop_back();
    return out;
}

std::wstring StandInPageTextOf(const std::wstring& address)
{
    wchar_t folder[MAX_PATH] = L"";
    DWORD n = GetEnvironmentVariableW(L"BROWSER_STANDIN_PAGES", folder, MAX_PATH);
    std::wstring path = StandInPageFile(address, n && n < MAX_PATH ? folder : L"");
    if (path.empty())
        return L"";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"";
    std::string html(256 * 1024, '\0');
    DWORD read = 0;
    if (!ReadFile(file, &html[0], static_cast<DWORD>(html.size()), &read, nullptr))
        read = 0;
    CloseHandle(file);
    html.resize(read);
    return StandInPageText(html);
}
