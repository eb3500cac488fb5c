// The dialog description parser: the text operations it reads item values with, the option
// lines, the button list, and whole descriptions parsed into a real dialog controller, whose
// components are then read back (class, stored fields) and compared with what the description
// asks for.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "components/CustomCaption.h"
#include "components/CustomCheckbox.h"
#include "components/CustomIcon.h"
#include "components/CustomImage.h"
#include "components/CustomLinkButton.h"
#include "components/CustomList.h"
#include "components/CustomMenu.h"
#include "components/CustomMessage.h"
#include "components/CustomRadioButton.h"
#include "components/CustomSeparator.h"
#include "components/CustomTextArea.h"
#include "components/CustomTextField.h"
#include "components/CustomTitle.h"
#include "dialog/GetSizeHelper.h"
#include "dialog/InputDialog.h"
#include "parser/InputDialogParamParser.h"
#include "parser/SupportedTypes.h"
#include "parser/SupportedValidations.h"
#include "store/Config.h"
#include "store/Plugin.h"

namespace brelka {
namespace {

using P = InputDialogParamParser;
using Lines = std::vector<std::string>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Descriptions are written with "¶" for the carriage return, as scripts show it.
std::string cr(std::string text) {
    const std::string mark = "\xc2\xb6";
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        text.replace(at, mark.size(), "\r");
    }
    return text;
}

std::string shown(std::string text) {
    for (std::size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at)) {
        text.replace(at, 1, "\xc2\xb6");
    }
    return "\"" + text + "\"";
}

std::string joined(const Lines& lines) {
    std::string out = "[";
    for (std::size_t k = 0; k < lines.size(); ++k) out += (k ? "," : "") + shown(lines[k]);
    return out + "]";
}

ImageRef picture(int width, int height, std::string name) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4, 0x7f);
    return ui::Image::fromPixels(width, height, rgba, std::move(name));
}

const ImageRef& photo() {
    static const ImageRef image = picture(40, 30, "<photo>");
    return image;
}
const ImageRef& logo() {
    static const ImageRef image = picture(16, 16, "<logo>");
    return image;
}

// One argument of a call: a value, or a gap where the argument left no key.
using Arg = std::optional<Value>;
Arg T(const std::string& text) { return Value(cr(text)); }
Arg N(double number) { return Value(number); }
Arg B(bool flag) { return Value(flag); }
Arg I(const ImageRef& image) { return Value(image); }
const Arg gap = std::nullopt;

Dictionary call(const std::vector<Arg>& args) {
    Dictionary dictionary;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i]) dictionary.emplace("param_" + std::to_string(i), *args[i]);
    }
    return dictionary;
}

// --- what the controller was given, one line per section

std::string Message(const std::string& text) { return "message " + shown(cr(text)); }
std::string Title(const std::string& text) { return "title " + shown(cr(text)); }
std::string Icon(const ImageRef& image) { return "icon " + image->description(); }
std::string Caption(const std::string& title, const std::string& description) {
    return "caption " + shown(cr(title)) + " " + shown(cr(description));
}
std::string Separator() { return "separator"; }
std::string Image(const std::string& title, const ImageRef& image) {
    return "image " + shown(cr(title)) + " " + image->description();
}
std::string Link(const std::string& title, const std::string& url) {
    return "link " + shown(cr(title)) + " " + url;
}
std::string Checkbox(const std::string& description, bool on) {
    return "checkbox " + shown(cr(description)) + (on ? " on" : " off");
}
std::string Radio(const std::string& description, bool on) {
    return "radio " + shown(cr(description)) + (on ? " on" : " off");
}
struct FieldOptions {
    std::string validation;
    bool filemaker = false;
    bool focus = false;
};
std::string Field(const std::string& title, bool password, const std::string& placeholder,
                  const FieldOptions& options = {}) {
    return std::string(password ? "password " : "text ") + shown(cr(title)) + " " + shown(cr(placeholder)) +
           " validation=" + shown(options.validation) + (options.filemaker ? " filemaker" : "") +
           (options.focus ? " focus" : "");
}
std::string Text(const std::string& title, const std::string& placeholder, const FieldOptions& options = {}) {
    return Field(title, false, placeholder, options);
}
std::string Password(const std::string& title, const std::string& placeholder, const FieldOptions& options = {}) {
    return Field(title, true, placeholder, options);
}
// Text areas and lists keep their row count only as the height measured from it, and a list
// keeps its initial row as the row index it selects.
std::string TextArea(const std::string& title, std::int64_t rows, const std::string& placeholder, bool focus = false) {
    const double height = GetSizeHelper::getMinSizeOfTextAreaSection(cr(title), rows).height;
    return "textArea " + shown(cr(title)) + " " + shown(cr(placeholder)) + " height=" +
           std::to_string(height) + (focus ? " focus" : "");
}
std::string Menu(const std::string& title, const std::string& placeholder, const Lines& items, const Lines& ids) {
    return "menu " + shown(cr(title)) + " " + shown(cr(placeholder)) + " items=" + joined(items) + " ids=" + joined(ids);
}
std::string List(const std::string& title, const Lines& items, const Lines& ids, std::int64_t row, std::int64_t rows) {
    const double height = GetSizeHelper::getMinSizeOfListSection(cr(title), items, rows).height;
    return "list " + shown(cr(title)) + " items=" + joined(items) + " ids=" + joined(ids) +
           " selects=" + std::to_string(CustomList::clampedInitialRow(row, items.size())) +
           " height=" + std::to_string(height);
}

