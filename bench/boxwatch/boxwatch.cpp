// boxwatch: reads and answers the message boxes of one process as a user would.
//
//   boxwatch.exe --pid N --answer ok|yes|no|cancel|retry|ignore|abort [--answer ...]...
//                [--count K] [--timeout-ms T] [--log FILE]
//
// A box is a visible window of the dialog class holding the box's text (a static of id
// 0xFFFF) and a button of the list below.
// One line per box (buttons left to right), to the log (UTF-8, truncated at start) and to stdout:
//   BOX caption=<c> text=<t> owner=<0|0xHEX(same|other)> buttons=<OK,CANCEL,...> answered=<OK|...>
// with "\n", "\r" and "\\" escaped in caption and text. Answers are used in order, the last
// repeats. When the wanted button is absent, the box is dismissed with CANCEL, else OK, else
// its first button, and answered= names the button actually clicked.
// Exit code: 0 after K boxes, 1 on timeout or when process N ends first, 2 on bad arguments.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "wait_for.h"

namespace {

struct Button {
    int id;
    const wchar_t* name;
};
const Button kButtons[] = {{IDOK, L"OK"},         {IDCANCEL, L"CANCEL"}, {IDABORT, L"ABORT"},
                           {IDRETRY, L"RETRY"},   {IDIGNORE, L"IGNORE"}, {IDYES, L"YES"},
                           {IDNO, L"NO"}};
const int kTextId = 0xFFFF;
const DWORD kPollMs = 20;
const DWORD kReclickMs = 1000;

struct Options {
    DWORD pid = 0;
    std::vector<int> answers;
    unsigned count = 1;
    DWORD timeoutMs = 20000;
    std::wstring log;
};

int ButtonId(std::wstring name) {
    for (auto& c : name) c = static_cast<wchar_t>(std::towupper(c));
    for (const auto& b : kButtons)
        if (name == b.name) return b.id;
    return 0;
}

const wchar_t* ButtonName(int id) {
    for (const auto& b : kButtons)
        if (b.id == id) return b.name;
    return L"?";
}

bool ParseNumber(const wchar_t* s, unsigned long& out) {
    wchar_t* end = nullptr;
    if (!*s || *s == L'-') return false;
    out = std::wcstoul(s, &end, 10);
    return *end == 0;
}

bool ParseArgs(int argc, wchar_t** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (i + 1 >= argc) return false;
        const wchar_t* v = argv[++i];
        unsigned long n = 0;
        if (a == L"--pid" && ParseNumber(v, n) && n) {
            o.pid = n;
        } else if (a == L"--answer" && ButtonId(v)) {
            o.answers.push_back(ButtonId(v));
        } else if (a == L"--count" && ParseNumber(v, n) && n) {
            o.count = n;
        } else if (a == L"--timeout-ms" && ParseNumber(v, n)) {
            o.timeoutMs = n;
        } else if (a == L"--log" && *v) {
            o.log = v;
        } else {
            return false;
        }
    }
    return o.pid && !o.answers.empty();
}

std::wstring WindowText(HWND hwnd) {
    std::wstring s(GetWindowTextLengthW(hwnd) + 1, L'\0');
    s.resize(GetWindowTextW(hwnd, &s[0], static_cast<int>(s.size())));
    return s;
}

std::wstring Escape(const std::wstring& s) {
    std::wstring r;
    for (wchar_t c : s) {
        if (c == L'\\') r += L"\\\\";
        else if (c == L'\n') r += L"\\n";
        else if (c == L'\r') r += L"\\r";
        else r += c;
    }
    return r;
}

std::string ToUtf8(const std::wstring& s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string r(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &r[0], n, nullptr,
                        nullptr);
    return r;
}

bool IsClass(HWND hwnd, const wchar_t* name) {
    wchar_t cls[64];
    return GetClassNameW(hwnd, cls, 64) && _wcsicmp(cls, name) == 0;
}

// What a user sees of a box: its texts, owner and buttons (in id order).
struct Box {
    HWND hwnd = nullptr;
    std::wstring caption, text;
    HWND owner = nullptr;
    bool ownerSameProcess = false;
    std::vector<std::pair<int, HWND>> buttons;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
    auto* box = reinterpret_cast<Box*>(lp);
    if (GetParent(child) != box->hwnd) return TRUE;
    int id = GetDlgCtrlID(child) & 0xFFFF;
    if (id == kTextId && IsClass(child, L"Static")) {
        box->text = WindowText(child);
    } else if (IsClass(child, L"Button") && IsWindowVisible(child)) {
        for (const auto& b : kButtons)
            if (b.id == id) box->buttons.emplace_back(id, child);
    }
    return TRUE;
}

Box ReadBox(HWND hwnd, DWORD pid) {
    Box box;
    box.hwnd = hwnd;
    box.caption = WindowText(hwnd);
    EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&box));
    // As a user reads them: left to right.
    std::sort(box.buttons.begin(), box.buttons.end(), [](const auto& a, const auto& b) {
        RECT ra, rb;
        GetWindowRect(a.second, &ra);
        GetWindowRect(b.second, &rb);
        return ra.left != rb.left ? ra.left < rb.left : a.first < b.first;
    });
    box.owner = GetWindow(hwnd, GW_OWNER);
    DWORD ownerPid = 0;
    if (box.owner) GetWindowThreadProcessId(box.owner, &ownerPid);
    box.ownerSameProcess = box.owner && ownerPid == pid;
    return box;
}

