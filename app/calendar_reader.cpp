#include "app/calendar_reader.h"

#include "app/calendar_app.h"
#include "app/calendar_grid.h"

namespace mivra {

ReaderLabel DescribeLabel(const CalendarApp& app, LabelId id) {
    const LabelState& label = app.Label(id);
    ReaderLabel r;
    const LabelKind kind = Design(id).kind;
    if (kind == LabelKind::Button) {
        r.role = ReaderRole::Button;
        r.name = label.tooltip;
        return r;
    }
    if (kind != LabelKind::Day) {
        r.name = label.caption;
        return r;
    }
    const int cell = Index(LabelId::lblDay0) - Index(id);
    const ModuleState& s = app.State();
    r.role = ReaderRole::Cell;
    const auto dates = GridDates(s.DisplayMonth, s.DisplayYear);
    if (!dates) {
        r.name = label.caption;
        return r;
    }
    const Date& d = (*dates)[cell];
    r.name = app.Dates().LongDate(d);
    r.today = cell == app.TodayCell();
    r.otherMonth = d.Month() != s.DisplayMonth;
    if (r.today)
        r.description = L"Today";
    else if (r.otherMonth)
        r.description = cell < 7 ? L"Previous month" : L"Next month";
    return r;
}

} // namespace mivra
