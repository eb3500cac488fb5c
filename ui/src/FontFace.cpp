#include "FontFace.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <hb-ft.h>

namespace ui::detail {

FontFace::FontFace(FT_Library library, const std::string& file, int index, double size)
    : file_(file), index_(index), size_(size) {
    if (FT_New_Face(library, file.c_str(), index, &ftFace_) != 0) {
        ftFace_ = nullptr;
        throw std::runtime_error("cannot load font file " + file);
    }
    const auto charSize = static_cast<FT_F26Dot6>(std::lround(size * kHbUnitsPerPoint));
    if (FT_Set_Char_Size(ftFace_, 0, charSize, 72, 72) != 0) {
        FT_Done_Face(ftFace_);
        throw std::runtime_error("cannot size font file " + file);
    }
    hbFont_ = hb_ft_font_create_referenced(ftFace_);
    // Unhinted advances: what is measured must be exactly what is drawn, at any scale.
    hb_ft_font_set_load_flags(hbFont_, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);

    const double perUnit = size / ftFace_->units_per_EM;
    ascender_ = ftFace_->ascender * perUnit;
    descender_ = -ftFace_->descender * perUnit;
    // Some faces leave the line spacing at zero; fall back to the glyph extent.
    const double spacing = ftFace_->height > 0 ? ftFace_->height * perUnit : 0;
    lineHeight_ = std::max(spacing, ascender_ + descender_);
}

FontFace::~FontFace() {
    // The HarfBuzz font holds its own reference on the FreeType face.
    hb_font_destroy(hbFont_);
    FT_Done_Face(ftFace_);
}

unsigned FontFace::glyphFor(char32_t codePoint) const {
    return FT_Get_Char_Index(ftFace_, codePoint);
}

}  // namespace ui::detail
