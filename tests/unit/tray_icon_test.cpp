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

TEST(TrayCallbackTest, TheCodeIsTheLowWordAndOnlyButtonUpsToggle) {
    EXPECT_EQ(TrayCallbackCode(0x0202), 514);
    EXPECT_EQ(TrayCallbackCode(0x0205), 517);
    // The y value and anything else in the high bits do not count.
    EXPECT_EQ(TrayCallbackCode((10 << 16) | 0x0202), 514);
    EXPECT_EQ(TrayCallbackCode(static_cast<std::intptr_t>(-65536) | 0x0205), 517);
    for (int code : {513, 514, 517, 520})
        EXPECT_EQ(IsToggleCode(code), code == 514 || code == 517) << code;
}

} // namespace
} // namespace mivra
