// A helper for the end-to-end tests: runs inside the Wine desktop beside the
// program under test and answers questions about its windows, one command per
// line on stdin, one answer per line on stdout.
//
//   find HWND CLASS|* TITLE|* -> "hwnd visible left top right bottom cw ch style exstyle"
//                               of the window, a child of HWND or with 0 a top-level
//                               one; or "none"
//   close HWND               -> posts WM_CLOSE; "ok"
//   check HWND               -> the button's check state
//   acccount HWND            -> how many items the window's accessible client object lists
//   acc HWND ID              -> "role state left top width height name" of item ID (0: the
//                               window), as a screen reader reads it across processes
//   accpress HWND ID         -> the item's default action; "ok"
//   quit                     -> ends the probe
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "tests/support/reader_win32.h"

namespace {

// Titles may hold blanks when written with '_' for each blank (a class name
// has none, and may hold a '_' of its own); "*" is any, which the window
// functions take as no string at all.
std::wstring Widen(std::string s, bool blanks = true) {
    if (s == "*") return L"";
    for (char& ch : s)
        if (ch == '_' && blanks) ch = ' ';
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
    return w;
}

const wchar_t* OrAny(const std::wstring& s) {
    return s.empty() ? nullptr : s.c_str();
}

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

std::string Describe(HWND h) {
    if (!h) return "none";
    RECT r{}, c{};
    GetWindowRect(h, &r);
    GetClientRect(h, &c);
    char buf[256];
    std::snprintf(buf, sizeof buf, "%llx %d %ld %ld %ld %ld %ld %ld %lx %lx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)),
                  IsWindowVisible(h) ? 1 : 0, r.left, r.top, r.right, r.bottom, c.right, c.bottom,
                  static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
                  static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)));
    return buf;
}

// A screen reader's view: the program's accessible object, marshalled from
// its process into this one.
std::string Accessible(const std::string& cmd, HWND h, long id) {
    const mivra::test::Reader r(h);
    char buf[96];
    if (!r) return "error";
    if (cmd == "acccount") return std::to_string(r.Count());
    if (cmd == "accpress") {
        const HRESULT hr = r->accDoDefaultAction(mivra::test::Child(id));
        std::snprintf(buf, sizeof buf, "error %08lx", static_cast<unsigned long>(hr));
        return FAILED(hr) ? buf : "ok";
    }
    const long role = r.Role(id);
    if (role < 0) return "error";
    const mivra::test::Box at = r.Location(id);
    std::snprintf(buf, sizeof buf, "%ld %lx %ld %ld %ld %ld ", role,
                  static_cast<unsigned long>(r.State(id)), at.left, at.top, at.right - at.left,
                  at.bottom - at.top);
    return buf + Utf8(r.Name(id));
}

} // namespace

int main() {
    // Calls into another process's accessible object need an apartment here.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string line;
    while (std::getline(std::cin, line) && line != "quit") {
        std::istringstream in(line);
        std::string cmd, first, second, third;
        in >> cmd >> first >> second >> third;
        // Every command names a window first.
        const HWND h = reinterpret_cast<HWND>(
            static_cast<UINT_PTR>(std::strtoull(first.c_str(), nullptr, 16)));
        std::string out = "error";
        if (cmd == "find")
            out = Describe(
                FindWindowExW(h, nullptr, OrAny(Widen(second, false)), OrAny(Widen(third))));
        else if (cmd == "close")
            out = PostMessageW(h, WM_CLOSE, 0, 0) ? "ok" : "failed";
        else if (cmd == "check")
            out = std::to_string(SendMessageW(h, BM_GETCHECK, 0, 0));
        else if (cmd == "acc" || cmd == "acccount" || cmd == "accpress")
            out = Accessible(cmd, h, std::atol(second.c_str()));
        std::cout << out << std::endl;
    }
}