std::string describe(const std::shared_ptr<ui::View>& view) {
    if (auto c = std::dynamic_pointer_cast<CustomMessage>(view)) return "message " + shown(c->_message);
    if (auto c = std::dynamic_pointer_cast<CustomTitle>(view)) return "title " + shown(c->_title);
    if (auto c = std::dynamic_pointer_cast<CustomIcon>(view)) return "icon " + c->_icon->description();
    if (auto c = std::dynamic_pointer_cast<CustomCaption>(view)) {
        return "caption " + shown(c->_title) + " " + shown(c->_description);
    }
    if (std::dynamic_pointer_cast<CustomSeparator>(view)) return "separator";
    if (auto c = std::dynamic_pointer_cast<CustomImage>(view)) {
        return "image " + shown(c->_title) + " " + c->_image->description();
    }
    if (auto c = std::dynamic_pointer_cast<CustomLinkButton>(view)) {
        return "link " + shown(c->_title.value_or("?")) + " " + c->_link.value_or("?");
    }
    if (auto c = std::dynamic_pointer_cast<CustomCheckbox>(view)) {
        return "checkbox " + shown(c->_description) + (c->_default_value ? " on" : " off");
    }
    if (auto c = std::dynamic_pointer_cast<CustomRadioButton>(view)) {
        return "radio " + shown(c->_description) + (c->_default_value ? " on" : " off");
    }
    if (auto c = std::dynamic_pointer_cast<CustomTextField>(view)) {
        return std::string(c->_password ? "password " : "text ") + shown(c->_title) + " " + shown(c->_placeholder) +
               " validation=" + shown(c->_validation) + (c->_filemaker_validation ? " filemaker" : "") +
               (c->_focus ? " focus" : "");
    }
    if (auto c = std::dynamic_pointer_cast<CustomTextArea>(view)) {
        return "textArea " + shown(c->_title) + " " + shown(c->_placeholder) + " height=" +
               std::to_string(c->_total_height) + (c->_focus ? " focus" : "");
    }
    if (auto c = std::dynamic_pointer_cast<CustomMenu>(view)) {
        return "menu " + shown(c->_title) + " " + shown(c->_placeholder) + " items=" + joined(c->_menu_items) +
               " ids=" + joined(c->_return_ids);
    }
    if (auto c = std::dynamic_pointer_cast<CustomList>(view)) {
        return "list " + shown(c->_title) + " items=" + joined(c->_list_items) + " ids=" + joined(c->_return_ids) +
               " selects=" + std::to_string(c->_default_value) + " height=" + std::to_string(c->_height);
    }
    return "unknown section";
}

std::vector<std::string> sections(InputDialog& controller) {
    std::vector<std::string> out;
    for (const auto& view : controller._view_components()) out.push_back(describe(view));
    return out;
}

// One description: the arguments after the prompt "Prompt" and the buttons "OK", and the
// sections the controller must hold after the message, or invalid.
struct Description {
    const char* name;
    std::vector<Arg> items;
    std::vector<std::string> sections;
    bool valid = true;
};
constexpr bool kInvalid = false;

class ParserTest : public testing::StoreTest {
protected:
    std::shared_ptr<InputDialog> dialog = std::make_shared<InputDialog>();

    bool parse(const std::vector<Arg>& args) { return P::prepareComponents(call(args), *dialog); }

    void check(const std::vector<Description>& cases) {
        for (const Description& c : cases) {
            SCOPED_TRACE(c.name);
            std::vector<Arg> args = {T("Prompt"), T("OK")};
            args.insert(args.end(), c.items.begin(), c.items.end());
            const bool valid = parse(args);
            EXPECT_EQ(valid, c.valid);
            if (!c.valid || !valid) continue;
            std::vector<std::string> expected = {Message("Prompt")};
            expected.insert(expected.end(), c.sections.begin(), c.sections.end());
            EXPECT_EQ(sections(*dialog), expected);
            EXPECT_EQ(dialog->_button_names(), Lines{"OK"});
        }
    }
};

// ---------------------------------------------------------------- text operations

TEST(ParserText, LinesKeepEveryPieceEmptyOnesIncluded) {
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"a", {"a"}},
        {"", {""}},
        {"a¶b", {"a", "b"}},
        {"a¶", {"a", ""}},
        {"a¶¶b", {"a", "", "b"}},
        {"¶", {"", ""}},
        // Only the carriage return separates: a line feed stays inside its line.
        {"a\r\nb\nc", {"a", "\nb\nc"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(P::getStringArrayFromString(cr(c.text)), c.lines) << shown(c.text);
    }
}

TEST(ParserText, MenuCountLeavesOutSeparatorLinesOnly) {
    const struct {
        std::string text;
        std::int64_t count;
    } cases[] = {{"a¶-¶b", 2}, {"", 1}, {"-", 0}, {"-¶-", 0}, {" -¶--¶- ", 3}, {"¶", 2}};
    for (const auto& c : cases) EXPECT_EQ(P::getMenuArrayCount(cr(c.text)), c.count) << shown(c.text);
}

TEST(ParserText, MenuPlaceholderFromTextOrEntryNumber) {
    const Lines items = {"-", "a", "-", "b"};
    const struct {
        Arg object;
        std::string placeholder;
    } cases[] = {
        {N(2), "b"},
        {N(1), "a"},
        {N(0), ""},
        {N(-1), ""},
        {N(3), ""},                // beyond the entries
        {N(1e300), ""},            // far beyond 64 bits
        {B(true), "a"},            // a boolean is the number 1
        {N(1.5), ""},              // not a whole number
        {N(kNaN), ""},
        {N(kInf), ""},
        {T("Pink"), "Pink"},       // a text is shown even when it is no entry
        {T("-"), "-"},
        {I(photo()), ""},
        {gap, ""},
    };
    for (const auto& c : cases) {
        const Value* object = c.object ? &*c.object : nullptr;
        EXPECT_EQ(P::getPlaceholderForMenu(object, items), c.placeholder)
            << (object ? valueAsText(*object) : "nothing");
    }
}

