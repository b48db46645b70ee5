#include "app/calendar_app.h"

#include <cwctype>
#include <string_view>

#include "app/calendar_grid.h"
#include "base/decimal.h"
#include "base/placement.h"
#include "settings/registry.h"

namespace mivra {

namespace {

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

std::wstring Widen(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

} // namespace

CalendarApp::CalendarApp(ModuleState& state, const Services& services)
    : state_(state), svc_(services) {
    for (const auto& s : CalendarLayout()) {
        auto& l = labels_[Index(s.id)];
        l.caption = s.caption;
        l.fore = s.fore;
        l.back = s.back;
        l.tooltip = s.tooltip;
    }
}

void CalendarApp::Startup() {
    state_.DayTextColor = kPalette[0];
    state_.OtherMonthTextColor = kPalette[7];
    state_.DefaultLabelColor = kPalette[3];
    state_.DefaultCalendarColor = kPalette[15];

    svc_.window.MakeTopmost();
    svc_.window.SetNormalState();

    const Date today = svc_.clock.Today();
    const YearMonth shown =
        ClampDisplayable({std::int16_t(today.Month()), std::int16_t(today.Year())});
    state_.DisplayMonth = shown.month;
    state_.DisplayYear = shown.year;
    state_.LastDate = svc_.clock.Today();

    AddTrayIcon();

    const ScreenMetrics screen = svc_.window.Screen();
    const PixelPoint at = BottomRightPlacement(screen.width, screen.height, kCalendarWidthTwips,
                                               kCalendarHeightTwips, screen.dpi);
    svc_.window.MoveTo(at.x, at.y);

    LoadUserColors();
    ApplyColors();
    RefreshCalendar();
}

void CalendarApp::AddTrayIcon() {
    auto& r = state_.TrayIconData;
    r.cbSize = kNotifyRecordSize;
    r.hWnd = svc_.window.CallbackWindow();
    r.uID = kTrayIconId;
    r.uFlags = kNifMessage | kNifIcon | kNifTip;
    r.uCallbackMessage = kTrayCallbackMessage;
    // The tip is followed by one NUL so the shell shows only the text.
    std::string tip(kTrayTip);
    tip.push_back('\0');
    r.szTip = FixedTip(tip);
    r.hIcon = svc_.icons.IconForDay(state_.LastDate.Day());
    svc_.tray.Notify(NotifyOp::Add, r);
}

void CalendarApp::LoadUserColors() {
    const UserColors stored = mivra::LoadUserColors(
        svc_.registry, {state_.DefaultLabelColor, state_.DefaultCalendarColor});
    state_.LabelColor = stored.LabelColor;
    state_.CalendarColor = stored.CalendarColor;
}

void CalendarApp::ApplyColors() {
    auto& month = labels_[Index(LabelId::lblMonth)];
    month.back = state_.LabelColor;
    month.fore = state_.CalendarColor;
    for (int c = 0; c < 7; ++c)
        labels_[Index(Dow(c))].fore = state_.CalendarColor;
    for (int c = 0; c < 7; ++c)
        labels_[Index(Dow(c))].back = state_.DayTextColor;
    static constexpr LabelId kButtons[] = {
        LabelId::lblHide,      LabelId::lblYearPrev, LabelId::lblMonthPrev, LabelId::lblToday,
        LabelId::lblMonthNext, LabelId::lblYearNext, LabelId::lblQuit,      LabelId::lblAbout};
    for (LabelId id : kButtons)
        labels_[Index(id)].back = state_.LabelColor;
    for (LabelId id : kButtons)
        labels_[Index(id)].fore = state_.CalendarColor;
    svc_.options.ApplyColors(state_.CalendarColor);
    svc_.window.LabelsChanged();
}

void CalendarApp::RefreshCalendar() {
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
        switch (ClassifyCell(c, d, shown.month, today)) {
        case CellKind::Weekday:
            l.fore = state_.DayTextColor;
            l.back = state_.CalendarColor;
            break;
        case CellKind::Sunday:
            l.fore = state_.LabelColor;
            l.back = state_.CalendarColor;
            break;
        case CellKind::OtherMonth:
            l.fore = state_.OtherMonthTextColor;
            l.back = state_.CalendarColor;
            break;
        case CellKind::Today:
            todayCell_ = c;
            l.back = state_.LabelColor;
            l.fore = state_.CalendarColor;
            break;
        }
    }

