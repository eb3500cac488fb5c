#include "ui/NumberFormatter.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

namespace ui {

namespace {

std::string environmentLocale() {
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            std::string locale(value);
            // "de_DE.UTF-8@euro" names the locale de_DE.
            locale = locale.substr(0, locale.find_first_of(".@"));
            if (locale == "C" || locale == "POSIX") return "en_US_POSIX";
            return locale;
        }
    }
    return "en_US_POSIX";
}

std::string_view trim(std::string_view s) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

// Optional sign, digits, optional point and digits, at least one digit: the form that is
// read in every locale.
std::optional<double> plainDecimal(std::string_view s) {
    std::string_view body = s;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
    bool digits = false;
    bool point = false;
    for (char c : body) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    // from_chars takes no leading '+'; the sign is applied here.
    const std::string_view magnitude = s.front() == '+' || s.front() == '-' ? s.substr(1) : s;
    double value = 0;
    const auto [end, error] =
        std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), value);
    // Too large a number is no number we can use.
    if (end != magnitude.data() + magnitude.size() || error != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return s.front() == '-' ? -value : value;
}

}  // namespace

struct NumberFormatter::Impl {
    std::string localeName;
    std::unique_ptr<icu::NumberFormat> format;
    // ICU formatters are not documented as safe to parse with from several threads at once.
    mutable std::mutex mutex;
};

NumberFormatter::NumberFormatter() : NumberFormatter(environmentLocale()) {}

NumberFormatter::NumberFormatter(std::string_view locale) : impl_(std::make_unique<Impl>()) {
    icu::Locale icuLocale(std::string(locale).c_str());
    impl_->localeName = icuLocale.getName();
    UErrorCode status = U_ZERO_ERROR;
    // The formatter's default style: the pattern "#", no grouping, no fixed fraction digits.
    auto format = std::unique_ptr<icu::NumberFormat>(
        icu::NumberFormat::createInstance(icuLocale, UNUM_DECIMAL, status));
    if (U_SUCCESS(status) && format) {
        if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(format.get())) {
            UErrorCode patternStatus = U_ZERO_ERROR;
            decimal->applyPattern(icu::UnicodeString(u"#"), patternStatus);
        }
        format->setGroupingUsed(false);
        format->setParseIntegerOnly(false);
        format->setLenient(false);
        impl_->format = std::move(format);
    }
}

NumberFormatter::~NumberFormatter() = default;

const NumberFormatter& NumberFormatter::standard() {
    static const NumberFormatter* instance = new NumberFormatter();
    return *instance;
}

const std::string& NumberFormatter::localeName() const { return impl_->localeName; }

std::optional<double> NumberFormatter::number(std::string_view text) const {
    text = trim(text);
    if (text.empty()) return std::nullopt;
    if (auto plain = plainDecimal(text)) return plain;
    if (!impl_->format) return std::nullopt;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::Formattable result;
    icu::ParsePosition position(0);
    {
        std::lock_guard lock(impl_->mutex);
        impl_->format->parse(unicode, result, position);
    }
    if (position.getIndex() != unicode.length() || position.getErrorIndex() >= 0) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const double value = result.getDouble(status);
    if (U_FAILURE(status) || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace ui
