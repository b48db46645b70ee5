// The system refusing to make windows of one class, as it may when it runs
// out of handles or memory, for as long as the object lives; it counts the
// windows it refused.
#pragma once

#include <windows.h>

namespace mivra::test {

class RefusedClass {
public:
    explicit RefusedClass(const wchar_t* name)
        : hook_(SetWindowsHookExW(WH_CBT, Refuse, nullptr, GetCurrentThreadId())) {
        name_ = name;
        refused = 0;
    }
    ~RefusedClass() { UnhookWindowsHookEx(hook_); }
    RefusedClass(const RefusedClass&) = delete;
    RefusedClass& operator=(const RefusedClass&) = delete;

    static inline int refused = 0;

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wp, LPARAM lp) {
        wchar_t made[32] = {};
        if (code == HCBT_CREATEWND) GetClassNameW(reinterpret_cast<HWND>(wp), made, 32);
        if (lstrcmpiW(made, name_) != 0) return CallNextHookEx(nullptr, code, wp, lp);
        ++refused;
        return 1;
    }
    static inline const wchar_t* name_ = nullptr;
    HHOOK hook_;
};

} // namespace mivra::test
