// Host texts. Every conversion goes through ICU, so that ill-formed input is replaced the
// same way everywhere: ill-formed UTF-8 and unpaired surrogates both become U+FFFD.
#include "fmx/Text.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstring>
#include <limits>

#include "fmx/Exceptions.h"

namespace fmx {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

std::u16string decodeUtf8(const char* bytes, std::size_t length) {
    if (length == 0) return {};
    if (length > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        throw OutOfMemory();
    }
    // A UTF-8 string never needs more UTF-16 units than it has bytes.
    std::u16string units(length, u'\0');
    int32_t written = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(units.data(), static_cast<int32_t>(units.size()), &written, bytes,
                         static_cast<int32_t>(length), kReplacement, nullptr, &status);
    if (U_FAILURE(status)) throw HostException("text conversion from UTF-8 failed");
    units.resize(static_cast<std::size_t>(written));
    return units;
}

// The code point starting at `i` (advanced past it), with an unpaired surrogate read as U+FFFD.
UChar32 nextCodePoint(const char16_t* s, std::size_t& i, std::size_t end) {
    UChar32 c;
    U16_NEXT(s, i, end, c);
    return U_IS_SURROGATE(c) ? kReplacement : c;
}

int encodeUtf8(UChar32 c, char* out) {
    int32_t n = 0;
    U8_APPEND_UNSAFE(out, n, c);
    return n;
}

// Clamps a (position, size) pair of a Text operation to `[first, last)` within `length`.
void clampRange(std::size_t length, uint32 position, uint32 size, std::size_t& first,
                std::size_t& last) {
    first = position < length ? position : length;
    last = size >= length - first ? length : first + size;
}

}  // namespace

void Text::Assign(const char* s, int32 /*encoding: both selectors are UTF-8 here*/) {
    checkFailure("Text::Assign");
    units_ = s == nullptr ? std::u16string() : decodeUtf8(s, std::strlen(s));
}

void Text::AssignUnicode(const unichar16* s) {
    checkFailure("Text::AssignUnicode");
    if (s == nullptr) {
        units_.clear();
        return;
    }
    units_.assign(s);
}

void Text::AssignUnicodeWithLength(const unichar16* s, uint32 length) {
    checkFailure("Text::AssignUnicodeWithLength");
    if (s == nullptr) {
        units_.clear();
        return;
    }
    units_.assign(s, length);
}

void Text::AppendText(const Text& other, uint32 position, uint32 size) {
    checkFailure("Text::AppendText");
    std::size_t first = 0;
    std::size_t last = 0;
    clampRange(other.units_.size(), position, size, first, last);
    // Copied first: `other` may be this text.
    std::u16string piece = other.units_.substr(first, last - first);
    units_ += piece;
}

uint32 Text::GetSize() const { return static_cast<uint32>(units_.size()); }

void Text::GetUnicode(unichar16* buffer, uint32 position, uint32 size) const {
    if (buffer == nullptr) return;
    std::size_t first = 0;
    std::size_t last = 0;
    clampRange(units_.size(), position, size, first, last);
    std::memcpy(buffer, units_.data() + first, (last - first) * sizeof(char16_t));
}

uint32 Text::GetBytes(char* buffer, uint32 capacity, uint32 position, uint32 size,
                      int32 /*encoding: both selectors are UTF-8 here*/) const {
    checkFailure("Text::GetBytes");
    if (buffer == nullptr || capacity == 0) return 0;
    std::size_t i = 0;
    std::size_t last = 0;
    clampRange(units_.size(), position, size, i, last);
    const std::size_t room = capacity - 1;  // one byte is kept for the NUL
    std::size_t written = 0;
    char encoded[U8_MAX_LENGTH];
    while (i < last) {
        const int n = encodeUtf8(nextCodePoint(units_.data(), i, last), encoded);
        if (written + static_cast<std::size_t>(n) > room) break;
        std::memcpy(buffer + written, encoded, static_cast<std::size_t>(n));
        written += static_cast<std::size_t>(n);
    }
    buffer[written] = '\0';
    return static_cast<uint32>(written);
}

uint32 Text::Find(const Text& other, uint32 position) const {
    if (position > units_.size()) return kSize_End;
    const std::size_t at = units_.find(other.units_, position);
    return at == std::u16string::npos ? kSize_End : static_cast<uint32>(at);
}

void Text::DeleteText(uint32 position, uint32 size) {
    std::size_t first = 0;
    std::size_t last = 0;
    clampRange(units_.size(), position, size, first, last);
    units_.erase(first, last - first);
}

void Text::Lowercase() {
    checkFailure("Text::Lowercase");
    if (units_.empty()) return;
    const auto length = static_cast<int32_t>(units_.size());
    // Full case mapping can grow a text (U+0130 becomes two units); retry once with the size
    // ICU asks for.
    std::u16string lower(units_.size() + units_.size() / 8 + 8, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = u_strToLower(lower.data(), static_cast<int32_t>(lower.size()), units_.data(),
                                  length, "", &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        lower.assign(static_cast<std::size_t>(needed), u'\0');
        status = U_ZERO_ERROR;
        needed = u_strToLower(lower.data(), needed, units_.data(), length, "", &status);
    }
    if (U_FAILURE(status)) throw HostException("lower-casing a text failed");
    lower.resize(static_cast<std::size_t>(needed));
    units_ = std::move(lower);
}

bool operator==(const Text& a, const Text& b) {
    if (a.units_ == b.units_) return true;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t order =
        unorm_compare(a.units_.data(), static_cast<int32_t>(a.units_.size()), b.units_.data(),
                      static_cast<int32_t>(b.units_.size()), U_COMPARE_CODE_POINT_ORDER, &status);
    return U_SUCCESS(status) && order == 0;
}

std::string Text::utf8() const {
    std::string out;
    out.reserve(units_.size());
    char encoded[U8_MAX_LENGTH];
    for (std::size_t i = 0; i < units_.size();) {
        const int n = encodeUtf8(nextCodePoint(units_.data(), i, units_.size()), encoded);
        out.append(encoded, static_cast<std::size_t>(n));
    }
    return out;
}

Text Text::fromUtf8(std::string_view s) { return Text(decodeUtf8(s.data(), s.size())); }

}  // namespace fmx
