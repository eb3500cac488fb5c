// Shapes and breaks text into lines: HarfBuzz shapes each run of characters with the face of
// the font set that has them, ICU's line break rules choose where lines may end, and lines
// are filled greedily; a word wider than the line is broken between characters. Hard line
// breaks (LF, CR, CRLF, VT, FF, NEL, LS, PS) always end a line. Widths exclude the whitespace
// at the end of a wrapped line. One per process; every call needs the text lock
// (FontLibrary::mutex), which also guards the scratch buffers kept here between calls.
#pragma once

#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include <unicode/brkiter.h>

#include "FontSet.h"
#include "TextLayout.h"
#include "ui/Geometry.h"

namespace ui::detail {

inline constexpr double kNoWrap = std::numeric_limits<double>::infinity();

class TextEngine {
public:
    static TextEngine& shared();

    // Width of the widest line and lines x line height. maxWidth kNoWrap lays each paragraph
    // out on one line. Empty text is 0 by 0.
    Size measure(std::string_view text, FontSet& font, double maxWidth);

    // Lines of placed glyphs. With maxLines > 0 only that many lines are kept, and when text
    // is cut off the last kept line ends in an ellipsis within maxWidth (unless `ellipsis` is
    // false: then it is only cut).
    TextLayout layout(std::string_view text, FontSet& font, double maxWidth, int maxLines = 0,
                      bool ellipsis = true);

private:
    TextEngine();

    struct ShapedGlyph {
        const FontFace* face;
        unsigned glyph;
        unsigned cluster;  // byte offset in the paragraph
        int advance;       // 1/64 point
        int xOffset;
        int yOffset;
    };
    struct LineRange {
        size_t start;
        size_t end;       // where the next line starts
        size_t trimmed;   // end without the trailing whitespace
        long width;       // 1/64 point, of [start, trimmed)
    };

    // Shapes a paragraph run by run, gathering its total width, its width without trailing
    // whitespace and the advance of each byte; keeps the glyphs only when asked (layout),
    // so that measuring a text of megabytes does not hold a glyph list of its size.
    void shapeParagraph(std::string_view para, FontSet& font, bool keepGlyphs);
    // Shapes [start, end) of `para` with one face. A run of the paragraph adds to its
    // accounting; any other run (the ellipsis) only adds its glyphs.
    void shapeRun(std::string_view para, size_t start, size_t end, const FontFace* face,
                  bool inParagraph);
    void shapeChunked(std::string_view para, size_t start, size_t end, const FontFace* face);
    // Breaks the shaped paragraph into lines no wider than maxWidth (kNoWrap: one line).
    // Counts the lines and keeps the widest; stores the ranges in lines_ when `keep` is set,
    // stopping after stopAfter lines.
    void breakParagraph(std::string_view para, double maxWidth, bool keep, size_t stopAfter,
                        size_t& lineCount, long& widest);
    // Places the glyphs of the stored line ranges, appending one TextLine per range.
    void placeLines(std::string_view para, std::vector<TextLine>& out) const;

    std::unique_ptr<icu::BreakIterator> lineBreaker_;
    std::vector<ShapedGlyph> glyphs_;
    bool keepGlyphs_ = true;
    long total_ = 0;
    long trimmedTotal_ = 0;
    size_t trimmedEnd_ = 0;
    // Per byte of the paragraph: first its glyphs' advance, then (after breaking starts) the
    // advance of the bytes before it.
    std::vector<long> prefix_;
    std::vector<unsigned char> isClusterStart_;
    std::vector<LineRange> lines_;
};

}  // namespace ui::detail
