// What both kinds of run share around the calculation engine: installing it as the process's
// engine for the run's life, and evaluating a statement so that nothing escapes the run.
#pragma once

#include <string>

#include "calc/Engine.h"
#include "fmx/Engine.h"

namespace fmhost {

// Keeps the engine installed for exactly as long as it lives.
class EngineInstallation {
public:
    explicit EngineInstallation(fmx::Engine& engine) { fmx::installEngine(&engine); }
    ~EngineInstallation() { fmx::installEngine(nullptr); }
    EngineInstallation(const EngineInstallation&) = delete;
    EngineInstallation& operator=(const EngineInstallation&) = delete;
};

// The engine promises not to throw; should it, the run still reports an error result and goes on.
calc::Result evaluateSafely(calc::Engine& engine, const std::string& source, calc::Run& run);

}  // namespace fmhost
