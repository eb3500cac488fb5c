#include "parser/InputDialogParamParser.h"

#include <uriparser/Uri.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "components/Extensions.h"
#include "dialog/InputDialog.h"
#include "parser/SupportedTypes.h"
#include "parser/SupportedValidations.h"
#include "store/Config.h"
#include "store/Plugin.h"
#include "store/Saturating.h"

namespace brelka {

namespace {

constexpr char kLineDelimiter = PARAMETER_DELIMITER[0];
static_assert(PARAMETER_DELIMITER.size() == 1);

// Lower-cases a text the way the keyword comparisons need: Unicode's full case mapping in the
// root locale, so that a keyword written with, say, the Kelvin sign still matches. Plain ASCII,
// by far the common case, takes the short road.
std::string lowercased(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return out;
    }
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX))));
    unicode.toLower(icu::Locale::getRoot());
    std::string out;
    unicode.toUTF8String(out);
    return out;
}

bool equalsIgnoringCase(std::string_view text, std::string_view keyword) {
    return lowercased(text) == lowercased(keyword);
}

// "lines" and "minlines" values: an optional sign, then decimal digits only, in 64 bits.
std::optional<std::int64_t> parseOptionInteger(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    // from_chars reads a leading "-" but not a "+"; the sign was checked above.
    if (text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;  // beyond 64 bits
    }
    return value;
}

const std::string* asText(const Value* value) {
    return value ? std::get_if<std::string>(value) : nullptr;
}

// Numbers and booleans both arrive as number objects; a boolean is the number 0 or 1.
std::optional<double> asNumber(const Value* value) {
    if (!value) return std::nullopt;
    if (auto number = std::get_if<double>(value)) return *number;
    if (auto flag = std::get_if<bool>(value)) return *flag ? 1.0 : 0.0;
    return std::nullopt;
}

// A number object whose value is exactly an integer. Beyond 64 bits it saturates when used.
std::optional<std::int64_t> asWholeNumber(const Value* value) {
    std::optional<double> number = asNumber(value);
    if (!number || !std::isfinite(*number) || std::trunc(*number) != *number) {
        return std::nullopt;
    }
    return saturatingInt64(*number);
}

ImageRef asImage(const Value* value) {
    if (!value) return nullptr;
    if (auto image = std::get_if<ImageRef>(value)) return *image;
    return nullptr;
}

// The state of a check box or radio button: a number is true unless it is 0; a text must be
// one of toBool's words. Anything else is no state.
std::optional<bool> asState(const Value* value) {
    if (std::optional<double> number = asNumber(value)) {
        return *number != 0;
    }
    if (const std::string* text = asText(value)) {
        return toBool(*text);
    }
    return std::nullopt;
}

std::int64_t lineCount(const std::vector<std::string>& lines) {
    return static_cast<std::int64_t>(lines.size());
}

// The parameters of one call by their index. The keys need not be consecutive: arguments that
// cannot be converted (dates, times, containers without an image) leave their key out, and
// the walk must go on past such a gap to the last argument.
class ParameterWalk {
public:
    explicit ParameterWalk(const Dictionary& parameters) {
        constexpr std::string_view prefix = "param_";
        for (const auto& [key, value] : parameters) {
            if (!key.starts_with(prefix)) continue;
            std::string_view digits = std::string_view(key).substr(prefix.size());
            // Only the canonical decimal form names an argument ("param_01" does not).
            if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) continue;
            std::int64_t index = 0;
            auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
            // The ceiling leaves room for the walk's index arithmetic.
            if (error != std::errc() || end != digits.data() + digits.size() || index < 0 ||
                index > kHighestIndex) {
                continue;
            }
            entries_.emplace_back(index, &value);
        }
        std::sort(entries_.begin(), entries_.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    // The index of the last argument, -1 when there is none.
    std::int64_t last() const { return entries_.empty() ? -1 : entries_.back().first; }

    // The value of argument `index`, null when its key is absent.
    const Value* at(std::int64_t index) const {
        auto found = std::lower_bound(entries_.begin(), entries_.end(), index,
                                      [](const auto& entry, std::int64_t i) { return entry.first < i; });
        return found != entries_.end() && found->first == index ? found->second : nullptr;
    }

    // The first present index after `index`, or last() + 1 when there is none.
    std::int64_t nextPresentAfter(std::int64_t index) const {
        auto found = std::upper_bound(entries_.begin(), entries_.end(), index,
                                      [](std::int64_t i, const auto& entry) { return i < entry.first; });
        return found != entries_.end() ? found->first : last() + 1;
    }

private:
    static constexpr std::int64_t kHighestIndex = std::int64_t{1} << 62;
    std::vector<std::pair<std::int64_t, const Value*>> entries_;
};

// One item section being parsed: its lines, where it stands, and the controller it fills.
// Each kind answers false for an invalid description, or adds its component and answers the
// new walk position (the last parameter it consumed).
class ItemParser {
public:
    ItemParser(const ParameterWalk& walk, InputDialog& controller, std::int64_t position,
               std::vector<std::string> lines)
        : walk_(walk), controller_(controller), i_(position), lines_(std::move(lines)) {}

