#include "base/contrast.h"

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

constexpr Pair ContrastPair(Ink ink) {
    switch (ink) {
    case Ink::Frame:
        return {kWindowText, kWindowText};
    case Ink::Day:
        return {kWindow, kWindowText};
    case Ink::Sunday:
        return {kWindow, kHotLight};
    case Ink::OtherMonthDay:
        return {kWindow, kGrayText};
    case Ink::Today:
    case Ink::Pressed:
        return {kHighlight, kHighlightText};
    case Ink::Bar:
        return {kButtonFace, kButtonText};
    case Ink::Panel:
        return {kWindow, kWindowText};
    case Ink::Link:
        return {kWindow, kHotLight};
    }
    return {kWindow, kWindowText};
}

} // namespace

Color SolidColor(Color c, const SystemColors& system) {
    if ((c & 0xFF000000u) == 0x80000000u) return system.Get(static_cast<int>(c & 0xFF));
    return c & kMaxColor;
}

InkColors PaintColors(Ink ink, const InkColors& normal, const SystemColors& system) {
    if (!system.HighContrast())
        return {SolidColor(normal.back, system), SolidColor(normal.fore, system)};
    const Pair p = ContrastPair(ink);
    return {system.Get(p.back), system.Get(p.fore)};
}

Color LineColor(const SystemColors& system) {
    return system.Get(system.HighContrast() ? kWindowText : kWindowFrame);
}

} // namespace mivra
