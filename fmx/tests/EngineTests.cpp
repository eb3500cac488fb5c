#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestEngine.h"
#include "fmx/fmx.h"

namespace fmx {
namespace {

using testing::ScopedEngine;
using testing::ScopedFailureHook;
using testing::TestEngine;

errcode answerSeven(int16, const ExprEnv&, const DataVect& args, Data& result) {
    result.SetAsNumber(FixPt(7 + static_cast<int32>(args.Size())));
    return 0;
}

TEST(ExprEnvWithoutEngine, EvaluationClearsTheResultAndFails) {
    installEngine(nullptr);
    Data result;
    result.SetAsText(Text(u"stale"), Locale());
    EXPECT_EQ(ExprEnv().Evaluate(Text(u"1+1"), result), 1);
    EXPECT_EQ(result.GetNativeType(), kDTInvalid);
    EXPECT_EQ(result.GetAsText().GetSize(), 0u);
    EXPECT_NE(ExprEnv::RegisterExternalFunction(QuadChar("NvBk"), 1, Text(u"f"), Text(u"f()"), 0,
                                                -1, 0, answerSeven),
              0);
}

TEST(ExprEnvWithEngine, ForwardsRegistrationCallsAndEvaluation) {
    TestEngine engine;
    ScopedEngine installed(engine);
    ASSERT_EQ(ExprEnv::RegisterExternalFunction(QuadChar("NvBk"), 1, Text(u"Seven"),
                                                Text(u"Seven( x )"), 0, -1, 0xFF01, answerSeven),
              0);
    const auto f = engine.find("Seven");
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->prototype, "Seven( x )");
    EXPECT_EQ(f->maxArgs, -1);
    EXPECT_EQ(f->flags, 0xFF01u);

    Data result;
    EXPECT_EQ(engine.call("Seven", testing::arguments({testing::textValue("a")}), result), 0);
    EXPECT_EQ(result.GetAsNumber().AsLong(), 8);

    engine.failRegistrationOf(2, 5);
    EXPECT_EQ(ExprEnv::RegisterExternalFunction(QuadChar("NvBk"), 2, Text(u"Two"), Text(u"Two"), 0,
                                                -1, 0, answerSeven),
              5);
    EXPECT_FALSE(engine.find("Two").has_value());
    EXPECT_EQ(engine.registrationAttempts(), (std::vector<int16>{1, 2}));

    ExprEnv::UnRegisterExternalFunction(QuadChar("NvBk"), 1);
    EXPECT_TRUE(engine.functions().empty());
    EXPECT_EQ(engine.unregistrations(), std::vector<int16>{1});
    EXPECT_THROW(engine.call("Seven", DataVect(), result), std::out_of_range);

    int context = 0;
    engine.setEvaluator([&](const ExprEnv& env, const Text& expression, Data& out) -> errcode {
        EXPECT_EQ(env.context(), &context);
        out.SetAsText(expression, Locale());
        return 0;
    });
    EXPECT_EQ(ExprEnv(&context).Evaluate(Text(u"$x"), result), 0);
    EXPECT_EQ(result.GetAsText().units(), u"$x");
    engine.setEvaluationResult(testing::numberValue(2), 3);
    EXPECT_EQ(ExprEnv().Evaluate(Text(u"1+1"), result), 3);
    EXPECT_EQ(result.GetAsNumber().AsLong(), 2);
    EXPECT_EQ(engine.evaluatedExpressions(), (std::vector<std::string>{"$x", "1+1"}));
}

// Each host call that can fail checks for an injected failure before it changes anything.
TEST(FailureInjection, HostCallsRaiseTheInjectedKindAndChangeNothing) {
    TestEngine engine;
    ScopedEngine installed(engine);
    DataVect args = testing::arguments({testing::textValue("kept")});
    Text text(u"kept");
    Data data = testing::textValue("kept");
    struct Case {
        const char* operation;
        std::function<void()> call;
    };
    char bytes[8];
    const std::vector<Case> cases = {
        {"Text::Assign", [&] { text.Assign("new"); }},
        {"Text::AssignUnicode", [&] { text.AssignUnicode(u"new"); }},
        {"Text::AppendText", [&] { text.AppendText(Text(u"new")); }},
        {"Text::GetBytes", [&] { text.GetBytes(bytes, sizeof bytes); }},
        {"Text::Lowercase", [&] { text.Lowercase(); }},
        {"Data::SetAsText", [&] { data.SetAsText(Text(u"new"), Locale()); }},
        {"Data::SetAsNumber", [&] { data.SetAsNumber(FixPt(1)); }},
        {"Data::SetAsBoolean", [&] { data.SetAsBoolean(true); }},
        {"DataVect::At", [&] { args.At(0); }},
        {"DataVect::AtAsText", [&] { args.AtAsText(0); }},
        {"DataVect::AtAsNumber", [&] { args.AtAsNumber(0); }},
        {"ExprEnv::Evaluate", [&] { ExprEnv().Evaluate(Text(u"1"), data); }},
        {"ExprEnv::RegisterExternalFunction",
         [&] {
             ExprEnv::RegisterExternalFunction(QuadChar("NvBk"), 1, Text(u"f"), Text(u"f"), 0, -1,
                                               0, answerSeven);
         }},
    };
    for (int kind : {1, 2}) {
        for (const auto& c : cases) {
            const std::string target = c.operation;
            ScopedFailureHook hook([&](const char* op) { return target == op ? kind : 0; });
            if (kind == 1) {
                EXPECT_THROW(c.call(), OutOfMemory) << c.operation;
            } else {
                EXPECT_THROW(c.call(), HostException) << c.operation;
            }
            EXPECT_EQ(text.units(), u"kept") << c.operation;
            EXPECT_EQ(data.GetAsText().units(), u"kept") << c.operation;
        }
    }
    EXPECT_TRUE(engine.functions().empty());
    EXPECT_TRUE(engine.evaluatedExpressions().empty());

    // Without a hook, or with one that answers 0, everything runs.
    ScopedFailureHook passing([](const char*) { return 0; });
    text.Assign("new");
    EXPECT_EQ(text.units(), u"new");
}

TEST(EngineSlot, ConcurrentReadersSeeEitherNoEngineOrTheWholeOne) {
    TestEngine engine;
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        while (!stop) {
            Engine* e = installedEngine();
            if (e != nullptr && e != &engine) ++bad;
        }
    });
    for (int i = 0; i < 10000; ++i) installEngine(i % 2 == 0 ? &engine : nullptr);
    stop = true;
    reader.join();
    installEngine(nullptr);
    EXPECT_EQ(bad, 0);
}

}  // namespace
}  // namespace fmx
