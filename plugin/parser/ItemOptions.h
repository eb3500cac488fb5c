// What the option lines of one item section say (the lines "key=value" after its title).
// A plain value record; `ok` false means a line was malformed or unknown, and then the other
// fields are not to be used.
#pragma once

#include <cstdint>
#include <string>

namespace brelka {

struct ItemOptions {
    bool ok = false;
    // Pattern or calculation that a text or password field's text must satisfy; "" for none.
    std::string validation;
    // `validation` is a FileMaker calculation rather than a regular expression.
    bool filemaker_validation = false;
    // The field asks for the keyboard focus when the dialog opens.
    bool focus = false;
    // Rows of a text area; the most visible rows of a list. 0 when not given.
    std::int64_t lines = 0;
    // The fewest visible rows of a list. 0 when not given.
    std::int64_t minlines = 0;

    bool operator==(const ItemOptions&) const = default;
};

}  // namespace brelka