struct Search {
    DWORD pid;
    HWND found;
};

// A box has the message box's text and at least one of its buttons; a program's own dialog
// (a window of the same class, even with a Cancel button) is no box.
bool HasBoxButton(HWND hwnd) {
    HWND text = GetDlgItem(hwnd, kTextId);
    if (!text || !IsClass(text, L"Static")) return false;
    for (const auto& b : kButtons) {
        HWND button = GetDlgItem(hwnd, b.id);
        if (button && IsClass(button, L"Button")) return true;
    }
    return false;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    // Texts are only set once the box is visible.
    if (pid != s->pid || !IsWindowVisible(hwnd) || !IsClass(hwnd, L"#32770") || !HasBoxButton(hwnd))
        return TRUE;
    s->found = hwnd;
    return FALSE;
}

HWND FindVisibleBox(DWORD pid) {
    Search s{pid, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The button to click for the wanted answer, or the fallback when it is absent.
std::pair<int, HWND> Choose(const Box& box, int wanted) {
    for (int id : {wanted, IDCANCEL, IDOK})
        for (const auto& b : box.buttons)
            if (b.first == id) return b;
    if (!box.buttons.empty()) return box.buttons.front();
    return {0, nullptr};
}

void Click(const Box& box, const std::pair<int, HWND>& button) {
    DWORD_PTR result = 0;
    if (button.second)
        SendMessageTimeoutW(button.second, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &result);
    else
        PostMessageW(box.hwnd, WM_CLOSE, 0, 0);
}

std::wstring Describe(const Box& box, int answered) {
    std::wstring owner = L"0";
    if (box.owner) {
        wchar_t buf[32];
        swprintf(buf, 32, L"0x%08lX(%ls)", static_cast<unsigned long>(
                 reinterpret_cast<ULONG_PTR>(box.owner)), box.ownerSameProcess ? L"same" : L"other");
        owner = buf;
    }
    std::wstring buttons;
    for (const auto& b : box.buttons) {
        if (!buttons.empty()) buttons += L',';
        buttons += ButtonName(b.first);
    }
    return L"BOX caption=" + Escape(box.caption) + L" text=" + Escape(box.text) +
           L" owner=" + owner + L" buttons=" + buttons +
           L" answered=" + (answered ? ButtonName(answered) : L"CLOSE");
}

void WriteLine(HANDLE log, const std::wstring& line) {
    std::string bytes = ToUtf8(line + L"\n");
    DWORD written = 0;
    if (log != INVALID_HANDLE_VALUE)
        WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out && out != INVALID_HANDLE_VALUE) {
        if (GetConsoleMode(out, &mode))
            WriteConsoleW(out, (line + L"\n").c_str(), static_cast<DWORD>(line.size() + 1),
                          &written, nullptr);
        else
            WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

// What is left of limitMs since start.
DWORD Left(ULONGLONG start, DWORD limitMs) {
    ULONGLONG spent = GetTickCount64() - start;
    return spent >= limitMs ? 0 : static_cast<DWORD>(limitMs - spent);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options opt;
    if (!ParseArgs(argc, argv, opt)) {
        fwprintf(stderr,
                 L"usage: boxwatch --pid N --answer ok|yes|no|cancel|retry|ignore|abort "
                 L"[--answer ...]... [--count K] [--timeout-ms T] [--log FILE]\n");
        return 2;
    }
    HANDLE log = INVALID_HANDLE_VALUE;
    if (!opt.log.empty()) {
        log = CreateFileW(opt.log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                          FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log == INVALID_HANDLE_VALUE) {
            fwprintf(stderr, L"boxwatch: cannot create log %ls\n", opt.log.c_str());
            return 2;
        }
    }
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, opt.pid);
    if (!process) {
        fwprintf(stderr, L"boxwatch: no process %lu\n", opt.pid);
        return 1;
    }

    const ULONGLONG start = GetTickCount64();
    unsigned answered = 0;
    const std::string what = std::to_string(opt.count) + " box(es) of process " + std::to_string(opt.pid);
    WaitFor(what.c_str(), opt.timeoutMs, kPollMs, [&] {
        if (answered >= opt.count || WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return true;
        HWND hwnd = FindVisibleBox(opt.pid);
        if (!hwnd) return false;
        Box box = ReadBox(hwnd, opt.pid);
        int wanted = opt.answers[answered < opt.answers.size() ? answered : opt.answers.size() - 1];
        auto button = Choose(box, wanted);
        Click(box, button);
        WriteLine(log, Describe(box, button.first));
        // Count the box once it is gone; click again if the click got lost.
        ULONGLONG clicked = GetTickCount64();
        if (WaitFor("the answered box to go", Left(start, opt.timeoutMs), kPollMs / 2, [&] {
                if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return true;
                if (Left(clicked, kReclickMs) == 0) {
                    Click(box, button);
                    clicked = GetTickCount64();
                }
                return false;
            }))
            ++answered;
        return answered >= opt.count;
    });
    CloseHandle(process);
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    return answered == opt.count ? 0 : 1;
}
