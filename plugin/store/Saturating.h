// Conversions of calculation numbers into integers for counts, indexes and codes. A number
// from a script can be anything a double holds, so every conversion truncates towards zero
// and saturates at the ends of the target range instead of wrapping; NaN becomes 0.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace brelka {

template <typename Int>
constexpr Int saturatingInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // The limits as doubles: the lower one is exact (a power of two), the upper one rounds up
    // to the next power of two, so ">=" catches everything that does not fit.
    constexpr double lowest = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double beyond = -lowest;
    if (value <= lowest) {
        return std::numeric_limits<Int>::min();
    }
    if (value >= beyond) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(value);
}

inline std::int64_t saturatingInt64(double value) { return saturatingInt<std::int64_t>(value); }
inline std::int32_t saturatingInt32(double value) { return saturatingInt<std::int32_t>(value); }

}  // namespace brelka
