#include "host/Functions.h"
#include "host/Support_Functions.h"
#include "store/Config.h"

namespace brelka {

// Until the dialog session exists, every call ends without a result.
fmx::errcode Brelka_InputDialog(fmx::int16, const fmx::ExprEnv&, const fmx::DataVect&,
                                fmx::Data& result) {
    return guardedFrame(result, [&] { storeTextResult(std::to_string(kNoResultCode), result); });
}

}  // namespace brelka