    // The new walk position, or nothing when the description is invalid.
    std::optional<std::int64_t> parse(supported_types kind) {
        switch (kind) {
        case supported_types::textfield: return textField(false);
        case supported_types::passwordfield: return textField(true);
        case supported_types::checkbox: return toggle(false);
        case supported_types::radiobutton: return toggle(true);
        case supported_types::menu: return lines_.size() == 1 ? untitledMenu() : titledMenu();
        case supported_types::list: return lines_.size() == 1 ? untitledList() : titledList();
        case supported_types::textarea: return textArea();
        case supported_types::caption: return caption();
        case supported_types::separator: return separator();
        case supported_types::image: return image();
        case supported_types::link: return link();
        }
        return std::nullopt;
    }

private:
    static constexpr std::nullopt_t kInvalid = std::nullopt;

    bool hasOptions() const { return lines_.size() >= 3; }
    const std::string& title() const { return lines_.size() >= 2 ? lines_[1] : kNoTitle; }
    const Value* value(int k) const { return walk_.at(i_ + k); }

    // The options of a section with option lines; a section without them has the defaults.
    std::optional<ItemOptions> options() const {
        if (!hasOptions()) {
            ItemOptions defaults;
            defaults.ok = true;
            return defaults;
        }
        ItemOptions options = InputDialogParamParser::checkForMoreOptions(lines_);
        if (!options.ok) return std::nullopt;
        return options;
    }

    std::optional<std::int64_t> textField(bool password) {
        std::optional<ItemOptions> opts = options();
        if (!opts) return kInvalid;
        const Value* v1 = value(1);
        if (!v1) return kInvalid;
        controller_.addTextFieldComponent(title(), password, valueAsText(*v1), opts->validation,
                                          opts->filemaker_validation, opts->focus);
        return i_ + 1;
    }

    std::optional<std::int64_t> textArea() {
        constexpr std::int64_t kDefaultRows = 4;
        std::optional<ItemOptions> opts = options();
        if (!opts) return kInvalid;
        std::int64_t rows = kDefaultRows;
        bool focus = false;
        if (hasOptions()) {
            // A text area takes no validation, no least row count, and no fewer than four rows.
            if (!opts->validation.empty() || opts->filemaker_validation || opts->minlines != 0 ||
                (opts->lines != 0 && opts->lines < kDefaultRows)) {
                return kInvalid;
            }
            rows = opts->lines;
            focus = opts->focus;
        }
        const std::string* placeholder = asText(value(1));
        if (!placeholder) return kInvalid;
        controller_.addTextAreaComponent(title(), rows, *placeholder, focus);
        return i_ + 1;
    }

    std::optional<std::int64_t> caption() {
        if (!options()) return kInvalid;
        const std::string* description = asText(value(1));
        if (!description) return kInvalid;
        controller_.addCaptionComponent(title(), *description);
        return i_ + 1;
    }

    // A separator reads no line but its first, so even malformed options are no error, and it
    // takes no value parameter.
    std::optional<std::int64_t> separator() {
        controller_.addSeparatorComponent();
        return i_;
    }

    std::optional<std::int64_t> image() {
        if (!options()) return kInvalid;
        ImageRef picture = asImage(value(1));
        if (!picture) return kInvalid;
        controller_.addImageComponent(title(), std::move(picture));
        return i_ + 1;
    }

    // The section's second line is the address; the value parameter is the visible title.
    std::optional<std::int64_t> link() {
        if (lines_.size() < 2) return kInvalid;
        if (!options()) return kInvalid;
        const std::string* shown = asText(value(1));
        if (!shown) return kInvalid;
        if (!InputDialogParamParser::isURL(lines_[1])) return kInvalid;
        controller_.addLinkButtonComponent(*shown, lines_[1]);
        return i_ + 1;
    }

