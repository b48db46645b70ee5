// Fakes of the platform for driving the calendar logic in tests.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/calendar_app.h"
#include "app/services.h"
#include "tests/support/fake_registry.h"
#include "tray/tray_icon.h"

namespace mivra::test {

inline Date D(int y, int m, int d) {
    return *Date::FromYmd(y, m, d);
}

class FakeClock : public Clock {
public:
    Date now = D(2000, 10, 15);
    Date Today() override { return now; }
};

class EnglishText : public DateText {
public:
    static std::wstring Month(const Date& d) {
        static const wchar_t* names[] = {L"January",   L"February", L"March",    L"April",
                                         L"May",       L"June",     L"July",     L"August",
                                         L"September", L"October",  L"November", L"December"};
        return names[d.Month() - 1];
    }
    std::wstring MonthYear(const Date& d) override {
        return Month(d) + L" " + std::to_wstring(d.Year());
    }
    std::wstring LongDate(const Date& d) override {
        static const wchar_t* days[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                        L"Thursday", L"Friday", L"Saturday"};
        return std::wstring(days[d.Weekday()]) + L", " + Month(d) + L" " +
               std::to_wstring(d.Day()) + L", " + std::to_wstring(d.Year());
    }
    std::wstring ShortDate(const Date& d) override {
        return std::to_wstring(d.Month()) + L"/" + std::to_wstring(d.Day()) + L"/" +
               std::to_wstring(d.Year());
    }
};

struct TrayCall {
    NotifyOp op;
    NotifyRecord record;
};

// The notification area as the shell keeps it: one icon per window and
// id, an add of an icon it has or a modify or delete of one it has not is
// refused. It can fail on purpose as a busy shell does: `unanswered` calls
// fail and do nothing (a taskbar not there yet or not answering), `late`
// calls fail but take effect all the same (a call that timed out).
class RecordingTray : public TrayArea {
public:
    std::vector<TrayCall> calls;
    std::map<std::pair<std::uintptr_t, std::uint32_t>, NotifyRecord> icons;
    int unanswered = 0;
    int late = 0;
    int refusedAdds = 0; // adds of an icon that was there already
    // Runs inside a call before the shell answers it, as the messages a
    // busy shell's caller receives meanwhile do.
    std::function<void(NotifyOp)> during;

    bool Notify(NotifyOp op, const NotifyRecord& r) override {
        calls.push_back({op, r});
        if (during) during(op);
        if (unanswered > 0) {
            --unanswered;
            return false;
        }
        const auto key = std::make_pair(r.hWnd, r.uID);
        const bool there = icons.contains(key);
        const bool ok = op == NotifyOp::Add ? !there : there;
        if (op == NotifyOp::Add && there) ++refusedAdds;
        if (ok && op == NotifyOp::Delete)
            icons.erase(key);
        else if (ok)
            icons[key] = r;
        if (late <= 0) return ok;
        --late;
        return false;
    }
    // Explorer restarted: every icon is gone.
    void Restart() { icons.clear(); }
    std::vector<NotifyOp> Ops() const {
        std::vector<NotifyOp> ops(calls.size());
        std::ranges::transform(calls, ops.begin(), &TrayCall::op);
        return ops;
    }
    int Count(NotifyOp op) const {
        return static_cast<int>(std::ranges::count(calls, op, &TrayCall::op));
    }
    // The picture of the one icon the shell shows, 0 while it shows none.
    std::uintptr_t Shown() const { return icons.empty() ? 0 : icons.begin()->second.hIcon; }
};

// Handles are 1000 + day at first and size * 1000 + day once the tray's
// size has changed, so a test can tell which picture was sent.
class FakeIcons : public IconSource {
public:
    int size = 16;     // the pictures are made for this size
    int traySize = 16; // what the notification area would show now
    std::uintptr_t IconForDay(int day) override { return base_ + day; }
    bool TraySizeChanged() override {
        if (traySize == size) return false;
        size = traySize;
        base_ = 1000u * size;
        return true;
    }

private:
    std::uintptr_t base_ = 1000;
};

class FakeWindow : public CalendarHost {
public:
    std::vector<std::string> log;
    bool shown = false;
    bool scroll = false;
    bool trayRetry = false;
    int labelsChanged = 0;
    int x = -1, y = -1;
    std::function<void()> onShow;

    void MakeTopmost() override { log.push_back("topmost"); }
    void SetNormalState() override { log.push_back("normal"); }
    ScreenMetrics Screen() override { return {1024, 768, 96}; }
    void MoveTo(int nx, int ny) override {
        x = nx;
        y = ny;
        log.push_back("move");
    }
    bool IsShown() override { return shown; }
    void Show() override {
        shown = true;
        log.push_back("show");
        if (onShow) onShow();
    }
    void Hide() override {
        shown = false;
        log.push_back("hide");
    }
    void LabelsChanged() override { ++labelsChanged; }
    void SetButtonScroll(bool on) override { scroll = on; }
    void SetTrayRetry(bool on) override { trayRetry = on; }
    void StartDrag() override { log.push_back("drag"); }
    void Close() override { log.push_back("close"); }
    std::uintptr_t CallbackWindow() override { return 0x4242; }
};

class FakeOptions : public OptionsHost {
public:
    bool visible = false;
    int applied = 0;
    Color panel = 0;
    int modal = 0;
    int fronted = 0;
    bool IsVisible() override { return visible; }
    void ApplyColors(Color c) override {
        ++applied;
        panel = c;
    }
    void ShowModal() override { ++modal; }
    void ToFront() override { ++fronted; }
};

// The program's state and fakes of every service the calendar's logic uses
// but its window, for rigs to build on.
struct AppFakes {
    ModuleState state;
    FakeClock clock;
    EnglishText text;
    RecordingTray tray;
    FakeIcons icons;
    FakeOptions options;
    FakeRegistry registry;

    // The month on show and its year.
    std::pair<int, int> MonthShown() const { return {state.DisplayMonth, state.DisplayYear}; }
};

// A CalendarApp wired to fakes, for fixtures to inherit.
struct AppRig : AppFakes {
    FakeWindow window;
    CalendarApp app{state, {clock, text, tray, icons, window, options, registry}};

    // A label's text and ground colours.
    std::pair<Color, Color> Look(LabelId id) const {
        return {app.Label(id).fore, app.Label(id).back};
    }
    // The program's start on that day.
    void StartOn(const Date& today) {
        clock.now = today;
        app.Startup();
    }
    // A month put on show as a step puts it.
    void ShowMonth(int month, int year) {
        state.DisplayMonth = std::int16_t(month);
        state.DisplayYear = std::int16_t(year);
        app.RefreshCalendar();
    }
};

} // namespace mivra::test
