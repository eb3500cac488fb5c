// A small stand-in for the host's calculation engine, for tests of code that talks to the host
// through fmx: it keeps a registry of external functions (and a record of every registration
// and unregistration), can be told to refuse one function's registration, and answers
// evaluations with a preset value or a callback. It is no calculation engine: tests that need
// real evaluation install calc's engine instead.
//
// Install it with ScopedEngine for the length of a test. All members are safe to call from
// several threads (a dialog's validation evaluates on the main thread while the test waits on
// another); the evaluator callback runs outside the engine's lock.
#pragma once

#include <functional>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fmx/fmx.h"

namespace fmx::testing {

struct RegisteredFunction {
    QuadChar pluginId;
    int16 functionId = 0;
    std::string name;
    std::string prototype;
    int16 minArgs = 0;
    int16 maxArgs = 0;
    uint32 flags = 0;
    ExtPluginType function = nullptr;
};

class TestEngine : public Engine {
public:
    using Evaluator = std::function<errcode(const ExprEnv&, const Text& expression, Data& result)>;

    // Registration answers 0, or `code` for function number `functionId` until cleared.
    void failRegistrationOf(int16 functionId, errcode code = 1) {
        std::lock_guard lock(mutex_);
        failing_ = std::make_pair(functionId, code);
    }
    void clearRegistrationFailure() {
        std::lock_guard lock(mutex_);
        failing_.reset();
    }

    errcode registerFunction(const QuadChar& pluginId, int16 functionId, const Text& name,
                             const Text& prototype, int16 minArgs, int16 maxArgs, uint32 flags,
                             ExtPluginType function) override {
        std::lock_guard lock(mutex_);
        attempts_.push_back(functionId);
        if (failing_ && failing_->first == functionId) return failing_->second;
        RegisteredFunction entry{pluginId, functionId, name.utf8(), prototype.utf8(),
                                 minArgs,  maxArgs,    flags,       function};
        // Registering a number again replaces its entry, as a registry keyed by number would.
        for (auto& f : functions_) {
            if (f.pluginId == pluginId && f.functionId == functionId) {
                f = std::move(entry);
                return 0;
            }
        }
        functions_.push_back(std::move(entry));
        return 0;
    }

    errcode unregisterFunction(const QuadChar& pluginId, int16 functionId) override {
        std::lock_guard lock(mutex_);
        unregistrations_.push_back(functionId);
        std::erase_if(functions_, [&](const RegisteredFunction& f) {
            return f.pluginId == pluginId && f.functionId == functionId;
        });
        return 0;
    }

    errcode evaluate(const ExprEnv& env, const Text& expression, Data& result) override {
        Evaluator evaluator;
        {
            std::lock_guard lock(mutex_);
            expressions_.push_back(expression.utf8());
            evaluator = evaluator_;
            if (!evaluator) {
                result = presetResult_;
                return presetCode_;
            }
        }
        return evaluator(env, expression, result);
    }

    // Every evaluation answers `result` with `code`.
    void setEvaluationResult(const Data& result, errcode code = 0) {
        std::lock_guard lock(mutex_);
        evaluator_ = nullptr;
        presetResult_ = result;
        presetCode_ = code;
    }
    void setEvaluator(Evaluator evaluator) {
        std::lock_guard lock(mutex_);
        evaluator_ = std::move(evaluator);
    }

    // The registered functions, in the order they were first registered.
    std::vector<RegisteredFunction> functions() const {
        std::lock_guard lock(mutex_);
        return functions_;
    }
    std::optional<RegisteredFunction> find(std::string_view name) const {
        std::lock_guard lock(mutex_);
        for (const auto& f : functions_) {
            if (f.name == name) return f;
        }
        return std::nullopt;
    }
    // Function numbers of every registration attempt and every unregistration, in call order.
    std::vector<int16> registrationAttempts() const {
        std::lock_guard lock(mutex_);
        return attempts_;
    }
    std::vector<int16> unregistrations() const {
        std::lock_guard lock(mutex_);
        return unregistrations_;
    }
    std::vector<std::string> evaluatedExpressions() const {
        std::lock_guard lock(mutex_);
        return expressions_;
    }
    // Forgets the records of calls (not the registry itself).
    void clearRecords() {
        std::lock_guard lock(mutex_);
        attempts_.clear();
        unregistrations_.clear();
        expressions_.clear();
    }

    // Calls the registered function `name` as the host would; raises std::out_of_range when no
    // function of that name is registered.
    errcode call(std::string_view name, const DataVect& args, Data& result,
                 const ExprEnv& env = ExprEnv()) const {
        const auto f = find(name);
        if (!f || f->function == nullptr) {
            throw std::out_of_range("no external function " + std::string(name));
        }
        return f->function(f->functionId, env, args, result);
    }

private:
    mutable std::mutex mutex_;
    std::vector<RegisteredFunction> functions_;
    std::vector<int16> attempts_;
    std::vector<int16> unregistrations_;
    std::vector<std::string> expressions_;
    std::optional<std::pair<int16, errcode>> failing_;
    Evaluator evaluator_;
    Data presetResult_;
    errcode presetCode_ = 0;
};

// Installs an engine for the lifetime of this object and removes it afterwards.
class ScopedEngine {
public:
    explicit ScopedEngine(Engine& engine) { installEngine(&engine); }
    ~ScopedEngine() { installEngine(nullptr); }
    ScopedEngine(const ScopedEngine&) = delete;
    ScopedEngine& operator=(const ScopedEngine&) = delete;
};

// Installs a failure hook for the lifetime of this object and removes it afterwards.
class ScopedFailureHook {
public:
    explicit ScopedFailureHook(FailureHook hook) { setFailureHook(std::move(hook)); }
    ~ScopedFailureHook() { setFailureHook(nullptr); }
    ScopedFailureHook(const ScopedFailureHook&) = delete;
    ScopedFailureHook& operator=(const ScopedFailureHook&) = delete;
};

// Argument values, as the host would build them.
inline Data textValue(std::string_view utf8) {
    Data d;
    d.SetAsText(Text::fromUtf8(utf8), Locale());
    return d;
}
inline Data numberValue(double value) {
    Data d;
    d.SetAsNumber(FixPt::fromDouble(value));
    return d;
}
inline Data booleanValue(bool value) {
    Data d;
    d.SetAsBoolean(value);
    return d;
}
inline DataVect arguments(std::initializer_list<Data> values) {
    DataVect v;
    for (const Data& d : values) v.PushBack(d);
    return v;
}

}  // namespace fmx::testing
