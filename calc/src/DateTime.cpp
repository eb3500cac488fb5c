#include "DateTime.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace calc {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

const std::int64_t kSerialOrigin = daysFromCivil(1, 1, 1) - 1;

std::u16string ascii(const char* s) {
    std::u16string out;
    for (; *s; ++s) out += static_cast<char16_t>(*s);
    return out;
}

// Splits "12/25/2026" or "13:05:30" into its numbers; no value when anything else appears.
std::optional<std::vector<double>> numbersSeparatedBy(std::u16string_view text, char16_t sep) {
    std::vector<double> parts;
    std::string current;
    auto flush = [&]() -> bool {
        if (current.empty()) return false;
        double v = 0;
        std::from_chars(current.data(), current.data() + current.size(), v);
        parts.push_back(v);
        current.clear();
        return true;
    };
    for (char16_t c : text) {
        if ((c >= u'0' && c <= u'9') || (c == u'.' && sep == u':')) {
            if (current.size() > 20) return std::nullopt;
            current += static_cast<char>(c);
        } else if (c == sep) {
            if (!flush()) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!flush()) return std::nullopt;
    return parts;
}

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

double DateTime::dateSerial(double month, double day, double year) {
    // Calendar arithmetic on whole numbers, kept within a range where it stays exact.
    auto clamp = [](double v) {
        if (!std::isfinite(v)) return 0.0;
        return std::fmax(-1e9, std::fmin(1e9, std::trunc(v)));
    };
    std::int64_t y = static_cast<std::int64_t>(clamp(year));
    std::int64_t m = static_cast<std::int64_t>(clamp(month)) - 1;
    std::int64_t d = static_cast<std::int64_t>(clamp(day));
    y += (m >= 0 ? m : m - 11) / 12;
    m = ((m % 12) + 12) % 12;
    return static_cast<double>(daysFromCivil(y, static_cast<int>(m + 1), 1) - kSerialOrigin + d - 1);
}

void DateTime::civilFromSerial(std::int64_t serial, std::int64_t& year, int& month, int& day) {
    std::int64_t z = serial + kSerialOrigin + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2);
}

std::u16string DateTime::formatDate(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > 1e12) return u"?";
    std::int64_t year;
    int month, day;
    civilFromSerial(static_cast<std::int64_t>(std::floor(serial)), year, month, day);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%04lld", month, day, static_cast<long long>(year));
    return ascii(buffer);
}

std::u16string DateTime::formatTime(double seconds) {
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15) return u"?";
    const bool negative = seconds < 0;
    double s = std::fabs(seconds);
    // Fractions of a second are kept to six places and shown without trailing zeros.
    double whole = std::floor(s);
    long long micros = std::llround((s - whole) * 1e6);
    if (micros >= 1000000) {
        whole += 1;
        micros = 0;
    }
    long long total = static_cast<long long>(whole);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld:%02lld", negative ? "-" : "", total / 3600,
                  (total / 60) % 60, total % 60);
    std::u16string out = ascii(buffer);
    if (micros > 0) {
        char frac[16];
        std::snprintf(frac, sizeof frac, "%06lld", micros);
        std::string f = frac;
        while (!f.empty() && f.back() == '0') f.pop_back();
        out += u'.';
        out += ascii(f.c_str());
    }
    return out;
}

std::u16string DateTime::formatTimestamp(double seconds) {
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15) return u"?";
    double days = std::floor(seconds / kSecondsPerDay);
    return formatDate(days + 1) + u" " + formatTime(seconds - days * kSecondsPerDay);
}

std::optional<double> DateTime::parseDate(std::u16string_view text) {
    auto parts = numbersSeparatedBy(trim(text), u'/');
    if (!parts || parts->size() != 3) return std::nullopt;
    double m = (*parts)[0], d = (*parts)[1], y = (*parts)[2];
    if (m < 1 || m > 12 || d < 1 || d > 31 || y < 1 || y > 4000) return std::nullopt;
    double serial = dateSerial(m, d, y);
    // Reject days that would roll into the next month, such as 2/30.
    std::int64_t yy;
    int mm, dd;
    civilFromSerial(static_cast<std::int64_t>(serial), yy, mm, dd);
    if (mm != static_cast<int>(m)) return std::nullopt;
    return serial;
}

std::optional<double> DateTime::parseTime(std::u16string_view text) {
    text = trim(text);
    int meridiem = 0;
    auto endsWithIgnoringCase = [&](std::u16string_view suffix) {
        if (text.size() < suffix.size()) return false;
        for (std::size_t i = 0; i < suffix.size(); ++i) {
            char16_t c = text[text.size() - suffix.size() + i];
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
            if (c != suffix[i]) return false;
        }
        return true;
    };
    if (endsWithIgnoringCase(u"AM")) meridiem = 1;
    if (endsWithIgnoringCase(u"PM")) meridiem = 2;
    if (meridiem != 0) text = trim(text.substr(0, text.size() - 2));
    auto parts = numbersSeparatedBy(text, u':');
    if (!parts || parts->size() < 2 || parts->size() > 3) return std::nullopt;
    double h = (*parts)[0], m = (*parts)[1], s = parts->size() == 3 ? (*parts)[2] : 0;
    if (h != std::floor(h) || m != std::floor(m) || m >= 60 || s >= 60) return std::nullopt;
    if (meridiem != 0) {
        if (h < 1 || h > 12) return std::nullopt;
        if (h == 12) h = 0;
        if (meridiem == 2) h += 12;
    }
    return h * 3600 + m * 60 + s;
}

std::optional<double> DateTime::parseTimestamp(std::u16string_view text) {
    text = trim(text);
    std::size_t space = text.find(u' ');
    if (space == std::u16string_view::npos) return std::nullopt;
    auto date = parseDate(text.substr(0, space));
    auto time = parseTime(text.substr(space + 1));
    if (!date || !time) return std::nullopt;
    return (*date - 1) * kSecondsPerDay + *time;
}

}  // namespace calc
