// Calculations and the values FileMaker gives for them: literals, operators in their order of
// evaluation, type conversions and the built-in functions' main paths.
#include <gtest/gtest.h>

#include "CalcTestSupport.h"

namespace calc {
namespace {

struct Case {
    const char* source;
    const char* type;
    const char* text;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.source; }

class ExpressionTest : public ::testing::TestWithParam<Case> {
protected:
    Engine engine;
    calc::Run run;
};

TEST_P(ExpressionTest, GivesFileMakersValue) {
    const Case& c = GetParam();
    testing::Outcome out = testing::evaluate(engine, run, c.source);
    EXPECT_EQ(out.code, 0) << out.message;
    EXPECT_EQ(out.text, c.text);
    EXPECT_EQ(out.type, c.type);
}

const Case kLiterals[] = {
    {"42", "number", "42"},
    {"1.50", "number", "1.5"},
    {".5", "number", ".5"},
    {"-0.25", "number", "-.25"},
    {"1e3", "number", "1000"},
    {"123456789012345678901", "number", "123456789012345678901"},  // digits beyond a double kept
    {"-123456789012345678901", "number", "-123456789012345678901"},
    {"", "text", ""},
    {"Evaluate ( \"  // nothing\" )", "text", ""},
    {"\"a \\\"quoted\\\" word\"", "text", "a \"quoted\" word"},
    {"\"back\\\\slash\"", "text", "back\\slash"},
    {"\"one¶two\"", "text", "one\rtwo"},
    {"\"pilcrow \\¶ kept\"", "text", "pilcrow ¶ kept"},
    {"\"line\nbreak\"", "text", "line\rbreak"},
    {"\"a\" & ¶ & \"b\"", "text", "a\rb"},
    {"True", "number", "1"},
    {"false", "number", "0"},
    {"1 + /* inline */ 2 // to the end\n", "number", "3"},
    {"\"ünïcødé 日本\"", "text", "ünïcødé 日本"},
};
INSTANTIATE_TEST_SUITE_P(Literals, ExpressionTest, ::testing::ValuesIn(kLiterals));

const Case kOperators[] = {
    {"1 + 2 * 3", "number", "7"},
    {"(1 + 2) * 3", "number", "9"},
    {"2 ^ 3 ^ 2", "number", "64"},  // equal levels left to right
    {"2 * 3 ^ 2", "number", "18"},
    {"-2 ^ 2", "number", "4"},     // unary minus binds tighter than ^
    {"2 ^ -1", "number", ".5"},
    {"10 - 4 - 3", "number", "3"},
    {"12 / 4 / 3", "number", "1"},
    {"1 / 3", "number", ".3333333333333333"},
    {"2 / 3 * 3", "number", "2"},
    {".1 + .2", "number", ".3"},
    {"1 + 2 & 3", "text", "33"},  // + before &
    {"\"a\" & 1 = \"a1\"", "number", "1"},  // & before =
    {"1 < 2 and 3 < 2", "number", "0"},
    {"1 = 1 or 1 = 2 and 0", "number", "1"},  // and before or
    {"1 xor 1", "number", "0"},
    {"1 xor 0 or 1", "number", "1"},
    {"not 0", "number", "1"},
    {"not 1 = 0", "number", "1"},  // not binds tighter than =: (not 1) = 0
    {"not (1 = 0)", "number", "1"},
    {"3 ≠ 4", "number", "1"},
    {"3 <> 3", "number", "0"},
    {"3 ≤ 3", "number", "1"},
    {"3 >= 4", "number", "0"},
    {"3 ≥ 2", "number", "1"},
    {"\"abc\" = \"ABC\"", "number", "1"},  // text comparison ignores case
    {"\"abc\" < \"abd\"", "number", "1"},
    {"\"10\" = 10", "number", "1"},
    {"\"\" + 5", "number", "5"},
    {"\"$1,234.50\" * 2", "number", "2469"},
    {"Length ( \"abcd\" ) > 3", "number", "1"},
    {"0 and 1/0", "number", "0"},  // and stops early
    {"1 or 1/0", "number", "1"},
};
INSTANTIATE_TEST_SUITE_P(Operators, ExpressionTest, ::testing::ValuesIn(kOperators));

const Case kTextFunctions[] = {
    {"Length ( \"Hello\" )", "number", "5"},
    {"Length ( \"😀a\" )", "number", "2"},  // characters, not UTF-16 units
    {"Left ( \"Manufacturing\" ; 3 )", "text", "Man"},
    {"Left ( \"abc\" ; 10 )", "text", "abc"},
    {"Left ( \"abc\" ; -1 )", "text", ""},
    {"Right ( \"Manufacturing\" ; 3 )", "text", "ing"},
    {"Middle ( \"Manufacturing\" ; 4 ; 3 )", "text", "ufa"},
    {"Middle ( \"😀😁😂\" ; 2 ; 1 )", "text", "😁"},
    {"Position ( \"Mississippi\" ; \"SS\" ; 1 ; 1 )", "number", "3"},
    {"Position ( \"Mississippi\" ; \"ss\" ; 1 ; 2 )", "number", "6"},
    {"Position ( \"Mississippi\" ; \"ss\" ; 11 ; -1 )", "number", "6"},
    {"Position ( \"Mississippi\" ; \"x\" ; 1 ; 1 )", "number", "0"},
    {"PatternCount ( \"Mississippi\" ; \"is\" )", "number", "2"},
    {"PatternCount ( \"Mississippi\" ; \"issi\" )", "number", "1"},
    {"PatternCount ( \"abababa\" ; \"Aba\" )", "number", "2"},
    {"Substitute ( \"Hello world\" ; \"o\" ; \"0\" )", "text", "Hell0 w0rld"},
    {"Substitute ( \"Hello\" ; \"h\" ; \"J\" )", "text", "Hello"},  // matches case
    {"Substitute ( \"a b c\" ; [ \"a\" ; \"1\" ] ; [ \"1\" ; \"x\" ] ; [\" \" ; \"\"] )", "text", "xbc"},
    {"Replace ( \"abcdef\" ; 2 ; 3 ; \"XY\" )", "text", "aXYef"},
    {"Upper ( \"straße\" )", "text", "STRASSE"},
    {"Lower ( \"ÄBC\" )", "text", "äbc"},
    {"Proper ( \"ABRAHAM lincoln\" )", "text", "Abraham Lincoln"},
    {"Trim ( \"  two words  \" )", "text", "two words"},
    {"Exact ( \"Abc\" ; \"abc\" )", "number", "0"},
    {"Exact ( \"abc\" ; \"abc\" )", "number", "1"},
    {"IsEmpty ( \"\" )", "number", "1"},
    {"IsEmpty ( 0 )", "number", "0"},
    {"IsEmpty ( $nothing )", "number", "1"},
    {"Filter ( \"(408) 555-1212\" ; \"0123456789\" )", "text", "4085551212"},
    {"Quote ( \"say \\\"hi\\\"¶next\" )", "text", "\"say \\\"hi\\\"¶next\""},
    {"Evaluate ( Quote ( \"a¶b\" ) )", "text", "a\rb"},
    {"Char ( 65 )", "text", "A"},
    {"Char ( 6600065 )", "text", "AB"},
    {"Code ( \"A\" )", "number", "65"},
    {"Code ( \"Hello\" )", "number", "11100108001080010100072"},
    {"Char ( Code ( \"Hello\" ) )", "text", "Hello"},
    {"GetAsText ( 1.50 ) & \"x\"", "text", "1.5x"},
    {"GetAsNumber ( \"abc123def4.5\" )", "number", "1234.5"},
    {"GetAsNumber ( \"-12\" )", "number", "-12"},
    {"GetAsNumber ( \"none\" )", "text", ""},
};
INSTANTIATE_TEST_SUITE_P(Text, ExpressionTest, ::testing::ValuesIn(kTextFunctions));

const Case kNumberFunctions[] = {
    {"Int ( -2.7 )", "number", "-2"},
    {"Abs ( -3.5 )", "number", "3.5"},
    {"Round ( 14.5 ; 2 )", "number", "14.5"},
    {"Round ( 123.456 ; 2 )", "number", "123.46"},
    {"Round ( 1.005 ; 2 )", "number", "1.01"},
    {"Round ( -2.5 ; 0 )", "number", "-3"},
    {"Round ( 1234 ; -2 )", "number", "1200"},
    {"Truncate ( 123.456 ; 2 )", "number", "123.45"},
    {"Truncate ( -1.99 ; 0 )", "number", "-1"},
    {"Mod ( 13 ; 4 )", "number", "1"},
    {"Mod ( 7 ; -5 )", "number", "-3"},
    {"Mod ( -7 ; 5 )", "number", "3"},
    {"Mod ( -7 ; -5 )", "number", "-2"},
    {"Div ( 7 ; 2 )", "number", "3"},
    {"Div ( -7 ; 2 )", "number", "-4"},
    {"Min ( 3 ; -1 ; 2 )", "number", "-1"},
    {"Max ( 3 ; \"10\" ; 2 )", "number", "10"},
    {"Ceiling ( 1.2 ) & Floor ( -1.2 )", "text", "2-2"},
    {"Sqrt ( 16 )", "number", "4"},
};
INSTANTIATE_TEST_SUITE_P(Numbers, ExpressionTest, ::testing::ValuesIn(kNumberFunctions));

const Case kLogicAndLists[] = {
    {"If ( 1 ; \"yes\" ; \"no\" )", "text", "yes"},
    {"If ( \"\" ; \"yes\" ; \"no\" )", "text", "no"},
    {"If ( 0 ; 1/0 )", "text", ""},  // the branch not taken is not evaluated
    {"Case ( 0 ; \"a\" ; 1 ; \"b\" ; \"c\" )", "text", "b"},
    {"Case ( 0 ; \"a\" ; \"default\" )", "text", "default"},
    {"Case ( 0 ; \"a\" )", "text", ""},
    {"Choose ( 1 ; \"zero\" ; \"one\" ; \"two\" )", "text", "one"},
    {"Choose ( 5 ; \"zero\" ; \"one\" )", "text", ""},
    {"List ( \"a\" ; \"\" ; 2 )", "text", "a\r2"},
    {"ValueCount ( \"a¶b¶c¶\" )", "number", "3"},
    {"ValueCount ( \"\" )", "number", "0"},
    {"ValueCount ( \"a¶¶b\" )", "number", "3"},
    {"GetValue ( \"a¶b¶c\" ; 2 )", "text", "b"},
    {"GetValue ( \"a¶b¶c\" ; 4 )", "text", ""},
    {"LeftValues ( \"a¶b¶c\" ; 2 )", "text", "a\rb\r"},
    {"RightValues ( \"a¶b¶c\" ; 1 )", "text", "c\r"},
    {"MiddleValues ( \"a¶b¶c\" ; 2 ; 5 )", "text", "b\rc\r"},
    {"Let ( x = 5 ; x * 2 )", "number", "10"},
    {"Let ( [ a = 2 ; b = a + 1 ] ; a * b )", "number", "6"},
    {"Let ( [ x = 1 ; x = x + 1 ] ; x )", "number", "2"},
    {"Let ( x = 1 ; Let ( x = x + 10 ; x ) & x )", "text", "111"},
    {"Let ( X = \"abcd\" ; Length ( x ) > 3 )", "number", "1"},  // names ignore case
    {"Let ( x = 5 ; Evaluate ( \"x + 1\" ) )", "number", "6"},
    {"Evaluate ( \"1 + 2\" )", "number", "3"},
    {"eVaLuAtE ( \"lEnGtH ( \\\"ab\\\" )\" )", "number", "2"},
    {"Get ( SystemPlatform )", "number", "3"},
    {"Get ( ApplicationVersion )", "text", "iOS SDK 21.0.1"},
};
INSTANTIATE_TEST_SUITE_P(LogicAndLists, ExpressionTest, ::testing::ValuesIn(kLogicAndLists));

const Case kDatesAndTimes[] = {
    {"Date ( 12 ; 25 ; 2026 )", "date", "12/25/2026"},
    {"Date ( 14 ; 1 ; 2026 )", "date", "2/1/2027"},   // months carry into the year
    {"Date ( 3 ; 0 ; 2024 )", "date", "2/29/2024"},   // day 0 is the last day of the month before
    {"Date ( 1 ; 32 ; 2026 )", "date", "2/1/2026"},
    {"Date ( 0 ; 1 ; 2026 )", "date", "12/1/2025"},
    {"GetAsNumber ( Date ( 1 ; 1 ; 1 ) )", "number", "1"},
    {"GetAsNumber ( Date ( 1 ; 1 ; 2001 ) )", "number", "730486"},
    {"Date ( 12 ; 31 ; 2026 ) + 1", "date", "1/1/2027"},
    {"Date ( 3 ; 1 ; 2024 ) - Date ( 2 ; 1 ; 2024 )", "number", "29"},
    {"Date ( 3 ; 1 ; 2024 ) - 1", "date", "2/29/2024"},
    {"Time ( 13 ; 5 ; 30 )", "time", "13:05:30"},
    {"Time ( 1 ; 90 ; 0 )", "time", "2:30:00"},
    {"Time ( 0 ; 0 ; 1.5 )", "time", "0:00:01.5"},
    {"Time ( 1 ; 0 ; 0 ) + 60", "time", "1:01:00"},
    {"GetAsNumber ( Time ( 1 ; 0 ; 0 ) )", "number", "3600"},
    {"Timestamp ( Date ( 7 ; 4 ; 2026 ) ; Time ( 9 ; 30 ; 0 ) )", "timestamp", "7/4/2026 9:30:00"},
    {"GetAsNumber ( Timestamp ( Date ( 1 ; 2 ; 1 ) ; Time ( 0 ; 0 ; 5 ) ) )", "number", "86405"},
    {"Timestamp ( Date ( 12 ; 31 ; 2026 ) ; Time ( 23 ; 59 ; 59 ) ) + 1", "timestamp", "1/1/2027 0:00:00"},
    {"Day ( Date ( 2 ; 29 ; 2024 ) ) & Month ( Date ( 2 ; 29 ; 2024 ) ) & Year ( Date ( 2 ; 29 ; 2024 ) )", "text", "2922024"},
    {"DayOfWeek ( Date ( 12 ; 11 ; 2026 ) )", "number", "6"},  // a Friday
    {"Hour ( Time ( 13 ; 5 ; 30 ) ) & Minute ( Time ( 13 ; 5 ; 30 ) ) & Seconds ( Time ( 13 ; 5 ; 30 ) )", "text", "13530"},
    {"GetAsDate ( \"12/25/2026\" ) + 7", "date", "1/1/2027"},
    {"GetAsTime ( \"1:30 PM\" )", "time", "13:30:00"},
    {"Date ( 12 ; 25 ; 2026 ) = \"12/25/2026\"", "number", "1"},
    {"Date ( 1 ; 1 ; 2026 ) < Date ( 1 ; 2 ; 2026 )", "number", "1"},
    {"\"Due: \" & Date ( 1 ; 5 ; 2026 )", "text", "Due: 1/5/2026"},
};
INSTANTIATE_TEST_SUITE_P(DatesAndTimes, ExpressionTest, ::testing::ValuesIn(kDatesAndTimes));

TEST(Variables, DollarVariablesPersistAcrossTheStatementsOfARun) {
    Engine engine;
    calc::Run run;
    EXPECT_EQ(testing::evaluate(engine, run, "Let ( [ $count = 1 ; $$name = \"Ann\" ] ; 0 )").code, 0);
    EXPECT_EQ(testing::evaluate(engine, run, "$count + 1").text, "2");
    EXPECT_EQ(testing::evaluate(engine, run, "$$NAME").text, "Ann");  // names ignore case
    EXPECT_EQ(testing::evaluate(engine, run, "Let ( $count = $count + 1 ; $count )").text, "2");
    EXPECT_EQ(testing::evaluate(engine, run, "$count").text, "2");

    calc::Run other;
    EXPECT_EQ(testing::evaluate(engine, other, "$$name").text, "");
}

TEST(Variables, LetVariablesWithoutDollarEndWithTheLet) {
    Engine engine;
    calc::Run run;
    EXPECT_EQ(testing::evaluate(engine, run, "Let ( x = 1 ; x ) & x").code, 102);
}

}  // namespace
}  // namespace calc
