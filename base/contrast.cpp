#include "base/contrast.h"

#include <iterator>

namespace mivra {

namespace {

struct Pair {
    SysColor back, fore;
};

// Back and fore of each kind, in the order of Ink.
using enum SysColor;
constexpr Pair kContrast[] = {
    {WindowText, WindowText},   // Frame
    {Window, WindowText},       // Day
    {Window, HotLight},         // Sunday
    {Window, GrayText},         // OtherMonthDay
    {Highlight, HighlightText}, // Today
    {ButtonFace, ButtonText},   // Bar
    {Highlight, HighlightText}, // Pressed
    {Window, WindowText},       // Panel
    {Window, HotLight},         // Link
};
static_assert(std::size(kContrast) == static_cast<size_t>(Ink::Link) + 1);

} // namespace

Color SolidColor(Color c, const SystemColors& system) {
    if ((c & 0xFF000000u) == 0x80000000u) return system.Get(static_cast<SysColor>(c & 0xFF));
    return c & kMaxColor;
}

InkColors PaintColors(Ink ink, const InkColors& normal, const SystemColors& system) {
    if (!system.HighContrast())
        return {SolidColor(normal.back, system), SolidColor(normal.fore, system)};
    const Pair p = kContrast[static_cast<int>(ink)];
    return {system.Get(p.back), system.Get(p.fore)};
}

Color LineColor(const SystemColors& system) {
    return system.Get(system.HighContrast() ? WindowText : WindowFrame);
}

} // namespace mivra
