// Dates and times as FileMaker counts them: a date is the number of days since 1/1/0001
// counted from 1 (proleptic Gregorian calendar), a time a number of seconds, a timestamp the
// seconds since 1/1/0001 00:00:00. Text forms are the host locale's short forms; this host
// uses the US style m/d/yyyy and h:mm:ss. Stateless; safe from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

class DateTime {
public:
    static constexpr double kSecondsPerDay = 86400.0;

    // The serial number of Date ( month ; day ; year ), with months and days outside their
    // ranges carried into the year and month as FileMaker does (month 13 is January of the
    // next year, day 0 the last day of the month before).
    static double dateSerial(double month, double day, double year);
    static void civilFromSerial(std::int64_t serial, std::int64_t& year, int& month, int& day);

    static std::u16string formatDate(double serial);
    static std::u16string formatTime(double seconds);
    static std::u16string formatTimestamp(double seconds);

    // Texts in the short forms above ("12/25/2026", "13:05", "1:05:30 PM", both joined by a
    // space for a timestamp); no value for anything else.
    static std::optional<double> parseDate(std::u16string_view text);
    static std::optional<double> parseTime(std::u16string_view text);
    static std::optional<double> parseTimestamp(std::u16string_view text);
};

}  // namespace calc
