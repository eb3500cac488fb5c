// Value types that describe how text looks: a font asked for by name and size, alignment,
// line breaking, and attributed text made of styled runs. Plain data; any thread.
#pragma once

#include <string>
#include <vector>

#include "ui/Geometry.h"

namespace ui {

// A font requested by family/face name ("Helvetica", "Helvetica Bold") and point size; the
// text layer decides which installed face answers a name (see Font).
struct FontSpec {
    std::string name = "Helvetica";
    double size = 17;

    // The interface font of the toolkit, used where no font is set. Helvetica stands in for
    // the platform's own system face, which is not available here.
    static FontSpec system(double size) { return FontSpec{"Helvetica", size}; }
    static FontSpec boldSystem(double size) { return FontSpec{"Helvetica Bold", size}; }
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class TextAlignment { left, center, right, natural, justified };

// How a label fits text that is wider than its frame.
enum class LineBreakMode { wordWrap, charWrap, clip, truncateHead, truncateTail, truncateMiddle };

// One styled stretch of an attributed text.
struct TextRun {
    std::string text;  // UTF-8
    FontSpec font;
    Color color = Color::black();
    bool underline = false;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

// Text made of styled runs, drawn one after another on the same line(s).
struct AttributedText {
    std::vector<TextRun> runs;

    // The runs' texts joined, without styling.
    std::string string() const {
        std::string s;
        for (const auto& r : runs) s += r.text;
        return s;
    }
    bool empty() const { return runs.empty(); }
    friend bool operator==(const AttributedText&, const AttributedText&) = default;
};

}  // namespace ui
