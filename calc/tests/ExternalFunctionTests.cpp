// Plug-in functions registered through fmx: calls by name ignoring case, argument counts,
// values crossing the boundary with their native types, errors the function reports, and
// ExprEnv::Evaluate with the calling run's variables, also from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CalcTestSupport.h"

namespace calc {
namespace {

const fmx::QuadChar kPlugin('T', 'e', 's', 't');

fmx::Text text(const char* utf8) { return fmx::Text::fromUtf8(utf8); }

// Answers the native types of its arguments, joined by commas.
fmx::errcode typesOf(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms, fmx::Data& result) {
    std::string types;
    for (fmx::uint32 i = 0; i < parms.Size(); ++i) {
        if (i) types += ",";
        types += std::to_string(parms.At(i).GetNativeType());
    }
    result.SetAsText(text(types.c_str()), fmx::Locale());
    return 0;
}

// Answers its first argument unchanged.
fmx::errcode echo(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms, fmx::Data& result) {
    result = parms.At(0);
    return 0;
}

fmx::errcode failing(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) { return 7; }

fmx::errcode throwing(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) {
    throw std::runtime_error("boom");
}

fmx::errcode yes(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data& result) {
    result.SetAsBoolean(true);
    return 0;
}

// Evaluates its argument in the caller's environment, as the plug-in's validation bridge
// does; with a second argument it does so on another thread while this one waits.
fmx::errcode evaluateInCaller(fmx::int16, const fmx::ExprEnv& env, const fmx::DataVect& parms, fmx::Data& result) {
    fmx::Text expression = parms.AtAsText(0);
    if (parms.Size() > 1) {
        fmx::errcode code = 0;
        std::thread other([&] { code = env.Evaluate(expression, result); });
        other.join();
        return code == 0 ? 0 : 0;
    }
    env.Evaluate(expression, result);
    return 0;
}

class ExternalFunctionTest : public ::testing::Test {
protected:
    void SetUp() override {
        fmx::installEngine(&engine);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 1, text("Test_Types"), text("Test_Types ( x )"),
                                                         0, -1, 0, typesOf),
                  0);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 2, text("Test_Echo"), text("Test_Echo ( x )"), 1,
                                                         1, 0, echo),
                  0);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 3, text("Test_Range"), text("Test_Range ( a ; b )"),
                                                         2, 3, 0, typesOf),
                  0);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 4, text("Test_Fail"), text("Test_Fail"), 0, 0, 0,
                                                         failing),
                  0);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 5, text("Test_Throw"), text("Test_Throw"), 0, 0, 0,
                                                         throwing),
                  0);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 6, text("Test_Eval"), text("Test_Eval ( c )"), 1, 2,
                                                         0, evaluateInCaller),
                  0);
        ASSERT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 7, text("Test_Yes"), text("Test_Yes"), 0, 0, 0, yes),
                  0);
    }
    void TearDown() override { fmx::installEngine(nullptr); }

    testing::Outcome eval(const std::string& source) { return testing::evaluate(engine, run, source); }

    Engine engine;
    calc::Run run;
};

TEST_F(ExternalFunctionTest, CallsByNameIgnoringCase) {
    EXPECT_EQ(eval("test_echo ( \"hi\" )").text, "hi");
    EXPECT_EQ(eval("TEST_ECHO ( 1 + 1 )").text, "2");
}

TEST_F(ExternalFunctionTest, PassesNativeTypes) {
    EXPECT_EQ(eval("Test_Types ( \"t\" ; 1 ; 1 = 1 ; Date ( 1 ; 1 ; 2026 ) ; Time ( 1 ; 0 ; 0 ) ; "
                   "Timestamp ( Date ( 1 ; 1 ; 2026 ) ; Time ( 1 ; 0 ; 0 ) ) ; Base64Decode ( \"AAAA\" ; \"f.bin\" ) )")
                  .text,
              "1,2,2,3,4,5,6");
    EXPECT_EQ(eval("Test_Types ( )").text, "");
    EXPECT_EQ(eval("Test_Types").text, "");  // no arguments needed: the name alone calls it
    EXPECT_EQ(eval("Test_Echo").code, 1208);  // arguments needed: the name alone is an error
}

TEST_F(ExternalFunctionTest, ResultsKeepTheirTypes) {
    struct Row {
        const char* source;
        const char* type;
        const char* text;
    } rows[] = {
        {"Test_Echo ( Date ( 2 ; 3 ; 2026 ) )", "date", "2/3/2026"},
        {"Test_Echo ( Date ( 2 ; 3 ; 2026 ) ) + 1", "date", "2/4/2026"},
        {"Test_Echo ( Time ( 1 ; 2 ; 3 ) )", "time", "1:02:03"},
        {"Test_Echo ( 0.5 )", "number", ".5"},
        {"Test_Echo ( Base64Decode ( \"AAAA\" ; \"f.bin\" ) )", "container", "f.bin"},
        {"Test_Yes", "boolean", "1"},
        {"Test_Yes + 1", "number", "2"},
    };
    for (const Row& row : rows) {
        testing::Outcome out = eval(row.source);
        EXPECT_EQ(out.type, row.type) << row.source;
        EXPECT_EQ(out.text, row.text) << row.source;
    }
}

