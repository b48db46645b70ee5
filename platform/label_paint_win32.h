// Painting of windowless labels: background, flat one-line border and a
// caption centred at the top, in fonts made for the window's DPI.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/color.h"
#include "base/font.h"
#include "platform/handles_win32.h"

namespace mivra {

// Colours as stored, with 0x800000nn standing for system colour nn.
COLORREF ResolveColor(Color c);

// Fonts by face, size and character set, for one DPI at a time.
class FontCache {
public:
    HFONT Get(const FontSpec& want, int dpi);
    void Clear() { fonts_.clear(); }

private:
    struct Key {
        std::wstring face;
        int centiPoints, dpi;
        bool symbol, bold, italic, underline;
        bool operator==(const Key&) const = default;
    };
    // A window uses a handful of fonts: a list searched in order serves, and
    // keeps a tree's code out of the program.
    std::vector<std::pair<Key, UniqueFont>> fonts_;
};

struct LabelLook {
    std::wstring_view caption;
    Color fore = 0;
    Color back = 0;
    bool border = false;
    bool opaque = true;
    UINT align = DT_CENTER;                          // DT_LEFT, DT_CENTER or DT_RIGHT
    Color line = SystemColor(SysColor::WindowFrame); // the border
};

// Draws one label, leaving its font selected (see KeepFont); `want` is the font the label asked
// for, so a missing symbol font can be told from the substitute the system picked.
void PaintLabel(HDC dc, const RECT& r, const LabelLook& look, HFONT font, const FontSpec& want);

} // namespace mivra
