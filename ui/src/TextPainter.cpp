#include "TextPainter.h"

#include <mutex>
#include <vector>

#include "FontLibrary.h"
#include "TextEngine.h"

namespace ui::detail {

TextLayout TextPainter::layout(std::string_view text, const Font& font, double maxWidth,
                               int maxLines, bool ellipsis) {
    std::lock_guard lock(FontLibrary::instance().mutex());
    return TextEngine::shared().layout(text, font.fontSet(), maxWidth, maxLines, ellipsis);
}

void TextPainter::drawLine(cairo_t* cr, const TextLine& line, double x, double baseline,
                           Color color) {
    if (line.glyphs.empty()) return;
    cairo_save(cr);
    cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a);
    cairo_font_options_t* options = cairo_font_options_create();
    // The positions are HarfBuzz's unhinted ones; hinted outlines or metrics would drift.
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);

    std::vector<cairo_glyph_t> run;
    auto flush = [&](const FontFace* face) {
        if (run.empty()) return;
        cairo_font_face_t* cairoFace = nullptr;
        {
            std::lock_guard lock(FontLibrary::instance().mutex());
            cairoFace = FontLibrary::instance().cairoFace(*face);
        }
        if (cairoFace) {
            cairo_set_font_face(cr, cairoFace);
            cairo_set_font_size(cr, face->size());
            cairo_show_glyphs(cr, run.data(), static_cast<int>(run.size()));
        }
        run.clear();
    };
    const FontFace* current = line.glyphs.front().face;
    for (const PlacedGlyph& g : line.glyphs) {
        if (g.face != current) {
            flush(current);
            current = g.face;
        }
        run.push_back(cairo_glyph_t{g.glyph, x + g.x, baseline + g.y});
    }
    flush(current);
    cairo_restore(cr);
}

void TextPainter::draw(cairo_t* cr, const TextLayout& layout, double left, double top,
                       double width, TextAlignment alignment, Color color) {
    double lineTop = top;
    for (const TextLine& line : layout.lines) {
        double x = left;
        switch (alignment) {
        case TextAlignment::center: x = left + (width - line.width) / 2; break;
        case TextAlignment::right: x = left + width - line.width; break;
        case TextAlignment::left:
        case TextAlignment::natural:
        case TextAlignment::justified: break;
        }
        drawLine(cr, line, x, lineTop + layout.baseline, color);
        lineTop += layout.lineHeight;
    }
}

}  // namespace ui::detail