TEST(ParserText, ListInitialRowFromNumberOrMatchingText) {
    const Lines items = {"a", "b", "b"};
    const struct {
        Arg object;
        std::int64_t row;
    } cases[] = {
        {T("b"), 2},  {T("B"), 0},  {T("a"), 1},  {T(""), 0},
        {N(7), 7},    {N(0), 0},    {N(-3), -3},  // whole numbers pass unchecked
        {N(2.5), 0},  {N(kNaN), 0}, {B(true), 1}, {I(photo()), 0}, {gap, 0},
        {N(1e300), std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        const Value* object = c.object ? &*c.object : nullptr;
        EXPECT_EQ(P::getDefaultValueForList(object, items), c.row) << (object ? valueAsText(*object) : "nothing");
    }
}

TEST(ParserText, VisibleListRows) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t items, min, max, rows;
    } cases[] = {
        {3, 5, 0, 5},   {10, 0, 4, 4},  {3, 5, 10, 3},  {10, 2, 4, 4},  {0, 0, 0, 0},
        {10, 5, 3, 10}, {2, 0, 0, 2},   {4, 4, 4, 4},   {2, 4, 4, 4},   {6, 4, 4, 4},
        {2, kMax, 0, kMax}, {2, 0, kMax, 2}, {kMax, 0, 3, 3}, {3, -2, 0, 3}, {3, 0, -2, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(P::getListLinesCount(c.items, c.min, c.max), c.rows) << c.items << " " << c.min << " " << c.max;
    }
}

TEST(ParserText, UrlsAreUriReferences) {
    for (const char* url : {"https://example.com", "https://example.com/a?b=c#d", "mailto:x@example.com",
                            "http://[::1]:8080/", "tel:+420123456789", "relative/path", "#top", "//host/x",
                            "fmp://$/File?script=Go%20on"}) {
        EXPECT_TRUE(P::isURL(url)) << url;
    }
    for (const char* text : {"", " ", "has space", "https://exa mple.com", "http://x/%zz", "a\"b", "a<b>",
                             "http://[::1/", "\xc3\xa9t\xc3\xa9", "a\rb"}) {
        EXPECT_FALSE(P::isURL(text)) << shown(text);
    }
    EXPECT_FALSE(P::isURL(std::string("a\0b", 3)));
}

TEST(ParserText, KeywordTables) {
    // The table order decides which kind a section is; every keyword is distinct ignoring case.
    Lines keywords;
    for (supported_types type : allSupportedTypes) keywords.emplace_back(rawValue(type));
    EXPECT_EQ(keywords, (Lines{"text", "password", "checkbox", "radio", "menu", "list", "textArea", "caption",
                               "separator", "image", "link"}));
    // The built-in patterns, character for character.
    EXPECT_EQ(builtInPattern(supported_validations::credit_card),
              "^(4\\d{3}[-\\s]?)(\\d{4}[-\\s]?){2}\\d{4}$|^(5[1-5]\\d\\d[-\\s]?)(\\d{4}[-\\s]?){2}\\d{4}$");
    EXPECT_EQ(builtInPattern(supported_validations::ssn),
              "^((?!666|000)[0-8][0-9\\_]{2}\\-(?!00)[0-9\\_]{2}\\-(?!0000)[0-9\\_]{4})*$");
    EXPECT_EQ(builtInPattern(supported_validations::sin), "^(\\d{3}-\\d{3}-\\d{3})|(\\d{3}-\\d{2}-\\d{4})$");
    EXPECT_EQ(builtInPattern(supported_validations::czech_id), "^[0-9]{2}[01235678][0-9][0-3][0-9]\\/?[0-9]{3,4}$");
    EXPECT_EQ(builtInPattern(supported_validations::credit_card).size(), 79u);
    EXPECT_EQ(builtInPattern(supported_validations::ssn).size(), 69u);
    EXPECT_EQ(builtInPattern(supported_validations::sin).size(), 41u);
    EXPECT_EQ(builtInPattern(supported_validations::czech_id).size(), 48u);
}

// ---------------------------------------------------------------- option lines

TEST(ParserOptions, OptionLines) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const std::string cc(builtInPattern(supported_validations::credit_card));
    const std::string ssn(builtInPattern(supported_validations::ssn));
    const std::string sin(builtInPattern(supported_validations::sin));
    const std::string czech(builtInPattern(supported_validations::czech_id));
    struct Case {
        std::string section;
        std::optional<ItemOptions> options;  // nothing: not ok
    };
    auto ok = [](std::string validation, bool filemaker, bool focus, std::int64_t lines, std::int64_t minlines) {
        return ItemOptions{true, std::move(validation), filemaker, focus, lines, minlines};
    };
    const Case cases[] = {
        {"text¶Name¶focus=1", ok("", false, true, 0, 0)},
        {"text¶Name¶FoCuS=1", ok("", false, true, 0, 0)},
        {"text¶Name¶focus=1¶focus=0", ok("", false, true, 0, 0)},  // nothing turns focus off
        {"text¶Name¶focus=yes", ok("", false, false, 0, 0)},
        {"text¶Name¶focus=", ok("", false, false, 0, 0)},
        {"text¶Name¶validation=none", ok("", false, false, 0, 0)},
        {"text¶Name¶validation=credit_card", ok(cc, false, false, 0, 0)},
        {"text¶Name¶validation=SSN", ok(ssn, false, false, 0, 0)},
        {"text¶Name¶validation=Sin", ok(sin, false, false, 0, 0)},
        {"text¶Name¶validation=CZECH_ID", ok(czech, false, false, 0, 0)},
        {"text¶Name¶validation=Regexp¶^[a-z]=+$", ok("^[a-z]=+$", false, false, 0, 0)},
        {"text¶Name¶validation=regexp¶", ok("", false, false, 0, 0)},
        {"text¶Name¶validation=filemaker¶Length ( x ) > 2", ok("Length ( x ) > 2", true, false, 0, 0)},
        // A later validation replaces the text but keeps the calculation flag.
        {"text¶Name¶validation=filemaker¶1¶validation=ssn", ok(ssn, true, false, 0, 0)},
        {"text¶Name¶validation=ssn¶validation=none", ok("", false, false, 0, 0)},
        {"text¶Name¶validation=regexp¶focus=1¶focus=1", ok("focus=1", false, true, 0, 0)},
        {"list¶Name¶lines=+6", ok("", false, false, 6, 0)},
        {"list¶Name¶lines=-2", ok("", false, false, -2, 0)},
        {"list¶Name¶LINES=0¶MinLines=3", ok("", false, false, 0, 3)},
        {"list¶Name¶lines=2¶lines=5", ok("", false, false, 5, 0)},
        {"list¶Name¶lines=9223372036854775807", ok("", false, false, kMax, 0)},
        {"list¶Name¶minlines=-9223372036854775808", ok("", false, false, 0, kMin)},
        {"list¶Name¶lines=007", ok("", false, false, 7, 0)},
        // Malformed and unknown lines.
        {"text¶Name¶", std::nullopt},
        {"text¶Name¶focus", std::nullopt},
        {"text¶Name¶focus=1=1", std::nullopt},
        {"text¶Name¶=", std::nullopt},
        {"text¶Name¶=1", std::nullopt},
        {"text¶Name¶color=red", std::nullopt},
        {"text¶Name¶ focus=1", std::nullopt},
        {"text¶Name¶Validation=none", std::nullopt},
        {"text¶Name¶validation=", std::nullopt},
        {"text¶Name¶validation=phone", std::nullopt},
        {"text¶Name¶validation=regexp", std::nullopt},
        {"text¶Name¶validation=filemaker", std::nullopt},
        {"text¶Name¶focus=1¶validation=regexp", std::nullopt},
        {"list¶Name¶lines= 6", std::nullopt},
        {"list¶Name¶lines=six", std::nullopt},
        {"list¶Name¶lines=", std::nullopt},
        {"list¶Name¶lines=+", std::nullopt},
        {"list¶Name¶lines=-", std::nullopt},
        {"list¶Name¶lines=+-5", std::nullopt},
        {"list¶Name¶lines=5.0", std::nullopt},
        {"list¶Name¶lines=0x10", std::nullopt},
        {"list¶Name¶lines=9223372036854775808", std::nullopt},
        {"list¶Name¶lines=99999999999999999999", std::nullopt},
        {"list¶Name¶minlines=-9223372036854775809", std::nullopt},
        {"list¶Name¶lines=\xd9\xa3", std::nullopt},  // an Arabic-Indic digit is no decimal digit here
    };
    for (const Case& c : cases) {
        ItemOptions got = P::checkForMoreOptions(P::getStringArrayFromString(cr(c.section)));
        if (c.options) {
            EXPECT_EQ(got, *c.options) << shown(c.section) << " validation " << shown(got.validation);
        } else {
            EXPECT_FALSE(got.ok) << shown(c.section);
        }
    }
}

