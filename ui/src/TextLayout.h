// The result of laying out a text: lines of glyphs placed relative to the start of their
// line's baseline, each glyph with the face that shaped it. Produced by the TextEngine and
// drawn by the TextPainter; a plain value.
#pragma once

#include <vector>

#include "FontFace.h"

namespace ui::detail {

struct PlacedGlyph {
    const FontFace* face = nullptr;
    unsigned glyph = 0;
    double x = 0;  // from the line's left edge, in points
    double y = 0;  // from the baseline, in points, downwards positive
    double advance = 0;
    bool whitespace = false;
};

struct TextLine {
    std::vector<PlacedGlyph> glyphs;
    double width = 0;
};

struct TextLayout {
    std::vector<TextLine> lines;
    double lineHeight = 0;
    // Distance from a line's top to its baseline: half the primary face's line gap above the
    // ascender, so that glyphs sit in the middle of their line box.
    double baseline = 0;

    double width() const {
        double w = 0;
        for (const TextLine& line : lines) w = line.width > w ? line.width : w;
        return w;
    }
    double height() const { return static_cast<double>(lines.size()) * lineHeight; }
};

}  // namespace ui::detail
