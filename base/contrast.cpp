#include "base/contrast.h"

#include <iterator>

namespace mivra {

namespace {

// Windows' system colour numbers.
enum : int {
    kWindowFrame = 6,
    kWindow = 5,
    kWindowText = 8,
    kHighlight = 13,
    kHighlightText = 14,
    kButtonFace = 15,
    kGrayText = 17,
    kButtonText = 18,
    kHotLight = 26,
};

struct Pair {
    int back, fore;
};

// Back and fore of each kind, in the order of Ink.
constexpr Pair kContrast[] = {
    {kWindowText, kWindowText},   // Frame
    {kWindow, kWindowText},       // Day
    {kWindow, kHotLight},         // Sunday
    {kWindow, kGrayText},         // OtherMonthDay
    {kHighlight, kHighlightText}, // Today
    {kButtonFace, kButtonText},   // Bar
    {kHighlight, kHighlightText}, // Pressed
    {kWindow, kWindowText},       // Panel
    {kWindow, kHotLight},         // Link
};
static_assert(std::size(kContrast) == static_cast<size_t>(Ink::Link) + 1);

} // namespace

Color SolidColor(Color c, const SystemColors& system) {
    if ((c & 0xFF000000u) == 0x80000000u) return system.Get(static_cast<int>(c & 0xFF));
    return c & kMaxColor;
}

InkColors PaintColors(Ink ink, const InkColors& normal, const SystemColors& system) {
    if (!system.HighContrast())
        return {SolidColor(normal.back, system), SolidColor(normal.fore, system)};
    const Pair p = kContrast[static_cast<int>(ink)];
    return {system.Get(p.back), system.Get(p.fore)};
}

Color LineColor(const SystemColors& system) {
    return system.Get(system.HighContrast() ? kWindowText : kWindowFrame);
}

} // namespace mivra
