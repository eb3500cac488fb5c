// Reads numbers from texts the way a number formatter in its default configuration does: in
// the process's locale, without grouping or a decimal style, the whole text or nothing. Plain
// decimal numbers ("12", "-1.5", ".5") are read in every locale. Values that are not finite
// ("NaN", "∞") are not numbers here. Thread-safe.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class NumberFormatter {
public:
    // The locale of the environment: LC_ALL, then LC_NUMERIC, then LANG ("C" and "POSIX" read
    // as US English).
    NumberFormatter();
    // A given locale, e.g. "de_DE" or "fr-CH".
    explicit NumberFormatter(std::string_view locale);
    ~NumberFormatter();
    NumberFormatter(const NumberFormatter&) = delete;
    NumberFormatter& operator=(const NumberFormatter&) = delete;

    // The one formatter of the process's locale.
    static const NumberFormatter& standard();

    // The number the text stands for; nothing when the text is not a number as a whole.
    // Spaces around it are ignored.
    std::optional<double> number(std::string_view text) const;

    // The ICU name of the locale in use, e.g. "de_DE".
    const std::string& localeName() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui
