#include "typeface.h"

#include FT_OUTLINE_H

#include <cmath>
#include <stdexcept>

namespace icongen {

Typeface::Typeface(const std::string& path) {
    if (FT_Init_FreeType(&lib_)) throw std::runtime_error("FreeType does not start");
    if (FT_New_Face(lib_, path.c_str(), 0, &face_))
        throw std::runtime_error("cannot open font " + path);
    unitsPerEm_ = face_->units_per_EM;
    // Lining figures all stand on the baseline; '1' has no overshoot, so its
    // height is the figure height.
    if (FT_Load_Char(face_, '1', FT_LOAD_NO_SCALE))
        throw std::runtime_error("the font lacks figures");
    figureUnits_ = static_cast<double>(face_->glyph->metrics.height);
}

Typeface::~Typeface() {
    FT_Done_Face(face_);
    FT_Done_FreeType(lib_);
}

void Typeface::Load(char digit, double ppem, double widthFactor, std::int32_t loadFlags) {
    FT_Set_Char_Size(face_, std::lround(ppem * widthFactor * 64), std::lround(ppem * 64), 72, 72);
    if (FT_Load_Char(face_, static_cast<FT_ULong>(digit), FT_LOAD_NO_BITMAP | loadFlags))
        throw std::runtime_error("the font lacks a figure");
}

std::pair<double, double> Typeface::InkSpan(char digit, double ppem, double widthFactor) {
    Load(digit, ppem, widthFactor, 0);
    FT_BBox box;
    FT_Outline_Get_CBox(&face_->glyph->outline, &box);
    // The control box of hinted outlines is tight enough for placing.
    return {box.xMin / 64.0, box.xMax / 64.0};
}

Rendered Typeface::Render(char digit, double ppem, double widthFactor, long shift,
                          std::int32_t loadFlags) {
    Load(digit, ppem, widthFactor, loadFlags);
    FT_Outline_Translate(&face_->glyph->outline, shift, 0);
    if (FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL))
        throw std::runtime_error("cannot render a figure");
    const FT_Bitmap& bm = face_->glyph->bitmap;
    Rendered r;
    r.left = face_->glyph->bitmap_left;
    r.top = face_->glyph->bitmap_top;
    r.width = static_cast<int>(bm.width);
    r.rows = static_cast<int>(bm.rows);
    r.coverage.resize(static_cast<std::size_t>(r.width) * r.rows);
    for (int row = 0; row < r.rows; ++row)
        for (int col = 0; col < r.width; ++col)
            r.coverage[row * r.width + col] = bm.buffer[row * bm.pitch + col];
    return r;
}

} // namespace icongen
