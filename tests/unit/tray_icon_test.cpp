#include <gtest/gtest.h>

#include "tray/tray_icon.h"

namespace mivra {
namespace {

TEST(TrayRecordTest, FixedTipCutsAndPads) {
    const auto longTip = FixedTip(std::string(100, 'a'));
    EXPECT_EQ(std::string(longTip.begin(), longTip.end()), std::string(64, 'a'));
    const auto empty = FixedTip("");
    EXPECT_EQ(std::string(empty.begin(), empty.end()), std::string(64, ' '));
    // The program's tip: the text, one NUL, then blanks.
    const auto tip = FixedTip(std::string(kTrayTip) + '\0');
    EXPECT_EQ(std::string(tip.begin(), tip.end()),
              "Mivra 2000 - Click to see Calendar" + std::string(1, '\0') + std::string(29, ' '));
}

TEST(TrayCallbackTest, OnlyTheShellsMessagesCount) {
    EXPECT_TRUE(IsTrayCallback(1, 0x0202));
    EXPECT_TRUE(IsTrayCallback(1, 0x0205));
    EXPECT_TRUE(IsTrayCallback(1, 0x0200));
    // A real pointer move: key flags in wParam, packed coordinates in lParam.
    EXPECT_FALSE(IsTrayCallback(0, 0x0202));
    EXPECT_FALSE(IsTrayCallback(1, (10 << 16) | 0x0202));
    EXPECT_FALSE(IsTrayCallback(2, 0x0202));
    EXPECT_TRUE(IsToggleCode(514));
    EXPECT_TRUE(IsToggleCode(517));
    EXPECT_FALSE(IsToggleCode(513));
    EXPECT_FALSE(IsToggleCode(520));
}

} // namespace
} // namespace mivra
