// Calculations FileMaker refuses, and the error codes it reports for them. An error result
// has the text "?" and a message; nothing escapes as an exception.
#include <gtest/gtest.h>

#include "CalcTestSupport.h"

namespace calc {
namespace {

struct ErrorCase {
    const char* source;
    int code;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.source; }

class ErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTest, GivesFileMakersErrorCode) {
    Engine engine;
    calc::Run run;
    testing::Outcome out = testing::evaluate(engine, run, GetParam().source);
    EXPECT_EQ(out.code, GetParam().code) << out.message;
    EXPECT_EQ(out.text, "?");
    EXPECT_FALSE(out.message.empty());
}

const ErrorCase kErrors[] = {
    {"1e400", 1218},
    {"1 +", 1204},
    {"* 2", 1204},
    {"Left ( \"abc\" )", 1201},
    {"Left ( \"abc\" ; 1 ; 2 )", 1202},
    {"If ( 1 )", 1201},
    {"Length ( )", 1201},
    {"Let ( x = 1 ; x ; 2 )", 1202},
    {"NoSuchFunction ( 1 )", 1208},
    {"\"open text", 1206},
    {"1 /* open comment", 1205},
    {"(1 + 2", 1207},
    {"1 + 2)", 1207},
    {"Left ( \"abc\" ; 1", 1207},
    {"1 2", 1212},
    {"1 # 2", 1212},
    {"undefinedField + 1", 102},
    {"Length ( [ 1 ; 2 ] )", 1211},
    {"Get ( NoSuchSelector )", 1215},
    {"Let ( = 1 ; 2 )", 1209},
    {"1 / 0", 15},
    {"Mod ( 1 ; 0 )", 15},
    {"Div ( 1 ; 0 )", 15},
    {"Sqrt ( -1 )", 1218},
    {"Evaluate ( \"1 +\" )", 1204},
    {"Evaluate ( \"Left ( 1 )\" )", 1201},
    {"Let ( $f = \"Evaluate ( $f )\" ; Evaluate ( $f ) )", 1200},  // recursion ends in an error
    {"Base64Decode ( \"not base64!\" )", 1200},
};
INSTANTIATE_TEST_SUITE_P(Errors, ErrorTest, ::testing::ValuesIn(kErrors));

TEST(ErrorRecovery, ARunGoesOnAfterAnError) {
    Engine engine;
    calc::Run run;
    EXPECT_EQ(testing::evaluate(engine, run, "Let ( $x = 1 ; 1 / 0 )").code, 15);
    // The variable was set before the failure, as in FileMaker; the run is still usable.
    EXPECT_EQ(testing::evaluate(engine, run, "$x + 1").text, "2");
}

TEST(ErrorRecovery, ASyntaxErrorRunsNothing) {
    Engine engine;
    calc::Run run;
    EXPECT_EQ(testing::evaluate(engine, run, "Let ( $x = 1 ; Left ( 1 ) )").code, 1201);
    EXPECT_EQ(testing::evaluate(engine, run, "IsEmpty ( $x )").text, "1");
}

}  // namespace
}  // namespace calc