// ---------------------------------------------------------------- buttons

TEST_F(ParserTest, ButtonTitles) {
    const struct {
        std::string buttons;
        Lines names;
    } cases[] = {
        {"", {"OK", "Cancel"}},
        {"¶", {}},
        {"Yes¶¶No", {"Yes", "No"}},
        {" Save ¶Cancel¶", {" Save ", "Cancel"}},
        {"OK", {"OK"}},
    };
    for (const auto& c : cases) {
        dialog->resetUIViewController();
        P::setDialogButtons(cr(c.buttons), *dialog);
        EXPECT_EQ(dialog->_button_names(), c.names) << shown(c.buttons);
    }
    // The titles are appended to what is there.
    dialog->resetUIViewController();
    P::setDialogButtons("A", *dialog);
    P::setDialogButtons(cr("B¶C"), *dialog);
    EXPECT_EQ(dialog->_button_names(), (Lines{"A", "B", "C"}));
}


// ---------------------------------------------------------------- items

TEST_F(ParserTest, TextAndPasswordFields) {
    const std::string ssn(builtInPattern(supported_validations::ssn));
    check({
        {"number value", {T("text¶Name"), N(42)}, {Text("Name", "42")}},
        {"fraction and boolean values", {T("text¶A"), N(2.5), T("text¶B"), B(true)}, {Text("A", "2.5"), Text("B", "1")}},
        {"image value", {T("text¶Pic"), I(photo())}, {Text("Pic", "<photo>")}},
        {"untitled", {T("text"), T("x")}, {Text("", "x")}},
        {"keyword ignores case", {T("PASSWORD¶PIN"), T("1234")}, {Password("PIN", "1234")}},
        {"focus", {T("text¶Name¶focus=1"), T("v")}, {Text("Name", "v", {"", false, true})}},
        {"pattern", {T("password¶Id¶validation=ssn"), T("")}, {Password("Id", "", {ssn})}},
        {"calculation", {T("text¶Age¶validation=FileMaker¶GetAsNumber ( Self ) > 17¶focus=1"), T("")},
         {Text("Age", "", {"GetAsNumber ( Self ) > 17", true, true})}},
        {"row counts read but unused", {T("text¶Name¶lines=3¶minlines=2"), T("v")}, {Text("Name", "v")}},
        {"value that looks like an item", {T("text¶Name"), T("separator")}, {Text("Name", "separator")}},
        {"no value", {T("text¶Name")}, {}, kInvalid},
        {"value is a gap", {T("text¶Name"), gap, T("x")}, {}, kInvalid},
        {"trailing carriage return", {T("text¶Name¶"), T("v")}, {}, kInvalid},
        {"bad option", {T("password¶PIN¶Validation=none"), T("v")}, {}, kInvalid},
    });
}

