#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fmx/FixPt.h"

namespace fmx {
namespace {

constexpr int32 kMax = std::numeric_limits<int32>::max();
constexpr int32 kMin = std::numeric_limits<int32>::min();

TEST(FixPtAsLong, TruncatesTowardZeroAndSaturates) {
    struct Case {
        double value;
        int32 expected;
    };
    const std::vector<Case> cases = {
        {0, 0},
        {0.5, 0},
        {-0.5, 0},
        {2.9, 2},
        {-2.9, -2},
        {2147483647.0, kMax},
        {2147483647.9, kMax},
        {2147483648.0, kMax},
        {4294967296.0, kMax},
        {1e300, kMax},
        {std::numeric_limits<double>::infinity(), kMax},
        {-2147483648.0, kMin},
        {-2147483648.5, kMin},
        {-2147483649.0, kMin},
        {-1e300, kMin},
        {-std::numeric_limits<double>::infinity(), kMin},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FixPt::fromDouble(c.value).AsLong(), c.expected) << c.value;
    }
}

TEST(FixPt, DefaultIsZeroWithPrecisionSixteenAndAssignIntReplacesTheValue) {
    FixPt n;
    EXPECT_EQ(n.AsLong(), 0);
    EXPECT_EQ(n.GetPrecision(), 16);
    n.AssignInt(-4);
    EXPECT_EQ(n.AsLong(), -4);
    EXPECT_EQ(n.AsFloat(), -4.0);
    EXPECT_FALSE(FixPt::fromDouble(std::nan("")).AsBool());
    EXPECT_TRUE(FixPt::fromDouble(0.001).AsBool());
}

TEST(FormatNumber, WritesNumbersAsFileMakerDoes) {
    struct Case {
        double value;
        int32 precision;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, 16, "0"},
        {-0.0, 16, "0"},
        {300, 16, "300"},
        {-300, 16, "-300"},
        {0.5, 16, ".5"},
        {1.0 / 3.0, 16, ".3333333333333333"},
        {2.0 / 3.0, 16, ".6666666666666666"},
        {-0.25, 16, "-.25"},
        {2.5, 16, "2.5"},
        {0.1 + 0.2, 16, ".3"},
        {123456.789, 16, "123456.789"},
        {1e15, 16, "1000000000000000"},
        {2147483648.0, 16, "2147483648"},
        {3.14159, 2, "3.14"},
        {2.75, 0, "3"},
        {-0.004, 2, "-4e-03"},
        {1e21, 16, "1e+21"},
        {-1.5e300, 16, "-1.5e+300"},
        {1e-20, 16, "1e-20"},
        {std::nan(""), 16, "?"},
        {std::numeric_limits<double>::infinity(), 16, "?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.precision), c.text) << c.value << " @" << c.precision;
    }
}

}  // namespace
}  // namespace fmx
