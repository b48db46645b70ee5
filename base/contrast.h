// High contrast: while the user has it on, everything the program paints
// itself takes the system colour of its kind, so that it reads in the
// colours the user chose. The choice per kind is made here, once; the
// stored and designed colours come back as soon as the mode is off.
#pragma once

#include <cstdint>

#include "base/color.h"

namespace mivra {

// What a painted element is.
enum class Ink : std::uint8_t {
    Frame,         // a window's background: the frames and lines between labels
    Day,           // a day of the month shown
    Sunday,        // a Sunday of the month shown
    OtherMonthDay, // a day of the month before or after
    Today,         // the current date's cell
    Bar,           // the title, the weekday row, the buttons, "x"
    Pressed,       // a button held down
    Panel,         // the options panel, its texts and the check box
    Link,          // the mail link
};

struct InkColors {
    Color back = 0;
    Color fore = 0;
};

// The system colours and whether high contrast is on, as the system says now.
class SystemColors {
public:
    virtual bool HighContrast() const = 0;
    virtual Color Get(SysColor c) const = 0; // 0x00BBGGRR

protected:
    ~SystemColors() = default;
};

// The mode asked once, for everything one paint draws.
class SystemColorsNow final : public SystemColors {
public:
    explicit SystemColorsNow(const SystemColors& system)
        : system_(system), on_(system.HighContrast()) {}
    bool HighContrast() const override { return on_; }
    Color Get(SysColor c) const override { return system_.Get(c); }

private:
    const SystemColors& system_;
    bool on_;
};

// The colours to paint an element in: `normal` (designed or the user's,
// with 0x800000nn standing for system colour nn) while the mode is off, the
// system colours of its kind while it is on.
InkColors PaintColors(Ink ink, const InkColors& normal, const SystemColors& system);
// One colour as stored, 0x800000nn resolved through the system's.
Color SolidColor(Color c, const SystemColors& system);
// The lines that frame painted labels: the window-frame colour, or the text
// colour in high contrast.
Color LineColor(const SystemColors& system);

} // namespace mivra
