#include "Value.h"

#include <cmath>
#include <vector>

#include "DateTime.h"
#include "TextOps.h"

namespace calc {

Value Value::text(std::u16string s) {
    Value v;
    v.type_ = Type::Text;
    v.text_ = std::move(s);
    return v;
}

Value Value::number(double n) {
    Value v;
    v.type_ = Type::Number;
    v.number_ = n;
    return v;
}

Value Value::numberWithText(double n, std::u16string digits) {
    Value v = number(n);
    v.text_ = std::move(digits);
    return v;
}

Value Value::boolean(bool b) {
    Value v;
    v.type_ = Type::Boolean;
    v.number_ = b ? 1 : 0;
    return v;
}

Value Value::date(double serial) {
    Value v;
    v.type_ = Type::Date;
    v.number_ = std::floor(serial);
    return v;
}

Value Value::time(double seconds) {
    Value v;
    v.type_ = Type::Time;
    v.number_ = seconds;
    return v;
}

Value Value::timestamp(double seconds) {
    Value v;
    v.type_ = Type::Timestamp;
    v.number_ = seconds;
    return v;
}

Value Value::container(std::shared_ptr<const fmx::BinaryData> data) {
    Value v;
    v.type_ = Type::Container;
    v.binary_ = std::move(data);
    return v;
}

std::u16string Value::asText() const {
    switch (type_) {
    case Type::Text:
        return text_;
    case Type::Number:
        if (!text_.empty()) return text_;
        return TextOps::fromAscii(fmx::formatNumber(number_, 16));
    case Type::Boolean:
        return TextOps::fromAscii(fmx::formatNumber(number_, 16));
    case Type::Date:
        return DateTime::formatDate(number_);
    case Type::Time:
        return DateTime::formatTime(number_);
    case Type::Timestamp:
        return DateTime::formatTimestamp(number_);
    case Type::Container: {
        // The text form of a container is its file name, kept in the "FNAM" stream as UTF-8.
        if (!binary_) return {};
        int32_t index = binary_->GetIndex(fmx::QuadChar('F', 'N', 'A', 'M'));
        if (index < 0) return {};
        std::string name(binary_->GetSize(index), '\0');
        if (!name.empty() && binary_->GetData(index, 0, static_cast<fmx::uint32>(name.size()), name.data()) != 0)
            return {};
        return TextOps::fromUtf8(name);
    }
    }
    return {};
}

std::optional<double> Value::asOptionalNumber() const {
    switch (type_) {
    case Type::Text:
        return TextOps::parseNumber(text_);
    case Type::Container:
        return std::nullopt;
    default:
        return number_;
    }
}

bool Value::asBoolean() const {
    double n = asNumber();
    return n != 0 && !std::isnan(n);
}

bool Value::isEmpty() const {
    if (type_ == Type::Text) return text_.empty();
    if (type_ == Type::Container) return !binary_ || binary_->GetCount() == 0;
    return false;
}

fmx::Data Value::toData() const {
    fmx::Data data;
    switch (type_) {
    case Type::Text:
        data.SetAsText(fmx::Text(text_), fmx::Locale());
        break;
    case Type::Number:
        // A number with exact digits beyond a double's keeps them as its text.
        if (!text_.empty()) data.SetAsText(fmx::Text(text_), fmx::Locale(), fmx::kDTNumber);
        else data.SetAsNumber(fmx::FixPt::fromDouble(number_));
        break;
    case Type::Boolean:
        data.SetAsBoolean(number_ != 0);
        break;
    case Type::Date:
        data.SetAsDateTime(fmx::kDTDate, number_, fmx::Text(asText()));
        break;
    case Type::Time:
        data.SetAsDateTime(fmx::kDTTime, number_, fmx::Text(asText()));
        break;
    case Type::Timestamp:
        data.SetAsDateTime(fmx::kDTTimeStamp, number_, fmx::Text(asText()));
        break;
    case Type::Container:
        data.SetBinaryData(binary_ ? *binary_ : fmx::BinaryData(), true);
        break;
    }
    return data;
}

Value Value::fromData(const fmx::Data& data) {
    switch (data.GetNativeType()) {
    case fmx::kDTNumber:
        return number(data.GetAsNumber().AsFloat());
    case fmx::kDTBoolean:
        return boolean(data.GetAsBoolean());
    case fmx::kDTDate:
        return date(data.GetAsNumber().AsFloat());
    case fmx::kDTTime:
        return time(data.GetAsNumber().AsFloat());
    case fmx::kDTTimeStamp:
        return timestamp(data.GetAsNumber().AsFloat());
    case fmx::kDTBinary:
        return container(std::make_shared<fmx::BinaryData>(data.GetBinaryData()));
    case fmx::kDTText:
        return text(data.GetAsText().units());
    default:
        return text({});
    }
}

}  // namespace calc
