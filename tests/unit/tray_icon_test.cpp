#include <gtest/gtest.h>

#include "tray/tray_icon.h"

namespace mivra {
namespace {

TEST(TrayRecordTest, SerialisesToThe88ByteLayoutWithTheFixedTip) {
    NotifyRecord r;
    r.cbSize = 88;
    r.hWnd = 0x00012345;
    r.uID = 1;
    r.uFlags = 7;
    r.uCallbackMessage = 512;
    r.hIcon = 0x0ABCDEF0;
    r.szTip = FixedTip(std::string(kTrayTip) + '\0');
    const auto b = Serialize32(r);
    ASSERT_EQ(b.size(), 88u);
    const std::uint8_t head[24] = {88, 0, 0, 0, 0x45, 0x23, 0x01, 0, 1,    0,    0,    0,
                                   7,  0, 0, 0, 0,    2,    0,    0, 0xF0, 0xDE, 0xBC, 0x0A};
    EXPECT_TRUE(std::equal(std::begin(head), std::end(head), b.begin()));
    const std::string tip(b.begin() + 24, b.end());
    EXPECT_EQ(tip.substr(0, 34), "Mivra 2000 - Click to see Calendar");
    EXPECT_EQ(tip[34], '\0');
    EXPECT_EQ(tip.substr(35), std::string(29, ' '));
}

TEST(TrayRecordTest, FixedTipCutsAndPads) {
    const auto longTip = FixedTip(std::string(100, 'a'));
    EXPECT_EQ(std::string(longTip.begin(), longTip.end()), std::string(64, 'a'));
    const auto empty = FixedTip("");
    EXPECT_EQ(std::string(empty.begin(), empty.end()), std::string(64, ' '));
}

TEST(TrayCallbackTest, DecodesTheCodeFromTwipsAtAnyScale) {
    EXPECT_EQ(DecodeCallbackX(514 * 15, 15), 514);
    EXPECT_EQ(DecodeCallbackX(6168, 12), 514); // a left button-up at 120 dpi
    EXPECT_EQ(DecodeCallbackX(517 * 12, 12), 517);
    // Halves go to the even neighbour.
    EXPECT_EQ(DecodeCallbackX(513.5 * 15, 15), 514);
    EXPECT_EQ(DecodeCallbackX(514.5 * 15, 15), 514);
    EXPECT_EQ(DecodeCallbackX(1e30, 15), 0);
    EXPECT_EQ(DecodeCallbackX(100, 0), 0);
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
