// Host numbers and their text form. The text form follows FileMaker's way of writing numbers:
// plain decimal digits, no trailing zeros, no leading zero before the point (".5"), and at
// most `precision` digits after the point. Digits come from the shortest representation that
// reads back as the same double, so 123456.789 is written as typed rather than with the
// binary noise a fixed-precision printf would show.
#include "fmx/FixPt.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace fmx {

namespace {

// Beyond this magnitude the plain form would be a long run of meaningless zeros.
constexpr double kLargestPlain = 1e21;
constexpr int32 kMaxPrecision = 100;

std::string charsOf(double value, std::chars_format format) {
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string charsOf(double value, std::chars_format format, int precision) {
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

// "0.2500" -> ".25", "3.000" -> "3", "-0.5" -> "-.5".
std::string tidyFixed(std::string s) {
    const auto point = s.find('.');
    if (point != std::string::npos) {
        const auto lastDigit = s.find_last_not_of('0');
        s.erase(lastDigit == point ? point : lastDigit + 1);
    }
    const bool negative = !s.empty() && s[0] == '-';
    const std::size_t digits = negative ? 1 : 0;
    if (s.size() > digits + 1 && s[digits] == '0' && s[digits + 1] == '.') s.erase(digits, 1);
    if (s == "-0") s = "0";
    return s;
}

// Exponent form for magnitudes the plain form cannot show: "1.5e+21", "-2e-20".
std::string exponentForm(double value) {
    std::string s = charsOf(value, std::chars_format::scientific);
    return s.empty() ? "?" : s;
}

}  // namespace

FixPt FixPt::fromDouble(double value, int32 precision) {
    FixPt number(0, precision);
    number.AssignDouble(value);
    return number;
}

int32 FixPt::AsLong() const {
    if (std::isnan(value_)) return 0;
    if (value_ >= static_cast<double>(std::numeric_limits<int32>::max())) {
        return std::numeric_limits<int32>::max();
    }
    if (value_ <= static_cast<double>(std::numeric_limits<int32>::min())) {
        return std::numeric_limits<int32>::min();
    }
    return static_cast<int32>(value_);
}

std::string formatNumber(double value, int32 precision) {
    // FileMaker shows "?" for a value that is not a number.
    if (!std::isfinite(value)) return "?";
    if (value == 0) return "0";
    if (precision < 0) precision = 0;
    if (precision > kMaxPrecision) precision = kMaxPrecision;
    if (std::fabs(value) >= kLargestPlain) return exponentForm(value);

    std::string shortest = charsOf(value, std::chars_format::fixed);
    const auto point = shortest.find('.');
    const std::size_t decimals = point == std::string::npos ? 0 : shortest.size() - point - 1;
    if (decimals <= static_cast<std::size_t>(precision)) return tidyFixed(shortest);

    std::string rounded = tidyFixed(charsOf(value, std::chars_format::fixed, precision));
    // A number that is not zero never reads as zero: tiny magnitudes keep their digits in
    // exponent form instead of rounding away.
    if (rounded == "0") return exponentForm(value);
    return rounded;
}

}  // namespace fmx
