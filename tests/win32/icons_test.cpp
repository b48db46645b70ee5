#include "tray/icons_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "platform/dpi_win32.h"
#include "resources/resource.h"
#include "tests/support/dib_canvas_win32.h"
#include "tray/day_picture.h"

namespace mivra {
namespace {

using test::IconSize;

// An icon drawn at its own size over a pure red card; pixels as 0x00RRGGBB.
// DI_MASK draws its mask alone: black where the picture covers the card.
std::vector<std::uint32_t> DrawOverRed(HICON icon, int size, UINT flags = DI_NORMAL) {
    test::DibCanvas canvas(size, size);
    if (!canvas.Ok()) return {};
    std::uint32_t* p = canvas.Bits();
    std::fill(p, p + size * size, 0x00FF0000u);
    DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, flags);
    GdiFlush();
    std::vector<std::uint32_t> px(p, p + size * size);
    for (auto& c : px)
        c &= 0x00FFFFFF;
    return px;
}

TEST(Icons, ThePictureHandedToTheShellIsMadeForTheTraysSizeAtEveryDpi) {
    int dpi = 96;
    Icons icons(GetModuleHandleW(nullptr), [&] { return dpi; });
    const std::pair<int, int> sizes[] = {{96, 16},  {120, 20}, {144, 24}, {168, 28},
                                         {192, 32}, {216, 36}, {240, 40}, {288, 48}};
    for (auto [at, size] : sizes) {
        SCOPED_TRACE(at);
        dpi = at;
        EXPECT_TRUE(icons.TraySizeChanged() || at == 96); // the first look-up happened already
        EXPECT_FALSE(icons.TraySizeChanged());
        EXPECT_EQ(icons.TraySize(), size);
        // The day before's picture, asked again after the change, comes at the new size.
        EXPECT_EQ(IconSize(icons.ForDay(31)), size) << "the same day at a new size";
        std::set<std::vector<std::uint32_t>> pictures;
        for (int day = 1; day <= 31; ++day) {
            SCOPED_TRACE(day);
            const HICON h = icons.ForDay(day);
            ASSERT_NE(h, nullptr);
            EXPECT_EQ(icons.IconForDay(day), reinterpret_cast<std::uintptr_t>(h));
            ASSERT_EQ(IconSize(h), size);
            const auto px = DrawOverRed(h, size);
            ASSERT_EQ(px.size(), static_cast<std::size_t>(size * size));
            // Opaque also where the shell goes by the mask.
            ASSERT_EQ(DrawOverRed(h, size, DI_MASK), std::vector<std::uint32_t>(px.size(), 0));
            if (size != 32) {
                // Composed for the size: every pixel as the composer drew it, opaque.
                const auto picture = DayPicture(size, day);
                ASSERT_EQ(picture.size(), static_cast<std::size_t>(size * size));
                for (int i = 0; i < size * size; ++i)
                    ASSERT_EQ(px[i], InkRgb(picture[i])) << "at " << i % size << "," << i / size;
            } else {
                // The icon resource itself, not shrunk or stretched.
                UniqueIcon resource(static_cast<HICON>(
                    LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DAY_FIRST + day - 1),
                               IMAGE_ICON, 32, 32, 0)));
                ASSERT_EQ(px, DrawOverRed(resource.Get(), 32));
                EXPECT_EQ(px[0], 0x00000080u);        // dark blue ground
                EXPECT_EQ(px[3], 0x00000000u);        // the first binding mark
                EXPECT_EQ(px[2 * 32 + 2], 0xFFFFFFu); // the page's corner
            }
            EXPECT_TRUE(pictures.insert(px).second);
        }
    }
    for (int day : {0, 32, -1, 100})
        EXPECT_EQ(icons.IconForDay(day), 0u) << "day " << day;
}

TEST(Icons, OnlyTheShownPictureAndTheOneBeforeItAreHeld) {
    const long icons0 = UniqueIcon::Live(), bitmaps0 = UniqueBitmap::Live();
    const DWORD gdi0 = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user0 = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    {
        int dpi = 96;
        Icons icons(GetModuleHandleW(nullptr), [&] { return dpi; });
        HICON shown = icons.ForDay(1);
        for (int round = 0; round < 3; ++round)
            for (int at : {120, 192, 288, 144, 96, 216, 168, 240})
                for (int day = 1; day <= 31; ++day) {
                    dpi = at;
                    icons.TraySizeChanged();
                    const HICON next = icons.ForDay(day);
                    ASSERT_NE(next, nullptr);
                    // The shell still shows the picture before: it lives
                    // until the one after this is made.
                    ASSERT_NE(IconSize(shown), 0) << "day " << day << " at " << at;
                    ASSERT_LE(UniqueIcon::Live() - icons0, 2);
                    ASSERT_EQ(UniqueBitmap::Live(), bitmaps0);
                    shown = next;
                }
        // Asked again, the same day at the same size is the same picture.
        EXPECT_EQ(icons.ForDay(31), shown);
        EXPECT_EQ(UniqueIcon::Live() - icons0, 2);
    }
    EXPECT_EQ(UniqueIcon::Live(), icons0);
    // Where the system counts them (Wine answers 0), nothing was left behind.
    EXPECT_TRUE(!gdi0 || GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) <= gdi0);
    EXPECT_TRUE(!user0 || GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) <= user0);
}

TEST(Icons, APictureThatCannotBeMadeIsNoneRatherThanAnotherDays) {
    // ntdll.dll carries no day pictures: at 32 pixels none can be made.
    int dpi = 96;
    Icons icons(GetModuleHandleW(L"ntdll.dll"), [&] { return dpi; });
    const HICON fifth = icons.ForDay(5);
    ASSERT_EQ(IconSize(fifth), 16);
    dpi = 192;
    ASSERT_TRUE(icons.TraySizeChanged());
    EXPECT_EQ(icons.ForDay(5), fifth) << "the same day at the old size will do";
    EXPECT_EQ(icons.ForDay(6), nullptr) << "the 5th's picture would show a wrong date";
    dpi = 96;
    ASSERT_TRUE(icons.TraySizeChanged());
    EXPECT_EQ(IconSize(icons.ForDay(6)), 16);
}

TEST(Icons, TheRealLookUpAsksTheTaskbarsMonitor) {
    // Without per-monitor DPI (Wine has none) the taskbar's DPI is the
    // system's, and the picture has the system's small-icon size.
    Icons icons(GetModuleHandleW(nullptr));
    const int dpi = TaskbarDpi();
    ASSERT_GT(dpi, 0);
    if (dpi != SystemDpi()) GTEST_SKIP() << "the taskbar's monitor has a DPI of its own";
    EXPECT_EQ(icons.TraySize(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(IconSize(icons.ForDay(5)), DayPictureSize(GetSystemMetrics(SM_CXSMICON)));
}

} // namespace
} // namespace mivra
