// A four-character code: plug-in identifiers and container stream types ("PNGf", "FNAM", ...).
#pragma once

#include <string>

#include "fmx/Types.h"

namespace fmx {

class QuadChar {
public:
    QuadChar() = default;
    QuadChar(char c0, char c1, char c2, char c3) : chars_{c0, c1, c2, c3} {}
    // From the first four characters of a text; shorter texts are padded with spaces.
    explicit QuadChar(const std::string& code);

    char operator[](int i) const { return chars_[i]; }
    uint32 value() const;
    std::string str() const { return std::string(chars_, 4); }

    friend bool operator==(const QuadChar& a, const QuadChar& b) { return a.value() == b.value(); }

private:
    char chars_[4] = {' ', ' ', ' ', ' '};
};

}  // namespace fmx
