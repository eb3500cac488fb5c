// Draws text with Cairo exactly as TextMeasurer measures it: the TextEngine lays the text out
// with the font set's faces, and the glyphs are drawn at the shaped positions through Cairo's
// FreeType backend with hinting off. Stateless; main thread (takes the text lock itself).
#pragma once

#include <string_view>

#include <cairo.h>

#include "TextLayout.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/TextStyle.h"

namespace ui::detail {

class TextPainter {
public:
    // Lays out `text` within maxWidth (kNoWrap: each paragraph on one line). With maxLines > 0
    // at most that many lines are kept and cut-off text ends in an ellipsis.
    static TextLayout layout(std::string_view text, const Font& font, double maxWidth,
                             int maxLines = 0, bool ellipsis = true);

    // Draws the layout's lines from `top`, each aligned within [left, left + width].
    static void draw(cairo_t* cr, const TextLayout& layout, double left, double top, double width,
                     TextAlignment alignment, Color color);

    // Draws one line with its baseline's left end at (x, baseline).
    static void drawLine(cairo_t* cr, const TextLine& line, double x, double baseline, Color color);
};

}  // namespace ui::detail
