// The dialog's measuring operations against the real fonts: each section's size formula,
// the button row's default-button rule, the wrap width, and the line-count heights at the
// ends of the 64-bit range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <limits>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "dialog/Constants.h"
#include "dialog/GetSizeHelper.h"
#include "store/Plugin.h"
#include "ui/Font.h"
#include "ui/Image.h"
#include "ui/Screen.h"
#include "ui/TextMeasurer.h"

namespace brelka {
namespace {

using testing::StoreTest;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

ui::Size line(const std::string& text, const char* face, double size) {
    return ui::TextMeasurer::singleLineSize(text, ui::Font(face, size));
}
double width15(const std::string& text) { return line(text, "Helvetica", 15).width; }

class DialogMetricsTest : public StoreTest {
protected:
    void useScreenWidth(double width) {
        ui::ScreenProfile profile = ui::ScreenProfile::ipad();
        profile.size = ui::Size{width, 768};
        ui::Screen::main().setProfile(profile);
    }
};

TEST(LineCountHeight, GrowsPerLineAndSaturatesAtTheEndsOfTheRange) {
    struct Case {
        std::int64_t lines;
        std::int64_t textArea;
        std::int64_t list;
    };
    const std::vector<Case> cases = {
        {4, 83, 160},
        {1, 29, 40},
        {0, 11, 0},
        {5, 101, 200},
        {-2, -25, -80},
        {kMax, kMax, kMax},
        {kMax / 18, kMax, kMax},
        {kMin, kMin, kMin},
        {kMin + 1, kMin, kMin},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textAreaHeightForLines(c.lines), c.textArea) << c.lines;
        EXPECT_EQ(listHeightForLines(c.lines), c.list) << c.lines;
    }
    // Just inside the range nothing is clamped.
    const std::int64_t largest = (kMax - 29) / 18 + 1;
    EXPECT_EQ(textAreaHeightForLines(largest), 18 * (largest - 1) + 29);
    EXPECT_EQ(textAreaHeightForLines(largest + 1), kMax);
    EXPECT_EQ(listHeightForLines(kMax / 40), kMax / 40 * 40);
    EXPECT_EQ(listHeightForLines(kMax / 40 + 1), kMax);
}

TEST_F(DialogMetricsTest, WrapWidthIsTheScreenWidthLessFiftyThree) {
    for (double width : {1024.0, 390.0, 40.0}) {
        useScreenWidth(width);
        EXPECT_DOUBLE_EQ(GetSizeHelper::wrapWidth(), width - 53);
    }
}

TEST_F(DialogMetricsTest, OneLineSectionsAddTheirFixedPartsToTheMeasuredText) {
    const std::string text = "Remember this device";
    const ui::Size bold20 = line(text, "Helvetica Bold", 20);
    const ui::Size regular15 = line(text, "Helvetica", 15);
    ASSERT_GT(bold20.width, regular15.width);

    const auto title = GetSizeHelper::getMinSizeOfTitleSection(text);
    EXPECT_DOUBLE_EQ(title.width, bold20.width + 32);
    EXPECT_DOUBLE_EQ(title.height, bold20.height);

    const auto checkbox = GetSizeHelper::getMinSizeOfCheckboxSection(text);
    EXPECT_DOUBLE_EQ(checkbox.width, regular15.width + 51 + 32 + 5);
    EXPECT_DOUBLE_EQ(checkbox.height, regular15.height);

    const auto radio = GetSizeHelper::getMinSizeOfRadioButtonSection(text);
    EXPECT_DOUBLE_EQ(radio.width, regular15.width + 22 + 32 + 5);
    EXPECT_DOUBLE_EQ(radio.height, 31);

    const auto link = GetSizeHelper::getMinSizeOfLinkButtonSection(text);
    EXPECT_DOUBLE_EQ(link.width, regular15.width + 32);
    EXPECT_DOUBLE_EQ(link.height, regular15.height);
}

TEST_F(DialogMetricsTest, EmptyTextsMeasureNothingWide) {
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfTitleSection("").width, 32);
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfMessageSection("").width, 32);
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfCheckboxSection("").width, 51 + 37);
    const auto field = GetSizeHelper::getMinSizeOfTextFieldSection("", "");
    EXPECT_DOUBLE_EQ(field.title_width, 0);
    EXPECT_DOUBLE_EQ(field.total_width, 150 + 37);
    const auto caption = GetSizeHelper::getMinSizeOfCaptionSection("", "");
    EXPECT_DOUBLE_EQ(caption.total_width, 37);
    EXPECT_DOUBLE_EQ(caption.description_height, 0);
}

