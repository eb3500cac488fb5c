#include "TextEngine.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <unicode/uchar.h>
#include <unicode/utext.h>

#include "FontLibrary.h"

namespace ui::detail {

namespace {

// Decodes one UTF-8 sequence at `i`; a malformed one reads as U+FFFD of one byte, as
// HarfBuzz reads it.
char32_t decodeUtf8(std::string_view s, size_t i, size_t& length) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    length = 1;
    if (b0 < 0x80) return b0;
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0xFFFD;
    }
    if (i + static_cast<size_t>(extra) >= s.size()) return 0xFFFD;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
    length = static_cast<size_t>(extra) + 1;
    return cp;
}

// Characters that belong to the character before them and must be shaped with its face.
bool joinsPrevious(char32_t cp) {
    if (cp < 0x300) return false;
    return (U_GET_GC_MASK(cp) & U_GC_M_MASK) != 0 || cp == 0x200C || cp == 0x200D ||
           (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF) ||
           (cp >= 0x1F3FB && cp <= 0x1F3FF);
}

// Length of the hard line break at `i`, or 0.
size_t hardBreakAt(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '\n' || c == '\v' || c == '\f') return 1;
    if (c == '\r') return i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
    if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x85) return 2;
    if (c == 0xE2 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80) {
        const auto c2 = static_cast<unsigned char>(s[i + 2]);
        if (c2 == 0xA8 || c2 == 0xA9) return 3;
    }
    return 0;
}

// The end of [start, end) without its trailing spaces, tabs and ideographic spaces.
size_t trimEnd(std::string_view s, size_t start, size_t end) {
    while (end > start) {
        if (s[end - 1] == ' ' || s[end - 1] == '\t') {
            --end;
        } else if (end - start >= 3 && s.substr(end - 3, 3) == "\xE3\x80\x80") {
            end -= 3;
        } else {
            break;
        }
    }
    return end;
}

// Calls fn(paragraph) for every paragraph between hard line breaks. A break at the very end
// starts no further line.
template <typename Fn>
void forEachParagraph(std::string_view text, Fn&& fn) {
    size_t start = 0;
    while (start < text.size()) {
        size_t i = start;
        size_t breakLength = 0;
        while (i < text.size() && (breakLength = hardBreakAt(text, i)) == 0) ++i;
        if (!fn(text.substr(start, i - start))) return;
        if (i >= text.size()) return;
        start = i + breakLength;
    }
}

constexpr double kSlack = 1e-6;

}  // namespace

TextEngine& TextEngine::shared() {
    static TextEngine* engine = new TextEngine();
    return *engine;
}

TextEngine::TextEngine() {
    UErrorCode status = U_ZERO_ERROR;
    lineBreaker_.reset(icu::BreakIterator::createLineInstance(icu::Locale::getDefault(), status));
    if (U_FAILURE(status) || !lineBreaker_) throw std::runtime_error("ICU line breaking unavailable");
}

