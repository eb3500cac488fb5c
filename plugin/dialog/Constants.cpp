#include "dialog/Constants.h"

#include <limits>

namespace brelka {

namespace {

using Limits = std::numeric_limits<std::int64_t>;

// The exact result's sign decides the end to clamp to when a step overflows.
std::int64_t clampTo(bool negative) { return negative ? Limits::min() : Limits::max(); }

}  // namespace

std::int64_t lineCountHeight(std::int64_t lines, std::int64_t perLine, std::int64_t firstLineOffset,
                             std::int64_t base) {
    // Work in steps that each may overflow; once one does, the exact value lies beyond the
    // 64-bit range on the side given by its sign, and a bounded base cannot bring it back
    // (|base| is far below the range for every caller).
    std::int64_t counted = 0;
    if (__builtin_sub_overflow(lines, firstLineOffset, &counted)) {
        // lines − offset underflowed (or overflowed for a negative offset).
        const bool negative = firstLineOffset > 0;
        return clampTo(perLine >= 0 ? negative : !negative);
    }
    std::int64_t product = 0;
    if (__builtin_mul_overflow(counted, perLine, &product)) {
        return clampTo((counted < 0) != (perLine < 0));
    }
    std::int64_t sum = 0;
    if (__builtin_add_overflow(product, base, &sum)) {
        return clampTo(product < 0);
    }
    return sum;
}

}  // namespace brelka