TEST_F(ParserTest, TextAreas) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    check({
        {"short form asks for four rows", {T("textArea¶Notes"), T("x")}, {TextArea("Notes", 4, "x")}},
        {"untitled", {T("textarea"), T("x¶y")}, {TextArea("", 4, "x¶y")}},
        {"rows", {T("textArea¶Notes¶lines=6"), T("")}, {TextArea("Notes", 6, "")}},
        {"four rows is the least", {T("textArea¶Notes¶lines=4"), T("")}, {TextArea("Notes", 4, "")}},
        {"options without rows give none", {T("textArea¶Notes¶focus=1"), T("")}, {TextArea("Notes", 0, "", true)}},
        {"no validation is allowed", {T("textArea¶Notes¶validation=none"), T("")}, {TextArea("Notes", 0, "")}},
        {"rows beyond any screen", {T("TEXTAREA¶Notes¶lines=9223372036854775807"), T("")},
         {TextArea("Notes", kMax, "")}},
        {"too few rows", {T("textArea¶Notes¶lines=3"), T("")}, {}, kInvalid},
        {"negative rows", {T("textArea¶Notes¶lines=-6"), T("")}, {}, kInvalid},
        {"least rows", {T("textArea¶Notes¶minlines=6"), T("")}, {}, kInvalid},
        {"huge least rows", {T("textArea¶Notes¶minlines=9223372036854775807"), T("")}, {}, kInvalid},
        {"pattern", {T("textArea¶Notes¶validation=regexp¶x"), T("")}, {}, kInvalid},
        {"built-in pattern", {T("textArea¶Notes¶validation=ssn"), T("")}, {}, kInvalid},
        {"calculation", {T("textArea¶Notes¶validation=filemaker¶1¶validation=none"), T("")}, {}, kInvalid},
        {"rows beyond 64 bits", {T("textArea¶Notes¶lines=99999999999999999999"), T("")}, {}, kInvalid},
        {"number value", {T("textArea¶Notes"), N(5)}, {}, kInvalid},
        {"no value", {T("textArea¶Notes")}, {}, kInvalid},
    });
}

TEST_F(ParserTest, CaptionsSeparatorsImagesLinks) {
    check({
        {"caption", {T("caption¶Note"), T("Text¶more")}, {Caption("Note", "Text¶more")}},
        {"untitled caption", {T("caption"), T("")}, {Caption("", "")}},
        {"caption options unused", {T("caption¶Note¶focus=1"), T("x")}, {Caption("Note", "x")}},
        {"separator ignores its other lines", {T("separator¶anything¶junk"), T("text¶After"), T("v")},
         {Separator(), Text("After", "v")}},
        {"separators take no value", {T("SEPARATOR"), T("separator")}, {Separator(), Separator()}},
        {"image", {T("image¶Logo"), I(photo())}, {Image("Logo", photo())}},
        {"untitled image", {T("Image"), I(logo())}, {Image("", logo())}},
        {"link", {T("link¶https://example.com/a?b=c"), T("Visit")}, {Link("Visit", "https://example.com/a?b=c")}},
        {"link options unused", {T("link¶mailto:x@example.com¶focus=1"), T("Mail")},
         {Link("Mail", "mailto:x@example.com")}},
        {"caption bad option", {T("caption¶Note¶x"), T("x")}, {}, kInvalid},
        {"caption number", {T("caption¶Note"), N(1)}, {}, kInvalid},
        {"caption no value", {T("caption¶Note")}, {}, kInvalid},
        {"image text", {T("image¶Logo"), T("logo.png")}, {}, kInvalid},
        {"image gap", {T("image¶Logo"), gap, I(photo())}, {}, kInvalid},
        {"image bad option", {T("image¶Logo¶size=2"), I(photo())}, {}, kInvalid},
        {"link without address line", {T("link"), T("Visit")}, {}, kInvalid},
        {"link with empty address", {T("link¶"), T("Visit")}, {}, kInvalid},
        {"link address with a space", {T("link¶https://exa mple.com"), T("Visit")}, {}, kInvalid},
        {"link number title", {T("link¶https://example.com"), N(3)}, {}, kInvalid},
        {"link no title", {T("link¶https://example.com")}, {}, kInvalid},
        {"link bad option", {T("link¶https://example.com¶zzz"), T("Visit")}, {}, kInvalid},
    });
}

TEST_F(ParserTest, CheckboxesAndRadioButtons) {
    check({
        {"yes", {T("checkbox¶Agree"), T("yes")}, {Checkbox("Agree", true)}},
        {"false", {T("checkbox¶Agree"), T("false")}, {Checkbox("Agree", false)}},
        {"number 0", {T("checkbox¶Agree"), N(0)}, {Checkbox("Agree", false)}},
        {"number 2", {T("checkbox¶Agree"), N(2)}, {Checkbox("Agree", true)}},
        {"fraction", {T("checkbox¶Agree"), N(0.5)}, {Checkbox("Agree", true)}},
        {"booleans", {T("checkbox¶A"), B(true), T("CHECKBOX¶B"), B(false)}, {Checkbox("A", true), Checkbox("B", false)}},
        {"untitled radio", {T("radio"), T("true")}, {Radio("", true)}},
        {"radio options unused", {T("radio¶A¶focus=1"), T("0"), T("radio¶B"), T("1")}, {Radio("A", false), Radio("B", true)}},
        {"state that looks like an item", {T("checkbox¶A"), T("1"), T("separator")}, {Checkbox("A", true), Separator()}},
        {"capital YES", {T("checkbox¶Agree"), T("YES")}, {}, kInvalid},
        {"empty text", {T("radio¶A"), T("")}, {}, kInvalid},
        {"image", {T("checkbox¶A"), I(photo())}, {}, kInvalid},
        {"no state", {T("radio¶A")}, {}, kInvalid},
        {"gap", {T("radio¶A"), gap, T("1")}, {}, kInvalid},
        {"bad option", {T("checkbox¶A¶on=1"), T("1")}, {}, kInvalid},
    });
}

