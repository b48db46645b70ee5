// What the calendar logic asks of the platform. The Win32 layer implements
// these with real calls; tests use fakes.
#pragma once

#include <cstdint>
#include <string>

#include "app/date.h"
#include "base/color.h"

namespace mivra {

// The local system date, read afresh at each call.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date Today() = 0;
};

// Dates as text in the user's language and regional settings.
class DateText {
public:
    virtual ~DateText() = default;
    virtual std::wstring MonthYear(const Date& d) = 0; // "October 2000"
    virtual std::wstring ShortDate(const Date& d) = 0; // "10/1/2000"
    virtual std::wstring LongDate(const Date& d) = 0;  // "Sunday, October 1, 2000"
};

struct ScreenMetrics {
    int width = 0; // pixels of the primary screen
    int height = 0;
    int dpi = 96;
};

// The calendar window as the logic sees it.
class CalendarHost {
public:
    virtual ~CalendarHost() = default;
    virtual void MakeTopmost() = 0;
    virtual void SetNormalState() = 0;
    virtual ScreenMetrics Screen() = 0;
    virtual void MoveTo(int x, int y) = 0; // pixels, outer position
    virtual bool IsShown() = 0;
    virtual void Show() = 0; // visible and active
    virtual void Hide() = 0;
    virtual void LabelsChanged() = 0; // repaint what the labels now say
    virtual void SetButtonScroll(bool enabled) = 0;
    virtual void SetTrayRetry(bool enabled) = 0; // a tick every few seconds
    virtual void StartDrag() = 0;                // hand the mouse to the system's move loop
    virtual void Close() = 0;
    virtual std::uintptr_t CallbackWindow() = 0; // the hidden `pichook`
};

} // namespace mivra
