// The calculation engine: a whole evaluation (parse and evaluate) of a calculation that calls
// ten functions, of plain arithmetic, and of a plug-in function call.
#include <benchmark/benchmark.h>

#include "calc/Engine.h"

namespace {

const char* const kTenFunctions =
    "Let ( [ t = \"Hello World\" ; n = Length ( t ) ] ; Upper ( Left ( t ; 5 ) ) & Middle ( t ; 7 ; 5 ) & "
    "Round ( n / 3 ; 2 ) & PatternCount ( t ; \"o\" ) & Substitute ( t ; \"World\" ; \"There\" ) & "
    "If ( n > 3 ; \"ok\" ; \"no\" ) & GetValue ( List ( \"a\" ; \"b\" ) ; 2 ) )";

void evaluate(benchmark::State& state, const char* source) {
    calc::Engine engine;
    calc::Run run;
    for (auto _ : state) {
        calc::Result r = engine.evaluate(std::string_view(source), run);
        benchmark::DoNotOptimize(r.errorCode);
    }
}

void BM_TenFunctionCalculation(benchmark::State& state) { evaluate(state, kTenFunctions); }
BENCHMARK(BM_TenFunctionCalculation);

void BM_Arithmetic(benchmark::State& state) { evaluate(state, "1 + 2 * 3 - 4 / 5"); }
BENCHMARK(BM_Arithmetic);

fmx::errcode echo(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms, fmx::Data& result) {
    result = parms.At(0);
    return 0;
}

void BM_PluginFunctionCall(benchmark::State& state) {
    calc::Engine engine;
    engine.registerFunction(fmx::QuadChar('B', 'e', 'n', 'c'), 1, fmx::Text(u"Bench_Echo"), fmx::Text(u"Bench_Echo ( x )"),
                            1, 1, 0, echo);
    calc::Run run;
    for (auto _ : state) {
        calc::Result r = engine.evaluate(std::string_view("Bench_Echo ( \"value\" )"), run);
        benchmark::DoNotOptimize(r.errorCode);
    }
}
BENCHMARK(BM_PluginFunctionCall);

}  // namespace
