#include "Builtins.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "CalcError.h"
#include "ContainerFile.h"
#include "DateTime.h"
#include "TextOps.h"

namespace calc {

namespace {

constexpr char16_t kReturn = u'\r';

const BuiltinInfo kTable[] = {
    {Fn::If, "If", 2, 3},
    {Fn::Case, "Case", 2, -1},
    {Fn::Choose, "Choose", 2, -1},
    {Fn::Evaluate, "Evaluate", 1, 2},
    {Fn::Length, "Length", 1, 1},
    {Fn::Left, "Left", 2, 2},
    {Fn::Right, "Right", 2, 2},
    {Fn::Middle, "Middle", 3, 3},
    {Fn::Position, "Position", 4, 4},
    {Fn::PatternCount, "PatternCount", 2, 2},
    {Fn::Substitute, "Substitute", 2, -1},
    {Fn::Replace, "Replace", 4, 4},
    {Fn::Upper, "Upper", 1, 1},
    {Fn::Lower, "Lower", 1, 1},
    {Fn::Proper, "Proper", 1, 1},
    {Fn::Trim, "Trim", 1, 1},
    {Fn::Exact, "Exact", 2, 2},
    {Fn::IsEmpty, "IsEmpty", 1, 1},
    {Fn::Filter, "Filter", 2, 2},
    {Fn::Quote, "Quote", 1, 1},
    {Fn::Char, "Char", 1, 1},
    {Fn::Code, "Code", 1, 1},
    {Fn::GetAsText, "GetAsText", 1, 1},
    {Fn::GetAsNumber, "GetAsNumber", 1, 1},
    {Fn::GetAsDate, "GetAsDate", 1, 1},
    {Fn::GetAsTime, "GetAsTime", 1, 1},
    {Fn::GetAsTimestamp, "GetAsTimestamp", 1, 1},
    {Fn::Int, "Int", 1, 1},
    {Fn::Abs, "Abs", 1, 1},
    {Fn::Round, "Round", 2, 2},
    {Fn::Truncate, "Truncate", 2, 2},
    {Fn::Mod, "Mod", 2, 2},
    {Fn::Div, "Div", 2, 2},
    {Fn::Min, "Min", 1, -1},
    {Fn::Max, "Max", 1, -1},
    {Fn::Ceiling, "Ceiling", 1, 1},
    {Fn::Floor, "Floor", 1, 1},
    {Fn::Sqrt, "Sqrt", 1, 1},
    {Fn::Sign, "Sign", 1, 1},
    {Fn::List, "List", 1, -1},
    {Fn::ValueCount, "ValueCount", 1, 1},
    {Fn::GetValue, "GetValue", 2, 2},
    {Fn::LeftValues, "LeftValues", 2, 2},
    {Fn::RightValues, "RightValues", 2, 2},
    {Fn::MiddleValues, "MiddleValues", 3, 3},
    {Fn::Date, "Date", 3, 3},
    {Fn::Time, "Time", 3, 3},
    {Fn::Timestamp, "Timestamp", 2, 2},
    {Fn::Day, "Day", 1, 1},
    {Fn::Month, "Month", 1, 1},
    {Fn::Year, "Year", 1, 1},
    {Fn::Hour, "Hour", 1, 1},
    {Fn::Minute, "Minute", 1, 1},
    {Fn::Seconds, "Seconds", 1, 1},
    {Fn::DayOfWeek, "DayOfWeek", 1, 1},
    {Fn::Base64Decode, "Base64Decode", 1, 2},
    {Fn::Base64Encode, "Base64Encode", 1, 1},
};

void checkLength(std::size_t length, std::size_t maxText) {
    if (length > maxText) throw CalcError(errc::kOutOfMemory, "The text would be too long");
}

// A count or position argument: whole numbers, saturated so that huge values stay harmless.
long long whole(const Value& v) {
    double n = v.asNumber();
    if (std::isnan(n)) return 0;
    if (n > 4e18) return 4'000'000'000'000'000'000LL;
    if (n < -4e18) return -4'000'000'000'000'000'000LL;
    return static_cast<long long>(std::trunc(n));
}

Value numberResult(double n, const char* function) {
    if (!std::isfinite(n))
        throw CalcError(errc::kNumberNotEvaluable, std::string("The result of ") + function + " is not a number");
    return Value::number(n);
}

// Rounds or truncates to `places` decimal places on the number's decimal digits (its 16
// significant digits), as FileMaker's decimal numbers do: Round ( 1.005 ; 2 ) is 1.01.
double decimalRound(double x, double placesArg, bool truncate) {
    if (!std::isfinite(x) || x == 0 || std::isnan(placesArg)) return x;
    long long places = static_cast<long long>(std::clamp(std::trunc(placesArg), -400.0, 400.0));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15e", std::fabs(x));
    // buffer: d.ddddddddddddddde[+-]XX
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, 15);
    int exponent = std::atoi(buffer + 18);
    long long keep = exponent + 1 + places;
    if (keep >= 16) return x;
    if (keep < 0) return 0.0;
    long long mantissa = 0;
    for (long long i = 0; i < keep; ++i) mantissa = mantissa * 10 + (digits[static_cast<std::size_t>(i)] - '0');
    if (!truncate && digits[static_cast<std::size_t>(keep)] >= '5') ++mantissa;
    std::string text = std::to_string(mantissa) + "e" + std::to_string(-places);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return x < 0 ? -result : result;
}

std::u32string foldedCodePoints(std::u16string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        UChar32 c;
        U16_NEXT(s.data(), i, s.size(), c);
        out += static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
    }
    return out;
}

