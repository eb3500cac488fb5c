// The display components: where their inner views go with and without a title column, that a
// rebuild leaves exactly one copy of each inner view, the link's tap, and the two shared text
// operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "components/CustomCaption.h"
#include "components/CustomIcon.h"
#include "components/CustomImage.h"
#include "components/CustomLinkButton.h"
#include "components/CustomMessage.h"
#include "components/CustomSeparator.h"
#include "components/CustomTitle.h"
#include "components/Extensions.h"
#include "ui/Application.h"
#include "ui/Image.h"
#include "ui/RunLoop.h"

namespace brelka {
namespace {

std::size_t copiesOf(const ui::View& parent, const ui::View* child) {
    return static_cast<std::size_t>(std::count_if(
        parent.subviews().begin(), parent.subviews().end(),
        [child](const std::shared_ptr<ui::View>& v) { return v.get() == child; }));
}

std::shared_ptr<const ui::Image> solidImage(int width, int height) {
    const std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height * 4), 0x80);
    return ui::Image::fromPixels(width, height, pixels);
}

TEST(DisplayComponents, TitleAndMessageSpanTheWidthLessTheMargins) {
    auto title = std::make_shared<CustomTitle>("Sign in", 0, 0, 300, 24);
    EXPECT_EQ(title->frame(), ui::Rect(0, 0, 300, 24));
    EXPECT_EQ(title->_title_label->frame(), ui::Rect(16, 0, 268, 24));
    EXPECT_EQ(title->_title_label->font(), (ui::FontSpec{"Helvetica Bold", 20}));
    EXPECT_EQ(title->_title_label->textAlignment(), ui::TextAlignment::center);

    auto message = std::make_shared<CustomMessage>("Please enter your name.", 0, 0, 300, 36);
    EXPECT_EQ(message->_message_label->frame(), ui::Rect(16, 0, 268, 36));
    EXPECT_EQ(message->_message_label->numberOfLines(), 0);
    EXPECT_EQ(message->_message_label->lineBreakMode(), ui::LineBreakMode::wordWrap);
    EXPECT_EQ(message->_message_label->font(), (ui::FontSpec{"Helvetica", 15}));

    // The controller widens them and places them; the rebuild applies both.
    message->_width = 500;
    message->_y = 80;
    message->updateSize();
    EXPECT_EQ(message->frame(), ui::Rect(0, 80, 500, 36));
    EXPECT_EQ(message->_message_label->frame(), ui::Rect(16, 0, 468, 36));
}

TEST(DisplayComponents, CaptionAndImageStartBesideTheTitleColumnOrAtTheMargin) {
    struct Case {
        double titleWidth;
        double innerX;
        double descriptionWidth;
    };
    // Total width 400: with a column of 80 the description starts at 16 + 80 + 5 and is
    // 400 − 32 − 5 − 80 wide; without one it starts at the margin, without the spacing.
    for (const Case& c : {Case{80, 101, 283}, Case{0, 16, 368}}) {
        auto caption = std::make_shared<CustomCaption>("Note", "Some text", 0, 0, c.titleWidth, 400, 18, 54);
        EXPECT_EQ(caption->frame(), ui::Rect(0, 0, 400, 54));
        EXPECT_EQ(caption->_title_label->frame(), ui::Rect(16, 0, c.titleWidth, 18));
        EXPECT_EQ(caption->_title_label->textAlignment(), ui::TextAlignment::right);
        EXPECT_EQ(caption->_description_label->frame(), ui::Rect(c.innerX, 0, c.descriptionWidth, 54));

        auto image = std::make_shared<CustomImage>("Logo", solidImage(2, 2), 0, 0, c.titleWidth, 120, 400, 18, 60);
        EXPECT_EQ(image->frame(), ui::Rect(0, 0, 400, 60));
        EXPECT_EQ(image->_title_label->frame(), ui::Rect(16, 0, c.titleWidth, 18));
        EXPECT_EQ(image->_image_view->frame(), ui::Rect(c.innerX, 0, 120, 60));
        EXPECT_EQ(image->_image_view->image(), image->_image);
    }
}