TEST_F(ParserTest, Menus) {
    const Lines rgb = {"Red", "Green", "Blue"};
    check({
        {"entries and number", {T("menu¶Color"), T("Red¶Green¶Blue"), N(2)}, {Menu("Color", "Green", rgb, rgb)}},
        {"identifiers, entries, choice", {T("menu¶Color"), T("r¶g¶b"), T("Red¶-¶Green¶Blue"), T("Blue")},
         {Menu("Color", "Blue", {"Red", "-", "Green", "Blue"}, {"r", "g", "b"})}},
        {"three values, number counts without separators", {T("menu¶Color"), T("r¶g"), T("Red¶-¶Green"), N(2)},
         {Menu("Color", "Green", {"Red", "-", "Green"}, {"r", "g"})}},
        {"three values, choice beyond the entries", {T("menu¶Color"), T("r¶g"), T("Red¶Green"), N(3)},
         {Menu("Color", "", {"Red", "Green"}, {"r", "g"})}},
        {"choice that is no entry", {T("menu¶Color"), T("Red¶Green"), T("Pink")},
         {Menu("Color", "Pink", {"Red", "Green"}, {"Red", "Green"})}},
        {"boolean choice is entry 1", {T("menu¶Color¶focus=1"), T("Red¶Green"), B(true)},
         {Menu("Color", "Red", {"Red", "Green"}, {"Red", "Green"})}},
        {"one line each reads three values", {T("menu¶Size"), T("S"), T("M"), T("X")}, {Menu("Size", "X", {"M"}, {"S"})}},
        {"fraction drops the menu", {T("menu¶Color"), T("Red¶Green"), N(2.5), T("text¶After"), T("v")},
         {Text("After", "v")}},
        {"image drops the menu", {T("menu¶Color"), T("Red¶Green"), I(photo())}, {}},
        {"dropped menu's first value is read as a section", {T("menu¶Color"), T("separator"), N(2.5)}, {Separator()}},
        {"untitled", {T("menu"), T("Red¶Green"), T("Green")}, {Menu("", "Green", {"Red", "Green"}, {"Red", "Green"})}},
        {"untitled three values", {T("menu"), T("r¶g"), T("Red¶-¶Green"), T("Any")},
         {Menu("", "Any", {"Red", "-", "Green"}, {"r", "g"})}},
        {"walk moves past all three values", {T("menu"), T("r"), T("separator"), T("separator"), T("separator")},
         {Menu("", "separator", {"separator"}, {"r"}), Separator()}},
        {"one line each needs a third value", {T("menu¶Size"), T("S"), T("M")}, {}, kInvalid},
        {"untitled number choice", {T("menu"), T("Red¶Green"), N(2)}, {}, kInvalid},
        {"untitled three values, number choice", {T("menu"), T("r¶g"), T("Red¶Green"), N(1)}, {}, kInvalid},
        {"entries not text", {T("menu¶Color"), N(1), T("Red")}, {}, kInvalid},
        {"no choice", {T("menu¶Color"), T("Red¶Green")}, {}, kInvalid},
        {"gap for the choice", {T("menu¶Color"), T("Red¶Green"), gap, T("Red")}, {}, kInvalid},
        {"bad option", {T("menu¶Color¶lines"), T("Red¶Green"), N(1)}, {}, kInvalid},
    });
}

TEST_F(ParserTest, Lists) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const Lines fruit = {"Apple", "Pear", "Plum", "Fig"};
    const Lines two = {"Apple", "Pear"};
    check({
        {"most rows", {T("list¶Fruit¶lines=2"), T("Apple¶Pear¶Plum¶Fig"), T("Pear")}, {List("Fruit", fruit, fruit, 2, 2)}},
        {"least rows", {T("list¶Fruit¶minlines=6"), T("Apple¶Pear"), N(1)}, {List("Fruit", two, two, 1, 6)}},
        {"no matching row", {T("list¶Fruit"), T("Apple¶Pear"), T("Kiwi")}, {List("Fruit", two, two, 0, 2)}},
        {"row number passes unchecked", {T("list¶Fruit"), T("Apple¶Pear"), N(-4)}, {List("Fruit", two, two, -4, 2)}},
        {"identifiers, rows, number", {T("list¶Fruit"), T("a¶b"), T("Apple¶Pear"), N(2)},
         {List("Fruit", two, {"a", "b"}, 2, 2)}},
        {"identifiers, rows, text", {T("LIST¶Fruit"), T("a¶b"), T("Apple¶Pear"), T("Pear")},
         {List("Fruit", two, {"a", "b"}, 2, 2)}},
        {"identifiers, rows, image", {T("list¶Fruit"), T("a¶b"), T("Apple¶Pear"), I(photo())},
         {List("Fruit", two, {"a", "b"}, 0, 2)}},
        {"both row limits, least below most", {T("list¶Fruit¶minlines=5¶lines=10"), T("Apple¶Pear¶Plum"), N(0)},
         {List("Fruit", {"Apple", "Pear", "Plum"}, {"Apple", "Pear", "Plum"}, 0, 3)}},
        {"most rows beyond any screen", {T("list¶Fruit¶lines=9223372036854775807"), T("Apple¶Pear"), N(1)},
         {List("Fruit", two, two, 1, 2)}},
        {"least rows beyond any screen", {T("list¶Fruit¶minlines=9223372036854775807"), T("Apple¶Pear"), N(1)},
         {List("Fruit", two, two, 1, kMax)}},
        {"fraction drops the list", {T("list¶Fruit"), T("Apple¶Pear"), N(1.5)}, {}},
        {"untitled rows and number", {T("list"), T("Apple¶Pear"), N(2.9)}, {List("", two, two, 2, 2)}},
        {"untitled boolean row", {T("list"), T("Apple¶Pear"), B(true)}, {List("", two, two, 1, 2)}},
        {"untitled identifiers, rows, number", {T("list"), T("a¶b"), T("Apple¶Pear"), N(1)}, {List("", two, {"a", "b"}, 1, 2)}},
        {"untitled huge row", {T("list"), T("Apple¶Pear"), N(1e300)}, {List("", two, two, kMax, 2)}},
        {"walk moves past all three values", {T("list"), T("r"), T("separator"), N(1), T("separator")},
         {List("", {"separator"}, {"r"}, 1, 1), Separator()}},
        {"untitled text row", {T("list"), T("Apple¶Pear"), T("Pear")}, {}, kInvalid},
        {"untitled unequal line counts", {T("list"), T("a¶b¶c"), T("Apple¶Pear"), N(1)}, {}, kInvalid},
        {"untitled three values, text row", {T("list"), T("a¶b"), T("Apple¶Pear"), T("1")}, {}, kInvalid},
        {"untitled rows not text", {T("list"), N(1), N(2)}, {}, kInvalid},
        {"untitled nothing after", {T("list")}, {}, kInvalid},
        {"three values without a choice", {T("list¶Fruit"), T("a¶b"), T("Apple¶Pear")}, {}, kInvalid},
        {"rows not text", {T("list¶Fruit"), I(photo()), N(1)}, {}, kInvalid},
        {"no choice", {T("list¶Fruit"), T("Apple")}, {}, kInvalid},
        {"rows beyond 64 bits", {T("list¶Fruit¶lines=99999999999999999999"), T("Apple"), N(1)}, {}, kInvalid},
    });
}

