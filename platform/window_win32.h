// The small window toolkit every window of the program is built on: class
// registration and creation at the right DPI, one window procedure that
// finds its object at WM_NCCREATE and hands each message to it, painting
// through a memory bitmap from one PaintContent, the DPI change, modal
// show and loop with dialog keys, and rectangle helpers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/twips.h"
#include "platform/dpi_win32.h"
#include "platform/handles_win32.h"
#include "platform/trace_win32.h"

namespace mivra {

inline RECT ToRect(const PixelRect& p) {
    return {p.left, p.top, p.right, p.bottom};
}

// Every monitor's work area (the screen less the taskbar), in screen pixels.
std::vector<PixelRect> WorkAreas();

// Moves a child window onto a rectangle of its parent's client area.
void PlaceChild(HWND child, const PixelRect& at, bool repaint);

// The system's colours or high contrast changed: everything the window and
// its controls paint is painted again, at once, in the new colours. Common
// controls hear of changed system colours only from their parent.
void RepaintForColors(HWND hwnd, bool tellControls);

// The window manager's ShowWindow; tests stand in for it with the launcher
// rule below, which Wine does not apply.
inline BOOL(WINAPI* showWindow)(HWND, int) = ShowWindow;

// Shows a window of the program and makes it the active one. A launcher's
// show command (a shortcut set to "Run: Minimized", start /min) is meant for
// a program's main window: Windows puts it in place of the first SW_SHOW or
// SW_SHOWNORMAL of an unowned window with a caption, here the colour
// picker, which would open minimized. SW_SHOWNA is never replaced.
void ShowActive(HWND hwnd);

// A window that floats above the topmost calendar while the user works in
// it, and steps back behind another program the user or the shell brings
// to the front (a page the window opened, say). Its procedure passes every
// message here first.
void FloatWhileActive(HWND hwnd, UINT msg, WPARAM wp);

// WM_DPICHANGED: the window takes the rectangle the system suggests (or
// stays where it is) at the size it has at the new DPI.
void MoveForDpi(HWND hwnd, const RECT* suggested, SIZE size);

// Shows `window` modally: `owner` takes no input meanwhile, the focus starts
// on `focus`, and the thread's messages run until `window` becomes null (the
// modal window was unloaded). Dialog keys go to the window through
// `preTranslate`. Returns false when the program is quitting: the quit
// message is posted again for the outer loop, and the window is left as it
// is for the caller to unload.
bool RunModal(const HWND& window, HWND focus, InputBlock& block, HWND owner,
              const std::function<bool(MSG&)>& preTranslate);

// Tab, Enter and Esc for a window and its controls, as a dialog has them.
// True when the message was handled and must not be dispatched.
bool DialogKeys(HWND window, MSG& msg);

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

// The window class and styles of one kind of window.
struct WindowKind {
    const wchar_t* className;
    const char* traceName; // the window, as the developer's trace names it
    DWORD exStyle = 0;
    DWORD style = 0;
    std::wstring_view caption;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};

// The window procedure and creation for a class T of the program. T needs
// `HWND hwnd_` and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, and names
// this struct a friend. With `void PaintContent(HDC, const RECT&)` the
// toolkit paints it (WM_PAINT, WM_PRINTCLIENT); with `int dpi_` and
// `void OnDpiChanged(int, const RECT*)` it follows the DPI, from creation on.
struct WindowToolkit {
    // Registers T's class (again is harmless) and creates the window for
    // `self`, which travels as lpParam. Null when the system refuses.
    template <typename T>
    static HWND Create(T* self, HINSTANCE instance, const WindowKind& kind, const PixelRect& at,
                       HWND parent = nullptr);

    template <typename T> static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

template <typename T>
HWND WindowToolkit::Create(T* self, HINSTANCE instance, const WindowKind& kind, const PixelRect& at,
                           HWND parent) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = &Proc<T>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = kind.background;
    wc.hIcon = kind.icon;
    wc.lpszClassName = kind.className;
    // Registering again is harmless; any other failure is worth a trace.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        TraceIfFailed(false, "RegisterClassExW", kind.traceName);

    const std::wstring caption(kind.caption);
    const HWND hwnd =
        CreateWindowExW(kind.exStyle, kind.className, caption.c_str(), kind.style, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, parent, nullptr, instance, self);
    if constexpr (requires { self->OnDpiChanged(self->dpi_, nullptr); }) {
        // Created where the system put it: on a monitor of another DPI the
        // window lays itself out again at once.
        if (hwnd)
            if (const int dpi = WindowDpi(hwnd); dpi != self->dpi_)
                self->OnDpiChanged(dpi, nullptr);
    }
    return hwnd;
}

template <typename T>
LRESULT CALLBACK WindowToolkit::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return NoUnwind(hwnd, msg, wp, lp, [&]() -> LRESULT {
        if constexpr (requires(HDC dc, RECT r) { self->PaintContent(dc, r); }) {
            auto paint = [self](HDC dc, const RECT& r) { self->PaintContent(dc, r); };
            switch (msg) {
            case WM_PAINT:
                PaintBuffered(hwnd, paint);
                return 0;
            case WM_PRINTCLIENT: {
                RECT client;
                GetClientRect(hwnd, &client);
                paint(reinterpret_cast<HDC>(wp), client);
                return 0;
            }
            case WM_ERASEBKGND:
                return 1; // PaintContent covers every pixel
            case WM_SYSCOLORCHANGE:
            case WM_THEMECHANGED:
                RepaintForColors(hwnd, msg == WM_SYSCOLORCHANGE);
                break;
            case WM_SETTINGCHANGE:
                if (wp == SPI_SETHIGHCONTRAST) RepaintForColors(hwnd, false);
                break;
            default:
                break;
            }
        }
        if constexpr (requires { self->OnDpiChanged(0, nullptr); }) {
            if (msg == WM_DPICHANGED) {
                self->OnDpiChanged(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
                return 0;
            }
        }
        if (msg == WM_NCDESTROY) {
            // After the last message the object lets go of the window.
            const LRESULT r = self->HandleMessage(msg, wp, lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            return r;
        }
        return self->HandleMessage(msg, wp, lp);
    });
}

} // namespace mivra
