// The cost of one plug-in call as a script makes it: `Brelka_Get ( "dialog-title" )` evaluated
// by the calculation engine (parse, look-up, argument values, call, result), against the same
// call made straight through the function pointer the plug-in registered (the floor).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "PluginModule.h"
#include "calc/Engine.h"
#include "fmx/fmx.h"

namespace {

// Passes registrations on to the calculation engine and keeps each function's pointer by
// name, so that the benchmark can call a function the way the engine does, without it.
class RecordingEngine : public fmx::Engine {
public:
    explicit RecordingEngine(calc::Engine& engine) : engine_(engine) {}

    fmx::errcode registerFunction(const fmx::QuadChar& pluginId, fmx::int16 functionId, const fmx::Text& name,
                                  const fmx::Text& prototype, fmx::int16 minArgs, fmx::int16 maxArgs,
                                  fmx::uint32 flags, fmx::ExtPluginType function) override {
        functions[name.utf8()] = function;
        return engine_.registerFunction(pluginId, functionId, name, prototype, minArgs, maxArgs, flags, function);
    }
    fmx::errcode unregisterFunction(const fmx::QuadChar& pluginId, fmx::int16 functionId) override {
        return engine_.unregisterFunction(pluginId, functionId);
    }
    fmx::errcode evaluate(const fmx::ExprEnv& env, const fmx::Text& expression, fmx::Data& result) override {
        return engine_.evaluate(env, expression, result);
    }

    std::map<std::string, fmx::ExtPluginType> functions;

private:
    calc::Engine& engine_;
};

// One engine and one started plug-in for the whole process.
struct Setup {
    calc::Engine engine;
    RecordingEngine recorder{engine};
    calc::Run run;
    std::unique_ptr<fmhost::PluginModule> plugin;

    Setup() {
        fmx::installEngine(&recorder);
        plugin = std::make_unique<fmhost::PluginModule>(BENCH_PLUGIN);
        plugin->init();
        engine.evaluate(std::string_view(R"(Brelka_Set ( "dialog-title" ; "Delivery check" ))"), run);
    }
    ~Setup() {
        plugin->shutdown();
        fmx::installEngine(nullptr);
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

void BM_GetThroughEngine(benchmark::State& state) {
    Setup& s = setup();
    const std::string_view source = R"(Brelka_Get ( "dialog-title" ))";
    for (auto _ : state) {
        calc::Result result = s.engine.evaluate(source, s.run);
        benchmark::DoNotOptimize(result);
    }
    if (s.engine.evaluate(source, s.run).value.GetAsText().utf8() != "Delivery check")
        state.SkipWithError("the engine's call did not answer the title");
}
BENCHMARK(BM_GetThroughEngine);

void BM_GetThroughFunctionPointer(benchmark::State& state) {
    Setup& s = setup();
    const auto found = s.recorder.functions.find("Brelka_Get");
    if (found == s.recorder.functions.end()) {
        state.SkipWithError("Brelka_Get was not registered");
        return;
    }
    const fmx::ExtPluginType function = found->second;
    fmx::DataVect parms;
    fmx::Data selector;
    selector.SetAsText(fmx::Text::fromUtf8("dialog-title"), fmx::Locale());
    parms.PushBack(selector);
    const fmx::ExprEnv env(&s.run);
    for (auto _ : state) {
        fmx::Data result;
        function(5, env, parms, result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_GetThroughFunctionPointer);

}  // namespace
