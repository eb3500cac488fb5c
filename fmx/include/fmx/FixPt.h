// A host number. This host keeps numbers as doubles with a decimal precision (digits after
// the point that text forms show at most); the 32-bit integer view saturates.
#pragma once

#include <string>

#include "fmx/Types.h"

namespace fmx {

class FixPt {
public:
    explicit FixPt(int32 value = 0, int32 precision = 16) : value_(value), precision_(precision) {}
    static FixPt fromDouble(double value, int32 precision = 16);

    void AssignInt(int32 value) { value_ = value; }
    void AssignDouble(double value) { value_ = value; }
    // The integer part, truncated towards zero and saturated to the 32-bit range; NaN gives 0.
    int32 AsLong() const;
    double AsFloat() const { return value_; }
    bool AsBool() const { return value_ != 0 && value_ == value_; }
    int32 GetPrecision() const { return precision_; }
    void SetPrecision(int32 precision) { precision_ = precision; }

    friend bool operator==(const FixPt& a, const FixPt& b) { return a.value_ == b.value_; }

private:
    double value_;
    int32 precision_;
};

// The host's text form of a number, as FileMaker writes it: plain decimal, no exponent for
// ordinary magnitudes, no trailing zeros, at most `precision` digits after the point.
std::string formatNumber(double value, int32 precision = 16);

}  // namespace fmx
