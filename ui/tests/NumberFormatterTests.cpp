// Reading numbers from setting texts: plain decimals everywhere, the locale's own forms, and
// nothing for texts that are not wholly a finite number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "ui/NumberFormatter.h"

namespace {

using ui::NumberFormatter;

TEST(NumberFormatterTest, ReadsWholeTextsAsNumbersInTheirLocale) {
    struct Case {
        const char* locale;
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"en_US", "12", 12},
        {"en_US", "-1.5", -1.5},
        {"en_US", ".5", 0.5},
        {"en_US", "+3", 3},
        {"en_US", " 7 ", 7},
        {"en_US", "0", 0},
        {"en_US", "", std::nullopt},
        {"en_US", "   ", std::nullopt},
        {"en_US", "abc", std::nullopt},
        {"en_US", "1.5abc", std::nullopt},
        {"en_US", "1,000", std::nullopt},  // no grouping in the default style
        {"en_US", "1.2.3", std::nullopt},
        {"en_US", "-", std::nullopt},
        {"en_US", "NaN", std::nullopt},
        {"en_US", "\xE2\x88\x9E", std::nullopt},  // infinity sign
        {"en_US", "1e999", std::nullopt},
        {"de_DE", "1,5", 1.5},
        {"de_DE", "-2,25", -2.25},
        {"de_DE", "1.5", 1.5},  // plain decimals in every locale
        {"fr_FR", "3,75", 3.75},
        {"ar_EG", "\xD9\xA1\xD9\xA2", 12},  // Arabic-Indic digits one, two
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " '" + c.text + "'");
        const NumberFormatter formatter(c.locale);
        const std::optional<double> value = formatter.number(c.text);
        ASSERT_EQ(value.has_value(), c.expected.has_value());
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.expected);
        }
    }
}

TEST(NumberFormatterTest, TakesTheLocaleFromTheEnvironment) {
    struct Case {
        const char* lcAll;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", "en_US.UTF-8", "de_DE"},
        {"", "fr_CH.UTF-8@euro", "fr_CH"},
        {"C", "de_DE", "en_US_POSIX"},
    };
    const char* savedAll = std::getenv("LC_ALL");
    const char* savedLang = std::getenv("LANG");
    const std::string all = savedAll ? savedAll : "", lang = savedLang ? savedLang : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        setenv("LC_ALL", c.lcAll, 1);
        unsetenv("LC_NUMERIC");
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(NumberFormatter().localeName(), c.expected);
    }
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(NumberFormatter().number("0,25"), 0.25);
    savedAll ? setenv("LC_ALL", all.c_str(), 1) : unsetenv("LC_ALL");
    savedLang ? setenv("LANG", lang.c_str(), 1) : unsetenv("LANG");
}

}  // namespace
