// The FileMaker calculation engine of the desktop host: parses and evaluates calculations,
// keeps the registry of external functions that plug-ins register through fmx, and serves
// ExprEnv::Evaluate for them. One Engine per host process; it is installed as the process's
// fmx::Engine by the host program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "fmx/fmx.h"

namespace calc {

// The variables of one run: `$$` globals live for the whole run, `$` locals for one script
// (here: the whole run too, since the host runs statements as one script). Not thread-safe:
// a run's statements are evaluated one at a time, and an ExprEnv evaluation made on behalf of
// a blocked call uses the blocked call's Run while that call waits.
class Run {
public:
    Run();
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    struct Variables;
    Variables& variables() { return *variables_; }

private:
    std::unique_ptr<Variables> variables_;
};

// The outcome of one evaluation: a value, or an error with FileMaker's code and a message
// (the value is then the text "?").
struct Result {
    fmx::Data value;
    int errorCode = 0;
    std::string errorMessage;
    bool isError() const { return errorCode != 0; }
};

// Bounds that keep hostile or runaway calculations from exhausting the process: they end in
// an error result instead.
struct Limits {
    std::size_t maxNesting = 10000;           // parentheses, operators and calls inside each other
    int maxEvaluationDepth = 64;              // Evaluate (and plug-in evaluations) inside each other
    std::uint64_t maxSteps = 100'000'000;     // evaluation steps of one calculation
    std::size_t maxTextLength = 256u << 20;   // UTF-16 units of one text value
};

class Engine : public fmx::Engine {
public:
    Engine();
    ~Engine() override;

    // Set before evaluating; not synchronised with running evaluations.
    void setLimits(const Limits& limits);
    const Limits& limits() const;
    // What Get ( ApplicationVersion ) answers.
    void setApplicationVersion(std::string utf8);

    // Evaluates a calculation written as FileMaker users write it. Never throws.
    Result evaluate(std::u16string_view source, Run& run);
    Result evaluate(std::string_view utf8Source, Run& run);

    // fmx::Engine: registration of plug-in functions and ExprEnv::Evaluate. The ExprEnv's
    // context is the calc::Run of the call that received it.
    fmx::errcode registerFunction(const fmx::QuadChar& pluginId, fmx::int16 functionId,
                                  const fmx::Text& name, const fmx::Text& prototype,
                                  fmx::int16 minArgs, fmx::int16 maxArgs, fmx::uint32 flags,
                                  fmx::ExtPluginType function) override;
    fmx::errcode unregisterFunction(const fmx::QuadChar& pluginId, fmx::int16 functionId) override;
    fmx::errcode evaluate(const fmx::ExprEnv& env, const fmx::Text& expression,
                          fmx::Data& result) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace calc
