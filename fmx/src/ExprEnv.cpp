// ExprEnv forwards every call to the installed engine; without one, registration and
// evaluation fail with code 1, as a host without a calculation engine would answer.
#include "fmx/ExprEnv.h"

#include "fmx/Engine.h"
#include "fmx/Exceptions.h"

namespace fmx {

namespace {
constexpr errcode kNoEngine = 1;
}  // namespace

errcode ExprEnv::RegisterExternalFunction(const QuadChar& pluginId, int16 functionId,
                                          const Text& functionName, const Text& functionPrototype,
                                          int16 minArgs, int16 maxArgs, uint32 compatibleOnFlags,
                                          ExtPluginType function) {
    checkFailure("ExprEnv::RegisterExternalFunction");
    Engine* engine = installedEngine();
    if (engine == nullptr) return kNoEngine;
    return engine->registerFunction(pluginId, functionId, functionName, functionPrototype, minArgs,
                                    maxArgs, compatibleOnFlags, function);
}

errcode ExprEnv::UnRegisterExternalFunction(const QuadChar& pluginId, int16 functionId) {
    checkFailure("ExprEnv::UnRegisterExternalFunction");
    Engine* engine = installedEngine();
    if (engine == nullptr) return kNoEngine;
    return engine->unregisterFunction(pluginId, functionId);
}

errcode ExprEnv::Evaluate(const Text& expression, Data& result) const {
    checkFailure("ExprEnv::Evaluate");
    Engine* engine = installedEngine();
    if (engine == nullptr) {
        result.Clear();
        return kNoEngine;
    }
    return engine->evaluate(*this, expression, result);
}

}  // namespace fmx
