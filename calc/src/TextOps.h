// Text operations the calculation functions share: UTF-8/UTF-16 conversion, code-point
// positions, case mapping with ICU, case-insensitive comparison and FileMaker's reading of a
// number from a text. Stateless; safe from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

class TextOps {
public:
    // Ill-formed UTF-8 becomes U+FFFD, so every byte string gives a text.
    static std::u16string fromUtf8(std::string_view utf8);
    // Unpaired surrogates become U+FFFD.
    static std::string toUtf8(std::u16string_view text);
    static std::u16string fromAscii(std::string_view ascii);

    // Texts are counted in characters (code points), as users count them, so that a
    // function never cuts a character in half.
    static std::size_t length(std::u16string_view text);
    // Offset in UTF-16 units of character `index` (from 0), or text.size() past the end.
    static std::size_t offsetOf(std::u16string_view text, std::size_t index);
    // Character index of UTF-16 offset `offset`.
    static std::size_t indexOf(std::u16string_view text, std::size_t offset);

    static std::u16string upper(std::u16string_view text);
    static std::u16string lower(std::u16string_view text);
    static std::u16string proper(std::u16string_view text);
    static std::u16string foldCase(std::u16string_view text);
    // <0, 0 or >0, ignoring case, as FileMaker compares texts.
    static int compareIgnoringCase(std::u16string_view a, std::u16string_view b);

    // FileMaker reads a number from a text by taking its digits, the first decimal point
    // and a minus sign before the first digit, skipping everything else ("$1,234.50" gives
    // 1234.5). A text without digits gives no number.
    static std::optional<double> parseNumber(std::u16string_view text);
};

}  // namespace calc
