// The two inactive external functions. They look at no argument: in compatibility mode they
// answer 0, otherwise -4 with "Not implemented" recorded as the last error.
#include "host/Functions.h"
#include "host/PluginBridge.h"
#include "host/Support_Functions.h"
#include "store/Config.h"

namespace brelka {

namespace {

constexpr int kNotImplementedCode = -4;  // Errors::kNotImplemented

void answerInactive(fmx::Data& result) {
    Dictionary question;
    question.emplace("param_0", std::string(CFG::compatibility_mode));
    if (PluginBridge::get(question) == "yes") {
        storeErrorCode(0, result);
        return;
    }
    storeErrorCode(kNotImplementedCode, result);
    setLastErrorCode(kNotImplementedCode);
    setLastErrorMessage(kNotImplementedMessage);
}

}  // namespace

fmx::errcode Brelka_ProgressDialog(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&,
                                   fmx::Data& result) {
    return guardedFrame(result, [&] { answerInactive(result); });
}

fmx::errcode Brelka_SetCalculation(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&,
                                   fmx::Data& result) {
    return guardedFrame(result, [&] { answerInactive(result); });
}

}  // namespace brelka
