// Text measurement against the real fonts of this machine: names resolve to the metric twins
// of Helvetica, widths are the faces' own unhinted advances, CJK text is measured with the
// fallback face's glyphs, and wrapping behaves as the dialog's layout relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb.h>

#include "ui/Font.h"
#include "ui/TextMeasurer.h"

namespace {

using ui::Font;
using ui::TextMeasurer;

// The file fontconfig knows for an exact family and style, found without the toolkit.
std::string fontFile(const char* pattern) {
    FcInit();
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    FcChar8* file = nullptr;
    std::string out;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) out = reinterpret_cast<char*>(file);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(p);
    return out;
}

// Width of `text` shaped by HarfBuzz's own font functions straight from the file, in points.
double rawWidth(const std::string& file, const std::string& text, double size) {
    hb_blob_t* blob = hb_blob_create_from_file(file.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    const int upem = static_cast<int>(hb_face_get_upem(face));
    hb_font_set_scale(font, upem, upem);
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf8(buffer, text.data(), static_cast<int>(text.size()), 0, -1);
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(font, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    double units = 0;
    for (unsigned i = 0; i < count; ++i) units += pos[i].x_advance;
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return units * size / upem;
}

// Advances come from FreeType in 1/64 point per glyph.
constexpr double kGlyphTolerance = 1.0 / 64;

TEST(FontTest, FaceNamesResolveToTheMetricTwinsOfHelvetica) {
    struct Case {
        const char* name;
        const char* expectedFile;
    };
    const Case cases[] = {
        {"Helvetica", "Nimbus Sans:style=Regular"},
        {"Helvetica Bold", "Nimbus Sans:style=Bold"},
        {"Helvetica-Bold", "Nimbus Sans:style=Bold"},
        {"helvetica bold", "Nimbus Sans:style=Bold"},
        {"Helvetica Oblique", "Nimbus Sans:style=Italic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Font font(c.name, 15);
        EXPECT_EQ(font.filePath(), fontFile(c.expectedFile));
        EXPECT_EQ(font.familyName(), "Nimbus Sans");
        EXPECT_EQ(font.name(), c.name);
    }
    EXPECT_NE(Font("Helvetica Bold", 15).filePath(), Font("Helvetica", 15).filePath());
}

TEST(FontTest, LineHeightIsTheFacesLineSpacingAndBadSizesGetADefault) {
    const Font font("Helvetica", 15);
    EXPECT_NEAR(font.lineHeight(), 15 * 1.2, 1e-9);  // Nimbus Sans: 1200 units per 1000 em
    EXPECT_NEAR(font.ascender() + font.descender(), 15, 1e-9);
    for (double bad : {0.0, -3.0, double(NAN), double(INFINITY)}) {
        EXPECT_EQ(Font("Helvetica", bad).pointSize(), 12);
    }
}

TEST(TextMeasurerTest, WidthsAreTheFacesOwnUnhintedAdvances) {
    struct Case {
        const char* fontName;
        const char* file;
        const char* text;
        double size;
    };
    const Case cases[] = {
        {"Helvetica Bold", "Nimbus Sans:style=Bold", "OK", 18},
        {"Helvetica", "Nimbus Sans:style=Regular", "Cancel", 18},
        {"Helvetica", "Nimbus Sans:style=Regular", "AVAWAY Ta", 15},  // kerned pairs
        {"Helvetica Bold", "Nimbus Sans:style=Bold", "Validation failed", 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Font font(c.fontName, c.size);
        const double raw = rawWidth(fontFile(c.file), c.text, c.size);
        const ui::Size size = TextMeasurer::singleLineSize(c.text, font);
        EXPECT_NEAR(size.width, raw, kGlyphTolerance * std::string(c.text).size());
        EXPECT_DOUBLE_EQ(size.height, font.lineHeight());
    }
}

TEST(TextMeasurerTest, EmptyTextMeasuresNothing) {
    const Font font("Helvetica", 15);
    EXPECT_EQ(TextMeasurer::singleLineSize("", font), (ui::Size{0, 0}));
    EXPECT_EQ(TextMeasurer::wrappedSize("", font, 100), (ui::Size{0, 0}));
    EXPECT_EQ(TextMeasurer::wrappedSize("", font, 0), (ui::Size{0, 0}));
}

TEST(TextMeasurerTest, CjkTextIsMeasuredWithTheFallbackFacesGlyphs) {
    const Font font("Helvetica", 15);
    const std::string droid = fontFile("Droid Sans Fallback");
    ASSERT_FALSE(droid.empty());
    for (const char* text : {"こんにちは", "确定取消", "日本語のテキスト"}) {
        SCOPED_TRACE(text);
        const double measured = TextMeasurer::singleLineSize(text, font).width;
        EXPECT_NEAR(measured, rawWidth(droid, text, 15), 0.2);
        // Ideographs are a full em wide; missing-glyph boxes of the primary face are not.
        const double glyphs = static_cast<double>(std::string(text).size()) / 3;
        EXPECT_NEAR(measured, glyphs * 15, 0.5);
    }
    // An emoji is measured with a face that has it, not as the primary face's missing-glyph
    // box (which a private-use character no face has shows).
    const double emoji = TextMeasurer::singleLineSize("\xF0\x9F\x98\x80", font).width;
    const double missing = TextMeasurer::singleLineSize("\xF4\x8F\xBF\xBD", font).width;
    EXPECT_GT(emoji, 0.5 * 15);
    EXPECT_GT(std::abs(emoji - missing), 0.5);
    // Mixed text: the Latin part keeps the primary face's widths.
    const double mixed = TextMeasurer::singleLineSize("OK こんにちは", font).width;
    EXPECT_NEAR(mixed, TextMeasurer::singleLineSize("OK ", font).width +
                           TextMeasurer::singleLineSize("こんにちは", font).width, 0.05);
}

TEST(TextMeasurerTest, WrappedTextGetsTallerAsTheWidthShrinks) {
    const Font font("Helvetica", 15);
    const std::string text =
        "The quick brown fox jumps over the lazy dog while the dialog measures its message "
        "again and again at narrower widths.";
    const double oneLine = TextMeasurer::singleLineSize(text, font).width;
    double previousHeight = 0;
    for (double width : {oneLine + 1, 500.0, 300.0, 200.0, 120.0, 60.0}) {
        SCOPED_TRACE(width);
        const ui::Size size = TextMeasurer::wrappedSize(text, font, width);
        EXPECT_LE(size.width, width);
        EXPECT_GE(size.height, previousHeight);
        const double lines = size.height / font.lineHeight();
        EXPECT_NEAR(lines, std::round(lines), 1e-9);
        previousHeight = size.height;
    }
    EXPECT_DOUBLE_EQ(TextMeasurer::wrappedSize(text, font, oneLine + 1).height, font.lineHeight());
    EXPECT_GT(previousHeight, 8 * font.lineHeight());
}

TEST(TextMeasurerTest, LinesBreakAtWordsAndHardBreaks) {
    const Font font("Helvetica", 15);
    const double hello = TextMeasurer::singleLineSize("Hello", font).width;
    const double world = TextMeasurer::singleLineSize("world", font).width;
    const double lh = font.lineHeight();
    struct Case {
        const char* text;
        double width;
        double expectedWidth;
        double expectedLines;
    };
    const Case cases[] = {
        // Fits exactly: one line.
        {"Hello world", TextMeasurer::singleLineSize("Hello world", font).width, 0, 1},
        // Breaks at the space, which hangs at the end of the first line.
        {"Hello world", hello + 2, std::max(hello, world), 2},
        {"Hello\nworld", 1000, std::max(hello, world), 2},
        {"Hello\r\nworld\r", 1000, std::max(hello, world), 2},
        {"Hello\rworld", 1000, std::max(hello, world), 2},
        {"Hello\n\nworld", 1000, std::max(hello, world), 3},
        {"Hello\xE2\x80\xA8world", 1000, std::max(hello, world), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ui::Size size = TextMeasurer::wrappedSize(c.text, font, c.width);
        if (c.expectedWidth > 0) {
            EXPECT_NEAR(size.width, c.expectedWidth, 1e-9);
        }
        EXPECT_NEAR(size.height, c.expectedLines * lh, 1e-9);
    }
    // Hard breaks count on one line too.
    EXPECT_NEAR(TextMeasurer::singleLineSize("a\nb\nc", font).height, 3 * lh, 1e-9);
}

TEST(TextMeasurerTest, TabsReachTheNextTabStop) {
    const Font font("Helvetica", 15);
    const double b = TextMeasurer::singleLineSize("b", font).width;
    const double wide = TextMeasurer::singleLineSize("Name is long", font).width;
    ASSERT_GT(wide, 28);
    ASSERT_NE(std::fmod(wide, 28), 0);
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"a\tb", 28 + b},
        {"\t\tb", 56 + b},
        {"Name is long\tb", std::ceil(wide / 28) * 28 + b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(TextMeasurer::singleLineSize(c.text, font).width, c.expected, 1e-9);
    }
}

TEST(TextMeasurerTest, WordsWiderThanTheLineBreakBetweenCharacters) {
    const Font font("Helvetica", 15);
    const std::string word(40, 'W');
    const double full = TextMeasurer::singleLineSize(word, font).width;
    const ui::Size size = TextMeasurer::wrappedSize(word, font, full / 4 + 1);
    EXPECT_LE(size.width, full / 4 + 1);
    EXPECT_NEAR(size.height, 4 * font.lineHeight(), 1e-9);
    // No room at all still ends: one character per line.
    EXPECT_NEAR(TextMeasurer::wrappedSize("abc", font, 0).height, 3 * font.lineHeight(), 1e-9);
    EXPECT_NEAR(TextMeasurer::wrappedSize("abc", font, -5).height, 3 * font.lineHeight(), 1e-9);
}

TEST(TextMeasurerTest, MalformedTextIsMeasuredWithoutHarm) {
    const Font font("Helvetica", 15);
    for (std::string text : {std::string("\xFF\xFE"), std::string("ab\xE3\x81"), std::string("a\0b", 3),
                             std::string("\xED\xA0\x80")}) {
        const ui::Size size = TextMeasurer::wrappedSize(text, font, 10);
        EXPECT_GT(size.width, 0);
        EXPECT_GE(size.height, font.lineHeight());
    }
}

TEST(TextMeasurerTest, ConcurrentMeasurementsAgree) {
    const Font font("Helvetica", 15);
    std::vector<std::string> texts;
    for (int i = 0; i < 200; ++i) texts.push_back("Item number " + std::to_string(i) + " こんにちは");
    std::vector<double> expected;
    for (const auto& t : texts) expected.push_back(TextMeasurer::wrappedSize(t, font, 80).height);
    TextMeasurer::clearCache();
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int k = 0; k < 4; ++k) {
        threads.emplace_back([&, k] {
            for (size_t i = 0; i < texts.size(); ++i) {
                if (TextMeasurer::wrappedSize(texts[i], font, 80).height != expected[i]) ++mismatches[k];
                TextMeasurer::singleLineSize(texts[i], Font("Helvetica Bold", 13 + k));
            }
        });
    }
    for (auto& t : threads) t.join();
    for (int m : mismatches) EXPECT_EQ(m, 0);
}

}  // namespace
