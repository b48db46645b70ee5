#include "settings/options_window_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>
#include <utility>

#include "base/placement.h"
#include "base/trace.h"

namespace mivra {

namespace {

constexpr wchar_t kOptionsClass[] = L"MivraOptions";
constexpr int kFirstControlId = 100;
constexpr TwipRect kOptionsRect{0, 0, kOptionsWidthTwips, kOptionsHeightTwips};

int ControlId(OptionsControl id) {
    return id == OptionsControl::cmdClose ? IDOK : kFirstControlId + Index(id);
}

std::optional<OptionsControl> ControlOfId(int controlId) {
    if (controlId == IDOK) return OptionsControl::cmdClose;
    const int index = controlId - kFirstControlId;
    if (index < 0 || index >= kOptionsControlCount) return std::nullopt;
    return static_cast<OptionsControl>(index);
}

HCURSOR HandCursor() {
    static const HCURSOR hand = [] {
        const HCURSOR c = LoadCursorW(nullptr, IDC_HAND);
        return c ? c : LoadCursorW(nullptr, IDC_ARROW);
    }();
    return hand;
}

} // namespace

OptionsWindow::OptionsWindow(HINSTANCE instance, const Services& services, HWND calendar)
    : instance_(instance), state_(services.state), colors_(services.colors), calendar_(calendar),
      shortcutPaths_(services.shortcutPaths), picker_(services.picker),
      logic_({services.state, services.registry, services.picker, services.files, services.links}) {
}

OptionsWindow::~OptionsWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

// Loading and unloading

bool OptionsWindow::Load() {
    if (hwnd_) return true;

    dpi_ = SystemDpi();
    // Borderless, so the outer size is the client size. Without a taskbar
    // button like the calendar, and above it while the user works in it
    // (FloatWhileActive).
    const WindowKind kind{.className = kOptionsClass,
                          .traceName = "the options window",
                          .exStyle = WS_EX_TOOLWINDOW,
                          .style = WS_POPUP | WS_CLIPCHILDREN,
                          .caption = kOptionsCaption,
                          .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))};
    if (!WindowToolkit::Create(this, instance_, kind, WindowPixels(kOptionsRect, dpi_)))
        return false;

    // The panel shows the calendar colour from the start, also when the
    // window is loaded again after OK, not only after the next ApplyColors.
    SetPanelColor(state_.CalendarColor);
    CreateControls();
    Layout();
    picker_.SetBlockedWindow(hwnd_);

    // Load steps: centre on the screen, then find the shortcut.
    Centre();
    const CheckBoxView box = logic_.Load(shortcutPaths_());
    HWND check = Control(OptionsControl::cbxLoadWW);
    SendMessageW(check, BM_SETCHECK, box.ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowWindow(check, box.visible ? SW_SHOWNA : SW_HIDE);
    focus_ = Control(OptionsControl::cmdClose);
    return true;
}

void OptionsWindow::Unload() {
    if (!hwnd_) return;
    // The calendar takes input again before this window goes, so the
    // activation falls back to it rather than to another program.
    calendarBlock_.Release();
    DestroyWindow(hwnd_);
}

