// The calendar program's behaviour, free of Windows: start-up and shutdown,
// the month grid and its refresh, the roll-over check, navigation with
// auto-repeat, the label buttons, the colours and the tray callback. The
// Win32 layer turns messages into calls here and paints the labels.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/calendar_layout.h"
#include "app/services.h"
#include "app/state.h"
#include "base/contrast.h"
#include "settings/options.h"
#include "tray/tray_icon.h"

namespace mivra {

class RegistryApi;

// What a label shows at run time.
struct LabelState {
    std::wstring caption;
    Color fore = 0;
    Color back = 0;
    std::wstring tooltip;
    // What it is now, for the colours it takes in high contrast.
    Ink ink = Ink::Bar;
};

// Mouse buttons as a bit set: left 1, right 2, middle 4.
inline constexpr int kLeftButton = 1;

class CalendarApp final : public SettingsListener {
public:
    struct Services {
        Clock& clock;
        DateText& text;
        TrayArea& tray;
        IconSource& icons;
        CalendarHost& window;
        OptionsHost& options;
        RegistryApi& registry;
    };

    CalendarApp(ModuleState& state, const Services& services);

    // The load routine of the calendar window: runs once, window hidden.
    void Startup();
    // The one routine that brings the window and the tray picture up to date.
    void RefreshCalendar();
    void ApplyColors();
    // A setting changed in the options window: the colours, then the grid.
    void SettingsChanged() override;

    // tmrRefresh: roll-over check, then a refresh on every tick. Also run when
    // the clock is changed or the machine resumes, so the date is right at once.
    void OnRefreshTimer();
    // tmrButtonScroll, and the immediate step of a press.
    void OnButtonScrollTimer();

    void OnMouseDown(LabelId id);
    void OnMouseUp(LabelId id);
    void OnClick(LabelId id);
    void OnMouseMove(LabelId id, int buttons);

    // What the buttons' clicks do (see the label table).
    void JumpToToday();
    void HideCalendar();
    void ShowOptions();
    void Quit();

    void OnTrayCallback(std::int32_t code);
    // The notification area was re-created (the shell restarted, or its DPI
    // changed): the icon would otherwise be gone for good, leaving a program
    // nobody can reach.
    void OnTaskbarCreated();
    // Another try at showing the icon while the shell has not taken it.
    void OnTrayRetryTimer();
    // The notification area may show icons at another size (its DPI or the
    // display changed): give it the day's picture made for that size.
    void OnTraySizeChanged();
    // Any close request: the icon goes first; the close is never refused.
    void OnCloseRequest();

    const LabelState& Label(LabelId id) const { return labels_[Index(id)]; }
    // The day cell marked as the current date by the last refresh, or -1.
    int TodayCell() const { return todayCell_; }
    DateText& Dates() const { return svc_.text; }
    const ModuleState& State() const { return state_; }

    // Name of the step label pressed last; compared ignoring case.
    std::wstring CurrentButton;

    // A close request has begun: the icon is gone or going, and nothing adds
    // it again, starts a timer or touches the window.
    bool Closing() const { return icon_.Closing(); }

private:
    // The picture of LastDate's day at the tray's size.
    std::uintptr_t TodaysPicture();
    // Hands the record to the shell; a shell that does not take it is tried
    // again by the retry timer until it does.
    void ShowTrayIcon(NotifyOp op);
    bool Send(NotifyOp op); // an add or a modify

    void SetTrayMissing(bool missing);
    void SetLook(LabelId id, bool pressed);

    ModuleState& state_;
    Services svc_;
    TrayIcon icon_;
    std::array<LabelState, kLabelCount> labels_;
    int todayCell_ = -1;
    bool trayBusy_ = false;
    // The shell refused or did not answer the last add or modify: the retry
    // timer runs, alternating a modify (a timed-out add may have landed after
    // all) with an add, one call a tick.
    bool trayMissing_ = false;
    NotifyOp nextRetry_ = NotifyOp::Modify;
};

} // namespace mivra