    std::optional<std::int64_t> toggle(bool radio) {
        if (!options()) return kInvalid;
        std::optional<bool> state = asState(value(1));
        if (!state) return kInvalid;
        if (radio) {
            controller_.addRadioButtonComponent(title(), *state);
        } else {
            controller_.addCheckboxComponent(title(), *state);
        }
        return i_ + 1;
    }

    // menu¶T[¶O], then either entries and a choice, or return identifiers, entries and a
    // choice; the second shape is recognised by the identifiers counting as many lines as the
    // entries have non-separator lines.
    std::optional<std::int64_t> titledMenu() {
        if (!options()) return kInvalid;
        const std::string* v1 = asText(value(1));
        if (!v1) return kInvalid;
        const Value* v2 = value(2);
        if (!v2) return kInvalid;
        std::vector<std::string> first = InputDialogParamParser::getStringArrayFromString(*v1);
        if (const std::string* v2text = asText(v2)) {
            if (lineCount(first) == InputDialogParamParser::getMenuArrayCount(*v2text)) {
                const Value* v3 = value(3);
                if (!v3) return kInvalid;
                std::vector<std::string> entries = InputDialogParamParser::getStringArrayFromString(*v2text);
                std::string placeholder = InputDialogParamParser::getPlaceholderForMenu(v3, entries);
                controller_.addMenuComponent(title(), placeholder, entries, first);
                return i_ + 3;
            }
        } else if (!asWholeNumber(v2)) {
            // A fractional number or an image as the choice: the item is dropped and its first
            // value is read as the next section.
            return i_;
        }
        std::string placeholder = InputDialogParamParser::getPlaceholderForMenu(v2, first);
        controller_.addMenuComponent(title(), placeholder, first, first);
        return i_ + 2;
    }

    // menu alone: the choice must be a text and is shown as it is.
    std::optional<std::int64_t> untitledMenu() {
        const std::string* v1 = asText(value(1));
        const std::string* v2 = asText(value(2));
        if (!v1 || !v2) return kInvalid;
        std::vector<std::string> first = InputDialogParamParser::getStringArrayFromString(*v1);
        if (InputDialogParamParser::getMenuArrayCount(*v2) == lineCount(first)) {
            const std::string* v3 = asText(value(3));
            if (!v3) return kInvalid;
            controller_.addMenuComponent("", *v3, InputDialogParamParser::getStringArrayFromString(*v2), first);
            return i_ + 3;
        }
        controller_.addMenuComponent("", *v2, first, first);
        return i_ + 2;
    }

    // list¶T[¶O], then either rows and a choice, or return identifiers, rows (as many lines as
    // the identifiers) and a choice.
    std::optional<std::int64_t> titledList() {
        std::optional<ItemOptions> opts = options();
        if (!opts) return kInvalid;
        const std::string* v1 = asText(value(1));
        if (!v1) return kInvalid;
        const Value* v2 = value(2);
        if (!v2) return kInvalid;
        std::vector<std::string> first = InputDialogParamParser::getStringArrayFromString(*v1);
        auto visibleRows = [&](const std::vector<std::string>& rows) {
            return hasOptions() ? InputDialogParamParser::getListLinesCount(lineCount(rows), opts->minlines, opts->lines)
                                : lineCount(rows);
        };
        if (const std::string* v2text = asText(v2)) {
            std::vector<std::string> second = InputDialogParamParser::getStringArrayFromString(*v2text);
            if (first.size() == second.size()) {
                const Value* v3 = value(3);
                if (!v3) return kInvalid;
                std::int64_t row = InputDialogParamParser::getDefaultValueForList(v3, second);
                std::int64_t rows = visibleRows(second);
                controller_.addListComponent(title(), second, first, row, rows);
                return i_ + 3;
            }
        } else if (!asWholeNumber(v2)) {
            return i_;  // dropped, as for a menu
        }
        std::int64_t row = InputDialogParamParser::getDefaultValueForList(v2, first);
        controller_.addListComponent(title(), first, first, row, visibleRows(first));
        return i_ + 2;
    }

