#include "app/calendar_app.h"

#include <string_view>

#include "app/calendar_grid.h"
#include "base/decimal.h"
#include "base/placement.h"

namespace mivra {

namespace {

std::wstring Widen(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

} // namespace

CalendarApp::CalendarApp(ModuleState& state, const Services& services)
    : state_(state), svc_(services), icon_(state.TrayIconData, services.tray) {
    for (const auto& s : CalendarLayout()) {
        auto& l = labels_[Index(s.id)];
        l.caption = s.caption;
        l.fore = s.fore;
        l.back = s.back;
        l.ink = s.kind == LabelKind::Day ? Ink::Day : Ink::Bar;
        l.tooltip = s.tooltip;
    }
}

void CalendarApp::Startup() {
    state_.DayTextColor = kDayTextColor;
    state_.OtherMonthTextColor = kOtherMonthTextColor;
    state_.DefaultLabelColor = kDefaultSettings.LabelColor;
    state_.DefaultCalendarColor = kDefaultSettings.CalendarColor;

    svc_.window.MakeTopmost();
    svc_.window.SetNormalState();

    const Date today = svc_.clock.Today();
    const YearMonth shown =
        ClampDisplayable({std::int16_t(today.Month()), std::int16_t(today.Year())});
    state_.DisplayMonth = shown.month;
    state_.DisplayYear = shown.year;
    state_.LastDate = svc_.clock.Today();

    icon_.Fill(svc_.window.CallbackWindow(), TodaysPicture());
    ShowTrayIcon(NotifyOp::Add);

    const ScreenMetrics screen = svc_.window.Screen();
    const PixelPoint at = BottomRightPlacement(screen.width, screen.height, kCalendarWidthTwips,
                                               kCalendarHeightTwips, screen.dpi);
    svc_.window.MoveTo(at.x, at.y);

    state_.Load(svc_.registry, state_.Defaults());
    ApplyColors();
    RefreshCalendar();
}

// At log-on the taskbar may not answer yet, and one that only timed out
// sends no TaskbarCreated later: without another try the program would run
// with no icon and no way to reach it.
void CalendarApp::ShowTrayIcon(NotifyOp op) {
    bool shown = Send(op);
    // A modify fails when the shell lost the icon; an add brings it back.
    if (!shown && op == NotifyOp::Modify) shown = icon_.Add();
    if (!Closing()) SetTrayMissing(!shown);
}

bool CalendarApp::Send(NotifyOp op) {
    return op == NotifyOp::Add ? icon_.Add() : icon_.Modify();
}

void CalendarApp::SetTrayMissing(bool missing) {
    if (missing == trayMissing_) return;
    trayMissing_ = missing;
    nextRetry_ = NotifyOp::Modify;
    svc_.window.SetTrayRetry(missing);
}

void CalendarApp::OnTrayRetryTimer() {
    if (!trayMissing_ || Closing()) return;
    const NotifyOp op = nextRetry_;
    nextRetry_ = op == NotifyOp::Modify ? NotifyOp::Add : NotifyOp::Modify;
    if (Send(op)) SetTrayMissing(false);
}

std::uintptr_t CalendarApp::TodaysPicture() {
    return svc_.icons.IconForDay(state_.LastDate.Day());
}

void CalendarApp::ApplyColors() {
    if (Closing()) return;
    // The title and the buttons in the label colours, the weekdays on the
    // day text colour; the days are the refresh's.
    for (const auto& s : CalendarLayout()) {
        auto& l = labels_[Index(s.id)];
        if (s.kind == LabelKind::Day) continue;
        l.fore = state_.CalendarColor;
        l.back = s.kind == LabelKind::Weekday ? state_.DayTextColor : state_.LabelColor;
    }
    svc_.options.ApplyColors(state_.CalendarColor);
    svc_.window.LabelsChanged();
}

void CalendarApp::SettingsChanged() {
    ApplyColors();
    RefreshCalendar();
}

void CalendarApp::RefreshCalendar() {
    if (Closing()) return;
    // Never build the grid from a month whose cells leave the range of dates.
    const YearMonth shown = ClampDisplayable({state_.DisplayMonth, state_.DisplayYear});
    state_.DisplayMonth = shown.month;
    state_.DisplayYear = shown.year;

    const auto first = FirstOfMonth(shown.month, shown.year);
    labels_[Index(LabelId::lblMonth)].caption = svc_.text.MonthYear(*first);

    const auto cells = GridDates(shown.month, shown.year);
    const Date today = svc_.clock.Today();
    todayCell_ = -1;
    for (int c = 0; c < kGridCells; ++c) {
        const Date& d = (*cells)[c];
        auto& l = labels_[Index(Day(c))];
        l.caption = DecimalW(d.Day());
        // Text and ground by the kind of cell, in the order of CellKind.
        static constexpr struct {
            Color ModuleState::*fore;
            Color ModuleState::*back;
            Ink ink;
        } kLooks[] = {
            {&ModuleState::DayTextColor, &ModuleState::CalendarColor, Ink::Day},
            {&ModuleState::LabelColor, &ModuleState::CalendarColor, Ink::Sunday},
            {&ModuleState::OtherMonthTextColor, &ModuleState::CalendarColor, Ink::OtherMonthDay},
            {&ModuleState::CalendarColor, &ModuleState::LabelColor, Ink::Today},
        };
        const CellKind kind = ClassifyCell(c, d, shown.month, today);
        const auto& look = kLooks[static_cast<int>(kind)];
        l.fore = state_.*look.fore;
        l.back = state_.*look.back;
        l.ink = look.ink;
        if (kind == CellKind::Today) todayCell_ = c;
    }

    icon_.SetPicture(TodaysPicture());
    labels_[Index(LabelId::lblToday)].tooltip =
        L"Jump to Today (" + svc_.text.ShortDate(state_.LastDate) + L")";
    // While the shell has not taken the icon the retry timer sends the
    // record, which now carries this picture; a refresh does not wait on a
    // shell that does not answer.
    if (!trayMissing_) ShowTrayIcon(NotifyOp::Modify);
    // A close that came while the shell was busy has taken the window away.
    if (!Closing()) svc_.window.LabelsChanged();
}

void CalendarApp::OnRefreshTimer() {
    const Date today = svc_.clock.Today();
    if (today != state_.LastDate) {
        state_.LastDate = today;
        state_.DisplayMonth = std::int16_t(today.Month());
        state_.DisplayYear = std::int16_t(today.Year());
    }
    RefreshCalendar();
}

void CalendarApp::OnButtonScrollTimer() {
    // CurrentButton names the step label pressed last; the table says its step.
    const LabelSpec* held = StepLabelNamed(CurrentButton);
    const int months = state_.DisplayYear * 12 + state_.DisplayMonth - 1 + (held ? held->step : 0);
    const YearMonth m{std::int16_t(months % 12 + 1), std::int16_t(months / 12)};
    // At the ends of the range of dates the step stops there.
    if (IsDisplayable(m)) {
        state_.DisplayMonth = m.month;
        state_.DisplayYear = m.year;
    }
    RefreshCalendar();
}

void CalendarApp::SetLook(LabelId id, bool pressed) {
    // Pressed, a button swaps its two colours.
    auto& l = labels_[Index(id)];
    l.fore = pressed ? state_.LabelColor : state_.CalendarColor;
    l.back = pressed ? state_.CalendarColor : state_.LabelColor;
    l.ink = pressed ? Ink::Pressed : Ink::Bar;
    svc_.window.LabelsChanged();
}

void CalendarApp::OnMouseDown(LabelId id) {
    const LabelSpec& s = Design(id);
    if (!s.pressedLook || Closing()) return;
    SetLook(id, true);
    if (s.step != 0) {
        CurrentButton = Widen(s.name);
        OnButtonScrollTimer();
        if (s.repeats && !Closing()) svc_.window.SetButtonScroll(true);
    }
}

void CalendarApp::OnMouseUp(LabelId id) {
    const LabelSpec& s = Design(id);
    if (!s.pressedLook || Closing()) return;
    SetLook(id, false);
    if (s.repeats) svc_.window.SetButtonScroll(false);
}

void CalendarApp::OnClick(LabelId id) {
    if (const auto click = Design(id).click; click && !Closing()) (this->*click)();
}

void CalendarApp::JumpToToday() {
    const Date today = svc_.clock.Today();
    const YearMonth m = ClampDisplayable({std::int16_t(today.Month()), std::int16_t(today.Year())});
    state_.DisplayMonth = m.month;
    state_.DisplayYear = m.year;
    RefreshCalendar();
}

void CalendarApp::HideCalendar() {
    svc_.window.Hide();
}

void CalendarApp::ShowOptions() {
    svc_.options.ShowModal();
}

void CalendarApp::Quit() {
    svc_.window.Close();
}

void CalendarApp::OnMouseMove(LabelId id, int buttons) {
    if (id == LabelId::lblMonth && buttons == kLeftButton) svc_.window.StartDrag();
}

void CalendarApp::OnTrayCallback(std::int32_t code) {
    if (trayBusy_ || Closing()) return;
    if (!IsToggleCode(code)) return;
    trayBusy_ = true;
    if (svc_.options.IsVisible())
        // The calendar stays as it is; the options window may be hidden
        // behind another program.
        svc_.options.ToFront();
    else if (svc_.window.IsShown())
        svc_.window.Hide();
    else
        svc_.window.Show();
    trayBusy_ = false;
}

void CalendarApp::OnTaskbarCreated() {
    if (Closing()) return;
    // The new notification area has no icon of ours yet; Windows also makes
    // one anew when its DPI changes, so the picture may need another size.
    // The add carries it.
    if (svc_.icons.TraySizeChanged()) icon_.SetPicture(TodaysPicture());
    ShowTrayIcon(NotifyOp::Add);
}

void CalendarApp::OnTraySizeChanged() {
    if (Closing() || !svc_.icons.TraySizeChanged()) return;
    icon_.SetPicture(TodaysPicture());
    // While the icon is being retried, the retry carries the new picture.
    if (!trayMissing_) ShowTrayIcon(NotifyOp::Modify);
}

void CalendarApp::OnCloseRequest() {
    if (Closing()) return;
    SetTrayMissing(false);
    icon_.Delete(svc_.window.CallbackWindow());
}

} // namespace mivra
