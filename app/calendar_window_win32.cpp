#include "app/calendar_window_win32.h"

#include <windowsx.h>

#include "base/placement.h"
#include "platform/dpi_win32.h"
#include "platform/trace_win32.h"
#include "resources/resource.h"

namespace mivra {

namespace {

constexpr wchar_t kWindowClass[] = L"MivraCalendar";
constexpr wchar_t kHookClass[] = L"MivraHook";
// The window's timers by id, as the developer's trace names them.
enum : UINT_PTR { kRefreshTimer = 1, kScrollTimer, kTrayRetryTimer };
constexpr const char* kTimerNames[] = {"", "the calendar's refresh timer",
                                       "the calendar's button repeat",
                                       "the calendar's tray icon retry"};
constexpr TwipRect kDesignPosition{4080, 2256, kCalendarWidthTwips, kCalendarHeightTwips};

int ButtonsOf(WPARAM wp) {
    return ((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0);
}

} // namespace

CalendarWindow::~CalendarWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool CalendarWindow::Create(HINSTANCE instance) {
    dpi_ = SystemDpi();
    // A tool window gets no taskbar button; the popup style gives no frame.
    // Topmost from birth too: not every system applies a z-order change to a
    // window that is still hidden.
    const WindowKind kind{
        .className = kWindowClass,
        .traceName = "the calendar window",
        .exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
        .style = WS_POPUP,
        .caption = kCalendarCaption,
        .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
        .icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0,
                                              LR_DEFAULTSIZE | LR_SHARED))};
    if (!WindowToolkit::Create(this, instance, kind, WindowPixels(kDesignPosition, dpi_)))
        return false;
    // The window's own icon too, not only its class's: the page of day 31.
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(kind.icon));

    const WindowKind hookKind{
        .className = kHookClass, .traceName = "the tray icon's callback window", .style = WS_CHILD};
    WindowToolkit::Create(&hook_, instance, hookKind, WindowPixels(kPichookRect, dpi_), hwnd_);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Started with "Run as administrator", the program would hear nothing
    // from an Explorer of lower integrity: User Interface Privilege Isolation
    // drops its broadcast and the icon's callbacks unless these windows take
    // them.
    ChangeWindowMessageFilterEx(hwnd_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    if (hook_.hwnd_)
        ChangeWindowMessageFilterEx(hook_.hwnd_, kTrayCallbackMessage, MSGFLT_ALLOW, nullptr);
    SetWindowTimer(kRefreshTimer, timings_.refreshMs, true);
    return hook_.hwnd_ != nullptr;
}

RECT CalendarWindow::LabelRect(LabelId id) const {
    return ToRect(PaintedPixels(Design(id).rect, dpi_));
}

std::vector<TipTool> CalendarWindow::TipTools() const {
    // Front to back, so where labels overlap the front one's tip wins.
    std::vector<TipTool> tools;
    for (const auto& s : CalendarLayout())
        if (s.kind == LabelKind::Button)
            tools.push_back({static_cast<UINT_PTR>(Index(s.id)), nullptr, LabelRect(s.id)});
    return tools;
}

const wchar_t* CalendarWindow::TipText(UINT_PTR id) const {
    // The tools are the layout's buttons, so every id names a label.
    return app_ ? app_->Label(static_cast<LabelId>(id)).tooltip.c_str() : L"";
}

void CalendarWindow::PaintContent(HDC dc, const RECT& area) {
    const SystemColorsNow system(colors_);
    // The black frame, which also shows between the labels as lines.
    SetDCBrushColor(dc, PaintColors(Ink::Frame, {0, 0}, system).back);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (!app_) return;
    const Color line = LineColor(system);
    KeepFont keep(dc);
    // Back to front, so the front labels cover their neighbours' overlap.
    for (int i = kLabelCount - 1; i >= 0; --i) {
        const auto& s = CalendarLayout()[i];
        const RECT r = LabelRect(s.id);
        RECT clip;
        if (!IntersectRect(&clip, &r, &area)) continue;
        const LabelState& l = app_->Label(s.id);
        const InkColors c = PaintColors(l.ink, {l.back, l.fore}, system);
        PaintLabel(dc, r,
                   {.caption = l.caption,
                    .fore = c.fore,
                    .back = c.back,
                    .border = s.border,
                    .line = line},
                   fonts_.Get(s.font, dpi_), s.font);
    }
}

