// Text measurement: the size a text takes in a font on one line, and within a width when it
// wraps. Sizes are in points, unrounded, and match what the renderer draws: the same faces,
// the same unhinted advances, the same line breaks. Results are cached by text, font and
// width. Callable from any thread (the dialog measures on the main thread; the cache and the
// fonts are locked).
#pragma once

#include <string_view>

#include "ui/Font.h"
#include "ui/Geometry.h"

namespace ui {

class TextMeasurer {
public:
    // Width of the text laid out without wrapping (trailing spaces included) and its height:
    // the font's line height per line. Hard line breaks (LF, CR, CRLF, LS, PS) start new lines.
    // Empty text is 0 by 0.
    static Size singleLineSize(std::string_view text, const Font& font);

    // The bounding box of the text wrapped into lines no wider than `width`, each line measured
    // from its own origin: the width of the widest line (without the spaces at its end) and the
    // line height times the number of lines. Lines break where ICU's line break rules allow;
    // a word wider than `width` is broken between characters. A width of 0 or less puts every
    // character on its own line; a width that is not a number does not wrap.
    static Size wrappedSize(std::string_view text, const Font& font, double width);

    // Empties the measurement cache.
    static void clearCache();
};

}  // namespace ui
