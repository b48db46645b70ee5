// The options window as screen readers see it: its painted labels beside
// its real buttons and check box, in reading order.
#include <algorithm>

#include "settings/options_window_win32.h"

namespace mivra {

namespace {

std::wstring OneLine(std::wstring_view text) {
    std::wstring s;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        s.push_back(c == L'\n' ? L' ' : c);
    }
    return s;
}

} // namespace

int OptionsWindow::ItemCount() const {
    return static_cast<int>(OptionsReadingOrder().size());
}

AccessibleItem OptionsWindow::Item(int index) const {
    const OptionsControlSpec& s = Design(OptionsReadingOrder()[index]);
    AccessibleItem item;
    item.name = OneLine(s.caption);
    item.bounds = ToRect(ControlPixels(s.id, dpi_));
    switch (s.kind) {
    case ControlKind::PushButton:
        item.role = ROLE_SYSTEM_PUSHBUTTON;
        item.action = L"Press";
        item.window = Control(s.id);
        break;
    case ControlKind::CheckBox: {
        item.window = Control(s.id);
        const bool ticked = SendMessageW(item.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        item.role = ROLE_SYSTEM_CHECKBUTTON;
        item.state = ticked ? STATE_SYSTEM_CHECKED : 0;
        item.action = ticked ? L"Uncheck" : L"Check";
        break;
    }
    default:
        if (s.id == OptionsControl::lblContact) {
            item.role = ROLE_SYSTEM_LINK;
            item.state = STATE_SYSTEM_LINKED;
            item.action = L"Jump";
        } else {
            item.role = ROLE_SYSTEM_STATICTEXT;
            item.state = STATE_SYSTEM_READONLY;
        }
        break;
    }
    return item;
}

int OptionsWindow::ItemAt(POINT client) const {
    // Front to back, as the mouse finds them.
    for (const auto& s : OptionsLayout()) {
        if (s.kind == ControlKind::Shape) continue;
        HWND control = Control(s.id);
        if (control && !IsWindowVisible(control)) continue;
        if (!ControlHasPixel(s.id, client.x, client.y, dpi_)) continue;
        const auto order = OptionsReadingOrder();
        return static_cast<int>(std::ranges::find(order, s.id) - order.begin());
    }
    return -1;
}

void OptionsWindow::Press(int index) {
    Click(OptionsReadingOrder()[index]);
}

} // namespace mivra