    state_.TrayIconData.hIcon = svc_.icons.IconForDay(state_.LastDate.Day());
    labels_[Index(LabelId::lblToday)].tooltip =
        L"Jump to Today (" + svc_.text.ShortDate(state_.LastDate) + L")";
    svc_.tray.Notify(NotifyOp::Modify, state_.TrayIconData);
    svc_.window.LabelsChanged();
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
    YearMonth m{state_.DisplayMonth, state_.DisplayYear};
    if (EqualsIgnoreCase(CurrentButton, L"lblMonthNext")) {
        if (++m.month == 13) m = {1, std::int16_t(m.year + 1)};
    } else if (EqualsIgnoreCase(CurrentButton, L"lblMonthPrev")) {
        if (--m.month == 0) m = {12, std::int16_t(m.year - 1)};
    } else if (EqualsIgnoreCase(CurrentButton, L"lblYearNext")) {
        ++m.year;
    } else if (EqualsIgnoreCase(CurrentButton, L"lblYearPrev")) {
        --m.year;
    }
    // At the ends of the range of dates the step stops there.
    if (IsDisplayable(m)) {
        state_.DisplayMonth = m.month;
        state_.DisplayYear = m.year;
    }
    RefreshCalendar();
}

bool CalendarApp::IsStepLabel(LabelId id) {
    return id == LabelId::lblMonthPrev || id == LabelId::lblMonthNext ||
           id == LabelId::lblYearPrev || id == LabelId::lblYearNext;
}

bool CalendarApp::HasPressedLook(LabelId id) {
    return IsStepLabel(id) || id == LabelId::lblToday || id == LabelId::lblHide ||
           id == LabelId::lblAbout;
}

void CalendarApp::PressedLook(LabelId id) {
    auto& l = labels_[Index(id)];
    l.fore = state_.LabelColor;
    l.back = state_.CalendarColor;
    svc_.window.LabelsChanged();
}

void CalendarApp::RestingLook(LabelId id) {
    auto& l = labels_[Index(id)];
    l.fore = state_.CalendarColor;
    l.back = state_.LabelColor;
    svc_.window.LabelsChanged();
}

void CalendarApp::OnMouseDown(LabelId id) {
    if (!HasPressedLook(id)) return;
    PressedLook(id);
    if (IsStepLabel(id)) {
        CurrentButton = Widen(Design(id).name);
        OnButtonScrollTimer();
        svc_.window.SetButtonScroll(true);
    }
}

void CalendarApp::OnMouseUp(LabelId id) {
    if (!HasPressedLook(id)) return;
    RestingLook(id);
    if (IsStepLabel(id)) {
        svc_.window.SetButtonScroll(false);
    }
}

void CalendarApp::OnClick(LabelId id) {
    switch (id) {
    case LabelId::lblToday: {
        const Date today = svc_.clock.Today();
        const YearMonth m =
            ClampDisplayable({std::int16_t(today.Month()), std::int16_t(today.Year())});
        state_.DisplayMonth = m.month;
        state_.DisplayYear = m.year;
        RefreshCalendar();
        break;
    }
    case LabelId::lblHide:
        svc_.window.Hide();
        break;
    case LabelId::lblAbout:
        svc_.options.ShowModal();
        break;
    case LabelId::lblQuit:
        svc_.window.Close();
        break;
    default:
        break;
    }
}

void CalendarApp::OnMouseMove(LabelId id, int buttons) {
    if (id == LabelId::lblMonth && buttons == kLeftButton) svc_.window.StartDrag();
}

void CalendarApp::OnTrayCallback(std::int32_t code) {
    if (trayBusy_) return;
    trayBusy_ = true;
    if (IsToggleCode(code) && !svc_.options.IsVisible()) {
        if (svc_.window.IsShown())
            svc_.window.Hide();
        else
            svc_.window.Show();
    }
    trayBusy_ = false;
}

void CalendarApp::OnTaskbarCreated() {
    // Re-add with the record as it stands; it already carries today's picture.
    svc_.tray.Notify(NotifyOp::Add, state_.TrayIconData);
}

void CalendarApp::OnTraySizeChanged() {
    if (!svc_.icons.TraySizeChanged()) return;
    state_.TrayIconData.hIcon = svc_.icons.IconForDay(state_.LastDate.Day());
    svc_.tray.Notify(NotifyOp::Modify, state_.TrayIconData);
}

void CalendarApp::OnCloseRequest() {
    auto& r = state_.TrayIconData;
    r.cbSize = kNotifyRecordSize;
    r.hWnd = svc_.window.CallbackWindow();
    r.uID = kTrayIconId;
    svc_.tray.Notify(NotifyOp::Delete, r);
}

} // namespace mivra
