#include "app/calendar_reader_win32.h"

#include <algorithm>

#include "app/calendar_reader.h"
#include "app/calendar_window_win32.h"

namespace mivra {

namespace {

int ReadingIndex(LabelId id) {
    return static_cast<int>(std::ranges::find(ReadingOrder(), id) - ReadingOrder().begin());
}

} // namespace

int CalendarReader::ItemCount() const {
    return window_.app_ ? kLabelCount : 0;
}

AccessibleItem CalendarReader::Item(int index) const {
    const LabelId id = ReadingOrder()[index];
    ReaderLabel label = DescribeLabel(*window_.app_, id);
    AccessibleItem item;
    item.name = std::move(label.name);
    item.description = std::move(label.description);
    item.bounds = window_.LabelRect(id);
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

int CalendarReader::ItemAt(POINT client) const {
    LabelId id;
    return LabelAtPixel(client.x, client.y, window_.dpi_, id) ? ReadingIndex(id) : -1;
}

void CalendarReader::Press(int index) {
    // The events of a click, in its order; a step label steps once.
    CalendarApp* app = window_.app_;
    const LabelId id = ReadingOrder()[index];
    if (!app || window_.pressed_) return;
    app->OnMouseDown(id);
    app->OnMouseUp(id);
    app->OnClick(id);
}

int CalendarReader::SelectedItem() const {
    const int cell = window_.app_ ? window_.app_->TodayCell() : -1;
    return cell >= 0 ? ReadingIndex(Day(cell)) : -1;
}

} // namespace mivra