TEST(DisplayComponents, LinkFollowsTheLeftColumn) {
    auto link = std::make_shared<CustomLinkButton>("Terms", "https://example.org/terms", 0, 0, 0, 90, 18);
    EXPECT_EQ(link->frame(), ui::Rect(0, 0, 90, 18));
    EXPECT_EQ(link->_link_button->frame(), ui::Rect(16, 0, 90, 18));

    link->_width_left = 60;
    link->_width = 300;
    link->updateSize();
    EXPECT_EQ(link->frame(), ui::Rect(0, 0, 360, 18));
    EXPECT_EQ(link->_link_button->frame(), ui::Rect(16 + 60 + 5, 0, 300 - 60, 18));

    const auto title = link->_link_button->attributedTitle();
    ASSERT_TRUE(title.has_value());
    ASSERT_EQ(title->runs.size(), 1u);
    EXPECT_EQ(title->runs[0].text, "Terms");
    EXPECT_TRUE(title->runs[0].underline);
    EXPECT_EQ(title->runs[0].color, (ui::Color{0, 0, 1, 1}));
    EXPECT_EQ(title->runs[0].font.size, 15);
    EXPECT_EQ(link->_link_button->contentHorizontalAlignment(), ui::ContentHorizontalAlignment::left);
}

TEST(DisplayComponents, TappingALinkOpensItLaterAndLeavesItsText) {
    ui::RunLoop::main().clear();
    ui::RunLoop::main().useVirtualClock();
    ui::Application::shared().clearOpenedURLs();
    auto link = std::make_shared<CustomLinkButton>("Help", "https://example.org/help", 0, 0, 0, 60, 18);

    link->_link_button->sendActions(ui::ControlEvent::touchUpInside);
    EXPECT_TRUE(ui::Application::shared().openedURLs().empty()) << "opened inside the tap";
    link->_link_button->sendActions(ui::ControlEvent::touchUpInside);
    ui::RunLoop::main().runUntilIdle();
    EXPECT_EQ(ui::Application::shared().openedURLs(),
              (std::vector<std::string>{"https://example.org/help", "https://example.org/help"}));
    EXPECT_EQ(link->_link_button->attributedTitle()->string(), "Help");

    // A button kept beyond its component's life still opens its link and touches nothing freed.
    const std::shared_ptr<ui::Button> kept = link->_link_button;
    link.reset();
    kept->sendActions(ui::ControlEvent::touchUpInside);
    ui::RunLoop::main().runUntilIdle();
    EXPECT_EQ(ui::Application::shared().openedURLs().size(), 3u);
    ui::Application::shared().clearOpenedURLs();
}

TEST(DisplayComponents, IconIsCentredOverTheViewWidthOnceTheControllerSetsIt) {
    auto icon = std::make_shared<CustomIcon>(solidImage(32, 32), 0, 0, 32, 32);
    EXPECT_EQ(icon->_view_width, 0);
    EXPECT_EQ(icon->_icon_view->frame(), ui::Rect(-16, 0, 32, 32));
    icon->_view_width = 300;
    icon->updateSize();
    EXPECT_EQ(icon->frame(), ui::Rect(0, 0, 300, 32));
    EXPECT_EQ(icon->_icon_view->frame(), ui::Rect(134, 0, 32, 32));
    EXPECT_EQ(icon->_icon_view->image(), icon->_icon);
}

TEST(DisplayComponents, SeparatorLineSitsInTheMiddleOfItsStrip) {
    auto separator = std::make_shared<CustomSeparator>(0, 0, 300, 21);
    EXPECT_EQ(separator->_separator->frame(), ui::Rect(16, 10, 268, 1));
    EXPECT_EQ(separator->_separator->backgroundColor(), (ui::Color{0.5, 0.5, 0.5, 1}));
    separator->_x = 7;  // the line ignores _x, as it is always 0 in the dialog
    separator->_width = 500;
    separator->updateSize();
    EXPECT_EQ(separator->_separator->frame(), ui::Rect(16, 10, 468, 1));
}

// Every component after any number of rebuilds: exactly its inner views, one copy each, and
// the current variable views (not stale ones).
TEST(DisplayComponents, RebuildsLeaveExactlyOneCopyOfEachInnerView) {
    auto title = std::make_shared<CustomTitle>("", 0, 0, 100, 20);
    auto message = std::make_shared<CustomMessage>("", 0, 0, 100, 20);
    auto caption = std::make_shared<CustomCaption>("", "", 0, 0, 0, 100, 0, 0);
    auto separator = std::make_shared<CustomSeparator>(0, 0, 100, 21);
    auto icon = std::make_shared<CustomIcon>(nullptr, 0, 0, 0, 0);
    auto image = std::make_shared<CustomImage>("", nullptr, 0, 0, 0, 0, 100, 0, 0);
    auto link = std::make_shared<CustomLinkButton>("", "", 0, 0, 0, 100, 20);
    for (int round = 0; round < 3; ++round) {
        const ui::View* oldSeparator = separator->_separator.get();
        title->updateSize();
        message->updateSize();
        caption->updateSize();
        separator->updateSize();
        icon->updateSize();
        image->updateSize();
        link->updateSize();
        EXPECT_NE(separator->_separator.get(), oldSeparator);
    }
    const std::vector<std::pair<ui::View*, std::vector<const ui::View*>>> expected = {
        {title.get(), {title->_title_label.get()}},
        {message.get(), {message->_message_label.get()}},
        {caption.get(), {caption->_title_label.get(), caption->_description_label.get()}},
        {separator.get(), {separator->_separator.get()}},
        {icon.get(), {icon->_icon_view.get()}},
        {image.get(), {image->_title_label.get(), image->_image_view.get()}},
        {link.get(), {link->_link_button.get()}},
    };
    for (const auto& [component, inner] : expected) {
        EXPECT_EQ(component->subviews().size(), inner.size());
        for (const ui::View* view : inner) EXPECT_EQ(copiesOf(*component, view), 1u);
    }
    // Empty texts give labels that are present and empty.
    EXPECT_EQ(title->_title_label->text(), "");
    EXPECT_EQ(caption->_description_label->text(), "");
}

