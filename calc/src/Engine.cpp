#include "calc/Engine.h"

#include <exception>
#include <new>

#include "CalcError.h"
#include "Evaluator.h"
#include "ExternalRegistry.h"
#include "TextOps.h"
#include "Variables.h"

namespace calc {

Run::Run() : variables_(std::make_unique<Variables>()) {}
Run::~Run() = default;

struct Engine::Impl {
    ExternalRegistry externals;
    Limits limits;
    std::u16string applicationVersion = u"iOS SDK 21.0.1";

    // Evaluates and turns every failure into FileMaker's error code and a message.
    Result evaluate(std::u16string_view source, Run& run) {
        Result result;
        try {
            EvalContext context{run, externals, limits, applicationVersion, StackGuard(), 0};
            Value value = Evaluator::evaluateSource(source, context);
            result.value = value.toData();
            return result;
        } catch (const CalcError& e) {
            result.errorCode = e.code();
            result.errorMessage = e.what();
        } catch (const std::bad_alloc&) {
            result.errorCode = errc::kOutOfMemory;
            result.errorMessage = "Running out of memory";
        } catch (const std::exception& e) {
            result.errorCode = errc::kGeneric;
            result.errorMessage = e.what();
        } catch (...) {
            result.errorCode = errc::kGeneric;
            result.errorMessage = "Generic calculation error";
        }
        try {
            result.value = fmx::Data();
            result.value.SetAsText(fmx::Text(u"?"), fmx::Locale());
        } catch (...) {
            result.value = fmx::Data();
        }
        return result;
    }
};

Engine::Engine() : impl_(std::make_unique<Impl>()) {}
Engine::~Engine() = default;

void Engine::setLimits(const Limits& limits) { impl_->limits = limits; }
const Limits& Engine::limits() const { return impl_->limits; }
void Engine::setApplicationVersion(std::string utf8) { impl_->applicationVersion = TextOps::fromUtf8(utf8); }

Result Engine::evaluate(std::u16string_view source, Run& run) { return impl_->evaluate(source, run); }

Result Engine::evaluate(std::string_view utf8Source, Run& run) {
    std::u16string source;
    try {
        source = TextOps::fromUtf8(utf8Source);
    } catch (...) {
        Result result;
        result.errorCode = errc::kOutOfMemory;
        result.errorMessage = "The calculation is too long";
        result.value.SetAsText(fmx::Text(u"?"), fmx::Locale());
        return result;
    }
    return impl_->evaluate(source, run);
}

fmx::errcode Engine::registerFunction(const fmx::QuadChar& pluginId, fmx::int16 functionId,
                                      const fmx::Text& name, const fmx::Text& prototype, fmx::int16 minArgs,
                                      fmx::int16 maxArgs, fmx::uint32 flags, fmx::ExtPluginType function) {
    try {
        if (!function || name.units().empty() || minArgs < 0 || (maxArgs >= 0 && maxArgs < minArgs))
            return static_cast<fmx::errcode>(errc::kGeneric);
        ExternalRegistry::Entry entry;
        entry.pluginId = pluginId;
        entry.functionId = functionId;
        entry.name = name.units();
        entry.folded = TextOps::foldCase(name.units());
        entry.prototype = prototype.units();
        entry.minArgs = minArgs;
        entry.maxArgs = maxArgs < 0 ? -1 : maxArgs;
        entry.flags = flags;
        entry.function = function;
        return static_cast<fmx::errcode>(impl_->externals.add(std::move(entry)));
    } catch (...) {
        return static_cast<fmx::errcode>(errc::kOutOfMemory);
    }
}

fmx::errcode Engine::unregisterFunction(const fmx::QuadChar& pluginId, fmx::int16 functionId) {
    return static_cast<fmx::errcode>(impl_->externals.remove(pluginId, functionId));
}

fmx::errcode Engine::evaluate(const fmx::ExprEnv& env, const fmx::Text& expression, fmx::Data& result) {
    // The environment's context is the Run of the call that handed it out; without one (an
    // environment the host did not make) the evaluation gets variables of its own.
    Run ownRun;
    Run* run = env.context() ? static_cast<Run*>(env.context()) : &ownRun;
    Result r = impl_->evaluate(expression.units(), *run);
    if (r.isError()) {
        // A failed evaluation has no value, so a caller that reads the result by its type
        // sees nothing rather than a "?" text it might mistake for an answer.
        result = fmx::Data();
        return static_cast<fmx::errcode>(r.errorCode);
    }
    result = std::move(r.value);
    return 0;
}

}  // namespace calc
