// The calculation environment of one external function call. Registration and evaluation
// are forwarded to the engine that the host program installs (see Engine.h).
#pragma once

#include "fmx/Data.h"
#include "fmx/DataVect.h"
#include "fmx/QuadChar.h"
#include "fmx/Text.h"
#include "fmx/Types.h"

namespace fmx {

class ExprEnv;

// An external function: its number, the caller's environment, the arguments and the result.
using ExtPluginType = errcode (*)(int16 functionId, const ExprEnv& env, const DataVect& parms,
                                  Data& result);

class ExprEnv {
public:
    // `context` is the host's own state for this call (its variables, its run); the plug-in
    // never looks into it.
    explicit ExprEnv(void* context = nullptr) : context_(context) {}

    // Answers 0 when the function is registered, a non-zero host code otherwise.
    static errcode RegisterExternalFunction(const QuadChar& pluginId, int16 functionId,
                                            const Text& functionName, const Text& functionPrototype,
                                            int16 minArgs, int16 maxArgs, uint32 compatibleOnFlags,
                                            ExtPluginType function);
    static errcode UnRegisterExternalFunction(const QuadChar& pluginId, int16 functionId);

    // Evaluates `expression` in this environment into `result`; answers the host's code
    // (0 on success). Without an installed engine the result is cleared and the code is 1.
    errcode Evaluate(const Text& expression, Data& result) const;

    void* context() const { return context_; }

private:
    void* context_;
};

}  // namespace fmx