TEST(DisplayComponents, DescribeThemselvesToReadersOfTheTree) {
    using Texts = std::vector<std::pair<std::string, std::string>>;
    const std::vector<std::pair<std::shared_ptr<ui::View>, std::pair<std::string, Texts>>> cases = {
        {std::make_shared<CustomTitle>("Sign in", 0, 0, 1, 1), {"CustomTitle", {{"title", "Sign in"}}}},
        {std::make_shared<CustomMessage>("Hello", 0, 0, 1, 1), {"CustomMessage", {{"message", "Hello"}}}},
        {std::make_shared<CustomCaption>("Note", "Text", 0, 0, 0, 1, 0, 0),
         {"CustomCaption", {{"title", "Note"}, {"description", "Text"}}}},
        {std::make_shared<CustomSeparator>(0, 0, 1, 21), {"CustomSeparator", {}}},
        {std::make_shared<CustomIcon>(nullptr, 0, 0, 0, 0), {"CustomIcon", {}}},
        {std::make_shared<CustomImage>("Logo", nullptr, 0, 0, 0, 0, 1, 0, 0), {"CustomImage", {{"title", "Logo"}}}},
        {std::make_shared<CustomLinkButton>("Help", "https://example.org", 0, 0, 0, 1, 1),
         {"CustomLinkButton", {{"title", "Help"}, {"link", "https://example.org"}}}},
    };
    for (const auto& [view, expected] : cases) {
        const ui::Inspection inspection = view->inspect();
        EXPECT_EQ(inspection.className, expected.first);
        EXPECT_EQ(inspection.texts, expected.second) << expected.first;
        EXPECT_FALSE(inspection.value.has_value()) << expected.first;
        EXPECT_FALSE(inspection.display.has_value()) << expected.first;
    }
}

TEST(TextOperations, ToBoolReadsOnlyTheExactSpellings) {
    struct Case {
        const char* text;
        std::optional<bool> expected;
    };
    const std::vector<Case> cases = {
        {"True", true},   {"true", true},   {"yes", true},     {"1", true},
        {"False", false}, {"false", false}, {"no", false},     {"0", false},
        {"TRUE", {}},     {"Yes", {}},      {" true", {}},     {"", {}},
        {"true ", {}},    {"2", {}},        {"NO", {}},        {"01", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(toBool(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextOperations, ReplacingTheLastOccurrence) {
    struct Case {
        const char* text;
        const char* search;
        const char* replacement;
        bool caseInsensitive;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"a_b_b", "B", "x", true, "a_b_x"},
        {"a_b_b", "B", "x", false, "a_b_b"},
        {"a_b_b", "b", "x", false, "a_b_x"},
        {"one, two, three", ", ", " and ", true, "one, two and three"},
        {"abc", "", "x", true, "abc"},
        {"abc", "d", "x", true, "abc"},
        {"", "a", "x", true, ""},
        {"ab", "abc", "x", true, "ab"},
        {"aaa", "aa", "b", true, "ab"},
        // Letters beyond ASCII fold too, and the replacement keeps the bytes around it.
        {"\u00c4pfel und \u00c4pfel", "\u00e4pfel", "Birnen", true, "\u00c4pfel und Birnen"},
        {"Stra\u00dfe", "STRA", "Wege", true, "Wege\u00dfe"},
        // Invalid bytes only match themselves.
        {"a\xff" "b\xff", "\xff", "!", true, "a\xff" "b!"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(replacingLastOccurrenceOfString(c.text, c.search, c.replacement, c.caseInsensitive),
                  c.expected)
            << c.text << " / " << c.search;
    }
    EXPECT_EQ(replacingLastOccurrenceOfString("a_b_b", "B", "x"), "a_b_x") << "ignores case by default";
}

}  // namespace
}  // namespace brelka
