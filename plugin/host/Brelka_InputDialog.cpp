#include "host/Functions.h"
#include "host/ParameterParser.h"
#include "host/PluginBridge.h"
#include "host/Support_Functions.h"

namespace brelka {

// Blocks the calculation thread until the dialog ends; the answer is the session's result
// text ("0" when the dialog was closed, an error code otherwise). While the dialog is open,
// its calculation validations are evaluated with this call's environment.
fmx::errcode Brelka_InputDialog(fmx::int16, const fmx::ExprEnv& env, const fmx::DataVect& parms,
                                fmx::Data& result) {
    return guardedFrame(result, [&] {
        storeTextResult(PluginBridge::openInputDialog(ParameterParser::getAllParameters(parms), env), result);
    });
}

}  // namespace brelka