    // list alone: the choice is always a row number, and a number in second place says that
    // no identifiers were given.
    std::optional<std::int64_t> untitledList() {
        const std::string* v1 = asText(value(1));
        if (std::optional<double> row = asNumber(value(2))) {
            if (!v1) return kInvalid;
            std::vector<std::string> rows = InputDialogParamParser::getStringArrayFromString(*v1);
            controller_.addListComponent("", rows, rows, saturatingInt64(*row), lineCount(rows));
            return i_ + 2;
        }
        const std::string* v2 = asText(value(2));
        if (!v1 || !v2) return kInvalid;
        std::vector<std::string> ids = InputDialogParamParser::getStringArrayFromString(*v1);
        std::vector<std::string> rows = InputDialogParamParser::getStringArrayFromString(*v2);
        if (ids.size() != rows.size()) return kInvalid;
        std::optional<double> row = asNumber(value(3));
        if (!row) return kInvalid;
        controller_.addListComponent("", rows, ids, saturatingInt64(*row), lineCount(rows));
        return i_ + 3;
    }

    static const std::string kNoTitle;

    const ParameterWalk& walk_;
    InputDialog& controller_;
    std::int64_t i_;
    std::vector<std::string> lines_;
};

const std::string ItemParser::kNoTitle;

std::optional<supported_types> kindOf(std::string_view keyword) {
    std::string lower = lowercased(keyword);
    for (supported_types type : allSupportedTypes) {
        if (lower == lowercased(rawValue(type))) return type;
    }
    return std::nullopt;
}

// Blur, icon and title of the next dialog come from the store, not from the description.
void applyStoreSettings(InputDialog& controller) {
    if (std::optional<Value> blur = Plugin::value(CFG::dialog_blur)) {
        if (auto flag = std::get_if<bool>(&*blur)) {
            controller.set_enable_blur(*flag);
        } else if (auto number = std::get_if<double>(&*blur); number && (*number == 0 || *number == 1)) {
            controller.set_enable_blur(*number == 1);
        } else if (auto text = std::get_if<std::string>(&*blur)) {
            controller.set_enable_blur(!(*text == "no" || *text == "disabled" || *text == "false"));
        }
    }
    if (std::optional<Value> icon = Plugin::value(CFG::dialog_icon)) {
        if (auto image = std::get_if<ImageRef>(&*icon); image && *image) {
            controller.addIconComponent(*image);
        }
    }
    if (std::optional<Value> title = Plugin::value(CFG::dialog_title)) {
        if (auto text = std::get_if<std::string>(&*title)) {
            controller.addTitleComponent(*text);
        }
    }
}

}  // namespace

const std::shared_ptr<InputDialog>& InputDialogParamParser::_custom_view_controller() {
    // Made from the bundle's interface file by the controller itself; one for the process.
    static const std::shared_ptr<InputDialog> controller = std::make_shared<InputDialog>();
    return controller;
}

bool InputDialogParamParser::prepareComponents(const Dictionary& parameters) {
    return prepareComponents(parameters, *_custom_view_controller());
}

bool InputDialogParamParser::prepareComponents(const Dictionary& parameters, InputDialog& controller) {
    controller.resetUIViewController();
    applyStoreSettings(controller);

    const ParameterWalk walk(parameters);
    std::int64_t m = -1;  // the last parameter consumed
    while (m < walk.last()) {
        const std::int64_t i = m + 1;
        m = i;
        const Value* value = walk.at(i);
        if (i == 0) {
            const std::string* prompt = asText(value);
            if (!prompt) return false;
            controller.addMessageComponent(*prompt);
            continue;
        }
        if (i == 1) {
            const std::string* buttons = asText(value);
            if (!buttons) return false;
            setDialogButtons(*buttons, controller);
            continue;
        }
        if (!value) {
            // A gap left by an argument that could not be converted: nothing can stand there,
            // so go straight to the next argument present.
            m = walk.nextPresentAfter(i) - 1;
            continue;
        }
        const std::string* section = asText(value);
        if (!section) continue;  // a stray number or image between items does no harm
        std::vector<std::string> lines = getStringArrayFromString(*section);
        std::optional<supported_types> kind = kindOf(lines.front());
        if (!kind) continue;  // a comment or any other text
        std::optional<std::int64_t> consumed = ItemParser(walk, controller, i, std::move(lines)).parse(*kind);
        if (!consumed) return false;
        m = *consumed;
    }
    return true;
}

