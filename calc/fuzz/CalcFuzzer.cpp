// Fuzz target: parses and evaluates arbitrary bytes as a calculation, with plug-in functions
// that echo their arguments and evaluate in the caller's environment, under tight limits so
// that recursive definitions end quickly. Built with libFuzzer (-DBRELKA_FUZZ=ON, clang) or,
// in the normal build, with the standalone driver beside it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calc/Engine.h"

namespace {

fmx::errcode echo(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms, fmx::Data& result) {
    if (parms.Size() > 0) result = parms.At(0);
    return 0;
}

fmx::errcode evaluateInCaller(fmx::int16, const fmx::ExprEnv& env, const fmx::DataVect& parms, fmx::Data& result) {
    env.Evaluate(parms.AtAsText(0), result);
    return 0;
}

fmx::errcode failing(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&, fmx::Data&) { return 1; }

calc::Engine& engine() {
    static calc::Engine* instance = [] {
        auto* e = new calc::Engine();
        calc::Limits limits;
        limits.maxSteps = 100000;
        limits.maxTextLength = 1 << 20;
        limits.maxEvaluationDepth = 12;
        e->setLimits(limits);
        fmx::installEngine(e);
        const fmx::QuadChar id('F', 'u', 'z', 'z');
        e->registerFunction(id, 1, fmx::Text(u"Fz_Echo"), fmx::Text(u"Fz_Echo ( x )"), 0, -1, 0, echo);
        e->registerFunction(id, 2, fmx::Text(u"Fz_Eval"), fmx::Text(u"Fz_Eval ( c )"), 1, 1, 0, evaluateInCaller);
        e->registerFunction(id, 3, fmx::Text(u"Fz_Fail"), fmx::Text(u"Fz_Fail"), 0, 0, 0, failing);
        return e;
    }();
    return *instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    calc::Run run;
    std::string_view source(reinterpret_cast<const char*>(data), size);
    calc::Result result = engine().evaluate(source, run);
    // Reading the value back exercises every type's text and number forms.
    (void)result.value.GetAsText().utf8();
    (void)result.value.GetAsNumber().AsFloat();
    // A second statement in the same run sees the first one's variables.
    calc::Result again = engine().evaluate(std::string_view("$a & $$b & $x"), run);
    (void)again.value.GetAsText();
    return 0;
}
