// A helper for the end-to-end tests: runs inside the Wine desktop beside the
// program under test and answers questions about its windows, one command per
// line on stdin, one answer per line on stdout.
//
//   find CLASS|* TITLE|*     -> "hwnd visible left top right bottom cw ch style exstyle pid",
//                               or "none"
//   child HWND CLASS TEXT    -> the child window with that class and text, as find
//   close HWND               -> posts WM_CLOSE; "ok"
//   check HWND               -> the button's check state
//   acccount HWND            -> how many items the window's accessible client object lists
//   acc HWND ID              -> "role state left top width height name" of item ID (0: the
//                               window), as a screen reader reads it across processes
//   accpress HWND ID         -> the item's default action; "ok"
//   quit                     -> ends the probe
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "tests/support/reader_win32.h"

namespace {

std::wstring Widen(const std::string& s) {
    if (s == "*") return L"";
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    return w;
}

std::string Describe(HWND h) {
    if (!h) return "none";
    RECT r{}, c{};
    GetWindowRect(h, &r);
    GetClientRect(h, &c);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char buf[256];
    std::snprintf(buf, sizeof buf, "%llx %d %ld %ld %ld %ld %ld %ld %lx %lx %lu",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)),
                  IsWindowVisible(h) ? 1 : 0, r.left, r.top, r.right, r.bottom, c.right, c.bottom,
                  static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)), pid);
    return buf;
}

HWND ParseHwnd(const std::string& s) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(s, nullptr, 16)));
}

// Arguments may hold blanks when written with '_' for each blank.
std::string Unescape(std::string s) {
    for (char& ch : s)
        if (ch == '_') ch = ' ';
    return s;
}

std::string Failed(HRESULT hr) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "error %08lx", static_cast<unsigned long>(hr));
    return buf;
}

std::string Utf8(const wchar_t* w) {
    if (!w) return "";
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

// A screen reader's view: the program's accessible object, marshalled from
// its process into this one.
std::string AccCount(HWND h) {
    const mivra::test::Reader r(h);
    return r ? std::to_string(r.Count()) : "error";
}

std::string AccDescribe(HWND h, long id) {
    const mivra::test::Reader r(h);
    if (!r) return "error";
    const long role = r.Role(id);
    if (role < 0) return "error";
    const mivra::test::Box at = r.Location(id);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%ld %lx %ld %ld %ld %ld ", role,
                  static_cast<unsigned long>(r.State(id)), at.left, at.top, at.right - at.left,
                  at.bottom - at.top);
    return buf + Utf8(r.Name(id).c_str());
}

std::string AccPress(HWND h, long id) {
    const mivra::test::Reader r(h);
    if (!r) return "error";
    const HRESULT hr = r->accDoDefaultAction(mivra::test::Child(id));
    return FAILED(hr) ? Failed(hr) : "ok";
}

} // namespace

int main() {
    // Calls into another process's accessible object need an apartment here.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string cmd;
        in >> cmd;
        std::string out = "error";
        if (cmd == "find") {
            std::string cls, title;
            in >> cls >> title;
            const std::wstring c = Widen(Unescape(cls)), t = Widen(Unescape(title));
            out = Describe(
                FindWindowW(c.empty() ? nullptr : c.c_str(), t.empty() ? nullptr : t.c_str()));
        } else if (cmd == "child") {
            std::string parent, cls, text;
            in >> parent >> cls >> text;
            const std::wstring c = Widen(Unescape(cls)), t = Widen(Unescape(text));
            out =
                Describe(FindWindowExW(ParseHwnd(parent), nullptr, c.empty() ? nullptr : c.c_str(),
                                       t.empty() ? nullptr : t.c_str()));
        } else if (cmd == "close") {
            std::string h;
            in >> h;
            out = PostMessageW(ParseHwnd(h), WM_CLOSE, 0, 0) ? "ok" : "failed";
        } else if (cmd == "check") {
            std::string h;
            in >> h;
            out = std::to_string(SendMessageW(ParseHwnd(h), BM_GETCHECK, 0, 0));
        } else if (cmd == "acccount") {
            std::string h;
            in >> h;
            out = AccCount(ParseHwnd(h));
        } else if (cmd == "acc" || cmd == "accpress") {
            std::string h;
            long id = 0;
            in >> h >> id;
            out = cmd == "acc" ? AccDescribe(ParseHwnd(h), id) : AccPress(ParseHwnd(h), id);
        } else if (cmd == "quit") {
            break;
        }
        std::cout << out << std::endl;
    }
    return 0;
}
