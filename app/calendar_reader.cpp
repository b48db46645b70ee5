#include "app/calendar_reader.h"

#include "app/calendar_app.h"
#include "app/calendar_grid.h"

namespace mivra {

const std::array<LabelId, kLabelCount>& ReadingOrder() {
    static const std::array<LabelId, kLabelCount> order = [] {
        std::array<LabelId, kLabelCount> o{};
        int n = 0;
        o[n++] = LabelId::lblMonth;
        o[n++] = LabelId::lblQuit;
        for (int c = 0; c < 7; ++c)
            o[n++] = Dow(c);
        for (int i = 0; i < kGridCells; ++i)
            o[n++] = Day(i);
        for (LabelId id :
             {LabelId::lblHide, LabelId::lblYearPrev, LabelId::lblMonthPrev, LabelId::lblToday,
              LabelId::lblMonthNext, LabelId::lblYearNext, LabelId::lblAbout})
            o[n++] = id;
        return o;
    }();
    return order;
}

ReaderLabel DescribeLabel(const CalendarApp& app, LabelId id) {
    const LabelState& label = app.Label(id);
    ReaderLabel r;
    if (!label.tooltip.empty() || id == LabelId::lblToday) {
        r.role = ReaderRole::Button;
        r.name = label.tooltip;
        return r;
    }
    const int first = Index(LabelId::lblDay41), last = Index(LabelId::lblDay0);
    if (Index(id) < first || Index(id) > last) {
        r.name = label.caption;
        return r;
    }
    const int cell = last - Index(id);
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