// Splits a return-separated list into its values; a final return does not start a value.
std::vector<std::u16string_view> valuesOf(std::u16string_view list) {
    std::vector<std::u16string_view> values;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(kReturn, start);
        if (end == std::u16string_view::npos) end = list.size();
        values.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return values;
}

std::u16string joinValues(const std::vector<std::u16string_view>& values, long long from, long long count) {
    std::u16string out;
    long long size = static_cast<long long>(values.size());
    from = std::max(0LL, from);
    for (long long i = from; i < size && i < from + count; ++i) {
        out.append(values[static_cast<std::size_t>(i)]);
        out += kReturn;
    }
    return out;
}

double toDateSerial(const Value& v) {
    switch (v.type()) {
    case Value::Type::Timestamp: return std::floor(v.rawNumber() / DateTime::kSecondsPerDay) + 1;
    case Value::Type::Text: {
        if (auto d = DateTime::parseDate(v.rawText())) return *d;
        if (auto ts = DateTime::parseTimestamp(v.rawText())) return std::floor(*ts / DateTime::kSecondsPerDay) + 1;
        return v.asNumber();
    }
    default: return v.asNumber();
    }
}

double toTimeSeconds(const Value& v) {
    switch (v.type()) {
    case Value::Type::Timestamp: {
        double s = v.rawNumber();
        return s - std::floor(s / DateTime::kSecondsPerDay) * DateTime::kSecondsPerDay;
    }
    case Value::Type::Text: {
        if (auto t = DateTime::parseTime(v.rawText())) return *t;
        if (auto ts = DateTime::parseTimestamp(v.rawText()))
            return *ts - std::floor(*ts / DateTime::kSecondsPerDay) * DateTime::kSecondsPerDay;
        return v.asNumber();
    }
    default: return v.asNumber();
    }
}

}  // namespace

Value Builtins::substitute(const std::u16string& text, const std::u16string& search,
                           const std::u16string& replacement, std::size_t maxText) {
    if (search.empty()) return Value::text(text);
    std::u16string out;
    std::size_t start = 0;
    while (true) {
        std::size_t hit = text.find(search, start);
        if (hit == std::u16string::npos) break;
        out.append(text, start, hit - start);
        out += replacement;
        checkLength(out.size(), maxText);
        start = hit + search.size();
    }
    out.append(text, start, std::u16string::npos);
    checkLength(out.size(), maxText);
    return Value::text(std::move(out));
}

