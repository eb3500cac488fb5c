// One font file loaded at one point size, ready for shaping with HarfBuzz over FreeType.
// Owned by the FontLibrary, which keeps every face it loads for the life of the process, so
// raw pointers to a face stay valid. Not thread-safe: the FreeType face and the HarfBuzz font
// are used only while the text lock (FontLibrary::mutex) is held.
#pragma once

#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

namespace ui::detail {

class FontFace {
public:
    // Loads `file` (face number `index`) at `size` points, one point to one pixel, with
    // hinting off so that advances are the design widths scaled linearly. Throws
    // std::runtime_error when FreeType cannot read the file.
    FontFace(FT_Library library, const std::string& file, int index, double size);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    hb_font_t* hbFont() const { return hbFont_; }
    FT_Face ftFace() const { return ftFace_; }
    const std::string& file() const { return file_; }
    int index() const { return index_; }
    double size() const { return size_; }

    // Vertical metrics in points, from the face's design units: the ascender above the
    // baseline, the descender below it (positive), and the line height (ascender + descender
    // + the face's line gap).
    double ascender() const { return ascender_; }
    double descender() const { return descender_; }
    double lineHeight() const { return lineHeight_; }

    // The glyph of a code point, 0 when the face lacks it.
    unsigned glyphFor(char32_t codePoint) const;

private:
    std::string file_;
    int index_;
    double size_;
    FT_Face ftFace_ = nullptr;
    hb_font_t* hbFont_ = nullptr;
    double ascender_ = 0;
    double descender_ = 0;
    double lineHeight_ = 0;
};

// HarfBuzz positions are in 1/64 point (26.6 fixed point, the FreeType pixel grid at one point
// per pixel).
inline constexpr double kHbUnitsPerPoint = 64.0;

}  // namespace ui::detail