TEST_F(ExternalFunctionTest, EnforcesArgumentCounts) {
    EXPECT_EQ(eval("Test_Echo ( )").code, 1201);
    EXPECT_EQ(eval("Test_Echo ( 1 ; 2 )").code, 1202);
    EXPECT_EQ(eval("Test_Range ( 1 )").code, 1201);
    EXPECT_EQ(eval("Test_Range ( 1 ; 2 )").code, 0);
    EXPECT_EQ(eval("Test_Range ( 1 ; 2 ; 3 )").code, 0);
    EXPECT_EQ(eval("Test_Range ( 1 ; 2 ; 3 ; 4 )").code, 1202);
    EXPECT_EQ(eval("Test_Types ( 1;2;3;4;5;6;7;8;9;10;11;12 )").code, 0);  // no upper limit
}

TEST_F(ExternalFunctionTest, FailuresBecomeErrorResults) {
    testing::Outcome out = eval("Test_Fail");
    EXPECT_EQ(out.code, 7);
    EXPECT_EQ(out.text, "?");
    out = eval("Test_Throw");
    EXPECT_EQ(out.code, 1200);
    EXPECT_NE(out.message.find("boom"), std::string::npos);
}

TEST_F(ExternalFunctionTest, RegistrationRefusesDuplicatesAndUnregisters) {
    EXPECT_NE(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 20, text("test_echo"), text("x"), 0, 0, 0, echo), 0);
    EXPECT_NE(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 2, text("Other"), text("x"), 0, 0, 0, echo), 0);
    EXPECT_EQ(fmx::ExprEnv::UnRegisterExternalFunction(kPlugin, 2), 0);
    EXPECT_EQ(eval("Test_Echo ( 1 )").code, 1208);
    EXPECT_NE(fmx::ExprEnv::UnRegisterExternalFunction(kPlugin, 2), 0);
    EXPECT_EQ(fmx::ExprEnv::RegisterExternalFunction(kPlugin, 2, text("Test_Echo"), text("x"), 1, 1, 0, echo), 0);
    EXPECT_EQ(eval("Test_Echo ( 1 )").text, "1");
}

TEST_F(ExternalFunctionTest, ExprEnvEvaluatesWithTheCallersVariables) {
    EXPECT_EQ(eval("Let ( $$greeting = \"hello\" ; Test_Eval ( \"$$greeting & \\\" world\\\"\" ) )").text,
              "hello world");
    // Variables the nested evaluation sets are the run's too.
    EXPECT_EQ(eval("Test_Eval ( \"Let ( $set = 5 ; 0 )\" ) & $set").text, "05");
    // The validation bridge's form, from another thread while the caller waits.
    EXPECT_EQ(eval("Test_Eval ( \"Let(x = \\\"abcd\\\" ; Length ( x ) > 3 )\" ; 1 )").text, "1");
    EXPECT_EQ(eval("Let ( $min = 3 ; Test_Eval ( \"Let(x = \\\"ab\\\" ; Length ( x ) > $min )\" ; 1 ) )").text, "0");
}

TEST_F(ExternalFunctionTest, ExprEnvReportsAFailedEvaluationWithoutAValue) {
    fmx::Data result;
    result.SetAsText(text("stale"), fmx::Locale());
    fmx::ExprEnv env(&run);
    EXPECT_EQ(env.Evaluate(text("Let(x = \"a\"b\" ; 1 )"), result), 1212);
    EXPECT_EQ(result.GetNativeType(), fmx::kDTInvalid);
    EXPECT_EQ(env.Evaluate(text("1 / 0"), result), 15);
    EXPECT_EQ(env.Evaluate(text("2 * 21"), result), 0);
    EXPECT_EQ(result.GetAsText().utf8(), "42");
}

TEST_F(ExternalFunctionTest, RecursionThroughAPluginEnds) {
    // A plug-in evaluation that calls the plug-in again, without end, stops at the depth cap.
    testing::Outcome out = eval("Let ( $f = \"Test_Eval ( $f )\" ; Test_Eval ( $f ) )");
    EXPECT_EQ(out.code, 0);  // the plug-in ignores the failed inner evaluation's code
    EXPECT_EQ(out.text, "");
}

}  // namespace
}  // namespace calc
