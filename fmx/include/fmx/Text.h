// A host text: a sequence of UTF-16 code units, as the host keeps texts. Sizes and positions
// count UTF-16 units. Conversions, case folding and equality use ICU.
#pragma once

#include <string>
#include <string_view>

#include "fmx/Types.h"

namespace fmx {

class Text {
public:
    Text() = default;
    explicit Text(std::u16string units) : units_(std::move(units)) {}

    // Replaces the content with a character string in the given encoding (both selectors are
    // UTF-8 on this host). Ill-formed bytes become U+FFFD; a null pointer gives the empty text.
    void Assign(const char* s, int32 encoding = kEncoding_Native);
    // Replaces the content with a NUL-terminated UTF-16 string.
    void AssignUnicode(const unichar16* s);
    void AssignUnicodeWithLength(const unichar16* s, uint32 length);
    // Appends `size` units of `other` from `position` (the whole text by default).
    void AppendText(const Text& other, uint32 position = 0, uint32 size = kSize_End);

    uint32 GetSize() const;
    // Copies `size` units from `position` into `buffer` (clamped to the text; no NUL is added).
    void GetUnicode(unichar16* buffer, uint32 position, uint32 size) const;
    // Writes the units from `position` on as bytes in `encoding` into `buffer`, at most
    // `capacity` bytes including a terminating NUL, never cutting a character in half.
    // Unpaired surrogates become U+FFFD. Answers the number of bytes before the NUL.
    uint32 GetBytes(char* buffer, uint32 capacity, uint32 position = 0, uint32 size = kSize_End,
                    int32 encoding = kEncoding_UTF8) const;

    // Position of the first occurrence of `other` at or after `position`, or kSize_End.
    uint32 Find(const Text& other, uint32 position = 0) const;
    void DeleteText(uint32 position, uint32 size = kSize_End);
    // Lower-cases the whole text with ICU's root-locale full case mapping.
    void Lowercase();

    // Canonical equivalence (ICU normalisation-aware comparison), case-sensitive.
    friend bool operator==(const Text& a, const Text& b);
    friend bool operator!=(const Text& a, const Text& b) { return !(a == b); }

    // Host-side conveniences; the plug-in uses the operations above.
    const std::u16string& units() const { return units_; }
    std::string utf8() const;
    static Text fromUtf8(std::string_view s);

private:
    std::u16string units_;
};

}  // namespace fmx
