// The keywords of an item's option line "validation=keyword", and the validation text each one
// stands for. The four built-in patterns are regular expressions that the dialog applies to a
// field's text when the user confirms; they are passed on exactly as written here.
#pragma once

#include <array>
#include <string_view>

namespace brelka {

enum class supported_validations {
    none,
    credit_card,
    ssn,
    sin,
    czech_id,
    regexp,     // the option line's next line is the pattern
    filemaker,  // the option line's next line is a FileMaker calculation
};

// The keyword of a validation, as scripts write it (compared without regard to case).
constexpr std::string_view rawValue(supported_validations validation) {
    switch (validation) {
    case supported_validations::none: return "NONE";
    case supported_validations::credit_card: return "CREDIT_CARD";
    case supported_validations::ssn: return "SSN";
    case supported_validations::sin: return "SIN";
    case supported_validations::czech_id: return "CZECH_ID";
    case supported_validations::regexp: return "REGEXP";
    case supported_validations::filemaker: return "FILEMAKER";
    }
    return "";
}

// Whether the keyword takes the section's next line as its validation text.
constexpr bool takesNextLine(supported_validations validation) {
    return validation == supported_validations::regexp ||
           validation == supported_validations::filemaker;
}

// The validation text of a keyword that does not take the next line: "" for none (no
// validation), else its built-in pattern. Every backslash is one character of the pattern.
constexpr std::string_view builtInPattern(supported_validations validation) {
    switch (validation) {
    case supported_validations::credit_card:
        return R"(^(4\d{3}[-\s]?)(\d{4}[-\s]?){2}\d{4}$|^(5[1-5]\d\d[-\s]?)(\d{4}[-\s]?){2}\d{4}$)";
    case supported_validations::ssn:
        return R"(^((?!666|000)[0-8][0-9\_]{2}\-(?!00)[0-9\_]{2}\-(?!0000)[0-9\_]{4})*$)";
    case supported_validations::sin:
        return R"(^(\d{3}-\d{3}-\d{3})|(\d{3}-\d{2}-\d{4})$)";
    case supported_validations::czech_id:
        return R"(^[0-9]{2}[01235678][0-9][0-3][0-9]\/?[0-9]{3,4}$)";
    case supported_validations::none:
    case supported_validations::regexp:
    case supported_validations::filemaker:
        return "";
    }
    return "";
}

inline constexpr std::array<supported_validations, 7> allSupportedValidations = {
    supported_validations::none,     supported_validations::credit_card,
    supported_validations::ssn,      supported_validations::sin,
    supported_validations::czech_id, supported_validations::regexp,
    supported_validations::filemaker,
};

}  // namespace brelka
