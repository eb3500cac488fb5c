// The facade between the external functions' frames and the plug-in's work: each operation
// takes the parameter dictionary of one call and answers the text that becomes its result.
// Called on the host's calculation thread.
#pragma once

#include <string>

#include "fmx/fmx.h"
#include "store/Value.h"

namespace brelka {

class PluginBridge {
public:
    static std::string get(const Dictionary& parameters);
    static std::string set(const Dictionary& parameters);
    // Runs one dialog session and answers its result text; blocks until the dialog ends.
    static std::string openInputDialog(const Dictionary& parameters);
    // The same, evaluating the dialog's calculation validations with the call's environment.
    static std::string openInputDialog(const Dictionary& parameters, const fmx::ExprEnv& env);
};

}  // namespace brelka
