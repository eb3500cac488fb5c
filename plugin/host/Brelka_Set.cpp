#include "host/Functions.h"
#include "host/ParameterParser.h"
#include "host/PluginBridge.h"
#include "host/Support_Functions.h"

namespace brelka {

fmx::errcode Brelka_Set(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect& parms,
                        fmx::Data& result) {
    return guardedFrame(result, [&] {
        storeTextResult(PluginBridge::set(ParameterParser::getAllParameters(parms)), result);
    });
}

}  // namespace brelka