ItemOptions InputDialogParamParser::checkForMoreOptions(const std::vector<std::string>& param_section) {
    ItemOptions options;
    const std::size_t count = param_section.size();
    std::size_t j = 0;
    while (j + 2 < count) {
        const std::string& line = param_section[j + 2];
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || line.find('=', equals + 1) != std::string::npos) {
            return options;  // not exactly a key and a value
        }
        const std::string_view key = std::string_view(line).substr(0, equals);
        const std::string_view value = std::string_view(line).substr(equals + 1);
        if (key == "validation") {
            std::optional<supported_validations> keyword;
            for (supported_validations candidate : allSupportedValidations) {
                if (equalsIgnoringCase(value, rawValue(candidate))) {
                    keyword = candidate;
                    break;
                }
            }
            if (!keyword) return options;
            if (takesNextLine(*keyword)) {
                if (j + 3 >= count) return options;  // the pattern line is missing
                options.validation = param_section[j + 3];
                if (*keyword == supported_validations::filemaker) {
                    options.filemaker_validation = true;
                }
                j += 2;
            } else {
                options.validation = std::string(builtInPattern(*keyword));
                j += 1;
            }
        } else if (equalsIgnoringCase(key, "focus")) {
            // Only "1" turns focus on; nothing turns it off again.
            if (value == "1") options.focus = true;
            j += 1;
        } else if (equalsIgnoringCase(key, "lines") || equalsIgnoringCase(key, "minlines")) {
            std::optional<std::int64_t> number = parseOptionInteger(value);
            if (!number) return options;
            (equalsIgnoringCase(key, "lines") ? options.lines : options.minlines) = *number;
            j += 1;
        } else {
            return options;
        }
    }
    options.ok = true;
    return options;
}

std::vector<std::string> InputDialogParamParser::getStringArrayFromString(std::string_view string) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = string.find(kLineDelimiter, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(string.substr(start));
            return lines;
        }
        lines.emplace_back(string.substr(start, end - start));
        start = end + 1;
    }
}

std::int64_t InputDialogParamParser::getMenuArrayCount(std::string_view string) {
    std::int64_t count = 0;
    for (const std::string& line : getStringArrayFromString(string)) {
        if (line != "-") ++count;
    }
    return count;
}

std::string InputDialogParamParser::getPlaceholderForMenu(const Value* object,
                                                          const std::vector<std::string>& items) {
    if (const std::string* text = asText(object)) {
        return *text;
    }
    if (std::optional<std::int64_t> n = asWholeNumber(object)) {
        std::int64_t seen = 0;
        for (const std::string& item : items) {
            if (item == "-") continue;
            if (++seen == *n) return item;
        }
    }
    return "";
}

std::int64_t InputDialogParamParser::getDefaultValueForList(const Value* object,
                                                            const std::vector<std::string>& items) {
    if (std::optional<std::int64_t> row = asWholeNumber(object)) {
        return *row;
    }
    if (const std::string* text = asText(object)) {
        auto found = std::find(items.begin(), items.end(), *text);
        return found == items.end() ? 0 : 1 + (found - items.begin());
    }
    return 0;
}

std::int64_t InputDialogParamParser::getListLinesCount(std::int64_t items_count, std::int64_t min_lines,
                                                       std::int64_t max_lines) {
    if (min_lines >= max_lines && items_count < min_lines) {
        return min_lines;
    }
    if (max_lines >= min_lines && max_lines < items_count && max_lines != 0) {
        return max_lines;
    }
    return items_count;
}

void InputDialogParamParser::setDialogButtons(std::string_view buttons) {
    setDialogButtons(buttons, *_custom_view_controller());
}

void InputDialogParamParser::setDialogButtons(std::string_view buttons, InputDialog& controller) {
    std::vector<std::string> names = controller._button_names();
    if (buttons.empty()) {
        names.emplace_back("OK");
        names.emplace_back("Cancel");
    } else {
        for (std::string& line : getStringArrayFromString(buttons)) {
            if (!line.empty()) names.push_back(std::move(line));
        }
    }
    controller.set_button_names(std::move(names));
}

bool InputDialogParamParser::isURL(std::string_view text) {
    // uriparser takes an empty text for the empty relative reference; a link needs an address.
    if (text.empty()) return false;
    UriUriA uri;
    const char* error = nullptr;
    const int status = uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &error);
    if (status != URI_SUCCESS) return false;
    uriFreeUriMembersA(&uri);
    return true;
}

}  // namespace brelka