// ---------------------------------------------------------------- the walk

TEST_F(ParserTest, Walk) {
    check({
        {"comment and stray values between items",
         {T("comment¶text¶x"), N(3), B(true), I(photo()), T(" text¶Name"), T("caption¶C"), T("d")}, {Caption("C", "d")}},
        {"unknown keyword is skipped alone", {T("textfield¶Name"), T("caption¶C"), T("d")}, {Caption("C", "d")}},
        // Dates and times leave gaps in the keys; the items after them must still be read.
        {"gaps before an item", {gap, gap, T("text¶A"), T("a")}, {Text("A", "a")}},
        {"gaps between items", {T("text¶A"), T("a"), gap, T("checkbox¶B"), T("no"), gap, gap, T("separator")},
         {Text("A", "a"), Checkbox("B", false), Separator()}},
        {"items in order", {T("separator"), T("caption¶C"), T("d"), T("radio¶R"), N(1), T("image¶I"), I(photo())},
         {Separator(), Caption("C", "d"), Radio("R", true), Image("I", photo())}},
        {"first error ends the parse", {T("text¶A"), T("a"), T("text¶B")}, {}, kInvalid},
    });
}

TEST_F(ParserTest, PromptAndButtons) {
    const struct {
        const char* name;
        std::vector<Arg> args;
        bool valid;
        std::vector<std::string> sections;
        Lines buttons;
    } cases[] = {
        {"nothing", {}, true, {}, {}},
        {"only the prompt", {T("Hello")}, true, {Message("Hello")}, {}},
        {"empty prompt", {T("")}, true, {Message("")}, {}},
        {"empty buttons", {T("Hi"), T("")}, true, {Message("Hi")}, {"OK", "Cancel"}},
        {"buttons", {T("Hi"), T("Yes¶¶No")}, true, {Message("Hi")}, {"Yes", "No"}},
        {"prompt number", {N(1)}, false, {}, {}},
        {"prompt image", {I(photo()), T("OK")}, false, {}, {}},
        {"prompt missing", {gap, T("OK")}, false, {}, {}},
        {"buttons number", {T("Hi"), N(1)}, false, {}, {}},
        {"buttons boolean", {T("Hi"), B(false)}, false, {}, {}},
        {"buttons missing", {T("Hi"), gap, T("separator")}, false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(parse(c.args), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(sections(*dialog), c.sections);
        EXPECT_EQ(dialog->_button_names(), c.buttons);
    }
}

TEST_F(ParserTest, KeysThatNameNoArgumentAreIgnored) {
    Dictionary parameters = call({T("Prompt"), T("OK"), T("separator")});
    parameters.emplace("param_03", Value(cr("caption¶X")));
    parameters.emplace("param_4x", Value(cr("caption¶X")));
    parameters.emplace("param_-5", Value(cr("caption¶X")));
    parameters.emplace("param_99999999999999999999999", Value(cr("separator")));
    parameters.emplace("other", Value(cr("separator")));
    ASSERT_TRUE(P::prepareComponents(parameters, *dialog));
    EXPECT_EQ(sections(*dialog), (std::vector<std::string>{Message("Prompt"), Separator()}));
}

TEST_F(ParserTest, FarApartKeysAreWalkedWithoutVisitingEveryGap) {
    Dictionary parameters = call({T("Prompt"), T("OK")});
    parameters.emplace("param_1000000000000", Value(cr("caption¶Far")));
    parameters.emplace("param_1000000000001", Value(cr("away")));
    parameters.emplace("param_4611686018427387904", Value(cr("separator")));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(P::prepareComponents(parameters, *dialog));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(sections(*dialog), (std::vector<std::string>{Message("Prompt"), Caption("Far", "away"), Separator()}));
}

// ---------------------------------------------------------------- settings from the store

TEST_F(ParserTest, BlurIconAndTitleComeFromTheStore) {
    const struct {
        const char* name;
        std::optional<Value> blur, icon, title;
        bool blurred;
        std::vector<std::string> sections;
    } cases[] = {
        {"nothing set", {}, {}, {}, false, {Message("Prompt")}},
        {"blur on", Value(true), {}, {}, true, {Message("Prompt")}},
        {"blur number 1", Value(1.0), {}, {}, true, {Message("Prompt")}},
        {"blur number 2 is no flag", Value(2.0), {}, {}, false, {Message("Prompt")}},
        {"blur text", Value(std::string("yes")), {}, {}, true, {Message("Prompt")}},
        {"blur empty text", Value(std::string()), {}, {}, true, {Message("Prompt")}},
        {"blur No", Value(std::string("No")), {}, {}, true, {Message("Prompt")}},
        {"blur no", Value(std::string("no")), {}, {}, false, {Message("Prompt")}},
        {"blur disabled", Value(std::string("disabled")), {}, {}, false, {Message("Prompt")}},
        {"blur false", Value(std::string("false")), {}, {}, false, {Message("Prompt")}},
        {"blur image", Value(photo()), {}, {}, false, {Message("Prompt")}},
        {"icon and title before the message", {}, Value(logo()), Value(std::string("Hello")), false,
         {Icon(logo()), Title("Hello"), Message("Prompt")}},
        {"empty title", {}, {}, Value(std::string()), false, {Title(""), Message("Prompt")}},
        {"icon not an image", {}, Value(std::string("note_icon")), Value(3.0), false, {Message("Prompt")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Plugin::setValue(CFG::dialog_blur, c.blur);
        Plugin::setValue(CFG::dialog_icon, c.icon);
        Plugin::setValue(CFG::dialog_title, c.title);
        const Dictionary before = Plugin::get_set_dictionary();
        ASSERT_TRUE(parse({T("Prompt")}));
        EXPECT_EQ(dialog->_enable_blur(), c.blurred);
        EXPECT_EQ(sections(*dialog), c.sections);
        EXPECT_EQ(Plugin::get_set_dictionary().size(), before.size()) << "the parser only reads the store";
    }
}

TEST_F(ParserTest, EveryParseStartsFromAnEmptyController) {
    const std::shared_ptr<InputDialog>& shared = P::_custom_view_controller();
    EXPECT_EQ(shared, P::_custom_view_controller());
    ASSERT_TRUE(P::prepareComponents(call({T("First"), T("A¶B"), T("radio¶R"), N(1), T("separator")})));
    EXPECT_EQ(sections(*shared), (std::vector<std::string>{Message("First"), Radio("R", true), Separator()}));
    EXPECT_EQ(InputDialog::_radio_buttons().size(), 1u);
    // An invalid description leaves what it added until the next parse empties it.
    ASSERT_FALSE(P::prepareComponents(call({T("Second"), T("C"), T("caption¶X")})));
    ASSERT_TRUE(P::prepareComponents(call({T("Third"), T("D")})));
    EXPECT_EQ(sections(*shared), (std::vector<std::string>{Message("Third")}));
    EXPECT_EQ(shared->_button_names(), Lines{"D"});
    EXPECT_TRUE(InputDialog::_radio_buttons().empty());
}

// ---------------------------------------------------------------- bad input

TEST_F(ParserTest, HundredThousandItems) {
    std::vector<Arg> args = {T("Prompt"), T("OK")};
    const char* kinds[] = {"separator", "checkbox¶C", "caption¶T", "comment"};
    for (int k = 0; k < 100000; ++k) {
        const char* kind = kinds[k % 4];
        args.push_back(T(kind));
        if (k % 4 == 1) args.push_back(B(k % 8 == 1));
        if (k % 4 == 2) args.push_back(T("d"));
    }
    ASSERT_TRUE(parse(args));
    const auto& components = dialog->_view_components();
    ASSERT_EQ(components.size(), 1u + 75000u);
    EXPECT_EQ(describe(components[1]), Separator());
    EXPECT_EQ(describe(components[2]), Checkbox("C", true));
    EXPECT_EQ(describe(components[3]), Caption("T", "d"));
    EXPECT_EQ(describe(components.back()), Caption("T", "d"));
    EXPECT_TRUE(std::isfinite(dialog->_height()));
}

TEST_F(ParserTest, TenThousandButtons) {
    std::string buttons;
    for (int k = 1; k <= 10000; ++k) buttons += (k > 1 ? "\r" : "") + std::to_string(k);
    ASSERT_TRUE(parse({T("Prompt"), Value(buttons)}));
    ASSERT_EQ(dialog->_button_names().size(), 10000u);
    EXPECT_EQ(dialog->_button_names().front(), "1");
    EXPECT_EQ(dialog->_button_names().back(), "10000");
}

// Row counts at the end of the 64-bit range are accepted and reach the controller, whose
// measuring keeps every size finite.
TEST_F(ParserTest, HugeRowCountsGiveFiniteSizes) {
    ASSERT_TRUE(parse({T("Prompt"), T("OK"), T("textArea¶Notes¶lines=9223372036854775807"), T(""),
                       T("list¶L¶minlines=9223372036854775807"), T("a¶b"), N(1),
                       T("list¶M¶lines=9223372036854775807¶minlines=9223372036854775807"), T("a"), N(1),
                       T("list¶N¶lines=-9223372036854775808"), T("a¶b¶c"), N(1)}));
    ASSERT_EQ(dialog->_view_components().size(), 5u);
    for (const auto& view : dialog->_view_components()) {
        const ui::Rect frame = view->frame();
        EXPECT_TRUE(std::isfinite(frame.size.width) && std::isfinite(frame.size.height)) << describe(view);
    }
    EXPECT_TRUE(std::isfinite(dialog->_height()));
    EXPECT_GT(dialog->_height(), 1e6);
}

// Every kind of item followed by every kind of value in each of the next three places: the
// parse answers, adds at most the item and what follows, and leaves finite sizes.
TEST_F(ParserTest, EveryValueTypeInEveryPosition) {
    const std::vector<Arg> values = {T("a¶b"), T("1"), T("separator"), T(""), N(2), N(2.5), N(kNaN), N(-kInf),
                                     B(true), I(photo()), gap};
    const char* kinds[] = {"text", "password¶P", "textArea¶A¶lines=5", "caption¶C", "separator¶s",
                              "image¶I", "link¶https://example.com", "checkbox¶C", "radio", "menu",
                              "menu¶M¶focus=1", "list", "list¶L¶minlines=3", "comment"};
    for (const char* section : kinds) {
        for (std::size_t position = 0; position < 3; ++position) {
            for (const Arg& odd : values) {
                std::vector<Arg> args = {T("Prompt"), T("OK"), T(section), T("x¶y"), T("u¶v"), N(1)};
                args[3 + position] = odd;
                SCOPED_TRACE(std::string(section) + " value " + std::to_string(position + 1) + " " +
                             (odd ? valueAsText(*odd) : "gap"));
                parse(args);
                EXPECT_LE(dialog->_view_components().size(), 5u);
                EXPECT_TRUE(std::isfinite(dialog->_width()) && std::isfinite(dialog->_height()));
            }
        }
    }
    // The same with the item as the last parameter, and with values in the prompt's and the
    // buttons' places.
    for (const char* section : kinds) {
        EXPECT_TRUE(parse({T("Prompt"), T("OK"), T(section)}) == (std::string(section).starts_with("separator") ||
                                                                    std::string(section) == "comment"))
            << section;
    }
    for (const Arg& odd : values) {
        EXPECT_EQ(parse({odd, T("OK")}), odd && std::holds_alternative<std::string>(*odd));
        // A missing last argument is no argument at all.
        EXPECT_EQ(parse({T("Prompt"), odd}), !odd || std::holds_alternative<std::string>(*odd));
    }
}

}  // namespace
}  // namespace brelka
