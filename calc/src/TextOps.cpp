#include "TextOps.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <charconv>
#include <vector>

#include "CalcError.h"

namespace calc {

namespace {

using CaseMap = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

std::u16string mapCase(std::u16string_view text, CaseMap map) {
    if (text.empty()) return {};
    std::u16string out(text.size() + 16, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t n = map(out.data(), static_cast<int32_t>(out.size()), text.data(),
                        static_cast<int32_t>(text.size()), "", &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(n), u'\0');
            continue;
        }
        if (U_FAILURE(status)) return std::u16string(text);
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
    return std::u16string(text);
}

}  // namespace

std::u16string TextOps::fromUtf8(std::string_view utf8) {
    if (utf8.empty()) return {};
    if (utf8.size() > 0x7fffffffu) throw CalcError(errc::kOutOfMemory, "The text is too long");
    std::u16string out(utf8.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string TextOps::toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        if (U_IS_SURROGATE(c)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string TextOps::fromAscii(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::size_t TextOps::length(std::u16string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++n) U16_FWD_1(text.data(), i, text.size());
    return n;
}

std::size_t TextOps::offsetOf(std::u16string_view text, std::size_t index) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < index && i < text.size(); ++n) U16_FWD_1(text.data(), i, text.size());
    return i;
}

std::size_t TextOps::indexOf(std::u16string_view text, std::size_t offset) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++n) U16_FWD_1(text.data(), i, text.size());
    return n;
}

std::u16string TextOps::upper(std::u16string_view text) { return mapCase(text, u_strToUpper); }

std::u16string TextOps::lower(std::u16string_view text) { return mapCase(text, u_strToLower); }

std::u16string TextOps::proper(std::u16string_view text) {
    if (text.empty()) return {};
    std::u16string out(text.size() + 16, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t n = u_strToTitle(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                 static_cast<int32_t>(text.size()), nullptr, "", &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(n), u'\0');
            continue;
        }
        if (U_FAILURE(status)) return std::u16string(text);
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
    return std::u16string(text);
}

std::u16string TextOps::foldCase(std::u16string_view text) {
    if (text.empty()) return {};
    // Names are nearly always ASCII; they need no trip through ICU.
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
        std::u16string out(text);
        for (char16_t& c : out)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        return out;
    }
    std::u16string out(text.size() + 16, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t n = u_strFoldCase(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                  static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(n), u'\0');
            continue;
        }
        if (U_FAILURE(status)) return std::u16string(text);
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
    return std::u16string(text);
}

int TextOps::compareIgnoringCase(std::u16string_view a, std::u16string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    int r = u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                             static_cast<int32_t>(b.size()),
                             U_FOLD_CASE_DEFAULT | U_COMPARE_CODE_POINT_ORDER, &status);
    if (U_FAILURE(status)) return a.compare(b);
    return r;
}

std::optional<double> TextOps::parseNumber(std::u16string_view text) {
    std::string digits;
    bool negative = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            digits += static_cast<char>(c);
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            digits += '.';
            seenPoint = true;
        } else if (c == u'-' && !seenDigit) {
            negative = true;
        }
    }
    if (!seenDigit) return std::nullopt;
    // from_chars, unlike strtod, does not follow the process's locale.
    double value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return negative ? -value : value;
}

}  // namespace calc
