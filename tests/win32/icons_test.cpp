#include "tray/icons_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "tests/support/dib_canvas_win32.h"

namespace mivra {
namespace {

// An icon drawn at w x h over a pure red card; pixels as 0x00RRGGBB.
std::vector<std::uint32_t> DrawOverRed(HICON icon, int w, int h) {
    test::DibCanvas canvas(w, h);
    std::vector<std::uint32_t> px;
    if (!canvas.Ok()) return px;
    std::uint32_t* p = canvas.Bits();
    std::fill(p, p + w * h, 0x00FF0000u);
    DrawIconEx(canvas.Dc(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    px.assign(p, p + w * h);
    for (auto& c : px)
        c &= 0x00FFFFFF;
    return px;
}

TEST(Icons, EveryDayHasOneLastingSmallIconAndOtherDaysNone) {
    Icons icons(GetModuleHandleW(nullptr));
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    std::set<HICON> distinct;
    for (int day = 1; day <= 31; ++day) {
        SCOPED_TRACE(day);
        const HICON h = icons.ForDay(day);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(icons.IconForDay(day), reinterpret_cast<std::uintptr_t>(h));
        distinct.insert(h);

        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(h, &info));
        UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        EXPECT_TRUE(info.fIcon);
        BITMAP bm{};
        ASSERT_TRUE(colour);
        ASSERT_NE(GetObjectW(colour.Get(), sizeof(bm), &bm), 0);
        EXPECT_EQ(bm.bmWidth, cx);
        EXPECT_EQ(bm.bmHeight, cy);
    }
    EXPECT_EQ(distinct.size(), 31u);
    // Asked again, the holder hands out the same handles, still alive.
    for (int day = 1; day <= 31; ++day) {
        const HICON h = icons.ForDay(day);
        EXPECT_TRUE(distinct.count(h)) << "day " << day;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(h, &info)) << "day " << day;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    for (int day : {0, 32, -1, 100})
        EXPECT_EQ(icons.IconForDay(day), 0u) << "day " << day;
}

TEST(Icons, PicturesAreOpaqueWithTheDarkBlueGroundAndDiffer) {
    Icons icons(GetModuleHandleW(nullptr));
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    std::set<std::vector<std::uint32_t>> pictures;
    for (int day = 1; day <= 31; ++day) {
        SCOPED_TRACE(day);
        const auto px = DrawOverRed(icons.ForDay(day), cx, cy);
        ASSERT_EQ(px.size(), static_cast<std::size_t>(cx * cy));
        for (std::uint32_t c : px)
            ASSERT_NE(c, 0x00FF0000u) << "the card shows through";
        EXPECT_EQ(px[0], 0x00000080u); // dark blue corner
        EXPECT_EQ(px[cx * cy - 1], 0x00000080u);
        pictures.insert(px);
    }
    EXPECT_EQ(pictures.size(), 31u);
}

} // namespace
} // namespace mivra