void OptionsWindow::CreateControls() {
    // Created in Tab order, which is the order the dialog keys follow.
    for (OptionsControl id : OptionsFocusOrder()) {
        const OptionsControlSpec& s = Design(id);
        DWORD style = WS_CHILD | WS_TABSTOP;
        // No BS_NOTIFY: with it a quick second click is reported as a double
        // click and does not press the button or change the box.
        if (s.kind == ControlKind::CheckBox) {
            style |= BS_AUTOCHECKBOX; // shown by the load steps when it has a folder
        } else {
            style |=
                WS_VISIBLE | (id == OptionsControl::cmdClose ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        }
        HWND control = CreateWindowExW(
            0, L"BUTTON", std::wstring(s.caption).c_str(), style, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(id))), instance_, nullptr);
        controls_[Index(id)] = control;
        // Every focus stop reports its focus, the check box too, so that the
        // default button always follows the focus.
        if (control) SetWindowSubclass(control, FocusWatch, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    defaultButton_ = IDOK;
}

void OptionsWindow::Layout() {
    const HFONT font = fonts_.Get(kDialogFont, dpi_);
    for (const auto& s : OptionsLayout()) {
        HWND control = Control(s.id);
        if (!control) continue;
        PlaceChild(control, ControlPixels(s.id, dpi_), false);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    // One repaint of the panel and every control: the panel clips its
    // children, so a moved or re-fonted control would otherwise keep its old
    // picture until something else paints it.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OptionsWindow::Centre() {
    const PixelPoint at =
        CentredPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         kOptionsWidthTwips, kOptionsHeightTwips, dpi_);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// OptionsHost

bool OptionsWindow::IsVisible() {
    return hwnd_ && IsWindowVisible(hwnd_);
}

void OptionsWindow::ApplyColors(Color calendarColor) {
    SetPanelColor(calendarColor);
}

void OptionsWindow::ShowModal() {
    if (modal_) {
        SetForegroundWindow(hwnd_);
        return;
    }
    if (!Load()) return;
    modal_ = true;
    // Returns once OK has unloaded the window, or the program is ending.
    RunModal(hwnd_, Control(OptionsControl::cmdClose), calendarBlock_, calendar_,
             [this](MSG& m) { return PreTranslate(m); });
    Unload();
    calendarBlock_.Release();
    modal_ = false;
}

void OptionsWindow::ToFront() {
    if (HWND picker = picker_.Handle())
        SetForegroundWindow(picker);
    else if (IsVisible())
        SetForegroundWindow(hwnd_);
}

bool OptionsWindow::PreTranslate(MSG& msg) {
    return picker_.PreTranslate(msg) || DialogKeys(hwnd_, msg);
}

// Painting

void OptionsWindow::SetPanelColor(Color color) {
    panelColor_ = color;
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (HWND check = Control(OptionsControl::cbxLoadWW)) InvalidateRect(check, nullptr, TRUE);
}

HBRUSH OptionsWindow::PanelBrush(Color color) {
    if (!panelBrush_ || brushColor_ != color) {
        panelBrush_.Reset(CreateSolidBrush(color));
        brushColor_ = color;
    }
    return panelBrush_.Get();
}

void OptionsWindow::PaintContent(HDC dc, const RECT& area) {
    const SystemColorsNow system(colors_);
    SetDCBrushColor(dc, PaintColors(Ink::Frame, {0, 0}, system).back);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    KeepFont keep(dc);
    // Back to front: the panel, then the labels over it.
    for (auto it = OptionsLayout().rbegin(); it != OptionsLayout().rend(); ++it) {
        const OptionsControlSpec& s = *it;
        const RECT r = ToRect(ControlPixels(s.id, dpi_));
        RECT clip;
        if (!IntersectRect(&clip, &r, &area)) continue;
        const InkColors c = PaintColors(ControlInk(s.id), {panelColor_, s.fore}, system);
        if (s.kind == ControlKind::Shape) {
            // One solid fill: the frame around it is the window's own black.
            FillRect(dc, &r, PanelBrush(c.back));
        } else if (s.kind == ControlKind::Label) {
            PaintLabel(dc, r, {.caption = s.caption, .fore = c.fore, .opaque = false},
                       fonts_.Get(s.font, dpi_), s.font);
        }
    }
}

HBRUSH OptionsWindow::OnControlColor(HDC dc, HWND control) {
    if (control != Control(OptionsControl::cbxLoadWW)) return nullptr;
    const OptionsControl id = OptionsControl::cbxLoadWW;
    const InkColors c = PaintColors(ControlInk(id), {panelColor_, Design(id).fore}, colors_);
    SetBkColor(dc, c.back);
    SetTextColor(dc, c.fore);
    return PanelBrush(c.back);
}

// Input

void OptionsWindow::OnCommand(WORD id, WORD code, HWND control) {
    const auto which = ControlOfId(id);
    if (!which || control != Control(*which)) return;
    if (code != BN_CLICKED) return;
    switch (*which) {
    case OptionsControl::cmdClose:
        Unload();
        break;
    case OptionsControl::cbxLoadWW:
        OnLoadAtStartupClick();
        break;
    default:
        RunClick(*which);
        break;
    }
}

void OptionsWindow::Click(OptionsControl id) {
    HWND control = Control(id);
    if (!control) return RunClick(id);
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return;
    if (Design(id).kind == ControlKind::CheckBox) {
        const bool ticked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(control, BM_SETCHECK, ticked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    OnCommand(static_cast<WORD>(ControlId(id)), BN_CLICKED, control);
}

void OptionsWindow::RunClick(OptionsControl id) {
    if (const auto click = Design(id).click) (logic_.*click)();
}

void OptionsWindow::OnLoadAtStartupClick() {
    HWND check = Control(OptionsControl::cbxLoadWW);
    const bool ticked = SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    // The box shows what is on disk afterwards, so a failed create or delete
    // never looks done.
    const bool present = logic_.OnLoadAtStartupClick(ticked);
    if (hwnd_ && IsWindow(check))
        SendMessageW(check, BM_SETCHECK, present ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CALLBACK OptionsWindow::FocusWatch(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(control, FocusWatch, 0);
    const LRESULT r = DefSubclassProc(control, msg, wp, lp);
    if (msg == WM_SETFOCUS) {
        auto* window = reinterpret_cast<OptionsWindow*>(self);
        window->focus_ = control;
        window->UpdateDefaultButton();
    }
    return r;
}

// As in a dialog: a push button with the focus is the default button, and
// OK is whenever the focus is elsewhere, so Enter presses one or the other.
void OptionsWindow::UpdateDefaultButton() {
    HWND target = Control(OptionsControl::cmdClose);
    if (focus_ && focus_ != Control(OptionsControl::cbxLoadWW)) target = focus_;
    for (const auto& s : OptionsLayout()) {
        if (s.kind != ControlKind::PushButton) continue;
        HWND button = Control(s.id);
        const bool isDefault = button == target;
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & 0x0F;
        if (style != (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON))
            SendMessageW(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        if (isDefault) defaultButton_ = GetDlgCtrlID(button);
    }
}

bool OptionsWindow::OnLink(LPARAM lp) const {
    return ControlHasPixel(OptionsControl::lblContact, GET_X_LPARAM(lp), GET_Y_LPARAM(lp), dpi_);
}

void OptionsWindow::OnButtonDown(LPARAM lp) {
    if (!OnLink(lp)) return;
    linkPressed_ = true;
    SetCapture(hwnd_);
}

void OptionsWindow::OnButtonUp(LPARAM lp) {
    const bool pressed = linkPressed_;
    linkPressed_ = false;
    if (!pressed) return;
    ReleaseCapture();
    // A click is a press and a release on the link.
    if (OnLink(lp)) RunClick(OptionsControl::lblContact);
}

bool OptionsWindow::OnSetCursor(HWND over, WORD hit) {
    bool hand = over == Control(OptionsControl::cmdHomePage);
    if (over == hwnd_ && hit == HTCLIENT) {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        hand = ControlHasPixel(OptionsControl::lblContact, pt.x, pt.y, dpi_);
    }
    if (!hand) return false;
    SetCursor(HandCursor());
    return true;
}

void OptionsWindow::OnActivate(WORD state) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
        return;
    }
    HWND target = focus_ && IsWindowVisible(focus_) ? focus_ : Control(OptionsControl::cmdClose);
    SetFocus(target);
}

void OptionsWindow::OnDpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    // The old fonts go once the controls have the new ones.
    const FontCache old = std::exchange(fonts_, {});
    const PixelRect size = WindowPixels(kOptionsRect, dpi);
    MoveForDpi(hwnd_, suggested, {size.right, size.bottom});
    Layout();
    tips_.DpiChanged();
    access_.LocationsChanged();
}

std::vector<TipTool> OptionsWindow::TipTools() const {
    std::vector<TipTool> tools;
    for (const auto& s : OptionsLayout())
        if (!s.tooltip.empty())
            tools.push_back({static_cast<UINT_PTR>(Index(s.id)), Control(s.id),
                             ToRect(ControlPixels(s.id, dpi_))});
    return tools;
}

const wchar_t* OptionsWindow::TipText(UINT_PTR id) const {
    // The rows' tips are literals, so their text ends in a NUL.
    return id < kOptionsControlCount ? Design(static_cast<OptionsControl>(id)).tooltip.data() : L"";
}

// Window procedure

LRESULT OptionsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    FloatWhileActive(hwnd_, msg, wp);
    if (LRESULT r; access_.Handle(hwnd_, msg, wp, lp, r) || tips_.Handle(hwnd_, msg, wp, lp, r))
        return r;
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = OnControlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(defaultButton_, DC_HASDEFID);
    case WM_LBUTTONDOWN:
        OnButtonDown(lp);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(lp);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) linkPressed_ = false;
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
        break;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wp));
        return 0;
    case WM_CLOSE:
        // No caption, no close button, no cancel: only OK unloads the window.
        return 0;
    case WM_NCDESTROY:
        focus_ = nullptr;
        controls_.fill(nullptr);
        linkPressed_ = false;
        calendarBlock_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace mivra
