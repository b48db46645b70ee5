#include "settings/color_picker_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "base/color.h"

namespace mivra {

namespace {

constexpr wchar_t kPickerClass[] = L"MivraColorPicker";
constexpr DWORD kPickerStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// No taskbar button; above the calendar and the options window while the
// user works in it (FloatWhileActive).
constexpr DWORD kPickerExStyle = WS_EX_TOOLWINDOW;

SIZE FrameSize(int dpi) {
    const RECT r = FrameForDpi(kPickerStyle, kPickerExStyle, dpi);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

ColorPickerWindow::~ColorPickerWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

SIZE ColorPickerWindow::OuterSize(int dpi, SIZE frame) const {
    // Eight and a quarter cells make the outer width. Should the frame be
    // wider than the quarter cell allows, the width grows so that no cell is
    // cut off.
    int cellsRight = 0;
    for (const TwipRect& c : cells_)
        cellsRight = std::max(cellsRight, WindowPixels(c, dpi).right);
    const int width =
        std::max(PickerOuterWidthPixels(dpi), cellsRight + static_cast<int>(frame.cx));
    return {width, TwipsToPixels(kPickerClientHeightTwips, dpi) + static_cast<int>(frame.cy)};
}

void ColorPickerWindow::FitToFrame() {
    // The frame the system really draws can differ from the one computed
    // beforehand (themes, a DPI the frame metrics do not follow): measure it
    // and keep the designed client height.
    RECT outer, client;
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    const SIZE frame{(outer.right - outer.left) - client.right,
                     (outer.bottom - outer.top) - client.bottom};
    const SIZE size = OuterSize(dpi_, frame);
    if (size.cx != outer.right - outer.left || size.cy != outer.bottom - outer.top)
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT ColorPickerWindow::Placement(SIZE size) const {
    // Centred over the options window when it shows, else on the screen;
    // kept inside the work area of that monitor either way.
    RECT over{};
    if (blocked_ && IsWindowVisible(blocked_)) {
        GetWindowRect(blocked_, &over);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    }
    POINT at{over.left + (over.right - over.left - size.cx) / 2,
             over.top + (over.bottom - over.top - size.cy) / 2};
    MONITORINFO mi{sizeof(mi)};
    if (GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTOPRIMARY), &mi)) {
        const RECT& w = mi.rcWork;
        at.x = std::max(static_cast<LONG>(w.left), std::min(at.x, w.right - size.cx));
        at.y = std::max(static_cast<LONG>(w.top), std::min(at.y, w.bottom - size.cy));
    }
    return at;
}

bool ColorPickerWindow::Load() {
    if (hwnd_) return true;

    // The load steps: every cell made afresh from cell 0.
    cells_ = PickerCells();
    pressed_ = -1;
    dpi_ = blocked_ ? WindowDpi(blocked_) : SystemDpi();
    const SIZE size = OuterSize(dpi_, FrameSize(dpi_));
    const POINT at = Placement(size);
    const WindowKind kind{.className = kPickerClass,
                          .traceName = "the colour picker",
                          .exStyle = kPickerExStyle,
                          .style = kPickerStyle,
                          .caption = kPickerCaption,
                          .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    if (!WindowToolkit::Create(this, instance_, kind, {at.x, at.y, at.x + size.cx, at.y + size.cy}))
        return false;
    FitToFrame();

    // The cells take no focus, so Cancel holds it; Enter presses it as well.
    cancel_ = CreateWindowExW(0, L"BUTTON", std::wstring(kPickerCancelText).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                              hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)),
                              instance_, nullptr);
    Layout();
    return cancel_ != nullptr;
}

void ColorPickerWindow::Layout() {
    if (!cancel_) return;
    PlaceChild(cancel_, WindowPixels(kPickerCancelRect, dpi_), true);
    SendMessageW(cancel_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(kDialogFont, dpi_)),
                 TRUE);
}

