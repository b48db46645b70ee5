#include "platform/window_win32.h"

namespace mivra {

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO mi{sizeof(mi)};
    if (GetMonitorInfoW(monitor, &mi)) {
        const RECT& w = mi.rcWork;
        reinterpret_cast<std::vector<PixelRect>*>(areas)->push_back(
            {w.left, w.top, w.right, w.bottom});
    }
    return TRUE;
}

} // namespace

std::vector<PixelRect> WorkAreas() {
    std::vector<PixelRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void PlaceChild(HWND child, const PixelRect& at, bool repaint) {
    MoveWindow(child, at.left, at.top, at.right - at.left, at.bottom - at.top, repaint);
}

void RepaintForColors(HWND hwnd, bool tellControls) {
    if (tellControls)
        for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            SendMessageW(c, WM_SYSCOLORCHANGE, 0, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

namespace {

constexpr wchar_t kFloats[] = L"MivraFloats";
constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

bool IsTopmost(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Every floating window of this thread steps back, the lowest first, each
// just behind the program now in front, so they keep their order among
// themselves (the picker over the options window).
void StepBack() {
    HWND floating[8];
    int n = 0;
    HWND firstOrdinary = nullptr; // the visible window right below the topmost ones
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsTopmost(w)) {
            if (IsWindowVisible(w)) {
                firstOrdinary = w;
                break;
            }
        } else if (n < 8 && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() &&
                   GetPropW(w, kFloats)) {
            floating[n++] = w;
        }
    }
    // The program in front was raised before this thread heard of it: go
    // behind it, not back above it. One that stays at the bottom (the
    // desktop) is passed over, or the windows would go behind it.
    const HWND front = GetForegroundWindow();
    const bool behindFront = front && front == firstOrdinary;
    while (n > 0) {
        const HWND w = floating[--n];
        SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
        if (behindFront) SetWindowPos(w, front, 0, 0, 0, 0, kZOrderOnly);
    }
}

} // namespace

void ShowActive(HWND hwnd) {
    showWindow(hwnd, SW_SHOWNA);
    SetForegroundWindow(hwnd);
}

void FloatWhileActive(HWND hwnd, UINT msg, WPARAM wp) {
    if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
        SetPropW(hwnd, kFloats, reinterpret_cast<HANDLE>(1));
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
    } else if (msg == WM_ACTIVATEAPP && !wp && GetPropW(hwnd, kFloats) && IsTopmost(hwnd)) {
        StepBack();
    } else if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kFloats);
    }
}

void MoveForDpi(HWND hwnd, const RECT* suggested, SIZE size) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (suggested) r = *suggested;
    SetWindowPos(hwnd, nullptr, r.left, r.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

bool RunModalLoop(const HWND& window, const std::function<bool(MSG&)>& preTranslate) {
    MSG msg;
    while (window) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1) return false;
        if (preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

} // namespace

bool RunModal(const HWND& window, HWND focus, InputBlock& block, HWND owner,
              const std::function<bool(MSG&)>& preTranslate) {
    block.Block(owner);
    ShowActive(window);
    SetFocus(focus);
    return RunModalLoop(window, preTranslate);
}

bool DialogKeys(HWND window, MSG& msg) {
    if (!window || (msg.hwnd != window && !IsChild(window, msg.hwnd))) return false;
    return IsDialogMessageW(window, &msg) != FALSE;
}

} // namespace mivra