std::optional<LabelId> CalendarWindow::HitTest(LPARAM lp) const {
    LabelId id;
    if (LabelAtPixel(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), dpi_, id)) return id;
    return std::nullopt;
}

void CalendarWindow::OnButtonDown(LPARAM lp) {
    if (pressed_) return; // another button already holds a label
    const auto id = HitTest(lp);
    if (!id) return;
    pressed_ = id;
    // The pressed label keeps the mouse, so its release ends the repeat
    // wherever the pointer is by then.
    SetCapture(hwnd_);
    app_->OnMouseDown(*id);
}

void CalendarWindow::OnButtonUp(LPARAM lp) {
    if (!pressed_) return;
    const LabelId id = *pressed_;
    pressed_.reset();
    ReleaseCapture();
    app_->OnMouseUp(id);
    if (HitTest(lp) == id) app_->OnClick(id);
}

void CalendarWindow::OnMouseMove(WPARAM wp, LPARAM lp) {
    // A move belongs to the label the press began on. A button held since a
    // press elsewhere (the black frame, another window) belongs to no label,
    // so sliding onto the title does not drag.
    const int buttons = ButtonsOf(wp);
    if (pressed_) {
        app_->OnMouseMove(*pressed_, buttons);
    } else if (buttons == 0) {
        if (const auto id = HitTest(lp)) app_->OnMouseMove(*id, buttons);
    }
}

void CalendarWindow::OnCaptureLost() {
    // Capture taken away mid-press (a dialog, another program): end the press
    // as a release, so the repeat never runs on unattended.
    if (!pressed_) return;
    const LabelId id = *pressed_;
    pressed_.reset();
    app_->OnMouseUp(id);
}

void CalendarWindow::OnTimer(UINT_PTR id) {
    if (id == kRefreshTimer)
        app_->OnRefreshTimer();
    else if (id == kScrollTimer)
        app_->OnButtonScrollTimer();
    else if (id == kTrayRetryTimer)
        app_->OnTrayRetryTimer();
}

void CalendarWindow::OnDpiChanged(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    fonts_.Clear();
    MoveForDpi(hwnd_, suggested,
               {TwipsToPixels(kCalendarWidthTwips, dpi), TwipsToPixels(kCalendarHeightTwips, dpi)});
    if (hook_.hwnd_) PlaceChild(hook_.hwnd_, WindowPixels(kPichookRect, dpi), false);
    tips_.DpiChanged();
    InvalidateRect(hwnd_, nullptr, FALSE);
    access_.LocationsChanged();
    // The taskbar's monitor may have a new DPI as well.
    if (app_) app_->OnTraySizeChanged();
}

void CalendarWindow::OnCloseRequest() {
    if (closing_) return;
    closing_ = true;
    // Only the message switch asks, and it runs with the logic attached.
    app_->OnCloseRequest();
    DestroyWindow(hwnd_);
}

// CalendarHost

void CalendarWindow::MakeTopmost() {
    // Not activated: a hidden window with the focus would swallow what the
    // user types into another program while Mivra starts at log-on.
    TraceIfFailed(
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE),
        "SetWindowPos", "the calendar window's topmost state");
}

void CalendarWindow::SetNormalState() {
    if (!IsIconic(hwnd_) && !IsZoomed(hwnd_)) return;
    // Only the window manager restores a window, and only by showing it: a
    // hidden one goes back out of sight at once.
    const bool hidden = !IsWindowVisible(hwnd_);
    showWindow(hwnd_, SW_SHOWNOACTIVATE);
    if (hidden) showWindow(hwnd_, SW_HIDE);
}

ScreenMetrics CalendarWindow::Screen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi_};
}

