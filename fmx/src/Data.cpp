// Calculation values. A value keeps the view it was written as and derives the others on
// first read (the caches are mutable because readers see a const value).
#include "fmx/Data.h"

#include <charconv>
#include <cmath>
#include <string>

#include "fmx/Exceptions.h"

namespace fmx {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x00A0;
}

// The number a text starts with, after leading white space: an optional sign, digits with at
// most one decimal point (".5" counts), and an optional exponent. No number gives 0.
double leadingNumber(const std::u16string& s) {
    std::size_t i = 0;
    while (i < s.size() && isSpace(s[i])) ++i;
    std::string ascii;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) {
        if (s[i] == u'-') ascii += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            digits = true;
        } else if (s[i] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        ascii += static_cast<char>(s[i]);
    }
    if (!digits) return 0;
    // An exponent counts only when digits follow it: "2e" is the number 2.
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+')) exponent += static_cast<char>(s[j++]);
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j])) exponent += static_cast<char>(s[j++]);
            ascii += exponent;
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    // Out of range: from_chars leaves the value alone, so say so with the nearest infinity.
    if (ec == std::errc::result_out_of_range) {
        const bool tiny = ascii.find("e-") != std::string::npos;
        if (tiny) return 0;
        return ascii[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    (void)end;
    return value;
}

// The file name a container carries in its "FNAM" stream, as UTF-8.
Text containerName(const BinaryData& binary) {
    const int32 index = binary.GetIndex(QuadChar('F', 'N', 'A', 'M'));
    if (index < 0) return Text();
    std::string name(binary.GetSize(index), '\0');
    if (binary.GetData(index, 0, static_cast<uint32>(name.size()), name.data()) != 0) return Text();
    return Text::fromUtf8(name);
}

}  // namespace

const Text& Data::GetAsText() const {
    if (!textValid_) {
        switch (type_) {
        case kDTBinary:
            text_ = containerName(binary_);
            break;
        case kDTBoolean:
            text_ = Text(boolean_ ? u"1" : u"0");
            break;
        default:
            text_ = Text::fromUtf8(formatNumber(number_.AsFloat(), number_.GetPrecision()));
            break;
        }
        textValid_ = true;
    }
    return text_;
}

const FixPt& Data::GetAsNumber() const {
    if (!numberValid_) {
        number_ = FixPt::fromDouble(leadingNumber(text_.units()));
        numberValid_ = true;
    }
    return number_;
}

bool Data::GetAsBoolean() const {
    switch (type_) {
    case kDTBoolean:
        return boolean_;
    case kDTBinary:
        return binary_.GetCount() > 0;
    default:
        return GetAsNumber().AsBool();
    }
}

const BinaryData& Data::GetBinaryData() const { return binary_; }

errcode Data::SetAsText(const Text& text, const Locale& locale, int32 nativeType) {
    checkFailure("Data::SetAsText");
    Clear(nativeType);
    text_ = text;
    locale_ = locale;
    numberValid_ = false;
    return 0;
}

void Data::SetAsNumber(const FixPt& number, int32 nativeType) {
    checkFailure("Data::SetAsNumber");
    Clear(nativeType);
    number_ = number;
    textValid_ = false;
}

void Data::SetAsBoolean(bool value) {
    checkFailure("Data::SetAsBoolean");
    Clear(kDTBoolean);
    boolean_ = value;
    number_ = FixPt(value ? 1 : 0);
    textValid_ = false;
}

errcode Data::SetBinaryData(const BinaryData& data, bool forceBinaryNativeType) {
    checkFailure("Data::SetBinaryData");
    // Without forcing, a value that already has a type keeps it (a text with an attached
    // container stays a text).
    const int32 type = forceBinaryNativeType || type_ == kDTInvalid ? kDTBinary : type_;
    const Text keptText = type == kDTBinary ? Text() : GetAsText();
    Clear(type);
    binary_ = data;
    text_ = keptText;
    textValid_ = type != kDTBinary;
    numberValid_ = type == kDTBinary;
    return 0;
}

void Data::SetAsDateTime(int32 nativeType, double serial, const Text& display) {
    checkFailure("Data::SetAsDateTime");
    Clear(nativeType);
    number_ = FixPt::fromDouble(serial);
    text_ = display;
}

void Data::Clear(int32 nativeType) {
    type_ = nativeType;
    text_ = Text();
    number_ = FixPt();
    binary_.RemoveAll();
    locale_ = Locale();
    boolean_ = false;
    textValid_ = true;
    numberValid_ = true;
}

}  // namespace fmx