TEST_F(DialogMetricsTest, MessageWrapsWithinTheWrapWidth) {
    useScreenWidth(390);
    const std::string message(60, 'w');
    const std::string words = "The quick brown fox jumps over the lazy dog again and again and again";
    for (const std::string& text : {message, words, std::string("Short")}) {
        const ui::Size wrapped =
            ui::TextMeasurer::wrappedSize(text, ui::Font("Helvetica", 15), 390 - 53);
        const auto size = GetSizeHelper::getMinSizeOfMessageSection(text);
        EXPECT_DOUBLE_EQ(size.width, wrapped.width + 32) << text;
        EXPECT_DOUBLE_EQ(size.height, wrapped.height) << text;
        EXPECT_LE(size.width, 390 - 53 + 32) << text;
    }
    EXPECT_GT(GetSizeHelper::getMinSizeOfMessageSection(words).height,
              GetSizeHelper::getMinSizeOfMessageSection("Short").height);
}

TEST_F(DialogMetricsTest, ALongerCaptionTitleLeavesLessRoomSoTheDescriptionWrapsHigher) {
    useScreenWidth(500);
    const std::string description =
        "Your changes are kept on this device until the next successful synchronisation.";
    const auto shortTitle = GetSizeHelper::getMinSizeOfCaptionSection("Note", description);
    const auto longTitle =
        GetSizeHelper::getMinSizeOfCaptionSection("A considerably longer caption title", description);
    EXPECT_GT(longTitle.description_height, shortTitle.description_height);

    const double titleWidth = width15("Note");
    const ui::Size wrapped =
        ui::TextMeasurer::wrappedSize(description, ui::Font("Helvetica", 15), 500 - 53 - titleWidth);
    EXPECT_DOUBLE_EQ(shortTitle.title_width, titleWidth);
    EXPECT_DOUBLE_EQ(shortTitle.total_width, titleWidth + wrapped.width + 32 + 5);
    EXPECT_DOUBLE_EQ(shortTitle.description_height, wrapped.height);
    EXPECT_DOUBLE_EQ(shortTitle.title_height, line("Note", "Helvetica", 15).height);
}

TEST_F(DialogMetricsTest, TextFieldInputIsAtLeastOneHundredFiftyWide) {
    const std::string longPlaceholder = "someone.with.a.long.name@example.org";
    ASSERT_GT(width15(longPlaceholder), 150);
    struct Case {
        std::string placeholder;
        double input;
    };
    const std::vector<Case> cases = {
        {"", 150},
        {"abc", 150},
        {longPlaceholder, width15(longPlaceholder)},
    };
    for (const auto& c : cases) {
        const auto size = GetSizeHelper::getMinSizeOfTextFieldSection("Email", c.placeholder);
        EXPECT_DOUBLE_EQ(size.title_width, width15("Email"));
        EXPECT_DOUBLE_EQ(size.total_width, width15("Email") + c.input + 37) << c.placeholder;
        EXPECT_DOUBLE_EQ(size.height, 30);
    }
}

TEST_F(DialogMetricsTest, TextAreaMenuAndListHeights) {
    struct Case {
        std::int64_t lines;
        double textArea;
        double list;
    };
    for (const Case& c : {Case{4, 83, 160}, Case{0, 11, 0}, Case{5, 101, 200},
                          Case{kMax, static_cast<double>(kMax), static_cast<double>(kMax)}}) {
        const auto area = GetSizeHelper::getMinSizeOfTextAreaSection("Notes", c.lines);
        EXPECT_DOUBLE_EQ(area.height, c.textArea) << c.lines;
        EXPECT_DOUBLE_EQ(area.total_width, width15("Notes") + 150 + 37);
        const auto list = GetSizeHelper::getMinSizeOfListSection("Fruit", {"Apple", "Pear"}, c.lines);
        EXPECT_DOUBLE_EQ(list.height, c.list) << c.lines;
    }
    const std::vector<std::string> few = {"Red"};
    const std::vector<std::string> many(200, "Blue");
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfMenuSection("Colour", "Pick", few).height, 40);
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfMenuSection("Colour", "Pick", many).height, 40);
}

TEST_F(DialogMetricsTest, MenuAndListTakeTheirWidestEntry) {
    const std::vector<std::string> entries = {"Red", "-", "Ultramarine blue", "Green"};
    const double widest = width15("Ultramarine blue");
    const double title = width15("Colour");

    // The placeholder counts for a menu, and wins when it is the widest text.
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfMenuSection("Colour", "Pick", entries).total_width,
                     widest + title + 37);
    const std::string wide = "Please pick one of the colours";
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfMenuSection("Colour", wide, entries).total_width,
                     width15(wide) + title + 37);

    // A list has twice the margins and no placeholder.
    const auto list = GetSizeHelper::getMinSizeOfListSection("Colour", entries, 3);
    EXPECT_DOUBLE_EQ(list.title_width, title);
    EXPECT_DOUBLE_EQ(list.total_width, widest + title + 4 * 16 + 5);
}

