// A calculation value as the evaluator handles it: text (UTF-16, as the host keeps texts),
// number, date, time, timestamp, container or the host's boolean. Dates, times and
// timestamps hold their serial numbers (days since 1/1/0001 counted from 1; seconds; seconds
// since 1/1/0001 00:00:00). Values are small and copied freely; a container's streams are
// shared read-only. Not tied to a thread.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "fmx/fmx.h"

namespace calc {

class Value {
public:
    enum class Type : unsigned char { Text, Number, Date, Time, Timestamp, Container, Boolean };

    Value() = default;
    static Value text(std::u16string s);
    static Value number(double n);
    // A number whose exact decimal digits a double cannot hold (Code of a long text): the
    // digits are kept as its text form.
    static Value numberWithText(double n, std::u16string digits);
    static Value boolean(bool b);
    static Value date(double serial);
    static Value time(double seconds);
    static Value timestamp(double seconds);
    static Value container(std::shared_ptr<const fmx::BinaryData> data);

    Type type() const { return type_; }
    bool isText() const { return type_ == Type::Text; }
    bool isNumeric() const { return type_ != Type::Text && type_ != Type::Container; }

    // The text form, as GetAsText gives it: numbers without trailing zeros, dates and times in
    // the host's short form, a container as its file name.
    std::u16string asText() const;
    // The number, as FileMaker reads one: texts give the number their digits spell, or
    // nothing when they hold no digit; dates and times give their serial numbers.
    std::optional<double> asOptionalNumber() const;
    // The number with "no number" read as 0, as arithmetic uses it.
    double asNumber() const { return asOptionalNumber().value_or(0.0); }
    // True for a number other than 0; a text counts by the number it spells.
    bool asBoolean() const;
    // Empty text, or a container without streams.
    bool isEmpty() const;

    const std::u16string& rawText() const { return text_; }
    double rawNumber() const { return number_; }
    const std::shared_ptr<const fmx::BinaryData>& binary() const { return binary_; }

    // Conversions at the plug-in boundary.
    fmx::Data toData() const;
    static Value fromData(const fmx::Data& data);

private:
    Type type_ = Type::Text;
    double number_ = 0;
    std::u16string text_;
    std::shared_ptr<const fmx::BinaryData> binary_;
};

}  // namespace calc
