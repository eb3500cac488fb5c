// The cost of Brelka_Set ( "dialog-title" ; "x" ) and Brelka_Get ( "dialog-title" ) called
// through their function pointers with a host argument vector, as the host calls them,
// against two floors called the same way: an external function that does nothing, and one
// that only reads its first argument as UTF-8 and answers it as text (the host round trip
// every text-answering function pays).
#include <benchmark/benchmark.h>

#include "fmx/fmx.h"
#include "host/Functions.h"

namespace {

fmx::Data text(const char* utf8) {
    fmx::Data d;
    d.SetAsText(fmx::Text::fromUtf8(utf8), fmx::Locale());
    return d;
}

fmx::errcode doNothing(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) {
    return 0;
}

fmx::errcode echo(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms, fmx::Data& result) {
    const fmx::Text& in = parms.AtAsText(0);
    char buffer[64];
    in.GetBytes(buffer, sizeof buffer, 0, fmx::kSize_End, fmx::kEncoding_UTF8);
    fmx::Text out;
    out.Assign(buffer, fmx::kEncoding_Native);
    result.SetAsText(out, result.GetLocale(), fmx::kDTText);
    return 0;
}

void run(benchmark::State& state, fmx::ExtPluginType function, const fmx::DataVect& args) {
    // Called through a pointer the optimiser cannot see through, as the host does.
    fmx::ExtPluginType volatile target = function;
    fmx::ExprEnv env;
    fmx::Data result;
    for (auto _ : state) {
        fmx::errcode code = target(0, env, args, result);
        benchmark::DoNotOptimize(code);
        benchmark::DoNotOptimize(result);
    }
}

fmx::DataVect setArgs() {
    fmx::DataVect v;
    v.PushBack(text("dialog-title"));
    v.PushBack(text("x"));
    return v;
}

fmx::DataVect getArgs() {
    fmx::DataVect v;
    v.PushBack(text("dialog-title"));
    return v;
}

void BM_FloorNothing(benchmark::State& state) { run(state, &doNothing, getArgs()); }
void BM_FloorEcho(benchmark::State& state) { run(state, &echo, getArgs()); }
void BM_Set(benchmark::State& state) { run(state, &brelka::Brelka_Set, setArgs()); }
void BM_Get(benchmark::State& state) {
    fmx::Data ignored;
    brelka::Brelka_Set(0, fmx::ExprEnv(), setArgs(), ignored);
    run(state, &brelka::Brelka_Get, getArgs());
}

BENCHMARK(BM_FloorNothing);
BENCHMARK(BM_FloorEcho);
BENCHMARK(BM_Set);
BENCHMARK(BM_Get);

}  // namespace
