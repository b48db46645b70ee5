// The calendar window's labels for screen readers: the painted labels in
// reading order, where they are painted, pressed as a click presses them.
#pragma once

#include "platform/accessible_win32.h"

namespace mivra {

class CalendarWindow;

class CalendarReader final : public AccessibleContent {
public:
    explicit CalendarReader(CalendarWindow& window) : window_(window) {}

    int ItemCount() const override;
    AccessibleItem Item(int index) const override;
    int ItemAt(POINT client) const override;
    void Press(int index) override;
    int SelectedItem() const override;

private:
    CalendarWindow& window_;
};

} // namespace mivra
