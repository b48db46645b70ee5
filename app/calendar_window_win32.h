// The calendar window (form `Mivra`): one borderless, topmost popup whose
// labels are painted and hit-tested by the window itself, plus the hidden
// child `pichook` that receives the notification icon's callbacks.
#pragma once

#include <windows.h>

#include <optional>

#include "app/calendar_app.h"
#include "app/services.h"
#include "base/contrast.h"
#include "platform/accessible_win32.h"
#include "platform/label_paint_win32.h"
#include "platform/tooltips_win32.h"
#include "platform/window_win32.h"

namespace mivra {

// How often the calendar's two long timers tick; tests shorten them.
struct CalendarTimings {
    unsigned refreshMs = kRefreshIntervalMs;
    // Long enough for a busy shell to catch up (each call may wait 4 s for
    // it), short enough that the icon is soon there once it does.
    unsigned trayRetryMs = 5000;
};

class CalendarWindow : public CalendarHost, private TipSource, private AccessibleContent {
public:
    // `colors`: the system's colours and its high-contrast setting.
    explicit CalendarWindow(const SystemColors& colors, const CalendarTimings& timings = {})
        : colors_(colors), timings_(timings) {}
    ~CalendarWindow() override;
    CalendarWindow(const CalendarWindow&) = delete;
    CalendarWindow& operator=(const CalendarWindow&) = delete;

    // Creates the window and its controls, hidden, and starts tmrRefresh.
    bool Create(HINSTANCE instance);
    // The logic that handles this window's events; set before the first one.
    void Attach(CalendarApp* app) { app_ = app; }

    HWND Handle() const { return hwnd_; }
    HWND Hook() const { return hook_.hwnd_; }
    // The tooltip control; null until the window is first shown or pointed at.
    HWND Tooltips() const { return tips_.Control(); }
    int Dpi() const { return dpi_; }
    RECT LabelRect(LabelId id) const;

    // Paints the whole client area; also what WM_PRINTCLIENT draws.
    void PaintContent(HDC dc, const RECT& area);

    // CalendarHost
    void MakeTopmost() override;
    void SetNormalState() override;
    ScreenMetrics Screen() override;
    void MoveTo(int x, int y) override;
    bool IsShown() override;
    void Show() override;
    void Hide() override;
    void LabelsChanged() override;
    void SetButtonScroll(bool enabled) override;
    void SetTrayRetry(bool enabled) override;
    void StartDrag() override;
    void Close() override;
    std::uintptr_t CallbackWindow() override { return reinterpret_cast<std::uintptr_t>(Hook()); }

private:
    // The hidden child `pichook`: the notification icon's callbacks arrive
    // here as WM_MOUSEMOVE.
    struct TrayHook {
        CalendarWindow* owner;
        HWND hwnd_ = nullptr;
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    };

    friend struct WindowToolkit;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    void OnButtonDown(LPARAM lp);
    void OnButtonUp(LPARAM lp);
    void OnMouseMove(WPARAM wp, LPARAM lp);
    void OnCaptureLost();
    void OnTimer(UINT_PTR id);
    void OnDpiChanged(int dpi, const RECT* suggested);
    void OnCloseRequest();
    void SetWindowTimer(UINT_PTR id, unsigned ms, bool enabled);
    std::optional<LabelId> HitTest(LPARAM lp) const;

    // TipSource: a tip for every button, its text asked for when shown.
    std::vector<TipTool> TipTools() const override;
    const wchar_t* TipText(UINT_PTR id) const override;
    int TipDpi() const override { return dpi_; }

    // AccessibleContent: every label in reading order, where it is painted,
    // pressed as a click presses it (calendar_reader_win32.cpp).
    int ItemCount() const override;
    AccessibleItem Item(int index) const override;
    int ItemAt(POINT client) const override;
    void Press(int index) override;
    int SelectedItem() const override;

    const SystemColors& colors_;
    CalendarTimings timings_;
    HWND hwnd_ = nullptr;
    TrayHook hook_{this};
    WindowTips tips_{*this};
    CalendarApp* app_ = nullptr;
    int dpi_ = 96;
    FontCache fonts_;
    std::optional<LabelId> pressed_;
    UINT taskbarCreated_ = 0;
    bool closing_ = false;
    WindowAccessibility access_{*this};
};

} // namespace mivra
