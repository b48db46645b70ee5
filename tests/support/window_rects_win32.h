// Where windows and what they paint stand, as the tests compare them.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>

namespace mivra::test {

// A rectangle compared and printed by value.
struct Box {
    long left, top, right, bottom;
    Box(const RECT& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
    friend bool operator==(const Box&, const Box&) = default;
    friend void PrintTo(const Box& b, std::ostream* os) {
        *os << "{" << b.left << "," << b.top << "," << b.right << "," << b.bottom << "}";
    }
};

template <class Rect> POINT Middle(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
// A mouse message's lParam for the middle of a client rectangle.
inline LPARAM AtMiddle(const RECT& r) {
    const POINT p = Middle(r);
    return MAKELPARAM(p.x, p.y);
}

inline RECT ClientArea(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}
inline RECT OuterRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}
// A child window's rectangle in its parent's client area.
inline RECT ChildRect(HWND child) {
    RECT r = OuterRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
// A rectangle of a window's client area, on the screen.
inline RECT ScreenRect(HWND hwnd, RECT r) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buf[256] = {};
    GetWindowTextW(hwnd, buf, 256);
    return buf;
}

} // namespace mivra::test