TEST_F(DialogMetricsTest, ImagesAndIconsMeasureTheirOwnSize) {
    const std::vector<std::uint8_t> pixels(7 * 3 * 4, 0xff);
    const auto image = ui::Image::fromPixels(7, 3, pixels);
    ASSERT_TRUE(image);
    const auto section = GetSizeHelper::getMinSizeOfImageSection("Logo", image);
    EXPECT_DOUBLE_EQ(section.title_width, width15("Logo"));
    EXPECT_DOUBLE_EQ(section.image_width, 7);
    EXPECT_DOUBLE_EQ(section.image_height, 3);
    EXPECT_DOUBLE_EQ(section.total_width, width15("Logo") + 7 + 32);

    const auto icon = GetSizeHelper::getMinSizeOfIconSection(image);
    EXPECT_DOUBLE_EQ(icon.width, 7);
    EXPECT_DOUBLE_EQ(icon.height, 3);

    // No image (a container that held none) measures as nothing instead of failing.
    const auto none = GetSizeHelper::getMinSizeOfImageSection("", nullptr);
    EXPECT_DOUBLE_EQ(none.total_width, 32);
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfIconSection(nullptr).height, 0);
}

TEST_F(DialogMetricsTest, ButtonRowMeasuresTheDefaultButtonInBold) {
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfButtonSection({}).width, 0);
    EXPECT_DOUBLE_EQ(GetSizeHelper::getMinSizeOfButtonSection({}).height, 0);

    // Titles chosen so that which one is bold decides the widest.
    const std::vector<std::string> names = {"Continue", "Contin\u00fce"};
    const double bold = line("Continue", "Helvetica Bold", 18).width;
    const double boldSecond = line("Contin\u00fce", "Helvetica Bold", 18).width;
    const double regular = std::max(line("Continue", "Helvetica", 18).width,
                                    line("Contin\u00fce", "Helvetica", 18).width);
    ASSERT_GT(std::min(bold, boldSecond), regular);

    struct Case {
        std::optional<Value> stored;
        double widest;
        bool firstIsDefault;
        bool secondIsDefault;
    };
    const std::vector<Case> cases = {
        {std::nullopt, std::max(bold, line("Contin\u00fce", "Helvetica", 18).width), true, false},
        {Value(std::string("1")), std::max(bold, line("Contin\u00fce", "Helvetica", 18).width), true, false},
        {Value(std::string("2")), std::max(boldSecond, line("Continue", "Helvetica", 18).width), false, true},
        {Value(2.0), std::max(boldSecond, line("Continue", "Helvetica", 18).width), false, true},
        {Value(std::string("7")), regular, false, false},
        {Value(std::string("2.0")), regular, false, false},
    };
    for (const auto& c : cases) {
        Plugin::setValue(CFG::default_button, c.stored);
        const auto size = GetSizeHelper::getMinSizeOfButtonSection(names);
        EXPECT_DOUBLE_EQ(size.width, 2 * c.widest + 50);
        EXPECT_DOUBLE_EQ(size.height, 50);
        EXPECT_EQ(GetSizeHelper::isDefaultButton(1), c.firstIsDefault);
        EXPECT_EQ(GetSizeHelper::isDefaultButton(2), c.secondIsDefault);
    }
}

TEST_F(DialogMetricsTest, OkAndCancelMeasureOkBold) {
    const auto size = GetSizeHelper::getMinSizeOfButtonSection({"OK", "Cancel"});
    const double expected = std::max(line("OK", "Helvetica Bold", 18).width,
                                     line("Cancel", "Helvetica", 18).width);
    EXPECT_DOUBLE_EQ(size.width, 2 * expected + 50);
}

TEST_F(DialogMetricsTest, RecalculateHeightWrapsWithinTheRoomLeftOfTheColumn) {
    useScreenWidth(600);
    const std::string text = "A message long enough to need more lines once a left column takes room.";
    const double open = GetSizeHelper::recalculateHeight(text, 0);
    const double narrowed = GetSizeHelper::recalculateHeight(text, 300);
    EXPECT_DOUBLE_EQ(open, GetSizeHelper::getMinSizeOfMessageSection(text).height);
    EXPECT_GT(narrowed, open);
    EXPECT_DOUBLE_EQ(narrowed,
                     ui::TextMeasurer::wrappedSize(text, ui::Font("Helvetica", 15), 600 - 53 - 300).height);
    // A column wider than the screen leaves no room at all; the text still gets a finite height.
    const double squeezed = GetSizeHelper::recalculateHeight(text, 5000);
    EXPECT_TRUE(std::isfinite(squeezed));
    EXPECT_GT(squeezed, narrowed);
}

}  // namespace
}  // namespace brelka
