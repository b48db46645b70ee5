// What every window class of the program shares: one window procedure that
// finds its object at WM_NCCREATE and hands each message to its
// HandleMessage, and painting through a memory bitmap from one PaintContent.
#pragma once

#include <windows.h>

#include "platform/handles_win32.h"

namespace mivra {

// T needs `HWND hwnd_`, `void PaintContent(HDC, const RECT&)` and
// `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, and names this template a
// friend. The object travels as CreateWindowEx's lpParam. Painting is done
// here for every window alike; the rest goes to HandleMessage, and after the
// last message the object lets go of the window.
template <typename T> LRESULT CALLBACK MemberWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// WM_PAINT: paints the whole client area into a memory bitmap and copies the
// invalid part, so a repaint never flickers through the background.
template <typename PaintContent> void PaintBuffered(HWND hwnd, PaintContent&& paint) {
    PaintScope scope(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    UniqueMemoryDc mem(CreateCompatibleDC(scope.Dc()));
    UniqueBitmap bmp(CreateCompatibleBitmap(scope.Dc(), client.right, client.bottom));
    if (!mem || !bmp) {
        paint(scope.Dc(), client);
        return;
    }
    SelectedObject sel(mem.Get(), bmp.Get());
    paint(mem.Get(), client);
    const RECT& a = scope.Area();
    BitBlt(scope.Dc(), a.left, a.top, a.right - a.left, a.bottom - a.top, mem.Get(), a.left, a.top,
           SRCCOPY);
}

// WM_PRINTCLIENT: the same content into the caller's DC.
template <typename PaintContent> void PrintClient(HWND hwnd, WPARAM dc, PaintContent&& paint) {
    RECT client;
    GetClientRect(hwnd, &client);
    paint(reinterpret_cast<HDC>(dc), client);
}

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

// Nothing may unwind through the system's frames: a handler that throws gets
// the default answer instead. The shipped program is built without
// exceptions, so there it is a plain call.
template <typename Handler>
LRESULT NoUnwind(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, Handler&& handler) {
#if defined(__cpp_exceptions)
    try {
        return handler();
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
#else
    (void)hwnd, (void)msg, (void)wp, (void)lp;
    return handler();
#endif
}

template <typename T> LRESULT CALLBACK MemberWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    auto paint = [self](HDC dc, const RECT& r) { self->PaintContent(dc, r); };
    return NoUnwind(hwnd, msg, wp, lp, [&]() -> LRESULT {
        switch (msg) {
        case WM_PAINT:
            PaintBuffered(hwnd, paint);
            return 0;
        case WM_PRINTCLIENT:
            PrintClient(hwnd, wp, paint);
            return 0;
        case WM_ERASEBKGND:
            return 1; // PaintContent covers every pixel
        case WM_NCDESTROY: {
            const LRESULT r = self->HandleMessage(msg, wp, lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            return r;
        }
        default:
            return self->HandleMessage(msg, wp, lp);
        }
    });
}

} // namespace mivra
