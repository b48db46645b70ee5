// The calendar window as screen readers see it: the painted labels in
// reading order, where they are painted, pressed as a click presses them.
#include <algorithm>

#include "app/calendar_reader.h"
#include "app/calendar_window_win32.h"

namespace mivra {

namespace {

int ReadingIndex(LabelId id) {
    return static_cast<int>(std::ranges::find(ReadingOrder(), id) - ReadingOrder().begin());
}

} // namespace

int CalendarWindow::ItemCount() const {
    return app_ ? kLabelCount : 0;
}

AccessibleItem CalendarWindow::Item(int index) const {
    const LabelId id = ReadingOrder()[index];
    ReaderLabel label = DescribeLabel(*app_, id);
    AccessibleItem item;
    item.name = std::move(label.name);
    item.description = std::move(label.description);
    item.bounds = LabelRect(id);
    switch (label.role) {
    case ReaderRole::Button:
        item.role = ROLE_SYSTEM_PUSHBUTTON;
        item.action = L"Press";
        break;
    case ReaderRole::Text:
        item.role = ROLE_SYSTEM_STATICTEXT;
        item.state = STATE_SYSTEM_READONLY;
        break;
    case ReaderRole::Cell:
        item.role = ROLE_SYSTEM_CELL;
        item.state = STATE_SYSTEM_READONLY | (label.today ? STATE_SYSTEM_SELECTED : 0) |
                     (label.otherMonth ? STATE_SYSTEM_UNAVAILABLE : 0);
        break;
    }
    return item;
}

int CalendarWindow::ItemAt(POINT client) const {
    LabelId id;
    return LabelAtPixel(client.x, client.y, dpi_, id) ? ReadingIndex(id) : -1;
}

void CalendarWindow::Press(int index) {
    // The events of a click, in its order; a step label steps once.
    CalendarApp* app = app_;
    const LabelId id = ReadingOrder()[index];
    if (!app || pressed_) return;
    app->OnMouseDown(id);
    app->OnMouseUp(id);
    app->OnClick(id);
}

int CalendarWindow::SelectedItem() const {
    const int cell = app_ ? app_->TodayCell() : -1;
    return cell >= 0 ? ReadingIndex(Day(cell)) : -1;
}

} // namespace mivra
