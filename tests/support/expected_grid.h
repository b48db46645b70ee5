// The dates a month's grid must show, worked out here from first principles,
// apart from the program's own date code: six weeks from the last Sunday
// strictly before the 1st.
#pragma once

#include <chrono>
#include <vector>

namespace mivra::test {

inline std::vector<std::chrono::year_month_day> ExpectedGrid(std::chrono::year_month ym) {
    namespace chr = std::chrono;
    const chr::sys_days first{ym / 1};
    const unsigned wd = chr::weekday(first).c_encoding();
    const chr::sys_days start = first - chr::days(wd == 0 ? 7 : wd);
    std::vector<chr::year_month_day> cells;
    for (int i = 0; i < 42; ++i)
        cells.emplace_back(start + chr::days(i));
    return cells;
}

} // namespace mivra::test
