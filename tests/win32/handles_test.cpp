// The holders' rarer paths: a handle moved onto itself, nothing to hold, a
// window that was disabled before a modal window came.
#include "platform/handles_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

namespace mivra {
namespace {

TEST(Holders, KeepWhatTheyHoldAndGiveBackOnlyWhatTheyTook) {
    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const long live = UniqueBrush::Live();
    UniqueBrush& same = brush;
    brush = std::move(same);
    EXPECT_TRUE(brush);
    EXPECT_EQ(UniqueBrush::Live(), live);
    EXPECT_STREQ(CoTaskText().Get(), L"") << "text the shell never gave";
    EXPECT_EQ(WindowDc(reinterpret_cast<HWND>(1)).Get(), nullptr) << "no such window";

    // A DC's font comes back after a run of paints, whether or not one changed it.
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ font = GetCurrentObject(dc.Get(), OBJ_FONT);
    { KeepFont keep(dc.Get()); }
    {
        KeepFont keep(dc.Get());
        SelectObject(dc.Get(), GetStockObject(ANSI_FIXED_FONT));
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);
    { SelectedObject none(nullptr, brush.Get()); } // nothing selected, nothing put back

    // A modal window blocks its owner once and gives it back; an owner that
    // was disabled already stays so, and no window is no owner.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    {
        InputBlock block;
        block.Block(nullptr);
        block.Block(owner);
        EXPECT_FALSE(IsWindowEnabled(owner));
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    EnableWindow(owner, FALSE);
    { InputBlock().Block(owner); }
    EXPECT_FALSE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

} // namespace
} // namespace mivra
