// The plug-in's external functions, with the host's external-function signature. Each one
// runs on the host's calculation thread and answers the host error code 0; failures travel in
// the result value and in the store's last-error entries.
#pragma once

#include "fmx/fmx.h"

namespace brelka {

fmx::errcode Brelka_Version(fmx::int16 funcId, const fmx::ExprEnv& env, const fmx::DataVect& parms,
                            fmx::Data& result);
fmx::errcode Brelka_InputDialog(fmx::int16 funcId, const fmx::ExprEnv& env,
                                const fmx::DataVect& parms, fmx::Data& result);
fmx::errcode Brelka_ProgressDialog(fmx::int16 funcId, const fmx::ExprEnv& env,
                                   const fmx::DataVect& parms, fmx::Data& result);
fmx::errcode Brelka_Get(fmx::int16 funcId, const fmx::ExprEnv& env, const fmx::DataVect& parms,
                        fmx::Data& result);
fmx::errcode Brelka_Set(fmx::int16 funcId, const fmx::ExprEnv& env, const fmx::DataVect& parms,
                        fmx::Data& result);
fmx::errcode Brelka_SetCalculation(fmx::int16 funcId, const fmx::ExprEnv& env,
                                   const fmx::DataVect& parms, fmx::Data& result);

}  // namespace brelka
