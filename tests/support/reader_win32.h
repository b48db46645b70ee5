// What a screen reader gets from one window: its client object through
// AccessibleObjectFromWindow, and the IAccessible calls readers make of it.
// Header-only: the end-to-end tests' probe reads the program through it too.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <utility>

#include "platform/handles_win32.h"
#include "tests/support/window_rects_win32.h"

namespace mivra::test {

inline VARIANT Child(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

class Reader {
public:
    explicit Reader(HWND hwnd) {
        AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   acc_.PutVoid());
    }

    IAccessible* operator->() const { return acc_.Get(); }
    explicit operator bool() const { return acc_.Get() != nullptr; }

    long Count() const {
        long n = -1;
        acc_->get_accChildCount(&n);
        return n;
    }
    std::wstring Name(long id) const { return Str(&IAccessible::get_accName, id); }
    std::wstring Description(long id) const { return Str(&IAccessible::get_accDescription, id); }
    std::wstring Action(long id) const { return Str(&IAccessible::get_accDefaultAction, id); }
    long Role(long id) const { return Int(&IAccessible::get_accRole, id); }
    long State(long id) const { return Int(&IAccessible::get_accState, id); }
    Box Location(long id) const {
        long x = 0, y = 0, cx = 0, cy = 0;
        acc_->accLocation(&x, &y, &cx, &cy, Child(id));
        return RECT{x, y, x + cx, y + cy};
    }
    // The child id a call answered with; 0 for itself, -1 for nothing,
    // -2 for an object of its own.
    long HitTest(POINT at) const { return IdOf(acc_->accHitTest(at.x, at.y, &answer_)); }
    long Navigate(long dir, long from) const {
        return IdOf(acc_->accNavigate(dir, Child(from), &answer_));
    }
    long Selection() const { return IdOf(acc_->get_accSelection(&answer_)); }
    long Focus() const { return IdOf(acc_->get_accFocus(&answer_)); }

private:
    std::wstring Str(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long id) const {
        BSTR s = nullptr;
        (acc_.Get()->*get)(Child(id), &s);
        std::wstring r = s ? s : L"";
        SysFreeString(s);
        return r;
    }
    long Int(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long id) const {
        VARIANT v{};
        (acc_.Get()->*get)(Child(id), &v);
        return v.vt == VT_I4 ? v.lVal : -1;
    }

    long IdOf(HRESULT hr) const {
        VARIANT v = std::exchange(answer_, VARIANT{}); // empty again for the next call
        if (FAILED(hr) || v.vt == VT_EMPTY) return -1;
        if (v.vt == VT_DISPATCH) {
            v.pdispVal->Release();
            return -2;
        }
        return v.vt == VT_I4 ? v.lVal : -3;
    }

    ComPtr<IAccessible> acc_;
    mutable VARIANT answer_{}; // where the calls above write
};

} // namespace mivra::test
