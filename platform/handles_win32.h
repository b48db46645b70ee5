// Every RAII holder of the program in one place: one holder per Windows
// handle type, and the scopes of paired calls (BeginPaint and EndPaint,
// GetDC and ReleaseDC, SelectObject and its restore, the thread error mode,
// a disabled window). The COM apartment is the program's, not a scope's
// (platform/apartment_win32.h). Copying deleted; handles may move.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <utility>

namespace mivra {

template <typename T, typename Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T h) { Reset(h); }
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, Traits::Invalid());
        }
        return *this;
    }
    T Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    void Reset(T h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) {
            Traits::Close(h_);
            --live_;
        }
        h_ = h;
        if (h_ != Traits::Invalid()) ++live_;
    }

    // How many handles of this kind the holders own right now. Every object
    // the program makes goes into a holder, so a count that only grows is a
    // leak; the long-run tests check it.
    static long Live() { return live_; }

private:
    T h_ = Traits::Invalid();
    static inline long live_ = 0;
};

template <typename T> struct GdiTraits {
    static T Invalid() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiTraits<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, GdiTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;

// A COM interface pointer, released on scope exit.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    void** PutVoid() { return reinterpret_cast<void**>(&p_); }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// Text the shell allocated with the COM allocator.
class CoTaskText {
public:
    CoTaskText() = default;
    ~CoTaskText() { CoTaskMemFree(p_); }
    CoTaskText(const CoTaskText&) = delete;
    CoTaskText& operator=(const CoTaskText&) = delete;
    PWSTR* Put() { return &p_; }
    const wchar_t* Get() const { return p_ ? p_ : L""; }

private:
    PWSTR p_ = nullptr;
};

// Selects an object into a DC and puts the old one back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Keeps a DC's font across a run of label paints, which leave theirs
// selected, and puts it back at the end.
class KeepFont {
public:
    explicit KeepFont(HDC dc) : dc_(dc), font_(GetCurrentObject(dc, OBJ_FONT)) {}
    ~KeepFont() {
        if (GetCurrentObject(dc_, OBJ_FONT) != font_) SelectObject(dc_, font_);
    }
    KeepFont(const KeepFont&) = delete;
    KeepFont& operator=(const KeepFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ font_;
};

class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A drive without media must answer "absent", not ask the user for a disk.
class QuietCriticalErrors {
public:
    QuietCriticalErrors() { restore_ = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_) != 0; }
    ~QuietCriticalErrors() {
        if (restore_) SetThreadErrorMode(old_, nullptr);
    }
    QuietCriticalErrors(const QuietCriticalErrors&) = delete;
    QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

private:
    DWORD old_ = 0;
    bool restore_ = false;
};

// Keeps another window from taking input while a modal window is up, and
// gives it back exactly once; a window that was already disabled stays so.
class InputBlock {
public:
    InputBlock() = default;
    ~InputBlock() { Release(); }
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

    void Block(HWND window) {
        Release();
        if (window && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            blocked_ = window;
        }
    }
    void Release() {
        if (blocked_) EnableWindow(blocked_, TRUE);
        blocked_ = nullptr;
    }

private:
    HWND blocked_ = nullptr;
};

} // namespace mivra