void CalendarWindow::MoveTo(int x, int y) {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CalendarWindow::IsShown() {
    // Minimized by another program, it shows nothing of the month.
    return IsWindowVisible(hwnd_) && !IsIconic(hwnd_);
}

void CalendarWindow::Show() {
    SetNormalState();
    // A monitor whose DPI changed while the window was hidden sent it no
    // WM_DPICHANGED: lay it out for the DPI it shows at, keeping its
    // bottom-right corner, so it stays near the notification area.
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
        RECT r;
        GetWindowRect(hwnd_, &r);
        const RECT at{r.right - TwipsToPixels(kCalendarWidthTwips, dpi),
                      r.bottom - TwipsToPixels(kCalendarHeightTwips, dpi), r.right, r.bottom};
        OnDpiChanged(dpi, &at);
    }
    // A monitor unplugged, a smaller resolution, a remote session: where it
    // was may be seen no more. Back to the bottom right, as at start.
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (!IsOnScreen({r.left, r.top, r.right, r.bottom}, WorkAreas())) {
        const ScreenMetrics screen = Screen();
        const PixelPoint at = BottomRightPlacement(screen.width, screen.height, kCalendarWidthTwips,
                                                   kCalendarHeightTwips, screen.dpi);
        MoveTo(at.x, at.y);
    }
    ShowActive(hwnd_);
}

void CalendarWindow::Hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

// After a close the window is gone: a null window would mean the whole
// desktop to InvalidateRect, and a thread timer to SetTimer.
void CalendarWindow::LabelsChanged() {
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    access_.ItemsChanged();
}

void CalendarWindow::SetButtonScroll(bool enabled) {
    SetWindowTimer(kScrollTimer, kButtonScrollIntervalMs, enabled);
}

void CalendarWindow::SetTrayRetry(bool enabled) {
    SetWindowTimer(kTrayRetryTimer, timings_.trayRetryMs, enabled);
}

void CalendarWindow::SetWindowTimer(UINT_PTR id, unsigned ms, bool enabled) {
    if (!hwnd_) return;
    if (enabled)
        TraceIfFailed(SetTimer(hwnd_, id, ms, nullptr), "SetTimer", kTimerNames[id]);
    else
        KillTimer(hwnd_, id);
}

void CalendarWindow::StartDrag() {
    pressed_.reset();
    ReleaseCapture();
    // The system's own move loop, as if the title bar had been pressed; it
    // returns when the button is released.
    const DWORD pos = GetMessagePos();
    SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(pos));
}

void CalendarWindow::Close() {
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

// Window procedures

LRESULT CalendarWindow::TrayHook::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The window is never shown, so every pointer move it hears is the
    // shell's: the code is in lParam's low word, and nothing else counts.
    if (msg == WM_MOUSEMOVE && owner->app_) {
        owner->app_->OnTrayCallback(TrayCallbackCode(lp));
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CalendarWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT r; access_.Handle(hwnd_, msg, wp, lp, r) || tips_.Handle(hwnd_, msg, wp, lp, r))
        return r;
    // Zero until the window's creation has registered it.
    if (taskbarCreated_ != 0 && msg == taskbarCreated_) {
        if (app_) app_->OnTaskbarCreated();
        return 0;
    }
    if (!app_) return DefWindowProcW(hwnd_, msg, wp, lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown(lp);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnButtonUp(lp);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wp, lp);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) OnCaptureLost();
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        app_->OnTraySizeChanged();
        break;
    case WM_TIMECHANGE:
        app_->OnRefreshTimer();
        return 0;
    case WM_POWERBROADCAST:
        if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) app_->OnRefreshTimer();
        return TRUE;
    case WM_CLOSE:
        OnCloseRequest();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // never refuse a log-off or shutdown
    case WM_ENDSESSION:
        if (wp) OnCloseRequest();
        return 0;
    case WM_DESTROY:
        for (UINT_PTR id : {kRefreshTimer, kScrollTimer, kTrayRetryTimer})
            KillTimer(hwnd_, id);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace mivra
