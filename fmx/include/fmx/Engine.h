// The host side behind ExprEnv: the program that loads plug-ins installs one engine per
// process before it initialises them. The calculation engine of fmhost is one; tests install
// small ones of their own.
#pragma once

#include "fmx/ExprEnv.h"

namespace fmx {

class Engine {
public:
    virtual ~Engine() = default;
    virtual errcode registerFunction(const QuadChar& pluginId, int16 functionId, const Text& name,
                                     const Text& prototype, int16 minArgs, int16 maxArgs,
                                     uint32 flags, ExtPluginType function) = 0;
    virtual errcode unregisterFunction(const QuadChar& pluginId, int16 functionId) = 0;
    virtual errcode evaluate(const ExprEnv& env, const Text& expression, Data& result) = 0;
};

// Installs the process's engine (null removes it); the caller keeps ownership and keeps it
// alive while plug-ins may call it. Thread-safe.
void installEngine(Engine* engine);
Engine* installedEngine();

}  // namespace fmx
