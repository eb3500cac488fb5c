#include "dialog/GetSizeHelper.h"

#include <algorithm>
#include <optional>

#include "dialog/Constants.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "ui/Font.h"
#include "ui/Screen.h"
#include "ui/TextMeasurer.h"

namespace brelka {

namespace {

constexpr double M = __left_right_margin;
constexpr double H = __component_horizontal_spacing;

ui::Size measured(std::string_view text, const char* face, double size) {
    return ui::TextMeasurer::singleLineSize(text, ui::Font(face, size));
}

// Item titles (not the dialog's title) are all measured alike.
ui::Size measuredTitle(std::string_view title) {
    return measured(title, kRegularFontName, __message_default_font_size);
}

ui::Size wrapped(std::string_view text, double width) {
    return ui::TextMeasurer::wrappedSize(
        text, ui::Font(kRegularFontName, __message_default_font_size), width);
}

// The store's "default-button" in its text form; nothing when it holds none.
std::optional<std::string> defaultButtonText() {
    const std::optional<Value> stored = Plugin::value(CFG::default_button);
    if (!stored) return std::nullopt;
    return valueAsText(*stored);
}

bool matchesDefault(const std::optional<std::string>& defaultText, std::int64_t number) {
    return defaultText ? *defaultText == std::to_string(number) : number == 1;
}

double widestEntry(const std::vector<std::string>& entries, double start) {
    double widest = start;
    for (const auto& entry : entries) {
        widest = std::max(widest, measuredTitle(entry).width);
    }
    return widest;
}

}  // namespace

double GetSizeHelper::wrapWidth() {
    return ui::Screen::main().bounds().width() - 16 - 2 * M - H;
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfTitleSection(std::string_view title) {
    const ui::Size text = measured(title, kBoldFontName, __title_default_font_size);
    return {text.width + 2 * M, text.height};
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfMessageSection(std::string_view message) {
    const ui::Size text = wrapped(message, wrapWidth());
    return {text.width + 2 * M, text.height};
}

GetSizeHelper::CaptionSize GetSizeHelper::getMinSizeOfCaptionSection(std::string_view title,
                                                                    std::string_view description) {
    const ui::Size titleSize = measuredTitle(title);
    const ui::Size text = wrapped(description, wrapWidth() - titleSize.width);
    return {titleSize.width, titleSize.width + text.width + 2 * M + H, titleSize.height, text.height};
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfCheckboxSection(std::string_view description) {
    const ui::Size text = measured(description, kRegularFontName, __switch_default_font_size);
    return {text.width + __switch_default_width + 2 * M + H, text.height};
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfRadioButtonSection(std::string_view description) {
    const ui::Size text = measured(description, kRegularFontName, __switch_default_font_size);
    return {text.width + __radio_default_size + 2 * M + H, __switch_default_height};
}

GetSizeHelper::TitledSize GetSizeHelper::getMinSizeOfTextFieldSection(std::string_view title,
                                                                     std::string_view placeholder) {
    const double titleWidth = measuredTitle(title).width;
    const double input = std::max(measuredTitle(placeholder).width, __textfield_default_min_width);
    return {titleWidth, titleWidth + input + 2 * M + H, __textfield_default_height};
}

GetSizeHelper::TextAreaSize GetSizeHelper::getMinSizeOfTextAreaSection(std::string_view title,
                                                                      std::int64_t lines) {
    const ui::Size titleSize = measuredTitle(title);
    return {titleSize.width, titleSize.width + __textfield_default_min_width + 2 * M + H,
            titleSize.height, static_cast<double>(textAreaHeightForLines(lines))};
}

GetSizeHelper::TitledSize GetSizeHelper::getMinSizeOfMenuSection(
    std::string_view title, std::string_view placeholder, const std::vector<std::string>& menu_items) {
    const double titleWidth = measuredTitle(title).width;
    const double items = widestEntry(menu_items, measuredTitle(placeholder).width);
    return {titleWidth, items + titleWidth + 2 * M + H, __tableview_default_cell_height};
}

GetSizeHelper::TitledSize GetSizeHelper::getMinSizeOfListSection(
    std::string_view title, const std::vector<std::string>& list_items, std::int64_t lines) {
    const double titleWidth = measuredTitle(title).width;
    const double items = widestEntry(list_items, 0);
    return {titleWidth, items + titleWidth + 4 * M + H,
            static_cast<double>(listHeightForLines(lines))};
}

GetSizeHelper::ImageSize GetSizeHelper::getMinSizeOfImageSection(std::string_view title,
                                                                const ImageRef& image) {
    const ui::Size titleSize = measuredTitle(title);
    const ui::Size imageSize = image ? image->size() : ui::Size{};
    return {titleSize.width, titleSize.height, titleSize.width + imageSize.width + 2 * M,
            imageSize.width, imageSize.height};
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfIconSection(const ImageRef& icon) {
    const ui::Size size = icon ? icon->size() : ui::Size{};
    return {size.width, size.height};
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfLinkButtonSection(std::string_view title) {
    const ui::Size text = measured(title, kRegularFontName, __link_button_default_font_size);
    return {text.width + 2 * M, text.height};
}

GetSizeHelper::Size GetSizeHelper::getMinSizeOfButtonSection(const std::vector<std::string>& button_names) {
    if (button_names.empty()) return {0, 0};
    // Read the store once, not once per button.
    const std::optional<std::string> defaultText = defaultButtonText();
    double widest = 0;
    for (std::size_t i = 0; i < button_names.size(); ++i) {
        const bool isDefault = matchesDefault(defaultText, static_cast<std::int64_t>(i) + 1);
        const char* face = isDefault ? kBoldFontName : kRegularFontName;
        widest = std::max(widest, measured(button_names[i], face, __button_default_font_size).width);
    }
    const double count = static_cast<double>(button_names.size());
    return {widest * count + 2 * __button_default_title_margin, __button_default_height};
}

double GetSizeHelper::recalculateHeight(std::string_view text, double left_width) {
    return wrapped(text, wrapWidth() - left_width).height;
}

bool GetSizeHelper::isDefaultButton(std::int64_t number) {
    return matchesDefault(defaultButtonText(), number);
}

}  // namespace brelka
