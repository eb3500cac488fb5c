// Evaluates a parsed Program: operators with FileMaker's type rules (date + number is a date,
// comparisons and logical operators give 1 or 0, `and`/`or` stop early), the lazy functions
// If, Case, Choose, Let and Evaluate, Get selectors, and calls of plug-in functions with the
// calling run as their environment. One Evaluator per Program evaluation; it runs on the
// evaluating thread and uses the run's variables while it runs.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ExternalRegistry.h"
#include "Program.h"
#include "StackGuard.h"
#include "Value.h"
#include "calc/Engine.h"

namespace calc {

// What one top-level evaluation shares with the evaluations nested in it (Evaluate).
struct EvalContext {
    Run& run;
    const ExternalRegistry& externals;
    const Limits& limits;
    const std::u16string& applicationVersion;
    StackGuard guard;
    std::uint64_t steps = 0;
};

class Evaluator {
public:
    Evaluator(const Program& program, EvalContext& context) : program_(program), ctx_(context) {}
    Value run() { return eval(program_.root); }

    using Scope = std::vector<std::pair<std::u16string, Value>>;

    // Parses and evaluates `source` in `context` (Evaluate, and the engine's entry points).
    // `scope` holds the Let variables the source may use, as Evaluate inside a Let sees them.
    static Value evaluateSource(std::u16string_view source, EvalContext& context, const Scope& scope = {});

private:
    // The recursive walk; each level of nesting costs one frame of some of these, so the
    // work that needs room happens in the helpers below.
    Value eval(std::int32_t index);
    Value unary(const Node& node);
    Value binary(const Node& node);
    Value builtin(const Node& node);
    Value let(const Node& node);
    [[gnu::noinline]] bool test(std::int32_t index);
    [[gnu::noinline]] double number(std::int32_t index);
    [[gnu::noinline]] Value evaluate(const Node& node);
    [[gnu::noinline]] Value eager(const Node& node);
    [[gnu::noinline]] Value external(const Node& node);
    [[gnu::noinline]] Value substituteLists(const Node& node);
    [[gnu::noinline]] Value apply(Op op, const Value& a, const Value& b);
    [[gnu::noinline]] Value get(const Node& node);
    const Node& at(std::int32_t index) const { return program_.nodes[static_cast<std::size_t>(index)]; }

    const Program& program_;
    EvalContext& ctx_;
    Scope scope_;  // Let variables, innermost last
};

}  // namespace calc