namespace {

Value position(const std::u16string& text, const std::u16string& search, long long start, long long occurrence) {
    if (search.empty() || occurrence == 0 || text.empty()) return Value::number(0);
    std::u32string hay = foldedCodePoints(text);
    std::u32string needle = foldedCodePoints(search);
    long long size = static_cast<long long>(hay.size());
    long long n = static_cast<long long>(needle.size());
    if (n > size) return Value::number(0);
    long long from = std::clamp(start, 1LL, size) - 1;
    if (occurrence > 0) {
        for (long long i = from; i + n <= size; ++i) {
            if (hay.compare(static_cast<std::size_t>(i), static_cast<std::size_t>(n), needle) == 0 && --occurrence == 0)
                return Value::number(static_cast<double>(i + 1));
        }
    } else {
        for (long long i = std::min(from, size - n); i >= 0; --i) {
            if (hay.compare(static_cast<std::size_t>(i), static_cast<std::size_t>(n), needle) == 0 && ++occurrence == 0)
                return Value::number(static_cast<double>(i + 1));
        }
    }
    return Value::number(0);
}

Value charFromCodes(const Value& v) {
    std::u16string digits;
    for (char16_t c : v.asText())
        if (c >= u'0' && c <= u'9') digits += c;
    std::u16string out;
    // Five digits per character, the first character in the lowest five digits.
    for (std::size_t end = digits.size(); end > 0;) {
        std::size_t begin = end >= 5 ? end - 5 : 0;
        long code = 0;
        for (std::size_t i = begin; i < end; ++i) code = code * 10 + (digits[i] - u'0');
        end = begin;
        if (code <= 0 || code > 0x10FFFF || U_IS_SURROGATE(code)) continue;
        if (code < 0x10000) {
            out += static_cast<char16_t>(code);
        } else {
            out += U16_LEAD(code);
            out += U16_TRAIL(code);
        }
    }
    return Value::text(std::move(out));
}

Value codesOf(const std::u16string& text) {
    if (text.empty()) return Value::text({});
    std::string digits;
    std::vector<UChar32> codes;
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        codes.push_back(c);
    }
    for (std::size_t i = codes.size(); i-- > 0;) {
        char group[16];
        std::snprintf(group, sizeof group, i + 1 == codes.size() ? "%d" : "%05d", static_cast<int>(codes[i]));
        digits += group;
    }
    double n = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), n);
    // Beyond 15 digits a double cannot hold the codes; the exact digits are kept as the text
    // form, so that Char ( Code ( x ) ) gives x back.
    if (digits.size() <= 15) return Value::number(n);
    return Value::numberWithText(n, TextOps::fromAscii(digits));
}

Value quote(const std::u16string& text, std::size_t maxText) {
    std::u16string out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c == u'\u00B6') {
            out += u"\\\u00B6";
        } else if (c == kReturn) {
            out += u'\u00B6';
        } else {
            out += c;
        }
    }
    out += u'"';
    checkLength(out.size(), maxText);
    return Value::text(std::move(out));
}

Value minMax(const std::vector<Value>& args, bool wantMax) {
    const Value* best = nullptr;
    double bestNumber = 0;
    for (const Value& v : args) {
        auto n = v.asOptionalNumber();
        if (!n) continue;
        if (!best || (wantMax ? *n > bestNumber : *n < bestNumber)) {
            best = &v;
            bestNumber = *n;
        }
    }
    if (!best) return Value::text({});
    return best->isText() ? Value::number(bestNumber) : *best;
}

Value base64Decode(const std::vector<Value>& args) {
    auto bytes = ContainerFile::decodeBase64(args[0].asText());
    if (!bytes) throw CalcError(errc::kGeneric, "Base64Decode: the text is not valid Base64");
    if (args.size() == 1) return Value::text(TextOps::fromUtf8(std::string(bytes->begin(), bytes->end())));
    std::string name = TextOps::toUtf8(args[1].asText());
    if (name.empty()) throw CalcError(errc::kGeneric, "Base64Decode: the file name is empty");
    return Value::container(ContainerFile::make(*bytes, name));
}

Value base64Encode(const Value& v) {
    std::vector<std::uint8_t> bytes;
    if (v.type() == Value::Type::Container) {
        if (v.binary()) bytes = ContainerFile::fileBytes(*v.binary());
    } else {
        std::string utf8 = TextOps::toUtf8(v.asText());
        bytes.assign(utf8.begin(), utf8.end());
    }
    return Value::text(TextOps::fromAscii(ContainerFile::encodeBase64(bytes.data(), bytes.size())));
}

}  // namespace

const BuiltinInfo* Builtins::find(const std::u16string& folded) {
    static const std::unordered_map<std::u16string, const BuiltinInfo*> byName = [] {
        std::unordered_map<std::u16string, const BuiltinInfo*> map;
        for (const BuiltinInfo& info : kTable) map.emplace(TextOps::foldCase(TextOps::fromAscii(info.name)), &info);
        return map;
    }();
    auto it = byName.find(folded);
    return it == byName.end() ? nullptr : it->second;
}

