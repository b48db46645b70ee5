#include "platform/label_paint_win32.h"

#include <cmath>

#include "platform/system_colors_win32.h"

namespace mivra {

COLORREF ResolveColor(Color c) {
    return SolidColor(c, Win32SystemColors{});
}

HFONT FontCache::Get(const FontSpec& want, int dpi) {
    Key key{std::wstring(want.face), want.centiPoints, dpi, want.symbol, want.bold, want.italic,
            want.underline};
    for (const auto& [k, font] : fonts_)
        if (k == key) return font.Get();
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(want.centiPoints, dpi, 7200);
    lf.lfWeight = want.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = want.italic;
    lf.lfUnderline = want.underline;
    lf.lfCharSet = want.symbol ? SYMBOL_CHARSET : ANSI_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = want.symbol ? DEFAULT_PITCH | FF_DECORATIVE : DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(lf.lfFaceName, key.face.c_str(), LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&lf));
    const HFONT f = font.Get();
    fonts_.emplace_back(std::move(key), std::move(font));
    return f;
}

namespace {

// Whether the selected font is the symbol font asked for and draws the
// character itself. A substitute text font would show a letter instead, and
// symbol fonts carry their characters in the private-use page.
bool FontHasGlyph(HDC dc, wchar_t ch, std::wstring_view face) {
    wchar_t actual[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, actual);
    if (GetTextCharset(dc) != SYMBOL_CHARSET || lstrcmpiW(actual, std::wstring(face).c_str()) != 0)
        return false;
    WORD index = 0xFFFF;
    const wchar_t forms[2] = {ch, static_cast<wchar_t>(0xF000 | ch)};
    for (wchar_t c : forms) {
        if (GetGlyphIndicesW(dc, &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
            index != 0xFFFF)
            return true;
    }
    return false;
}

// Where the symbol font is missing, the two glyphs the calendar uses are
// drawn as shapes: a solid dot (0x6C) and a bent arrow pointing down (0xCA).
void DrawSymbolShape(HDC dc, const RECT& r, wchar_t ch, COLORREF color, int em) {
    UniqueBrush brush(CreateSolidBrush(color));
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    SelectedObject sb(dc, brush.Get());
    SelectedObject sp(dc, pen.Get());
    const int cx = (r.left + r.right) / 2;
    const int top = r.top + std::max(1, em / 6);
    if (ch == 0x6C) {
        const int d = std::max(3, em * 2 / 3);
        Ellipse(dc, cx - d / 2, top + (em - d) / 2, cx - d / 2 + d, top + (em - d) / 2 + d);
        return;
    }
    const int s = std::max(6, em);
    const int t = std::max(2, s / 6); // stroke
    const int x0 = cx - s / 2, y0 = top + s / 6;
    const int xBend = cx + s / 6;
    const int yHead = top + s * 3 / 5;
    const int h = std::max(3, s / 3); // arrow head half-width
    const POINT shape[] = {
        {x0, y0},
        {xBend + t / 2, y0},
        {xBend + t / 2, yHead},
        {xBend + h, yHead},
        {xBend, yHead + h + t},
        {xBend - h, yHead},
        {xBend - t / 2, yHead},
        {xBend - t / 2, y0 + t},
        {x0, y0 + t},
    };
    Polygon(dc, shape, static_cast<int>(std::size(shape)));
}

} // namespace

void PaintLabel(HDC dc, const RECT& r, const LabelLook& look, HFONT font, const FontSpec& want) {
    if (look.opaque) {
        SetDCBrushColor(dc, ResolveColor(look.back));
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    RECT text = r;
    if (look.border) {
        SetDCBrushColor(dc, ResolveColor(look.line));
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        InflateRect(&text, -1, -1);
    }
    if (look.caption.empty()) return;
    // Selecting a font is slow on some systems, and a window's labels share a
    // few fonts: select only on a change. KeepFont puts the DC's own back.
    if (font && GetCurrentObject(dc, OBJ_FONT) != font) SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(look.fore));
    if (want.symbol && look.caption.size() == 1 && !FontHasGlyph(dc, look.caption[0], want.face)) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        DrawSymbolShape(dc, text, look.caption[0], ResolveColor(look.fore), tm.tmAscent);
        return;
    }
    DrawTextW(dc, look.caption.data(), static_cast<int>(look.caption.size()), &text,
              look.align | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace mivra
