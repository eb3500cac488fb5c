// The locale a calculation value carries. A result value's own locale is handed back when the
// value is written, so that the host formats it the way its caller expects.
#pragma once

#include <string>

namespace fmx {

class Locale {
public:
    Locale() = default;
    explicit Locale(std::string name) : name_(std::move(name)) {}

    // ICU-style locale name; empty means the process's locale.
    const std::string& name() const { return name_; }
    friend bool operator==(const Locale& a, const Locale& b) { return a.name_ == b.name_; }

private:
    std::string name_;
};

}  // namespace fmx