void ColorPickerWindow::ShowModal() {
    if (hwnd_) {
        // Already open further up the stack: never a second picker, and no
        // choice for this caller.
        SetForegroundWindow(hwnd_);
        state_.PickedColor = kNoColorChoice;
        return;
    }
    if (!Load()) {
        if (hwnd_) DestroyWindow(hwnd_);
        state_.PickedColor = kNoColorChoice;
        return;
    }
    if (!RunModal(hwnd_, cancel_, block_, blocked_, [this](MSG& m) { return PreTranslate(m); }) &&
        hwnd_) {
        // The program is ending with the picker open: no choice was made.
        Finish(-1);
    }
    if (blocked_ && IsWindowVisible(blocked_)) SetForegroundWindow(blocked_);
}

bool ColorPickerWindow::PreTranslate(MSG& msg) {
    return DialogKeys(hwnd_, msg);
}

RECT ColorPickerWindow::CellRect(int cell) const {
    if (cell < 0 || cell >= kPickerCellCount) return {};
    return ToRect(WindowPixels(cells_[cell], dpi_));
}

void ColorPickerWindow::PaintContent(HDC dc, const RECT& area) {
    SetDCBrushColor(dc, SolidColor(SystemColor(SysColor::ButtonFace), colors_));
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    // A cell is the choice itself and keeps its colour in high contrast too,
    // framed in the text colour with a gap of the window colour, so that it
    // shows on any ground.
    const SystemColorsNow system(colors_);
    const bool contrast = system.HighContrast();
    const InkColors gap = PaintColors(Ink::Panel, {}, system);
    // In creation order: each new cell was brought to the front.
    for (int i = 0; i < kPickerCellCount; ++i) {
        RECT r = CellRect(i);
        RECT clip;
        if (!IntersectRect(&clip, &r, &area)) continue;
        if (contrast) {
            const LabelLook frame{
                .fore = gap.fore, .back = gap.back, .border = true, .line = gap.fore};
            PaintLabel(dc, r, frame, nullptr, kDialogFont);
            InflateRect(&r, -2, -2);
        }
        PaintLabel(dc, r, {.back = kPalette[i], .border = !contrast}, nullptr, kDialogFont);
    }
}

void ColorPickerWindow::OnButtonDown(LPARAM lp) {
    const int cell = PickerCellAtPixel(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), dpi_);
    if (cell < 0) return;
    pressed_ = cell;
    SetCapture(hwnd_);
}

void ColorPickerWindow::OnButtonUp(LPARAM lp) {
    const int cell = pressed_;
    if (cell < 0) return;
    pressed_ = -1;
    ReleaseCapture();
    // A click is a press and a release on the same cell.
    if (PickerCellAtPixel(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), dpi_) == cell) Finish(cell);
}

void ColorPickerWindow::OnDpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    MoveForDpi(hwnd_, suggested, OuterSize(dpi, FrameSize(dpi)));
    FitToFrame();
    Layout();
    InvalidateRect(hwnd_, nullptr, FALSE);
    access_.LocationsChanged();
}

void ColorPickerWindow::Finish(int cell) {
    state_.PickedColor = PickedColorFor(cell);
    // The blocked window takes input again before the picker goes, so the
    // activation returns to it rather than to another program.
    block_.Release();
    DestroyWindow(hwnd_);
}

LRESULT ColorPickerWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    FloatWhileActive(hwnd_, msg, wp);
    if (LRESULT r; access_.Handle(hwnd_, msg, wp, lp, r)) return r;
    switch (msg) {
    case WM_LBUTTONDOWN:
        OnButtonDown(lp);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(lp);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) pressed_ = -1;
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL && HIWORD(wp) == BN_CLICKED) Finish(-1);
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && cancel_) SetFocus(cancel_);
        return 0;
    case WM_CLOSE:
        // The caption's close button or Alt+F4: closed without a choice.
        Finish(-1);
        return 0;
    case WM_NCDESTROY:
        cancel_ = nullptr;
        pressed_ = -1;
        block_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace mivra
