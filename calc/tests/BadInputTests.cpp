// Hostile and broken input: deep nesting, huge literals, invalid UTF-8, runaway recursion.
// Each ends in a result or an error result, never a crash, a hang or a stack overflow.
#include <gtest/gtest.h>

#include <thread>

#include "CalcTestSupport.h"

namespace calc {
namespace {

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

TEST(BadInput, DeepNestingEndsInAnErrorResult) {
    Engine engine;
    calc::Run run;
    for (const char* open : {"(", "-", "not ", "Abs ( ", "Let ( x = 1 ; "}) {
        std::string source = repeat(open, 100000) + "1";
        testing::Outcome out = testing::evaluate(engine, run, source);
        EXPECT_EQ(out.code, 1200) << open;
        EXPECT_EQ(out.text, "?");
    }
}

TEST(BadInput, ModerateNestingStillEvaluates) {
    Engine engine;
    calc::Run run;
    std::string source = repeat("(", 2000) + "7" + repeat(")", 2000);
    EXPECT_EQ(testing::evaluate(engine, run, source).text, "7");
}

TEST(BadInput, DeepNestingOnASmallStackEndsInAnErrorResult) {
    // A thread with a small stack (256 KB) gets an error result too, not an overflow.
    Engine engine;
    calc::Run run;
    testing::Outcome out;
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    struct Job {
        Engine* engine;
        calc::Run* run;
        testing::Outcome* out;
    } job{&engine, &run, &out};
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void* p) -> void* {
                      auto* j = static_cast<Job*>(p);
                      *j->out = testing::evaluate(*j->engine, *j->run, repeat("(", 9000) + "1" + repeat(")", 9000));
                      return nullptr;
                  },
                  &job),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(out.code, 1200);
}

TEST(BadInput, TenMegabyteLiteral) {
    Engine engine;
    calc::Run run;
    std::string big(10 * 1024 * 1024, 'x');
    testing::Outcome out = testing::evaluate(engine, run, "Length ( \"" + big + "\" )");
    EXPECT_EQ(out.text, "10485760");
    out = testing::evaluate(engine, run, "\"" + big);
    EXPECT_EQ(out.code, 1206);
}

TEST(BadInput, InvalidUtf8BecomesReplacementCharacters) {
    Engine engine;
    calc::Run run;
    testing::Outcome out = testing::evaluate(engine, run, std::string("\"a\xff\xfe") + "b\"");
    EXPECT_EQ(out.code, 0);
    EXPECT_EQ(out.text, "a\xEF\xBF\xBD\xEF\xBF\xBD" "b");
    out = testing::evaluate(engine, run, std::string("\xc3") + " + 1");
    EXPECT_NE(out.code, 0);
}

TEST(BadInput, RunawayGrowthEndsInAnErrorResult) {
    Engine engine;
    Limits limits = engine.limits();
    limits.maxTextLength = 1 << 20;
    engine.setLimits(limits);
    calc::Run run;
    // Doubling a text 40 times would need a terabyte.
    std::string source = "Let ( $t = \"xx\" ; 0 )";
    testing::evaluate(engine, run, source);
    testing::Outcome out = testing::evaluate(
        engine, run,
        "Let ( $f = \"Let ( $t = Substitute ( $t ; \\\"x\\\" ; \\\"xx\\\" ) ; Evaluate ( $f ) )\" ; Evaluate ( $f ) )");
    EXPECT_NE(out.code, 0);
    EXPECT_EQ(out.text, "?");
}

TEST(BadInput, ExponentialEvaluateEndsWithinTheStepBudget) {
    Engine engine;
    Limits limits = engine.limits();
    limits.maxSteps = 200000;
    engine.setLimits(limits);
    calc::Run run;
    testing::Outcome out =
        testing::evaluate(engine, run, "Let ( $f = \"Evaluate ( $f ) + Evaluate ( $f )\" ; Evaluate ( $f ) )");
    EXPECT_EQ(out.code, 1200);
}

}  // namespace
}  // namespace calc
