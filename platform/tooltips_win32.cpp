#include "platform/tooltips_win32.h"

#include <commctrl.h>

#include "platform/dpi_win32.h"

namespace mivra {

bool WindowTips::Handle(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_MOUSEMOVE:
        Ensure(owner);
        return false;
    case WM_SHOWWINDOW:
        if (wp) Ensure(owner);
        return false;
    case WM_SETTINGCHANGE:
        if (wp == SPI_SETNONCLIENTMETRICS && tips_) SetFont();
        return false;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (!tips_ || hdr->hwndFrom != tips_ || hdr->code != TTN_GETDISPINFOW) return false;
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        for (const TipTool& t : tools_) {
            const UINT_PTR key = t.control ? reinterpret_cast<UINT_PTR>(t.control) : t.id;
            if (key == hdr->idFrom) info->lpszText = const_cast<wchar_t*>(source_.TipText(t.id));
        }
        result = 0;
        return true;
    }
    case WM_NCDESTROY:
        // The control went with its owner, before its font goes.
        tips_ = nullptr;
        owner_ = nullptr;
        failed_ = false;
        font_.Reset();
        tools_.clear();
        return false;
    default:
        return false;
    }
}

void WindowTips::Ensure(HWND owner) {
    if (tips_ || failed_) return;
    tools_ = source_.TipTools();
    if (tools_.empty()) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
    if (!tips_) {
        failed_ = true;
        return;
    }
    owner_ = owner;
    SetFont();
    Send(TTM_ADDTOOLW);
}

void WindowTips::SetFont() {
    // The control keeps using the old font until it has the new one, so the
    // old one goes only then.
    const LOGFONTW lf = StatusFontForDpi(source_.TipDpi());
    UniqueFont font(CreateFontIndirectW(&lf));
    if (!font) return;
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    font_ = std::move(font);
}

void WindowTips::DpiChanged() {
    if (!tips_) return;
    SetFont();
    tools_ = source_.TipTools();
    Send(TTM_NEWTOOLRECTW);
}

void WindowTips::Send(UINT message) {
    // In the owner's order: where tools overlap, the first one's tip wins.
    for (const TipTool& t : tools_) {
        // A real control's tool follows its window; only painted ones move.
        if (message == TTM_NEWTOOLRECTW && t.control) continue;
        TTTOOLINFOW ti{sizeof(ti)};
        ti.uFlags = TTF_SUBCLASS | (t.control ? TTF_IDISHWND : 0);
        ti.hwnd = owner_;
        ti.uId = t.control ? reinterpret_cast<UINT_PTR>(t.control) : t.id;
        ti.rect = t.rect;
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tips_, message, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

} // namespace mivra