Value Builtins::call(Fn fn, std::vector<Value>& a, std::size_t maxText) {
    switch (fn) {
    case Fn::Length:
        return Value::number(static_cast<double>(TextOps::length(a[0].asText())));
    case Fn::Left: {
        std::u16string t = a[0].asText();
        long long n = whole(a[1]);
        if (n <= 0) return Value::text({});
        return Value::text(t.substr(0, TextOps::offsetOf(t, static_cast<std::size_t>(n))));
    }
    case Fn::Right: {
        std::u16string t = a[0].asText();
        long long n = whole(a[1]);
        long long length = static_cast<long long>(TextOps::length(t));
        if (n <= 0) return Value::text({});
        if (n >= length) return Value::text(std::move(t));
        return Value::text(t.substr(TextOps::offsetOf(t, static_cast<std::size_t>(length - n))));
    }
    case Fn::Middle: {
        std::u16string t = a[0].asText();
        long long start = std::max(1LL, whole(a[1]));
        long long n = whole(a[2]);
        if (n <= 0) return Value::text({});
        std::size_t from = TextOps::offsetOf(t, static_cast<std::size_t>(start - 1));
        std::size_t to = TextOps::offsetOf(std::u16string_view(t).substr(from), static_cast<std::size_t>(n));
        return Value::text(t.substr(from, to));
    }
    case Fn::Position:
        return position(a[0].asText(), a[1].asText(), whole(a[2]), whole(a[3]));
    case Fn::PatternCount: {
        std::u16string search = a[1].asText();
        if (search.empty()) return Value::number(0);
        std::u32string hay = foldedCodePoints(a[0].asText());
        std::u32string needle = foldedCodePoints(search);
        double count = 0;
        for (std::size_t i = hay.find(needle); i != std::u32string::npos; i = hay.find(needle, i + needle.size()))
            ++count;
        return Value::number(count);
    }
    case Fn::Substitute: {
        Value result = Value::text(a[0].asText());
        if (a.size() == 3 && a[1].type() != Value::Type::Container)
            return Builtins::substitute(result.rawText(), a[1].asText(), a[2].asText(), maxText);
        return result;  // list pairs are applied by the evaluator
    }
    case Fn::Replace: {
        std::u16string t = a[0].asText();
        long long start = std::max(1LL, whole(a[1]));
        long long n = std::max(0LL, whole(a[2]));
        std::size_t from = TextOps::offsetOf(t, static_cast<std::size_t>(start - 1));
        std::size_t count = TextOps::offsetOf(std::u16string_view(t).substr(from), static_cast<std::size_t>(n));
        std::u16string out = t.substr(0, from) + a[3].asText() + t.substr(from + count);
        checkLength(out.size(), maxText);
        return Value::text(std::move(out));
    }
    case Fn::Upper:
        return Value::text(TextOps::upper(a[0].asText()));
    case Fn::Lower:
        return Value::text(TextOps::lower(a[0].asText()));
    case Fn::Proper:
        return Value::text(TextOps::proper(a[0].asText()));
    case Fn::Trim: {
        std::u16string t = a[0].asText();
        std::size_t b = t.find_first_not_of(u' ');
        if (b == std::u16string::npos) return Value::text({});
        std::size_t e = t.find_last_not_of(u' ');
        return Value::text(t.substr(b, e - b + 1));
    }
    case Fn::Exact:
        return Value::number(a[0].asText() == a[1].asText() ? 1 : 0);
    case Fn::IsEmpty:
        return Value::number(a[0].isEmpty() ? 1 : 0);
    case Fn::Filter: {
        std::u16string t = a[0].asText(), keep = a[1].asText(), out;
        std::unordered_set<UChar32> allowed;
        for (std::size_t i = 0; i < keep.size();) {
            UChar32 c;
            U16_NEXT(keep.data(), i, keep.size(), c);
            allowed.insert(c);
        }
        for (std::size_t i = 0; i < t.size();) {
            std::size_t begin = i;
            UChar32 c;
            U16_NEXT(t.data(), i, t.size(), c);
            if (allowed.count(c)) out.append(t, begin, i - begin);
        }
        return Value::text(std::move(out));
    }
    case Fn::Quote:
        return quote(a[0].asText(), maxText);
    case Fn::Char:
        return charFromCodes(a[0]);
    case Fn::Code:
        return codesOf(a[0].asText());
    case Fn::GetAsText:
        return Value::text(a[0].asText());
    case Fn::GetAsNumber: {
        if (a[0].isNumeric() && a[0].type() != Value::Type::Boolean) return Value::number(a[0].rawNumber());
        auto n = a[0].asOptionalNumber();
        return n ? Value::number(*n) : Value::text({});
    }
    case Fn::GetAsDate: {
        if (a[0].type() == Value::Type::Date) return a[0];
        if (a[0].isEmpty()) return Value::text({});
        if (a[0].isText()) {
            if (auto d = DateTime::parseDate(a[0].rawText())) return Value::date(*d);
            if (auto ts = DateTime::parseTimestamp(a[0].rawText()))
                return Value::date(std::floor(*ts / DateTime::kSecondsPerDay) + 1);
            throw CalcError(errc::kGeneric, "GetAsDate: \"" + TextOps::toUtf8(a[0].rawText()) + "\" is not a date");
        }
        return Value::date(toDateSerial(a[0]));
    }
    case Fn::GetAsTime: {
        if (a[0].type() == Value::Type::Time) return a[0];
        if (a[0].isEmpty()) return Value::text({});
        if (a[0].isText() && !DateTime::parseTime(a[0].rawText()) && !DateTime::parseTimestamp(a[0].rawText()))
            throw CalcError(errc::kGeneric, "GetAsTime: \"" + TextOps::toUtf8(a[0].rawText()) + "\" is not a time");
        return Value::time(toTimeSeconds(a[0]));
    }
    case Fn::GetAsTimestamp: {
        if (a[0].type() == Value::Type::Timestamp) return a[0];
        if (a[0].isEmpty()) return Value::text({});
        if (a[0].type() == Value::Type::Date) return Value::timestamp((a[0].rawNumber() - 1) * DateTime::kSecondsPerDay);
        if (a[0].isText()) {
            if (auto ts = DateTime::parseTimestamp(a[0].rawText())) return Value::timestamp(*ts);
            if (auto d = DateTime::parseDate(a[0].rawText())) return Value::timestamp((*d - 1) * DateTime::kSecondsPerDay);
            throw CalcError(errc::kGeneric,
                            "GetAsTimestamp: \"" + TextOps::toUtf8(a[0].rawText()) + "\" is not a timestamp");
        }
        return Value::timestamp(a[0].asNumber());
    }
    case Fn::Int:
        return numberResult(std::trunc(a[0].asNumber()), "Int");
    case Fn::Abs:
        if (a[0].type() == Value::Type::Time) return Value::time(std::fabs(a[0].rawNumber()));
        return numberResult(std::fabs(a[0].asNumber()), "Abs");
    case Fn::Round:
        return numberResult(decimalRound(a[0].asNumber(), a[1].asNumber(), false), "Round");
    case Fn::Truncate:
        return numberResult(decimalRound(a[0].asNumber(), a[1].asNumber(), true), "Truncate");
    case Fn::Mod: {
        double x = a[0].asNumber(), y = a[1].asNumber();
        if (y == 0) throw CalcError(errc::kDivideByZero, "Division by zero in Mod");
        // The result takes the divisor's sign, as FileMaker's does.
        return numberResult(x - y * std::floor(x / y), "Mod");
    }
    case Fn::Div: {
        double x = a[0].asNumber(), y = a[1].asNumber();
        if (y == 0) throw CalcError(errc::kDivideByZero, "Division by zero in Div");
        return numberResult(std::floor(x / y), "Div");
    }
    case Fn::Min:
        return minMax(a, false);
    case Fn::Max:
        return minMax(a, true);
    case Fn::Ceiling:
        return numberResult(std::ceil(a[0].asNumber()), "Ceiling");
    case Fn::Floor:
        return numberResult(std::floor(a[0].asNumber()), "Floor");
    case Fn::Sqrt:
        return numberResult(std::sqrt(a[0].asNumber()), "Sqrt");
    case Fn::Sign: {
        double n = a[0].asNumber();
        return Value::number(n > 0 ? 1 : n < 0 ? -1 : 0);
    }
    case Fn::List: {
        std::u16string out;
        for (const Value& v : a) {
            std::u16string t = v.asText();
            if (t.empty()) continue;
            if (!out.empty()) out += kReturn;
            out += t;
            checkLength(out.size(), maxText);
        }
        return Value::text(std::move(out));
    }
    case Fn::ValueCount:
        return Value::number(static_cast<double>(valuesOf(a[0].asText()).size()));
    case Fn::GetValue: {
        std::u16string t = a[0].asText();
        auto values = valuesOf(t);
        long long n = whole(a[1]);
        if (n < 1 || n > static_cast<long long>(values.size())) return Value::text({});
        return Value::text(std::u16string(values[static_cast<std::size_t>(n - 1)]));
    }
    case Fn::LeftValues: {
        std::u16string t = a[0].asText();
        return Value::text(joinValues(valuesOf(t), 0, whole(a[1])));
    }
    case Fn::RightValues: {
        std::u16string t = a[0].asText();
        auto values = valuesOf(t);
        long long n = whole(a[1]);
        return Value::text(joinValues(values, static_cast<long long>(values.size()) - n, n));
    }
    case Fn::MiddleValues: {
        std::u16string t = a[0].asText();
        long long start = whole(a[1]);
        if (start < 1) return Value::text({});
        return Value::text(joinValues(valuesOf(t), start - 1, whole(a[2])));
    }
    case Fn::Date: {
        double serial = DateTime::dateSerial(a[0].asNumber(), a[1].asNumber(), a[2].asNumber());
        return Value::date(serial);
    }
    case Fn::Time: {
        double s = a[0].asNumber() * 3600 + a[1].asNumber() * 60 + a[2].asNumber();
        if (!std::isfinite(s)) throw CalcError(errc::kNumberNotEvaluable, "The result of Time is not a number");
        return Value::time(s);
    }
    case Fn::Timestamp: {
        double s = (toDateSerial(a[0]) - 1) * DateTime::kSecondsPerDay + toTimeSeconds(a[1]);
        if (!std::isfinite(s)) throw CalcError(errc::kNumberNotEvaluable, "The result of Timestamp is not a number");
        return Value::timestamp(s);
    }
    case Fn::Day:
    case Fn::Month:
    case Fn::Year: {
        if (a[0].isEmpty()) return Value::text({});
        double serial = toDateSerial(a[0]);
        if (!std::isfinite(serial) || std::fabs(serial) > 1e12) throw CalcError(errc::kNumberNotEvaluable, "Not a date");
        std::int64_t y;
        int m, d;
        DateTime::civilFromSerial(static_cast<std::int64_t>(std::floor(serial)), y, m, d);
        return Value::number(fn == Fn::Day ? d : fn == Fn::Month ? m : static_cast<double>(y));
    }
    case Fn::DayOfWeek: {
        if (a[0].isEmpty()) return Value::text({});
        double serial = std::floor(toDateSerial(a[0]));
        if (!std::isfinite(serial)) throw CalcError(errc::kNumberNotEvaluable, "Not a date");
        // 1/1/0001 (serial 1) was a Monday; Sunday is day 1.
        return Value::number(std::fmod(std::fmod(serial, 7) + 7, 7) + 1);
    }
    case Fn::Hour:
    case Fn::Minute:
    case Fn::Seconds: {
        if (a[0].isEmpty()) return Value::text({});
        double s = toTimeSeconds(a[0]);
        if (!std::isfinite(s)) throw CalcError(errc::kNumberNotEvaluable, "Not a time");
        double sign = s < 0 ? -1 : 1;
        s = std::fabs(s);
        if (fn == Fn::Hour) return Value::number(sign * std::floor(s / 3600));
        if (fn == Fn::Minute) return Value::number(sign * std::fmod(std::floor(s / 60), 60));
        return Value::number(sign * (s - std::floor(s / 60) * 60));
    }
    case Fn::Base64Decode:
        return base64Decode(a);
    case Fn::Base64Encode:
        return base64Encode(a[0]);
    case Fn::If:
    case Fn::Case:
    case Fn::Choose:
    case Fn::Evaluate:
        break;
    }
    throw CalcError(errc::kGeneric, "Internal error: the function is evaluated elsewhere");
}

}  // namespace calc
