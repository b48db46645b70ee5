// What a screen reader in another process reads and presses in the real
// program: its accessible object, marshalled through COM to the probe.
// The marshalling leaves COM's RPC threads in the shared program, and under
// QEMU's emulation a second thread can hang its SetPath (scripts/repro-stall),
// so this file's name keeps these cases after the options window's.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "grid.h"

namespace mivra::e2e {
namespace {

struct Item {
    long role = 0;
    unsigned long state = 0;
    long left = 0, top = 0, width = 0, height = 0;
    std::string name;
};

// The calendar's items in reading order: 1 the title, 2 "x", 3-9 the
// weekday headers, 10-51 the days, 52-58 the button row.
constexpr long kTitle = 1, kFirstDay = 10, kAheadOneMonth = 56, kJumpToToday = 55;
constexpr long kStaticText = 41, kCell = 29, kPushButton = 43;
constexpr unsigned long kSelected = 0x2;

std::string EnglishMonthYear(chr::year_month ym) {
    static const char* const names[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
    return std::string(names[unsigned(ym.month()) - 1]) + " " + std::to_string(int(ym.year()));
}

class AccessibilityE2E : public DesktopTest {};

TEST_F(AccessibilityE2E, AReaderFindsEveryLabelWherePaintedAndStepsTheMonth) {
    const WindowInfo w = Shown(App());
    const chr::year_month now = ThisMonth();
    const auto read = [&](long id) -> std::optional<Item> {
        std::istringstream in(probe().Ask("acc " + w.hwnd + " " + std::to_string(id)));
        Item it;
        in >> it.role >> std::hex >> it.state >> std::dec >> it.left >> it.top >> it.width >>
            it.height;
        if (!in) return std::nullopt;
        in.get(); // the blank before the name
        std::getline(in, it.name);
        return it;
    };

    EXPECT_EQ(probe().Ask("acccount " + w.hwnd), "58");
    const auto title = read(kTitle);
    ASSERT_TRUE(title);
    EXPECT_EQ(std::pair(title->role, title->name), std::pair(kStaticText, EnglishMonthYear(now)));

    // Every day is a cell, exactly over the cell painted on screen, and
    // today's is the selected one.
    const auto cells = test::ExpectedGrid(now);
    for (int i = 0; i < 42; ++i) {
        const auto cell = read(kFirstDay + i);
        ASSERT_TRUE(cell) << "cell " << i;
        EXPECT_EQ(cell->role, kCell) << "cell " << i;
        const Rect inside = Cell(w, i);
        EXPECT_LE(cell->left, inside.left) << "cell " << i;
        EXPECT_LE(cell->top, inside.top) << "cell " << i;
        EXPECT_GE(cell->left + cell->width, inside.right) << "cell " << i;
        EXPECT_GE(cell->top + cell->height, inside.bottom) << "cell " << i;
        EXPECT_LE(cell->width, Px(372) + 1) << "cell " << i;
        EXPECT_EQ((cell->state & kSelected) != 0, cells[i] == LocalToday()) << "cell " << i;
    }

    // "Press" on ">" steps the month as a click does, and the reader hears it.
    const auto ahead = read(kAheadOneMonth);
    ASSERT_TRUE(ahead);
    EXPECT_EQ(std::pair(ahead->role, ahead->name),
              std::pair(kPushButton, std::string("Ahead One Month")));
    EXPECT_EQ(probe().Ask("accpress " + w.hwnd + " " + std::to_string(kAheadOneMonth)), "ok");
    EXPECT_TRUE(WaitUntil([&] {
        const auto t = read(kTitle);
        return t && t->name == EnglishMonthYear(now + chr::months(1));
    }));
    EXPECT_TRUE(WaitForMonth(w, now + chr::months(1)));
    EXPECT_EQ(probe().Ask("accpress " + w.hwnd + " " + std::to_string(kJumpToToday)), "ok");
    EXPECT_TRUE(WaitForMonth(w, now));
}

} // namespace
} // namespace mivra::e2e
