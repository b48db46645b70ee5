#include "app/calendar_reader.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "app/calendar_app.h"
#include "tests/support/app_fakes.h"

namespace mivra {
namespace {

using test::D;

class CalendarReaderTest : public ::testing::Test, protected test::AppRig {};

TEST_F(CalendarReaderTest, ReadsEveryLabelOnceTopToBottomLeftToRight) {
    const auto& order = ReadingOrder();
    std::set<LabelId> seen(order.begin(), order.end());
    EXPECT_EQ(seen.size(), static_cast<size_t>(kLabelCount));
    // Each label starts no higher than the one read before it, and on one
    // row no further left.
    for (int i = 1; i < kLabelCount; ++i) {
        const TwipRect &a = Design(order[i - 1]).rect, &b = Design(order[i]).rect;
        EXPECT_TRUE(b.top > a.top || (b.top == a.top && b.left > a.left)) << i;
    }
}

TEST_F(CalendarReaderTest, CellsSayWhetherTheyAreTodayAndOfTheShownMonth) {
    // 4 November 2000 is the last cell of October's grid.
    StartOn(D(2000, 11, 4));
    ShowMonth(10, 2000);
    const ReaderLabel last = DescribeLabel(app, Day(41));
    EXPECT_EQ(std::tuple(last.role, last.name, last.today, last.otherMonth, last.description),
              std::tuple(ReaderRole::Cell, L"Saturday, November 4, 2000", true, true, L"Today"));
    const ReaderLabel first = DescribeLabel(app, Day(0));
    EXPECT_EQ(std::tuple(first.today, first.description), std::tuple(false, L"Previous month"));

    // A month far from today marks no cell.
    ShowMonth(10, 1999);
    EXPECT_EQ(app.TodayCell(), -1);
    EXPECT_EQ(DescribeLabel(app, LabelId::lblMonth).name, L"October 1999");
    EXPECT_EQ(DescribeLabel(app, LabelId::lblMonth).role, ReaderRole::Text);
    const ReaderLabel today = DescribeLabel(app, LabelId::lblToday);
    EXPECT_EQ(std::pair(today.role, today.name),
              std::pair(ReaderRole::Button, std::wstring(L"Jump to Today (11/4/2000)")));
}

} // namespace
} // namespace mivra
