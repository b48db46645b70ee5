#include "platform/window_win32.h"

namespace mivra {

void PlaceChild(HWND child, const PixelRect& at, bool repaint) {
    MoveWindow(child, at.left, at.top, at.right - at.left, at.bottom - at.top, repaint);
}

void RepaintForColors(HWND hwnd, bool tellControls) {
    if (tellControls)
        for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            SendMessageW(c, WM_SYSCOLORCHANGE, 0, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
        if (preTranslate && preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

} // namespace

bool RunModal(const HWND& window, HWND focus, InputBlock& block, HWND owner,
              const std::function<bool(MSG&)>& preTranslate) {
    block.Block(owner);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(focus);
    return RunModalLoop(window, preTranslate);
}

bool DialogKeys(HWND window, MSG& msg) {
    if (!window || (msg.hwnd != window && !IsChild(window, msg.hwnd))) return false;
    return IsDialogMessageW(window, &msg) != FALSE;
}

} // namespace mivra