void TextEngine::shapeRun(std::string_view para, size_t start, size_t end, const FontFace* face,
                          bool inParagraph) {
    hb_buffer_t* buffer = FontLibrary::instance().buffer();
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf8(buffer, para.data(), static_cast<int>(para.size()),
                       static_cast<unsigned>(start), static_cast<int>(end - start));
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(face->hbFont(), buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    for (unsigned i = 0; i < count; ++i) {
        if (keepGlyphs_ || !inParagraph) {
            glyphs_.push_back({face, info[i].codepoint, info[i].cluster, pos[i].x_advance,
                               pos[i].x_offset, pos[i].y_offset});
        }
        if (inParagraph) {
            const unsigned cluster = info[i].cluster;
            if (para[cluster] == '\t') {
                // A tab reaches the next tab stop, every 28 points from the paragraph's start.
                constexpr long kTabStop = static_cast<long>(28 * kHbUnitsPerPoint);
                pos[i].x_advance = static_cast<hb_position_t>(kTabStop - total_ % kTabStop);
                if (keepGlyphs_) glyphs_.back().advance = pos[i].x_advance;
            }
            total_ += pos[i].x_advance;
            if (cluster < trimmedEnd_) trimmedTotal_ += pos[i].x_advance;
            prefix_[cluster + 1] += pos[i].x_advance;
            isClusterStart_[cluster] = 1;
        }
    }
}

void TextEngine::shapeChunked(std::string_view para, size_t start, size_t end, const FontFace* face) {
    // Very long runs are shaped in pieces that end after a space, so that HarfBuzz's buffer
    // stays small for a text of many megabytes; nothing joins or kerns across a space.
    constexpr size_t kChunk = 16384;
    while (end - start > kChunk) {
        size_t cut = start + kChunk;
        while (cut > start + kChunk / 2 && para[cut - 1] != ' ') --cut;
        // No space in sight: cut at a character boundary.
        if (para[cut - 1] != ' ') {
            cut = start + kChunk;
            while (cut > start && (static_cast<unsigned char>(para[cut]) & 0xC0) == 0x80) --cut;
        }
        shapeRun(para, start, cut, face, true);
        start = cut;
    }
    shapeRun(para, start, end, face, true);
}

void TextEngine::shapeParagraph(std::string_view para, FontSet& font, bool keepGlyphs) {
    glyphs_.clear();
    keepGlyphs_ = keepGlyphs;
    total_ = 0;
    trimmedTotal_ = 0;
    trimmedEnd_ = trimEnd(para, 0, para.size());
    prefix_.assign(para.size() + 1, 0);
    isClusterStart_.assign(para.size() + 1, 0);
    const FontFace* runFace = nullptr;
    size_t runStart = 0;
    size_t length = 0;
    for (size_t i = 0; i < para.size(); i += length) {
        const char32_t cp = decodeUtf8(para, i, length);
        const FontFace* face = runFace && joinsPrevious(cp) ? runFace : font.faceFor(cp);
        if (face != runFace) {
            if (runFace) shapeChunked(para, runStart, i, runFace);
            runFace = face;
            runStart = i;
        }
    }
    if (runFace) shapeChunked(para, runStart, para.size(), runFace);
}

void TextEngine::breakParagraph(std::string_view para, double maxWidth, bool keep,
                                size_t stopAfter, size_t& lineCount, long& widest) {
    const size_t n = para.size();
    auto emit = [&](size_t start, size_t end, size_t trimmed, long width) {
        ++lineCount;
        widest = std::max(widest, width);
        if (keep) lines_.push_back({start, end, trimmed, width});
    };
    const long total = total_;
    if (!(maxWidth < kNoWrap)) {  // also NaN: no wrapping
        emit(0, n, n, total);
        return;
    }
    const double limit = std::max(maxWidth, 0.0) * kHbUnitsPerPoint + kSlack;
    if (static_cast<double>(trimmedTotal_) <= limit) {
        emit(0, n, trimmedEnd_, trimmedTotal_);
        return;
    }

    // The paragraph needs more than one line: advances per byte (gathered while shaping),
    // then greedy filling between ICU's break opportunities.
    isClusterStart_[n] = 1;
    for (size_t i = 1; i <= n; ++i) prefix_[i] += prefix_[i - 1];
    auto width = [&](size_t a, size_t b) { return prefix_[b] - prefix_[a]; };

    UErrorCode status = U_ZERO_ERROR;
    UText text = UTEXT_INITIALIZER;
    utext_openUTF8(&text, para.data(), static_cast<int64_t>(n), &status);
    lineBreaker_->setText(&text, status);
    utext_close(&text);
    if (U_FAILURE(status)) throw std::runtime_error("ICU cannot break the text");

    size_t start = 0;
    while (start < n && lineCount < stopAfter) {
        size_t best = 0;
        size_t bestTrimmed = 0;
        for (int32_t b = lineBreaker_->following(static_cast<int32_t>(start));
             b != icu::BreakIterator::DONE; b = lineBreaker_->next()) {
            const auto end = static_cast<size_t>(b);
            const size_t t = trimEnd(para, start, end);
            if (static_cast<double>(width(start, t)) > limit) break;
            best = end;
            bestTrimmed = t;
            if (end >= n) break;
        }
        if (best == 0) {
            // Even the first word is too wide: take the whole characters that fit, at least
            // one, so that every line makes progress.
            size_t end = start + 1;
            while (end < n && !isClusterStart_[end]) ++end;
            while (end < n) {
                size_t next = end + 1;
                while (next < n && !isClusterStart_[next]) ++next;
                if (static_cast<double>(width(start, next)) > limit) break;
                end = next;
            }
            best = end;
            bestTrimmed = end;
        }
        emit(start, best, bestTrimmed, width(start, bestTrimmed));
        start = best;
    }
}

void TextEngine::placeLines(std::string_view para, std::vector<TextLine>& out) const {
    const size_t first = out.size();
    out.resize(first + lines_.size());
    std::vector<long> pens(lines_.size(), 0);
    for (const ShapedGlyph& g : glyphs_) {
        // The line whose range holds the glyph's cluster.
        auto it = std::upper_bound(lines_.begin(), lines_.end(), g.cluster,
                                   [](unsigned c, const LineRange& r) { return c < r.start; });
        if (it == lines_.begin()) continue;
        const size_t li = static_cast<size_t>(it - lines_.begin()) - 1;
        if (g.cluster >= lines_[li].trimmed) continue;
        TextLine& line = out[first + li];
        const char c = para[g.cluster];
        line.glyphs.push_back({g.face, g.glyph,
                               static_cast<double>(pens[li] + g.xOffset) / kHbUnitsPerPoint,
                               -g.yOffset / kHbUnitsPerPoint, g.advance / kHbUnitsPerPoint,
                               c == ' ' || c == '\t'});
        pens[li] += g.advance;
    }
    for (size_t li = 0; li < lines_.size(); ++li) {
        out[first + li].width = static_cast<double>(pens[li]) / kHbUnitsPerPoint;
    }
}

Size TextEngine::measure(std::string_view text, FontSet& font, double maxWidth) {
    size_t lineCount = 0;
    long widest = 0;
    forEachParagraph(text, [&](std::string_view para) {
        shapeParagraph(para, font, false);
        breakParagraph(para, maxWidth, false, SIZE_MAX, lineCount, widest);
        return true;
    });
    return Size{static_cast<double>(widest) / kHbUnitsPerPoint,
                static_cast<double>(lineCount) * font.primary().lineHeight()};
}

TextLayout TextEngine::layout(std::string_view text, FontSet& font, double maxWidth, int maxLines,
                              bool ellipsis) {
    TextLayout layout;
    const FontFace& primary = font.primary();
    layout.lineHeight = primary.lineHeight();
    layout.baseline =
        (primary.lineHeight() - primary.ascender() - primary.descender()) / 2 + primary.ascender();
    const size_t limit = maxLines > 0 ? static_cast<size_t>(maxLines) : SIZE_MAX;
    bool cut = false;
    forEachParagraph(text, [&](std::string_view para) {
        if (layout.lines.size() >= limit) {
            cut = true;
            return false;
        }
        shapeParagraph(para, font, true);
        lines_.clear();
        size_t count = layout.lines.size();
        long widest = 0;
        // One line more than allowed tells whether the paragraph goes on.
        breakParagraph(para, maxWidth, true, limit + 1, count, widest);
        if (layout.lines.size() + lines_.size() > limit) {
            lines_.resize(limit - layout.lines.size());
            // The last kept line runs on to the end of the paragraph, to be cut below.
            lines_.back().end = para.size();
            lines_.back().trimmed = para.size();
            cut = true;
        }
        placeLines(para, layout.lines);
        return !cut;
    });
    if (cut && ellipsis && !layout.lines.empty()) {
        // Shape the ellipsis and drop glyphs from the end of the last line until it fits.
        glyphs_.clear();
        const std::string_view dots = "\xE2\x80\xA6";
        shapeRun(dots, 0, dots.size(), font.faceFor(0x2026), false);
        double ellipsisWidth = 0;
        for (const ShapedGlyph& g : glyphs_) ellipsisWidth += g.advance / kHbUnitsPerPoint;
        TextLine& line = layout.lines.back();
        auto lineEnd = [&line] {
            return line.glyphs.empty() ? 0.0 : line.glyphs.back().x + line.glyphs.back().advance;
        };
        const double room = std::isfinite(maxWidth) ? maxWidth : kNoWrap;
        while (!line.glyphs.empty() &&
               (lineEnd() + ellipsisWidth > room + kSlack || line.glyphs.back().whitespace)) {
            line.glyphs.pop_back();
        }
        double pen = lineEnd();
        for (const ShapedGlyph& g : glyphs_) {
            line.glyphs.push_back({g.face, g.glyph, pen + g.xOffset / kHbUnitsPerPoint,
                                   -g.yOffset / kHbUnitsPerPoint, g.advance / kHbUnitsPerPoint,
                                   false});
            pen += g.advance / kHbUnitsPerPoint;
        }
        line.width = pen;
    }
    return layout;
}

}  // namespace ui::detail
